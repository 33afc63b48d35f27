#pragma once
// Standard pictures of the program, from the picture library beside the program.
#include <QImage>
#include <QString>

namespace tz::gui {

// Loads the library once; false when it cannot be found.
bool pictureLibraryAvailable();
// The picture of a name (any letter case); null when the library or the name is missing.
QImage standardPicture(const QString &name);
// The message for a missing library.
QString missingLibraryText();

} // namespace tz::gui
