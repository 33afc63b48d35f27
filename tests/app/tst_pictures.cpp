// The picture library: loading the resource file, look-up by name without
// regard to letter case, missing and damaged files, and that the library built
// beside the programs holds every picture the program asks for, in its size.
#include "accessoryrules.h"
#include "companydialogs.h"
#include "datadir.h"
#include "mainstate.h"
#include "mainwindow.h"
#include "picturelib.h"
#include "pictures.h"
#include "program.h"
#include "prompts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace tz;

namespace {

const QString kLibrary = QStringLiteral(TAVOZZ_PICTURE_LIBRARY);
const QSize kCard(123, 246);
const QSize kGlyph(32, 32);
const QSize kEquipment(246, 184);

} // namespace

class TstPictures : public QObject
{
    Q_OBJECT
    QTemporaryDir m_tmp;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(m_tmp.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(bytes);
        return f.fileName();
    }

private Q_SLOTS:
    void lookupIgnoresLetterCase_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("lower") << "i3v" << "I3V";
        QTest::newRow("upper") << "IN24" << "In24";
        QTest::newRow("mixed") << "iL10" << "IL10";
        QTest::newRow("rope") << "il3" << "IL3";
        QTest::newRow("glyph") << "ZZc" << "zzC";
        QTest::newRow("equipment") << "Most2" << "MOST2";
        QTest::newRow("spaces around") << " IT2 " << "IT2";
    }
    void lookupIgnoresLetterCase()
    {
        QFETCH(QString, asked);
        QFETCH(QString, stored);
        PictureLibrary lib;
        QVERIFY2(lib.load(kLibrary), qPrintable(kLibrary));
        QVERIFY(lib.names().contains(stored));
        const QImage a = lib.image(asked), b = lib.image(stored);
        QVERIFY(!a.isNull());
        QCOMPARE(a, b);
        QVERIFY(lib.contains(asked));
    }

    void namesThatAreNotThereGiveNoPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("unknown") << "I99";
        QTest::newRow("with extension") << "I1.png";
        QTest::newRow("path") << "pictures/I1";
        QTest::newRow("prefix only") << "I";
    }
    void namesThatAreNotThereGiveNoPicture()
    {
        QFETCH(QString, name);
        PictureLibrary lib;
        QVERIFY(lib.load(kLibrary));
        QVERIFY(lib.image(name).isNull());
        QVERIFY(!lib.contains(name));
    }

    void filesThatAreNoLibraryAreNotLoaded_data()
    {
        QTest::addColumn<QString>("file"); // relative to the temporary folder; "" for none
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing") << "missing.rcc" << QByteArray();
        QTest::newRow("empty name") << "" << QByteArray();
        QTest::newRow("garbage") << "garbage.rcc" << QByteArray("MZ\x90\0 this is no resource file", 30);
        QTest::newRow("empty file") << "empty.rcc" << QByteArray("");
        QTest::newRow("a picture") << "picture.rcc" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        QTest::newRow("folder") << "." << QByteArray();
    }
    void filesThatAreNoLibraryAreNotLoaded()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QString path;
        if (file == QLatin1String("."))
            path = m_tmp.path();
        else if (!file.isEmpty())
            path = bytes.isNull() ? m_tmp.filePath(file) : writeFile(file, bytes);
        PictureLibrary lib;
        // a library loaded before is given up, whatever the new file is
        QVERIFY(lib.load(kLibrary));
        QVERIFY(!lib.load(path));
        QVERIFY(!lib.isLoaded());
        QVERIFY(lib.image(QStringLiteral("I1")).isNull());
        QVERIFY(lib.names().isEmpty());
    }

    void twoLibrariesAtOnceKeepTheirOwnPictures()
    {
        PictureLibrary a, b;
        QVERIFY(a.load(kLibrary));
        QVERIFY(b.load(kLibrary));
        a.unload();
        QVERIFY(a.image(QStringLiteral("I1")).isNull());
        QVERIFY(!b.image(QStringLiteral("I1")).isNull());
    }

    void defaultPathFollowsTheEnvironment()
    {
        qputenv("TAVOZZ_PICTURES", "/somewhere/else.rcc");
        QCOMPARE(PictureLibrary::defaultPath(), QStringLiteral("/somewhere/else.rcc"));
        qunsetenv("TAVOZZ_PICTURES");
        QCOMPARE(PictureLibrary::defaultPath(), QDir(QCoreApplication::applicationDirPath()).filePath("tzz.rcc"));
    }

    // Every name the program asks for, from the code tables, the kind table of
    // the accessories and the equipment and fall-protection cards.
    void everyNameTheProgramAsksForIsThere()
    {
        PictureLibrary lib;
        QVERIFY(lib.load(kLibrary));
        QMap<QString, QSize> wanted;

        db::Database database(QStringLiteral("pictures"));
        app::openDataDirectory(database, app::ProgramFolder(m_tmp.path()), true);
        db::TDM dm(&database);
        app::MainState state(dm);
        for (const QString &reg : app::MainState::registerNames()) {
            state.setRegister(reg);
            for (const app::KindButton &k : state.kindButtons())
                if (!k.picture.isEmpty())
                    wanted.insert(k.picture, kGlyph);
        }
        QVERIFY(wanted.size() >= 6 + 9 + 6 + 4); // accessories, equipment, persons, fall protection

        for (const acc::AccessoryKind &k : acc::accessoryKinds())
            for (int typ = 1; typ <= k.typeHints.size(); ++typ)
                for (const QString &cls : QStringList{"8", "8S", "10V", "10", "M24", "5", ""}) {
                    const QString n = acc::standardPictureName(k.letter, typ, cls);
                    QVERIFY2(!n.isEmpty(), qPrintable(k.letter + QString::number(typ)));
                    wanted.insert(n, kCard);
                }
        for (const char *n : {"MOST", "MOST2", "PORTAL", "POLOPORTAL", "PORTALOTOC", "PORTOTPOL", "KONZOL_NAST",
                              "KONZOL_SLOUP", "STOZAR", "AUTOJERAB", "VEZOVY", "MALE", "AUTOZVEDAK", "JINYJER"})
            wanted.insert(QString::fromLatin1(n), kEquipment);
        for (int t = 1; t <= 4; ++t)
            wanted.insert(QStringLiteral("Iop%1").arg(t), kCard);

        QStringList missing, wrongSize;
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
            const QImage img = lib.image(it.key());
            if (img.isNull())
                missing << it.key();
            else if (img.size() != it.value())
                wrongSize << QStringLiteral("%1 %2x%3").arg(it.key()).arg(img.width()).arg(img.height());
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(' ')));
        QVERIFY2(wrongSize.isEmpty(), qPrintable(wrongSize.join(", ")));
    }

    void picturesAreDrawnNotBlank()
    {
        PictureLibrary lib;
        QVERIFY(lib.load(kLibrary));
        QStringList blank;
        for (const QString &n : lib.names()) {
            const QImage img = lib.image(n).convertToFormat(QImage::Format_ARGB32);
            const QRgb background = img.pixel(0, 0);
            int samples = 0, drawn = 0;
            for (int y = 0; y < img.height(); y += 2)
                for (int x = 0; x < img.width(); x += 2) {
                    ++samples;
                    drawn += img.pixel(x, y) != background;
                }
            if (drawn * 20 < samples) // less than a twentieth carries the drawing
                blank << n;
        }
        QVERIFY2(blank.isEmpty(), qPrintable(blank.join(' ')));
    }

    // With the library beside the program the kind buttons have their glyphs
    // and nothing is reported.
    void kindButtonsShowTheirGlyphs()
    {
        QStringList messages;
        gui::prompts().message = [&messages](QWidget *, const QString &text, const QString &, int) { messages << text; };
        QVERIFY(gui::pictureLibraryAvailable());
        db::Database database(QStringLiteral("window"));
        QTemporaryDir dir;
        app::openDataDirectory(database, app::ProgramFolder(dir.path()), true);
        db::TDM dm(&database);
        gui::TF_Main w(app::ProgramFolder(dir.path()), dm);
        for (int reg : {1, 2, 3, 5}) {
            w.SBRegisterClick(reg);
            const int n = qMin(10, int(w.state().kindButtons().size()));
            QVERIFY(n > 0);
            for (int i = 0; i < n; ++i)
                QVERIFY2(!w.kindButton(i)->icon().isNull(), qPrintable(w.kindButton(i)->toolTip()));
        }
        QVERIFY(!messages.contains(gui::missingLibraryText()));
        gui::prompts().message = nullptr;
    }
};

QTEST_MAIN(TstPictures)
#include "tst_pictures.moc"
