// Export formats: exact bytes of the character page, escaping in HTML and RTF,
// page files of SVG, PDF pages.
#include "exporter.h"
#include "reporttestutil.h"

#include <QXmlStreamReader>

using namespace tz::rep;

namespace {

OutputElement textEl(int left, int top, int width, int height, const QString &text, int size = 10, int style = 0,
                     int align = 0, int frame = 0)
{
    OutputElement o;
    o.el.kind = ekText;
    o.el.fontName = QStringLiteral("Arial");
    o.el.fontSize = size;
    o.el.fontStyle = style;
    o.el.layout = align;
    o.el.frame = frame;
    o.el.width = width;
    o.el.height = height;
    o.el.text = text;
    o.box = QRect(left, top, width, height);
    o.lines = layoutText(text, o.el, width, false);   // one line per line feed, as a single-line field
    return o;
}

PageStore store(int pages)
{
    PageStore s;
    s.pageSetup = PageSetup{};
    s.pages.resize(size_t(pages));
    return s;
}

QByteArray crlf(const QList<QByteArray> &rows)
{
    QByteArray out;
    for (const QByteArray &r : rows)
        out += r + "\r\n";
    return out;
}

int braceBalance(const QByteArray &rtf, bool *neverNegative)
{
    int depth = 0;
    *neverNegative = true;
    for (int i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        if (rtf[i] == '}' && --depth < 0)
            *neverNegative = false;
    }
    return depth;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT

private slots:
    void codePages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("language");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Č ascii") << QStringLiteral("Č") << int(slASCII) << QByteArray("C");
        QTest::newRow("Č kamenický") << QStringLiteral("Č") << int(slCP867) << QByteArray("\x80");
        QTest::newRow("Č 852") << QStringLiteral("Č") << int(slCP852) << QByteArray("\xAC");
        QTest::newRow("Č 1250") << QStringLiteral("Č") << int(slCP1250) << QByteArray("\xC8");
        QTest::newRow("Č undefined") << QStringLiteral("Č") << int(slUndefined) << QByteArray("\xC8");
        QTest::newRow("Ŕ kamenický") << QStringLiteral("Ŕ") << int(slCP867) << QByteArray("\xAB");
        QTest::newRow("ů 852") << QStringLiteral("ů") << int(slCP852) << QByteArray("\x85");
        // beyond the 44 letters the whole code page is mapped
        QTest::newRow("° 852") << QStringLiteral("°") << int(slCP852) << QByteArray("\xF8");
        QTest::newRow("° kamenický") << QStringLiteral("°") << int(slCP867) << QByteArray("\xF8");
        QTest::newRow("§ 852") << QStringLiteral("§") << int(slCP852) << QByteArray("\xF5");
        QTest::newRow("€ 852 has none") << QStringLiteral("€") << int(slCP852) << QByteArray("?");
        QTest::newRow("ž ascii") << QStringLiteral("ž") << int(slASCII) << QByteArray("z");
    }
    void codePages()
    {
        QFETCH(QString, text);
        QFETCH(int, language);
        QFETCH(QByteArray, bytes);
        PageStore s = store(1);
        // 10 pt: 12 characters per inch, width 10 -> one character
        s.pages[0].add(textEl(0, 0, 10, 20, text));
        QCOMPARE(characterPageBytes(s, {1, 1}, language), bytes + "\r\n");
    }

    void characterPageLayers()
    {
        PageStore s = store(1);
        s.pages[0].add(textEl(0, 0, 100, 20, QStringLiteral("AB"), 12));              // 10 cpi, 10 wide
        s.pages[0].add(textEl(50, 0, 100, 20, QStringLiteral("xyz"), 8));             // 17 cpi: column 9 (8.5 up)
        s.pages[0].add(textEl(10, 0, 10, 20, QStringLiteral("Q"), 12, 1));            // bold layer under 'B'
        s.pages[0].add(textEl(0, 34, 50, 20, QStringLiteral("ABCDEFGH"), 10, 0, 2)); // centred in 6: middle kept
        s.pages[0].add(textEl(0, 50, 50, 20, QStringLiteral("AB"), 10, 0, 1));       // right in 6
        const QByteArray got = characterPageBytes(s, {1, 1}, slCP1250);
        const QByteArray row0 = "AB       xyz" + QByteArray(14, ' ');
        QCOMPARE(got, crlf({row0, "", "BCDEFG", "    AB"}));
    }

    void characterPageRowsAndWidth()
    {
        PageStore s = store(2);
        s.pages[0].add(textEl(0, 34, 50, 20, QStringLiteral("první")));
        s.pages[1].add(textEl(2500, 17, 10, 20, QStringLiteral("x")));   // column 300: full width kept
        const QByteArray got = characterPageBytes(s, {1, 2}, slASCII);
        const QList<QByteArray> lines = got.split('\n');
        // A4 at 6 lines per inch: 70 rows on every page but the last, which
        // ends at its last used row
        QCOMPARE(got.count("\r\n"), 70 + 2);
        QCOMPARE(lines[2], QByteArray("prvni \r"));
        QCOMPARE(lines[71], QByteArray(300, ' ') + "x\r");
        QVERIFY(!got.contains('\f'));
        // line spacing 2: 3 lines per inch; page 2 ends at its row 1
        s.grid.lineSpacing = 2;
        QCOMPARE(characterPageBytes(s, {1, 2}, slASCII).count("\r\n"), 1169 * 3 / 100 + 2);
    }

    // Two elements meeting on a row of the character page: the blank between
    // their texts stays. Boxes (left, width) in hundredths of an inch.
    void characterPageMeetingElements_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("left1");
        QTest::addColumn<int>("width1");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<int>("align1");
        QTest::addColumn<int>("left2");
        QTest::addColumn<int>("width2");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<int>("align2");
        QTest::addColumn<QByteArray>("row");
        // the page footer of the overviews: 17 cpi, the first box ends at
        // column 173.2, where the second begins; its cell must not take that column
        QTest::newRow("page x of n") << 8 << 869 << 150 << QStringLiteral("Strana 1") << 1 << 1019 << 50
                                     << QStringLiteral(" z 1") << 0 << QByteArray(165, ' ') + "Strana 1 z 1     ";
        QTest::newRow("second text without its blank") << 8 << 869 << 150 << QStringLiteral("Strana 1") << 1 << 1019 << 50
                                                       << QStringLiteral("z 1") << 0
                                                       << QByteArray(165, ' ') + "Strana 1 z 1     ";
        // a gap narrower than a column in the layout
        QTest::newRow("gap below a column") << 10 << 0 << 100 << QStringLiteral("ABCDEFGHIJKL") << 0 << 102 << 100
                                            << QStringLiteral("XYZ") << 0 << QByteArray("ABCDEFGHIJKL XYZ        ");
        // the second cell is full: the first text moves left
        QTest::newRow("second cell full") << 10 << 0 << 100 << QStringLiteral("Strana 1") << 1 << 100 << 25
                                          << QStringLiteral("z 1") << 0 << QByteArray("   Strana 1 z 1");
        QTest::newRow("both cells full: unchanged") << 10 << 0 << 25 << QStringLiteral("abc") << 0 << 25 << 25
                                                    << QStringLiteral("def") << 0 << QByteArray("abcdef");
        QTest::newRow("apart: unchanged") << 10 << 0 << 50 << QStringLiteral("ab") << 0 << 50 << 50 << QStringLiteral("cd") << 0
                                          << QByteArray("ab    cd    ");
        QTest::newRow("blank already there") << 10 << 0 << 50 << QStringLiteral("ab ") << 1 << 50 << 50
                                             << QStringLiteral("cd") << 0 << QByteArray("   ab cd    ");
    }
    void characterPageMeetingElements()
    {
        QFETCH(int, size);
        QFETCH(int, left1);
        QFETCH(int, width1);
        QFETCH(QString, text1);
        QFETCH(int, align1);
        QFETCH(int, left2);
        QFETCH(int, width2);
        QFETCH(QString, text2);
        QFETCH(int, align2);
        QFETCH(QByteArray, row);
        // both orders of drawing give the same row
        for (const bool firstFirst : {true, false}) {
            PageStore s = store(1);
            const OutputElement a = textEl(left1, 0, width1, 16, text1, size, 0, align1);
            const OutputElement b = textEl(left2, 0, width2, 16, text2, size, 0, align2);
            s.pages[0].add(firstFirst ? a : b);
            s.pages[0].add(firstFirst ? b : a);
            QCOMPARE(characterPageBytes(s, {1, 1}, slCP1250), row + "\r\n");
        }
    }

    void overviewFooterInTheTextExport()
    {
        // the installed overview of accessories, one item: its page footer
        // is "Strana 1" and " z 1" in two elements
        using C = MemoryDataSource::Column;
        MemoryDataSource src({C{QStringLiteral("Firma")}, C{QStringLiteral("D")}, C{QStringLiteral("POPIS")},
                              C{QStringLiteral("OZNACENI")}, C{QStringLiteral("EVID_C")},
                              C{QStringLiteral("DAT_PLAN_1"), SourceFieldType::Date},
                              C{QStringLiteral("DAT_PLAN_3"), SourceFieldType::Date}});
        src.addRow({QStringLiteral("Firma a.s."), QStringLiteral("Lano"), QStringLiteral("ocelové"), QStringLiteral("L1"),
                    QStringLiteral("123"), QDate(2025, 1, 31), QDate(2025, 6, 30)});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        rep.Parametry = {QStringLiteral(" - Firma a.s.")};
        const LoadStatus st =
            loadDefinitionFile(rep, QStringLiteral(TZ_INSTALLED_REPORTS "/pvp.pts"), {.resolveFields = true});
        QVERIFY2(st.ok(), qPrintable(st.message));
        QCOMPARE(rep.compose(), seOK);
        const QByteArray txt = characterPageBytes(rep.pages, {1, 1}, slCP1250);
        QVERIFY2(txt.contains("Strana 1 z 1\r\n") || txt.contains("Strana 1 z 1 "), txt.constData());
        QVERIFY(!txt.contains("1z 1"));
    }

    void htmlEscapingAndEncoding()
    {
        PageStore s = store(1);
        s.pages[0].add(textEl(20, 10, 300, 20, QStringLiteral("<500 kg & \"ř\""), 10, 1, 0, 2));
        OutputElement multi = textEl(20, 40, 300, 40, QStringLiteral("a b  c\nd  e"));
        s.pages[0].add(multi);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("vystup.html"));
        auto ex = createExporter(QStringLiteral("html"));
        QString err;
        QVERIFY2(ex->write(s, path, {.range = {1, 1}, .singlePage = true}, &err), qPrintable(err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray html = f.readAll();
        QVERIFY(html.startsWith("<HTML> <HEAD> <TITLE> </TITLE>\n<META NAME=\"Creator\" CONTENT=\"VamelReportGenerator\">\n"));
        QVERIFY(html.contains("charset=utf-8"));
        QVERIFY(html.contains("</HEAD> <BODY BGCOLOR = \"#FFFFFF\"><PRE>\n"));
        QVERIFY(html.endsWith("</PRE></BODY> </HTML>\n"));
        const QByteArray one = "<DIV STYLE=\"position: absolute; top: 10px; left: 20px; width: 300px; height: 20px; "
                               "border-top: 1px solid #000000; font: 10pt Arial; color: #000000\"><b>&lt;500 kg &amp; "
                               "&quot;\xC5\x99&quot;</b></DIV>\n";
        QVERIFY2(html.contains(one), html.constData());
        // several lines: one DIV per line, blanks after the first one as &nbsp;
        QVERIFY(html.contains(">a b&nbsp;&nbsp;c</DIV>\n"));
        QVERIFY(html.contains(">d &nbsp;e</DIV>\n"));
    }

    void htmlPagesAndPictureNames()
    {
        PageStore s = store(2);
        for (int p = 0; p < 2; ++p) {
            OutputElement pic;
            pic.el.kind = ekPicture;
            pic.box = QRect(0, 0, 50, 50);
            pic.picture = QImage(10, 10, QImage::Format_RGB32);
            pic.picture.fill(p ? Qt::red : Qt::blue);
            s.pages[size_t(p)].add(pic);
        }
        QTemporaryDir dir;
        auto ex = createExporter(QStringLiteral("html"));
        QString err;
        QVERIFY(ex->write(s, dir.filePath(QStringLiteral("str.html")), {.range = {1, 2}}, &err));
        QCOMPARE(ex->files, QStringList({dir.filePath(QStringLiteral("str1.html")), dir.filePath(QStringLiteral("str2.html"))}));
        QImage a(dir.filePath(QStringLiteral("str1_1_1.bmp"))), b(dir.filePath(QStringLiteral("str2_2_1.bmp")));
        QVERIFY(!a.isNull() && !b.isNull());
        QVERIFY(a.pixelColor(1, 1) != b.pixelColor(1, 1));
    }

    void rtfEscapingAndBalance()
    {
        PageStore s = store(2);
        s.pages[0].add(textEl(0, 0, 300, 20, QStringLiteral("{a} \\ ř"), 10, 1, 2, 15));
        OutputElement line;
        line.el.kind = ekLine;
        line.el.flags = 2 | 64;   // top edge and the ellipse
        line.el.penStyle = 1;
        line.box = QRect(0, 30, 100, 50);
        s.pages[0].add(line);
        OutputElement frame;
        frame.el.kind = ekRoundFrame;
        frame.el.penWidth = 0;
        frame.box = QRect(0, 100, 100, 50);
        s.pages[1].add(frame);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.rtf"));
        auto ex = createExporter(QStringLiteral("rtf"));
        QString err;
        QVERIFY(ex->write(s, path, {.range = {1, 2}}, &err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deftab720{\\fonttbl{\\f0\\fnil\\fcharset238 Arial;}}"));
        QVERIFY(rtf.contains("{\\info{\\doccomm Produced by: VAMEL Report Generator ("));
        QVERIFY(rtf.contains("\\viewkind1\\paperw11894\\paperh16833\\margl720\\margr720\\margt806\\margb806\\headery0\\footery0\r\n"));
        QVERIFY2(rtf.contains("\\par\\pard\\brdrt\\brdrs\\brdrw20 \\brdrl\\brdrs\\brdrw20 \\brdrb\\brdrs\\brdrw20 "
                              "\\brdrr\\brdrs\\brdrw20 \\pvpg\\phpg\\absw4320\\absh-288\\posy1008\\posx720"
                              "\\f0\\cf0\\fs20 \\b\\qc \\{a\\} \\\\ \\'f8\\b0"),
                 rtf.constData());
        QVERIFY(rtf.contains("{\\sp{\\sn shapeType}{\\sv 3}}{\\sp{\\sn lineDashing}{\\sv 1}}{\\sp{\\sn fillOpacity}{\\sv 0}}}}"));
        QVERIFY(rtf.contains("{\\sp{\\sn shapeType}{\\sv 2}}"));
        QVERIFY(rtf.contains("{\\sp{\\sn fLine}{\\sv 0}}{\\sp{\\sn fBehindDocument}{\\sv 1}}}}"));
        QVERIFY(rtf.contains("\\par\\page}"));
        QVERIFY(rtf.endsWith("\\par}\r\n}"));
        bool neverNegative = false;
        QCOMPARE(braceBalance(rtf, &neverNegative), 0);
        QVERIFY(neverNegative);
    }

    // Frames, rounded frames and ellipses as RTF shapes: each shape one
    // balanced group, the document balanced.
    void rtfShapesBalanced_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<int>("brushStyle");
        QTest::addColumn<QByteArray>("shapeType");
        QTest::newRow("ellipse") << int(ekEllipse) << 1 << 0 << QByteArray("{\\sp{\\sn shapeType}{\\sv 3}}");
        QTest::newRow("ellipse without pen") << int(ekEllipse) << 0 << 0 << QByteArray("{\\sp{\\sn shapeType}{\\sv 3}}");
        QTest::newRow("transparent ellipse") << int(ekEllipse) << 2 << 1 << QByteArray("{\\sp{\\sn shapeType}{\\sv 3}}");
        QTest::newRow("frame") << int(ekFrame) << 1 << 0 << QByteArray("{\\sp{\\sn shapeType}{\\sv 1}}");
        QTest::newRow("rounded frame") << int(ekRoundFrame) << 1 << 1 << QByteArray("{\\sp{\\sn shapeType}{\\sv 2}}");
    }
    void rtfShapesBalanced()
    {
        QFETCH(int, kind);
        QFETCH(int, penWidth);
        QFETCH(int, brushStyle);
        QFETCH(QByteArray, shapeType);
        PageStore s = store(1);
        OutputElement shape;
        shape.el.kind = kind;
        shape.el.penWidth = penWidth;
        shape.el.brushStyle = brushStyle;
        shape.box = QRect(10, 20, 200, 100);
        s.pages[0].add(shape);
        s.pages[0].add(textEl(0, 200, 300, 20, QStringLiteral("pod {tvarem}")));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tvar.rtf"));
        QString err;
        QVERIFY(createExporter(QStringLiteral("rtf"))->write(s, path, {.range = {1, 1}}, &err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray rtf = f.readAll();
        bool neverNegative = false;
        QCOMPARE(braceBalance(rtf, &neverNegative), 0);
        QVERIFY(neverNegative);
        // the shape alone: from its opening brace to where its group closes
        const int from = int(rtf.indexOf("{\\shp{"));
        QVERIFY(from > 0);
        int depth = 0, end = -1;
        for (int i = from; i < rtf.size() && end < 0; ++i) {
            if (rtf[i] == '\\')
                ++i;
            else if (rtf[i] == '{')
                ++depth;
            else if (rtf[i] == '}' && --depth == 0)
                end = i;
        }
        QVERIFY(end > from);
        const QByteArray group = rtf.mid(from, end + 1 - from);
        QVERIFY2(group.contains(shapeType), group.constData());
        QVERIFY2(group.endsWith("{\\sp{\\sn fBehindDocument}{\\sv 1}}}}"), group.constData());
        // the page goes on with the text's paragraph, not with stray braces
        QVERIFY2(rtf.mid(end + 1).startsWith("\\par\\pard"), rtf.mid(end + 1, 40).constData());
    }

    void svgOneFilePerPage()
    {
        PageStore s = store(2);
        s.pages[0].add(textEl(0, 0, 300, 20, QStringLiteral("A & <B>")));
        s.pages[1].add(textEl(0, 0, 300, 20, QStringLiteral("druhá")));
        QTemporaryDir dir;
        auto ex = createExporter(QStringLiteral("svg"));
        QString err;
        QVERIFY(ex->write(s, dir.filePath(QStringLiteral("p.svg")), {.range = {1, 2}}, &err));
        QCOMPARE(ex->files.size(), 2);
        QVERIFY(ex->files[1].endsWith(QStringLiteral("p2.svg")));
        for (const QString &file : ex->files) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QXmlStreamReader x(&f);
            QStringList texts;
            while (!x.atEnd())
                if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("text"))
                    texts << x.readElementText();
            QVERIFY2(!x.hasError(), qPrintable(x.errorString()));
            QCOMPARE(texts.size(), 1);
        }
    }

    void pdfPagesAndWriteFailure()
    {
        PageStore s = store(3);
        for (int p = 0; p < 3; ++p)
            s.pages[size_t(p)].add(textEl(0, 0, 300, 20, QStringLiteral("Strana %1").arg(p + 1)));
        QTemporaryDir dir;
        auto ex = createExporter(QStringLiteral("pdf"));
        QString err;
        const QString path = dir.filePath(QStringLiteral("x.pdf"));
        QVERIFY(ex->write(s, path, {.range = {2, 3}}, &err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pdf.count("/Type /Page\n"), 2);
        QVERIFY(!ex->write(s, dir.filePath(QStringLiteral("neni/x.pdf")), {.range = {1, 3}}, &err));
        QVERIFY(err.startsWith(QStringLiteral("Výstupní soubor se nepodařilo uložit.")));
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
