#include "equipmentcard.h"
#include "deletion.h"

namespace tz::eq {

using tz::db::Dataset;
using tz::db::Database;

namespace {

bool sameDate(const QVariant &a, const QVariant &b)
{
    const QDate da = a.toDate(), db = b.toDate();
    if (!da.isValid() || !db.isValid())
        return da.isValid() == db.isValid();
    return da == db;
}

QString intervalText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString().trimmed();
}

bool isEmptyValue(const QVariant &v)
{
    return !v.isValid() || v.isNull() || v.toString().trimmed().isEmpty();
}

} // namespace

void guardDefectNumbers(tz::db::TDM &dm)
{
    Database *db = dm.db();
    dm.zz_zavady.allocateKey = [db](Dataset &d) {
        const QVariant id = d.value(QStringLiteral("ID"));
        const QVariant max = db->scalar(QStringLiteral("Select max(pc) from zz_zavady where id=:id"), tz::db::Params{{"id", id}});
        d.setFieldValue(QStringLiteral("PC"), max.isNull() ? 1 : max.toInt() + 1);
    };
}

EquipmentCardRules::EquipmentCardRules(tz::db::TDM &dm) : m_dm(dm) {}

QDate EquipmentCardRules::dateOf(const QString &field) const
{
    return item().value(field).toDate();
}

void EquipmentCardRules::setNext(const CheckInfo &c, const QDate &next)
{
    if (next.isValid())
        item().setFieldValue(c.nextField, next);
}

void EquipmentCardRules::remember()
{
    Dataset &v = item();
    const bool hasRow = v.isEditing() || (v.isOpen() && v.recNo() >= 0);
    for (const CheckInfo &c : checks()) {
        m_remembered.insert(c.lastField, hasRow ? v.value(c.lastField) : QVariant());
        m_remembered.insert(c.intervalField, hasRow ? v.value(c.intervalField) : QVariant());
    }
}

void EquipmentCardRules::RevizeEnter(int tag)
{
    if (const CheckInfo *c = checkByTag(tag))
        m_remembered.insert(c->lastField, item().value(c->lastField));
}

std::optional<NewInspection> EquipmentCardRules::RevizeExit(int tag)
{
    const CheckInfo *c = checkByTag(tag);
    Dataset &v = item();
    if (!c || !v.isEditing())
        return std::nullopt;
    const QVariant now = v.value(c->lastField);
    if (sameDate(now, m_remembered.value(c->lastField)))
        return std::nullopt;
    m_remembered.insert(c->lastField, now);
    const QDate last = now.toDate();
    if (!last.isValid())
        return std::nullopt;
    std::optional<NewInspection> rec;
    if (c->records) {
        const int poradi = storeItem();
        rec = createInspection(*m_dm.db(), poradi, c->kind, last, v.value(QStringLiteral("Druh")).toString());
        m_recorded << rec->id;
        // the history grid shows the new inspection, and the window edits it
        if (m_dm.zz_revize.isOpen()) {
            m_dm.zz_revize.refresh();
            m_dm.zz_revize.locate(QStringLiteral("iD"), rec->id);
        }
    }
    setNext(*c, nextDueDate(c->tag, last, v.value(c->intervalField), dateOf(QStringLiteral("Next_RevZk"))));
    return rec;
}

void EquipmentCardRules::IntervalEnter(int tag)
{
    if (const CheckInfo *c = checkByTag(tag))
        m_remembered.insert(c->intervalField, item().value(c->intervalField));
}

bool EquipmentCardRules::IntervalExit(int tag)
{
    const CheckInfo *c = checkByTag(tag);
    Dataset &v = item();
    if (!c || !v.isEditing())
        return false;
    const QVariant now = v.value(c->intervalField);
    if (intervalText(now) == intervalText(m_remembered.value(c->intervalField)))
        return false;
    m_remembered.insert(c->intervalField, now);
    const QDate next = nextDueDate(c->tag, dateOf(c->lastField), now, dateOf(QStringLiteral("Next_RevZk")));
    setNext(*c, next);
    return next.isValid();
}

int EquipmentCardRules::OverZkExit()
{
    Dataset &v = item();
    const QDate overzk = dateOf(QStringLiteral("Dat_overzk"));
    if (!v.isEditing() || !overzk.isValid())
        return 0;
    QVector<CheckDates> current;
    for (const CheckInfo &c : checks())
        current.push_back({c.tag, v.value(c.intervalField), dateOf(c.nextField)});
    const QVector<CheckDates> seeded = seedFromVerificationTest(overzk, current);
    for (const CheckDates &d : seeded)
        setNext(*checkByTag(d.tag), d.next);
    return int(seeded.size());
}

bool EquipmentCardRules::PriraDIntervalProhlidek()
{
    Dataset &v = item();
    if (!v.isEditing())
        return false;
    const Classification c{v.value(QStringLiteral("Druh")).toString(), v.value(QStringLiteral("Uchopeni")).toString(),
                           v.value(QStringLiteral("Prov_Skup_Zar")).toString(), v.value(QStringLiteral("Skupina")).toString()};
    const auto d = findDefaultIntervals(*m_dm.db(), c);
    if (!d)
        return false;
    for (const CheckInfo &ch : checks())
        v.setFieldValue(ch.intervalField, d->forField(ch.intervalField));
    return true;
}

bool EquipmentCardRules::ComboUchopeniExit()
{
    return PriraDIntervalProhlidek();
}

bool EquipmentCardRules::ComboSkupinyExit(int selectedPosition)
{
    Dataset &v = item();
    if (!v.isEditing())
        return false;
    if (isEmptyValue(v.value(QStringLiteral("Prov_Skup_Zar")))) {
        const QString g = operatingGroupForPosition(selectedPosition);
        if (!g.isEmpty())
            v.setFieldValue(QStringLiteral("Prov_Skup_Zar"), g);
    }
    return PriraDIntervalProhlidek();
}

bool EquipmentCardRules::ComboPSkupinyExit()
{
    Dataset &v = item();
    if (!v.isEditing())
        return false;
    const QString g = craneGroupForOperatingGroup(v.value(QStringLiteral("Prov_Skup_Zar")).toString());
    if (!g.isEmpty())
        v.setFieldValue(QStringLiteral("Skupina"), g);
    return PriraDIntervalProhlidek();
}

int EquipmentCardRules::storeItem()
{
    Dataset &v = item();
    if (v.state() == Dataset::State::Insert) {
        // the remembered values belong to the card, not to the stored row
        const QMap<QString, QVariant> keep = m_remembered;
        v.post();
        m_remembered = keep;
        m_newItem = v.value(QStringLiteral("Poradi")).toInt();
        v.edit();
    }
    return v.value(QStringLiteral("Poradi")).toInt();
}

void EquipmentCardRules::confirm()
{
    Dataset &v = item();
    if (v.isEditing())
        v.post();
    m_newItem = 0;
    m_recorded.clear();
    remember();
}

bool EquipmentCardRules::cancel()
{
    Dataset &v = item();
    if (v.isEditing())
        v.cancel();
    m_recorded.clear();
    if (m_newItem == 0)
        return false;
    const int poradi = m_newItem;
    m_newItem = 0;
    // the item did not exist before this card: everything hanging on it is the card's
    tz::db::deleteItem(*m_dm.db(), tz::db::Register::Equipment, poradi);
    v.refresh();
    return true;
}

QDate EquipmentCardRules::validityOf(const QString &kind, const QDate &datum) const
{
    const QString f = intervalFieldOfKind(kind);
    return validityDate(datum, f.isEmpty() ? QVariant() : item().value(f));
}

bool EquipmentCardRules::DBEdit32Exit()
{
    Dataset &r = m_dm.zz_revize;
    if (!r.isOpen() || (!r.isEditing() && r.recNo() < 0))
        return false;
    const QDate datum = r.value(QStringLiteral("Datum")).toDate();
    if (!datum.isValid())
        return false;
    if (!r.isEditing())
        r.edit();
    r.setFieldValue(QStringLiteral("Platnost"), validityOf(r.value(QStringLiteral("Typ")).toString(), datum));
    return true;
}

bool EquipmentCardRules::applyDefectConclusion()
{
    Dataset &r = m_dm.zz_revize;
    if (!r.isOpen() || (!r.isEditing() && r.recNo() < 0))
        return false;
    const QVariant zavady = r.value(QStringLiteral("Zavady"));
    if (zavady.isNull())
        return false;
    const Conclusion c = conclusionFromDefects(defects(*m_dm.db(), zavady.toInt()), r.value(QStringLiteral("Body1")),
                                               r.value(QStringLiteral("Body2")), r.value(QStringLiteral("Zpusobile")));
    if (!c.changed)
        return false;
    if (!r.isEditing())
        r.edit();
    r.setFieldValue(QStringLiteral("Body1"), c.body1);
    r.setFieldValue(QStringLiteral("Body2"), c.body2);
    r.setFieldValue(QStringLiteral("Zpusobile"), c.zpusobile);
    return true;
}

} // namespace tz::eq
