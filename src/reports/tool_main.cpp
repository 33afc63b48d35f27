// Developer tool: the report engine's command line without the application.
#include "reportcli.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args[0] == QLatin1String("report"))
        args.removeFirst();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int rc = tz::rep::runCli(args, out, err);
    out.flush();
    err.flush();
    return rc;
}
