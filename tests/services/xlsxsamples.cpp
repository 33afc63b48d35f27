// Writes the sample documents into a folder: seznam.xlsx, souhprot.xlsx, protokol.xlsx.
#include "samples.h"

#include "spreadsheet.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));
    try {
        samples::writeList(dir.filePath(QStringLiteral("seznam.xlsx")));
        samples::writeSummary(dir.filePath(QStringLiteral("souhprot.xlsx")));
        samples::writeProtocol(dir.filePath(QStringLiteral("protokol.xlsx")));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
