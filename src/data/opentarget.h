#pragma once
// A row to be opened in its record form: the register, the form class that
// shows it, the editing set positioned on it and its key.
#include "dataset.h"
#include "deletion.h"

#include <QString>
#include <QVariant>

namespace tz::db {

struct OpenTarget
{
    Register reg;
    QString formClass;          // e.g. "TfVazaciRetez"
    Dataset *editSet = nullptr;
    QString keyField;           // "Poradi" or "Os_id"
    QVariant key;
    QString kind;               // kind letter or type of the row
};

} // namespace tz::db
