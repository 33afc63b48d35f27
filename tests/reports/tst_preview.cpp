// The preview window and printing, offscreen: page navigation and keys, zoom,
// saving (PDF, HTML, SVG, a failing file), printing from the preview (range,
// copies, print to file, text-only printers), no printer installed, the print
// options for a small medium, the progress window's "Přerušit" and the
// engine's message boxes.
#include "printdialogs.h"
#include "printing.h"
#include "progresswindow.h"
#include "reporttestutil.h"
#include "reportwindows.h"

#include "codepage.h"
#include "exporter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

using namespace tz::rep;
using namespace tz::rep::gui;

namespace {

// 20 rows, 9 bodies of 100 per page between a header and a footer of 30 on
// A4 portrait: 3 pages.
MemoryDataSource rows(int n = 20)
{
    MemoryDataSource s({{QStringLiteral("NAZEV")}});
    for (int i = 1; i <= n; ++i)
        s.addRow({QStringLiteral("Řádek %1").arg(i)});
    return s;
}

void useDefinition(TSestava &rep, int bodyHeight = 100)
{
    rep.IsStored = true;
    rep.Predloha = {QStringLiteral("I,1,7,51,8"),
                    QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"),
                    QStringLiteral("I,3,0,0,0,0"),
                    QStringLiteral("I,3,1,1,30,0"),
                    QStringLiteral("I,3,2,1,%1,0").arg(bodyHeight),
                    QStringLiteral("I,3,3,0,0,0"),
                    QStringLiteral("I,3,4,1,30,0"),
                    tzt::text("H", 1, "0", 0, 0, 300, 20, "Hlava {a} <b> & c"),
                    tzt::text("T", 2, "NAZEV", 0, 10, 300, 20),
                    tzt::text("P", 5, "3", 0, 5, 200, 20, "Strana %d")};
}

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray b = f.readAll();
    if (!b.startsWith("%PDF-"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(b).count(page));
}

bool hasInk(const QImage &img)
{
    const QImage g = img.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < g.height(); ++y) {
        const uchar *line = g.constScanLine(y);
        for (int x = 0; x < g.width(); ++x)
            if (line[x] < 128)
                return true;
    }
    return false;
}

// Runs `act` on the next modal widget of type T.
template <class T>
void whenModal(QObject *ctx, std::function<void(T *)> act)
{
    auto *timer = new QTimer(ctx);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, ctx, [timer, act] {
        if (auto *w = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

struct ShowCounter : QObject {
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++count;
        return false;
    }
};

PrinterCatalog printers(QList<PrinterEntry> list)
{
    return [list] { return list; };
}

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;

private slots:
    void init()
    {
        resetProcessPageSetup();
        m_tmp = std::make_unique<QTemporaryDir>();
        setPrinterCatalog(printers({{QStringLiteral("Laser"), QStringLiteral("HP LaserJet"), QStringLiteral("usb:"), true}}));
        setFitChooser({});
    }
    void cleanup()
    {
        setPrinterCatalog({});
        setFitChooser({});
        setOutputBackend({});
        setMessageHandler({});
        setProgressHandler({});
        setProgressEndHandler({});
    }

    void pageNavigation_data()
    {
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("endPage");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("all pages") << 1 << 9999 << 1 << 3;
        QTest::newRow("EndPage 2") << 1 << 2 << 1 << 2;
        QTest::newRow("StartPage 2") << 2 << 9999 << 2 << 3;
    }
    void pageNavigation()
    {
        QFETCH(int, startPage);
        QFETCH(int, endPage);
        QFETCH(int, first);
        QFETCH(int, last);
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        rep.startPage = startPage;
        rep.endPage = endPage;
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Prohlížení sestavy před tiskem"));
        QVERIFY(w.windowState() & Qt::WindowMaximized);
        QCOMPARE(w.zoom(), 100);
        QCOMPARE(w.currentPage(), first);
        QCOMPARE(w.lastPage(), last);
        QCOMPARE(w.currentPageLabel()->text(), QStringLiteral("Aktuální stránka: %1").arg(first));
        QCOMPARE(w.pageCountLabel()->text(), QStringLiteral("Celkem stran: %1").arg(last));
        // actions lead only where there is somewhere to go
        QVERIFY(!w.action("APrvni")->isEnabled());
        QVERIFY(!w.action("APredchozi")->isEnabled());
        QVERIFY(w.action("ANasledujici")->isEnabled());
        w.action("ANasledujici")->trigger();
        QCOMPARE(w.currentPage(), first + 1);
        w.action("APosledni")->trigger();
        QCOMPARE(w.currentPage(), last);
        QVERIFY(!w.action("ANasledujici")->isEnabled());
        QVERIFY(!w.action("APosledni")->isEnabled());
        QCOMPARE(w.currentPageLabel()->text(), QStringLiteral("Aktuální stránka: %1").arg(last));
        // keys: Page Up / Page Down, with Ctrl to the first / last page
        QTest::keyClick(&w, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w.currentPage(), first);
        QTest::keyClick(&w, Qt::Key_PageDown);
        QCOMPARE(w.currentPage(), first + 1);
        QTest::keyClick(&w, Qt::Key_PageUp);
        QCOMPARE(w.currentPage(), first);
        QTest::keyClick(&w, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(w.currentPage(), last);
        // "Zobrazit stránku ..." asks with the current page and keeps to the pages shown
        for (const auto &[asked, shown] : std::vector<std::pair<int, int>>{{0, first}, {99, last}, {2, 2}, {-5, first}}) {
            int offered = -1;
            w.askPage = [&](int current) {
                offered = current;
                return std::optional<int>(asked);
            };
            const int before = w.currentPage();
            w.action("AZobrazitStranku")->trigger();
            QCOMPARE(offered, before);
            QCOMPARE(w.currentPage(), shown);
        }
        // the composed report keeps all its pages whatever is shown
        QCOMPARE(rep.pages.pageCount(), 3);
    }

    void pagesAreDrawn()
    {
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        const QImage one = w.pageImage();
        QVERIFY(hasInk(one));
        w.goToPage(3);
        const QImage three = w.pageImage();
        QVERIFY(hasInk(three));
        QVERIFY(one != three);
        // an empty page (a report with nothing on it) stays white
        TSestava empty;
        empty.IsStored = true;
        empty.Predloha = {QStringLiteral("I,3,2,1,20,0")};
        MemoryDataSource none({{QStringLiteral("X")}});
        empty.dataSource = &none;
        QCOMPARE(empty.run(), seOK);
        TFormSestP e(empty);
        QVERIFY(!hasInk(e.pageImage()));
    }

    void zoom_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("used");
        QTest::newRow("32") << 32 << 32;
        QTest::newRow("83") << 83 << 83;
        QTest::newRow("200") << 200 << 200;
        QTest::newRow("300") << 300 << 300;
        QTest::newRow("unknown 77") << 77 << 100;
        QTest::newRow("unknown 0") << 0 << 100;
    }
    void zoom()
    {
        QFETCH(int, asked);
        QFETCH(int, used);
        MemoryDataSource src = rows(3);
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep, asked);
        QCOMPARE(w.zoom(), used);
        const double dpi = w.logicalDpiX();
        QCOMPARE(w.sheetSize().width(), int(826 * dpi * used / 10000.0 + 0.5));
        QCOMPARE(w.sheetSize().height(), int(1169 * dpi * used / 10000.0 + 0.5));
        // exactly the current zoom is checked
        for (int z : TFormSestP::zoomLevels())
            QCOMPARE(w.action(QStringLiteral("AZoom%1").arg(z))->isChecked(), z == used);
        // a zoom action switches
        w.action("AZoom50")->trigger();
        QCOMPARE(w.zoom(), 50);
        QCOMPARE(w.pageImage().width(), int(826 * dpi * w.devicePixelRatioF() / 200.0 + 0.5));
    }

    void saving_data()
    {
        QTest::addColumn<QString>("actionName");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("pdf") << "APdf" << "sestava.pdf" << QStringList{"sestava.pdf"};
        QTest::newRow("pdf without extension") << "APdf" << "bez" << QStringList{"bez.pdf"};
        QTest::newRow("text") << "AUlozitText" << "s.txt" << QStringList{"s.txt"};
        QTest::newRow("rtf") << "AUlozitRtf" << "s.rtf" << QStringList{"s.rtf"};
        QTest::newRow("html, this page") << "AUlozitHtmlStranku" << "s.html" << QStringList{"s.html"};
        QTest::newRow("html, all pages") << "AUlozitHtmlVse" << "s.html" << QStringList{"s1.html", "s2.html", "s3.html"};
        QTest::newRow("svg, this page") << "AUlozitSvgStranku" << "s.svg" << QStringList{"s.svg"};
        QTest::newRow("svg, all pages") << "AUlozitSvgVse" << "s.svg" << QStringList{"s1.svg", "s2.svg", "s3.svg"};
    }
    void saving()
    {
        QFETCH(QString, actionName);
        QFETCH(QString, chosen);
        QFETCH(QStringList, written);
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        tzt::MessageRecorder messages;
        TFormSestP w(rep);
        w.goToPage(2);
        QString offeredFilter;
        w.chooseFile = [&](const QString &filter, const QString &) {
            offeredFilter = filter;
            return m_tmp->filePath(chosen);
        };
        w.action(actionName)->trigger();
        QVERIFY(messages.messages.empty());
        QVERIFY(offeredFilter.contains(QStringLiteral("Všechny soubory (*.*)")));
        const QStringList files = QDir(m_tmp->path()).entryList({"*.pdf", "*.txt", "*.rtf", "*.html", "*.svg"}, QDir::Files);
        QCOMPARE(files, written);
        for (const QString &f : written)
            QVERIFY(QFileInfo(m_tmp->filePath(f)).size() > 0);
        if (chosen.endsWith(QLatin1String(".pdf")) || !chosen.contains(u'.'))
            QCOMPARE(pdfPages(m_tmp->filePath(written.first())), 3);
        if (actionName == QLatin1String("AUlozitHtmlStranku")) {
            QFile f(m_tmp->filePath(written.first()));
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY(html.contains(QStringLiteral("Řádek 10")));      // page 2 starts with row 10
            QVERIFY(!html.contains(QStringLiteral("Řádek 1<")));
            QVERIFY(html.contains(QStringLiteral("Hlava {a} &lt;b&gt; &amp; c")));
        }
    }

    void savingFails()
    {
        MemoryDataSource src = rows(3);
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        tzt::MessageRecorder messages;
        TFormSestP w(rep);
        w.chooseFile = [&](const QString &, const QString &) { return m_tmp->filePath("neni/slozka/x.pdf"); };
        w.action("APdf")->trigger();
        QCOMPARE(messages.messages.size(), size_t(1));
        QCOMPARE(messages.messages[0].caption, QStringLiteral("Chyba"));
        QVERIFY(messages.messages[0].text.startsWith(QStringLiteral("Výstupní soubor se nepodařilo uložit.")));
        // cancelling the file dialog writes nothing and says nothing
        w.chooseFile = [](const QString &, const QString &) { return QString(); };
        w.action("AUlozitRtf")->trigger();
        QCOMPARE(messages.messages.size(), size_t(1));
        QVERIFY(QDir(m_tmp->path()).isEmpty());
    }

    void printFromPreview_data()
    {
        QTest::addColumn<bool>("currentOnly");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        QTest::newRow("range 2-3, two copies") << false << 2 << 3 << 2 << 4;
        QTest::newRow("all, one copy") << false << 1 << 3 << 1 << 3;
        QTest::newRow("current page, three copies") << true << 1 << 3 << 3 << 3;
    }
    void printFromPreview()
    {
        QFETCH(bool, currentOnly);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(int, pages);
        installReportWindows();
        tzt::MessageRecorder messages;
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QStringList events;
        rep.BeforePrintPreview = [&] { events << "before"; };
        rep.AfterPrintPreview = [&] { events << "after"; };
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        w.goToPage(2);
        TPrintDialogTyp offered;
        w.runPrintDialog = [&](TPrintDialogTyp &s) {
            offered = s;
            s.currentPage = currentOnly;
            s.firstPage = from;
            s.lastPage = to;
            s.copies = copies;
            s.toFile = true;
            return int(TSestPrintDlg::Print);
        };
        const QString out = m_tmp->filePath("tisk.pdf");
        w.chooseFile = [&](const QString &filter, const QString &) {
            return filter.startsWith(QStringLiteral("Soubor PDF")) ? out : QString();
        };
        QCOMPARE(w.printPreview(), seOK);
        QVERIFY2(messages.messages.empty(), messages.messages.empty() ? "" : qPrintable(messages.messages[0].text));
        QCOMPARE(offered.firstPage, 1);
        QCOMPARE(offered.lastPage, 3);
        QCOMPARE(offered.copies, 1);
        QCOMPARE(offered.paperName, QStringLiteral("A4 (210 x 297 mm), na výšku"));
        QCOMPARE(events, (QStringList{"before", "after"}));
        QCOMPARE(pdfPages(out), pages);
        // the composed report keeps every page after printing a part of it
        QCOMPARE(rep.pages.pageCount(), 3);
    }

    void printerProperties()
    {
        // a paper chosen in the printer's properties is kept, and the smaller medium asks
        installReportWindows();
        tzt::MessageRecorder messages;
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        int asked = 0;
        setFitChooser([&](QSize, QSize medium, QPrinter &) {
            ++asked;
            return medium == QSize(850, 1100) ? std::optional<FitChoice>(FitChoice{FitMode::Shrink, false}) : std::nullopt;
        });
        TFormSestP w(rep);
        w.runPrintDialog = [&](TPrintDialogTyp &s) {
            s.toFile = true;
            s.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
            return int(TSestPrintDlg::Print);
        };
        const QString out = m_tmp->filePath("letter.pdf");
        w.chooseFile = [&](const QString &, const QString &) { return out; };
        QCOMPARE(w.printPreview(), seOK);
        QCOMPARE(asked, 1);
        QCOMPARE(pdfPages(out), 3);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        static const QRegularExpression letter(QStringLiteral("/MediaBox \\[0 0 612(\\.0+)? 792(\\.0+)?\\]"));
        QVERIFY(QString::fromLatin1(f.readAll()).contains(letter));
        QVERIFY(messages.messages.empty());
    }

    void userPaperFormat()
    {
        // a label format of the engine's own settings file names the paper, and the PDF has its size
        const QString ini = m_tmp->filePath("SestDLL.ini");
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(tz::encode(QStringLiteral("[Jine]\r\nx=1\r\n[FormatyPapiru]\r\nPocetFormatu=1\r\nFormat1=Štítek 4x3,400,300\r\n"),
                           tz::CodePage::Cp1250));
        f.close();
        MemoryDataSource src = rows(3);
        TSestava rep;
        rep.IsStored = true;
        rep.Predloha = {QStringLiteral("I,2,1,300,400,20,20,20,20,1,0"), QStringLiteral("I,3,2,1,20,0"),
                        tzt::text("T", 2, "NAZEV", 0, 0, 200, 20)};
        rep.IniFileName = ini;
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        TPrintDialogTyp offered;
        w.runPrintDialog = [&](TPrintDialogTyp &s) {
            offered = s;
            return int(TSestPrintDlg::Pdf);
        };
        const QString out = m_tmp->filePath("stitek.pdf");
        w.chooseFile = [&](const QString &, const QString &) { return out; };
        QCOMPARE(w.printPreview(), seOK);
        QCOMPARE(offered.paperName, QStringLiteral("%1 x %2, na šířku").arg(300).arg(400));
        // the same size as a built-in or a user format is shown by its name
        rep.pages.pageSetup.paperWidth = 400;
        rep.pages.pageSetup.paperHeight = 300;
        rep.pages.pageSetup.orientation = 0;
        TFormSestP w2(rep);
        w2.runPrintDialog = w.runPrintDialog;
        w2.chooseFile = w.chooseFile;
        QCOMPARE(w2.printPreview(), seOK);
        QCOMPARE(offered.paperName, QStringLiteral("Štítek 4x3, na výšku"));
        QFile pdf(out);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        // 4 x 3 inches = 288 x 216 points
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 288(\\.0+)? 216(\\.0+)?\\]"));
        QVERIFY(QString::fromLatin1(pdf.readAll()).contains(box));
    }

    void textOnlyPrinterToFile()
    {
        installReportWindows();
        tzt::MessageRecorder messages;
        setPrinterCatalog(printers({{QStringLiteral("Laser"), QStringLiteral("HP LaserJet"), {}, true},
                                    {QStringLiteral("Jehličková"), QStringLiteral("Generic / Text Only"), {}, false}}));
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        rep.exportLanguage = slCP852;
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        w.runPrintDialog = [&](TPrintDialogTyp &s) {
            s.printerIndex = 1;
            s.firstPage = 2;
            s.lastPage = 3;
            s.copies = 2;
            s.toFile = true;
            return int(TSestPrintDlg::Print);
        };
        const QString out = m_tmp->filePath("tisk.txt");
        w.chooseFile = [&](const QString &filter, const QString &) {
            return filter.startsWith(QStringLiteral("Textový soubor")) ? out : QString();
        };
        QCOMPARE(w.printPreview(), seOK);
        QVERIFY(messages.messages.empty());
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray once = characterPageBytes(rep.pages, {2, 3}, slCP852);
        QVERIFY(once.contains("\xFC\xA0""dek 10"));   // "Řádek" in code page 852: Ř 0xFC, á 0xA0
        QCOMPARE(f.readAll(), once + once);
    }

    void componentPrint()
    {
        // Print and PrintTo hand the component's range, copies, title and printer to the backend
        tzt::MessageRecorder messages;
        std::vector<PrintRequest> sent;
        OutputBackend b;
        b.printerAvailable = [] { return true; };
        b.printerNames = [] { return QStringList{"A", "B"}; };
        b.print = [&](TSestava &, const PrintRequest &r) {
            sent.push_back(r);
            return seOK;
        };
        setOutputBackend(b);
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        rep.printCopies = 2;
        rep.startPage = 2;
        rep.Popis = QStringLiteral("Přehled");
        QCOMPARE(rep.Print(), seOK);
        QCOMPARE(rep.PrintTo(1), seOK);
        QCOMPARE(sent.size(), size_t(2));
        QCOMPARE(sent[0].printerName, QString());
        QCOMPARE(sent[1].printerName, QStringLiteral("B"));
        for (const PrintRequest &r : sent) {
            QCOMPARE(r.range.first, 2);
            QCOMPARE(r.range.last, 3);
            QCOMPARE(r.copies, 2);
            QCOMPARE(r.title, QStringLiteral("Přehled"));
        }
        QVERIFY(messages.messages.empty());
        // a printer that is not there: nothing is composed or sent
        rep.pages.clear();
        QCOMPARE(rep.PrintTo(2), seJina);
        QCOMPARE(sent.size(), size_t(2));
        QCOMPARE(rep.pages.pageCount(), 0);
        QCOMPARE(messages.messages.size(), size_t(1));
        QCOMPARE(messages.messages[0].caption, QStringLiteral("Chyba"));
    }

    void printersAndDrivers_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<bool>("textOnly");
        QTest::newRow("Windows name") << "Generic / Text Only" << true;
        QTest::newRow("Czech name") << QStringLiteral("Obecná nebo jen textová") << true;
        QTest::newRow("CUPS") << "Generic Text-Only Printer" << true;
        QTest::newRow("laser") << "HP LaserJet 4" << false;
        QTest::newRow("empty") << "" << false;
    }
    void printersAndDrivers()
    {
        QFETCH(QString, driver);
        QFETCH(bool, textOnly);
        QCOMPARE(isTextOnlyDriver(driver), textOnly);
    }

    void noPrinter()
    {
        installReportWindows();
        tzt::MessageRecorder messages;
        setPrinterCatalog(printers({}));
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        // the component's Print: the warning and seNeniTiskarna, nothing composed
        QCOMPARE(rep.Print(), seNeniTiskarna);
        QCOMPARE(messages.messages.size(), size_t(1));
        QCOMPARE(messages.messages[0].kind, MessageKind::Warning);
        QCOMPARE(messages.messages[0].caption, QStringLiteral("Varování"));
        QCOMPARE(messages.messages[0].text, QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
        QCOMPARE(rep.pages.pageCount(), 0);

        // printing from the preview: the warning, then the dialog without printing, the PDF still there
        QCOMPARE(rep.run(), seOK);
        TFormSestP w(rep);
        int shown = 0;
        w.runPrintDialog = [&](TPrintDialogTyp &) {
            ++shown;
            return int(TSestPrintDlg::Print);
        };
        QCOMPARE(w.printPreview(), seNeniTiskarna);
        QCOMPARE(messages.messages.size(), size_t(2));
        QCOMPARE(messages.messages[1].text, QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
        QCOMPARE(shown, 1);
        const QString out = m_tmp->filePath("bez-tiskarny.pdf");
        w.chooseFile = [&](const QString &, const QString &) { return out; };
        w.runPrintDialog = [&](TPrintDialogTyp &s) {
            s.firstPage = 3;
            s.lastPage = 3;
            return int(TSestPrintDlg::Pdf);
        };
        QCOMPARE(w.printPreview(), seOK);
        QCOMPARE(pdfPages(out), 1);

        // the real dialog: printer, properties, print and print-to-file disabled; PDF enabled
        TPrintDialogTyp s;
        s.pageCount = 3;
        s.lastPage = 3;
        TSestPrintDlg d(s);
        QVERIFY(!d.printerCombo()->isEnabled());
        QVERIFY(!d.propertiesButton()->isEnabled());
        QVERIFY(!d.printButton()->isEnabled());
        QVERIFY(!d.toFileBox()->isEnabled());
        QVERIFY(d.pdfButton()->isEnabled());
    }

    void printDialog()
    {
        setPrinterCatalog(printers({{QStringLiteral("A"), QStringLiteral("Laser"), QStringLiteral("lpt1:"), false},
                                    {QStringLiteral("B"), QStringLiteral("Inkoust"), QStringLiteral("usb:"), true}}));
        TPrintDialogTyp s;
        s.pageCount = 5;
        s.firstPage = 2;
        s.lastPage = 4;
        s.copies = 3;
        TSestPrintDlg d(s);
        // the default printer is chosen, with its driver and port
        QCOMPARE(d.printerCombo()->currentText(), QStringLiteral("B"));
        QVERIFY(d.findChildren<QLabel *>().size() > 0);
        bool shownDriver = false;
        for (QLabel *l : d.findChildren<QLabel *>())
            shownDriver |= l->text() == QStringLiteral("Inkoust");
        QVERIFY(shownDriver);
        QCOMPARE(d.fromPage()->value(), 2);
        QCOMPARE(d.toPage()->value(), 4);
        QCOMPARE(d.copies()->value(), 3);
        // the current page disables the range
        d.currentPageBox()->setChecked(true);
        QVERIFY(!d.fromPage()->isEnabled());
        QVERIFY(!d.toPage()->isEnabled());
        // the range never runs backwards
        d.currentPageBox()->setChecked(false);
        d.toPage()->setValue(1);
        QCOMPARE(d.fromPage()->value(), 1);
        d.printerCombo()->setCurrentIndex(0);
        const TPrintDialogTyp out = d.settings();
        QCOMPARE(d.printerName(), QStringLiteral("A"));
        QCOMPARE(out.printerIndex, 0);
        QCOMPARE(out.lastPage, 1);
        QVERIFY(!out.currentPage);
        // button results
        whenModal<TSestPrintDlg>(this, [](TSestPrintDlg *dlg) { dlg->pdfButton()->click(); });
        QCOMPARE(d.exec(), int(TSestPrintDlg::Pdf));
        whenModal<TSestPrintDlg>(this, [](TSestPrintDlg *dlg) { dlg->printButton()->click(); });
        QCOMPARE(d.exec(), int(TSestPrintDlg::Print));
    }

    void smallMedium_data()
    {
        QTest::addColumn<QSize>("paper");
        QTest::addColumn<QSize>("medium");
        QTest::addColumn<bool>("tooSmall");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("sheets");
        QTest::newRow("A4 on A4") << QSize(826, 1169) << QSize(826, 1169) << false << 100 << 1;
        QTest::newRow("A4 on 99 % wide") << QSize(826, 1169) << QSize(818, 1169) << false << 99 << 1;
        QTest::newRow("A4 on less than 99 %") << QSize(826, 1169) << QSize(817, 1169) << true << 98 << 2;
        QTest::newRow("A4 on Letter") << QSize(826, 1169) << QSize(850, 1100) << true << 94 << 2;
        QTest::newRow("A2 on A4") << QSize(1652, 2338) << QSize(826, 1169) << true << 50 << 9;
    }
    void smallMedium()
    {
        QFETCH(QSize, paper);
        QFETCH(QSize, medium);
        QFETCH(bool, tooSmall);
        QFETCH(int, zoom);
        QFETCH(int, sheets);
        QCOMPARE(mediumTooSmall(paper, medium), tooSmall);
        QCOMPARE(shrinkZoomPercent(paper, medium), zoom);
        const QMarginsF margins(25, 25, 25, 25);
        const SheetPlan shrink = planSheets(paper, medium, margins, FitMode::Shrink);
        QCOMPARE(shrink.offsets.size(), 1);
        QCOMPARE(qRound(shrink.zoom * 100), zoom);
        const SheetPlan crop = planSheets(paper, medium, margins, FitMode::Crop);
        QCOMPARE(crop.offsets, (QList<QPoint>{QPoint(0, 0)}));
        QCOMPARE(crop.zoom, 1.0);
        const SheetPlan tile = planSheets(paper, medium, margins, FitMode::Tile);
        QCOMPARE(tile.offsets.size(), sheets);
        QCOMPARE(tile.zoom, 1.0);
        // further sheets step by the medium less the margins, and cover the page
        if (sheets == 9) {
            QCOMPARE(tile.offsets[1], QPoint(776, 0));
            QCOMPARE(tile.offsets[2], QPoint(1552, 0));
            QCOMPARE(tile.offsets[3], QPoint(0, 1119));
            QVERIFY(tile.offsets.last().x() + medium.width() >= paper.width());
            QVERIFY(tile.offsets.last().y() + medium.height() >= paper.height());
        }
    }

    void fitOptionsWindow()
    {
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        TFormVamelReportZoom d(QSize(826, 1169), QSize(850, 1100), printer);
        QCOMPARE(d.windowTitle(), QStringLiteral("Vamel - možnosti tisku"));
        QCOMPARE(d.mediumLabel()->text(), QStringLiteral("850 x 1100"));
        QCOMPARE(d.zoomLabel()->text(), QStringLiteral("94 %"));
        QVERIFY(d.choice().mode == FitMode::Shrink);
        // turning the medium exchanges its width and height and recomputes
        d.rotateBox()->setChecked(true);
        QCOMPARE(d.mediumLabel()->text(), QStringLiteral("1100 x 850"));
        QCOMPARE(d.zoomLabel()->text(), QStringLiteral("72 %"));
        d.tileButton()->setChecked(true);
        QVERIFY(d.choice().mode == FitMode::Tile);
        QVERIFY(d.choice().rotateMedium);
        d.cropButton()->setChecked(true);
        QVERIFY(d.choice().mode == FitMode::Crop);
    }

    void printGraphicCopiesAndSmallMedium()
    {
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        QCOMPARE(rep.run(), seOK);
        // a PDF printer takes the report's paper exactly: no options asked
        int asked = 0;
        setFitChooser([&](QSize, QSize, QPrinter &) {
            ++asked;
            return std::optional<FitChoice>();
        });
        const QString out = m_tmp->filePath("p.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        QCOMPARE(printGraphic(printer, rep.pages, {.range = {1, 9999}, .copies = 3, .title = "T"}), seOK);
        QCOMPARE(asked, 0);
        QCOMPARE(pdfPages(out), 9);
        const QSizeF size = printer.pageLayout().fullRect(QPageLayout::Inch).size();
        QVERIFY(qAbs(size.width() - 8.26) < 0.01);
        QVERIFY(qAbs(size.height() - 11.69) < 0.01);
        // the character output on a printer: one printer page per page and copy
        const QString chars = m_tmp->filePath("c.pdf");
        QPrinter cp(QPrinter::HighResolution);
        cp.setOutputFormat(QPrinter::PdfFormat);
        cp.setOutputFileName(chars);
        QCOMPARE(printCharacters(cp, rep.pages, {.range = {2, 3}, .copies = 2, .title = "T"}, slASCII), seOK);
        QCOMPARE(pdfPages(chars), 4);
        // Letter in the printer: an A4 report asks how to print it
        struct Case {
            std::optional<FitChoice> choice;
            TSestError result;
            int sheets;   // in the file, -1 none
        };
        const Case cases[] = {{std::nullopt, sePreruseno, -1},
                              {FitChoice{FitMode::Shrink, false}, seOK, 3},
                              {FitChoice{FitMode::Crop, false}, seOK, 3},
                              {FitChoice{FitMode::Tile, false}, seOK, 6}};
        for (const Case &c : cases) {
            const QString file = m_tmp->filePath(QStringLiteral("letter%1.pdf").arg(int(c.result) * 10 + c.sheets));
            QPrinter lp(QPrinter::HighResolution);
            lp.setOutputFormat(QPrinter::PdfFormat);
            lp.setOutputFileName(file);
            lp.setPageSize(QPageSize(QPageSize::Letter));
            QSize paperSeen, mediumSeen;
            asked = 0;
            setFitChooser([&](QSize paper, QSize medium, QPrinter &) {
                ++asked;
                paperSeen = paper;
                mediumSeen = medium;
                return c.choice;
            });
            QCOMPARE(printGraphic(lp, rep.pages, {.range = {1, 9999}, .title = "T", .usePrinterPaper = true}), c.result);
            QCOMPARE(asked, 1);
            QCOMPARE(paperSeen, QSize(826, 1169));
            QCOMPARE(mediumSeen, QSize(850, 1100));
            QCOMPARE(c.sheets < 0 ? !QFileInfo::exists(file) || pdfPages(file) <= 0 : pdfPages(file) == c.sheets, true);
        }
    }

    void cancelKeepsTheProgramAlive()
    {
        installReportWindows();
        tzt::MessageRecorder messages;
        MemoryDataSource src = rows(30000);
        TSestava rep;
        useDefinition(rep, 20);
        rep.dataSource = &src;
        // a slow report (the window appears only when a run takes a while)
        rep.onTiskOddilu = [](int) {
            QThread::usleep(100);
            return true;
        };
        // pressed while the report is composing: the timer runs, so events are processed
        bool sawWindow = false;
        QString text;
        QTimer press;
        press.setInterval(5);
        connect(&press, &QTimer::timeout, this, [&] {
            ProgressWindow &pw = ProgressWindow::instance();
            if (pw.isVisible() && !sawWindow) {
                sawWindow = true;
                text = pw.label()->text();
                QCOMPARE(pw.windowTitle(), QStringLiteral("Informace"));
                QVERIFY(pw.cancelButton()->isEnabled());
                pw.cancelButton()->click();
            }
        });
        press.start();
        QCOMPARE(rep.run(), sePreruseno);
        press.stop();
        QVERIFY(sawWindow);
        QVERIFY(text.startsWith(QStringLiteral("Připravuji tisk položky číslo: ")));
        // the pages composed so far are kept, not all of them
        QVERIFY(rep.pages.pageCount() > 0);
        QVERIFY(rep.pages.pageCount() < 30000 / 45);
        QVERIFY(!ProgressWindow::instance().isVisible());
        // the next run is not cancelled by the earlier press, and a short one shows no window
        MemoryDataSource few = rows(5);
        rep.dataSource = &few;
        rep.onTiskOddilu = {};
        ShowCounter shows;
        ProgressWindow::instance().installEventFilter(&shows);
        QCOMPARE(rep.run(), seOK);
        ProgressWindow::instance().removeEventFilter(&shows);
        QCOMPARE(shows.count, 0);
    }

    void previewThroughTheComponent()
    {
        installReportWindows();
        tzt::MessageRecorder messages;
        MemoryDataSource src = rows();
        TSestava rep;
        useDefinition(rep);
        rep.dataSource = &src;
        int customPage = 0;
        rep.OnPreviewCustomEvent = [&](int page) { customPage = page; };
        rep.previewCustomHint = QStringLiteral("Odeslat e-mailem");
        TSestError nested = seOK;
        whenModal<TFormSestP>(this, [&](TFormSestP *w) {
            QVERIFY(w->windowState() & Qt::WindowMaximized);
            QCOMPARE(w->zoom(), 100);
            QAction *custom = w->action("AVlastni");
            QVERIFY(custom->isVisible());
            QCOMPARE(custom->toolTip(), QStringLiteral("Odeslat e-mailem"));
            w->goToPage(2);
            custom->trigger();
            // another run while the preview is open is refused
            TSestava other;
            useDefinition(other);
            MemoryDataSource s2 = rows(2);
            other.dataSource = &s2;
            nested = other.Preview();
            // Esc closes the preview (it was not opened from the designer)
            QTest::keyClick(w, Qt::Key_Escape);
        });
        QCOMPARE(rep.Preview(), seOK);
        QCOMPARE(customPage, 2);
        QCOMPARE(nested, seBusy);
        QVERIFY(messages.messages.empty());

        // without the handler the custom button is hidden; from the designer Esc asks for the editor
        MemoryDataSource src2 = rows(3);
        TSestava plain;
        useDefinition(plain);
        plain.dataSource = &src2;
        QCOMPARE(plain.run(), seOK);
        TFormSestP w(plain);
        QVERIFY(!w.action("AVlastni")->isVisible());
        QVERIFY(!w.action("AOprava")->isEnabled());
        w.setOpenedFromDesigner(true);
        QCOMPARE(w.action("AZavrit")->toolTip(), QStringLiteral("Ukončit opravu předlohy"));
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(w.editRequested());
    }

    void messageBoxes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("result");
        QTest::addColumn<int>("icon");
        QTest::newRow("question, Ano") << int(MessageKind::Question) << "Ano" << true << int(QMessageBox::Question);
        QTest::newRow("question, Ne") << int(MessageKind::Question) << "Ne" << false << int(QMessageBox::Question);
        QTest::newRow("error") << int(MessageKind::Error) << "OK" << true << int(QMessageBox::Critical);
        QTest::newRow("warning") << int(MessageKind::Warning) << "OK" << true << int(QMessageBox::Warning);
    }
    void messageBoxes()
    {
        QFETCH(int, kind);
        QFETCH(QString, button);
        QFETCH(bool, result);
        QFETCH(int, icon);
        QString caption, text;
        int shownIcon = -1;
        whenModal<QMessageBox>(this, [&](QMessageBox *box) {
            caption = box->windowTitle();
            text = box->text();
            shownIcon = box->icon();
            for (QAbstractButton *b : box->buttons())
                if (b->text() == button)
                    b->click();
        });
        QCOMPARE(messageBox(MessageKind(kind), QStringLiteral("Potvrzení"), QStringLiteral("Založit nový?")), result);
        QCOMPARE(caption, QStringLiteral("Potvrzení"));
        QCOMPARE(text, QStringLiteral("Založit nový?"));
        QCOMPARE(shownIcon, icon);
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
