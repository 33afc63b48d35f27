#pragma once
// Removal of register items and companies together with every row that belongs
// to them, each in one transaction: a failure leaves everything as it was.
#include "db.h"

namespace tz::db {

enum class Register { Accessories, Equipment, Persons, Constructions, FallProtection };

// Removes one item of a register (its key: PORADI, Poradi or Os_id) with its
// inspections, item results, defects, attachments, functions, trainings, checks
// and parts. Returns false when the item no longer exists.
bool deleteItem(Database &db, Register reg, int key);

struct CompanyRows
{
    int accessories = 0, equipment = 0, persons = 0, constructions = 0, fallProtection = 0;
    int total() const { return accessories + equipment + persons + constructions + fallProtection; }
};
// What belongs to a company (for the question before it is removed).
CompanyRows companyRows(Database &db, int pcfir);
// Removes a company with every item that carries its number and all their rows.
void deleteCompany(Database &db, int pcfir);

} // namespace tz::db
