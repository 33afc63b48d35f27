// Speed of the register lists: fills a data directory with many accessories and
// their inspections, then times what the main window does (open the evidence
// list and count it, filter by a kind, open each planning query, page through
// the table model) next to the bare SQL of the same result on the same database.
//
//   bench_lists [ROWS] [DIR]     (default 20000 rows in a temporary folder)
#include "datadir.h"
#include "datamodule.h"
#include "datasetmodel.h"
#include "mainstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

using namespace tz;
using namespace tz::db;

static QTextStream out(stdout);

static double bareMs(Database &db, const QString &sql, const Params &p)
{
    // the same statement through Qt SQL directly, every value of every row read
    QElapsedTimer t;
    t.start();
    QSqlQuery q(db.handle());
    q.setForwardOnly(true);
    QString text = sql;
    QStringList names = p.names();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
    q.prepare(text);
    for (const QString &n : p.names())
        q.bindValue(QLatin1Char(':') + n, db.bindValue(p.value(n)));
    q.exec();
    const int cols = q.record().count();
    qint64 sink = 0;
    while (q.next())
        for (int c = 0; c < cols; ++c)
            sink += q.value(c).isNull() ? 0 : 1;
    Q_UNUSED(sink);
    return t.nsecsElapsed() / 1e6;
}

static void line(const QString &what, double ours, double bare, int rows)
{
    out << QStringLiteral("%1  %2 ms   bare SQL %3 ms   ratio %4   (%5 rows)\n")
               .arg(what, -34)
               .arg(ours, 8, 'f', 1)
               .arg(bare, 8, 'f', 1)
               .arg(bare > 0 ? ours / bare : 0.0, 5, 'f', 2)
               .arg(rows);
    out.flush();
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20000;
    QTemporaryDir tmp;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path();
    QDir().mkpath(dir);
    Database db;
    db.openSqlite(dir);
    if (isEmptyDatabase(db))
        installSchema(db);
    QElapsedTimer t;
    t.start();
    if (db.scalar("select count(*) from basic").toInt() < rows) {
        Transaction tx(db, true);
        db.exec("delete from basic");
        db.exec("delete from revize");
        db.exec("delete from firmy");
        for (int f = 1; f <= 20; ++f)
            db.exec("insert into firmy (PCFir, Firma) values (:f, :n)", Params{{"f", f}, {"n", QStringLiteral("Zákazník č. %1").arg(f)}});
        const char kinds[] = {'R', 'L', 'X', 'S', 'T', 'J'};
        QRandomGenerator rnd(42);
        const QDate base(2024, 1, 1);
        for (int i = 1; i <= rows; ++i) {
            const QString k(QChar::fromLatin1(kinds[i % 6]));
            const QDate last = base.addDays(int(rnd.bounded(900)));
            db.exec("insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, JAK_TRIDA, "
                    "NOSNOST_1, DELKA, PRUMER, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, DAT_PLAN_3, VYROBCE, PERIODA1, PERIODA3, umisteni1) "
                    "values (:f, :p, :d, :t, :o, :po, :e, :v, :s, '8', 3150, 2.5, 10, '2020-01-01', :l, :n1, :n3, 'Řetězárna', 12, 36, 'Hala')",
                    Params{{"f", 1 + i % 20}, {"p", i}, {"d", k}, {"t", 1 + i % 4}, {"o", QStringLiteral("Úvazek %1").arg(i)},
                           {"po", QStringLiteral("Popis %1").arg(i)}, {"e", QStringLiteral("E-%1").arg(i)},
                           {"v", QStringLiteral("V%1").arg(i * 7)}, {"s", QStringLiteral("Středisko %1").arg(i % 37)},
                           {"l", last}, {"n1", last.addMonths(12)}, {"n3", i % 3 ? QVariant(last.addMonths(36)) : QVariant()}});
            for (int r = 0; r < 2; ++r)
                db.exec("insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL) values (:p, :d, :dt, '1', 'Vyhovuje', 'Technik')",
                        Params{{"p", i}, {"d", k}, {"dt", last.addYears(-r)}});
        }
        tx.commit();
        out << QStringLiteral("filled %1 accessories with %2 inspections in %3 s\n").arg(rows).arg(rows * 2).arg(t.elapsed() / 1000.0, 0, 'f', 1);
    }

    TDM dm(&db);
    dm.setSelectedCompany(999);
    app::MainState st(dm);
    st.setRegister(QStringLiteral("Vázací prostředky"));

    // open the evidence list and count it, as the main window does
    t.restart();
    st.refresh();
    int n = st.recordCount();
    const double openMs = t.nsecsElapsed() / 1e6;
    const Params range{{"_firma", 1}, {"_firma2", 999}};
    line("evidence list: open + count", openMs, bareMs(db, dm.Basic.sql(), range), n);

    // first screen only (what is visible right after opening)
    t.restart();
    dm.Basic.close();
    dm.Basic.open();
    gui::DatasetModel model;
    model.setDataset(&dm.Basic);
    const double firstMs = t.nsecsElapsed() / 1e6;
    out << QStringLiteral("%1  %2 ms   (%3 rows read)\n").arg("evidence list: first screen", -34).arg(firstMs, 8, 'f', 1).arg(model.rowCount());

    // paging the model to the end, the way a scrolling view asks for rows
    t.restart();
    while (model.canFetchMore({}))
        model.fetchMore({});
    for (int r = 0; r < model.rowCount(); r += 40)
        for (int c = 0; c < model.columnCount(); ++c)
            model.data(model.index(r, c));
    line("scroll through the model", t.nsecsElapsed() / 1e6, 0, model.rowCount());

    // filter by a kind
    st.setKind(QStringLiteral("Řetězy"));
    t.restart();
    st.refresh(false);
    n = st.recordCount();
    const double kindMs = t.nsecsElapsed() / 1e6;
    line("kind button (Řetězy)", kindMs, bareMs(db, dm.Basic.sql() + QStringLiteral(" and basic.druh='R'"), range), n);
    t.restart();
    st.refresh();
    n = st.recordCount();
    line("kind list read again (Řetězy)", t.nsecsElapsed() / 1e6, bareMs(db, dm.Basic.sql() + QStringLiteral(" and basic.druh='R'"), range), n);
    t.restart();
    dm.Basic.setFiltered(false);
    dm.Basic.setFilter(QStringLiteral("Druh='L'"));
    dm.Basic.setFiltered(true);
    n = dm.Basic.recordCount();
    line("change of kind on the open list", t.nsecsElapsed() / 1e6, 0, n);

    // planning queries
    struct P { const char *reg; Dataset *ds; };
    const P plans[] = {{"Vázací prostředky", &dm.PlanRev}, {"Zdvihací zařízení", &dm.PlanZZ}, {"Osoby", &dm.PlanL},
                       {"Ocelové konstrukce", &dm.PlanOK}, {"OPPP", &dm.PlanOP}};
    const QDate day(2026, 12, 10);
    for (const P &p : plans) {
        st.setRegister(QString::fromUtf8(p.reg));
        st.setPage(app::Page::Planning);
        st.setPlanDate(day);
        t.restart();
        st.refresh();
        n = p.ds->recordCount();
        const double ms = t.nsecsElapsed() / 1e6;
        Params pp{{"_Datum", day}, {"_firma", 0}, {"_firma2", 999}};
        line(QStringLiteral("planning %1").arg(p.ds->name()), ms, bareMs(db, p.ds->sql(), pp), n);
    }
    return 0;
}
