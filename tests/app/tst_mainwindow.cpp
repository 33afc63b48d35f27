// The main window offscreen: start-up with the company choice, registers, kinds,
// pages, opening a row, the company dialog and closing.
#include "codepage.h"
#include "datasetmodel.h"
#include "fieldcaptions.h"
#include "companydialogs.h"
#include "datadir.h"
#include "mainwindow.h"
#include "inifile.h"
#include "guitest.h"
#include "prompts.h"

#include <QApplication>
#include <QLabel>
#include <QHeaderView>
#include <QLineEdit>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace tz;
using namespace tz::gui;

class TstMainWindow : public QObject, DemoProgramFolder
{
    Q_OBJECT
    PromptRecorder m_prompts;
    QStringList &m_questions = m_prompts.questions, &m_messages = m_prompts.messages;
    QList<bool> &m_answers = m_prompts.answers; // answers to the questions, in turn; Yes when none are left

    template <class T>
    void whenModal(std::function<void(T *)> act)
    {
        ::whenModal<T>(this, std::move(act));
    }

    std::unique_ptr<TF_Main> start(const QString &iniRegister, std::function<void(TFSelFirma *)> choose)
    {
        if (!iniRegister.isNull()) {
            QFile f(m_tmp->filePath("tavozz.ini"));
            f.open(QIODevice::WriteOnly);
            f.write(encode("[Set]\r\nskupina=" + iniRegister + "\r\n"));
        }
        auto w = std::make_unique<TF_Main>(app::ProgramFolder(m_tmp->path()), *m_dm);
        whenModal<TFSelFirma>(choose);
        w->FormShow();
        return w;
    }

    static void openCompany(TFSelFirma *d, int pcfir)
    {
        QVERIFY(d->selectCompany(pcfir));
        d->OtevritClick();
    }

private Q_SLOTS:
    void init()
    {
        openDemo(QStringLiteral("mw"));
        m_prompts.install();
    }
    void cleanup()
    {
        closeDemo();
    }

    void startWithOneCompany()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        QCOMPARE(w->windowTitle(), QStringLiteral("TAVO ZZ - Strojírny Šumperk a.s."));
        QCOMPARE(w->companyText(), QStringLiteral("Strojírny Šumperk a.s."));
        QCOMPARE(m_dm->selectedCompany(), 1);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 3"));
        QVERIFY(w->registerButton(1)->isChecked());
        QCOMPARE(w->registerButton(1)->text(), QStringLiteral("Vázací\nprostředky"));
        QVERIFY(!w->registerButton(4)->isEnabled());
        QCOMPARE(w->evidenceGrid()->model()->rowCount(), 3);
        // the schema step ran on this first start
        QCOMPARE(m_db->scalar("select count(*) from TAVOZZ_X where verze=1").toInt(), 1);
        QVERIFY(m_db->table("firmy")->column("IDFIR"));
        QVERIFY(!w->partnerMenu()->menuAction()->isVisible());
    }

    void allCompaniesAreViewOnly()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { d->VseClick(); });
        QVERIFY(w->windowTitle().endsWith(QStringLiteral(" - není proveden výběr firmy - zobrazena všechna data")));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 6"));
        w->SBDruhClick(0);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 2"));
        QVERIFY(!w->command("_057addbtn")->isEnabled());
    }

    void cancelThenStay()
    {
        m_answers = {false}; // "No" to the closing question
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { d->StornoClick(); });
        QCOMPARE(m_questions, QStringList{"Opravdu chcete ukončit aplikaci TAVO ZZ?"});
        QCOMPARE(m_dm->selectedCompany(), 0);
        // the lists keep their range: company 1 at the first start
        QCOMPARE(m_dm->Basic.param("_firma").toInt(), 1);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 3"));
    }

    void registersKindsAndPages()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        // kinds of accessories
        QCOMPARE(w->kindButton(0)->text(), QStringLiteral("Řetězy"));
        QVERIFY(!w->command("_057addbtn")->isEnabled());
        w->SBDruhClick(0);
        QCOMPARE(w->state().kindLetter(), QStringLiteral("R"));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 2"));
        QVERIFY(w->command("_057addbtn")->isEnabled());
        QVERIFY(w->command("Upravit")->isEnabled());
        // equipment: nine kinds, the list of the company
        w->SBRegisterClick(2);
        QCOMPARE(w->state().registerName(), QStringLiteral("Zdvihací zařízení"));
        QVERIFY(!w->state().hasKind());
        QCOMPARE(w->kindButton(8)->toolTip(), QStringLiteral("Jiné zař."));
        QCOMPARE(w->kindButton(7)->text(), QStringLiteral("Zvedák \nvozidel"));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 1"));
        QVERIFY(w->command("TiskKarty")->isHidden());
        // planning page
        w->SBPlanovaniClick();
        QCOMPARE(w->pages()->currentIndex(), 1);
        QCOMPARE(w->planningGrid()->model()->rowCount(), 1); // the inspection of MJ-01 falls due on 1.12.2026
        // persons with a function
        w->SBRegisterClick(3);
        QCOMPARE(w->planningGrid()->model()->rowCount(), m_dm->PlanL.recordCount());
        w->SBEvidenceClick();
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 2"));
        int vazaci = -1;
        for (int i = 0; i < 10; ++i)
            if (w->kindButton(i)->toolTip() == QStringLiteral("Jeřábníci"))
                vazaci = i;
        QVERIFY(vazaci >= 0);
        w->SBDruhClick(vazaci);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 1"));
        QVERIFY(w->command("_057addbtn")->isEnabled());
    }

    void unknownRegisterShowsNothing()
    {
        auto w = start("Jeřáby", [](TFSelFirma *d) { openCompany(d, 1); });
        for (int t = 1; t <= 5; ++t)
            QVERIFY(!w->registerButton(t)->isChecked());
        QCOMPARE(w->evidenceGrid()->model()->rowCount(), 0);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 0"));
        w->SBRegisterClick(1);
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 3"));
    }

    void openingARowReturnsToIt()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        w->evidenceGrid()->selectRow(1);
        QCOMPARE(m_dm->Basic.field("PORADI")->asInteger(), 2);
        whenModal<QDialog>([](QDialog *d) { d->reject(); });
        w->DBGrid1DblClick();
        QCOMPARE(m_dm->Basic.field("PORADI")->asInteger(), 2);
        QCOMPARE(w->evidenceGrid()->currentIndex().row(), 1);
        // a row removed meanwhile opens no card
        m_db->exec("delete from basic where poradi=2");
        w->DBGrid1DblClick();
        QVERIFY(m_messages.last().startsWith(QStringLiteral("Záznam nebyl nalezen")));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 2"));
    }

    void enterOpensTheRowAndWidthsSurviveTheSave()
    {
        // a company name longer than the default column width
        const QString longName = QStringLiteral("Strojírny a slévárny Šumperk, akciová společnost, závod Bludov");
        m_db->exec("update firmy set firma=:f where pcfir=1", db::Params{{"f", longName}});
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        w->resize(1200, 700);
        whenModal<TFSelFirma>([](TFSelFirma *d) { openCompany(d, 1); });   // the start-up choice once shown
        w->show();
        QTest::qWait(200);
        QTableView *grid = w->evidenceGrid();
        auto *model = grid->model();
        int firmaColumn = -1;
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Firma"))
                firmaColumn = c;
        QVERIFY(firmaColumn >= 0);
        const int fitted = grid->columnWidth(firmaColumn);
        QVERIFY2(fitted > grid->horizontalHeader()->defaultSectionSize() + 50, qPrintable(QString::number(fitted)));
        // the user narrows another column; Enter opens the row, OK stores the card
        const int popis = [&] {
            for (int c = 0; c < model->columnCount(); ++c)
                if (model->headerData(c, Qt::Horizontal).toString() == QStringLiteral("Popis"))
                    return c;
            return -1;
        }();
        QVERIFY(popis >= 0);
        grid->horizontalHeader()->resizeSection(popis, 41);
        grid->setFocus();
        grid->selectRow(1);
        int opened = 0;
        whenModal<QDialog>([&](QDialog *d) {
            ++opened;
            auto *ok = d->findChild<QPushButton *>("Okbtn");
            QVERIFY2(ok, d->metaObject()->className());
            ok->click();
        });
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(opened, 1);
        QCOMPARE(grid->currentIndex().row(), 1);
        QCOMPARE(grid->columnWidth(firmaColumn), fitted);
        QCOMPARE(grid->columnWidth(popis), 41);
        // the keypad's Enter too, and after a refresh the same widths
        whenModal<QDialog>([&](QDialog *d) {
            ++opened;
            d->reject();
        });
        QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(opened, 2);
        w->RefreshList();
        QCOMPARE(grid->columnWidth(firmaColumn), fitted);
        QCOMPARE(grid->columnWidth(popis), 41);
        m_answers = {true};
        w->close();
    }

    void everyColumnTitleIsACzechWord()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        for (int reg = 1; reg <= 5; ++reg) {
            w->SBRegisterClick(reg);
            for (bool planning : {false, true}) {
                if (planning)
                    w->SBPlanovaniClick();
                else
                    w->SBEvidenceClick();
                QTableView *grid = planning ? w->planningGrid() : w->evidenceGrid();
                auto *model = static_cast<gui::DatasetModel *>(grid->model());
                QVERIFY(model->dataset());
                for (int c = 0; c < model->columnCount(); ++c) {
                    const QString field = model->fieldAt(c)->name();
                    const QString title = model->headerData(c, Qt::Horizontal).toString();
                    QVERIFY2(db::hasFieldCaption(field) && !title.contains('_') && title != field.toUpper(),
                             qPrintable(QStringLiteral("%1 %2: %3 → %4").arg(reg).arg(planning).arg(field, title)));
                }
            }
        }
    }

    void noMenuItemIsDisabledForEver()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        // every item shown can be used; an item without its work is hidden
        std::function<void(QMenu *)> walk = [&](QMenu *menu) {
            for (QAction *a : menu->actions()) {
                if (a->isSeparator() || !a->isVisible())
                    continue;
                QVERIFY2(a->isEnabled(), qPrintable(a->text()));
                if (a->menu())
                    walk(a->menu());
            }
        };
        for (QAction *top : w->menuBar()->actions())
            if (top->menu() && top->isVisible())
                walk(top->menu());
        for (const char *name : {"HromadneRevize", "Skoleni", "TiskKarty", "TiskKaret"})
            if (!w->command(QString::fromLatin1(name))->property("ready").toBool())
                QVERIFY2(!w->command(QString::fromLatin1(name))->isVisibleTo(w.get()), name);
    }

    void standardDialogsSpeakCzech()
    {
        QString folder;
        QVERIFY2(installCzechTranslations(&folder), qPrintable("no Czech translations of Qt in " + folder));
        QMessageBox box(QMessageBox::Information, "Informace", "Text", QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QStringLiteral("Zrušit"));
        QFileDialog dlg(nullptr, "Uložit");
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        QStringList labels;
        for (QLabel *l : dlg.findChildren<QLabel *>())
            labels << l->text();
        QVERIFY2(labels.join('|').contains(QStringLiteral("Hledat v:")), qPrintable(labels.join('|')));
        const QString dir = qEnvironmentVariable("TAVOZZ_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            dlg.setDirectory(m_tmp->path());
            dlg.resize(720, 440);
            dlg.show();
            QTest::qWait(200);
            QVERIFY(dlg.grab().save(dir + "/file-dialog-czech.png"));
        }
    }

    void recordCommandsOfTheEvidencePage()
    {
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        QVERIFY(w->command("Odstranit")->isEnabled());
        // "No" keeps the item
        w->evidenceGrid()->selectRow(0);
        m_answers = {false};
        w->OdstranitClick();
        QCOMPARE(m_questions.last(), QStringLiteral("Opravdu chcete odstranit položku?"));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 3"));
        // "Yes" removes it with its inspections
        const int poradi = m_dm->Basic.field("PORADI")->asInteger();
        w->OdstranitClick();
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 2"));
        QCOMPARE(m_db->scalar("select count(*) from revize where poradi=:p", db::Params{{"p", poradi}}).toInt(), 0);
        // every rope shown, with a count at the end
        w->SBDruhClick(1);
        w->OdstranitVseClick();
        QVERIFY(m_questions.last().startsWith(QStringLiteral("Opravdu chcete odstranit všechny zobrazené záznamy?")));
        QVERIFY(m_messages.last().startsWith(QStringLiteral("Odstraněno záznamů: 1")));
        QCOMPARE(w->statusCount()->text(), QStringLiteral("Počet záznamů: 0"));
        QVERIFY(!w->command("OdstranitVse")->isEnabled());
        QCOMPARE(m_db->scalar("select count(*) from basic").toInt(), 4);
        // the text list lands in the program folder
        w->SBDruhClick(1);
        w->SBRegisterClick(1);
        w->SeznamTXTClick();
        QVERIFY(QFileInfo::exists(m_tmp->filePath("Tavo.txt")));
        // persons have no copy yet
        w->SBRegisterClick(3);
        w->KopieKartyClick();
        QCOMPARE(m_messages.last(), QStringLiteral("Tato funkce zatím není implementována"));
        // fall protection has no removal of the whole list
        w->SBRegisterClick(5);
        QVERIFY(!w->command("OdstranitVse")->isEnabled());
    }

    // Pictures of the main window for the documentation (TAVOZZ_SCREENSHOT_DIR).
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("TAVOZZ_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("TAVOZZ_SCREENSHOT_DIR not set");
        auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
        w->resize(1280, 720);
        whenModal<TFSelFirma>([](TFSelFirma *d) { openCompany(d, 1); });   // the start-up choice once shown
        w->show();
        QTest::qWait(300);
        w->SBDruhClick(0);
        QTest::qWait(100);
        QVERIFY(w->grab().save(dir + "/evidence-accessories.png"));
        w->SBRegisterClick(2);
        QTest::qWait(100);
        QVERIFY(w->grab().save(dir + "/evidence-equipment.png"));
        // after a card was opened with Enter and stored with OK
        w->SBRegisterClick(1);
        w->evidenceGrid()->setFocus();
        w->evidenceGrid()->selectRow(1);
        whenModal<QDialog>([](QDialog *d) { d->findChild<QPushButton *>("Okbtn")->click(); });
        QTest::keyClick(w->evidenceGrid(), Qt::Key_Return);
        QTest::qWait(100);
        QVERIFY(w->grab().save(dir + "/evidence-after-save.png"));
        m_answers = {true};
        w->close();
    }

    void companyDialogAddEditDelete()
    {
        {
            // before the schema step the identifier is not there yet
            TFSelFirma before(*m_dm);
            QCOMPARE(before.list()->model()->columnCount(), 2);
        }
        app::applySchemaStep(*m_db, QDate::currentDate());
        TFSelFirma dlg(*m_dm);
        QCOMPARE(dlg.list()->model()->rowCount(), 3);
        QCOMPARE(dlg.list()->model()->columnCount(), 3);
        // add: the next number, listed in name order
        whenModal<TFFirma>([](TFFirma *f) {
            f->findChild<QLineEdit *>("Firma")->setText(QStringLiteral("Alfa O'Neil s.r.o."));
            f->findChild<QLineEdit *>("IDFIR")->setText(QStringLiteral("ALFA-1"));
            f->OKClick();
        });
        dlg.PridatClick();
        QCOMPARE(m_db->scalar("select Firma from firmy where PCFir=4").toString(), QStringLiteral("Alfa O'Neil s.r.o."));
        QCOMPARE(dlg.list()->model()->rowCount(), 4);
        QCOMPARE(dlg.list()->model()->index(0, 0).data().toString(), QStringLiteral("Alfa O'Neil s.r.o."));
        // add cancelled: nothing stored
        whenModal<TFFirma>([](TFFirma *f) { f->ZrusitClick(); });
        dlg.PridatClick();
        QCOMPARE(m_db->scalar("select count(*) from firmy").toInt(), 4);
        // a company without a name is refused and stays in the form
        whenModal<TFFirma>([this](TFFirma *f) {
            f->OKClick();
            QCOMPARE(m_messages.last(), QStringLiteral("Zadejte název firmy."));
            f->ZrusitClick();
        });
        dlg.PridatClick();
        QCOMPARE(m_db->scalar("select count(*) from firmy").toInt(), 4);
        // edit
        QVERIFY(dlg.selectCompany(2));
        whenModal<TFFirma>([](TFFirma *f) {
            QCOMPARE(f->findChild<QLineEdit *>("Firma")->text(), QStringLiteral("Ocelárna Třinec - válcovna"));
            f->findChild<QLineEdit *>("Telefon")->setText(QStringLiteral("558 000 000"));
            f->OKClick();
        });
        dlg.OpravitClick();
        QCOMPARE(m_db->scalar("select Telefon from firmy where PCFir=2").toString(), QStringLiteral("558 000 000"));
        // delete after the question, with all the company's items
        QVERIFY(dlg.selectCompany(2));
        m_answers = {true};
        dlg.SmazatClick();
        QCOMPARE(m_questions.last(), QStringLiteral("Opravdu chcete smazat všechny záznamy firmy Ocelárna Třinec - válcovna?\n"
                                                    "Budou nenávratně odstraněna i všechna související data !"));
        QCOMPARE(m_db->scalar("select count(*) from firmy where PCFir=2").toInt(), 0);
        QCOMPARE(m_db->scalar("select count(*) from basic where firma=2").toInt(), 0);
        QCOMPARE(m_db->scalar("select count(*) from zz_basic where firma=2").toInt(), 0);
        QCOMPARE(dlg.list()->model()->rowCount(), 3);
        // "No" keeps everything
        QVERIFY(dlg.selectCompany(3));
        m_answers = {false};
        dlg.SmazatClick();
        QCOMPARE(m_db->scalar("select count(*) from firmy where PCFir=3").toInt(), 1);
    }

    void closingAsksAndRemembersTheRegister()
    {
        {
            auto w = start("Vázací prostředky", [](TFSelFirma *d) { openCompany(d, 1); });
            w->SBRegisterClick(3);
            m_answers = {false};
            QVERIFY(!w->close());
            m_answers = {true};
            QVERIFY(w->close());
        }
        IniFile ini(m_tmp->filePath("tavozz.ini"));
        QVERIFY(ini.load());
        QCOMPARE(ini.readString("Set", "skupina"), QStringLiteral("Osoby"));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
