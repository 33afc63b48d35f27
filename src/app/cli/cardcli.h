#pragma once
// "tavozz-cli card": the evidence card of one lifting accessory into a PDF
// file, with the definition, data, pictures and parameters the card's
// "Tisk evid. karty" uses.
#include <QStringList>
#include <QTextStream>

namespace tz::app {

extern const char *const kCardUsage;

// card DIR PORADI --out FILE.pdf
// Returns the exit code: 0 written, 1 no such accessory or the report or file
// failed, 2 wrong arguments (an ArgumentError is thrown for those).
int cardCli(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace tz::app
