// Prints how many pages per second a 10,000-row list report is composed at
// (and written to PDF and text), and the peak memory of the process.
#include "exporter.h"
#include "sestava.h"

#include <QDate>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace tz::rep;

namespace {

constexpr int kRows = 10000;

QString textEl(const QString &tag, int kind, const QString &ref, int left, int width, const QString &text = {},
               int layout = 0)
{
    return QStringLiteral("%1,%2,%3,%4,2,%5,15,Arial,9,0,0,%6,0,238,\"%7\",0,0,0,\"\",0,\"\"")
        .arg(tag)
        .arg(kind)
        .arg(ref)
        .arg(left)
        .arg(width)
        .arg(layout)
        .arg(text);
}

// The shape of the overview lists: a title, column heads on every page, one
// line per record with a separator, a page footer with the page number, a count.
QStringList listDefinition()
{
    QStringList l = {QStringLiteral("I,0,\"Přehled\""),
                     QStringLiteral("I,1,7,51,8"),
                     QStringLiteral("I,2,1,826,1169,50,50,60,60,1,0"),
                     QStringLiteral("I,3,0,1,40,0"),
                     QStringLiteral("I,3,1,1,25,0"),
                     QStringLiteral("I,3,2,1,19,0"),
                     QStringLiteral("I,3,3,1,25,0"),
                     QStringLiteral("I,3,4,1,25,0"),
                     QStringLiteral("F,0,Pocet,\"Počet\",0,\"0\",0,\"IIF(ISNULL(#EVID_C),0,1)\",2,6,0,0"),
                     textEl("Z", 1, "0", 0, 600, QStringLiteral("Přehled vázacích prostředků")),
                     textEl("K", 1, "0", 0, 150, QStringLiteral("Počet položek:")),
                     textEl("K", 6, "Pocet", 150, 80),
                     textEl("P", 5, "3", 869, 150, QStringLiteral("Strana %d"), 1),
                     textEl("P", 5, "4", 1019, 50, QStringLiteral(" z %d")),
                     QStringLiteral("T,7,0,0,18,1069,0,,1,8,0,2,15,1,\"\",,,,\"\",0,\"\"")};
    const char *fields[] = {"FIRMA", "D", "POPIS", "OZNACENI", "EVID_C", "DAT_PLAN_1"};
    const int lefts[] = {0, 235, 350, 555, 790, 905};
    const int widths[] = {230, 110, 200, 230, 110, 80};
    for (int i = 0; i < 6; ++i) {
        l << textEl("H", 3, QString::fromLatin1(fields[i]), lefts[i], widths[i]);
        l << textEl("T", 2, QString::fromLatin1(fields[i]), lefts[i], widths[i], {}, i == 5 ? 2 : 0);
    }
    return l;
}

MemoryDataSource listData()
{
    using C = MemoryDataSource::Column;
    MemoryDataSource s({C{QStringLiteral("FIRMA")}, C{QStringLiteral("D")}, C{QStringLiteral("POPIS")},
                        C{QStringLiteral("OZNACENI")}, C{QStringLiteral("EVID_C")},
                        C{QStringLiteral("DAT_PLAN_1"), SourceFieldType::Date}});
    const QDate day(2027, 1, 1);
    for (int i = 0; i < kRows; ++i)
        s.addRow({QStringLiteral("Strojírny Šumperk a.s. %1").arg(i % 17), QStringLiteral("Řetězy"),
                  QStringLiteral("Dvoupramenný řetěz"), QStringLiteral("ŘV 2-10-%1").arg(i % 50),
                  QStringLiteral("R-%1").arg(i, 5, 10, QLatin1Char('0')), day.addDays(i % 365)});
    return s;
}

long peakKilobytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;   // kilobytes on Linux
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    setMessageHandler([&out](MessageKind, const QString &c, const QString &t) {
        out << c << ": " << t << "\n";
        return false;
    });
    MemoryDataSource src = listData();
    out << "list report over " << kRows << " rows, memory before composing: " << peakKilobytes() / 1024 << " MB\n";

    TSestava rep;
    rep.IsStored = true;
    rep.Predloha = listDefinition();
    rep.dataSource = &src;

    constexpr int runs = 3;
    double best = 1e300;
    int pages = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        if (rep.run() != seOK)
            return 1;
        best = std::min(best, t.nsecsElapsed() / 1e9);
        pages = rep.pages.pageCount();
    }
    out << "composition:  " << pages << " pages in " << QString::number(best * 1000, 'f', 1) << " ms = "
        << QString::number(pages / best, 'f', 1) << " pages/s, " << QString::number(kRows / best, 'f', 0)
        << " records/s (best of " << runs << ")\n";

    QTemporaryDir dir;
    for (const char *format : {"pdf", "txt", "rtf"}) {
        std::unique_ptr<Exporter> ex = createExporter(QString::fromLatin1(format));
        QElapsedTimer t;
        t.start();
        QString why;
        if (!ex->write(rep.pages, dir.filePath(QStringLiteral("list.") + QString::fromLatin1(format)), {}, &why)) {
            out << why << "\n";
            return 1;
        }
        const double s = t.nsecsElapsed() / 1e9;
        out << "export " << format << ":   " << QString::number(s * 1000, 'f', 1) << " ms = "
            << QString::number(pages / s, 'f', 1) << " pages/s\n";
    }
    out << "peak memory (ru_maxrss): " << peakKilobytes() / 1024 << " MB\n";
    return 0;
}
