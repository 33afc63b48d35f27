#include "inspections.h"
#include "dataset.h"
#include "intervals.h"

#include <QCollator>
#include <QLocale>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <tuple>

namespace tz::eq {

using tz::db::Database;
using tz::db::Dataset;
using tz::db::Error;
using tz::db::Params;

namespace {

std::atomic<int> g_pause{0};

// Runs a query and hands every row to f; the query is closed afterwards.
template <class F>
void forEachRow(Database &db, const QString &sql, const Params &params, F f)
{
    Dataset ds(&db);
    ds.setSql(sql);
    for (const QString &n : params.names())
        ds.setParam(n, params.value(n));
    ds.open();
    for (ds.first(); !ds.eof(); ds.next())
        f(ds);
    ds.close();
}

// "maximum plus one" of a statement's single column; 1 when empty.
int nextNumber(Database &db, const QString &sql, const Params &params = {})
{
    const QVariant v = db.scalar(sql, params);
    if (!v.isValid() || v.isNull() || v.toString().trimmed().isEmpty())
        return 1;
    return int(v.toDouble()) + 1;
}

QVariant textOrNull(const QString &s)
{
    return s.isEmpty() ? QVariant() : QVariant(s);
}

void pauseInside()
{
    if (const int ms = g_pause.load(); ms > 0)
        QThread::msleep(ms);
}

QCollator czech()
{
    QCollator c{QLocale(QLocale::Czech, QLocale::CzechRepublic)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

} // namespace

AllocationLock::AllocationLock(Database &db, const QStringList &tables) : m_tx(db, true)
{
    if (db.backend() == Database::Backend::PostgreSQL)
        for (const QString &t : tables) {
            // table names come from the program's own fixed lists
            const tz::db::TableInfo *ti = db.table(t);
            if (!ti)
                throw Error(QStringLiteral("Tabulka %1 neexistuje.").arg(t));
            db.exec(QStringLiteral("lock table %1 in share row exclusive mode").arg(ti->name));
        }
}

void setAllocationPause(int milliseconds)
{
    g_pause.store(std::max(0, milliseconds));
}

std::pair<QString, QString> ProtocolSettings::textsOf(const QString &kind) const
{
    const QString k = kind.trimmed();
    if (k == QLatin1String("1"))
        return {rPred, rZa};
    if (k == QLatin1String("2"))
        return {rzPred, rzZa};
    if (k == QLatin1String("3"))
        return {iPred, iZa};
    return {};
}

ProtocolSettings protocolSettings(Database &db)
{
    ProtocolSettings s;
    bool first = true;
    forEachRow(db, QStringLiteral("select Rpred, RZa, IPred, IZa, RZPred, RZZa from CislaProtokolu"), {}, [&](Dataset &ds) {
        if (!first)
            return;
        first = false;
        s.rPred = ds.value("Rpred").toString();
        s.rZa = ds.value("RZa").toString();
        s.iPred = ds.value("IPred").toString();
        s.iZa = ds.value("IZa").toString();
        s.rzPred = ds.value("RZPred").toString();
        s.rzZa = ds.value("RZZa").toString();
    });
    return s;
}

void saveProtocolSettings(Database &db, const ProtocolSettings &s)
{
    const Params p{{"rpred", textOrNull(s.rPred)}, {"rza", textOrNull(s.rZa)}, {"ipred", textOrNull(s.iPred)},
                   {"iza", textOrNull(s.iZa)},     {"rzpred", textOrNull(s.rzPred)}, {"rzza", textOrNull(s.rzZa)}};
    AllocationLock lock(db, {QStringLiteral("CislaProtokolu")});
    if (db.scalar(QStringLiteral("select count(*) from CislaProtokolu")).toInt() == 0)
        db.exec(QStringLiteral("insert into CislaProtokolu (Rpred, RZa, IPred, IZa, RZPred, RZZa) "
                               "values (:rpred, :rza, :ipred, :iza, :rzpred, :rzza)"), p);
    else
        db.exec(QStringLiteral("update CislaProtokolu set Rpred=:rpred, RZa=:rza, IPred=:ipred, IZa=:iza, "
                               "RZPred=:rzpred, RZZa=:rzza"), p);
    lock.commit();
}

int templateSet(Database &db, const QString &kind, const QString &equipmentKind)
{
    QVariant sada;
    bool found = false;
    forEachRow(db, QStringLiteral("select Sada from zz_roz_revize where Typ_R=:r and Typ_Z=:z order by ID"),
               Params{{"r", kind}, {"z", equipmentKind}}, [&](Dataset &ds) {
                   if (!found) {
                       found = true;
                       sada = ds.value("Sada");
                   }
               });
    bool ok = false;
    const int s = sada.toInt(&ok);
    return found && ok && !sada.isNull() ? s : 1;
}

NewInspection createInspection(Database &db, int poradi, const QString &kindIn, const QDate &datum,
                               const QString &equipmentKind)
{
    const QString kind = kindIn.trimmed();
    if (kind != QLatin1String("1") && kind != QLatin1String("2") && kind != QLatin1String("3"))
        throw Error(QStringLiteral("Záznam o revizi se zakládá jen pro druhy 1 (Revize), 2 (Revizní zkouška) a 3 (Inspekce)."));
    if (!datum.isValid())
        throw Error(QStringLiteral("Záznam o revizi potřebuje datum."));
    const ProtocolSettings settings = protocolSettings(db);

    AllocationLock lock(db, {QStringLiteral("zz_revize"), QStringLiteral("zz_polozkyrev")});
    if (db.scalar(QStringLiteral("select count(*) from zz_basic where Poradi=:p"), Params{{"p", poradi}}).toInt() == 0)
        throw Error(QStringLiteral("Zdvihací zařízení číslo %1 není uloženo; záznam o revizi nelze založit.").arg(poradi));

    NewInspection n;
    n.poradi = poradi;
    n.kind = kind;
    n.datum = datum;
    n.id = nextNumber(db, QStringLiteral("Select max(id) from zz_revize"));
    n.polozky = nextNumber(db, QStringLiteral("Select max(polozky) from zz_revize"));
    n.zavady = nextNumber(db, QStringLiteral("Select max(zavady) from zz_revize"));
    n.cisZapisuNum = nextNumber(db, QStringLiteral("Select max(ciszapisunum) from zz_revize where typ=:typ"), Params{{"typ", kind}});
    std::tie(n.cisZapisu, n.cisZapisu2) = settings.textsOf(kind);
    // checklists and defects that older versions left behind when they deleted
    // an item never come back under a new inspection
    n.polozky = std::max(n.polozky, nextNumber(db, QStringLiteral("Select max(revize) from zz_polozkyrev")));
    n.zavady = std::max(n.zavady, nextNumber(db, QStringLiteral("Select max(id) from zz_zavady")));
    pauseInside();

    db.exec(QStringLiteral("insert into zz_revize (iD, Poradi, Datum, Typ, Polozky, Zavady, CisZapisu, CisZapisuNum, CisZapisu2) "
                           "values (:id, :poradi, :datum, :typ, :polozky, :zavady, :pred, :num, :za)"),
            Params{{"id", n.id}, {"poradi", poradi}, {"datum", datum}, {"typ", kind}, {"polozky", n.polozky},
                   {"zavady", n.zavady}, {"pred", textOrNull(n.cisZapisu)}, {"num", n.cisZapisuNum},
                   {"za", textOrNull(n.cisZapisu2)}});

    n.sada = templateSet(db, kind, equipmentKind);
    QVector<std::pair<QVariant, QVariant>> items;
    forEachRow(db, QStringLiteral("Select Polozka, Oznaceni from zz_sada_revize where Id=:sada Order by Oznaceni"),
               Params{{"sada", n.sada}}, [&](Dataset &ds) { items.push_back({ds.value("Polozka"), ds.value("Oznaceni")}); });
    for (const auto &[polozka, oznaceni] : items)
        db.exec(QStringLiteral("insert into zz_polozkyrev (Revize, Polozka, Oznaceni) values (:revize, :polozka, :oznaceni)"),
                Params{{"revize", n.polozky}, {"polozka", polozka}, {"oznaceni", oznaceni}});
    n.checklistRows = int(items.size());
    lock.commit();
    return n;
}

std::optional<ItemInspection> recordOnItem(Database &db, int poradi, int tag, const QDate &datum, const QDate &today)
{
    const CheckInfo *check = checkByTag(tag);
    if (!check)
        throw Error(QStringLiteral("Neznámá kontrola %1 (platné jsou 20 až 24).").arg(tag));
    if (!datum.isValid())
        throw Error(QStringLiteral("Chybí datum kontroly."));

    AllocationLock lock(db, {QStringLiteral("zz_revize"), QStringLiteral("zz_polozkyrev")});
    bool found = false;
    QString druh;
    QVariant interval;
    QDate last, nextRevZk;
    forEachRow(db, QStringLiteral("select * from zz_basic where Poradi=:p"), Params{{"p", poradi}}, [&](Dataset &ds) {
        found = true;
        druh = ds.value("Druh").toString();
        interval = ds.value(check->intervalField);
        last = ds.value(check->lastField).toDate();
        nextRevZk = ds.value("Next_RevZk").toDate();
    });
    if (!found)
        throw Error(QStringLiteral("Zdvihací zařízení číslo %1 neexistuje.").arg(poradi));
    if (last == datum)
        return std::nullopt;

    ItemInspection r;
    if (check->records)
        r.inspection = createInspection(db, poradi, check->kind, datum, druh);
    r.nextDate = nextDueDate(tag, datum, interval, nextRevZk);
    // as the card's save: the day of the change and the kind name
    const QVariant nazev = db.scalar(QStringLiteral("select Nazev from zz_druhy where Druh=:d"), Params{{"d", druh}});
    const bool named = nazev.isValid() && !nazev.isNull();
    // field names come from the fixed table of checks
    db.exec(QStringLiteral("update zz_basic set %1=:last, %2=:next, datum_akt=:today%3 where Poradi=:p")
                .arg(check->lastField, check->nextField, named ? QStringLiteral(", Typ_Zar=:nazev") : QString()),
            named ? Params{{"last", datum}, {"next", r.nextDate}, {"today", today}, {"nazev", nazev}, {"p", poradi}}
                  : Params{{"last", datum}, {"next", r.nextDate}, {"today", today}, {"p", poradi}});
    lock.commit();
    return r;
}

bool deleteInspection(Database &db, int id)
{
    AllocationLock lock(db, {});
    QVariant polozky, zavady;
    bool found = false;
    forEachRow(db, QStringLiteral("select Polozky, Zavady from zz_revize where iD=:id"), Params{{"id", id}}, [&](Dataset &ds) {
        found = true;
        polozky = ds.value("Polozky");
        zavady = ds.value("Zavady");
    });
    if (!found)
        return false;
    if (!polozky.isNull())
        db.exec(QStringLiteral("delete from zz_polozkyRev where revize=:p"), Params{{"p", polozky}});
    if (!zavady.isNull())
        db.exec(QStringLiteral("delete from zz_zavady where id=:z"), Params{{"z", zavady}});
    db.exec(QStringLiteral("delete from prilohy where r=:id"), Params{{"id", id}});
    db.exec(QStringLiteral("delete from zz_revize where iD=:id"), Params{{"id", id}});
    lock.commit();
    return true;
}

QVector<ChecklistRow> checklist(Database &db, int polozky)
{
    QVector<ChecklistRow> out;
    forEachRow(db,
               QStringLiteral("select p.Polozka as polozka, p.Oznaceni as oznaceni, p.Vysledek as vysledek, "
                              "p.Cislo as cislo, p.TEXT as text, c.Popis as popis, c.Doplneni as doplneni, "
                              "c.Potvrzovat as potvrzovat, c.CISLO as zcislo, c.TEXT as ztext "
                              "from zz_polozkyrev p left join zz_cis_revize c on c.Polozka = p.Polozka "
                              "where p.Revize=:r order by p.Oznaceni, p.Polozka"),
               Params{{"r", polozky}}, [&](Dataset &ds) {
                   ChecklistRow row;
                   row.polozka = ds.value("polozka").toInt();
                   row.oznaceni = ds.value("oznaceni").toString();
                   const QVariant v = ds.value("vysledek");
                   row.vysledek = v.isNull() ? QVariant() : QVariant(Database::fromEngine(v, tz::db::FieldType::Boolean).toBool());
                   row.cislo = ds.value("cislo").toString();
                   row.text = ds.value("text").toString();
                   row.popis = ds.value("popis").toString();
                   row.doplneni = ds.value("doplneni").toString();
                   row.potvrzovat = Database::fromEngine(ds.value("potvrzovat"), tz::db::FieldType::Boolean).toBool();
                   row.valueItem = ds.value("zcislo").toInt() == 1;
                   row.textItem = ds.value("ztext").toInt() == 1;
                   out.push_back(row);
               });
    return out;
}

static void setChecklistColumn(Database &db, const char *column, int polozky, int polozka, const QVariant &value)
{
    db.exec(QStringLiteral("Update zz_polozkyRev set %1 = :v\nwhere revize=:r\nand polozka=:p").arg(QLatin1String(column)),
            Params{{"v", value}, {"r", polozky}, {"p", polozka}});
}

void setChecklistResult(Database &db, int polozky, int polozka, bool fulfilled)
{
    setChecklistColumn(db, "vysledek", polozky, polozka, fulfilled);
}

void setChecklistValue(Database &db, int polozky, int polozka, const QString &value)
{
    setChecklistColumn(db, "Cislo", polozky, polozka, textOrNull(value));
}

void setChecklistText(Database &db, int polozky, int polozka, const QString &text)
{
    setChecklistColumn(db, "text", polozky, polozka, textOrNull(text));
}

QVector<Defect> defects(Database &db, int zavady)
{
    QVector<Defect> out;
    forEachRow(db, QStringLiteral("select PC, Zavada, Odstranit, Nutne, Overit from zz_zavady where ID=:id order by PC"),
               Params{{"id", zavady}}, [&](Dataset &ds) {
                   Defect d;
                   d.pc = ds.value("PC").toInt();
                   d.zavada = ds.value("Zavada").toString();
                   d.odstranit = ds.value("Odstranit").toString();
                   d.nutne = ds.value("Nutne").toBool();
                   d.overit = ds.value("Overit").toBool();
                   out.push_back(d);
               });
    return out;
}

int addDefect(Database &db, int zavady, const Defect &d)
{
    AllocationLock lock(db, {QStringLiteral("zz_zavady")});
    const int pc = nextNumber(db, QStringLiteral("Select max(pc) from zz_zavady where id=:id"), Params{{"id", zavady}});
    pauseInside();
    db.exec(QStringLiteral("insert into zz_zavady (ID, PC, Zavada, Odstranit, Nutne, Overit) values (:id, :pc, :z, :o, :n, :v)"),
            Params{{"id", zavady}, {"pc", pc}, {"z", textOrNull(d.zavada)}, {"o", textOrNull(d.odstranit)}, {"n", d.nutne},
                   {"v", d.overit}});
    lock.commit();
    return pc;
}

bool updateDefect(Database &db, int zavady, const Defect &d)
{
    return db.exec(QStringLiteral("update zz_zavady set Zavada=:z, Odstranit=:o, Nutne=:n, Overit=:v where ID=:id and PC=:pc"),
                   Params{{"z", textOrNull(d.zavada)}, {"o", textOrNull(d.odstranit)}, {"n", d.nutne}, {"v", d.overit},
                          {"id", zavady}, {"pc", d.pc}})
        > 0;
}

bool deleteDefect(Database &db, int zavady, int pc)
{
    return db.exec(QStringLiteral("delete from zz_zavady where ID=:id and PC=:pc"), Params{{"id", zavady}, {"pc", pc}}) > 0;
}

Conclusion conclusionFromDefects(const QVector<Defect> &list, const QVariant &body1, const QVariant &body2,
                                 const QVariant &zpusobile)
{
    Conclusion c{body1, body2, zpusobile, false};
    QStringList before, verify;
    for (const Defect &d : list) {
        if (d.nutne)
            before << QString::number(d.pc);
        if (d.overit)
            verify << QString::number(d.pc);
    }
    auto apply = [&c](const QStringList &numbers, QVariant &field) {
        if (numbers.isEmpty())
            return;
        if (c.zpusobile.isNull() || c.zpusobile.toBool()) {
            c.zpusobile = false;
            c.changed = true;
        }
        const QString text = numbers.join(QStringLiteral(", "));
        if (text != field.toString()) {
            field = text;
            c.changed = true;
        }
    };
    apply(before, c.body1);
    apply(verify, c.body2);
    return c;
}

QVector<CatalogueDefect> catalogue(Database &db)
{
    QVector<CatalogueDefect> out;
    forEachRow(db, QStringLiteral("select Pc, Zavada, Skupina from cis_zavady order by Pc"), {}, [&](Dataset &ds) {
        out.push_back({ds.value("Pc").toInt(), ds.value("Zavada").toString(), ds.value("Skupina").toString()});
    });
    return out;
}

QStringList defectGroups(Database &db)
{
    QStringList out;
    forEachRow(db, QStringLiteral("Select distinct skupina from cis_zavady"), {}, [&](Dataset &ds) {
        const QString g = ds.fieldAt(0)->asString();
        if (!g.isEmpty())
            out << g;
    });
    std::sort(out.begin(), out.end(), czech());
    return out;
}

int addCatalogueDefect(Database &db, const QString &skupina, const QString &zavada)
{
    AllocationLock lock(db, {QStringLiteral("cis_zavady")});
    const int pc = nextNumber(db, QStringLiteral("Select max(pc) as maximum from Cis_zavady"));
    db.exec(QStringLiteral("insert into cis_zavady (Pc, Zavada, Skupina) values (:pc, :z, :s)"),
            Params{{"pc", pc}, {"z", textOrNull(zavada)}, {"s", textOrNull(skupina)}});
    lock.commit();
    return pc;
}

bool deleteCatalogueDefect(Database &db, int pc)
{
    return db.exec(QStringLiteral("delete from cis_zavady where Pc=:pc"), Params{{"pc", pc}}) > 0;
}

QStringList technicianNames(Database &db)
{
    QStringList out;
    forEachRow(db, QStringLiteral("select Technik from RTech"), {}, [&](Dataset &ds) {
        const QString t = ds.value("Technik").toString();
        if (!t.isEmpty() && !out.contains(t))
            out << t;
    });
    std::sort(out.begin(), out.end(), czech());
    return out;
}

bool removeTechnician(Database &db, int pcrev)
{
    return db.exec(QStringLiteral("delete from RTech where PCREV=:p"), Params{{"p", pcrev}}) > 0;
}

QString inspectionCaption(const QString &kind)
{
    switch (kind.trimmed().toInt()) {
    case 1: return QStringLiteral("Zápis o revizi zdvihacího zařízení");
    case 2: return QStringLiteral("Zápis o revizní zkoušce zdvihacího zařízení");
    case 3: return QStringLiteral("Zápis o inspekci zdvihacího zařízení");
    case 4: return QStringLiteral("Zápis o elektrorevizi zdvihacího zařízení");
    case 5: return QStringLiteral("Zápis o zaměření dráhy zdvihacího zařízení");
    default: return {};
    }
}

} // namespace tz::eq
