// Prints how many typical card expressions are evaluated per second and how
// long a large definition takes to load and to write.
#include "definitionfile.h"
#include "expression.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

using namespace tz::rep;

namespace {

class CardReport : public TSestavaTyp {
public:
    std::vector<TCalcType> values;
    int fieldCount() const override { return int(values.size()); }
    TCalcType fieldValueAt(int i) const override { return values[i]; }
};

template <typename F>
double perSecond(F &&f, int &iterations)
{
    QElapsedTimer t;
    t.start();
    iterations = 0;
    while (t.elapsed() < 1000) {
        for (int i = 0; i < 1000; ++i)
            f();
        iterations += 1000;
    }
    return iterations * 1000.0 / double(t.nsecsElapsed() / 1e6);
}

} // namespace

int main()
{
    QTextStream out(stdout);
    CardReport rep;
    rep.fieldNames = {QStringLiteral("EVID_C"), QStringLiteral("NAZEV"), QStringLiteral("DAT_PLAN_1"),
                      QStringLiteral("PERIODA1"), QStringLiteral("NOSNOST")};
    TCalcType date;
    date.number = 46364;
    date.text = QStringLiteral("8.12.2026");
    rep.values = {TCalcType::fromText(QStringLiteral("R-0042")), TCalcType::fromText(QStringLiteral("Řetěz dvoupramenný")),
                  date, TCalcType::fromNumber(12), TCalcType::fromNumber(2.5)};
    rep.Parametry = {QStringLiteral("ACME s.r.o.")};
    rep.run.printed = QDateTime::currentDateTime();

    const QString cardExpr = QStringLiteral(
        "IIF(ISNULL(#DAT_PLAN_1), '', FORMATDT(#DAT_PLAN_1, 'dd.mm.yyyy')) + ' / ' + UPPER(LEFT(#NAZEV, 10))");
    const QString condition = QStringLiteral("#PERIODA1 > 0 AND #NOSNOST >= 1.5");
    const QString arithmetic = QStringLiteral("ROUND(#NOSNOST * 1000 / 9.81) + &1");

    int n = 0;
    double rate = perSecond([&] { evaluate(cardExpr, &rep); }, n);
    out << "card expression:        " << qRound64(rate) << " evaluations/s  (" << cardExpr << ")\n";
    rate = perSecond([&] { testCondition(condition, &rep); }, n);
    out << "print condition:        " << qRound64(rate) << " evaluations/s  (" << condition << ")\n";
    rate = perSecond([&] { evaluate(arithmetic, &rep); }, n);
    out << "arithmetic:             " << qRound64(rate) << " evaluations/s  (" << arithmetic << ")\n";

    // A large definition: 200 groups and 20 000 elements.
    TSestavaTyp big;
    for (int g = 0; g < 200; ++g)
        big.def.addGroup(QStringLiteral("#%1").arg(g % 5 + 1));
    for (int i = 0; i < 50; ++i) {
        TRadekFunkce f;
        f.name = QStringLiteral("F%1").arg(i);
        f.description = QStringLiteral("Součet %1").arg(i);
        f.expression = QStringLiteral("@F%1+#4").arg(i);
        f.processing = fpSum;
        big.def.functions.push_back(f);
    }
    for (int i = 0; i < 20000; ++i) {
        TSiReportElement e;
        e.kind = i % 3 == 0 ? ekText : (i % 3 == 1 ? ekField : ekFrame);
        e.reference = i % 3 == 2 ? ekFrame : i % 5;
        e.left = i % 700;
        e.top = i % 40;
        e.width = 100;
        e.height = 20;
        e.fontName = QStringLiteral("Arial CE");
        e.fontSize = 10;
        e.text = QStringLiteral("Text prvku číslo %1, \"uvozovky\"").arg(i);
        e.condition = QStringLiteral("#1<>''");
        big.def.sections[i % big.def.sections.size()].elements.push_back(e);
    }
    const QByteArray bytes = encodeDefinition(writeDefinition(big));
    if (qEnvironmentVariableIsSet("TZ_BENCH_DUMP")) { QFile f(qEnvironmentVariable("TZ_BENCH_DUMP")); f.open(QIODevice::WriteOnly); f.write(bytes); }
    QElapsedTimer t;
    const int rounds = 5;
    qint64 loadNs = 0, writeNs = 0;
    for (int r = 0; r < rounds; ++r) {
        TSestavaTyp loaded;
        t.start();
        const LoadStatus st = loadDefinitionBytes(loaded, bytes, QStringLiteral("big.pts"));
        loadNs += t.nsecsElapsed();
        if (!st.ok()) {
            out << st.message << "\n";
            return 1;
        }
        t.start();
        const QByteArray again = encodeDefinition(writeDefinition(loaded));
        writeNs += t.nsecsElapsed();
        if (again != bytes) {
            out << "round trip differs\n";
            return 1;
        }
    }
    out << "large definition:       " << bytes.size() / 1024 << " KiB, " << big.def.elementCount() << " elements, "
        << big.def.groups.size() << " groups, " << big.def.functions.size() << " functions\n";
    out << "  load:                 " << QString::number(loadNs / rounds / 1e6, 'f', 1) << " ms\n";
    out << "  write:                " << QString::number(writeNs / rounds / 1e6, 'f', 1) << " ms\n";
    return 0;
}
