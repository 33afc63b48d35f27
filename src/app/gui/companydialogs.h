#pragma once
// The company choice at start and the company form.
#include "databinding.h"
#include "datamodule.h"

#include <QDialog>

class QTableView;

namespace tz::gui {
class DatasetModel;
}

namespace tz::gui {

// "Firma / Majitel zařízení": edits the current row of the data module's Firmy.
class TFFirma : public QDialog
{
    Q_OBJECT
public:
    TFFirma(tz::db::TDM &dm, QWidget *parent = nullptr);
    void OKClick();
    void ZrusitClick();

private:
    tz::db::TDM &m_dm;
    FieldBinder m_binder;
};

// "Pro firmu": the list of companies with the choice of one, all, or none.
class TFSelFirma : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { Open, All, Cancel };
    TFSelFirma(tz::db::TDM &dm, QWidget *parent = nullptr);
    ~TFSelFirma() override;

    Choice choice() const { return m_choice; }
    int selectedCompany() const { return m_pcfir; }
    QTableView *list() const { return m_view; }

    void PridatClick();
    void OpravitClick();
    void SmazatClick();
    void VseClick();
    void OtevritClick();
    void StornoClick();
    // Moves the list to a company (for tests and for returning after an edit).
    bool selectCompany(int pcfir);

protected:
    void reject() override;

private:
    int currentPcfir() const;
    void reopenList(int keep);

    tz::db::TDM &m_dm;
    tz::gui::DatasetModel *m_model;
    QTableView *m_view;
    Choice m_choice = Choice::Cancel;
    int m_pcfir = 0;
};

} // namespace tz::gui
