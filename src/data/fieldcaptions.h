#pragma once
// Czech captions of the tables' columns, for list titles and messages.
#include <QString>

namespace tz::db {

// The caption of a column ("DAT_VYROBY" -> "Datum výroby"); a column without
// an entry reads as lower-case words ("Nova_Hodnota" -> "Nova hodnota").
QString fieldCaption(const QString &name);
// True when the column has an entry of its own.
bool hasFieldCaption(const QString &name);

} // namespace tz::db
