#pragma once
// Record forms by class name. A register whose own card is registered opens it;
// any other opens the general card, which edits every stored field of the row.
#include "databinding.h"
#include "datamodule.h"
#include "opentarget.h"

#include <QDialog>
#include <functional>

namespace tz::gui {

using RecordFormFactory = std::function<QDialog *(tz::db::TDM &dm, const tz::db::OpenTarget &target, bool inserting, QWidget *parent)>;

void registerRecordForm(const QString &formClass, RecordFormFactory factory);
// The form for a class name, the general card when none is registered.
QDialog *createRecordForm(const QString &formClass, tz::db::TDM &dm, const tz::db::OpenTarget &target, bool inserting,
                          QWidget *parent);

// The general card: every stored field of the editing set's current row.
class TGeneralCard : public QDialog
{
    Q_OBJECT
public:
    TGeneralCard(tz::db::Dataset *ds, const QString &caption, QWidget *parent = nullptr);
    void OkbtnClick();
    void CancelbtnClick();

protected:
    void reject() override;

private:
    tz::db::Dataset *m_ds;
    FieldBinder m_binder;
};

} // namespace tz::gui
