#include "recordcommands.h"

#include "codepage.h"

#include <QFile>
#include <QSaveFile>

using tz::db::Dataset;
using tz::db::Register;

namespace tz::app {

namespace {

Register registerOf(const QString &name)
{
    const QStringList regs = MainState::registerNames();
    switch (regs.indexOf(name)) {
    case 0: return Register::Accessories;
    case 1: return Register::Equipment;
    case 2: return Register::Persons;
    case 3: return Register::Constructions;
    default: return Register::FallProtection;
    }
}

QString keyFieldOf(Register r)
{
    return r == Register::Persons ? QStringLiteral("Os_id") : QStringLiteral("Poradi");
}

Dataset *editSetOf(tz::db::TDM &dm, Register r)
{
    switch (r) {
    case Register::Accessories: return &dm.BasicView;
    case Register::Equipment: return &dm.ZZBasicView;
    case Register::Persons: return &dm.LBasicView;
    case Register::Constructions: return &dm.OKBasicView;
    case Register::FallProtection: return &dm.OPBasicWiew;
    }
    return nullptr;
}

// Fields of an accessory that a copy takes over.
const char *const kAccessoryCopy[] = {
    "Druh", "typ", "oznaceni", "popis", "stredisko", "jak_trida", "nosnost_1", "nosnost_2", "nosnost_3", "Delka",
    "Prumer", "dat_vyroby", "vyrobce", "dodavatel", "perioda1", "perioda3", "zaves", "retez", "spoj", "vaz_hak",
    "jine_zkrac", "jine", "uzivatel", "material", "lano_prum", "lano_delka", "umisteni1", "umisteni2", "udrzba",
    "sv_sirka", "dat_provoz", "pict"};

// Fields of a lifting equipment item that a copy takes over.
QStringList equipmentCopyFields()
{
    QStringList f{"Druh", "Typ_zar", "Typ_j", "skupina", "trida", "podtrida", "uchopeni", "druh_pohonu", "spz",
                  "provozovatel", "provoz", "prov_skup_zar", "rok_vyroby", "vyrobce", "Dodavatel", "umisteni1",
                  "umisteni2", "Dat_zamereni", "Dat_overzk", "Dat_revize", "Dat_inspekce", "Next_zamereni",
                  "Next_revize", "Next_inspekce", "Int_zamereni", "Int_revize", "Int_inspekce", "Rozvor", "Rozpeti",
                  "DelkaDrahy", "Rychlost", "Pojezd", "Vyska_zdvihu", "Vylozeni", "Max_nosnost", "Max_vylozeni",
                  "Oznaceni", "Zakl_nosnost", "Ovladani"};
    for (int k = 1; k <= 3; ++k)
        for (const char *s : {"typ", "oznaceni", "vyrobce", "nosnost", "hmotnost", "vyr_c", "rv"})
            f << QStringLiteral("kl%1_%2").arg(k).arg(QLatin1String(s));
    f << QStringList{"udrzba", "pocetkladkostroju", "zobrazitkl", "RevTechnik", "ProvTechnik", "PoverOsoba",
                     "Dat_revzk", "Next_revZk", "Int_revZk", "Dat_Elektrorev", "Next_Elektrorev", "Int_Elektrorev",
                     "kl1_prumer", "kl1_delka", "kl2_prumer", "kl2_delka", "kl3_prumer", "kl3_delka", "prumer_lano",
                     "prumer_retez", "delka_lana", "podvozek", "vyloznik", "omezp"};
    return f;
}

QString companyName(tz::db::TDM &dm)
{
    return dm.selectedCompanyName();
}

} // namespace

std::optional<OpenTarget> prepareNewItem(MainState &state)
{
    if (!state.canAdd())
        return std::nullopt;
    tz::db::TDM &dm = state.dm();
    OpenTarget t;
    t.reg = registerOf(state.registerName());
    t.keyField = keyFieldOf(t.reg);
    t.editSet = editSetOf(dm, t.reg);
    t.kind = state.kindLetter();
    switch (t.reg) {
    case Register::Accessories:
        t.formClass = accessoryFormClass(t.kind);
        if (t.formClass.isEmpty())
            return std::nullopt;
        dm.loadTypy(t.kind.isEmpty() ? QStringLiteral("J") : t.kind);
        break;
    case Register::Equipment:
        t.formClass = equipmentFormClass(t.kind);
        if (t.formClass.isEmpty())
            return std::nullopt;
        dm.currentKind = t.kind;
        break;
    case Register::Persons: t.formClass = QStringLiteral("TfLide"); break;
    case Register::Constructions: t.formClass = QStringLiteral("TFKonstrukce"); break;
    case Register::FallProtection:
        t.formClass = t.kind == QLatin1String("5") ? QStringLiteral("TFJistici") : QStringLiteral("TFPostroje");
        break;
    }
    Dataset *set = t.editSet;
    if (!set->isOpen())
        set->open();
    set->append();
    switch (t.reg) {
    case Register::Accessories:
        set->setFieldValue(QStringLiteral("DRUH"), t.kind);
        set->setFieldValue(QStringLiteral("STREDISKO"), companyName(dm));
        if (t.kind == QLatin1String("R"))
            set->setFieldValue(QStringLiteral("JAK_TRIDA"), QStringLiteral("8"));
        else if (t.kind == QLatin1String("L"))
            set->setFieldValue(QStringLiteral("JAK_TRIDA"), QStringLiteral("1770"));
        break;
    case Register::Equipment: set->setFieldValue(QStringLiteral("Druh"), t.kind); break;
    case Register::FallProtection:
        set->setFieldValue(QStringLiteral("TYP"), t.kind.toInt());
        set->setFieldValue(QStringLiteral("Firma"), dm.selectedCompany());
        set->setFieldValue(QStringLiteral("PERIODA1"), 12);
        break;
    default: break;
    }
    t.key = set->field(t.keyField)->value();
    return t;
}

QVariant selectedKey(MainState &state, Register *reg)
{
    Dataset *ev = state.evidenceList();
    const Register r = registerOf(state.registerName());
    if (reg)
        *reg = r;
    if (!ev || !ev->isOpen() || ev->isEmpty() || ev->recNo() < 0)
        return {};
    return ev->field(keyFieldOf(r))->value();
}

CopyResult prepareCopy(MainState &state, OpenTarget *target)
{
    Register reg;
    const QVariant key = selectedKey(state, &reg);
    if (reg != Register::Accessories && reg != Register::Equipment)
        return CopyResult::NotSupported;
    if (!key.isValid() || key.isNull())
        return CopyResult::NoRow;
    tz::db::TDM &dm = state.dm();
    OpenTarget t;
    t.reg = reg;
    t.keyField = keyFieldOf(reg);
    t.editSet = editSetOf(dm, reg);
    Dataset *set = t.editSet;

    // the source as stored now, not as the list read it
    Dataset src(dm.db());
    src.setSql(reg == Register::Accessories ? QStringLiteral("Select * from basic where poradi=:p")
                                            : QStringLiteral("Select * from zz_basic where poradi=:p"));
    src.setParam(QStringLiteral("p"), key);
    src.open();
    if (src.isEmpty())
        return CopyResult::NoRow;
    t.kind = src.field(QStringLiteral("Druh"))->asString();
    if (reg == Register::Accessories) {
        t.formClass = accessoryFormClass(t.kind);
        if (t.formClass.isEmpty())
            return CopyResult::NoRow;
        dm.loadTypy(t.kind);
    } else {
        t.formClass = equipmentFormClass(t.kind);
        if (t.formClass.isEmpty())
            return CopyResult::NoRow;
        dm.currentKind = t.kind;
    }
    if (!set->isOpen())
        set->open();
    set->append();
    QStringList fields;
    if (reg == Register::Accessories)
        for (const char *f : kAccessoryCopy)
            fields << QString::fromLatin1(f);
    else
        fields = equipmentCopyFields();
    for (const QString &f : fields) {
        const tz::db::Field *from = src.findField(f);
        if (from && set->findField(f))
            set->setFieldValue(f, from->value());
    }
    // with every company shown the copy stays with the company of its source
    if (dm.selectedCompany() == 999)
        set->setFieldValue(QStringLiteral("Firma"), src.field(QStringLiteral("Firma"))->value());
    t.key = set->field(t.keyField)->value();
    *target = t;
    return CopyResult::Prepared;
}

QString RemovalReport::summary() const
{
    QString s = QStringLiteral("Odstraněno záznamů: %1.").arg(removed);
    if (!failures.isEmpty())
        s += QStringLiteral("\nNepodařilo se odstranit %1:\n").arg(failures.size()) + failures.join(QLatin1Char('\n'));
    return s;
}

RemovalReport removeShown(MainState &state)
{
    RemovalReport rep;
    Dataset *ev = state.evidenceList();
    if (!ev || !ev->isOpen())
        return rep;
    const Register reg = registerOf(state.registerName());
    const tz::db::Field *k = ev->field(keyFieldOf(reg));
    // the keys of exactly the rows shown (filter and kind as they are now)
    QVariantList keys;
    const int n = ev->recordCount();
    for (int i = 0; i < n; ++i)
        keys << ev->value(i, k->column());
    for (const QVariant &key : keys) {
        try {
            if (tz::db::deleteItem(*state.dm().db(), reg, key.toInt()))
                ++rep.removed;
        } catch (const tz::db::Error &e) {
            rep.failures << QStringLiteral("%1 %2: %3").arg(k->name(), key.toString(), e.userText());
        }
    }
    state.refresh();
    return rep;
}

bool writeTextList(Dataset &list, const QStringList &fields, const QString &path, QString *error)
{
    QVector<const tz::db::Field *> cols;
    for (const QString &name : fields)
        if (const tz::db::Field *f = list.findField(name))
            cols << f;
    QString text;
    for (const tz::db::Field *f : cols)
        text += f->label() + QLatin1Char(';');
    text += QLatin1String("\r\n");
    if (list.isOpen()) {
        const int n = list.recordCount();
        for (int i = 0; i < n; ++i) {
            for (const tz::db::Field *f : cols) {
                QString v = tz::db::Field::textOf(list.value(i, f->column()), f->type(), true);
                v.replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'));
                text += v + QLatin1Char(';');
            }
            text += QLatin1String("\r\n");
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(tz::encode(text, tz::CodePage::Cp1250)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Soubor %1 nelze zapsat: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace tz::app
