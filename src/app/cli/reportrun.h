#pragma once
// "tavozz-cli report run": a report definition over a query of a data directory,
// written to a file.
#include <QStringList>
#include <QTextStream>

namespace tz::app {

// report run FILE.pts --data DIR --sql "select ..." [--param TEXT]...
//            --format pdf|html|txt|rtf|svg --out PATH [--codepage ascii|cp867|cp852|cp1250]
// Returns the exit code: 0 written, 1 the report or a file failed, 2 wrong arguments.
int reportRun(const QStringList &args, QTextStream &out, QTextStream &err);
extern const char *const kReportRunUsage;

} // namespace tz::app
