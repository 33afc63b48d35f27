#include "mainstate.h"
#include "accessoryrules.h"
#include "equipmentkinds.h"

namespace tz::app {

using namespace tz::db;

namespace {
const QString kVP = QString::fromUtf8("Vázací prostředky");
const QString kZZ = QString::fromUtf8("Zdvihací zařízení");
const QString kOsoby = QString::fromUtf8("Osoby");
const QString kOK = QString::fromUtf8("Ocelové konstrukce");
const QString kOPPP = QString::fromUtf8("OPPP");
} // namespace

MainState::MainState(TDM &dm) : m_dm(dm) {}

QStringList MainState::registerNames()
{
    return {kVP, kZZ, kOsoby, kOK, kOPPP};
}

int MainState::registerTag(const QString &name)
{
    return int(registerNames().indexOf(name)) + 1;
}

QString MainState::registerButtonCaption(const QString &name)
{
    if (name == kVP)
        return QString::fromUtf8("Vázací\nprostředky");
    if (name == kZZ)
        return QString::fromUtf8("Zdvihací\nzařízení");
    if (name == kOK)
        return QString::fromUtf8("Ocelové\nkonstrukce");
    return name;
}

Dataset *MainState::evidenceFor(const QString &reg) const
{
    if (reg == kVP)
        return &m_dm.Basic;
    if (reg == kZZ)
        return &m_dm.ZZ_Basic;
    if (reg == kOsoby)
        return hasKind() ? &m_dm.L_Basic1 : &m_dm.L_Basic;
    if (reg == kOK)
        return &m_dm.OK_basic;
    if (reg == kOPPP)
        return &m_dm.OP_Basic;
    return nullptr;
}

Dataset *MainState::planningFor(const QString &reg) const
{
    if (reg == kVP)
        return &m_dm.PlanRev;
    if (reg == kZZ)
        return &m_dm.PlanZZ;
    if (reg == kOsoby)
        return &m_dm.PlanL;
    if (reg == kOK)
        return &m_dm.PlanOK;
    if (reg == kOPPP)
        return &m_dm.PlanOP;
    return nullptr;
}

Dataset *MainState::kindTable(const QString &reg) const
{
    if (reg == kVP)
        return &m_dm.Druhy;
    if (reg == kZZ)
        return &m_dm.ZZ_Druhy;
    if (reg == kOsoby)
        return &m_dm.L_Funkce;
    if (reg == kOPPP)
        return &m_dm.OPDruhy;
    return nullptr;
}

QString MainState::planningSection() const
{
    if (m_register == kVP)
        return QStringLiteral("PlanRev");
    if (m_register == kZZ)
        return QStringLiteral("PlanZZ");
    if (m_register == kOsoby)
        return QStringLiteral("PlanL");
    if (m_register == kOK)
        return QStringLiteral("PlanOK");
    return {};
}

void MainState::setRegister(const QString &name)
{
    m_register = name;
    m_kind = name;
    m_kindLetter.clear();
}

void MainState::setKind(const QString &kindName)
{
    m_kind = kindName.isEmpty() ? m_register : kindName;
    if (m_kind == m_register)
        m_kindLetter.clear();
}

void MainState::setPage(Page p)
{
    m_page = p;
}

void MainState::setPlanDate(const QDate &d)
{
    m_planDate = d;
}

QVector<KindButton> MainState::kindButtons()
{
    QVector<KindButton> out;
    Dataset *t = kindTable(m_register);
    if (!t)
        return out;
    if (!t->isOpen())
        t->open();
    const bool oppp = m_register == kOPPP;
    static const char *opGlyphs[] = {"Iopt1", "Iopt2", "Iopt3", "zzC", "zzC"};
    int n = 0;
    for (t->first(); !t->eof() && n < 10; t->next(), ++n) {
        KindButton b;
        const QString name = t->field(oppp ? QStringLiteral("NAZEV") : QStringLiteral("Nazev"))->asString();
        b.hint = name;
        b.code = t->field(oppp ? QStringLiteral("TYP") : QStringLiteral("Druh"))->asString();
        if (oppp) {
            b.spacing = 1;
            b.caption = n == 2 ? QString::fromUtf8("Spojovací\nprostředek") : n == 4 ? QString::fromUtf8("Jistící\nsystém") : name;
            b.picture = n < 5 ? QString::fromLatin1(opGlyphs[n]) : QString();
        } else {
            const int z = t->field(QStringLiteral("z"))->asInteger();
            b.caption = name;
            if (z > 0 && z < name.size()) {
                b.caption = name.left(z) + QLatin1Char('\n') + name.mid(z);
                b.spacing = 1;
            }
            b.picture = t->field(QStringLiteral("obr"))->asString();
            if (const Field *e = t->findField(QStringLiteral("e")))
                b.enabled = e->isNull() || e->asInteger() != 0;
        }
        out.push_back(b);
    }
    return out;
}

void MainState::applyConditions()
{
    Dataset *ds = activeList();
    if (!ds)
        return;
    QStringList parts;
    for (auto it = m_conditions.cbegin(); it != m_conditions.cend(); ++it)
        if (!it.value().trimmed().isEmpty())
            parts << QLatin1Char('(') + it.value() + QLatin1Char(')');
    ds->setFiltered(false);
    ds->setFilter(parts.join(QStringLiteral(" and ")));
    ds->setFiltered(!parts.isEmpty());
}

void MainState::refresh(bool reread)
{
    m_conditions.clear();
    // evidence list
    Dataset *ev = evidenceFor(m_register);
    if (m_evidence && m_evidence != ev)
        m_evidence->close();
    m_evidence = ev;
    QString code;
    if (hasKind()) {
        if (Dataset *kt = kindTable(m_register)) {
            if (!kt->isOpen())
                kt->open();
            const QString nameField = m_register == kOPPP ? QStringLiteral("NAZEV") : QStringLiteral("Nazev");
            if (kt->locate(nameField, m_kind))
                code = kt->field(m_register == kOPPP ? QStringLiteral("TYP") : QStringLiteral("Druh"))->asString();
        }
    }
    if (ev) {
        const bool keep = !reread && ev->isOpen();
        if (m_register == kOsoby) {
            const bool sameFunction = !hasKind() || ev->param(QStringLiteral("_druh")).toString() == code;
            if (!keep || !sameFunction)
                ev->close();
            if (hasKind())
                ev->setParam(QStringLiteral("_druh"), code);
            ev->setFiltered(false);
            ev->setFilter(QString());
            ev->open();
        } else {
            if (!keep)
                ev->close();
            ev->setFiltered(false);
            ev->setFilter(QString());
            ev->open();
            if (hasKind() && !code.isEmpty()) {
                if (m_register == kOPPP) {
                    m_conditions.insert(QStringLiteral("Typ"), QStringLiteral("Typ='%1'").arg(code));
                    static const QHash<QChar, QString> letters = {{'J', "5"}, {'K', "1"}, {'O', "4"}, {'P', "2"}, {'S', "3"}};
                    m_kindLetter = m_kind.isEmpty() ? QString() : letters.value(m_kind.at(0).toUpper());
                } else {
                    m_conditions.insert(QStringLiteral("Druh"), QStringLiteral("Druh='%1'").arg(code));
                    m_kindLetter = code;
                }
                const Page keep = m_page;
                m_page = Page::Evidence;
                applyConditions();
                m_page = keep;
            }
        }
        if (m_register == kOsoby && hasKind())
            m_kindLetter = code;
    }
    // planning list
    if (m_page == Page::Planning) {
        Dataset *pl = planningFor(m_register);
        if (m_planning && m_planning != pl)
            m_planning->close();
        m_planning = pl;
        if (pl) {
            if (reread || pl->param(QStringLiteral("_Datum")).toDate() != m_planDate)
                pl->close();
            pl->setParam(QStringLiteral("_Datum"), m_planDate);
            pl->setFiltered(false);
            pl->setFilter(QString());
            if (hasKind() && !code.isEmpty() && (m_register == kVP || m_register == kZZ || m_register == kOsoby)) {
                pl->setFilter(QStringLiteral("Druh='%1'").arg(code));
                pl->setFiltered(true);
            }
            pl->open();
        }
        m_conditions.clear(); // the planning store holds only conditions made there
    }
    m_dm.currentKind = m_kindLetter;
}

int MainState::recordCount() const
{
    return m_evidence && m_evidence->isOpen() ? m_evidence->recordCount() : 0;
}

bool MainState::hasRows() const
{
    return m_evidence && m_evidence->isOpen() && !m_evidence->isEmpty();
}

bool MainState::canAdd() const
{
    if (m_dm.selectedCompany() == 999 || !m_evidence)
        return false;
    if (m_register == kOsoby || m_register == kOK)
        return true;
    return hasKind();
}

QString accessoryFormClass(const QString &kindLetter)
{
    const tz::acc::AccessoryKind *k = tz::acc::kindByLetter(kindLetter);
    return k ? k->formClass : QString();
}

QString equipmentFormClass(const QString &kindLetter)
{
    const tz::eq::EquipmentKind *k = tz::eq::equipmentKindByLetter(kindLetter);
    return k ? k->formClass : QString();
}

std::optional<OpenTarget> MainState::prepareOpen()
{
    Dataset *ev = m_evidence;
    if (!ev || !ev->isOpen() || ev->isEmpty() || ev->recNo() < 0)
        return std::nullopt;
    OpenTarget t;
    const bool persons = m_register == kOsoby;
    t.keyField = persons ? QStringLiteral("Os_id") : QStringLiteral("Poradi");
    t.key = ev->field(t.keyField)->value();
    if (m_register == kVP) {
        t.reg = Register::Accessories;
        t.kind = ev->field(QStringLiteral("Druh"))->asString();
        t.formClass = accessoryFormClass(t.kind);
        t.editSet = &m_dm.BasicView;
        if (t.formClass.isEmpty())
            return std::nullopt;
        m_dm.loadTypy(t.kind);
        m_kindLetter = t.kind;
    } else if (m_register == kZZ) {
        t.reg = Register::Equipment;
        t.kind = ev->field(QStringLiteral("Druh"))->asString();
        t.formClass = equipmentFormClass(t.kind);
        t.editSet = &m_dm.ZZBasicView;
        if (t.formClass.isEmpty())
            return std::nullopt;
        m_dm.ZZBasicView.close();
        m_dm.ZZBasicView.setParam(QStringLiteral("_firma"), m_dm.ZZ_Basic.param(QStringLiteral("_firma")));
        m_dm.ZZBasicView.setParam(QStringLiteral("_firma2"), m_dm.ZZ_Basic.param(QStringLiteral("_firma2")));
        m_kindLetter = t.kind;
    } else if (persons) {
        t.reg = Register::Persons;
        t.formClass = QStringLiteral("TfLide");
        t.editSet = &m_dm.LBasicView;
    } else if (m_register == kOK) {
        t.reg = Register::Constructions;
        t.formClass = QStringLiteral("TFKonstrukce");
        t.editSet = &m_dm.OKBasicView;
    } else if (m_register == kOPPP) {
        t.reg = Register::FallProtection;
        t.kind = ev->field(QStringLiteral("Typ"))->asString();
        t.formClass = t.kind == QLatin1String("5") ? QStringLiteral("TFJistici") : QStringLiteral("TFPostroje");
        t.editSet = &m_dm.OPBasicWiew;
    } else {
        return std::nullopt;
    }
    m_dm.currentKind = m_kindLetter;
    // the row may have been removed meanwhile (here or at another workstation)
    const QString table = t.editSet->updateTable();
    if (m_dm.db()->scalar(QStringLiteral("select count(*) from %1 where %2 = :k").arg(table, t.keyField),
                          Params{{"k", t.key}}).toInt() == 0)
        return std::nullopt;
    if (!t.editSet->isOpen())
        t.editSet->open();
    if (!t.editSet->locate(t.keyField, t.key)) {
        // added meanwhile: the set is read again
        t.editSet->refresh();
        if (!t.editSet->locate(t.keyField, t.key))
            return std::nullopt;
    }
    if (m_dm.LZarazeniView.master() && persons && !m_dm.LZarazeniView.isOpen())
        m_dm.LZarazeniView.open();
    return t;
}

void MainState::returnToRow(const OpenTarget &t)
{
    if (!m_evidence)
        return;
    const QString filter = m_evidence->filter();
    const bool filtered = m_evidence->isFiltered();
    m_evidence->close();
    m_evidence->open();
    if (filtered) {
        m_evidence->setFilter(filter);
        m_evidence->setFiltered(true);
    }
    m_evidence->locate(t.keyField, t.key);
}

} // namespace tz::app
