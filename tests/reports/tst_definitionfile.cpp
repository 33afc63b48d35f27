// Reading and writing report definition files.
#include "definitionfile.h"

#include "codepage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz::rep;

namespace {

QString dataPath(const QString &name) { return QStringLiteral(TZ_REPORT_TESTDATA "/") + name; }

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QByteArray cp1250Lines(const QString &utf8Lines)
{
    return encodeDefinition(utf8Lines.split(u'\n'));
}

// The first difference between two byte arrays, for a readable failure.
QString firstDifference(const QByteArray &a, const QByteArray &b)
{
    const TPredloha la = decodeDefinition(a), lb = decodeDefinition(b);
    for (int i = 0; i < std::max(la.size(), lb.size()); ++i)
        if (la.value(i) != lb.value(i))
            return QStringLiteral("line %1:\n  file:    %2\n  written: %3").arg(i + 1).arg(la.value(i), lb.value(i));
    return QStringLiteral("same lines, different line ends");
}

} // namespace

class TestDefinitionFile : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProcessPageSetup(); }

    void roundTripIsByteExact_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("every record kind, two groups, two details") << "full.pts";
        QTest::newRow("plain list") << "simple.pts";
    }
    void roundTripIsByteExact()
    {
        QFETCH(QString, file);
        const QByteArray bytes = readBytes(dataPath(file));
        QVERIFY(!bytes.isEmpty());
        TSestavaTyp rep;
        const LoadStatus st = loadDefinitionBytes(rep, bytes, file, {.createDetails = true});
        QVERIFY2(st.ok(), qPrintable(st.message));
        const QByteArray written = encodeDefinition(writeDefinition(rep));
        QVERIFY2(written == bytes, qPrintable(firstDifference(bytes, written)));

        // And the written form reads back into the same model.
        TSestavaTyp again;
        QVERIFY(loadDefinitionBytes(again, written, file, {.createDetails = true}).ok());
        QVERIFY(again.def.sameDefinition(rep.def));
        QCOMPARE(again.details().size(), rep.details().size());
        for (int i = 0; i < rep.details().size(); ++i)
            QVERIFY(again.details()[i]->def.sameDefinition(rep.details()[i]->def));
    }

    void fullFileModel()
    {
        TSestavaTyp rep;
        TSestavaTyp *det0 = new TSestavaTyp;   // attached like a form's detail component
        det0->setMaster(&rep);
        rep.fieldNames = {QStringLiteral("EVC"), QStringLiteral("nazev"), QStringLiteral("CENA"), QStringLiteral("DRUH")};
        const LoadStatus st = loadDefinitionFile(rep, dataPath(QStringLiteral("full.pts")), {.resolveFields = true});
        QVERIFY2(st.ok(), qPrintable(st.message));
        const ReportDefinition &d = rep.def;

        QCOMPARE(d.description, QStringLiteral("Evidenční karta \"řetězu\" – žluťoučký kůň"));
        QCOMPARE(rep.Popis, d.description);
        QCOMPARE(d.version[0], 7);
        QCOMPARE(d.version[1], 51);
        // Page set-up replaced process-wide.
        QCOMPARE(processPageSetup().orientation, 1);
        QVERIFY(processPageSetup().orientationChangeable);
        QCOMPARE(processPageSetup().marginBottom, 65);
        QCOMPARE(d.columns, 2);
        QCOMPARE(d.columnGap, 12);

        // Two groups give nine sections: five fixed, then start/end of each group.
        QCOMPARE(int(d.sections.size()), 9);
        QCOMPARE(d.sections[5].tag(), QStringLiteral("S0"));
        QCOMPARE(d.sections[8].tag(), QStringLiteral("U1"));
        QCOMPARE(int(d.sections[6].elements.size()), 2);
        QCOMPARE(d.groups[0].displayName(), QStringLiteral("Skupina 1"));
        QCOMPARE(d.groups[0].effectiveExpression(), QStringLiteral("#DRUH"));
        QVERIFY(d.groups[0].newPage);
        QVERIFY(!d.sections[7].visible);
        QCOMPARE(d.sections[8].height, 20);

        // Section options.
        QVERIFY(d.pageBreakAfterStart());
        QVERIFY(d.noHeaderOnFirstPage() && d.noHeaderOnLastPage());
        QVERIFY(d.newPageForEachBody());
        QVERIFY(d.pageBreakBeforeEnd() && d.endAlignedToFooter());
        QVERIFY(!d.noFooterOnLastPage() && d.footerOnFirstPageOnly());

        // Character grid: derived from pitch 0 and line spacing 2.
        QCOMPARE(d.grid.effectiveRasterX(), 10);
        QCOMPARE(d.grid.effectiveRasterY(), 33);
        QCOMPARE(d.grid.rasterY, 17);   // stored value kept for writing

        // Background: the file name is the rest of the line, comma included.
        QCOMPARE(d.background.fileName, QStringLiteral("C:\\obr\\pozadí, verze 2.bmp"));
        QVERIFY(d.background.own && d.background.print && d.background.limited);
        QCOMPARE(d.background.height, 400);

        // User functions.
        QCOMPARE(int(d.functions.size()), 3);
        QCOMPARE(d.functions[0].description, QStringLiteral("Součet \"cen\""));
        QCOMPARE(d.functions[0].reset, int(frGroup0));
        QCOMPARE(d.functions[0].format, 3);
        QCOMPARE(d.functions[1].initialValue, QString());
        QCOMPARE(d.functions[1].expression, QStringLiteral("UPPER(#NAZEV)+'\"'"));
        QCOMPARE(d.functions[2].processing, int(fpMaximum));

        // Elements.
        const auto &z = d.sections[0].elements;
        QCOMPARE(z[0].text, QStringLiteral("Revizní \"protokol\""));
        QCOMPARE(z[0].condition, QStringLiteral("&1<>'a\"b'"));
        QCOMPARE(z[0].alignment(), alCenter);
        QCOMPARE(z[1].fontColour, basicColour(4));   // navy, stored as index 4
        const auto &h = d.sections[1].elements;
        QCOMPARE(h[0].pointSize(), 72);              // -100 hundredths of an inch
        QCOMPARE(h[0].fontColour, qint32(0x0000FF)); // index 9: red
        QCOMPARE(h[1].fontColour, qint32(12345678)); // an RGB value stays a value
        QVERIFY(h[1].strikeOut());
        const auto &t = d.sections[2].elements;
        QVERIFY(t[0].trackedByName());
        QCOMPARE(t[0].reference, 1);                 // "NAZEV" found as "nazev"
        QVERIFY(t[0].multiLine() && t[0].variableHeight());
        QVERIFY(t[0].handler);
        QCOMPARE(t[0].ident, QStringLiteral("nazev"));
        QCOMPARE(t[1].reference, 1);                 // by position
        QCOMPARE(t[2].alignment(), alJustify);
        QCOMPARE(t[4].reference, 0);                 // function "Soucet"
        QCOMPARE(t[5].angle, 90);
        QCOMPARE(t[6].kind, int(ekLine));
        QCOMPARE(t[6].effectivePenStyle(), 0);
        QVERIFY(t[6].edgeLeft() && t[6].edgeBottom() && !t[6].diagonalRising());
        QCOMPARE(t[7].effectivePenStyle(), 3);
        QVERIFY(t[7].diagonalRising() && t[7].diagonalFalling());
        QCOMPARE(t[8].brushColour, basicColour(11));
        QCOMPARE(t[11].kind, int(ekPicture));
        QCOMPARE(t[11].name, QStringLiteral("'Rx.bmp',#OBR,logo.bmp"));
        QVERIFY(t[11].stretch() && t[11].keepAspect() && t[11].allowChange());
        QCOMPARE(t[12].barcodeTypeName(), QStringLiteral("EAN 13"));
        QCOMPARE(t[12].barWidthCode(), 8);
        QCOMPARE(t[12].barcodeAngle, 90);
        QVERIFY(t[12].checkDigit() && t[12].printText() && !t[12].printGuards());
        QCOMPARE(t[13].resolutionFactor(), 3);
        QVERIFY(t[13].variableHeight());
        QCOMPARE(t[14].kind, int(ekDetail));
        QCOMPARE(t[15].reference, 1);

        // Detail 0 got its lines; detail 1 has no component and is dropped.
        QCOMPARE(rep.details().size(), 1);
        QCOMPARE(det0->def.description, QStringLiteral("Závady"));
        QCOMPARE(int(det0->def.functions.size()), 1);
        QCOMPARE(int(det0->def.sections[2].elements.size()), 2);
        QCOMPARE(det0->def.sections[2].elements[1].reference, 0);   // its own function "Pocet"
        delete det0;
        QVERIFY(rep.details().isEmpty());
    }

    void missingRecordsTakeDefaults()
    {
        TSestavaTyp first;
        QVERIFY(loadDefinitionFile(first, dataPath(QStringLiteral("full.pts"))).ok());
        const PageSetup before = processPageSetup();

        TSestavaTyp rep;
        rep.def.columns = 4;
        const LoadStatus st = loadDefinitionFile(rep, dataPath(QStringLiteral("elementsonly.pts")));
        QVERIFY2(st.ok(), qPrintable(st.message));
        QCOMPARE(rep.def.columns, 1);
        QCOMPARE(int(rep.def.sections.size()), 5);
        for (const TOddilSestavy &s : rep.def.sections) {
            QVERIFY(!s.visible);
            QCOMPARE(s.height, 0);
        }
        QCOMPARE(int(rep.def.sections[2].elements.size()), 1);
        QCOMPARE(rep.def.version[0], 7);
        QCOMPARE(rep.def.version[2], 8);
        // The page set-up stays as the previous definition left it.
        QVERIFY(processPageSetup() == before);
        QVERIFY(rep.def.pageSetup == before);
        QCOMPARE(rep.Popis, QStringLiteral("Tisková úloha VAMEL"));
    }

    void detailLeavesPageSetupAlone()
    {
        TSestavaTyp master;
        QVERIFY(loadDefinitionFile(master, dataPath(QStringLiteral("simple.pts"))).ok());
        const PageSetup before = processPageSetup();
        TSestavaTyp detail;
        detail.setMaster(&master);
        QVERIFY(loadDefinitionFile(detail, dataPath(QStringLiteral("full.pts"))).ok());
        QVERIFY(processPageSetup() == before);
        QCOMPARE(detail.def.columns, 2);               // columns are the detail's own
        QVERIFY(detail.def.sections[1].elements.empty());   // no page header in a detail
        QVERIFY(detail.def.sections[4].elements.empty());
    }

    void oldFileRenumbersSystemValues()
    {
        TSestavaTyp rep;
        QVERIFY(loadDefinitionFile(rep, dataPath(QStringLiteral("old.pts"))).ok());
        const auto &h = rep.def.sections[1].elements;
        QCOMPARE(h[0].reference, 3);   // page number stays
        QCOMPARE(h[1].reference, 5);   // 4 and above move up: page count took 4
        QCOMPARE(h[2].reference, 6);
        // Version 0: no paper size in the page set-up record.
        QCOMPARE(processPageSetup().orientation, 1);
        QCOMPARE(processPageSetup().paperWidth, 826);
        QCOMPARE(processPageSetup().marginLeft, 50);
        QCOMPARE(processPageSetup().marginBottom, 70);
        // Written in the current format, it reads back without a second shift.
        TSestavaTyp again;
        QVERIFY(loadDefinitionBytes(again, encodeDefinition(writeDefinition(rep)), QStringLiteral("x")).ok());
        QCOMPARE(again.def.sections[1].elements[1].reference, 5);
    }

    void fieldReferences()
    {
        const QByteArray bytes = cp1250Lines(QStringLiteral(
            "T,2,Cena,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0,\"\",0,\"\"\n"
            "T,2,NEEXISTUJE,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0,\"\",0,\"\"\n"
            "T,3,7,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0,\"\",0,\"\"\n"
            "T,2,1,0,0,10,10,Arial,10,0,0,0,0,0,\"\",0,0,0,\"\",0,\"\""));
        TSestavaTyp rep;
        rep.fieldNames = {QStringLiteral("EVC"), QStringLiteral("CENA")};
        QVERIFY(loadDefinitionBytes(rep, bytes, QStringLiteral("x"), {.resolveFields = true}).ok());
        const auto &t = rep.def.sections[2].elements;
        QCOMPARE(t[0].reference, 1);
        QCOMPARE(t[1].reference, 0);   // unknown name: first field
        QCOMPARE(t[1].referenceName, QStringLiteral("NEEXISTUJE"));   // and still written by name
        QCOMPARE(t[2].reference, 0);   // position outside the list
        QCOMPARE(t[3].reference, 1);

        // Without a field list, positions are kept as stored.
        TSestavaTyp raw;
        QVERIFY(loadDefinitionBytes(raw, bytes, QStringLiteral("x")).ok());
        QCOMPARE(raw.def.sections[2].elements[2].reference, 7);
        QVERIFY(encodeDefinition(writeDefinition(raw)).contains("T,3,7,"));
        QVERIFY(encodeDefinition(writeDefinition(raw)).contains("T,2,NEEXISTUJE,"));
    }

    void groupExpressionNormalised_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("effective");
        QTest::newRow("field number") << "3" << "#4";
        QTest::newRow("field name") << "DRUH" << "#DRUH";
        QTest::newRow("name with _ and $") << "_a$1" << "#_a$1";
        QTest::newRow("expression") << "#1+#2" << "#1+#2";
        QTest::newRow("reference") << "#DRUH" << "#DRUH";
        QTest::newRow("call") << "LEFT(#1,2)" << "LEFT(#1,2)";
        QTest::newRow("empty") << "" << "";
    }
    void groupExpressionNormalised()
    {
        QFETCH(QString, stored);
        QFETCH(QString, effective);
        TPolSkup g;
        g.expression = stored;
        QCOMPARE(g.effectiveExpression(), effective);
    }

    void quotesAndLineBreaksSurviveWriting()
    {
        TSestavaTyp rep;
        TSiReportElement e;
        e.kind = ekText;
        e.text = QStringLiteral("Text \"v uvozovkách\", s čárkou");
        e.condition = QStringLiteral("&1 <> '\"'");
        e.ident = QStringLiteral("a\"b");
        e.fontName = QStringLiteral("Font, s čárkou");
        rep.def.sections[2].elements.push_back(e);
        TSiReportElement multi = e;
        multi.text = QStringLiteral("první řádek\r\ndruhý\ntřetí");
        rep.def.sections[2].elements.push_back(multi);
        TRadekFunkce fn;
        fn.name = QStringLiteral("F1");
        fn.description = QStringLiteral("popis \"x\"");
        fn.expression = QStringLiteral("'\"'+'a,b'");
        fn.initialValue = QStringLiteral("\"");
        rep.def.functions.push_back(fn);
        rep.def.background.fileName = QStringLiteral("a,b\",c.bmp");

        const TPredloha lines = writeDefinition(rep);
        // A line break inside a text cannot be stored; it becomes a blank
        // instead of breaking the record in two.
        for (const QString &l : lines)
            QVERIFY(!l.contains(u'\n') && !l.contains(u'\r'));
        TSestavaTyp back;
        const LoadStatus st = takeOverDefinition(back, lines, QStringLiteral("x"));
        QVERIFY2(st.ok(), qPrintable(st.message));
        const TSiReportElement &r = back.def.sections[2].elements[0];
        QCOMPARE(r.text, e.text);
        QCOMPARE(r.condition, e.condition);
        QCOMPARE(r.ident, e.ident);
        QCOMPARE(r.fontName, e.fontName);
        QCOMPARE(back.def.sections[2].elements[1].text, QStringLiteral("první řádek druhý třetí"));
        QCOMPARE(back.def.functions[0].description, fn.description);
        QCOMPARE(back.def.functions[0].expression, fn.expression);
        QCOMPARE(back.def.functions[0].initialValue, fn.initialValue);
        QCOMPARE(back.def.background.fileName, rep.def.background.fileName);
    }

    void pictureNamesWrittenWithoutFolders()
    {
        TSestavaTyp rep;
        TSiReportElement p;
        p.kind = ekPicture;
        p.name = QStringLiteral("'C:\\Tavo\\reports\\Rx.bmp',#OBR,D:\\x\\logo.bmp");
        rep.def.sections[2].elements.push_back(p);
        const QString line = writeDefinition(rep).filter(QStringLiteral("T,11,")).value(0);
        QVERIFY2(line.contains(QStringLiteral("\"'Rx.bmp',#OBR,logo.bmp\"")), qPrintable(line));
    }

    void userFunctionDefaults()
    {
        const QByteArray bytes = cp1250Lines(QStringLiteral("F,0,,\"\",0\nF,5,Druha,\"\",1,\"x\",0,\"1\",0,,,9"));
        TSestavaTyp rep;
        QVERIFY(loadDefinitionBytes(rep, bytes, QStringLiteral("x")).ok());
        const TRadekFunkce &a = rep.def.functions[0];
        QCOMPARE(a.name, QStringLiteral("Funkce1"));
        QCOMPARE(a.description, QStringLiteral("Funkce1"));
        QCOMPARE(a.initialValue, QStringLiteral("0"));
        QCOMPARE(a.width, 15);
        QCOMPARE(a.decimals, 2);
        QCOMPARE(a.format, 2);
        const TRadekFunkce &b = rep.def.functions[1];
        QCOMPARE(b.description, QStringLiteral("Druha"));
        QCOMPARE(b.format, 2);   // out of range
        QCOMPARE(b.displayText(), QStringLiteral("Funkce Druha - Druha"));
    }

    void fontCeSuffix()
    {
        TSiReportElement e;
        e.fontName = QStringLiteral("Arial CE");
        e.charset = 0;
        QString family;
        int cs = 0;
        e.effectiveFont([](const QString &n) { return n == QLatin1String("Arial"); }, family, cs);
        QCOMPARE(family, QStringLiteral("Arial"));
        QCOMPARE(cs, 238);
        e.fontName = QStringLiteral("Times CYR");
        e.effectiveFont([](const QString &) { return false; }, family, cs);
        QCOMPARE(family, QStringLiteral("Times"));
        QCOMPARE(cs, 204);
        e.fontName = QStringLiteral("Arial CE");
        e.effectiveFont([](const QString &) { return true; }, family, cs);
        QCOMPARE(family, QStringLiteral("Arial CE"));   // installed: used as it is
        QCOMPARE(cs, 0);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        const QByteArray good = readBytes(dataPath(QStringLiteral("simple.pts")));
        const int lastLineStart = good.lastIndexOf("\r\n", good.size() - 3) + 2;
        QTest::newRow("cut inside the last record") << good.left(good.size() - 12) << 15;
        QTest::newRow("cut after a number") << good.left(lastLineStart + 40) << 15;
        QTest::newRow("cut inside a quoted text") << good.left(lastLineStart + 46) << 15;
        QByteArray nul = good;
        nul[good.indexOf("Arial")] = '\0';
        QTest::newRow("NUL byte") << nul << 12;
        QByteArray undefinedByte = good;
        undefinedByte[good.indexOf("Strana")] = char(0x98);
        QTest::newRow("byte outside Windows-1250") << undefinedByte << 15;
        QByteArray quote = good;
        quote.replace(tz::encode(QStringLiteral("\"Přehled\"")), tz::encode(QStringLiteral("\"Přehled")));
        QTest::newRow("unterminated quote") << quote << 12;
        QTest::newRow("cut record in a detail")
            << QByteArray("I,0,\"x\"\r\nD0,T,2,POPIS,0,0,500,20,Arial CE,9,0,0,16,0,238,\"\",0,0") << 2;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        TSestavaTyp rep;
        QVERIFY(loadDefinitionFile(rep, dataPath(QStringLiteral("simple.pts")), {.createDetails = true}).ok());
        const ReportDefinition before = rep.def;
        const LoadStatus st = loadDefinitionBytes(rep, bytes, QStringLiteral("karta.pts"), {.createDetails = true});
        QCOMPARE(st.code, seCteniPredlohy);
        QCOMPARE(st.line, line);
        QVERIFY2(st.message.contains(QStringLiteral("karta.pts")) && st.message.contains(QStringLiteral("řádek %1").arg(line)),
                 qPrintable(st.message));
        // Nothing half-loaded: the report keeps its previous definition.
        QVERIFY(rep.def.sameDefinition(before));
        QVERIFY(rep.details().isEmpty());
    }

    void lastLineWithoutLineEndIsAcceptedWhenComplete()
    {
        QByteArray good = readBytes(dataPath(QStringLiteral("simple.pts")));
        good.chop(2);
        TSestavaTyp rep;
        QVERIFY(loadDefinitionBytes(rep, good, QStringLiteral("x")).ok());
        QCOMPARE(int(rep.def.sections[4].elements.size()), 1);
    }

    void missingAndUnreadableFiles()
    {
        TSestavaTyp rep;
        const LoadStatus st = loadDefinitionFile(rep, QStringLiteral("/nonexistent/karta.pts"));
        QCOMPARE(st.code, seCteniPredlohy);
        QCOMPARE(st.message, QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"/nonexistent/karta.pts\""));
        QTemporaryDir dir;
        const LoadStatus dirSt = loadDefinitionFile(rep, dir.path());   // exists, but is not a readable file
        QCOMPARE(dirSt.code, seCteniPredlohy);
        QVERIFY(!dirSt.message.startsWith(QStringLiteral("Nebyl nalezen")));
    }

    void saveKeepsBackupAndReplacesAtomically()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("karta.pts"));
        QVERIFY(QFile::copy(dataPath(QStringLiteral("simple.pts")), path));
        TSestavaTyp rep;
        QVERIFY(loadDefinitionFile(rep, path).ok());
        rep.def.description = QStringLiteral("Změněno");
        QVERIFY(saveDefinitionFile(rep, path).ok());
        QCOMPARE(readBytes(dir.filePath(QStringLiteral("karta.BAK"))), readBytes(dataPath(QStringLiteral("simple.pts"))));
        TSestavaTyp back;
        QVERIFY(loadDefinitionFile(back, path).ok());
        QCOMPARE(back.def.description, QStringLiteral("Změněno"));

        const LoadStatus bad = saveDefinitionFile(rep, dir.filePath(QStringLiteral("chybi/karta.pts")));
        QCOMPARE(bad.code, seUkladaniPredlohy);
        QVERIFY(bad.message.startsWith(QStringLiteral("Soubor s předlohou se nepodařilo uložit.")));
    }

    void paperFormats()
    {
        TListFormatu list;
        QCOMPARE(list.formats().size(), 17);
        QCOMPARE(list.formats()[0].name, QStringLiteral("Skládaný (8.5 x 12\")"));
        QCOMPARE(list.find(826, 1169), 7);
        QCOMPARE(list.formats()[14].name, QStringLiteral("Obálka otoč.(114 x 162 mm)"));

        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("SestDLL.ini"));
        {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(tz::encode(QStringLiteral("[Navrhar]\r\nMrizka=1\r\n[FormatyPapiru]\r\nPocetFormatu=2\r\n"
                                              "Format1=Štítek, malý,400,200\r\n"),
                               tz::CodePage::Cp1250));
        }
        QVERIFY(list.loadUserFormats(ini));
        QCOMPARE(list.formats().size(), 19);
        QCOMPARE(list.formats()[17].name, QStringLiteral("Štítek, malý"));
        QCOMPARE(list.formats()[17].height, 200);
        QCOMPARE(list.formats()[18].name, QStringLiteral("Uživat. unknown"));   // missing key
        list.add({QStringLiteral("Role"), 300, 3000});
        QVERIFY(list.saveUserFormats(ini));
        TListFormatu back;
        QVERIFY(back.loadUserFormats(ini));
        QCOMPARE(back.formats().size(), 20);
        QCOMPARE(back.formats()[19].width, 300);
        const QString text = tz::decode(readBytes(ini), tz::CodePage::Cp1250);
        QVERIFY(text.contains(QStringLiteral("[Navrhar]\r\nMrizka=1")));   // other sections kept
        QVERIFY(text.contains(QStringLiteral("PocetFormatu=3")));
    }

    void renumberingFunctionsKeepsEveryReference()
    {
        ReportDefinition d;
        for (const char *name : {"A", "B", "C"}) {
            TRadekFunkce f;
            f.name = QLatin1String(name);
            d.functions.push_back(f);
        }
        d.functions[2].expression = QStringLiteral("@1+@2+@B+@12");
        d.addGroup(QStringLiteral("@2"));
        TSiReportElement cond;
        cond.kind = ekText;
        cond.condition = QStringLiteral("@3>0 AND '@2'<>''");
        TSiReportElement code;
        code.kind = ekBarcode;
        code.name = QStringLiteral("NUMTOSTR(@2)");
        TSiReportElement pic;
        pic.kind = ekPicture;
        pic.name = QStringLiteral("'a.bmp',@3");
        TSiReportElement fnB;
        fnB.kind = ekFunction;
        fnB.reference = 1;
        TSiReportElement fnC = fnB;
        fnC.reference = 2;
        d.sections[2].elements = {cond, code, pic, fnB, fnC};

        TRadekFunkce first;
        first.name = QStringLiteral("Novy");
        d.insertFunction(0, first);
        QCOMPARE(d.functions[3].expression, QStringLiteral("@2+@3+@B+@13"));   // names stay, numbers shift
        QCOMPARE(d.groups[0].expression, QStringLiteral("@3"));
        QCOMPARE(d.sections[2].elements[0].condition, QStringLiteral("@4>0 AND '@3'<>''"));
        QCOMPARE(d.sections[2].elements[1].name, QStringLiteral("NUMTOSTR(@3)"));
        QCOMPARE(d.sections[2].elements[2].name, QStringLiteral("'a.bmp',@4"));
        QCOMPARE(d.sections[2].elements[3].reference, 2);
        QCOMPARE(d.sections[2].elements[4].reference, 3);

        d.removeFunction(2);   // "B"
        QCOMPARE(d.functions.size(), size_t(3));
        QCOMPARE(d.functions[2].name, QStringLiteral("C"));
        QCOMPARE(d.functions[2].expression, QStringLiteral("@2+@0+@B+@12"));
        QCOMPARE(d.groups[0].expression, QStringLiteral("@0"));
        QCOMPARE(d.sections[2].elements[0].condition, QStringLiteral("@3>0 AND '@0'<>''"));
        QCOMPARE(d.sections[2].elements[3].reference, -1);
        QCOMPARE(d.sections[2].elements[4].reference, 2);

        // A function element pointing at a removed function stays so through the file.
        TSestavaTyp rep;
        rep.def = d;
        TSestavaTyp back;
        QVERIFY(takeOverDefinition(back, writeDefinition(rep), QStringLiteral("x")).ok());
        QCOMPARE(back.def.sections[2].elements[3].reference, -1);
        QVERIFY(!back.functionValue(-1).has_value());
    }

    void groupsAddAndRemove()
    {
        ReportDefinition d;
        d.addGroup(QStringLiteral("A"));
        d.addGroup(QStringLiteral("B"));
        d.addGroup(QStringLiteral("C"));
        d.sections[d.groups[2].endSection()].height = 33;
        d.removeGroup(0);
        QCOMPARE(int(d.sections.size()), 9);
        QCOMPARE(d.groups[1].expression, QStringLiteral("C"));
        QCOMPARE(d.groups[1].number, 1);
        QCOMPARE(d.sections[8].height, 33);
        QCOMPARE(d.sections[8].tag(), QStringLiteral("U1"));
    }
};

QTEST_APPLESS_MAIN(TestDefinitionFile)
#include "tst_definitionfile.moc"
