#pragma once
// Standard pictures of the program, from the picture library beside the program.
#include "dataset.h"

#include <QImage>
#include <QString>

class QWidget;

namespace tz::gui {

// Loads the library once; false when it cannot be found.
bool pictureLibraryAvailable();
// The picture of a name (any letter case); null when the library or the name is missing.
QImage standardPicture(const QString &name);
// The message for a missing library.
QString missingLibraryText();

// "Změnit obrázek" of a card: the picture file (asked for in the program
// folder's "galerie" when `file` is empty) into the row's own picture field
// `Pict`, the row put into edit state. The program folder stays the current
// directory. False when nothing was chosen or the file cannot be read or is no
// picture (the message naming the file shown); the row is then unchanged.
bool chooseOwnPicture(QWidget *parent, tz::db::Dataset &ds, const QString &file = {});

} // namespace tz::gui
