#pragma once
// A fresh data directory with the code tables and the demonstration items for
// the equipment tests.
#include "datadir.h"
#include "db.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

struct EquipmentTestDb
{
    QTemporaryDir dir;
    std::unique_ptr<tz::db::Database> db;

    explicit EquipmentTestDb(const QString &connection = QStringLiteral("eqtest"))
    {
        db = std::make_unique<tz::db::Database>(connection);
        db->openSqlite(dir.path());
        tz::db::installSchema(*db);
        tz::db::loadDemoData(*db);
    }
    int count(const QString &sql, const tz::db::Params &p = {}) { return db->scalar(sql, p).toInt(); }
};
