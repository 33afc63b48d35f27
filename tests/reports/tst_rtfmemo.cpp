// RTF memo text: the reader on its own, and memo fields composed into pages
// and written by the exporters (text, HTML, SVG, RTF).
#include "codepage.h"
#include "exporter.h"
#include "pagerenderer.h"
#include "reporttestutil.h"
#include "rtftext.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

using namespace tz::rep;
using namespace tzt;

namespace {

const TextFormat kBase{QStringLiteral("Arial"), 10, 0, 0};

// The spans of a formatted text whose format has all the given style bits.
QString styled(const FormattedText &t, int bits)
{
    QString s;
    for (const TextSpan &sp : t.spans)
        if ((sp.format.fontStyle & bits) == bits)
            s += sp.text;
    return s;
}

// A report with one memo field in a body of 300, the field 600 x 250.
struct MemoReport {
    MemoryDataSource src{{{QStringLiteral("POZN"), SourceFieldType::Memo}}};
    TSestavaD rep;
    explicit MemoReport(const QString &memo, int layout = 16)
    {
        src.addRow({memo});
        rep.dataSource = &src;
        rep.collectFields();
        loadLines(rep, {QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0"), QStringLiteral("I,3,2,1,300,0"),
                        text("T", 2, "POZN", 0, 0, 600, 250, {}, layout)});
    }
    const OutputElement &memo() const
    {
        for (const OutputElement &o : rep.pages.pages.at(0).elements)
            if (o.isText())
                return o;
        qFatal("no memo element");
    }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of an HTML page: tags left out, the entities read back.
QString htmlText(const QString &html)
{
    QString t = html;
    t.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    t.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    t.replace(QLatin1String("&lt;"), QLatin1String("<"));
    t.replace(QLatin1String("&gt;"), QLatin1String(">"));
    t.replace(QLatin1String("&quot;"), QLatin1String("\""));
    t.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return t;
}

} // namespace

class TestRtfMemo : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProcessPageSetup(); }

    void recognisesDocuments_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rtf");
        QTest::newRow("document") << QStringLiteral("{\\rtf1\\ansi x}") << true;
        QTest::newRow("after blanks") << QStringLiteral("\r\n  {\\rtf1 x}") << true;
        QTest::newRow("plain") << QStringLiteral("Lano 2 m") << false;
        QTest::newRow("braces") << QStringLiteral("{poznámka}") << false;
        QTest::newRow("other group") << QStringLiteral("{\\pict x}") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void recognisesDocuments()
    {
        QFETCH(QString, text);
        QFETCH(bool, rtf);
        QCOMPARE(isRtfText(text), rtf);
    }

    void plainText_data()
    {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<QString>("plain");
        QTest::newRow("double quotes") << QStringLiteral("{\\rtf1\\ansi \\ldblquote Ahoj\\rdblquote  sv\\'ect}")
                                       << QStringLiteral("„Ahoj“ svět");
        QTest::newRow("single quotes") << QStringLiteral("{\\rtf1 \\lquote x\\rquote}") << QStringLiteral("‚x‘");
        QTest::newRow("dashes and bullet") << QStringLiteral("{\\rtf1 \\bullet  a\\emdash b\\endash c}")
                                           << QStringLiteral("• a—b–c");
        QTest::newRow("windows-1250 escapes")
            << QStringLiteral("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\\f0 \\'e8\\'ed\\'f8 "
                              "\\'8a\\'9e\\'d9}")
            << QStringLiteral("číř ŠžŮ");
        QTest::newRow("windows-1252 font") << QStringLiteral("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 "
                                                             "\\'e8\\'93}")
                                           << QStringLiteral("è“");
        QTest::newRow("unicode with fallback")
            << QStringLiteral("{\\rtf1 P\\u345?\\u237?li\\u353? \\u382?lu\\u357?ou\\u269?k\\u253?}") << QStringLiteral("Příliš žluťoučký");
        QTest::newRow("unicode hex fallback") << QStringLiteral("{\\rtf1 \\u269\\'e8a}") << QStringLiteral("ča");
        QTest::newRow("no fallback") << QStringLiteral("{\\rtf1\\uc0 \\u268 ap}") << QStringLiteral("Čap");
        QTest::newRow("two fallback characters") << QStringLiteral("{\\rtf1\\uc2 \\u8222 ,,x}") << QStringLiteral("„x");
        QTest::newRow("negative unicode") << QStringLiteral("{\\rtf1 \\u-3913?}") << QString(QChar(char16_t(0xF0B7)));
        QTest::newRow("paragraphs and breaks")
            << QStringLiteral("{\\rtf1 prvn\\'ed\\par druh\\'fd\\line t\\'f8et\\'ed\\tab x\\par\r\n}")
            << QStringLiteral("první\ndruhý\ntřetí\tx");
        QTest::newRow("only the last paragraph mark dropped") << QStringLiteral("{\\rtf1 a\\par\\par}") << QStringLiteral("a\n");
        QTest::newRow("source line breaks ignored") << QStringLiteral("{\\rtf1 ab\r\ncd}") << QStringLiteral("abcd");
        QTest::newRow("skipped groups")
            << QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                              "{\\info{\\title Nazev}{\\author Ja}}{\\*\\generator Riched20;}{\\*\\neznamy skryto}"
                              "{\\header hlava}{\\pict 0a0b}Text\\par}")
            << QStringLiteral("Text");
        QTest::newRow("field result kept") << QStringLiteral("{\\rtf1 {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}")
                                           << QStringLiteral("3");
        QTest::newRow("control symbols") << QStringLiteral("{\\rtf1 a\\{b\\}c\\\\d\\~e\\-f\\_g}") << QStringLiteral("a{b}c\\d ef-g");
        QTest::newRow("binary data skipped") << QStringLiteral("{\\rtf1 a{\\*\\blob\\bin3 {}}}b}") << QStringLiteral("ab");
        QTest::newRow("blank after a word belongs to it") << QStringLiteral("{\\rtf1\\b tu\\b0  a}") << QStringLiteral("tu a");
        QTest::newRow("text after the document ignored") << QStringLiteral("{\\rtf1 a}b") << QStringLiteral("a");
        QTest::newRow("unclosed document") << QStringLiteral("{\\rtf1 a{\\b b") << QStringLiteral("ab");
        QTest::newRow("empty document") << QStringLiteral("{\\rtf1}") << QString();
    }
    void plainText()
    {
        QFETCH(QString, rtf);
        QFETCH(QString, plain);
        QCOMPARE(rtfPlainText(rtf), plain);
    }

    void formatting_data()
    {
        QTest::addColumn<QString>("rtf");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("text");
        const QString doc = QStringLiteral("{\\rtf1 a{\\b b{\\i c}}\\ul d\\ulnone\\strike e\\strike0\\i f\\i0 g}");
        QTest::newRow("bold in a group") << doc << 1 << QStringLiteral("bc");
        QTest::newRow("italic") << doc << 2 << QStringLiteral("cf");
        QTest::newRow("bold italic") << doc << 3 << QStringLiteral("c");
        QTest::newRow("underline") << doc << 4 << QStringLiteral("d");
        QTest::newRow("strike-out") << doc << 8 << QStringLiteral("e");
        QTest::newRow("b0 ends bold") << QStringLiteral("{\\rtf1\\b a\\b0 b}") << 1 << QStringLiteral("a");
        QTest::newRow("plain ends every style") << QStringLiteral("{\\rtf1\\b\\i\\ul a\\plain b}") << 1 << QStringLiteral("a");
        QTest::newRow("other underline words") << QStringLiteral("{\\rtf1 {\\uldb a}{\\ulw b}{\\ul0 c}}") << 4 << QStringLiteral("ab");
    }
    void formatting()
    {
        QFETCH(QString, rtf);
        QFETCH(int, bits);
        QFETCH(QString, text);
        QCOMPARE(styled(readRtf(rtf, kBase), bits), text);
    }

    void fontsSizesAndColours()
    {
        const FormattedText t = readRtf(
            QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\froman\\fcharset238 Times New Roman;}}"
                           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
                           "a\\f1\\fs28 b\\cf1 c\\cf2 d\\cf9 e\\plain f}"),
            TextFormat{QStringLiteral("Tahoma"), 9, 1, 0x00808080});
        QCOMPARE(t.plainText(), QStringLiteral("abcdef"));
        std::vector<TextSpan> expected = {
            {QStringLiteral("a"), {QStringLiteral("Tahoma"), 9, 1, 0x00808080}},          // nothing set: the base
            {QStringLiteral("b"), {QStringLiteral("Times New Roman"), 14, 1, 0x00808080}},
            {QStringLiteral("c"), {QStringLiteral("Times New Roman"), 14, 1, 0x000000FF}},   // red as 0x00BBGGRR
            {QStringLiteral("d"), {QStringLiteral("Times New Roman"), 14, 1, 0x00800000}},
            {QStringLiteral("e"), {QStringLiteral("Times New Roman"), 14, 1, 0x00808080}},   // no such colour
            {QStringLiteral("f"), {QStringLiteral("Tahoma"), 9, 1, 0x00808080}},
        };
        QCOMPARE(t.spans.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(t.spans[i].text, expected[i].text);
            QCOMPARE(t.spans[i].format.fontName, expected[i].format.fontName);
            QCOMPARE(t.spans[i].format.pointSize, expected[i].format.pointSize);
            QCOMPARE(t.spans[i].format.fontStyle, expected[i].format.fontStyle);
            QCOMPARE(t.spans[i].format.colour, expected[i].format.colour);
        }
    }

    // Memo fields composed into a page and written by the exporters: the page
    // model, the text export and the HTML and SVG pages show the same text.
    void memoThroughTheExports_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("bold");
        QTest::newRow("Czech quotes") << QStringLiteral("{\\rtf1\\ansi \\ldblquote Ahoj\\rdblquote  a \\lquote x\\rquote\\par}")
                                      << QStringList{QStringLiteral("„Ahoj“ a ‚x‘")} << QString();
        QTest::newRow("Windows-1250 letters")
            << QStringLiteral("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\\f0\\fs20 "
                              "\\'c8esk\\'e9 p\\'edsmeno \\'e8\\par}")
            << QStringList{QStringLiteral("České písmeno č")} << QString();
        QTest::newRow("unicode escape") << QStringLiteral("{\\rtf1 \\u381?lut\\u253? \\u382?\\par}")
                                        << QStringList{QStringLiteral("Žlutý ž")} << QString();
        QTest::newRow("paragraphs") << QStringLiteral("{\\rtf1 Prvn\\'ed\\par Druh\\'fd\\line T\\'f8et\\'ed\\par}")
                                    << QStringList{QStringLiteral("První"), QStringLiteral("Druhý"), QStringLiteral("Třetí")}
                                    << QString();
        QTest::newRow("skipped groups")
            << QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                              "{\\info{\\title N\\'e1zev}}{\\*\\generator Riched20;}\\f0 Jen text\\par}")
            << QStringList{QStringLiteral("Jen text")} << QString();
        QTest::newRow("bold run") << QStringLiteral("{\\rtf1 Norm\\'e1ln\\'ed {\\b tu\\'e8n\\'e9} a dost\\par}")
                                  << QStringList{QStringLiteral("Normální tučné a dost")} << QStringLiteral("tučné");
        QTest::newRow("plain memo") << QStringLiteral("Řádek 1\nŘádek {2}")
                                    << QStringList{QStringLiteral("Řádek 1"), QStringLiteral("Řádek {2}")} << QString();
    }
    void memoThroughTheExports()
    {
        QFETCH(QString, memo);
        QFETCH(QStringList, lines);
        QFETCH(QString, bold);
        MemoReport m(memo);
        QCOMPARE(m.rep.compose(), seOK);
        const OutputElement &o = m.memo();

        // the page model: the lines, the printed value, the bold runs
        QStringList shown;
        QString boldRuns;
        bool anyRuns = false;
        for (const TextLine &l : o.lines) {
            shown << l.text;
            for (const TextRun &r : l.runs) {
                anyRuns = true;
                if (r.format.fontStyle & 1)
                    boldRuns += r.text(l.text);
            }
        }
        QCOMPARE(shown, lines);
        QCOMPARE(o.el.value.text, lines.join(u'\n'));
        QCOMPARE(boldRuns, bold);
        QCOMPARE(anyRuns, isRtfText(memo));

        // the character page
        const QString txt = tz::decode(characterPageBytes(m.rep.pages, {1, 1}, slCP1250));
        QStringList rows;
        for (const QString &row : txt.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            if (!row.trimmed().isEmpty())
                rows << row.trimmed();
        QCOMPARE(rows, lines);

        QTemporaryDir dir;
        QString err;
        // HTML: the text of the page, bold runs in <b>
        const QString html = dir.filePath(QStringLiteral("m.html"));
        QVERIFY2(createExporter(QStringLiteral("html"))->write(m.rep.pages, html, {.range = {1, 1}, .singlePage = true}, &err),
                 qPrintable(err));
        const QString page = QString::fromUtf8(readAll(html));
        const QString pageText = htmlText(page);
        for (const QString &l : lines)
            QVERIFY2(pageText.contains(l), qPrintable(pageText));
        QVERIFY(!pageText.contains(QLatin1String("rtf1")) && !pageText.contains(QLatin1String("fonttbl")));
        QCOMPARE(page.contains(QStringLiteral("<b>") + bold + QStringLiteral("</b>")), !bold.isEmpty());

        // SVG: the same lines as texts
        const QString svg = dir.filePath(QStringLiteral("m.svg"));
        QVERIFY(createExporter(QStringLiteral("svg"))->write(m.rep.pages, svg, {.range = {1, 1}, .singlePage = true}, &err));
        QFile f(svg);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader x(&f);
        QStringList svgLines;
        while (!x.atEnd())
            if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("text"))
                svgLines << x.readElementText(QXmlStreamReader::IncludeChildElements);
        QVERIFY2(!x.hasError(), qPrintable(x.errorString()));
        QCOMPARE(svgLines, lines);
    }

    void memoWithoutTheRtfOptionInATextField()
    {
        // a text field shows RTF only with the element's RTF option
        const QString doc = QStringLiteral("{\\rtf1 \\ldblquote x\\rdblquote}");
        for (const bool option : {false, true}) {
            MemoryDataSource src{{{QStringLiteral("T"), SourceFieldType::String}}};
            src.addRow({doc});
            TSestavaD rep;
            rep.dataSource = &src;
            rep.collectFields();
            loadLines(rep, {QStringLiteral("I,3,2,1,40,0"), text("T", 2, "T", 0, 0, 600, 20, {}, option ? 8 : 0)});
            QCOMPARE(rep.compose(), seOK);
            QCOMPARE(texts(rep.pages, 0), QStringList{option ? QStringLiteral("„x“") : doc});
        }
    }

    void formattedRunsLayOutInTheirFonts()
    {
        MemoReport m(QStringLiteral("{\\rtf1 aaa{\\fs40 BBB}\\tab {\\b ccc}\\par}"));
        QCOMPARE(m.rep.compose(), seOK);
        const OutputElement &o = m.memo();
        QCOMPARE(o.lines.size(), size_t(1));
        const TextLine &l = o.lines[0];
        QCOMPARE(l.text, QStringLiteral("aaaBBB\tccc"));
        QCOMPARE(l.runs.size(), size_t(3));
        QCOMPARE(l.runs[1].format.pointSize, 20);
        QCOMPARE(l.runs[2].format.fontStyle, 1);
        // the runs follow each other, the tab between the second and the third
        QVERIFY(qAbs(l.runs[1].x - (l.runs[0].x + l.runs[0].width)) < 0.01);
        QVERIFY(l.runs[2].x > l.runs[1].x + l.runs[1].width);
        // the 20 pt run makes the line taller than a 10 pt line
        const std::vector<TextLine> plain = layoutText(QStringLiteral("aaa"), o.el, 600, false);
        QVERIFY(l.height > plain[0].height * 1.5);
        QVERIFY(l.runs[1].width > l.runs[0].width * 1.5);
    }

    void longMemoWrapsWithItsRuns()
    {
        QString doc = QStringLiteral("{\\rtf1 ");
        for (int i = 0; i < 30; ++i)
            doc += (i % 2) ? QStringLiteral("{\\b tu\\'e8n\\'e9} ") : QStringLiteral("obyčejné ");
        doc += u'}';
        MemoReport m(doc);
        QCOMPARE(m.rep.compose(), seOK);
        const OutputElement &o = m.memo();
        QVERIFY(o.lines.size() > 1);
        QString all;
        for (const TextLine &l : o.lines) {
            QVERIFY(l.width <= 600.01);
            all += l.text + u' ';
            int covered = 0;
            for (const TextRun &r : l.runs) {
                QCOMPARE(r.text(l.text).contains(QStringLiteral("tučné")), r.format.fontStyle == 1);
                covered += r.length;
            }
            QCOMPARE(covered, int(l.text.size()));
        }
        QCOMPARE(all.simplified(), rtfPlainText(doc).simplified());
    }

    void runsDrawnInTheirFonts()
    {
        // preview, printing and PDF draw through the page renderer: a 40 pt
        // run stands much taller than the same letter at the element's 10 pt
        auto inkHeight = [](const QString &memo) {
            MemoReport m(memo);
            if (m.rep.compose() != seOK)
                return -1;
            const QImage img = renderPageImage(m.rep.pages, 0, 100);
            int top = img.height(), bottom = -1;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (qGray(img.pixel(x, y)) < 128) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            return bottom - top + 1;
        };
        const int plain = inkHeight(QStringLiteral("H"));
        const int large = inkHeight(QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs80 H}"));
        QVERIFY(plain > 0);
        QVERIFY2(large > plain * 3, qPrintable(QStringLiteral("%1 %2").arg(plain).arg(large)));
    }

    void runsInTheRtfExport()
    {
        MemoReport m(QStringLiteral("{\\rtf1 a {\\b \\ldblquote b\\rdblquote}{\\fs32 c}\\tab d\\par}"));
        QCOMPARE(m.rep.compose(), seOK);
        QTemporaryDir dir;
        QString err;
        const QString path = dir.filePath(QStringLiteral("m.rtf"));
        QVERIFY(createExporter(QStringLiteral("rtf"))->write(m.rep.pages, path, {.range = {1, 1}}, &err));
        const QByteArray rtf = readAll(path);
        // one fragment per run, each with its font, colour, size and style codes
        QVERIFY2(rtf.contains("\\f0\\cf0\\fs20 \\ql a \\f0\\cf0\\fs20 \\b\\ql \\'84b\\'93\\b0\\f0\\cf0\\fs32 \\ql c\\tab "
                              "\\f0\\cf0\\fs20 \\ql d"),
                 rtf.constData());
        QVERIFY(!rtf.contains("ldblquote"));
        int depth = 0;
        for (int i = 0; i < rtf.size(); ++i) {
            if (rtf[i] == '\\')
                ++i;
            else if (rtf[i] == '{')
                ++depth;
            else if (rtf[i] == '}')
                QVERIFY(--depth >= 0);
        }
        QCOMPARE(depth, 0);
    }
};

QTEST_MAIN(TestRtfMemo)
#include "tst_rtfmemo.moc"
