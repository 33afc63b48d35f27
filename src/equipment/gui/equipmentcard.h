#pragma once
// The evidence card of an item of lifting equipment: one form for the nine
// kinds, each kind's differences (fields, captions, pick lists, picture, hoist
// blocks) taken from its entry in the kind table. The rules of the dates,
// intervals, classification and of recording inspections are those of
// EquipmentCardRules; the card only shows them and calls them from its
// handlers.
#include "../equipmentcard.h"
#include "databinding.h"
#include "equipmentkinds.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QImage>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTableView;

namespace tz::eq {

// The note window "Poznámky ": edits the note of the card that opened it.
class TFPoznamka : public QDialog
{
    Q_OBJECT
public:
    TFPoznamka(const QString &text, QWidget *parent = nullptr);
    QString text() const;
    QPlainTextEdit *memo() const { return m_memo; }
    void OkClick();       // keeps the text, result 1
    void ZrusitClick();   // the text as it was shown, result 2

protected:
    void reject() override;

private:
    QPlainTextEdit *m_memo = nullptr;
    QString m_remembered;
};

// The card's history grid: the item's inspections as read when it was filled.
class InspectionHistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    // Reads every row of the item's inspections (zz_revize).
    void reload(tz::db::Dataset &inspections);
    int inspectionAt(int row) const;
    int rowOf(int inspectionId) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        int id = 0;
        QStringList texts;
    };
    QVector<Row> m_rows;
};

class TfZdvihaci : public QDialog
{
    Q_OBJECT
public:
    TfZdvihaci(tz::db::TDM &dm, const EquipmentKind &kind, QWidget *parent = nullptr);
    ~TfZdvihaci() override;

    // The inspection window, installed by the program: shown modally for the
    // inspection `inspectionId` (zz_revize.iD), which the data module's
    // zz_revize stands on. Called after a changed last date recorded an
    // inspection and when a row of the history is opened. Empty: nothing opens.
    static std::function<void(tz::db::TDM &dm, int inspectionId, QWidget *parent)> &inspectionWindow();

    const EquipmentKind &kind() const { return m_kind; }
    EquipmentCardRules &rules() { return m_rules; }
    tz::gui::FieldBinder &binder() { return m_binder; }
    QWidget *fieldWidget(const QString &field) const { return m_binder.widgetOf(field); }
    // The label shown before a field's edit (null when the card does not show the field).
    QLabel *labelOf(const QString &field) const;
    // Enters and leaves a field as the user does: what entering remembers, then
    // the value into the row and what leaving it does.
    void enterField(const QString &field);
    void leaveField(const QString &field);

    // Event handlers.
    void FormShow();
    void _040SpeedButton21Click();   // "OK"
    void _097SpeedButton22Click();   // "Zrušit"
    void ZobrazZdvihadla();
    void ZmenPocetZdvihadel();
    void RadioGroupChange(int block);   // hoist type of block 1, 2, 3
    void DBMemo2DblClick();              // the note window
    void _113Nastobrzek1Click(const QString &file = {});   // "Změnit obrázek"; empty: a file dialog asks
    void _123Vrtitstandartnobrzek1Click();                  // "Vrátit standartní obrázek"
    void SubKindChange();                // a sub-kind chosen from the list
    void DbGridVamel1DblClick();         // opens the selected inspection
    void SpeedButton4Click();            // deletes the selected inspection

    QString pictureName() const { return m_pictureName; }
    QImage shownPicture() const { return m_shownPicture; }
    QLabel *pictureLabel() const { return m_picture; }
    QGroupBox *hoistBlock(int block) const;   // 1 .. 3; null when the card has fewer
    int shownHoistBlockCount() const;
    QTableView *historyGrid() const { return m_historyGrid; }
    InspectionHistoryModel *historyModel() const { return m_historyModel; }
    void reloadHistory();

    // Opens the note window modally; tests replace it to answer the window.
    std::function<int(TFPoznamka &)> execNote;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    struct Hoist
    {
        QGroupBox *box = nullptr;
        QRadioButton *rope = nullptr;
        QRadioButton *chain = nullptr;
        QLabel *diameter = nullptr;
        QLabel *length = nullptr;
        QString typeField;
    };

    QWidget *buildFields();
    QWidget *buildIdentification();
    QWidget *buildOperation();
    QWidget *buildDates();
    QWidget *buildHoists();
    QWidget *buildHistory();
    QWidget *bindField(const QString &field, const QString &label, QWidget *w = nullptr, const QString &hint = {});
    QComboBox *pickList(const QString &field, const QStringList &items, bool listOnly);
    void loadRecord();
    void loadHoistTypes();
    void refreshPicture();
    void showPictureFrame(bool withPicture);
    void fieldEntered(QWidget *w);
    void fieldLeft(QWidget *w);
    void afterFieldLeft(const QString &field, bool changed);
    void reloadDates();
    void reloadFields(const QStringList &fields);
    bool commitAll();
    void openInspection(int id);
    int selectedInspection() const;
    void saveHandoverPicture();

    tz::db::TDM &m_dm;
    const EquipmentKind &m_kind;
    tz::db::Dataset &m_ds;
    tz::gui::FieldBinder m_binder;
    EquipmentCardRules m_rules;
    QMap<QString, QLabel *> m_labels;
    QLabel *m_picture = nullptr;
    QScrollArea *m_scroll = nullptr;
    QCheckBox *m_showHoists = nullptr;
    QComboBox *m_hoistCount = nullptr;
    QVector<Hoist> m_hoists;
    QTableView *m_historyGrid = nullptr;
    InspectionHistoryModel *m_historyModel = nullptr;
    QPlainTextEdit *m_note = nullptr;
    QString m_pictureName;
    QImage m_shownPicture;
    bool m_shownOnce = false;
    bool m_inFieldLeft = false;
    bool m_closing = false;
};

// Registers the nine cards under their form class names.
void registerEquipmentForms();

} // namespace tz::eq
