#pragma once
// The evidence card of a lifting accessory: one form for the six kinds, each
// kind's differences taken from its entry in the kind table.
#include "accessoryrules.h"
#include "databinding.h"

#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QFrame;
class QGroupBox;
class QScrollArea;
class QTableView;
class QToolButton;
class QPushButton;
class QComboBox;
class QButtonGroup;
class QGridLayout;

namespace tz::gui {
class DatasetModel;
}

namespace tz::acc {

class THistoryWindow;

class TfVazaci : public QDialog
{
    Q_OBJECT
public:
    TfVazaci(tz::db::TDM &dm, const AccessoryKind &kind, QWidget *parent = nullptr);
    ~TfVazaci() override;

    const AccessoryKind &kind() const { return m_kind; }
    tz::db::TDM &dataModule() { return m_dm; }
    tz::gui::FieldBinder &binder() { return m_binder; }

    // Event handlers.
    void FormShow();
    void OkbtnClick();
    void CancelbtnClick();
    void TypeButtonClick(int typ);
    void DatVyrExit();
    void PosledniExit(const Schedule &s);
    void PrubehrevClick();
    void ZmenitObrazekClick(const QString &file = {});   // empty: a file dialog asks
    void VratitObrazekClick();
    void nosnosti();

    // Name of the standard picture shown now (empty when none), and the picture.
    QString pictureName() const { return m_pictureName; }
    QImage shownPicture() const { return m_shownPicture; }
    QLabel *pictureLabel() const { return m_picture; }
    QWidget *typePanel() const;
    QWidget *historyPanel() const;
    QToolButton *typeButton(int typ) const;
    QWidget *fieldWidget(const QString &field) const { return m_binder.widgetOf(field); }
    // Leaves a field as the user does: its value into the row and what follows.
    void leaveField(const QString &field);

    // Opens the history window modally; tests replace it to answer the window.
    std::function<int(THistoryWindow &)> execHistory;
    // Prints the evidence card (tag 10 previews); installed by the program.
    static std::function<void(TfVazaci &, bool preview)> &cardPrinter();
    // Prints one inspection's protocol from the history window.
    static std::function<void(TfVazaci &, THistoryWindow &, int tag)> &protocolPrinter();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    QWidget *buildTypePanel();
    QWidget *buildFields();
    QWidget *buildPicture();
    QWidget *buildHistory();
    QWidget *addField(QGridLayout *g, int row, int col, const QString &label, const QString &field, QWidget *w = nullptr,
                      const QString &hint = {});
    QComboBox *addCodeCombo(QGridLayout *g, int row, int col, const QString &label, const QString &field, int tag);
    void loadRecord();
    void refreshPicture();
    void fieldLeft(QWidget *w);
    void afterFieldChange(const QString &field);
    void runLookup(int trigger);
    void loadMaterial();
    bool commitAll();
    bool inserting() const;
    void showHistoryRows();
    void saveHandoverPicture();
    // Shows the history window modally over the card, then its rows in the card.
    void runHistoryWindow(bool partner);
    // After the history window: a stored inspection newer than the card's last
    // date is offered as the last date (Yes/No).
    void offerNewerInspections();
    void showPictureFrame(bool withPicture);

    tz::db::TDM &m_dm;
    const AccessoryKind &m_kind;
    tz::db::Dataset &m_ds;
    tz::gui::FieldBinder m_binder;
    InspectionRecorder m_recorder;
    QLabel *m_picture = nullptr;
    QFrame *m_typePanel = nullptr;
    QGroupBox *m_history = nullptr;
    QScrollArea *m_scroll = nullptr;
    QTableView *m_historyGrid = nullptr;
    tz::gui::DatasetModel *m_historyModel = nullptr;
    QButtonGroup *m_material = nullptr;
    QVector<QToolButton *> m_typeButtons;
    QString m_pictureName;
    QImage m_shownPicture;
    bool m_shownOnce = false;
    bool m_inFieldLeft = false;
    bool m_closing = false;
};

// Prints (tag 10: previews) the protocol of the history window's current row.
void printInspectionProtocol(TfVazaci &card, THistoryWindow &window, int tag);

// Registers the six cards under their form class names.
void registerAccessoryForms();

} // namespace tz::acc
