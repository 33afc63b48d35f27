#pragma once
// The report engine's windows for a program with widgets: message boxes, the
// progress window "Informace", the preview window and printing.
//
//   QApplication app(argc, argv);
//   tz::rep::gui::installReportWindows();   // once, before the first report runs
//
// After this, TSestava::Preview() opens the preview window, Print() prints on
// the default printer (or says that none is installed), every message of the
// engine is a message box, and long runs show "Informace" with "Přerušit".
#include "previewwindow.h"
#include "printing.h"

namespace tz::rep::gui {

void installReportWindows();

// The message box the engine shows for a message (questions: "Ano"/"Ne").
bool messageBox(MessageKind kind, const QString &caption, const QString &text);

} // namespace tz::rep::gui
