#pragma once
// tavozz-cli equipment: due dates, default intervals and inspection records of
// the lifting equipment register from the command line.
#include <QStringList>
#include <QTextStream>

namespace tz::app {

extern const char *const kEquipmentUsage;

// Runs "equipment next|intervals|inspect ..." (the arguments after
// "equipment"); gives the exit code: 0 done, 1 nothing done or a database
// error, 2 wrong arguments.
int equipmentCli(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace tz::app
