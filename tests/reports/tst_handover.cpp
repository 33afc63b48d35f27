// Pictures handed over to reports ("Rx.bmp", "Logox.bmp"): one folder per
// process, and a card without a picture never prints the previous one.
#include "reporttestutil.h"

#include <QProcess>

using namespace tz::rep;
using namespace tzt;

namespace {

QImage filled(QColor c)
{
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The pictures a one-section report with a picture element "'name'" prints.
std::vector<QImage> printedPictures(const QString &name)
{
    TSestavaD rep;
    loadLines(rep, {QStringLiteral("I,3,2,1,100,0"),
                    QStringLiteral("T,11,0,0,0,80,80,,1,0,0,112,15,1,\"'%1'\",,,,\"\",0,\"\"").arg(name)});
    if (rep.compose() != seOK)
        qFatal("composition failed");
    std::vector<QImage> out;
    for (const OutputElement &o : rep.pages.pages.at(0).elements)
        if (o.el.kind == ekPicture)
            out.push_back(o.picture);
    return out;
}

} // namespace

class TestHandover : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // a picture element also looks in the current folder: keep it empty
        QVERIFY(m_cwd.isValid());
        QDir::setCurrent(m_cwd.path());
    }

    void folderIsPrivateToTheProcess()
    {
        const QString mine = handoverFolder();
        QVERIFY(QFileInfo(mine).isDir());
        QCOMPARE(handoverFolder(), mine);   // the same folder for the whole run
        QVERIFY(QDir(mine).absolutePath() != QDir::currentPath());

        QProcess other;
        other.start(QStringLiteral(TZ_HANDOVER_HELPER), {});
        QVERIFY(other.waitForFinished(-1));
        QCOMPARE(other.exitStatus(), QProcess::NormalExit);
        QCOMPARE(other.exitCode(), 0);
        const QString theirs = QString::fromLocal8Bit(other.readAllStandardOutput()).trimmed();
        QVERIFY(!theirs.isEmpty());
        QVERIFY2(QDir(theirs).absolutePath() != QDir(mine).absolutePath(), qPrintable(theirs));
        // its picture did not land in our folder, and its folder went with it
        QVERIFY(!QFileInfo::exists(QDir(mine).filePath(QStringLiteral("Rx.bmp"))));
        QVERIFY(!QFileInfo::exists(theirs));
    }

    void nullPictureRemovesThePreviousOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("elementName");
        QTest::newRow("item picture") << QStringLiteral("Rx.bmp") << QStringLiteral("Rx.bmp");
        QTest::newRow("logo") << QStringLiteral("Logox.bmp") << QStringLiteral("Logox.bmp");
        // only the file name counts: nothing is written outside the folder
        QTest::newRow("path given") << QStringLiteral("../jinam/Pomzz.bmp") << QStringLiteral("Pomzz.bmp");
    }
    void nullPictureRemovesThePreviousOne()
    {
        QFETCH(QString, name);
        QFETCH(QString, elementName);
        const QString file = QDir(handoverFolder()).filePath(elementName);

        // the first card has a picture
        QVERIFY(setHandoverPicture(name, filled(Qt::blue)));
        QVERIFY(QFileInfo::exists(file));
        std::vector<QImage> pics = printedPictures(elementName);
        QCOMPARE(pics.size(), size_t(1));
        QCOMPARE(pics[0].pixelColor(2, 2), QColor(Qt::blue));

        // the next card has another one
        QVERIFY(setHandoverPicture(name, filled(Qt::green)));
        pics = printedPictures(elementName);
        QCOMPARE(pics.size(), size_t(1));
        QCOMPARE(pics[0].pixelColor(2, 2), QColor(Qt::green));

        // a card without a picture prints none
        QVERIFY(setHandoverPicture(name, QImage()));
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(printedPictures(elementName).empty());
        // and removing what is not there is no failure
        QVERIFY(setHandoverPicture(name, QImage()));
    }

private:
    QTemporaryDir m_cwd;
};

QTEST_MAIN(TestHandover)
#include "tst_handover.moc"
