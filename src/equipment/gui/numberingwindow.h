#pragma once
// The protocol numbering settings (TFCislaProt: the fixed texts before and
// after the running number of each inspection kind) and the technician window
// (TFRTech: one row of the technicians, edited in place).
#include "databinding.h"
#include "datamodule.h"

#include <QDialog>

class QLineEdit;

namespace tz::eq {

// "Nastavení číslování protokolů".
class TFCislaProt : public QDialog
{
    Q_OBJECT
public:
    explicit TFCislaProt(tz::db::Database &db, QWidget *parent = nullptr);

    void FormShow();          // the settings read again
    void SpeedButton1Click(); // "OK": stores the texts, result 1
    void SpeedButton2Click(); // "Zrušit": result 2

    // The text boxes by settings field: Rpred, RZa, IPred, IZa, RZPred, RZZa.
    QLineEdit *textBox(const QString &field) const;

protected:
    void reject() override;

private:
    tz::db::Database &m_db;
};

// "Revizní technik": the current row of the data module's RTech (browsing,
// editing or a new row).
class TFRTech : public QDialog
{
    Q_OBJECT
public:
    explicit TFRTech(tz::db::TDM &dm, QWidget *parent = nullptr);

    void SpeedButton1Click(); // "OK": stores the row, result 1
    void SpeedButton2Click(); // "Zrušit": drops the edits (a new row too), result 2
    void OdstranitClick();    // "Odstranit technika": removes a stored technician, result 3

    tz::gui::FieldBinder &binder() { return m_binder; }
    QLineEdit *textBox(const QString &field) const;

protected:
    void reject() override;

private:
    tz::db::TDM &m_dm;
    tz::gui::FieldBinder m_binder;
};

} // namespace tz::eq
