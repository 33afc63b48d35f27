// An independent reader: LibreOffice Calc opens what we write and sees the
// values in the right cells. Skipped when LibreOffice is not installed; the
// same behaviours are checked with our own reader in the other tests.
#include "samples.h"
#include "spreadsheet.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QDir>
#include <QFileInfo>
#include <QtTest>

class TestLibreOffice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listAsCsv();
    void summaryAsCsv();
    void protocolToPdf();

private:
    // The sheet as LibreOffice reads it, cell texts by [row][column] from 1.
    QList<QStringList> readAsCsv(const QString &xlsx);
    QString m_office;
    QTemporaryDir m_dir;
};

void TestLibreOffice::initTestCase()
{
    m_office = tz::PdfTools().officeProgram();
    if (m_office.isEmpty())
        QSKIP("LibreOffice (soffice) is not installed; scripts/check-xlsx-libreoffice.sh installs it");
    // a Writer-only installation cannot read workbooks
    const QDir program = QFileInfo(QFileInfo(m_office).canonicalFilePath()).dir();
    if (!program.exists(QStringLiteral("libsclo.so")))
        QSKIP("LibreOffice Calc is not installed (libreoffice-calc); scripts/check-xlsx-libreoffice.sh installs it");
}

namespace {
QStringList parseCsvLine(const QString &line)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') { cur += u'"'; ++i; }
            else if (c == u'"') quoted = false;
            else cur += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}
} // namespace

QList<QStringList> TestLibreOffice::readAsCsv(const QString &xlsx)
{
    const QString outDir = m_dir.filePath(QStringLiteral("csv"));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    const QString profile = QUrl::fromLocalFile(m_dir.filePath(QStringLiteral("profile"))).toString();
    // 44 comma, 34 quote, 76 UTF-8, 1 first line, then "formatted text as shown".
    p.start(m_office, {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                       QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true"),
                       QStringLiteral("--outdir"), outDir, xlsx});
    if (!p.waitForFinished(300000))
        return {};
    QFile f(QDir(outDir).filePath(QFileInfo(xlsx).completeBaseName() + QStringLiteral(".csv")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows;
    rows << QStringList(); // row 0 unused
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        QStringList cells = parseCsvLine(QString(line).remove(u'\r'));
        cells.prepend(QString()); // column 0 unused
        rows << cells;
    }
    return rows;
}

static QString at(const QList<QStringList> &rows, int r, int c)
{
    return r < rows.size() && c < rows[r].size() ? rows[r][c] : QString();
}

void TestLibreOffice::listAsCsv()
{
    const QString path = m_dir.filePath(QStringLiteral("seznam.xlsx"));
    samples::writeList(path);
    const auto rows = readAsCsv(path);
    QVERIFY2(rows.size() > 40, "LibreOffice did not convert the list");
    QCOMPARE(at(rows, 3, 1), QStringLiteral("Seznam vázacích prostředků"));
    QCOMPARE(at(rows, 5, 1), QStringLiteral("Evid. číslo"));
    QCOMPARE(at(rows, 5, 9), QStringLiteral("Středisko"));
    QCOMPARE(at(rows, 6, 1), QStringLiteral("0001"));
    QCOMPARE(at(rows, 45, 1), QStringLiteral("0040"));
    QCOMPARE(at(rows, 6, 3), QStringLiteral("VP-1/2020"));
    QCOMPARE(at(rows, 6, 6), QStringLiteral("1.5"));
    QCOMPARE(at(rows, 6, 8), QStringLiteral("1.1.2024"));
    QCOMPARE(at(rows, 6, 9), QStringLiteral("Sklad – Ústí n. L."));
}

void TestLibreOffice::summaryAsCsv()
{
    const QString path = m_dir.filePath(QStringLiteral("souhprot.xlsx"));
    samples::writeSummary(path);
    const auto rows = readAsCsv(path);
    QVERIFY2(rows.size() > 12, "LibreOffice did not convert the summary");
    QCOMPARE(at(rows, 4, 2), QStringLiteral("Strojírny Žďár, a.s."));
    QCOMPARE(at(rows, 7, 1), QStringLiteral("0012"));
    QCOMPARE(at(rows, 9, 2), QStringLiteral("Řetěz 13 mm"));
    QCOMPARE(at(rows, 9, 7), QStringLiteral("Opraven"));
    QCOMPARE(at(rows, 10, 1), QString());
    QCOMPARE(at(rows, 11, 8), QStringLiteral("Celkem (Kč):"));
    QCOMPARE(QString(at(rows, 11, 10)).remove(QChar(0xA0)).remove(u' ').remove(u','), QStringLiteral("1650"));
}

void TestLibreOffice::protocolToPdf()
{
    const QString path = m_dir.filePath(QStringLiteral("protokol.xlsx"));
    samples::writeProtocol(path);
    const QString pdf = tz::PdfTools().convertToPdf(path, m_dir.path());
    QFile f(pdf);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.read(5), QByteArray("%PDF-"));
    QVERIFY(f.size() > 2000);
}

QTEST_MAIN(TestLibreOffice)
#include "tst_libreoffice.moc"
