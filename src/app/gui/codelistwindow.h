#pragma once
// "Číselník": one auxiliary code list of the data module's PomCis, with the
// removal and the renaming of a value (a rename reaches every record that
// holds the old value).
#include "datamodule.h"

#include <QDialog>
#include <functional>

class QLabel;
class QTableView;

namespace tz::gui {
class DatasetModel;
}

namespace tz::gui {

class TFPomCiselnik : public QDialog
{
    Q_OBJECT
public:
    explicit TFPomCiselnik(tz::db::TDM &dm, QWidget *parent = nullptr);
    ~TFPomCiselnik() override;

    // Shows the list of a type under its heading (PomCis reopened with _typ).
    void openList(QChar typ, const QString &heading);
    QChar listType() const { return m_typ; }

    void OdstranitClick();
    void ZmenitClick();
    void OKClick();

    // The value of the selected row; empty when there is none.
    QString currentValue() const;
    bool selectValue(const QString &value);
    QLabel *heading() const { return m_heading; }
    QTableView *grid() const { return m_grid; }

    // Asks for the new value; gives the old one when the user cancels.
    // Tests replace it.
    std::function<QString(QWidget *parent, const QString &title, const QString &prompt, const QString &value)> input;

private:
    void reopen(const QString &keep);

    tz::db::TDM &m_dm;
    QChar m_typ;
    QLabel *m_heading = nullptr;
    QTableView *m_grid = nullptr;
    tz::gui::DatasetModel *m_model = nullptr;
};

} // namespace tz::gui
