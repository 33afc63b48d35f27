#pragma once
// The state and rules of the main window without its widgets: the register and
// kind shown, evidence or planning page, the lists they open, the kind buttons
// and which commands are available.
#include "datamodule.h"
#include "deletion.h"
#include "opentarget.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

namespace tz::app {

enum class Page { Evidence, Planning };

struct KindButton
{
    QString caption;   // with "\n" where the caption breaks
    QString hint;      // the kind's full name
    QString picture;   // picture library name of the glyph
    QString code;      // kind code
    bool enabled = true;
    int spacing = 5;
};

// What opening a row of the evidence list leads to.
using OpenTarget = tz::db::OpenTarget;

// Form class of an accessory kind letter ("TfVazaciRetez" for "R"), of an
// equipment kind letter ("TfZdvihaciMost" for "1"); empty for an unknown letter.
QString accessoryFormClass(const QString &kindLetter);
QString equipmentFormClass(const QString &kindLetter);

class MainState
{
public:
    explicit MainState(tz::db::TDM &dm);

    static QStringList registerNames();
    static int registerTag(const QString &name); // 1..5, 0 for an unknown name
    static QString registerButtonCaption(const QString &name);

    QString registerName() const { return m_register; }
    QString kindName() const { return m_kind; }
    QString kindLetter() const { return m_kindLetter; }
    bool hasKind() const { return !m_kind.isEmpty() && m_kind != m_register; }
    Page page() const { return m_page; }
    QDate planDate() const { return m_planDate; }

    // A register (by name); an unknown name shows nothing.
    void setRegister(const QString &name);
    // A kind by its full name (the button's hint); the register name clears it.
    void setKind(const QString &kindName);
    void setPage(Page p);
    void setPlanDate(const QDate &d);

    // Kind buttons of the current register (at most ten).
    QVector<KindButton> kindButtons();

    // Opens the lists for the current state (the evidence list, and the planning
    // list on the planning page). With `reread` false a list that is open already
    // is only filtered again (a change of kind), not read again from the engine.
    // Engine errors propagate as tz::db::Error.
    void refresh(bool reread = true);

    tz::db::Dataset *evidenceList() const { return m_evidence; }
    tz::db::Dataset *planningList() const { return m_planning; }
    tz::db::Dataset *activeList() const { return m_page == Page::Evidence ? m_evidence : m_planning; }
    // Name of the planning section of the settings file ("PlanRev"...); empty for fall protection.
    QString planningSection() const;

    // Column conditions of the shown list (one per field), joined into its filter.
    QMap<QString, QString> &conditions() { return m_conditions; }
    // Applies the conditions as the active list's filter ("(a) and (b)"); none switches filtering off.
    void applyConditions();

    int recordCount() const;
    bool canAdd() const;
    bool hasRows() const;
    bool cardPrintVisible() const { return m_register == QString::fromUtf8("Vázací prostředky"); }
    bool massInspectionVisible() const { return m_page == Page::Planning && m_planning == &m_dm.PlanRev; }
    bool trainingVisible() const { return m_page == Page::Planning && m_planning == &m_dm.PlanL; }

    // Positions the editing set on the current row of the evidence list and says
    // which form to open; nothing when the list is empty, the kind is unknown or
    // the row no longer exists.
    std::optional<OpenTarget> prepareOpen();
    // After the form: the list read again and back on the same key.
    void returnToRow(const OpenTarget &t);

    tz::db::TDM &dm() { return m_dm; }

private:
    tz::db::Dataset *evidenceFor(const QString &reg) const;
    tz::db::Dataset *planningFor(const QString &reg) const;
    tz::db::Dataset *kindTable(const QString &reg) const;

    tz::db::TDM &m_dm;
    QString m_register;
    QString m_kind;
    QString m_kindLetter;
    Page m_page = Page::Evidence;
    QDate m_planDate = QDate::currentDate();
    tz::db::Dataset *m_evidence = nullptr;
    tz::db::Dataset *m_planning = nullptr;
    QMap<QString, QString> m_conditions;
};

} // namespace tz::app
