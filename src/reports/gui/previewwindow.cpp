#include "previewwindow.h"

#include "exporter.h"
#include "pagerenderer.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tz::rep::gui {

namespace {
constexpr int kSheetMargin = 12;   // grey border around the sheet, pixels

QString paperName(TSestava &rep)
{
    QString ini = rep.IniFileName;
    if (!ini.isEmpty() && QFileInfo(ini).isRelative())
        ini = QDir::current().filePath(ini);
    rep.paperFormats.loadUserFormats(ini);
    const PageSetup &ps = rep.pages.pageSetup;
    const int i = rep.paperFormats.find(ps.paperWidth, ps.paperHeight);
    const QString orientation = ps.orientation == 1 ? QStringLiteral(", na šířku") : QStringLiteral(", na výšku");
    if (i < 0)
        return QStringLiteral("%1 x %2%3").arg(ps.paperWidth).arg(ps.paperHeight).arg(orientation);
    return rep.paperFormats.formats()[i].name + orientation;
}
} // namespace

// The current page as a white sheet of the paper size at the zoom.
class PageView : public QWidget {
public:
    PageView(const PageStore &store, QWidget *parent) : QWidget(parent), m_store(store) {}

    void show(int pageIndex, int zoom)
    {
        m_index = pageIndex;
        m_zoom = zoom;
        const QSize s = sheet();
        setFixedSize(s.width() + 2 * kSheetMargin, s.height() + 2 * kSheetMargin);
        update();
    }

    double dpi() const { return logicalDpiX() * m_zoom / 100.0; }
    QSize sheet() const
    {
        return QSize(std::max(1, int(m_store.paperWidth() * dpi() / 100.0 + 0.5)),
                     std::max(1, int(m_store.paperHeight() * dpi() / 100.0 + 0.5)));
    }

    const QImage &image()
    {
        const double ratio = devicePixelRatioF();
        if (!m_cache.isNull() && m_cacheIndex == m_index && m_cacheZoom == m_zoom && m_cacheRatio == ratio)
            return m_cache;
        const double d = dpi() * ratio;
        const QSize s = sheet() * ratio;
        QImage img(s, QImage::Format_RGB32);
        const int dpm = int(d / 0.0254 + 0.5);
        img.setDotsPerMeterX(dpm);
        img.setDotsPerMeterY(dpm);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            const Background &bg = m_store.background;
            // on screen the background is always there; printing draws it only when asked
            if (!m_store.printBackground && !bg.picture.isNull()) {
                p.save();
                p.scale(d / 100.0, d / 100.0);
                const QRect r = bg.limited ? QRect(bg.left, bg.top, bg.width ? bg.width : m_store.paperWidth(),
                                                   bg.height ? bg.height : m_store.paperHeight())
                                           : QRect(0, 0, m_store.paperWidth(), m_store.paperHeight());
                p.drawImage(r, bg.picture);
                p.restore();
            }
            p.setTransform(pageTransform(m_store, d));
            renderPage(p, m_store, m_index, true);
        }
        img.setDevicePixelRatio(ratio);
        m_cache = img;
        m_cacheIndex = m_index;
        m_cacheZoom = m_zoom;
        m_cacheRatio = ratio;
        return m_cache;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        const QRect sheetRect(QPoint(kSheetMargin, kSheetMargin), sheet());
        p.fillRect(sheetRect.translated(3, 3), QColor(64, 64, 64));
        p.drawImage(sheetRect.topLeft(), image());
        p.setPen(Qt::black);
        p.drawRect(sheetRect.adjusted(0, 0, -1, -1));
    }

private:
    const PageStore &m_store;
    int m_index = 0;
    int m_zoom = 100;
    QImage m_cache;
    int m_cacheIndex = -1;
    int m_cacheZoom = 0;
    double m_cacheRatio = 0;
};

const QList<int> &TFormSestP::zoomLevels()
{
    static const QList<int> levels{32, 40, 50, 64, 75, 83, 100, 120, 150, 200, 300};
    return levels;
}

QAction *TFormSestP::addAction(const QString &name, const QString &text, const QList<QKeySequence> &keys)
{
    auto *a = new QAction(text, this);
    a->setObjectName(name);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    QWidget::addAction(a);
    m_actions.insert(name, a);
    return a;
}

QAction *TFormSestP::action(const QString &objectName) const { return m_actions.value(objectName); }

TFormSestP::TFormSestP(TSestava &rep, int zoom, QWidget *parent) : QDialog(parent), m_rep(rep)
{
    setObjectName(QStringLiteral("FormSestP"));
    setWindowTitle(QStringLiteral("Prohlížení sestavy před tiskem"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);

    const PageRange r = rep.printRange();
    m_first = std::max(1, r.first);
    m_last = std::max(m_first, r.last);
    m_page = m_first;

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    lay->addWidget(bar);

    QAction *close = addAction(QStringLiteral("AZavrit"), QStringLiteral("Zavřít náhled"));
    close->setToolTip(QStringLiteral("Zavřít náhled"));
    connect(close, &QAction::triggered, this, &QDialog::accept);
    bar->addAction(close);
    QAction *edit = addAction(QStringLiteral("AOprava"), QStringLiteral("Oprava předlohy..."),
                              {QKeySequence(QStringLiteral("Ctrl+E"))});
    edit->setEnabled(false);
    edit->setVisible(false);
    connect(edit, &QAction::triggered, this, [this] {
        m_editRequested = true;
        done(QDialog::Rejected);
    });
    bar->addAction(edit);
    QAction *print = addAction(QStringLiteral("ATisk"), QStringLiteral("Tisk náhledu..."),
                               {QKeySequence(QStringLiteral("Ctrl+P")), QKeySequence(QStringLiteral("Ctrl+T"))});
    connect(print, &QAction::triggered, this, [this] { printPreview(); });
    bar->addAction(print);
    QAction *pdf = addAction(QStringLiteral("APdf"), QStringLiteral("Uložit do PDF"));
    pdf->setToolTip(QStringLiteral("Uložit zobrazené stránky do souboru PDF"));
    connect(pdf, &QAction::triggered, this, [this] {
        saveDialog(QStringLiteral("pdf"), QStringLiteral("Soubor PDF (*.pdf);;Všechny soubory (*.*)"),
                   QStringLiteral("pdf"), false);
    });
    bar->addAction(pdf);

    // "Uložit do souboru"
    auto *saveMenu = new QMenu(QStringLiteral("Uložit do souboru"), this);
    saveMenu->setObjectName(QStringLiteral("MUlozit"));
    struct SaveItem {
        const char *name, *text, *format, *filter, *suffix;
        bool current;
    };
    static const SaveItem items[] = {
        {"AUlozitText", "Textový soubor...", "txt", "Textový soubor (*.txt);;Všechny soubory (*.*)", "txt", false},
        {"AUlozitRtf", "Soubor ve formátu RTF...", "rtf", "Soubor RTF (*.rtf);;Všechny soubory (*.*)", "rtf", false},
        {"AUlozitSvgStranku", "Aktuální stránku jako SVG...", "svg", "Soubor SVG (*.svg);;Všechny soubory (*.*)", "svg",
         true},
        {"AUlozitSvgVse", "Všechny stránky jako SVG...", "svg", "Soubor SVG (*.svg);;Všechny soubory (*.*)", "svg", false},
        {"AUlozitHtmlStranku", "Aktuální stránku jako HTML...", "html", "Soubor HTML (*.html);;Všechny soubory (*.*)",
         "html", true},
        {"AUlozitHtmlVse", "Všechny stránky jako HTML...", "html", "Soubor HTML (*.html);;Všechny soubory (*.*)", "html",
         false},
    };
    for (const SaveItem &it : items) {
        QAction *a = addAction(QString::fromLatin1(it.name), QString::fromUtf8(it.text));
        const SaveItem item = it;
        connect(a, &QAction::triggered, this, [this, item] {
            saveDialog(QString::fromLatin1(item.format), QString::fromUtf8(item.filter), QString::fromLatin1(item.suffix),
                       item.current);
        });
        saveMenu->addAction(a);
    }
    auto *saveButton = new QToolButton(bar);
    saveButton->setText(QStringLiteral("Uložit do souboru"));
    saveButton->setMenu(saveMenu);
    saveButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(saveButton);
    bar->addSeparator();

    // zoom
    auto *zoomMenu = new QMenu(this);
    m_zoomGroup = new QActionGroup(this);
    m_zoomGroup->setExclusive(true);
    for (int z : zoomLevels()) {
        QAction *a = addAction(QStringLiteral("AZoom%1").arg(z), QStringLiteral("%1 %").arg(z));
        a->setCheckable(true);
        a->setData(z);
        m_zoomGroup->addAction(a);
        zoomMenu->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { setZoom(z); });
    }
    m_zoomButton = new QToolButton(bar);
    m_zoomButton->setObjectName(QStringLiteral("BZoom"));
    m_zoomButton->setMenu(zoomMenu);
    m_zoomButton->setPopupMode(QToolButton::InstantPopup);
    m_zoomButton->setToolTip(QStringLiteral("Měřítko zobrazení"));
    bar->addWidget(m_zoomButton);
    bar->addSeparator();

    // pages
    QAction *firstA = addAction(QStringLiteral("APrvni"), QStringLiteral("První stránka"),
                                {QKeySequence(Qt::CTRL | Qt::Key_PageUp)});
    QAction *prevA = addAction(QStringLiteral("APredchozi"), QStringLiteral("Předchozí stránka"),
                               {QKeySequence(Qt::Key_PageUp)});
    QAction *nextA = addAction(QStringLiteral("ANasledujici"), QStringLiteral("Následující stránka"),
                               {QKeySequence(Qt::Key_PageDown)});
    QAction *lastA = addAction(QStringLiteral("APosledni"), QStringLiteral("Poslední stránka"),
                               {QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    QAction *goA = addAction(QStringLiteral("AZobrazitStranku"), QStringLiteral("Zobrazit stránku ..."));
    connect(firstA, &QAction::triggered, this, [this] { goToPage(m_first); });
    connect(prevA, &QAction::triggered, this, [this] { goToPage(m_page - 1); });
    connect(nextA, &QAction::triggered, this, [this] { goToPage(m_page + 1); });
    connect(lastA, &QAction::triggered, this, [this] { goToPage(m_last); });
    connect(goA, &QAction::triggered, this, [this] {
        const std::optional<int> n = askPage ? askPage(m_page) : [this]() -> std::optional<int> {
            bool ok = false;
            const int v = QInputDialog::getInt(this, QStringLiteral("Výběr stránky"), QStringLiteral("Stránka číslo:"),
                                               m_page, -1000000, 1000000, 1, &ok);
            return ok ? std::optional<int>(v) : std::nullopt;
        }();
        if (n)
            goToPage(*n);
    });
    for (QAction *a : {firstA, prevA, nextA, lastA, goA})
        bar->addAction(a);

    QAction *custom = addAction(QStringLiteral("AVlastni"), rep.previewCustomHint.isEmpty() ? QStringLiteral("Akce")
                                                                                            : rep.previewCustomHint);
    custom->setToolTip(rep.previewCustomHint);
    custom->setVisible(bool(rep.OnPreviewCustomEvent));
    connect(custom, &QAction::triggered, this, [this] {
        if (m_rep.OnPreviewCustomEvent)
            m_rep.OnPreviewCustomEvent(m_page);
    });
    bar->addSeparator();
    bar->addAction(custom);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PageView(rep.pages, m_scroll);
    m_scroll->setWidget(m_view);
    lay->addWidget(m_scroll, 1);

    auto *status = new QStatusBar(this);
    m_currentLabel = new QLabel(status);
    m_countLabel = new QLabel(status);
    status->addWidget(m_currentLabel);
    status->addWidget(m_countLabel);
    status->addPermanentWidget(new QLabel(paperName(rep), status));
    lay->addWidget(status);

    resize(900, 700);
    setWindowState(windowState() | Qt::WindowMaximized);
    setZoom(zoom);
    m_scroll->setFocus();
}

TFormSestP::~TFormSestP() = default;

void TFormSestP::setOpenedFromDesigner(bool on)
{
    QAction *edit = action(QStringLiteral("AOprava"));
    edit->setEnabled(on);
    edit->setVisible(on);
    action(QStringLiteral("AZavrit"))->setToolTip(on ? QStringLiteral("Ukončit opravu předlohy")
                                                     : QStringLiteral("Zavřít náhled"));
}

void TFormSestP::setZoom(int percent)
{
    m_zoom = zoomLevels().contains(percent) ? percent : 100;
    for (QAction *a : m_zoomGroup->actions())
        a->setChecked(a->data().toInt() == m_zoom);
    m_zoomButton->setText(QStringLiteral("%1 %").arg(m_zoom));
    updateState();
}

void TFormSestP::goToPage(int page)
{
    const int p = std::clamp(page, m_first, m_last);
    const bool changed = p != m_page;
    m_page = p;
    updateState();
    if (changed)
        Q_EMIT pageChanged(m_page);
}

void TFormSestP::updateState()
{
    const bool any = m_rep.pages.pageCount() > 0;
    action(QStringLiteral("APrvni"))->setEnabled(m_page > m_first);
    action(QStringLiteral("APredchozi"))->setEnabled(m_page > m_first);
    action(QStringLiteral("ANasledujici"))->setEnabled(m_page < m_last);
    action(QStringLiteral("APosledni"))->setEnabled(m_page < m_last);
    m_currentLabel->setText(QStringLiteral("Aktuální stránka: %1").arg(any ? m_page : 0));
    m_countLabel->setText(QStringLiteral("Celkem stran: %1").arg(any ? m_last : 0));
    m_view->show(m_page - 1, m_zoom);
}

QImage TFormSestP::pageImage() const { return m_view->image(); }

QSize TFormSestP::sheetSize() const { return m_view->sheet(); }

void TFormSestP::reject()
{
    QAction *edit = action(QStringLiteral("AOprava"));
    if (edit->isEnabled())
        edit->trigger();
    else
        action(QStringLiteral("AZavrit"))->trigger();
}

bool TFormSestP::saveTo(const QString &format, const QString &path, bool currentOnly)
{
    std::unique_ptr<Exporter> ex = createExporter(format);
    ExportOptions o;
    o.range = currentOnly ? PageRange{m_page, m_page} : PageRange{m_first, m_last};
    o.language = m_rep.exportLanguage;
    o.singlePage = currentOnly;
    QString why;
    if (!ex || !ex->write(m_rep.pages, path, o, &why)) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                    QStringLiteral("Výstupní soubor se nepodařilo uložit.\n%1").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    return true;
}

QString TFormSestP::chooseFileDefault(const QString &filter, const QString &suffix)
{
    QFileDialog d(this, QStringLiteral("Výběr souboru"), QDir::currentPath(), filter);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix(suffix);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return {};
    return d.selectedFiles().first();
}

void TFormSestP::saveDialog(const QString &format, const QString &filter, const QString &suffix, bool currentOnly)
{
    QString path = chooseFile ? chooseFile(filter, suffix) : chooseFileDefault(filter, suffix);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    saveTo(format, path, currentOnly);
}

TSestError TFormSestP::printPreview()
{
    const QList<PrinterEntry> printers = installedPrinters();
    if (printers.isEmpty())
        showMessage(MessageKind::Warning, QStringLiteral("Varování"),
                    QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
    TPrintDialogTyp s;
    s.caption = QStringLiteral("Tisk náhledu");
    s.firstPage = m_first;
    s.lastPage = m_last;
    s.pageCount = m_last;
    s.copies = std::max(1, m_rep.printCopies);
    s.paperName = paperName(m_rep);
    const Background &bg = m_rep.pages.background;
    s.showBackground = !bg.fileName.isEmpty() || !bg.picture.isNull();
    s.printBackground = m_rep.pages.printBackground;
    int result = TSestPrintDlg::Cancelled;
    if (runPrintDialog) {
        result = runPrintDialog(s);
    } else {
        TSestPrintDlg d(s, this);
        result = d.exec();
        s = d.settings();
    }
    const PageRange range = s.currentPage ? PageRange{m_page, m_page} : PageRange{s.firstPage, s.lastPage};
    if (result == TSestPrintDlg::Pdf) {
        const QString filter = QStringLiteral("Soubor PDF (*.pdf);;Všechny soubory (*.*)");
        QString path = chooseFile ? chooseFile(filter, QStringLiteral("pdf")) : chooseFileDefault(filter, QStringLiteral("pdf"));
        if (path.isEmpty())
            return seOK;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        QString why;
        const TSestError e = savePdf(m_rep.pages, range, path, &why);
        if (e != seOK)
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        QStringLiteral("Výstupní soubor se nepodařilo uložit.\n%1").arg(QDir::toNativeSeparators(path)));
        return e;
    }
    if (result != TSestPrintDlg::Print)
        return seOK;
    if (printers.isEmpty())
        return seNeniTiskarna;
    PrintRequest req;
    req.range = range;
    req.copies = std::max(1, s.copies);
    req.title = QStringLiteral("Tisková sestava");
    const int pi = std::clamp(s.printerIndex, 0, int(printers.size()) - 1);
    req.printerName = printers[pi].name;
    req.printBackground = s.showBackground ? s.printBackground : m_rep.pages.printBackground;
    req.pageLayout = s.pageLayout;
    if (s.toFile) {
        const bool text = isTextOnlyDriver(printers[pi].driver);
        const QString filter = text ? QStringLiteral("Textový soubor (*.txt);;Všechny soubory (*.*)")
                                    : QStringLiteral("Soubor PDF (*.pdf);;Všechny soubory (*.*)");
        const QString suffix = text ? QStringLiteral("txt") : QStringLiteral("pdf");
        QString path = chooseFile ? chooseFile(filter, suffix) : chooseFileDefault(filter, suffix);
        if (path.isEmpty())
            return seOK;
        if (QFileInfo(path).suffix().isEmpty())
            path += u'.' + suffix;
        req.outputFile = path;
    }
    if (m_rep.BeforePrintPreview)
        m_rep.BeforePrintPreview();
    const TSestError e = m_rep.printComposed(req);
    if (m_rep.AfterPrintPreview)
        m_rep.AfterPrintPreview();
    return e;
}

} // namespace tz::rep::gui
