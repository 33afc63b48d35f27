#pragma once
// The record of one equipment inspection (TFZZRevize, "Průběh revizí"): its
// date, validity and protocol number, the checklist copied from the protocol
// template, the conclusion with the defects, the technician and the note; and
// the overview of all inspections of the item. The window edits the row of
// the data module's zz_revize; the checklist input is stored at once.
#include "../equipmentcard.h"
#include "databinding.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QTableWidget;

namespace tz::eq {

class TFZZRevize : public QDialog
{
    Q_OBJECT
public:
    // The window on the inspection `inspectionId`: the data module's zz_revize
    // is placed on it (read again when the row is not there yet, the item set
    // ZZBasicView moved to the inspection's item when it is not editing
    // another one). isValid() tells whether the inspection was found.
    TFZZRevize(tz::db::TDM &dm, int inspectionId, QWidget *parent = nullptr);
    ~TFZZRevize() override;

    bool isValid() const { return m_valid; }

    // Event handlers.
    void FormShow();
    void _040SpeedButton21Click(); // "OK": the edits stored, result 1
    void _097SpeedButton22Click(); // "Zrušit": the edits dropped, result 2
    void SpeedButton2Click();      // "Zobrazit přehled revizí" / "Zobrazit detail revize"
    void DbGridVamel1DblClick();   // an inspection of the overview opened in the detail
    void SpeedButton1Click();      // "Zjištěné závady ...", then the conclusion from the defects
    void DBEdit32Exit();           // leaving "Datum ": the validity
    void DBComboBox4MouseDown();   // right button on "Revizi provedl:": the technician's window
    void SpeedButton3Click();      // "+": a new technician

    // Checklist controls by item number: the yes/no choice ("V_"), the value
    // ("C_") and the text ("Mem_"); leaving one stores it when it changed.
    void V_Exit(int polozka);
    void C_Exit(int polozka);
    void M_Exit(int polozka);
    // Stores every checklist control that differs from what it showed on entering.
    void storeChecklist();

    tz::gui::FieldBinder &binder() { return m_binder; }
    QWidget *fieldWidget(const QString &field) const { return m_binder.widgetOf(field); }
    QComboBox *fitBox() const { return m_zpusobile; }       // "je" / "není"
    QComboBox *safeWorkBox() const { return m_bezpprace; }  // "má" / "nemá"
    QComboBox *technicianBox() const { return m_provedl; }
    QLabel *heading() const { return m_heading; }
    QWidget *checklistArea() const;
    QTableWidget *overviewGrid() const { return m_overview; }
    bool showsOverview() const;
    int inspectionId() const { return m_id; }
    QPushButton *button(const QString &name) const;

    // Opens the defects window modally; tests replace it to answer the window.
    std::function<void(QDialog &)> execDefects;
    // Opens the technician window modally; tests replace it to answer it.
    std::function<int(QDialog &)> execTechnician;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void reject() override;

private:
    struct Control
    {
        int polozka = 0;
        QButtonGroup *yesNo = nullptr;
        QLineEdit *value = nullptr;
        QPlainTextEdit *text = nullptr;
        int shownChoice = -1; // 0 "ano", 1 "ne"
        QString shownValue, shownText;
    };

    bool locateInspection(int id);
    QWidget *buildHeader();
    QWidget *buildDetail();
    QWidget *buildConclusion();
    QWidget *buildOverview();
    void buildChecklist();
    void loadRow();
    void loadChoices();
    void loadTechnicians();
    void fillOverview();
    void setCaptionByKind();
    bool commitEdits();
    bool storeChoices();
    void openTechnician(bool newRow);
    Control *controlOf(int polozka);
    void writeChecklist(Control &c, int what);

    tz::db::TDM &m_dm;
    EquipmentCardRules m_rules;
    tz::gui::FieldBinder m_binder;
    int m_id = 0;
    bool m_valid = false;
    QVector<Control> m_controls;
    QStackedWidget *m_pages = nullptr;
    QScrollArea *m_checklist = nullptr;
    QLabel *m_heading = nullptr;
    QComboBox *m_zpusobile = nullptr, *m_bezpprace = nullptr, *m_provedl = nullptr;
    QTableWidget *m_overview = nullptr;
    QPushButton *m_toggle = nullptr;
    QString m_shownDate;
    bool m_closing = false;
};

// Installs the inspection window as the one the equipment card opens.
void registerInspectionWindows();

} // namespace tz::eq
