#pragma once
// The list shown on a page of the main window, as a spreadsheet list document.
#include "dataset.h"
#include "datamodule.h"
#include "listexport.h"

#include <QStringList>

namespace tz::app {

// The document of a list: its title by register and page, the user
// organisation's name and logo, the titles of the given fields (grid order; empty:
// the visible fields in their positions) and every row that passes the filter,
// with texts as texts and numbers and dates typed.
tz::ListDocument listDocument(tz::db::TDM &dm, tz::db::Dataset &list, const QString &registerName, bool planning,
                              const QStringList &fields = {});

} // namespace tz::app
