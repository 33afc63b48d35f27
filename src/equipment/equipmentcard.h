#pragma once
// The rules of an equipment card without its widgets: what leaving a last
// date, an interval, the verification test or a classification list does to
// the item row being edited (the data module's ZZBasicView), and what the
// inspection window derives for its inspection (zz_revize). The handler
// names are those of the card; a window calls them from its own handlers.
//
// A new item is stored before any row that refers to it is written (an
// inspection, its checklist, an attachment): storeItem(). If such a card is
// then cancelled, the item and every row the card created for it are removed
// again; an existing item keeps the inspections recorded on it.
#include "datamodule.h"
#include "inspections.h"
#include "intervals.h"

#include <QMap>
#include <optional>

namespace tz::eq {

// The defects window stores new defects through the data module's zz_zavady
// set; with this guard a defect takes its number within the inspection while
// it is stored (in the write transaction), not when the row was started, so a
// defect that another workstation stored meanwhile keeps its number.
void guardDefectNumbers(tz::db::TDM &dm);

class EquipmentCardRules
{
public:
    explicit EquipmentCardRules(tz::db::TDM &dm);

    tz::db::Dataset &item() const { return m_dm.ZZBasicView; }

    // Remembers the row's last dates and intervals; after loading a row and
    // after every save, so that leaving a field unchanged does nothing.
    void remember();

    // Last-date fields (tags 20 .. 24).
    void RevizeEnter(int tag);
    // When the date differs from the remembered one while the row is edited:
    // for tags 20, 21, 22 the inspection is recorded (a new item is stored
    // first), then the check's next date is set. Returns the recorded
    // inspection, for the inspection window. An emptied date records nothing
    // and leaves the next date as it is.
    std::optional<NewInspection> RevizeExit(int tag);

    // Interval fields: a changed interval sets the next date from the last
    // date (with the revision-test rule of tag 20); nothing is recorded, and
    // without a last date the next date stays. True when a next date was set.
    void IntervalEnter(int tag);
    bool IntervalExit(int tag);

    // Dat_overzk seeds the next dates that are empty and have an interval;
    // returns how many were set.
    int OverZkExit();

    // The default intervals of the item's classification into its five
    // interval fields (next dates are not recomputed). True when a row applied.
    bool PriraDIntervalProhlidek();
    // Leaving "Uchopení břemene".
    bool ComboUchopeniExit();
    // Leaving "Skupina" or "Omez. podm." with the entry at `selectedPosition`
    // of that list selected (-1: none): an empty operating group is proposed
    // from the position, then the defaults are looked up.
    bool ComboSkupinyExit(int selectedPosition);
    // Leaving "Prov. skupina": the crane group follows the operating group,
    // then the defaults are looked up.
    bool ComboPSkupinyExit();

    // Stores a new item (the row in insert state) and goes on editing it, so
    // that rows referring to it can be written; gives its Poradi. For a row
    // already stored it only gives the Poradi.
    int storeItem();
    // True when this card stored a new item that is not yet confirmed.
    bool holdsNewItem() const { return m_newItem != 0; }
    // Inspections recorded through this card since it was opened.
    QVector<int> recordedInspections() const { return m_recorded; }
    // "OK": posts the row; a new item stays for good.
    void confirm();
    // "Zrušit": discards the edits; a new item stored by this card is removed
    // with every row hanging on it, in one transaction. True when it removed one.
    bool cancel();

    // Inspection window: the validity of an inspection of `kind` on `datum`
    // by the item's interval of that kind (3 months for other kinds).
    QDate validityOf(const QString &kind, const QDate &datum) const;
    // Leaving the inspection date ("Datum "): Platnost of the current
    // inspection in zz_revize from its date (edit state first). True when set.
    bool DBEdit32Exit();
    // After the defects window: Body1, Body2 and Zpusobile of the current
    // inspection from its defects. True when a value was set.
    bool applyDefectConclusion();

private:
    QDate dateOf(const QString &field) const;
    void setNext(const CheckInfo &c, const QDate &next);

    tz::db::TDM &m_dm;
    QMap<QString, QVariant> m_remembered;
    int m_newItem = 0;
    QVector<int> m_recorded;
};

} // namespace tz::eq
