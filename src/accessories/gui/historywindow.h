#pragma once
// The inspection history of one accessory: the standard window (TFPrubeh, on
// PrubehRev) and the partner variant (TFPrubeh_rov, on Prubeh_rov) with
// protocol numbers, test currents, thicknesses and the price.
#include "databinding.h"
#include "datamodule.h"

#include <QDialog>
#include <functional>

class QTableView;
class QPushButton;
class QButtonGroup;
class QComboBox;
class QCheckBox;
class QVBoxLayout;

namespace tz::gui {
class DatasetModel;
}

namespace tz::acc {

class THistoryWindow : public QDialog
{
    Q_OBJECT
public:
    THistoryWindow(tz::db::TDM &dm, bool partner, QWidget *parent = nullptr);
    ~THistoryWindow() override;

    tz::db::Dataset &history() { return *m_ds; }
    bool isPartner() const { return m_partner; }

    // Prints one inspection's protocol (tag 10 previews, others print); the
    // card installs it. Without it the buttons say that no report is available.
    std::function<void(int tag)> printProtocol;

    void NovaRevizeClick();
    void OdstranitClick();
    void OkClick();
    void ZrusitClick();
    void DopocitatClick();   // partner: currents, thicknesses and price
    // The current row's edits into the row and the row stored; false with the
    // message shown when a value is bad or the engine refuses.
    bool postPending();
    // The edits into the row (editing it when a value changed); no post.
    bool commitEdits();

    QTableView *grid() const { return m_grid; }
    QPushButton *button(const QString &name) const;
    tz::gui::FieldBinder &binder() { return m_binder; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void reject() override;

private:
    void buildGrid(QVBoxLayout *lay);
    void buildButtons(QVBoxLayout *lay);
    void buildStandard();
    void buildPartner();
    QWidget *buildHeader();
    void loadRow();
    void rowChosen(int row);
    void updatePrintButtons();
    void fillCombo(QComboBox *c, const QString &sql, bool preselectFirst);

    tz::db::TDM &m_dm;
    bool m_partner;
    tz::db::Dataset *m_ds;
    tz::gui::FieldBinder m_binder;
    tz::gui::DatasetModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QButtonGroup *m_typ = nullptr, *m_vysledek = nullptr;
    QCheckBox *m_benzin = nullptr, *m_voda = nullptr;
    bool m_loading = false;
    bool m_closing = false;
};

} // namespace tz::acc
