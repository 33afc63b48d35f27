#pragma once
// Lifting equipment inspections on the data side: recording an inspection
// with its protocol number and checklist, deleting it with everything that
// hangs on it, the checklist input, the defects and their catalogue, the
// protocol numbering settings and the technicians.
//
// Every number taken as "maximum plus one" (the inspection's iD, its links
// Polozky and Zavady, the running protocol number, a defect's PC, a catalogue
// row's Pc) is computed and stored in one write transaction that holds the
// table against other workstations (SQLite "begin immediate", a table lock on
// PostgreSQL), so two workstations never take the same number.
#include "db.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <optional>

namespace tz::eq {

// A write transaction for taking "maximum plus one" numbers of the tables
// named: on PostgreSQL the tables are locked against other writers (readers
// go on) until the end of the transaction.
class AllocationLock
{
public:
    AllocationLock(tz::db::Database &db, const QStringList &tables);
    void commit() { m_tx.commit(); }

private:
    tz::db::Transaction m_tx;
};

// For tests of concurrent workstations: a pause inside the allocation, after
// the numbers are taken and before they are stored, so that overlapping runs
// are certain to meet. 0 (the default) pauses nothing.
void setAllocationPause(int milliseconds);

// The fixed protocol-number texts of the one row of CislaProtokolu.
struct ProtocolSettings
{
    QString rPred, rZa;   // kind "1" Revize
    QString rzPred, rzZa; // kind "2" Revizní zkouška
    QString iPred, iZa;   // kind "3" Inspekce
    // The texts before and after the running number of an inspection kind (empty for other kinds).
    std::pair<QString, QString> textsOf(const QString &kind) const;
};
// The settings row; empty texts when the table has no row.
ProtocolSettings protocolSettings(tz::db::Database &db);
// Stores the settings in the one row (created when the table is empty).
void saveProtocolSettings(tz::db::Database &db, const ProtocolSettings &s);

// An inspection just recorded.
struct NewInspection
{
    int id = 0;             // zz_revize.iD
    int poradi = 0;
    QString kind;           // "1", "2", "3"
    QDate datum;
    int polozky = 0;        // link to the checklist (zz_polozkyrev.Revize)
    int zavady = 0;         // link to the defects (zz_zavady.ID)
    QString cisZapisu;      // text before the number
    int cisZapisuNum = 0;   // running number within the kind
    QString cisZapisu2;     // text after the number
    int sada = 0;           // the item set the checklist was copied from
    int checklistRows = 0;
    QString protocolNumber() const { return cisZapisu + QString::number(cisZapisuNum) + cisZapisu2; }
};

// The item set assigned to an inspection kind and equipment kind in
// zz_roz_revize; set 1 when no row (or a row without a set) is assigned.
int templateSet(tz::db::Database &db, const QString &kind, const QString &equipmentKind);

// Records an inspection of kind "1", "2" or "3" of the item `poradi` on `datum`:
// the zz_revize row with new iD, Polozky and Zavady, the protocol texts of the
// kind and the next running number of the kind, and the checklist copied from
// the item set of the kind and the equipment kind in Oznaceni order. One
// transaction; raises tz::db::Error (and stores nothing) on failure.
NewInspection createInspection(tz::db::Database &db, int poradi, const QString &kind, const QDate &datum,
                               const QString &equipmentKind);

// What recording on a stored item did.
struct ItemInspection
{
    std::optional<NewInspection> inspection; // kinds 1 to 3
    QDate nextDate;                          // the check's new next date (invalid: left as it was)
};
// Records on a stored item what the card records when the last date of the
// check `tag` (20 .. 24) is changed to `datum` and the card is confirmed: the
// inspection (tags 20, 21, 22), the last date, the next date by the check's
// interval (with the revision-test rule of tag 20), the day of the change and
// the kind name. All in one transaction. Nothing happens (nullopt) when the
// stored last date already is `datum`. Raises tz::db::Error for an unknown
// item or tag.
std::optional<ItemInspection> recordOnItem(tz::db::Database &db, int poradi, int tag, const QDate &datum,
                                           const QDate &today);

// Deletes an inspection with its checklist, its defects and its attachment
// rows in one transaction. False when there is no such inspection. The item's
// dates are not changed.
bool deleteInspection(tz::db::Database &db, int id);

// One row of an inspection's checklist with what its catalogue item offers.
struct ChecklistRow
{
    int polozka = 0;
    QString oznaceni;
    QVariant vysledek;      // null until answered
    QString cislo, text;
    QString popis, doplneni;
    bool potvrzovat = false;
    bool valueItem = false; // CISLO = 1
    bool textItem = false;  // TEXT = 1
    // A text item offers only its text box; otherwise a value box when it is a
    // value item and a yes/no choice when it is to be confirmed.
    bool offersText() const { return textItem; }
    bool offersValue() const { return !textItem && valueItem; }
    bool offersYesNo() const { return !textItem && potvrzovat; }
};
// The checklist of an inspection (its Polozky), in Oznaceni order.
QVector<ChecklistRow> checklist(tz::db::Database &db, int polozky);
// Checklist input, stored at once (values bound, any characters allowed).
void setChecklistResult(tz::db::Database &db, int polozky, int polozka, bool fulfilled);
void setChecklistValue(tz::db::Database &db, int polozky, int polozka, const QString &value);
void setChecklistText(tz::db::Database &db, int polozky, int polozka, const QString &text);

// A defect of an inspection (zz_zavady).
struct Defect
{
    int pc = 0;          // number within the inspection
    QString zavada;
    QString odstranit;
    bool nutne = false;  // use allowed only after its removal
    bool overit = false; // removal to be verified by the inspection technician
};
// The defects of an inspection (its Zavady), by number.
QVector<Defect> defects(tz::db::Database &db, int zavady);
// Adds a defect with the next number within the inspection (the largest plus
// one; numbers of deleted defects below it are not reused); returns it.
int addDefect(tz::db::Database &db, int zavady, const Defect &d);
// Stores the texts and flags of an existing defect; false when it is gone.
bool updateDefect(tz::db::Database &db, int zavady, const Defect &d);
bool deleteDefect(tz::db::Database &db, int zavady, int pc);

// The conclusion of an inspection after its defects were edited: defects to
// be removed before use (Body1) and those whose removal is verified (Body2),
// numbers joined with ", ". An empty list changes nothing; a non-empty one
// sets the equipment unfit for use.
struct Conclusion
{
    QVariant body1, body2, zpusobile;
    bool changed = false;
};
Conclusion conclusionFromDefects(const QVector<Defect> &defects, const QVariant &body1, const QVariant &body2,
                                 const QVariant &zpusobile);

// The defect catalogue (cis_zavady) and its groups.
struct CatalogueDefect
{
    int pc = 0;
    QString zavada, skupina;
};
QVector<CatalogueDefect> catalogue(tz::db::Database &db);
// The distinct groups of the catalogue, in Czech order.
QStringList defectGroups(tz::db::Database &db);
// Adds a catalogue row (Pc the largest plus one); a new group comes into being with it.
int addCatalogueDefect(tz::db::Database &db, const QString &skupina, const QString &zavada);
bool deleteCatalogueDefect(tz::db::Database &db, int pc);

// Technicians (RTech): the names offered for "Revizi provedl:".
QStringList technicianNames(tz::db::Database &db);
// Removes a technician; inspections keep the name they store.
bool removeTechnician(tz::db::Database &db, int pcrev);

// Caption of the inspection window by the inspection kind.
QString inspectionCaption(const QString &kind);

} // namespace tz::eq
