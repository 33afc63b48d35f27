// Expressions, user functions, system values and the Czech number and date
// formatting they use.
#include "expression.h"
#include "reportmodel.h"

#include <QtTest>

#include <cmath>

using namespace tz::rep;

namespace {

const QString kNbsp = QString(QChar(0x00A0));

// A report whose fields carry typed values, as the data-bound component will.
class FieldReport : public TSestavaTyp {
public:
    std::vector<TCalcType> values;
    int fieldCount() const override { return int(values.size()); }
    TCalcType fieldValueAt(int index) const override { return values.at(index); }
};

TCalcType num(double v) { return TCalcType::fromNumber(v); }
TCalcType txt(const QString &s) { return TCalcType::fromText(s); }
TCalcType other(double v, const QString &s)
{
    TCalcType t;
    t.number = v;
    t.text = s;
    return t;
}
TCalcType nullNumber()
{
    TCalcType t = TCalcType::nullValue();
    t.kind = TCalcType::kNumber;
    return t;
}

void setUpSample(FieldReport &r)
{
    r.fieldNames = {QStringLiteral("EVC"), QStringLiteral("NAZEV"), QStringLiteral("CENA"), QStringLiteral("POCET"),
                    QStringLiteral("DATUM"), QStringLiteral("KOD"), QStringLiteral("CAS")};
    r.values = {txt(QStringLiteral("R-12")), txt(QStringLiteral("Řetěz")), num(1250.5), nullNumber(),
                other(46364, QStringLiteral("8.12.2026")), txt(QStringLiteral("5")),
                other(46364.5625, QStringLiteral("8.12.2026 13:30:00"))};
    r.Parametry = {QStringLiteral("1,5"), QStringLiteral("ABC"), QString()};
    TRadekFunkce a;
    a.name = QStringLiteral("Soucet");
    a.current = num(10);
    TRadekFunkce b;
    b.name = QStringLiteral("Nazev");
    b.type = 1;
    b.current = txt(QStringLiteral("x"));
    r.def.functions = {a, b};
    r.def.addGroup(QStringLiteral("#EVC"));
    r.def.groups[0].lineNumber = 3;
    r.def.groups[0].sequenceNumber = 4;
    r.run.printed = QDateTime(QDate(2026, 12, 8), QTime(13, 30));
    r.run.lineNumber = 7;
    r.run.pageNumber = 2;
    r.run.pageCount = 5;
}

} // namespace

class TestExpression : public QObject {
    Q_OBJECT

private slots:
    void cases_data();
    void cases();
    void nestingLimit();
    void conditionsAndGroupTexts();
    void checkMessage();

    void userFunctionAggregates_data();
    void userFunctionAggregates();
    void userFunctionResetsAndChains();
    void userFunctionOutput_data();
    void userFunctionOutput();

    void numberText_data();
    void numberText();
    void readNumber_data();
    void readNumber();
    void formatFloat_data();
    void formatFloat();
    void formatInteger_data();
    void formatInteger();
    void systemValueText();
};

// Columns: expression, error (0 = none), error position, and for a result:
// kind, text, number, null.
void TestExpression::cases_data()
{
    QTest::addColumn<QString>("expr");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("isNull");

    auto n = [](const char *name, const QString &e, double v, const QString &t) {
        QTest::newRow(name) << e << 0 << -1 << 1 << t << v << false;
    };
    auto s = [](const char *name, const QString &e, const QString &t, double v = 0) {
        QTest::newRow(name) << e << 0 << -1 << 2 << t << v << false;
    };
    auto err = [](const char *name, const QString &e, int code, int pos) {
        QTest::newRow(name) << e << code << pos << 0 << QString() << 0.0 << false;
    };
    auto nul = [](const char *name, const QString &e) {
        QTest::newRow(name) << e << 0 << -1 << -1 << QString() << 0.0 << true;
    };

    // Operators and their levels.
    n("mul before add", "2+3*4", 14, "14");
    n("power is left-associative", "2^3^2", 64, "64");
    err("unary minus binds tighter than power", "-2^2", exArithmetic, 2);
    err("power needs a positive base", "0^2", exArithmetic, 1);
    n("negative exponent", "2^-1", 0.5, "0,5");
    n("and before or", "1 OR 0 AND 0", 1, "1");
    n("comparison is loosest", "1+1=2", 1, "1");
    n("and binds tighter than =", "1=1 AND 2=2", 0, "0");
    n("not zero", "NOT 0", 1, "1");
    n("not negative", "NOT -1", 1, "1");
    n("not positive", "NOT 2", 0, "0");
    n("not before =", "NOT 1 = 0", 1, "1");
    n("subtraction left to right", "10-2-3", 5, "5");
    n("division", "7/2", 3.5, "3,5");
    n("mul and div left to right", "2*3/4", 1.5, "1,5");
    n("parentheses", "(2+3)*4", 20, "20");
    n("unary minus of parentheses", "-(2+3)", -5, "-5");
    n("lowercase words", "1 and 1", 1, "1");
    s("text plus text", "'ab'+'cd'", "abcd");
    n("text plus number", "'5'+1", 6, "6");
    n("texts compare as numbers with <", "'x'<'y'", 0, "0");
    n("texts equal exactly", "'b'='b'", 1, "1");
    n("text compare is case-sensitive", "'b'='B'", 0, "0");
    n("text and number compare as numbers", "'1.0'=1", 1, "1");
    n("two texts compare as texts", "'1.0'='1'", 0, "0");
    n("<>", "2<>3", 1, "1");
    n("<=", "2<=2", 1, "1");
    n(">=", "3>=4", 0, "0");
    n(">", "3>2", 1, "1");
    n("number in list", "3 IN '1,2,3'", 1, "1");
    n("text in list", "'b' IN 'a,b'", 1, "1");
    n("not in list", "4 IN '1,2,3'", 0, "0");
    n("zero does not match a word", "0 IN 'a,b'", 0, "0");
    n("quoted items in brackets", "'B' IN ['A', 'B']", 1, "1");
    n("field in list", "#KOD IN '4,5'", 1, "1");
    n("reference item", "5 IN [1, #KOD]", 1, "1");
    n("number with exponent", "1.5E2", 150, "150");
    n("negative exponent literal", "2e-1", 0.2, "0,2");
    err("three exponent digits", "1E123", exBadNumber, 0);
    err("letter after a number", "12abc", exBadNumber, 0);
    err("two decimal points", "1.2.3", exBadNumber, 0);
    err("exponent without digits", "3E", exBadNumber, 0);
    err("unterminated text", "'abc", exUnterminatedText, 0);
    err("unterminated bracket", "1 IN [abc", exUnterminatedBracket, 5);
    QTest::newRow("bracketed text") << "[a,b]" << 0 << -1 << 5 << "a,b" << 0.0 << false;
    err("too few arguments", "LEFT('abc')", exTooFewArgs, 10);
    err("no arguments", "ABS()", exTooFewArgs, 4);
    err("too many arguments", "ABS(1,2)", exTooManyArgs, 5);
    err("comma outside a call", "1,2", exTooManyArgs, 1);
    err("comma in plain parentheses", "(1,2)", exTooManyArgs, 2);
    err("division by zero", "1/0", exArithmetic, 1);
    err("logarithm of zero", "LOG(0)", exArithmetic, 0);
    err("unclosed parenthesis", "(1", exUnclosedOpen, 2);
    err("unclosed call", "ABS(1", exUnclosedOpen, 5);
    err("unbalanced )", "1)", exUnbalancedClose, 1);
    err("missing operand at the end", "1+", exMisplaced, 2);
    err("operator first", "*2", exMisplaced, 0);
    err("two operands", "2 3", exMisplaced, 2);
    err("operand after )", "(1)2", exMisplaced, 3);
    err("function without (", "ABS 1", exMisplaced, 0);
    err("unknown function", "FOO(1)", exUnknownName, 0);
    err("unknown field name", "#NEZNAMY", exUnknownName, 0);
    err("parameter by name", "&X", exUnknownName, 0);
    err("system value by name", "%a", exUnknownName, 0);
    err("bare prefix", "1+#", exUnknownName, 2);
    err("unknown character", "1 ! 2", exUnknownName, 2);
    err("NOT as a binary operator", "1 NOT 2", exMisplaced, 2);
    err("empty last argument", "MAX(1,)", exMisplaced, 6);
    err("AND at the end", "1 AND", exMisplaced, 5);
    err("AND first", "AND 1", exMisplaced, 0);
    err("reference after operand", "1 #1", exMisplaced, 2);
    err("error inside a call argument", "ABS(1/0)", exArithmetic, 5);
    err("exp overflow", "EXP(1000)", exArithmetic, 0);
    QTest::newRow("empty text") << "" << 0 << -1 << 0 << "" << 0.0 << false;
    QTest::newRow("only blanks") << "   " << 0 << -1 << 0 << "" << 0.0 << false;

    // References.
    s("field by number", "#1", "R-12");
    s("field by name", "#EVC", "R-12");
    s("field name ignores case", "#evc", "R-12");
    n("numeric field", "#3*2", 2501, "2501");
    n("numeric field text", "#CENA", 1250.5, "1250,5");
    QTest::newRow("date field") << "#DATUM" << 0 << -1 << 0 << "8.12.2026" << 46364.0 << false;
    n("date plus days", "#DATUM+1", 46365, "46365");
    nul("null field", "#4");
    nul("null propagates through +", "#POCET+1");
    nul("null propagates through =", "#POCET=0");
    nul("null argument gives null", "ABS(#POCET)");
    nul("null in any argument", "LEFT(#NAZEV, #POCET)");
    nul("IIF with a null branch", "IIF(1, 1, #POCET)");
    nul("field beyond the list", "#99");
    n("ISNULL of null", "ISNULL(#POCET)", 1, "1");
    n("ISNULL of value", "ISNULL(#CENA)", 0, "0");
    n("ISNULL of null expression", "ISNULL(#POCET + 1)", 1, "1");
    s("parameter", "&1", "1,5", 1.5);
    n("parameter as number", "&1*2", 3, "3");
    QTest::newRow("parameter beyond the list") << "&5" << 0 << -1 << 0 << "" << 0.0 << false;
    nul("parameter 0", "&0");
    n("user function by number", "@1", 10, "10");
    s("user function by name", "@nazev", "x");
    nul("user function beyond the list", "@9");
    QTest::newRow("date of printing") << "%1" << 0 << -1 << 1 << "8.12.2026" << 46364.0 << false;
    QTest::newRow("time of printing") << "%2" << 0 << -1 << 1 << "13:30:00" << 0.5625 << false;
    n("line number", "%3", 7, "7");
    n("page number", "%4", 2, "2");
    n("page count", "%5", 5, "5");
    n("line in group 0", "%6", 3, "3");
    n("sequence of group 0", "%7", 4, "4");
    nul("group that does not exist", "%8");

    // Every built-in function.
    n("ABS", "ABS(-2.5)", 2.5, "2,5");
    n("INT negative", "INT(-2.7)", -2, "-2");
    n("INT positive", "INT(2.7)", 2, "2");
    n("SGN negative", "SGN(-3)", -1, "-1");
    n("SGN zero", "SGN(0)", 0, "0");
    n("SGN positive", "SGN(0.1)", 1, "1");
    n("MAX", "MAX(2,3)", 3, "3");
    n("MIN", "MIN(2,-3)", -3, "-3");
    s("IIF texts true", "IIF(1,'a','b')", "a");
    s("IIF texts false", "IIF(0,'a','b')", "b");
    n("IIF mixed gives a number", "IIF(0,'a',2)", 2, "2");
    n("IIF condition must be above 0", "IIF(-1,1,2)", 2, "2");
    s("LEFT", "LEFT('abcdef',2)", "ab");
    s("LEFT negative", "LEFT('ab',-1)", "");
    s("RIGHT", "RIGHT('abcdef',2)", "ef");
    s("RIGHT too long", "RIGHT('ab',5)", "ab");
    s("SUBSTR", "SUBSTR('abcdef',2,3)", "bcd");
    s("SUBSTR start 0", "SUBSTR('abc',0,2)", "ab");
    s("SUBSTR beyond", "SUBSTR('abc',5,2)", "");
    s("UPPER Czech", "UPPER('žluťoučký kůň')", "ŽLUŤOUČKÝ KŮŇ");
    s("UPPER keeps a letter without an upper case in the code page", "UPPER('µß')", "µß");
    s("LOWER Czech", "LOWER('ÁČŘ')", "áčř");
    s("LTRIM", "LTRIM('  a ')", "a ");
    s("RTRIM", "RTRIM('  a ')", "  a");
    s("ALLTRIM reads as a number", "ALLTRIM('  12 ')", "12", 12);
    s("FORMAT thousands", "FORMAT(1234.5,'#,##0.00')", "1" + kNbsp + "234,50");
    s("FORMAT optional decimals", "FORMAT(0.5,'0.##')", "0,5", 0.5);
    s("FORMAT negative section", "FORMAT(-3,'0;(0)')", "(3)");
    s("FORMAT exponent", "FORMAT(1234567,'0.00E+00')", "1,23E+06", 1230000);
    s("FORMAT leading zeros", "FORMAT(7,'000')", "007", 7);
    s("FORMAT literal", "FORMAT(5,'\"č. \"0')", "č. 5");
    n("SIN", "SIN(0)", 0, "0");
    n("COS", "COS(0)", 1, "1");
    n("TAN", "TAN(0)", 0, "0");
    err("COTG where the sine is 0", "COTG(0)", exArithmetic, 0);
    n("COTG", "COTG(1)", 1 / std::tan(1.0), "0,642092615934331");
    n("ATAN", "ATAN(1)", M_PI / 4, "0,785398163397448");
    n("ACOTG", "ACOTG(1)", M_PI / 4, "0,785398163397448");
    n("ACOTG of 0", "ACOTG(0)", M_PI / 2, "1,5707963267949");
    n("ASIN end point", "ASIN(1)", M_PI / 2, "1,5707963267949");
    n("ACOS end point", "ACOS(1)", 0, "0");
    n("ACOS of -1", "ACOS(-1)", M_PI, "3,14159265358979");
    err("ASIN outside", "ASIN(2)", exArithmetic, 0);
    err("ACOS outside", "ACOS(-1.5)", exArithmetic, 0);
    n("EXP", "EXP(0)", 1, "1");
    n("LOG", "LOG(1)", 0, "0");
    err("LOG negative", "LOG(-1)", exArithmetic, 0);
    s("CHR", "CHR(65)", "A");
    s("CHR in Windows-1250", "CHR(200)", "Č");
    s("CHR rounds", "CHR(65.4)", "A");
    s("CHR of 0", "CHR(0)", "");
    s("CHR above 255", "CHR(300)", "");
    n("ORD", "ORD('A')", 65, "65");
    n("ORD Windows-1250", "ORD('Č')", 200, "200");
    n("ORD empty", "ORD('')", 0, "0");
    n("LENGTH", "LENGTH('kůň')", 3, "3");
    n("POS", "POS('b','abc')", 2, "2");
    n("POS of a longer text", "POS('bc','abcbc')", 2, "2");
    n("POS absent", "POS('x','abc')", 0, "0");
    n("POS of empty", "POS('','abc')", 0, "0");
    n("YEAR", "YEAR(#DATUM)", 2026, "2026");
    n("MONTH", "MONTH(#DATUM)", 12, "12");
    n("DAY", "DAY(#DATUM)", 8, "8");
    n("HOUR", "HOUR(#CAS)", 13, "13");
    n("MINUTE", "MINUTE(#CAS)", 30, "30");
    n("SECOND", "SECOND(#CAS)", 0, "0");
    n("YEAR of day 0", "YEAR(0)", 1899, "1899");
    err("YEAR out of range", "YEAR(1E10)", exArithmetic, 0);
    s("FORMATDT", "FORMATDT(#DATUM,'dd.mm.yyyy')", "08.12.2026");
    s("FORMATDT names and time", "FORMATDT(#CAS,'dddd d. mmmm yyyy h:nn')", "úterý 8. prosinec 2026 13:30");
    s("FORMATDT short names", "FORMATDT(#DATUM,'ddd d. mmm yy')", "út 8. pro 26");
    s("FORMATDT c", "FORMATDT(#CAS,'c')", "8.12.2026 13:30:00");
    s("FORMATDT separators", "FORMATDT(#CAS,'d/m/yyyy hh:nn:ss')", "8.12.2026 13:30:00");
    n("STRTONUM comma", "STRTONUM('1,5')", 1.5, "1,5");
    n("STRTONUM point", "STRTONUM(' -2.5')", -2.5, "-2,5");
    n("STRTONUM not a number", "STRTONUM('abc')", 0, "0");
    n("STRTONUM negative exponent", "STRTONUM('1e-3')", 0.001, "0,001");
    s("NUMTOSTR", "NUMTOSTR(0.1+0.2)", "0,3", 0.3);
    s("NUMTOSTR large", "NUMTOSTR(1E20)", "1E20", 1e20);
    n("ROUND half to even down", "ROUND(2.5)", 2, "2");
    n("ROUND half to even up", "ROUND(3.5)", 4, "4");
    n("ROUND negative half", "ROUND(-2.5)", -2, "-2");
    n("ROUND", "ROUND(2.6)", 3, "3");
    n("EXROUND up", "EXROUND(2.3,0.5)", 2.5, "2,5");
    n("EXROUND down", "EXROUND(2.3,-0.5)", 2, "2");
    n("EXROUND exact multiple stays", "EXROUND(2.2,0.1)", 2.2, "2,2");
    n("EXROUND step 0", "EXROUND(2.3,0)", 2.3, "2,3");
    n("STRTODA", "STRTODA('8.12.2026')", 46364, "46364");
    n("STRTODA two-digit year", "STRTODA('8.12.26')", 46364, "46364");
    n("STRTODA invalid day", "STRTODA('31.2.2026')", 0, "0");
    n("STRTODA not a date", "STRTODA('x')", 0, "0");
    n("STRTODT", "STRTODT('8.12.2026 13:30')", 46364.5625, "46364,5625");
    n("STRTODT bad time", "STRTODT('8.12.2026 25:00')", 0, "0");
}

void TestExpression::cases()
{
    QFETCH(QString, expr);
    QFETCH(int, error);
    QFETCH(int, pos);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(double, number);
    QFETCH(bool, isNull);

    FieldReport rep;
    setUpSample(rep);
    const EvalResult r = evaluate(expr, &rep);
    QCOMPARE(r.error, error);
    if (error) {
        QCOMPARE(r.position, pos);
        return;
    }
    QCOMPARE(r.value.null, isNull);
    if (isNull)
        return;
    QCOMPARE(int(r.value.kind), kind);
    QCOMPARE(r.value.text, text);
    QVERIFY2(std::fabs(r.value.number - number) <= 1e-12 * std::max(1.0, std::fabs(number)),
             qPrintable(QString::number(r.value.number, 'g', 17)));
}

void TestExpression::nestingLimit()
{
    const QString ok = QString(kMaxPending, u'(') + u'1' + QString(kMaxPending, u')');
    QCOMPARE(evaluate(ok, nullptr).error, int(exOK));
    const QString deep = QString(kMaxPending + 1, u'(') + u'1' + QString(kMaxPending + 1, u')');
    const EvalResult r = evaluate(deep, nullptr);
    QCOMPARE(r.error, int(exTooDeep));
    QCOMPARE(r.position, kMaxPending);
    // A long flat expression is not deep: operators are reduced as they come.
    QStringList terms;
    for (int i = 0; i < 500; ++i)
        terms << QStringLiteral("1");
    QCOMPARE(evaluate(terms.join(u'+'), nullptr).value.number, 500.0);
}

void TestExpression::conditionsAndGroupTexts()
{
    FieldReport rep;
    setUpSample(rep);
    QVERIFY(testCondition(QStringLiteral("#CENA > 1000"), &rep));
    QVERIFY(!testCondition(QStringLiteral("#CENA < 1000"), &rep));
    QVERIFY(!testCondition(QStringLiteral("1/0"), &rep));      // an error is not met
    QVERIFY(!testCondition(QStringLiteral("#POCET = 0"), &rep));   // null is not met
    QVERIFY(!testCondition(QStringLiteral("-1"), &rep));
    QCOMPARE(evaluateText(QStringLiteral("#EVC+'/'+#KOD"), &rep), QStringLiteral("R-12/5"));
    QCOMPARE(evaluateText(QStringLiteral("LEFT(#EVC"), &rep), QString());
    // Without any context every reference is unknown or empty, never a crash.
    QCOMPARE(evaluate(QStringLiteral("#EVC"), nullptr).error, int(exUnknownName));
    QVERIFY(evaluate(QStringLiteral("#1+&1+@1+%1"), nullptr).value.null);
}

void TestExpression::checkMessage()
{
    QCOMPARE(exprCheckMessage(evaluate(QStringLiteral("1+1"), nullptr)), QStringLiteral("Výraz je v pořádku."));
    QCOMPARE(exprCheckMessage(evaluate(QStringLiteral("1/0"), nullptr)),
             QStringLiteral("Chyba : \"aritmetická chyba\" na pozici 2"));
    int count = 0;
    builtinFunctions(&count);
    QCOMPARE(count, 43);
}

// Runs one function over the values (nan = a null value).
void TestExpression::userFunctionAggregates_data()
{
    QTest::addColumn<int>("processing");
    QTest::addColumn<bool>("allowNull");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QString>("output");   // Fixed, width 15, 2 decimals
    QTest::addColumn<int>("count");

    const double N = std::nan("");
    QTest::newRow("sum skipping nulls") << int(fpSum) << true << QList<double>{1, N, 3} << "4,00" << 2;
    QTest::newRow("sum counting nulls") << int(fpSum) << false << QList<double>{1, N, 3} << "4,00" << 3;
    QTest::newRow("count skipping nulls") << int(fpCount) << true << QList<double>{1, N, 3} << "2,00" << 2;
    QTest::newRow("average skipping nulls") << int(fpAverage) << true << QList<double>{1, N, 3} << "2,00" << 2;
    QTest::newRow("average counting nulls") << int(fpAverage) << false << QList<double>{1, N, 3} << "1,33" << 3;
    QTest::newRow("minimum") << int(fpMinimum) << true << QList<double>{5, 2, N, 7} << "2,00" << 3;
    QTest::newRow("maximum") << int(fpMaximum) << true << QList<double>{5, 2, N, 7} << "7,00" << 3;
    QTest::newRow("minimum counting a null as 0") << int(fpMinimum) << false << QList<double>{5, N, 7} << "0,00" << 3;
    QTest::newRow("standard deviation") << int(fpStdDev) << true << QList<double>{2, 4, 4, 4, 5, 5, 7, 9} << "2,14" << 8;
    QTest::newRow("relative standard deviation")
        << int(fpRelStdDev) << true << QList<double>{2, 4, 4, 4, 5, 5, 7, 9} << "0,43" << 8;
    QTest::newRow("deviation of one value is empty") << int(fpStdDev) << true << QList<double>{3} << "" << 1;
    QTest::newRow("relative deviation with sum 0") << int(fpRelStdDev) << true << QList<double>{-1, 1} << "" << 2;
    QTest::newRow("none keeps the last value") << int(fpNone) << false << QList<double>{1, 2, 3} << "3,00" << 3;
    QTest::newRow("none with a null prints nothing") << int(fpNone) << true << QList<double>{1, N} << "" << 2;
}

void TestExpression::userFunctionAggregates()
{
    QFETCH(int, processing);
    QFETCH(bool, allowNull);
    QFETCH(QList<double>, values);
    QFETCH(QString, output);
    QFETCH(int, count);

    FieldReport rep;
    rep.fieldNames = {QStringLiteral("X")};
    rep.values = {num(0)};
    TRadekFunkce f;
    f.name = QStringLiteral("F");
    f.expression = QStringLiteral("#X");
    f.processing = processing;
    rep.def.functions.push_back(f);
    rep.allowNullValues = allowNull;
    rep.prepareFunctions();
    for (double v : values) {
        rep.values[0] = std::isnan(v) ? nullNumber() : num(v);
        rep.evaluateFunctions();
    }
    QCOMPARE(rep.def.functions[0].outputText(), output);
    QCOMPARE(rep.def.functions[0].count, count);
}

void TestExpression::userFunctionResetsAndChains()
{
    FieldReport rep;
    rep.fieldNames = {QStringLiteral("X")};
    rep.values = {num(1)};
    TRadekFunkce running;                 // a counter that builds on its own value
    running.name = QStringLiteral("Beh");
    running.expression = QStringLiteral("@Beh+#X");
    running.initialValue = QStringLiteral("100");
    running.reset = frGroup0;
    TRadekFunkce twice;                   // uses the value the first got for this record
    twice.name = QStringLiteral("Dvakrat");
    twice.expression = QStringLiteral("@1*2");
    twice.reset = frPage;
    TRadekFunkce unreadable;
    unreadable.name = QStringLiteral("Spatny");
    unreadable.expression = QStringLiteral("@3+1");
    unreadable.initialValue = QStringLiteral("abc");
    TRadekFunkce failing;
    failing.name = QStringLiteral("Chyba");
    failing.expression = QStringLiteral("1/0");
    failing.type = 1;
    rep.def.functions = {running, twice, unreadable, failing};
    rep.def.addGroup(QStringLiteral("#X"));

    rep.prepareFunctions();
    rep.evaluateFunctions();
    QCOMPARE(rep.def.functions[0].current.number, 101.0);
    QCOMPARE(rep.def.functions[1].current.number, 202.0);
    QCOMPARE(rep.def.functions[2].current.number, 1.0);   // empty initial value counts as 0
    QCOMPARE(rep.def.functions[3].outputText(), QString());   // error: empty value
    rep.evaluateFunctions();
    QCOMPARE(rep.def.functions[0].current.number, 102.0);

    rep.requestFunctionReset(frPage);     // only the page function
    QVERIFY(!rep.def.functions[0].resetPending);
    QVERIFY(rep.def.functions[1].resetPending);
    rep.requestFunctionReset(frGroup0);   // the group 0 function
    rep.evaluateFunctions();
    QCOMPARE(rep.def.functions[0].current.number, 101.0);
    QCOMPARE(rep.def.functions[2].current.number, 3.0);   // report function not reset
    rep.requestFunctionReset(-1);
    QVERIFY(std::all_of(rep.def.functions.begin(), rep.def.functions.end(),
                        [](const TRadekFunkce &f) { return f.resetPending; }));
}

void TestExpression::userFunctionOutput_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("output");
    QTest::newRow("general") << 0 << 15 << 2 << 1234.5 << "1234,5";
    QTest::newRow("exponent") << 1 << 4 << 2 << 1234.5 << "1,235E+03";
    QTest::newRow("fixed") << 2 << 15 << 2 << 1234.5 << "1234,50";
    QTest::newRow("fixed rounds to precision") << 2 << 4 << 2 << 123.456 << "123,50";
    QTest::newRow("fixed too wide goes to exponent") << 2 << 3 << 2 << 12345.0 << "1,23E4";
    QTest::newRow("number") << 3 << 15 << 2 << -1234567.891 << "-1" + kNbsp + "234" + kNbsp + "567,89";
    QTest::newRow("currency") << 4 << 15 << 2 << 1234.5 << "1" + kNbsp + "234,50 Kč";
    QTest::newRow("negative currency") << 4 << 15 << 0 << -12.0 << "-12 Kč";
    QTest::newRow("no negative zero") << 2 << 15 << 1 << -0.04 << "0,0";
    QTest::newRow("bad format counts as fixed") << 9 << 15 << 1 << 2.25 << "2,3";
}

void TestExpression::userFunctionOutput()
{
    QFETCH(int, format);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(double, value);
    QFETCH(QString, output);
    TRadekFunkce f;
    f.format = format;
    f.width = width;
    f.decimals = decimals;
    f.current = num(value);
    QCOMPARE(f.outputText(), output);
    f.type = 1;
    QCOMPARE(f.outputText(), f.current.text);
}

void TestExpression::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("fraction") << -1.5 << "-1,5";
    QTest::newRow("fifteen digits") << 1.0 / 3 << "0,333333333333333";
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << "0,3";
    QTest::newRow("largest plain") << 123456789012345.0 << "123456789012345";
    QTest::newRow("exponent above") << 1e15 << "1E15";
    QTest::newRow("small plain") << 0.00001 << "0,00001";
    QTest::newRow("small exponent") << 0.0000025 << "2,5E-6";
}

void TestExpression::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(tz::rep::numberText(value), text);
}

void TestExpression::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << "1,5" << true << 1.5;
    QTest::newRow("decimal point") << "1.5" << true << 1.5;
    QTest::newRow("leading blanks") << "  12" << true << 12.0;
    QTest::newRow("trailing blank") << "12 " << false << 0.0;
    QTest::newRow("plus sign") << "+1" << false << 0.0;
    QTest::newRow("minus") << "-3" << true << -3.0;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("negative exponent") << "1E-3" << true << 0.001;
    QTest::newRow("minus inside") << "1-3" << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    QTest::newRow("point and comma") << "1.5,3" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("only minus") << "-" << false << 0.0;
    QTest::newRow("overflow") << "1e999" << false << 0.0;
}

void TestExpression::readNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto r = tz::rep::readNumber(text);
    QCOMPARE(r.has_value(), ok);
    if (ok)
        QCOMPARE(*r, value);
    QCOMPARE(readNumberOr0(text), value);
}

void TestExpression::formatFloat_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty mask") << "" << 2.5 << "2,5";
    QTest::newRow("integer") << "0" << 2.4 << "2";
    QTest::newRow("integer rounds half up") << "0" << 2.5 << "3";
    QTest::newRow("decimal half up on a binary tie") << "0.0" << 0.15 << "0,2";
    QTest::newRow("hash hides zero") << "#.##" << 0.5 << ",5";
    QTest::newRow("zero placeholder forces digits to its right") << "0#" << 5.0 << "05";
    QTest::newRow("excess digits go to the first placeholder") << "0" << 12345.0 << "12345";
    QTest::newRow("thousands") << "#,##0" << 1234567.0 << "1" + kNbsp + "234" + kNbsp + "567";
    QTest::newRow("negative") << "0.0" << -1.25 << "-1,3";
    QTest::newRow("negative rounding to zero") << "0" << -0.4 << "0";
    QTest::newRow("three sections, zero") << "0;-0;'nula'" << 0.0 << "nula";
    QTest::newRow("literal between digits") << "000-000" << 123456.0 << "123-456";
    QTest::newRow("unit after") << "0.00 'kg'" << 12.5 << "12,50 kg";
    QTest::newRow("exponent") << "0.0E-00" << 0.000123 << "1,2E-04";
    QTest::newRow("only a literal") << "'x'" << 5.0 << "x";
}

void TestExpression::formatFloat()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(tz::rep::formatFloat(mask, value), text);
}

void TestExpression::formatInteger_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "%d" << 5 << true << "5";
    QTest::newRow("with text") << "Strana %d" << 3 << true << "Strana 3";
    QTest::newRow("width") << "%3d" << 5 << true << "  5";
    QTest::newRow("precision") << "%.3d" << 5 << true << "005";
    QTest::newRow("left") << "%-3d|" << 5 << true << "5  |";
    QTest::newRow("hex") << "%x" << 255 << true << "FF";
    QTest::newRow("percent") << "%d %%" << 7 << true << "7 %";
    QTest::newRow("index") << "%0:d." << 4 << true << "4.";
    QTest::newRow("string with integer") << "%s" << 1 << false << "";
    QTest::newRow("float with integer") << "%f" << 1 << false << "";
    QTest::newRow("two arguments") << "%d/%d" << 1 << false << "";
    QTest::newRow("cut off") << "abc %" << 1 << false << "";
}

void TestExpression::formatInteger()
{
    QFETCH(QString, format);
    QFETCH(int, value);
    QFETCH(bool, ok);
    QFETCH(QString, text);
    const auto r = tz::rep::formatInteger(format, value);
    QCOMPARE(r.has_value(), ok);
    if (ok)
        QCOMPARE(*r, text);
}

void TestExpression::systemValueText()
{
    FieldReport rep;
    setUpSample(rep);
    QCOMPARE(rep.systemValueText(3, QStringLiteral("Strana %d")).value_or(QStringLiteral("????")), QStringLiteral("Strana 2"));
    QCOMPARE(rep.systemValueText(0, QStringLiteral("dd.mm.yy")).value_or(QStringLiteral("????")), QStringLiteral("08.12.26"));
    QCOMPARE(rep.systemValueText(1, QString()).value_or(QStringLiteral("????")), QStringLiteral("13:30:00"));
    QCOMPARE(rep.systemValueText(6, QString()).value_or(QStringLiteral("????")), QStringLiteral("4"));
    QVERIFY(!rep.systemValueText(4, QStringLiteral("%f")).has_value());   // prints "????"
    QVERIFY(!rep.systemValueText(7, QString()).has_value());              // group 1 does not exist
    // A parameter element beyond the list prints nothing.
    QCOMPARE(rep.parameterValue(5)->text, QString());
}

QTEST_APPLESS_MAIN(TestExpression)
#include "tst_expression.moc"
