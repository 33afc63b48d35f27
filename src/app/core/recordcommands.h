#pragma once
// The command bar of the evidence page without its widgets: a new item, a copy
// of the selected item, removing the selected item or every item shown, and the
// shown list as a text file.
#include "mainstate.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tz::app {

// Puts the register's editing set into insert state with the new item's values
// (the data module's defaults, the kind, and for accessories the owner and the
// class) and tells which form edits it. Nothing when no item can be added (all
// companies shown, no kind chosen) or the kind has no form. Engine errors
// propagate as tz::db::Error.
std::optional<OpenTarget> prepareNewItem(MainState &state);

enum class CopyResult { Prepared, NotSupported, NoRow };
// Puts the editing set into insert state with a copy of the selected row of
// the evidence list (accessories and equipment). Registration, serial and
// inventory numbers, inspection dates of accessories, note and company are not
// copied; with all companies shown the copy keeps the company of its source.
CopyResult prepareCopy(MainState &state, OpenTarget *target);

// The key of the selected row of the evidence list; invalid when there is none.
QVariant selectedKey(MainState &state, tz::db::Register *reg = nullptr);

struct RemovalReport
{
    int removed = 0;
    QStringList failures;   // one line per item that could not be removed
    QString summary() const;
};
// Removes every item shown in the evidence list (filter and kind as shown),
// each with its dependent rows in a transaction of its own; a failing item is
// reported and the rest go on. The list is read again afterwards.
RemovalReport removeShown(MainState &state);

// The shown list as text: the titles of the given fields, then every row of
// the list from the first, each value followed by ";", lines ending in CR LF,
// in Windows-1250. False with the reason when the file cannot be written.
bool writeTextList(tz::db::Dataset &list, const QStringList &fields, const QString &path, QString *error);

} // namespace tz::app
