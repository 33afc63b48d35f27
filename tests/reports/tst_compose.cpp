// Composition of reports over small hand-written definitions and data.
#include "reporttestutil.h"

using namespace tz::rep;
using namespace tzt;

namespace {

// A4 portrait, margins 50/50/70/70: printable 726 x 1029.
const QString kPage = QStringLiteral("I,2,0,826,1169,50,50,70,70,1,0");

MemoryDataSource items()
{
    using C = MemoryDataSource::Column;
    MemoryDataSource s({C{QStringLiteral("DRUH")}, C{QStringLiteral("NAZEV")},
                        C{QStringLiteral("CENA"), SourceFieldType::Float}});
    s.addRow({QStringLiteral("L"), QStringLiteral("lano 1"), 10.0});
    s.addRow({QStringLiteral("L"), QStringLiteral("lano 2"), 20.0});
    s.addRow({QStringLiteral("R"), QStringLiteral("řetěz 1"), 5.0});
    s.addRow({QStringLiteral("X"), QStringLiteral("popruh 1"), 1.5});
    s.addRow({QStringLiteral("X"), QStringLiteral("popruh 2"), 2.5});
    return s;
}

} // namespace

class TestCompose : public QObject {
    Q_OBJECT

private slots:
    void init() { resetProcessPageSetup(); }

    void groupsWithAggregates()
    {
        MemoryDataSource src = items();
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        loadLines(rep, {kPage, QStringLiteral("I,3,0,1,20,0"), QStringLiteral("I,3,2,1,20,0"), QStringLiteral("I,3,3,1,20,0"),
                        QStringLiteral("I,4,0,\"DRUH\",1,20,1,20,0"),
                        QStringLiteral("F,0,SUMA,\"\",0,\"0\",2,\"#CENA\",2,15,2,2"),
                        QStringLiteral("F,1,CELKEM,\"\",0,\"0\",0,\"#CENA\",2,15,2,2"),
                        text("Z", 1, "0", 0, 0, 300, 20, "Začátek"),
                        text("S0", 2, "DRUH", 0, 0, 100, 20),
                        text("T", 2, "NAZEV", 100, 0, 200, 20),
                        text("U0", 2, "DRUH", 0, 0, 100, 20),
                        text("U0", 6, "SUMA", 100, 0, 200, 20),
                        text("K", 6, "CELKEM", 100, 0, 200, 20)});
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(rep.pages.pageCount(), 1);
        // the group end shows the values of the group's last record, and the
        // group sum is reset at each group
        const QStringList expected = {QStringLiteral("Začátek"), QStringLiteral("L"), QStringLiteral("lano 1"),
                                      QStringLiteral("lano 2"), QStringLiteral("L"), QStringLiteral("30,00"),
                                      QStringLiteral("R"), QStringLiteral("řetěz 1"), QStringLiteral("R"),
                                      QStringLiteral("5,00"), QStringLiteral("X"), QStringLiteral("popruh 1"),
                                      QStringLiteral("popruh 2"), QStringLiteral("X"), QStringLiteral("4,00"),
                                      QStringLiteral("39,00")};
        QCOMPARE(texts(rep.pages, 0), expected);
        // sections follow each other without gaps
        const auto p = placed(rep.pages, 0);
        QCOMPARE(p[1].top, 20);
        QCOMPARE(p.back().top, 20 * 12);
        QCOMPARE(src.steps(), 5);   // one pass: every record visited once
    }

    void pageBreaksWithPageNumbers()
    {
        MemoryDataSource src({{QStringLiteral("N"), SourceFieldType::Integer}});
        for (int i = 1; i <= 25; ++i)
            src.addRow({i});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        // paper 300 high: printable 160; header 20, footer 20 -> 6 bodies of 20 a page
        loadLines(rep, {QStringLiteral("I,2,0,826,300,50,50,70,70,1,0"), QStringLiteral("I,3,1,1,20,0"),
                        QStringLiteral("I,3,2,1,20,0"), QStringLiteral("I,3,4,1,20,0"), text("H", 1, "0", 0, 0, 200, 20, "Hlava"),
                        text("T", 2, "N", 0, 0, 100, 20), text("P", 5, "3", 0, 0, 100, 20, "Strana %d"),
                        text("P", 5, "4", 200, 0, 100, 20, "z %d")});
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(rep.pages.pageCount(), 5);
        for (int p = 0; p < 5; ++p) {
            const QStringList t = texts(rep.pages, p);
            QCOMPARE(t.first(), QStringLiteral("Hlava"));
            QCOMPARE(t.mid(t.size() - 2), QStringList({QStringLiteral("Strana %1").arg(p + 1), QStringLiteral("z 5")}));
            const auto pl = placed(rep.pages, p);
            QCOMPARE(pl.back().top, 160 - 20);   // footer at the page bottom
        }
        QCOMPARE(texts(rep.pages, 0).mid(1, 6),
                 QStringList({"1", "2", "3", "4", "5", "6"}));
        QCOMPARE(texts(rep.pages, 4).mid(1, 1), QStringList({"25"}));
    }

    void endPageStopsTheRunButKeepsComposedPages()
    {
        MemoryDataSource src({{QStringLiteral("N"), SourceFieldType::Integer}});
        for (int i = 1; i <= 25; ++i)
            src.addRow({i});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        rep.endPage = 2;
        loadLines(rep, {QStringLiteral("I,2,0,826,300,50,50,70,70,1,0"), QStringLiteral("I,3,2,1,20,0"),
                        QStringLiteral("I,3,3,1,20,0"), QStringLiteral("I,3,4,1,20,0"),
                        text("T", 2, "N", 0, 0, 100, 20), text("K", 1, "0", 0, 0, 100, 20, "Konec"),
                        text("P", 5, "4", 200, 0, 100, 20, "z %d")});
        QCOMPARE(rep.compose(), seOK);
        // 7 bodies a page; page 3 was started, then the run stopped
        QCOMPARE(src.steps(), 15);
        QVERIFY(rep.pages.pageCount() >= 2);
        QCOMPARE(texts(rep.pages, 1).first(), QStringLiteral("8"));
        QCOMPARE(texts(rep.pages, 1).last(), QStringLiteral("z 2"));
        for (int p = 0; p < rep.pages.pageCount(); ++p)
            QVERIFY(!texts(rep.pages, p).contains(QStringLiteral("Konec")));
        QCOMPARE(rep.pages.clamp({1, rep.endPage}).last, 2);
    }

    void multiColumnBody()
    {
        MemoryDataSource src({{QStringLiteral("G")}, {QStringLiteral("N")}});
        for (const char *g : {"a", "a", "a", "a", "a", "b", "b"})
            src.addRow({QString::fromLatin1(g), QString::number(src.rowCount() + 1)});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        // printable width 726, three columns with a gap of 24: step (726+24)/3 = 250
        loadLines(rep, {QStringLiteral("I,2,0,826,1169,50,50,70,70,3,24"), QStringLiteral("I,3,2,1,30,0"),
                        QStringLiteral("I,4,0,\"G\",0,0,0,0,0"), text("T", 2, "N", 10, 5, 100, 20)});
        QCOMPARE(rep.compose(), seOK);
        const auto p = placed(rep.pages, 0);
        QCOMPARE(int(p.size()), 7);
        struct {
            int left, top;
        } const want[7] = {{10, 5}, {260, 5}, {510, 5}, {10, 35}, {260, 35}, {10, 65}, {260, 65}};
        std::vector<Placed> byText = p;
        std::sort(byText.begin(), byText.end(), [](const Placed &a, const Placed &b) { return a.text.toInt() < b.text.toInt(); });
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(byText[size_t(i)].left, want[i].left);
            QCOMPARE(byText[size_t(i)].top, want[i].top);
        }
    }

    void emptySource()
    {
        MemoryDataSource src({{QStringLiteral("NAZEV")}});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        MemoryDataSource detailSrc({{QStringLiteral("X")}});
        TSestDetail det;
        det.dataSource = &detailSrc;
        det.setMasterSestava(&rep);
        rep.collectFields();
        loadLines(rep, {kPage, QStringLiteral("I,3,0,1,20,0"), QStringLiteral("I,3,1,1,20,0"), QStringLiteral("I,3,2,1,40,0"),
                        QStringLiteral("I,3,3,1,20,0"), text("Z", 1, "0", 0, 0, 100, 20, "Start"),
                        text("H", 1, "0", 0, 0, 100, 20, "Hlava"), text("T", 1, "0", 0, 0, 100, 20, "Tělo"),
                        text("T", 2, "NAZEV", 100, 0, 100, 20), QStringLiteral("T,15,0,0,20,300,20"),
                        text("K", 1, "0", 0, 0, 100, 20, "Konec"), QStringLiteral("D0,I,3,0,1,20,0"),
                        QStringLiteral("D0,I,3,2,1,20,0"), QStringLiteral("D0,I,3,3,1,20,0"),
                        QStringLiteral("D0,") + text("Z", 1, "0", 0, 0, 100, 20, "Detail start"),
                        QStringLiteral("D0,") + text("T", 2, "X", 0, 0, 100, 20),
                        QStringLiteral("D0,") + text("K", 1, "0", 0, 0, 100, 20, "Detail konec")});
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(texts(rep.pages, 0), QStringList({"Start", "Hlava", "Tělo", "", "Konec"}));
        // the empty detail takes no room: the report end follows the body's fixed part
        QCOMPARE(placed(rep.pages, 0).back().top, 40 + 20);
    }

    void detailsRunInsideTheMaster()
    {
        // master: two items; detail: inspections of the current item
        MemoryDataSource master({{QStringLiteral("ID")}, {QStringLiteral("NAZEV")}});
        master.addRow({QStringLiteral("1"), QStringLiteral("jeřáb")});
        master.addRow({QStringLiteral("2"), QStringLiteral("kladkostroj")});
        // follows the master's current ID like a linked dataset
        struct DetailSource : ReportDataSource {
            MemoryDataSource *m = nullptr;
            std::vector<std::pair<QString, QString>> all, rows;
            int cur = 0;
            bool isOpen() const override { return true; }
            int fieldCount() const override { return 2; }
            QString fieldName(int i) const override { return i ? QStringLiteral("DATUM") : QStringLiteral("ID"); }
            SourceFieldType fieldType(int) const override { return SourceFieldType::String; }
            void first() override
            {
                rows.clear();
                for (const auto &r : all)
                    if (r.first == m->text(0))
                        rows.push_back(r);
                cur = 0;
            }
            void next() override { ++cur; }
            bool eof() const override { return cur >= int(rows.size()); }
            int position() const override { return cur; }
            bool moveTo(int r) override { cur = r; return true; }
            QString text(int i) const override { return eof() ? QString() : i ? rows[size_t(cur)].second : rows[size_t(cur)].first; }
            bool isNull(int) const override { return false; }
        } detail;
        detail.m = &master;
        detail.all = {{"1", "1.1.2024"}, {"1", "1.7.2024"}, {"1", "1.1.2025"}, {"2", "5.5.2025"}};
        TSestava rep;
        rep.dataSource = &master;
        TSestDetail det;
        det.dataSource = &detail;
        det.setMasterSestava(&rep);
        rep.collectFields();
        loadLines(rep, {kPage, QStringLiteral("I,3,2,1,60,0"), text("T", 2, "NAZEV", 0, 0, 200, 20),
                        QStringLiteral("T,15,0,20,20,300,20"), text("T", 2, "ID", 0, 40, 200, 20),
                        QStringLiteral("D0,I,3,0,1,15,0"), QStringLiteral("D0,I,3,2,1,15,0"),
                        QStringLiteral("D0,") + text("Z", 1, "0", 0, 0, 100, 15, "Revize:"),
                        QStringLiteral("D0,") + text("T", 2, "DATUM", 0, 0, 100, 15)});
        QCOMPARE(rep.compose(), seOK);
        const auto p = placed(rep.pages, 0);
        QStringList t;
        for (const Placed &x : p)
            t << x.text;
        // after the detail the master's own fields are printed again (its
        // context came back), below the detail's output
        QCOMPARE(t, QStringList({"jeřáb", "Revize:", "1.1.2024", "1.7.2024", "1.1.2025", "1", "kladkostroj", "Revize:",
                                 "5.5.2025", "2"}));
        QCOMPARE(p[1].left, 20);                 // detail output starts at the element
        QCOMPARE(p[1].top, 20);
        QCOMPARE(p[5].top, 40 + 40);             // detail 60 high instead of 20: pushed down by 40
        QCOMPARE(p[6].top, 60 + 40);             // the next body follows the grown one
    }

    void growingMemoRunsOverPages()
    {
        QString memo;
        for (int i = 1; i <= 50; ++i)
            memo += QStringLiteral("Řádek %1\n").arg(i);
        memo.chop(1);
        MemoryDataSource src({{QStringLiteral("POZN"), SourceFieldType::Memo}});
        src.addRow({memo});
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        loadLines(rep, {QStringLiteral("I,2,0,826,600,50,50,70,70,1,0"), QStringLiteral("I,3,1,1,30,0"),
                        QStringLiteral("I,3,2,1,60,0"), QStringLiteral("I,3,4,1,30,0"),
                        text("H", 5, "3", 0, 0, 200, 20, "Hlava %d"), text("P", 5, "3", 0, 0, 200, 20, "Pata %d"),
                        text("T", 1, "0", 0, 0, 300, 20, "Poznámka:"), text("T", 2, "POZN", 0, 20, 400, 20, "", 64),
                        text("T", 1, "0", 0, 40, 300, 20, "Pod poznámkou")});
        QCOMPARE(rep.compose(), seOK);
        QVERIFY2(rep.pages.pageCount() >= 3, qPrintable(QString::number(rep.pages.pageCount())));
        QStringList all;
        for (int p = 0; p < rep.pages.pageCount(); ++p) {
            const QStringList t = texts(rep.pages, p);
            QCOMPARE(t.first(), QStringLiteral("Hlava %1").arg(p + 1));
            QCOMPARE(t.last(), QStringLiteral("Pata %1").arg(p + 1));
            all << t.mid(1, t.size() - 2);
            for (const Placed &x : placed(rep.pages, p))
                if (x.section == skBody)
                    QVERIFY(x.top >= 30 && x.top + 1 <= 460 - 30);
        }
        // every line once, in order, then the element below the memo
        QCOMPARE(all.first(), QStringLiteral("Poznámka:"));
        QCOMPARE(all.mid(1, all.size() - 2).join(u'\n'), memo);
        QCOMPARE(all.last(), QStringLiteral("Pod poznámkou"));
        // the continuation starts directly under the page header
        QCOMPARE(placed(rep.pages, 1)[1].top, 30);
    }

    void sectionEventsAndOptions()
    {
        MemoryDataSource src = items();
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        loadLines(rep, {kPage, QStringLiteral("I,3,0,1,20,0"), QStringLiteral("I,3,2,1,20,0"), QStringLiteral("I,3,3,1,20,2"),
                        QStringLiteral("I,3,4,1,30,0"), text("Z", 1, "0", 0, 0, 100, 20, "Z"),
                        text("T", 2, "NAZEV", 0, 0, 100, 20), text("K", 1, "0", 0, 0, 100, 20, "K"),
                        text("P", 1, "0", 0, 0, 100, 20, "P")});
        int bodies = 0;
        rep.onTiskOddilu = [&](int kind) { return kind != skBody || ++bodies > 100; };
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(bodies, 5);
        const auto p = placed(rep.pages, 0);
        QCOMPARE(texts(rep.pages, 0), QStringList({"Z", "K", "P"}));
        // report end aligned to the footer: directly above it
        QCOMPARE(p[1].top, 1029 - 30 - 20);
        QCOMPARE(p[2].top, 1029 - 30);

        // one record only / a record limit
        rep.onTiskOddilu = {};
        rep.tiskJedenZaznam = true;
        src.moveTo(2);
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(texts(rep.pages, 0).mid(1, 1), QStringList({"řetěz 1"}));
        QCOMPARE(texts(rep.pages, 0).size(), 4);
        rep.tiskJedenZaznam = false;
        rep.maxRecords = 3;
        QCOMPARE(rep.compose(), seOK);
        QCOMPARE(texts(rep.pages, 0).size(), 3 + 3);
    }

    void printConditionsAndBadValues()
    {
        MemoryDataSource src = items();
        TSestavaD rep;
        rep.dataSource = &src;
        rep.collectFields();
        rep.Parametry = {QStringLiteral("ACME & syn")};
        loadLines(rep, {kPage, QStringLiteral("I,3,2,1,20,0"),
                        text("T", 2, "NAZEV", 0, 0, 100, 20, "", 0, "#CENA>4"),
                        text("T", 2, "NEEXISTUJE", 100, 0, 100, 20),
                        text("T", 4, "0", 200, 0, 100, 20), text("T", 4, "5", 300, 0, 100, 20),
                        text("T", 6, "7", 400, 0, 100, 20)});
        QCOMPARE(rep.compose(), seOK);
        const QStringList t = texts(rep.pages, 0);
        // condition hides the cheap items; an unknown field prints the first
        // field; a parameter beyond the list prints nothing; a function that
        // does not exist prints "????"
        QCOMPARE(t.mid(0, 5), QStringList({"lano 1", "L", "ACME & syn", "", "????"}));
        QCOMPARE(t.count(QStringLiteral("popruh 1")), 0);
        QCOMPARE(t.count(QStringLiteral("řetěz 1")), 1);
    }

    void cancelKeepsPagesAndReentryIsRefused()
    {
        MemoryDataSource src({{QStringLiteral("N"), SourceFieldType::Integer}});
        for (int i = 1; i <= 200; ++i)
            src.addRow({i});
        TSestava rep;
        rep.dataSource = &src;
        rep.IsStored = true;
        rep.Predloha = {QStringLiteral("I,2,0,826,300,50,50,70,70,1,0"), QStringLiteral("I,3,2,1,20,0"),
                        text("T", 2, "N", 0, 0, 100, 20)};
        MessageRecorder rec;
        int calls = 0;
        TSestError nested = seOK;
        setProgressHandler([&](int record) {
            ++calls;
            if (calls == 3)
                nested = rep.run();   // e.g. a second click while the first runs
            return record < 20;
        });
        const TSestError e = rep.run();
        setProgressHandler({});
        QCOMPARE(e, sePreruseno);
        QCOMPARE(nested, seBusy);
        QVERIFY(rep.pages.pageCount() >= 2);
        QVERIFY(src.steps() < 30);
        // the engine is free again afterwards
        QVERIFY(!engineBusy());
        QCOMPARE(rep.run(), seOK);
        QCOMPARE(rep.pages.pageCount(), 25);   // 8 bodies a page
    }

    void joinNonEmptyParts_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("joined");
        QTest::newRow("all parts") << QStringList{"Firma", "Brno", "2025"} << QStringLiteral("Firma - Brno - 2025");
        QTest::newRow("empty middle") << QStringList{"Firma", "", "2025"} << QStringLiteral("Firma - 2025");
        QTest::newRow("blank first") << QStringList{"  ", "Brno"} << QStringLiteral("Brno");
        QTest::newRow("empty last") << QStringList{"Firma", QString()} << QStringLiteral("Firma");
        QTest::newRow("nothing") << QStringList{"", " "} << QString();
        QTest::newRow("no parts") << QStringList{} << QString();
        QTest::newRow("part kept as it is") << QStringList{" a ", "b"} << QStringLiteral(" a  - b");
    }
    void joinNonEmptyParts()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, joined);
        QCOMPARE(joinNonEmpty(parts, QStringLiteral(" - ")), joined);
    }
};

QTEST_MAIN(TestCompose)
#include "tst_compose.moc"
