// The accessory card and the inspection history window, offscreen, on a real
// database with the demo data.
#include "accessorycard.h"
#include "datadir.h"
#include "historywindow.h"
#include "prompts.h"
#include "recordcommands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace tz;
using namespace tz::acc;
using namespace tz::app;
using namespace tz::db;

class TstAccessoryCard : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<MainState> m_state;
    QStringList m_messages;
    bool m_answer = true;

    int count(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p).toInt(); }

    void setText(TfVazaci &card, const QString &field, const QString &text)
    {
        QWidget *w = card.fieldWidget(field);
        QVERIFY2(w, qPrintable(field));
        if (auto *le = qobject_cast<QLineEdit *>(w))
            le->setText(text);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->setCurrentText(text);
    }
    QString shown(TfVazaci &card, const QString &field)
    {
        QWidget *w = card.fieldWidget(field);
        if (auto *le = qobject_cast<QLineEdit *>(w))
            return le->text();
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c->currentText();
        return {};
    }

    // The card of a new accessory of a kind, as "Přidat nový" prepares it.
    std::unique_ptr<TfVazaci> newCard(const QString &kindButton)
    {
        m_state->setRegister("Vázací prostředky");
        m_state->setKind(kindButton);
        m_state->refresh();
        const auto t = prepareNewItem(*m_state);
        if (!t)
            return {};
        auto card = std::make_unique<TfVazaci>(*m_dm, *kindByForm(t->formClass));
        card->show();
        return card;
    }
    // The card of a stored accessory, as opening its row prepares it.
    std::unique_ptr<TfVazaci> openCard(int poradi)
    {
        m_dm->setSelectedCompany(count("select firma from basic where poradi=:p", Params{{"p", poradi}}));
        m_state->setRegister("Vázací prostředky");
        m_state->setKind("Vázací prostředky");
        m_state->refresh();
        if (!m_state->evidenceList()->locate("PORADI", poradi))
            return {};
        const auto t = m_state->prepareOpen();
        if (!t)
            return {};
        auto card = std::make_unique<TfVazaci>(*m_dm, *kindByForm(t->formClass));
        card->show();
        return card;
    }

private Q_SLOTS:
    void initTestCase()
    {
        gui::prompts().message = [this](QWidget *, const QString &text, const QString &, int) { m_messages << text; };
        gui::prompts().question = [this](QWidget *, const QString &text, const QString &, bool) {
            m_messages << text;
            return m_answer;
        };
    }
    void init()
    {
        m_state.reset();
        m_dm.reset();
        m_db.reset();
        m_messages.clear();
        m_answer = true;
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<Database>(QStringLiteral("card"));
        m_db->openSqlite(m_tmp->path());
        installSchema(*m_db);
        loadDemoData(*m_db);
        m_dm = std::make_unique<TDM>(m_db.get());
        m_dm->today = [] { return QDate(2026, 12, 10); };
        m_dm->setSelectedCompany(1);
        m_state = std::make_unique<MainState>(*m_dm);
    }
    void cleanup()
    {
        m_state.reset();
        m_dm.reset();
        m_db.reset();
    }

    void newCardOfEachKind_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("jakTrida");
        QTest::addColumn<bool>("thorough");
        QTest::newRow("chain") << "Řetězy" << "R" << "8" << true;
        QTest::newRow("rope") << "Lana" << "L" << "1770" << false;
        QTest::newRow("textile") << "Textilie" << "X" << "" << true;
        QTest::newRow("clamp") << "Svěrky" << "S" << "" << false;
        QTest::newRow("spreader beam") << "Traverzy" << "T" << "" << false;
        QTest::newRow("other") << "Ostatní" << "J" << "" << false;
    }
    void newCardOfEachKind()
    {
        QFETCH(QString, button);
        QFETCH(QString, letter);
        QFETCH(QString, jakTrida);
        QFETCH(bool, thorough);
        auto card = newCard(button);
        QVERIFY(card);
        QCOMPARE(card->windowTitle(), QStringLiteral("Vázací prostředky"));
        QVERIFY(card->typePanel()->isVisible());
        QVERIFY(!card->historyPanel()->isVisible());
        QCOMPARE(bool(card->fieldWidget("DAT_POSL_3")), thorough);
        QCOMPARE(shown(*card, "PERIODA1"), QStringLiteral("12"));
        QCOMPARE(shown(*card, "STREDISKO"), QStringLiteral("Strojírny Šumperk a.s."));
        if (card->fieldWidget("JAK_TRIDA"))
            QCOMPARE(shown(*card, "JAK_TRIDA"), jakTrida);
        // a type button sets the type and its name
        card->typeButton(2)->click();
        QCOMPARE(m_dm->BasicView.value("TYP").toInt(), 2);
        QVERIFY(!shown(*card, "POPIS").isEmpty());
        setText(*card, "EVID_C", "N-" + letter);
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(card->result(), 1);
        QCOMPARE(count("select count(*) from basic where poradi=7 and druh=:d and evid_c=:e and typ=2 and firma=1",
                       Params{{"d", letter}, {"e", "N-" + letter}}), 1);
        // the list returns to the stored row
        OpenTarget t;
        t.reg = Register::Accessories;
        t.keyField = "PORADI";
        t.key = 7;
        m_state->returnToRow(t);
        QCOMPARE(m_state->evidenceList()->field("PORADI")->asInteger(), 7);
        // the next new accessory starts with the values of this one
        QCOMPARE(m_dm->carryOver().typ.toInt(), 2);
    }

    void cancelOfNewCardStoresNothing()
    {
        // an inspection row that merely carries the next number is not the new card's
        m_db->exec("insert into revize (PORADI, DRUH, DATUM) values (7, 'R', '2020-01-01')");
        auto card = newCard("Řetězy");
        setText(*card, "OZNACENI", "zkouška");
        card->findChild<QPushButton *>("Cancelbtn")->click();
        QCOMPARE(card->result(), 2);
        QCOMPARE(count("select count(*) from basic where poradi=7"), 0);
        QCOMPARE(count("select count(*) from revize where poradi=7"), 1);
    }

    void changedInspectionDateOnNewCard()
    {
        auto card = newCard("Lana");
        card->typeButton(1)->click();
        int windows = 0;
        card->execHistory = [&](THistoryWindow &w) {
            ++windows;
            [&] {
                QVERIFY(!w.isPartner());
                QCOMPARE(w.history().state(), Dataset::State::Insert);
                QCOMPARE(w.history().value("TYPREVIZE").toString(), QStringLiteral("1"));
                static_cast<QComboBox *>(w.binder().widgetOf("PROVEDL"))->setCurrentText("Jan O'Neill");
                w.OkClick();    // stores the row, the window stays
                QCOMPARE(w.history().state(), Dataset::State::Browse);
                w.OkClick();    // closes
            }();
            return w.result();
        };
        setText(*card, "DAT_POSL_1", "31.8.2026");
        card->leaveField("DAT_POSL_1");
        QCOMPARE(windows, 1);
        // the accessory was stored first, then exactly one inspection
        QCOMPARE(count("select count(*) from basic where poradi=7 and druh='L'"), 1);
        QCOMPARE(count("select count(*) from revize where poradi=7 and druh='L' and datum='2026-08-31' and typrevize='1' "
                       "and provedl=:p",
                       Params{{"p", "Jan O'Neill"}}),
                 1);
        QCOMPARE(shown(*card, "DAT_PLAN_1"), QStringLiteral("31.8.2027"));
        QCOMPARE(m_dm->BasicView.state(), Dataset::State::Edit);
        QVERIFY(card->historyPanel()->isVisible());
        // leaving the field or the period again records nothing more
        card->leaveField("DAT_POSL_1");
        card->leaveField("PERIODA1");
        QCOMPARE(windows, 1);
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(count("select count(*) from basic where poradi=7 and dat_plan_1='2027-08-31'"), 1);
        QCOMPARE(count("select count(*) from revize where poradi=7"), 1);
    }

    void historyCancelKeepsTheCardDates()
    {
        auto card = openCard(1);   // chain, last 10.3.2026, period 12
        QVERIFY(card);
        QVERIFY(card->historyPanel()->isVisible());
        card->execHistory = [](THistoryWindow &w) {
            w.ZrusitClick();
            return w.result();
        };
        setText(*card, "DAT_POSL_1", "1.12.2026");
        card->leaveField("DAT_POSL_1");
        QCOMPARE(count("select count(*) from revize where poradi=1"), 2);
        QCOMPARE(shown(*card, "DAT_PLAN_1"), QStringLiteral("1.12.2027"));
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(count("select count(*) from basic where poradi=1 and dat_posl_1='2026-12-01' and dat_plan_1='2027-12-01'"), 1);
    }

    void inspectionTypedInTheHistoryIsOffered_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("next");
        QTest::newRow("newer, taken") << "1.11.2026" << true << true << "1.11.2026" << "1.11.2027";
        QTest::newRow("newer, refused") << "1.11.2026" << false << true << "10.3.2026" << "10.3.2027";
        QTest::newRow("older, not asked") << "1.2.2026" << true << false << "10.3.2026" << "10.3.2027";
    }
    void inspectionTypedInTheHistoryIsOffered()
    {
        QFETCH(QString, date);
        QFETCH(bool, answer);
        QFETCH(bool, asked);
        QFETCH(QString, last);
        QFETCH(QString, next);
        auto card = openCard(1);   // chain, last 10.3.2026, period 12
        QVERIFY(card);
        const int before = count("select count(*) from revize where poradi=1");
        card->execHistory = [&](THistoryWindow &w) {
            w.NovaRevizeClick();
            for (QRadioButton *r : w.findChildren<QRadioButton *>())
                if (r->property("value").toString() == QStringLiteral("1"))
                    r->click();   // a regular inspection
            static_cast<QLineEdit *>(w.binder().widgetOf("DATUM"))->setText(date);
            w.OkClick();   // stores the row
            w.OkClick();   // closes
            return w.result();
        };
        m_answer = answer;
        m_messages.clear();
        card->PrubehrevClick();
        QCOMPARE(count("select count(*) from revize where poradi=1"), before + 1);
        const QString question = m_messages.join('\n');
        QCOMPARE(question.contains("Převzít ji jako poslední"), asked);
        if (asked)
            QVERIFY2(question.contains(date) && question.contains("10.3.2026"), qPrintable(question));
        QCOMPARE(shown(*card, "DAT_POSL_1"), last);
        QCOMPARE(shown(*card, "DAT_PLAN_1"), next);
        // the date taken over records no second inspection when the field is left
        card->leaveField("DAT_POSL_1");
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(count("select count(*) from revize where poradi=1"), before + 1);
        QCOMPARE(count("select count(*) from basic where poradi=1 and dat_posl_1=:d",
                       Params{{"d", QDate::fromString(last, "d.M.yyyy").toString(Qt::ISODate)}}),
                 1);
    }

    void storedValuesLongerThanTheirEditsStayWhole()
    {
        // data of an older installation: longer than the edit boxes allow
        const QString longOwner = QString(60, QLatin1Char('M')) + QStringLiteral(" s.r.o.");
        const QString longType = QStringLiteral("Řetězový úvazek čtyřpramenný se zkracovači a hákem");
        m_db->exec("update basic set stredisko=:s, popis=:p, delka=2.3456789 where poradi=1",
                   Params{{"s", longOwner}, {"p", longType}});
        auto card = openCard(1);
        QVERIFY(card);
        QCOMPARE(shown(*card, "STREDISKO"), longOwner);
        QCOMPARE(shown(*card, "POPIS"), longType);
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(card->result(), 1);
        QCOMPARE(m_db->scalar("select stredisko from basic where poradi=1").toString(), longOwner);
        QCOMPARE(m_db->scalar("select popis from basic where poradi=1").toString(), longType);
        QCOMPARE(m_db->scalar("select delka from basic where poradi=1").toDouble(), 2.3456789);
        // what the user types is still limited to the field
        auto *evid = static_cast<QLineEdit *>(card->fieldWidget("EVID_C"));
        QCOMPARE(evid->maxLength(), 20);
    }

    void badValuesAreNamedByTheirLabels_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("date of manufacture") << "DAT_VYROBY" << "32.13.2020" << "Datum výroby";
        QTest::newRow("next inspection") << "DAT_PLAN_1" << "abc" << "Příští prohlídka";
        QTest::newRow("length") << "DELKA" << "2 metry" << "Délka";
    }
    void badValuesAreNamedByTheirLabels()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, label);
        auto card = openCard(3);   // rope
        QVERIFY(card);
        setText(*card, field, text);
        m_messages.clear();
        card->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(card->result(), 0);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].contains(label), qPrintable(m_messages[0]));
        QVERIFY2(!m_messages[0].contains(field, Qt::CaseInsensitive), qPrintable(m_messages[0]));
        QCOMPARE(card->focusWidget(), card->fieldWidget(field));
    }

    void cardWithoutPictureShowsNoWhiteBox()
    {
        m_db->exec("update basic set typ=12, pict=null where poradi=1");   // a chain type without a standard picture
        auto card = openCard(1);
        QVERIFY(card);
        auto *image = card->findChild<QLabel *>("Image1");
        QVERIFY(image->pixmap().isNull());
        QVERIFY(!image->property("hasPicture").toBool());
        QCOMPARE(image->frameShape(), QFrame::NoFrame);
        QVERIFY(!image->styleSheet().contains("white"));
        // a type with a picture gets its frame back
        m_dm->BasicView.edit();
        m_dm->BasicView.setFieldValue("TYP", 2);
        card->TypeButtonClick(2);
        QVERIFY(!image->pixmap().isNull());
        QVERIFY(image->property("hasPicture").toBool());
        card->CancelbtnClick();
    }

    void leavingUnchangedFieldsRecordsNothing()
    {
        auto card = openCard(3);   // rope: leaving the period records like the date
        QVERIFY(card);
        int windows = 0;
        card->execHistory = [&](THistoryWindow &w) {
            ++windows;
            return w.result();
        };
        card->leaveField("PERIODA1");
        card->leaveField("DAT_POSL_1");
        QCOMPARE(windows, 0);
        // in edit state the next date is still computed from the period
        setText(*card, "PERIODA1", "6");
        card->leaveField("PERIODA1");
        QCOMPARE(windows, 0);
        QCOMPARE(shown(*card, "DAT_PLAN_1"), QStringLiteral("15.7.2026"));
        QCOMPARE(count("select count(*) from revize where poradi=3"), 1);
    }

    void badPeriodAndBadDateAreRefused()
    {
        auto card = openCard(3);
        QVERIFY(card);
        setText(*card, "PERIODA1", "-3");
        card->leaveField("PERIODA1");
        QVERIFY(m_messages.join('\n').contains("alespoň 1 měsíc"));
        QCOMPARE(shown(*card, "DAT_PLAN_1"), QStringLiteral("15.1.2027"));
        m_messages.clear();
        card->findChild<QPushButton *>("Okbtn")->click();
        QVERIFY(!m_messages.isEmpty());
        QVERIFY(card->isVisible() && card->result() == 0);
        setText(*card, "PERIODA1", "12");
        setText(*card, "DAT_VYROBY", "32.13.2020");
        m_messages.clear();
        card->findChild<QPushButton *>("Okbtn")->click();
        QVERIFY(!m_messages.isEmpty());
        QCOMPARE(card->result(), 0);
        // nothing of the card was stored
        QCOMPARE(count("select count(*) from basic where poradi=3 and dat_vyroby='2020-01-20' and perioda1=12"), 1);
    }

    void datesOfManufactureAndService()
    {
        auto card = newCard("Řetězy");
        setText(*card, "DAT_VYROBY", "15.03.2004");
        card->leaveField("DAT_VYROBY");
        QCOMPARE(shown(*card, "DAT_PROVOZ"), QStringLiteral("15.3.2004"));
        setText(*card, "DAT_VYROBY", "1.1.2003");
        card->leaveField("DAT_VYROBY");
        QCOMPARE(shown(*card, "DAT_PROVOZ"), QStringLiteral("15.3.2004"));
        // Ctrl+Delete empties a date
        QWidget *plan = card->fieldWidget("DAT_PLAN_1");
        static_cast<QLineEdit *>(plan)->setText("1.1.2030");
        QTest::keyClick(plan, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(static_cast<QLineEdit *>(plan)->text(), QString());
        card->CancelbtnClick();
    }

    void capacitiesFollowTheTableOnChains()
    {
        auto card = openCard(2);   // chain type 4, class 10, 13 mm
        QVERIFY(card);
        m_db->exec("update nosnosti set nosnost_1=20000 where druh='R' and typ=4 and jak_trida='10' and prumer=13");
        m_dm->Nosnosti.close();
        auto *evid = static_cast<QLineEdit *>(card->fieldWidget("EVID_C"));
        evid->setFocus();
        QTest::keyClick(evid, Qt::Key_X);
        QCOMPARE(m_dm->BasicView.state(), Dataset::State::Edit);
        QCOMPARE(m_dm->BasicView.value("NOSNOST_1").toDouble(), 20000.0);
        QCOMPARE(shown(*card, "NOSNOST_1"), QStringLiteral("20000"));
        card->CancelbtnClick();

        // a textile card never looks capacities up
        auto tex = openCard(4);
        QVERIFY(tex);
        m_db->exec("insert into nosnosti (DRUH, TYP, JAK_TRIDA, PRUMER, NOSNOST_1) values ('X', 1, '8', 0, 999)");
        auto *e = static_cast<QLineEdit *>(tex->fieldWidget("EVID_C"));
        e->setFocus();
        QTest::keyClick(e, Qt::Key_X);
        QCOMPARE(m_dm->BasicView.value("NOSNOST_1").toDouble(), 3000.0);
        tex->CancelbtnClick();
    }

    void chainPictureFollowsTypeAndClass()
    {
        auto card = newCard("Řetězy");
        setText(*card, "JAK_TRIDA", "8S");
        card->typeButton(3)->click();
        QCOMPARE(card->pictureName(), QStringLiteral("I3V"));
        setText(*card, "JAK_TRIDA", "10");
        card->leaveField("JAK_TRIDA");
        QCOMPARE(card->pictureName(), QStringLiteral("I310"));
        setText(*card, "JAK_TRIDA", "M24");
        card->leaveField("JAK_TRIDA");
        QCOMPARE(card->pictureName(), QStringLiteral("I324"));
        card->CancelbtnClick();
    }

    void ownPictureIsStoredAndShown()
    {
        QImage img(200, 400, QImage::Format_RGB32);
        img.fill(Qt::red);
        const QString file = m_tmp->filePath("own.bmp");
        QVERIFY(img.save(file));
        auto card = openCard(5);
        QVERIFY(card);
        card->ZmenitObrazekClick(file);
        QVERIFY(!card->shownPicture().isNull());
        QCOMPARE(card->pictureLabel()->pixmap().height(), 246);
        card->findChild<QPushButton *>("Okbtn")->click();
        QVERIFY(!m_db->scalar("select Pict from basic where poradi=5").toByteArray().isEmpty());
        // a file that is no picture is refused and the record keeps its picture
        auto again = openCard(5);
        QFile bad(m_tmp->filePath("bad.bmp"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a picture");
        bad.close();
        m_messages.clear();
        again->ZmenitObrazekClick(bad.fileName());
        QVERIFY(m_messages.join('\n').contains("není obrázek"));
        again->VratitObrazekClick();
        QVERIFY(m_db->scalar("select Pict from basic where poradi=5").isNull());
        again->CancelbtnClick();
    }

    void clampShowsItsLengthAsOtherData()
    {
        m_db->exec("update basic set DELKA=120, JINE=null where poradi=6");
        m_dm->setSelectedCompany(3);
        auto card = openCard(6);
        QVERIFY(card);
        QCOMPARE(shown(*card, "JINE"), QStringLiteral("120"));
        QCOMPARE(m_dm->BasicView.state(), Dataset::State::Edit);
        card->CancelbtnClick();
    }

    void partnerWindowComputesTestValuesAndPrice()
    {
        m_dm->partnerMode = true;
        m_dm->revTech = "Ing. Petr Dvořák";
        m_db->exec("update basic set ZAVES='Z1', VAZ_HAK=null, PRUMER=13, DELKA=3.5 where poradi=2");
        m_db->exec("delete from Ceny where prumer=13 and jaka='1' and Prameny=4");
        m_db->exec("insert into Ceny (prumer, jaka, Prameny, Do2, dalsi) values (13, '1', 4, 500, 100)");
        auto card = openCard(2);   // chain type 4: four legs
        QVERIFY(card);
        card->execHistory = [](THistoryWindow &w) {
            [&] {
                QVERIFY(w.isPartner());
                QCOMPARE(w.history().value("CProtNDT").toInt(), 1);
                QCOMPARE(w.history().value("Vysledek").toString(), QStringLiteral("Vyhovuje"));
                w.DopocitatClick();
                QCOMPARE(w.history().value("Proud5").toDouble(), 380.0);
                QCOMPARE(w.history().value("Tloustka1").toDouble(), 32.0);
                QCOMPARE(w.history().value("Proud1").toDouble(), 850.0);
                QVERIFY(w.history().value("Tloustka4").isNull());
                QCOMPARE(w.history().value("CenaRev").toInt(), 700);
                w.OkClick();
                w.OkClick();
            }();
            return w.result();
        };
        setText(*card, "DAT_POSL_1", "2.12.2026");
        card->leaveField("DAT_POSL_1");
        QCOMPARE(count("select count(*) from revize where poradi=2 and datum='2026-12-02' and cenarev=700 and voda='A' "
                       "and benzin='N' and provedl=:p",
                       Params{{"p", "Ing. Petr Dvořák"}}),
                 1);
        // the card's history shows the new row
        auto *grid = card->findChild<QTableView *>("DBGridPrubeh");
        QCOMPARE(grid->model()->rowCount(), 2);
        card->CancelbtnClick();
    }

    void historyWindowDeletesAfterTheQuestion()
    {
        auto card = openCard(1);
        QVERIFY(card);
        THistoryWindow w(*m_dm, false, card.get());
        QCOMPARE(w.history().recordCount(), 2);
        QVERIFY(w.button("TiskProtokolu")->isEnabled());
        m_answer = false;
        w.OdstranitClick();
        QCOMPARE(count("select count(*) from revize where poradi=1"), 2);
        m_answer = true;
        w.OdstranitClick();
        QVERIFY(m_messages.contains("Opravdu zrušit?"));
        QCOMPARE(count("select count(*) from revize where poradi=1"), 1);
        // a second inspection on the same day is refused with a message, nothing lost
        w.NovaRevizeClick();
        static_cast<QLineEdit *>(w.binder().widgetOf("DATUM"))->setText(
            m_db->scalar("select datum from revize where poradi=1").toDate().toString("d.M.yyyy"));
        m_messages.clear();
        QVERIFY(!w.postPending());
        QVERIFY(!m_messages.isEmpty());
        QCOMPARE(count("select count(*) from revize where poradi=1"), 1);
        w.ZrusitClick();
        card->CancelbtnClick();
    }

    void pickListsOfferAndLearnValues()
    {
        m_db->exec("insert into extend_b (TYP, OZNACENI, NAZEV_V) values ('V', 50, 'Pewag Kolín')");
        m_db->exec("insert into extend_b (TYP, OZNACENI, NAZEV_V) values ('D', 51, 'Vázací technika s.r.o.')");
        auto card = newCard("Řetězy");
        auto *vyrobce = static_cast<QComboBox *>(card->fieldWidget("VYROBCE"));
        auto *dodavatel = static_cast<QComboBox *>(card->fieldWidget("DODAVATEL"));
        QVERIFY(vyrobce->findText("Pewag Kolín") >= 0);
        QCOMPARE(dodavatel->findText("Pewag Kolín"), -1);
        // a manufacturer typed as supplier becomes a supplier too; a known supplier adds nothing
        for (const char *name : {"Pewag Kolín", "Vázací technika s.r.o."}) {
            dodavatel->setFocus();
            dodavatel->setCurrentText(QString::fromUtf8(name));
            QTest::keyClick(dodavatel, Qt::Key_Return);
        }
        QCOMPARE(count("select count(*) from extend_b where typ='D' and nazev_v='Pewag Kolín' and oznaceni=52"), 1);
        QCOMPARE(count("select count(*) from extend_b where nazev_v='Vázací technika s.r.o.'"), 1);
        card->CancelbtnClick();
    }

    void protocolDataIsTheChosenInspection()
    {
        // a stray row of another kind under the same number and day is not printed
        m_db->exec("insert into revize (PORADI, DRUH, DATUM, VYSLEDEK) values (1, 'L', '2026-03-10', 'Nevyhovuje')");
        auto card = openCard(1);
        QVERIFY(card);
        m_dm->Tisk_rev.close();
        m_dm->Tisk_rev.setParam("_datum", QDate(2026, 3, 10));
        m_dm->Tisk_rev.open();
        QCOMPARE(m_dm->Tisk_rev.recordCount(), 1);
        QCOMPARE(m_dm->Tisk_rev.field("VYSLEDEK")->asString(), QStringLiteral("Vyhovuje"));
        // the company text handed to the protocol: the name alone, no empty parts
        QCOMPARE(m_dm->companyText(), QStringLiteral("Strojírny Šumperk a.s."));
        m_dm->setSelectedCompany(999);
        QCOMPARE(m_dm->companyText(), QStringLiteral("není proveden výběr firmy - zobrazena všechna data"));
        m_dm->setSelectedCompany(77);
        QCOMPARE(m_dm->companyText(), QString());
        m_dm->setSelectedCompany(1);
        card->CancelbtnClick();
    }

    // Pictures of the windows for the documentation (TAVOZZ_SCREENSHOT_DIR).
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("TAVOZZ_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("TAVOZZ_SCREENSHOT_DIR not set");
        auto chain = openCard(1);
        QVERIFY(chain);
        chain->resize(880, 720);
        QTest::qWait(50);
        QVERIFY(chain->grab().save(dir + "/card-chain.png"));
        THistoryWindow w(*m_dm, false, chain.get());
        w.show();
        QTest::qWait(50);
        QVERIFY(w.grab().save(dir + "/history-chain.png"));
        w.ZrusitClick();
        m_dm->partnerMode = true;
        THistoryWindow p(*m_dm, true, chain.get());
        p.show();
        QTest::qWait(50);
        QVERIFY(p.grab().save(dir + "/history-partner.png"));
        p.ZrusitClick();
        m_dm->partnerMode = false;
        chain->CancelbtnClick();
        auto beam = newCard("Traverzy");
        QVERIFY(beam);
        beam->typeButton(1)->click();
        beam->resize(880, 720);
        QTest::qWait(50);
        QVERIFY(beam->grab().save(dir + "/card-new-beam.png"));
        beam->CancelbtnClick();
        // the message about a bad date, over the card, as the user sees it
        auto rope = openCard(3);
        QVERIFY(rope);
        rope->resize(880, 720);
        setText(*rope, "DAT_VYROBY", "31.2.2020");
        m_messages.clear();
        rope->findChild<QPushButton *>("Okbtn")->click();
        QCOMPARE(m_messages.size(), 1);
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Chyba"), m_messages[0], QMessageBox::Ok, rope.get());
        box.show();
        QTest::qWait(100);
        QPixmap shot = rope->grab();
        {
            QPainter p(&shot);
            p.drawPixmap((shot.width() - box.width()) / 2, (shot.height() - box.height()) / 2, box.grab());
        }
        QVERIFY(shot.save(dir + "/card-bad-date.png"));
        box.close();
        rope->CancelbtnClick();
    }
};

QTEST_MAIN(TstAccessoryCard)
#include "tst_accessorycard.moc"
