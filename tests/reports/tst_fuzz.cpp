// Robustness: truncated and garbled definition files, expressions and RTF
// memo texts never crash the loader, the evaluator or the RTF reader. Built with the address and undefined-
// behaviour sanitizers, so a memory error fails the test run.
#include "definitionfile.h"
#include "expression.h"
#include "rtftext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

using namespace tz::rep;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> lines(const QByteArray &b) { return b.split('\n'); }

QByteArray mutate(const QByteArray &in, QRandomGenerator &rng)
{
    QByteArray b = in;
    static const char *const inserts[] = {",", "\"", "\"\"", "'", "\r\n", "-", "999999999999", "I,4,0,\"", "S0,", "D0,",
                                          "D7,I,2,", "T,15,", "F,0,", "#", "@", "%", "(", ")", "\r", "\n"};
    const int ops = 1 + rng.bounded(4);
    for (int k = 0; k < ops && !b.isEmpty(); ++k) {
        const int pos = rng.bounded(int(b.size()));
        switch (rng.bounded(7)) {
        case 0: b[pos] = char(rng.bounded(256)); break;
        case 1: b.remove(pos, 1 + rng.bounded(20)); break;
        case 2: b.insert(pos, inserts[rng.bounded(int(std::size(inserts)))]); break;
        case 3: b.truncate(pos); break;
        case 4: {
            QList<QByteArray> l = lines(b);
            const int i = rng.bounded(int(l.size()));
            l.insert(rng.bounded(int(l.size())), l[i]);
            b = l.join('\n');
            break;
        }
        case 5: {
            QList<QByteArray> l = lines(b);
            if (l.size() > 1)
                l.swapItemsAt(rng.bounded(int(l.size())), rng.bounded(int(l.size())));
            b = l.join('\n');
            break;
        }
        default: {
            // Replace a number field by another number.
            const int comma = b.indexOf(',', pos);
            if (comma >= 0)
                b.insert(comma + 1, QByteArray::number(int(rng.bounded(200000)) - 100000));
            break;
        }
        }
    }
    return b;
}

void exerciseExpressions(TSestavaTyp &rep)
{
    for (const TOddilSestavy &s : rep.def.sections)
        for (const TSiReportElement &e : s.elements) {
            testCondition(e.condition, &rep);
            evaluate(e.name, &rep);
            if (e.kind == ekSystemValue)
                rep.systemValueText(e.reference, e.text);
        }
    for (const TPolSkup &g : rep.def.groups)
        evaluateText(g.effectiveExpression(), &rep);
    rep.prepareFunctions();
    for (int i = 0; i < 3; ++i)
        rep.evaluateFunctions();
    for (const TRadekFunkce &f : rep.def.functions)
        f.outputText();
}

// Loads one damaged variant; a loaded one must write and read back stably.
void loadVariant(const QByteArray &bytes, int &loaded, int &refused)
{
    TSestavaTyp rep;
    TSestavaTyp detail;
    detail.setMaster(&rep);
    rep.fieldNames = {QStringLiteral("EVC"), QStringLiteral("NAZEV"), QStringLiteral("CENA")};
    rep.valueTexts = {QStringLiteral("R-1"), QStringLiteral("Řetěz"), QStringLiteral("12,5")};
    const LoadStatus st = loadDefinitionBytes(rep, bytes, QStringLiteral("fuzz.pts"),
                                              {.resolveFields = true, .createDetails = true});
    if (!st.ok()) {
        QCOMPARE(st.code, seCteniPredlohy);
        QVERIFY(!st.message.isEmpty());
        QVERIFY(st.line >= 1);
        ++refused;
        return;
    }
    ++loaded;
    const QByteArray written = encodeDefinition(writeDefinition(rep));
    TSestavaTyp again;
    TSestavaTyp detail2;
    detail2.setMaster(&again);
    again.fieldNames = rep.fieldNames;
    const LoadStatus st2 = loadDefinitionBytes(again, written, QStringLiteral("again.pts"),
                                               {.resolveFields = true, .createDetails = true});
    QVERIFY2(st2.ok(), qPrintable(st2.message));
    QCOMPARE(encodeDefinition(writeDefinition(again)), written);
    exerciseExpressions(rep);
    for (TSestavaTyp *d : rep.details())
        exerciseExpressions(*d);
}

} // namespace

class TestFuzz : public QObject {
    Q_OBJECT

private slots:
    void truncatedDefinitions()
    {
        const QDir dir(QStringLiteral(TZ_REPORT_TESTDATA));
        int loaded = 0, refused = 0;
        for (const QString &name : dir.entryList({QStringLiteral("*.pts")})) {
            const QByteArray bytes = readBytes(dir.filePath(name));
            for (int cut = 0; cut <= bytes.size(); ++cut) {
                loadVariant(bytes.left(cut), loaded, refused);
                if (QTest::currentTestFailed()) {
                    qWarning() << name << "cut at" << cut;
                    return;
                }
            }
        }
        // Most cuts fall inside a record and are refused; cuts at a line end load.
        QVERIFY(refused > loaded);
        QVERIFY(loaded > 0);
    }

    void garbledDefinitions()
    {
        const QDir dir(QStringLiteral(TZ_REPORT_TESTDATA));
        QRandomGenerator rng(20261208);
        int loaded = 0, refused = 0;
        const QStringList files = dir.entryList({QStringLiteral("*.pts")});
        for (int i = 0; i < 3000; ++i) {
            const QByteArray src = readBytes(dir.filePath(files[i % files.size()]));
            const QByteArray bytes = mutate(src, rng);
            loadVariant(bytes, loaded, refused);
            if (QTest::currentTestFailed()) {
                qWarning() << "variant" << i << bytes.toPercentEncoding(",\"'#@%()");
                return;
            }
        }
        QVERIFY(loaded > 0 && refused > 0);
    }

    void garbledExpressions()
    {
        static const char *const tokens[] = {
            "1", "2.5", "0", "1E2", "1E999", "'a'", "'5'", "'", "[", "]", "[a,'b',#1]", "(", ")", ",", "+", "-", "*",
            "/", "^", "=", "<>", "<=", ">=", "<", ">", " AND ", " OR ", "NOT ", " IN ", "#1", "#NAZEV", "#CENA", "#9",
            "&1", "&2", "@1", "@F", "%1", "%2", "%6", "%999", "ABS(", "IIF(", "LEFT(", "SUBSTR(", "FORMAT(",
            "FORMATDT(", "EXROUND(", "CHR(", "ORD(", "POS(", "ISNULL(", "STRTODT(", "YEAR(", "LOG(", "ASIN(",
            "'#,##0.00'", "'dddd mmmm yyyy hh:nn'", "'0.0E+00;-0;\"x\"'", "#", "@", "%", "&", " ", "$", "!", "ř"};
        TSestavaTyp rep;
        rep.fieldNames = {QStringLiteral("EVC"), QStringLiteral("NAZEV"), QStringLiteral("CENA")};
        rep.valueTexts = {QStringLiteral("R-1"), QStringLiteral("Řetěz"), QStringLiteral("12,5")};
        rep.Parametry = {QStringLiteral("1,5"), QStringLiteral("x")};
        TRadekFunkce f;
        f.name = QStringLiteral("F");
        f.expression = QStringLiteral("@F+1");
        rep.def.functions.push_back(f);
        rep.def.addGroup(QStringLiteral("#1"));
        QRandomGenerator rng(42);
        int errors = 0;
        for (int i = 0; i < 40000; ++i) {
            QString e;
            const int n = 1 + rng.bounded(24);
            for (int k = 0; k < n; ++k)
                e += QString::fromUtf8(tokens[rng.bounded(int(std::size(tokens)))]);
            if (rng.bounded(4) == 0 && !e.isEmpty())
                e.truncate(rng.bounded(int(e.size())));
            const EvalResult r = evaluate(e, &rep);
            if (!r.ok()) {
                ++errors;
                QVERIFY2(r.position >= 0 && r.position <= e.size(), qPrintable(e));
                QVERIFY(!exprCheckMessage(r).isEmpty());
            }
        }
        QVERIFY(errors > 0);
        // Very long inputs.
        QString flat = QStringLiteral("1");
        for (int i = 0; i < 20000; ++i)
            flat += QStringLiteral("+1");
        QCOMPARE(evaluate(flat, &rep).value.number, 20001.0);
        const QString longText = u'\'' + QString(1 << 20, u'x') + QStringLiteral("'+'y'");
        QCOMPARE(evaluate(longText, &rep).value.text.size(), (1 << 20) + 1);
        QCOMPARE(evaluate(QString(5000, u'('), &rep).error, int(exTooDeep));
        QCOMPARE(evaluate(QString(5000, u'-') + u'1', &rep).error, int(exTooDeep));
    }

    void garbledRtf()
    {
        static const char *const tokens[] = {
            "{", "}", "{\\rtf1", "\\ansi", "\\ansicpg1252", "\\b", "\\b0", "\\i", "\\ul", "\\ulnone", "\\plain",
            "\\'e8", "\\'", "\\'g", "\\'9", "\\u", "\\u-", "\\u345?", "\\u-99999999999 ", "\\uc5", "\\uc-1",
            "\\bin", "\\bin3 ", "\\bin99999999999 ", "{\\fonttbl", "\\f1", "\\f-5", "\\fcharset0", "\\fs99999999999",
            "\\fs-4", "\\cf3", "\\cf-1", "{\\colortbl", ";", "\\red300", "\\green", "\\*", "{\\*\\x", "\\par",
            "\\tab", "\\ldblquote", "\\\\", "\\{", "\\", "\\\n", "x", "ř", " ", "\r\n", "\\abcdefghijklmnopqrstuvwxyzabcdefghij"};
        QRandomGenerator rng(8317);
        const TextFormat base{QStringLiteral("Arial"), 10, 0, 0};
        for (int i = 0; i < 40000; ++i) {
            QString doc = QStringLiteral("{\\rtf1 ");
            const int n = 1 + rng.bounded(30);
            for (int k = 0; k < n; ++k)
                doc += QString::fromUtf8(tokens[rng.bounded(int(std::size(tokens)))]);
            if (rng.bounded(4) == 0)
                doc.truncate(rng.bounded(int(doc.size())));
            const FormattedText t = readRtf(doc, base);
            for (size_t k = 0; k < t.spans.size(); ++k) {
                QVERIFY2(!t.spans[k].text.isEmpty(), qPrintable(doc));
                QVERIFY2(k == 0 || !(t.spans[k].format == t.spans[k - 1].format), qPrintable(doc));
                QVERIFY2(t.spans[k].format.pointSize > 0 && t.spans[k].format.pointSize <= 1638, qPrintable(doc));
                for (QChar c : t.spans[k].text)
                    QVERIFY2(c.unicode() >= 0x20 || c == u'\n' || c == u'\t', qPrintable(doc));
            }
        }
        // deep nesting and long texts
        const QString deep = QStringLiteral("{\\rtf1 ") + QString(200000, u'{') + QStringLiteral("x") + QString(200000, u'}');
        QCOMPARE(rtfPlainText(deep), QStringLiteral("x"));
        QCOMPARE(rtfPlainText(QStringLiteral("{\\rtf1 ") + QString(1 << 20, u'y') + u'}').size(), 1 << 20);
    }
};

QTEST_APPLESS_MAIN(TestFuzz)
#include "tst_fuzz.moc"
