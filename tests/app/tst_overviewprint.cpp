// "Tisk přehledu" of the main window on the demo data: which definition runs,
// over which list, with which labels and parameter; the installed overview
// definitions themselves.
#include "companydialogs.h"
#include "datadir.h"
#include "mainwindow.h"
#include "overviewprint.h"
#include "prompts.h"
#include "sestava.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tz;
using namespace tz::gui;

namespace {

struct Shown {
    int runs = 0;
    QString definition;
    QStringList params;
    QStringList labels;
    QStringList texts;   // page 1, top to bottom, left to right
    int pages = 0;
};

} // namespace

class TstOverviewPrint : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<db::Database> m_db;
    std::unique_ptr<db::TDM> m_dm;
    QStringList m_engineMessages;
    Shown m_shown;

    std::unique_ptr<TF_Main> start(int company)
    {
        auto w = std::make_unique<TF_Main>(app::ProgramFolder(m_tmp->path()), *m_dm);
        auto *timer = new QTimer(this);
        timer->setInterval(10);
        connect(timer, &QTimer::timeout, this, [timer, company] {
            if (auto *d = qobject_cast<TFSelFirma *>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                if (company == 999) {
                    d->VseClick();
                } else {
                    QVERIFY(d->selectCompany(company));
                    d->OtevritClick();
                }
            }
        });
        timer->start();
        w->FormShow();
        return w;
    }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<db::Database>(QStringLiteral("ov"));
        app::openDataDirectory(*m_db, app::ProgramFolder(m_tmp->path()), true);
        db::loadDemoData(*m_db);
        m_dm = std::make_unique<db::TDM>(m_db.get());
        QDir().mkpath(m_tmp->filePath("reports"));
        for (const char *f : {"pvp.pts", "pzz.pts"})
            QVERIFY(QFile::copy(QStringLiteral(TZ_INSTALL_REPORTS "/") + f, m_tmp->filePath(QStringLiteral("reports/") + f)));
        prompts().question = [](QWidget *, const QString &, const QString &, bool) { return true; };
        prompts().message = [](QWidget *, const QString &, const QString &, int) {};
        m_engineMessages.clear();
        rep::setMessageHandler([this](rep::MessageKind, const QString &, const QString &text) {
            m_engineMessages << text;
            return false;
        });
        m_shown = {};
        rep::OutputBackend b;
        b.preview = [this](rep::TSestava &r) {
            ++m_shown.runs;
            m_shown.definition = r.DefinitionFileName();
            m_shown.params = r.Parametry;
            m_shown.labels = r.fieldLabels;
            m_shown.pages = r.pages.pageCount();
            std::vector<std::pair<QPoint, QString>> placed;
            if (r.pages.pageCount() > 0)
                for (const rep::OutputElement &o : r.pages.pages[0].elements)
                    if (o.isText() && !o.lines.empty()) {
                        QStringList lines;   // a wrapped head as one text
                        for (const rep::TextLine &l : o.lines)
                            lines << l.text.trimmed();
                        placed.push_back({QPoint(o.box.left(), o.box.top()), lines.join(u' ')});
                    }
            std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) {
                return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
            });
            for (const auto &p : placed)
                m_shown.texts << p.second;
            return rep::seOK;
        };
        rep::setOutputBackend(b);
    }
    void cleanup()
    {
        rep::setOutputBackend({});
        rep::setMessageHandler({});
        m_dm.reset();
        m_db.reset();
        m_tmp.reset();
    }

    void definitionsOfTheRegisters_data()
    {
        QTest::addColumn<QString>("reg");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("labels");   // field=label
        QTest::newRow("accessories") << QStringLiteral("Vázací prostředky") << "pvp.pts"
                                     << QStringList{"Firma=Firma", "D=Druh", "POPIS=Popis", QStringLiteral("OZNACENI=Označení"),
                                                    QStringLiteral("EVID_C=Evidenční č."),
                                                    QStringLiteral("DAT_PLAN_1=Příští prohlídka"),
                                                    QStringLiteral("DAT_PLAN_3=Příští důkladná")};
        QTest::newRow("equipment") << QStringLiteral("Zdvihací zařízení") << "pzz.pts"
                                   << QStringList{"Firma=Firma", QStringLiteral("Typ_Zar=Druh zařízení"), "Max_nosnost=Nosnost",
                                                  QStringLiteral("EVID_C=Evidenční č."),
                                                  QStringLiteral("Next_Inspekce=Příští inspekce"),
                                                  QStringLiteral("Next_Revize=Příští revize"),
                                                  QStringLiteral("Next_RevZk=Příští rev.zkouška")};
        QTest::newRow("persons") << "Osoby" << "" << QStringList{};
        QTest::newRow("constructions") << QStringLiteral("Ocelové konstrukce") << "" << QStringList{};
        QTest::newRow("fall protection") << "OPPP" << "" << QStringList{};
    }
    void definitionsOfTheRegisters()
    {
        QFETCH(QString, reg);
        QFETCH(QString, file);
        QFETCH(QStringList, labels);
        const std::optional<OverviewDefinition> d = overviewFor(reg);
        QCOMPARE(d.has_value(), !file.isEmpty());
        if (d) {
            QCOMPARE(d->file, file);
            QStringList got;
            for (const auto &[field, label] : d->labels)
                got << field + u'=' + label;
            QCOMPARE(got, labels);
        }
    }

    void accessoryEvidence()
    {
        auto w = start(999);
        w->SBRegisterClick(1);
        QStringList gridTitles;
        for (int i = 0; i < m_dm->Basic.fieldCount(); ++i)
            gridTitles << m_dm->Basic.fieldAt(i)->label();
        m_dm->Basic.moveTo(3);
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 1);
        QVERIFY2(m_engineMessages.isEmpty(), qPrintable(m_engineMessages.join('\n')));
        QCOMPARE(m_shown.definition, m_tmp->filePath("reports/pvp.pts"));
        QCOMPARE(m_shown.params, QStringList{w->companyText()});
        QCOMPARE(m_shown.pages, 1);
        // the column heads are the overview's labels, in the definition's order
        const QStringList heads = {"Firma", "Druh", "Popis", QStringLiteral("Označení"), QStringLiteral("Evidenční č."),
                                   QStringLiteral("Příští prohlídka"), QStringLiteral("Příští důkladná")};
        const qsizetype at = m_shown.texts.indexOf("Firma");
        QVERIFY(at >= 0);
        QCOMPARE(m_shown.texts.mid(at, 7), heads);
        for (const char *evc : {"R-001", "R-002", "L-014", "X-120", "T-03", "S-07"})
            QVERIFY2(m_shown.texts.contains(QString::fromLatin1(evc)), evc);
        QVERIFY(m_shown.texts.contains(QStringLiteral("10.3.2027")));
        QCOMPARE(m_shown.texts.at(m_shown.texts.indexOf(QStringLiteral("Počet položek:")) + 1), QStringLiteral("6"));
        // the grid keeps its own titles, and the list its row
        QStringList after;
        for (int i = 0; i < m_dm->Basic.fieldCount(); ++i)
            after << m_dm->Basic.fieldAt(i)->label();
        QCOMPARE(after, gridTitles);
        QCOMPARE(m_dm->Basic.recNo(), 3);
    }

    void accessoryKindAndCompany()
    {
        // one company and one kind: exactly the rows shown
        auto w = start(1);
        w->SBRegisterClick(1);
        w->SBDruhClick(0);   // Řetězy
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 1);
        QVERIFY(m_shown.texts.contains("R-001"));
        QVERIFY(m_shown.texts.contains("R-002"));
        QVERIFY(!m_shown.texts.contains("L-014"));
        QCOMPARE(m_shown.texts.at(m_shown.texts.indexOf(QStringLiteral("Počet položek:")) + 1), QStringLiteral("2"));
        QVERIFY(m_shown.params.first().contains(QStringLiteral("Strojírny Šumperk a.s.")));
    }

    void equipmentEvidenceAndPlanning()
    {
        auto w = start(999);
        w->SBRegisterClick(2);
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 1);
        QCOMPARE(m_shown.definition, m_tmp->filePath("reports/pzz.pts"));
        QVERIFY(m_shown.texts.contains(QStringLiteral("Druh zařízení")));
        QVERIFY(m_shown.texts.contains(QStringLiteral("Příští rev.zkouška")));
        QVERIFY(m_shown.texts.contains(QStringLiteral("Mostový")));
        QVERIFY(m_shown.texts.contains(QStringLiteral("12500")));
        QVERIFY(m_shown.texts.contains("MJ-01"));

        // the planning list lacks the kind of equipment and the capacity: they stay empty
        w->SBPlanovaniClick();
        m_shown = {};
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 1);
        QVERIFY2(m_engineMessages.isEmpty(), qPrintable(m_engineMessages.join('\n')));
        QVERIFY(m_shown.texts.contains(QStringLiteral("Druh zařízení")));
        QVERIFY(m_shown.texts.contains(QStringLiteral("Nosnost")));
        QVERIFY(!m_shown.texts.contains(QStringLiteral("Mostový")));
        QVERIFY(!m_shown.texts.contains(QStringLiteral("12500")));
        QVERIFY(m_shown.labels.contains(QStringLiteral("Druh zařízení")));
    }

    void otherRegistersPrintNothing()
    {
        auto w = start(999);
        w->SBRegisterClick(3);
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 0);
        QVERIFY(m_engineMessages.isEmpty());
    }

    void missingDefinition()
    {
        QVERIFY(QFile::remove(m_tmp->filePath("reports/pvp.pts")));
        const QString dir = overviewReportDir(m_tmp->path(), QStringLiteral("pvp.pts"));
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath("reports");
        if (QFileInfo::exists(beside + "/pvp.pts")) {
            // installed beside the programs: that one is used
            QCOMPARE(dir, beside);
            return;
        }
        QCOMPARE(dir, m_tmp->filePath("reports"));
        auto w = start(999);
        w->SBRegisterClick(1);
        w->TiskPrehleduClick();
        QCOMPARE(m_shown.runs, 0);
        QCOMPARE(m_engineMessages.size(), 1);
        QVERIFY(m_engineMessages[0].startsWith(QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy")));
    }
};

QTEST_MAIN(TstOverviewPrint)
#include "tst_overviewprint.moc"
