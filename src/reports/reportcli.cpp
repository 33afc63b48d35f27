#include "reportcli.h"

#include "definitionfile.h"
#include "expression.h"
#include "reportmodel.h"

namespace tz::rep {

namespace {

const char *const kUsage =
    "Použití:\n"
    "  report check SOUBOR.pts\n"
    "  report eval \"VÝRAZ\" [--param TEXT]...\n";

// Accepts every field name (as field 1) and knows the report's functions, so
// that the syntax of a definition's expressions can be checked without data.
class SyntaxContext : public EvalContext {
public:
    explicit SyntaxContext(const ReportDefinition &d) : m_def(d) {}
    int fieldPosition(const QString &) const override { return 0; }
    int functionPosition(const QString &name) const override
    {
        for (int i = 0; i < int(m_def.functions.size()); ++i)
            if (m_def.functions[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

private:
    const ReportDefinition &m_def;
};

QString processingName(int p)
{
    static const char *const names[8] = {"bez zpracování", "počet", "součet", "průměr", "minimum", "maximum",
                                         "směrodatná odchylka", "relativní směrodatná odchylka"};
    return QString::fromUtf8((p >= 0 && p < 8) ? names[p] : "neznámé zpracování");
}

void checkExpression(const ReportDefinition &d, const QString &where, const QString &expr, QStringList &problems)
{
    if (expr.trimmed().isEmpty())
        return;
    SyntaxContext ctx(d);
    const EvalResult r = evaluate(expr, &ctx);
    // Arithmetic errors depend on the data; only the syntax is checked here.
    if (!r.ok() && r.error != exArithmetic)
        problems << QStringLiteral("%1: %2 ve výrazu \"%3\"").arg(where, exprCheckMessage(r), expr);
}

void summarize(const TSestavaTyp &rep, const QString &indent, QTextStream &out, QStringList &problems,
               const QString &prefix)
{
    const ReportDefinition &d = rep.def;
    if (!d.description.isEmpty())
        out << indent << "Popis: " << d.description << "\n";
    if (!rep.isDetail()) {
        const PageSetup &p = d.pageSetup;
        out << indent << "Stránka: " << p.paperWidth << " x " << p.paperHeight << " (0,01\"), "
            << (p.orientation ? "na šířku" : "na výšku") << ", okraje " << p.marginLeft << "/" << p.marginRight << "/"
            << p.marginTop << "/" << p.marginBottom << (d.hasPageSetup ? "" : " (předloha stránku neurčuje)") << "\n";
    }
    out << indent << "Sloupců: " << d.columns;
    if (d.columns > 1)
        out << ", mezera " << d.columnGap;
    out << "\n";
    if (d.grid.rasterType == 1)
        out << indent << "Znaková mřížka: " << d.grid.effectiveRasterX() << " x " << d.grid.effectiveRasterY() << "\n";
    if (!d.background.fileName.isEmpty())
        out << indent << "Pozadí: " << d.background.fileName << "\n";
    out << indent << "Oddíly: " << d.sections.size() << "\n";
    for (const TOddilSestavy &s : d.sections) {
        if (rep.isDetail() && (s.kind == skPageHeader || s.kind == skPageFooter))
            continue;
        out << indent << "  " << s.tag() << " " << s.name() << ": " << (s.visible ? "viditelný" : "skrytý")
            << ", výška " << s.height << ", prvků " << s.elements.size();
        if (s.options)
            out << ", volby " << s.options;
        out << "\n";
        for (int i = 0; i < int(s.elements.size()); ++i) {
            const TSiReportElement &e = s.elements[i];
            const QString where = QStringLiteral("%1%2, prvek %3").arg(prefix, s.tag()).arg(i + 1);
            checkExpression(d, where + QStringLiteral(" (podmínka)"), e.condition, problems);
            if (e.kind == ekBarcode)
                checkExpression(d, where + QStringLiteral(" (obsah kódu)"), e.name, problems);
            if (e.kind == ekDetail && e.reference >= rep.details().size())
                problems << QStringLiteral("%1: detail číslo %2 není připojen").arg(where).arg(e.reference);
        }
    }
    out << indent << "Skupiny: " << d.groups.size() << "\n";
    for (const TPolSkup &g : d.groups) {
        out << indent << "  " << g.displayName() << ": " << g.effectiveExpression()
            << (g.newPage ? " (nová stránka)" : "") << "\n";
        checkExpression(d, prefix + g.displayName(), g.effectiveExpression(), problems);
    }
    out << indent << "Funkce: " << d.functions.size() << "\n";
    for (int i = 0; i < int(d.functions.size()); ++i) {
        const TRadekFunkce &f = d.functions[i];
        out << indent << "  @" << (i + 1) << " " << f.name << " (" << functionTypeName(f.type) << ", "
            << processingName(f.processing) << ", nulování " << functionResetName(f.reset) << "): " << f.expression
            << "\n";
        checkExpression(d, QStringLiteral("%1funkce %2").arg(prefix, f.name), f.expression, problems);
    }
    out << indent << "Prvků celkem: " << d.elementCount() << "\n";
}

int check(const QString &path, QTextStream &out, QTextStream &err)
{
    TSestavaTyp rep;
    const LoadStatus st = loadDefinitionFile(rep, path, {.resolveFields = false, .createDetails = true});
    if (!st.ok()) {
        err << st.message << "\n";
        return 1;
    }
    QStringList problems;
    out << "Předloha: " << path << "\n";
    summarize(rep, QString(), out, problems, QString());
    out << "Detaily: " << rep.details().size() << "\n";
    for (int n = 0; n < rep.details().size(); ++n) {
        out << "  Detail " << n << ":\n";
        summarize(*rep.details()[n], QStringLiteral("    "), out, problems, QStringLiteral("D%1 ").arg(n));
    }
    if (problems.isEmpty()) {
        out << "Výrazy: v pořádku\n";
    } else {
        out << "Výrazy s chybou: " << problems.size() << "\n";
        for (const QString &p : problems)
            out << "  " << p << "\n";
    }
    return 0;
}

int eval(const QStringList &args, QTextStream &out, QTextStream &err)
{
    TSestavaTyp rep;
    QString expr;
    bool haveExpr = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--param")) {
            if (i + 1 >= args.size()) {
                err << "Chybí hodnota parametru za --param.\n" << kUsage;
                return 2;
            }
            rep.Parametry << args[++i];
        } else if (!haveExpr) {
            expr = args[i];
            haveExpr = true;
        } else {
            err << "Nadbytečný argument: " << args[i] << "\n" << kUsage;
            return 2;
        }
    }
    if (!haveExpr) {
        err << "Chybí výraz.\n" << kUsage;
        return 2;
    }
    rep.run.printed = QDateTime::currentDateTime();
    const EvalResult r = evaluate(expr, &rep);
    if (!r.ok()) {
        err << exprCheckMessage(r) << "\n" << expr << "\n" << QString(std::max(0, r.position), u' ') << "^\n";
        return 1;
    }
    static const char *const kinds[6] = {"jiný", "číslo", "text", "?", "?", "text v závorkách"};
    const TCalcType &v = r.value;
    out << v.text << "\n";
    out << "druh: " << (v.kind < 6 ? kinds[v.kind] : "?") << ", číslo: " << numberText(v.number)
        << (v.null ? ", NULL" : "") << "\n";
    return 0;
}

} // namespace

int runCli(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.isEmpty()) {
        err << kUsage;
        return 2;
    }
    const QString cmd = args[0];
    if (cmd == QLatin1String("check")) {
        if (args.size() != 2) {
            err << kUsage;
            return 2;
        }
        return check(args[1], out, err);
    }
    if (cmd == QLatin1String("eval"))
        return eval(args.mid(1), out, err);
    err << "Neznámý příkaz: " << cmd << "\n" << kUsage;
    return 2;
}

} // namespace tz::rep
