#include "deletion.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace tz::db {
namespace {

void deleteItemRows(Database &db, Register reg, int key)
{
    const Params k{{"k", key}};
    switch (reg) {
    case Register::Accessories:
        db.exec("delete from revize where poradi=:k", k);
        db.exec("delete from prilohy where y=:k", k);
        db.exec("delete from basic where poradi=:k", k);
        break;
    case Register::Equipment:
        db.exec("delete from zz_polozkyrev where revize in (select polozky from zz_revize where poradi=:k and polozky is not null)", k);
        db.exec("delete from zz_zavady where id in (select zavady from zz_revize where poradi=:k and zavady is not null)", k);
        db.exec("delete from prilohy where r in (select id from zz_revize where poradi=:k)", k);
        db.exec("delete from prilohy where x=:k", k);
        db.exec("delete from zz_revize where poradi=:k", k);
        db.exec("delete from zz_basic where poradi=:k", k);
        break;
    case Register::Persons:
        db.exec("delete from l_zarazeni where os_id=:k", k);
        db.exec("delete from l_skoleni_ucast where os_id=:k", k);
        db.exec("delete from L_prohlidky where os_id=:k", k);
        db.exec("delete from l_basic where os_id=:k", k);
        break;
    case Register::Constructions:
        db.exec("delete from ok_basic where poradi=:k", k);
        break;
    case Register::FallProtection:
        db.exec("delete from revize_op where poradi=:k", k);
        db.exec("delete from js_casti where poradi=:k", k);
        db.exec("delete from op_basic where poradi=:k", k);
        break;
    }
}

const char *itemQuery(Register reg)
{
    switch (reg) {
    case Register::Accessories: return "select poradi from basic where firma=:f";
    case Register::Equipment: return "select poradi from zz_basic where firma=:f";
    case Register::Persons: return "select os_id from l_basic where firma=:f";
    case Register::Constructions: return "select poradi from ok_basic where firma=:f";
    case Register::FallProtection: return "select poradi from op_basic where firma=:f";
    }
    return "";
}

const char *existsQuery(Register reg)
{
    switch (reg) {
    case Register::Accessories: return "select count(*) from basic where poradi=:k";
    case Register::Equipment: return "select count(*) from zz_basic where poradi=:k";
    case Register::Persons: return "select count(*) from l_basic where os_id=:k";
    case Register::Constructions: return "select count(*) from ok_basic where poradi=:k";
    case Register::FallProtection: return "select count(*) from op_basic where poradi=:k";
    }
    return "";
}

QVector<int> keysOf(Database &db, Register reg, int pcfir)
{
    QSqlQuery q(db.handle());
    QVector<int> out;
    q.setForwardOnly(true);
    q.prepare(QString::fromLatin1(itemQuery(reg)).replace(":f", "?"));
    q.bindValue(0, pcfir);
    if (!q.exec())
        Database::fail(QStringLiteral("Nelze načíst položky firmy"), q.lastError());
    while (q.next())
        out << q.value(0).toInt();
    return out;
}

constexpr Register kAll[] = {Register::Accessories, Register::Equipment, Register::Persons, Register::Constructions,
                             Register::FallProtection};

} // namespace

bool deleteItem(Database &db, Register reg, int key)
{
    Transaction tx(db, true);
    if (db.scalar(QString::fromLatin1(existsQuery(reg)), Params{{"k", key}}).toInt() == 0)
        return false;
    deleteItemRows(db, reg, key);
    tx.commit();
    return true;
}

CompanyRows companyRows(Database &db, int pcfir)
{
    CompanyRows r;
    r.accessories = keysOf(db, Register::Accessories, pcfir).size();
    r.equipment = keysOf(db, Register::Equipment, pcfir).size();
    r.persons = keysOf(db, Register::Persons, pcfir).size();
    r.constructions = keysOf(db, Register::Constructions, pcfir).size();
    r.fallProtection = keysOf(db, Register::FallProtection, pcfir).size();
    return r;
}

void deleteCompany(Database &db, int pcfir)
{
    Transaction tx(db, true);
    for (Register reg : kAll)
        for (int key : keysOf(db, reg, pcfir))
            deleteItemRows(db, reg, key);
    db.exec("delete from firmy where pcfir=:f", Params{{"f", pcfir}});
    tx.commit();
}

} // namespace tz::db
