// The equipment card, offscreen, on a fresh data directory with the demo data,
// opened as the main window prepares it.
#include "gui/equipmentcard.h"

#include "datadir.h"
#include "inspections.h"
#include "mainstate.h"
#include "prompts.h"
#include "recordcommands.h"
#include "recordforms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::eq;
using namespace tz::app;
using namespace tz::db;

class TstEquipmentCard : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<MainState> m_state;
    QStringList m_messages;
    bool m_answer = true;
    struct Opened
    {
        int id = 0;
        int zzRevizeId = 0; // where the data module's inspections stood
    };
    QVector<Opened> m_opened;

    int count(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p).toInt(); }
    QVariant scalar(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p); }

    static void setText(TfZdvihaci &card, const QString &field, const QString &text)
    {
        QWidget *w = card.fieldWidget(field);
        QVERIFY2(w, qPrintable(field));
        if (auto *le = qobject_cast<QLineEdit *>(w))
            le->setText(text);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->setCurrentText(text);
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            p->setPlainText(text);
    }
    static QString shown(TfZdvihaci &card, const QString &field)
    {
        QWidget *w = card.fieldWidget(field);
        if (auto *le = qobject_cast<QLineEdit *>(w))
            return le->text();
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c->currentText();
        if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            return p->toPlainText();
        return {};
    }
    // Types a value into a field as the user does: enters, types, leaves.
    static void type(TfZdvihaci &card, const QString &field, const QString &text)
    {
        card.enterField(field);
        setText(card, field, text);
        card.leaveField(field);
    }

    // The card of a new item of a kind, as "Přidat nový" prepares it.
    std::unique_ptr<TfZdvihaci> newCard(const QString &kindName)
    {
        m_state->setRegister(QStringLiteral("Zdvihací zařízení"));
        m_state->setKind(kindName);
        m_state->refresh();
        const auto t = prepareNewItem(*m_state);
        if (!t)
            return {};
        auto card = std::make_unique<TfZdvihaci>(*m_dm, *equipmentKindByForm(t->formClass));
        card->show();
        return card;
    }
    // The card of a stored item, as opening its row prepares it.
    std::unique_ptr<TfZdvihaci> openCard(int poradi)
    {
        m_dm->setSelectedCompany(count("select firma from zz_basic where poradi=:p", Params{{"p", poradi}}));
        m_state->setRegister(QStringLiteral("Zdvihací zařízení"));
        m_state->setKind(QStringLiteral("Zdvihací zařízení"));
        m_state->refresh();
        if (!m_state->evidenceList()->locate(QStringLiteral("Poradi"), poradi))
            return {};
        const auto t = m_state->prepareOpen();
        if (!t)
            return {};
        auto card = std::make_unique<TfZdvihaci>(*m_dm, *equipmentKindByForm(t->formClass));
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
        TfZdvihaci::inspectionWindow() = [this](TDM &dm, int id, QWidget *parent) {
            QVERIFY(qobject_cast<TfZdvihaci *>(parent));
            m_opened << Opened{id, dm.zz_revize.value(QStringLiteral("iD")).toInt()};
        };
    }
    void init()
    {
        m_state.reset();
        m_dm.reset();
        m_db.reset();
        m_messages.clear();
        m_opened.clear();
        m_answer = true;
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<Database>(QStringLiteral("eqcard"));
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

    // A new card of every kind: its heading, defaults, fields, words, pick lists and picture.
    void newCardOfEachKind_data()
    {
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QStringList>("shownFields");
        QTest::addColumn<QStringList>("hiddenFields");
        QTest::addColumn<QString>("typJLabel");
        QTest::addColumn<int>("uchopeniItems");   // -1: free text, -2: not shown
        QTest::addColumn<int>("pohonItems");
        QTest::addColumn<QString>("lastOvladani");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("hoists");          // blocks shown on a new card
        QTest::addColumn<QString>("hoistLabel");
        const QStringList track = {"Dat_zamereni", "Int_zamereni", "Next_zamereni"};
        QTest::newRow("overhead") << "Mostový" << "1" << "Základní identifikace mostového jeřábu :"
                                  << (QStringList{"Uchopeni", "omezp", "Rozvor", "Rozpeti", "DelkaDrahy", "Pojezd",
                                                  "PocetKladkostroju", "ZobrazitKl"} + track)
                                  << QStringList{"SPZ", "Podvozek", "Vyloznik", "Typ_Zar"} << "Typ jeřábu" << 12 << 9
                                  << "jiné" << "MOST" << 1 << "Označení zdvihu";
        QTest::newRow("gantry") << "Portálový" << "2" << "Základní identifikace portálového jeřábu :"
                                << (QStringList{"Rozvor", "DelkaDrahy"} + track) << QStringList{"SPZ", "Typ_Zar"}
                                << "Typ jeřábu" << 12 << 9 << "jiné" << "PORTAL" << 1 << "Označení zdvihu";
        QTest::newRow("wall") << "Konzolový" << "3" << "Základní identifikace konzolového jeřábu :"
                              << QStringList{"omezp", "Pojezd", "ZobrazitKl"}
                              << (QStringList{"Rozvor", "DelkaDrahy", "PocetKladkostroju", "Vyloznik"} + track)
                              << "Typ jeřábu" << 3 << 9 << "jiné" << "KONZOL_NAST" << 1 << "Označení zdvihu";
        QTest::newRow("pillar") << "Stožárový" << "4" << "Základní identifikace stožárového jeřábu :"
                                << QStringList{"omezp", "Max_nosnost", "ZobrazitKl"}
                                << (QStringList{"Pojezd", "PocetKladkostroju"} + track) << "Typ jeřábu" << -1 << 9
                                << "jiný" << "STOZAR" << 1 << "Označení kladkostroje";
        QTest::newRow("mobile") << "Mobilní" << "5" << "Základní identifikace mobilního jeřábu :"
                                << QStringList{"SPZ", "Podvozek", "Vyloznik", "ZobrazitKl"}
                                << (QStringList{"omezp", "Pojezd", "PocetKladkostroju"} + track) << "Typ jeřábu" << 3
                                << 7 << "ruční pákou" << "AUTOJERAB" << 1 << "Označení kladkostroje";
        QTest::newRow("tower") << "Věžový" << "6" << "Základní identifikace věžového jeřábu :"
                               << (QStringList{"DelkaDrahy", "Pojezd", "Vyloznik", "PocetKladkostroju"} + track)
                               << QStringList{"omezp", "Rozvor", "SPZ"} << "Typ jeřábu" << 2 << 7
                               << "dálkový ovladač rádiový / kabinový" << "VEZOVY" << 1 << "Označení kladkostroje";
        QTest::newRow("hoist") << "Zdvihadlo" << "9" << "Základní identifikace zdvihadla:"
                               << (QStringList{"omezp", "Skupina", "PocetKladkostroju"} + track)
                               << QStringList{"Uchopeni", "Pojezd", "Vyloznik"} << "Typ zdvihadla" << -2 << 8 << "jiný"
                               << "MALE" << 1 << "Označení kladkostroje";
        QTest::newRow("vehicle lift") << "Zvedák vozidel" << "A" << "Základní identifikace zvedáku vozidel :"
                                      << QStringList{"Typ_Zar", "PocetKladkostroju"}
                                      << (QStringList{"Uchopeni", "Skupina", "Prov_Skup_Zar", "omezp", "Max_nosnost",
                                                      "ZobrazitKl", "Kl1_Oznaceni"} + track)
                                      << "Druh zvedáku" << -2 << -1 << "...." << "AUTOZVEDAK" << 0 << "";
        QTest::newRow("other") << "Jiné zař." << "E" << "Základní identifikace zdvihacího zařízení :"
                               << (QStringList{"Rozvor", "omezp", "Pojezd"} + track) << QStringList{"SPZ", "Typ_Zar"}
                               << "Typ jeřábu" << -1 << 7 << "dálkový ovladač rádiový / kabinový" << "JINYJER" << 1
                               << "Označení kladkostroje";
    }
    void newCardOfEachKind()
    {
        QFETCH(QString, kindName);
        QFETCH(QString, letter);
        QFETCH(QString, heading);
        QFETCH(QStringList, shownFields);
        QFETCH(QStringList, hiddenFields);
        QFETCH(QString, typJLabel);
        QFETCH(int, uchopeniItems);
        QFETCH(int, pohonItems);
        QFETCH(QString, lastOvladani);
        QFETCH(QString, picture);
        QFETCH(int, hoists);
        QFETCH(QString, hoistLabel);
        auto card = newCard(kindName);
        QVERIFY(card);
        QCOMPARE(card->objectName(), equipmentKindByLetter(letter)->formClass);
        QCOMPARE(card->windowTitle(), QStringLiteral("Zdvihací zařízení"));
        QCOMPARE(card->findChild<QGroupBox *>("PanelIdentifikace")->title(), heading);
        QCOMPARE(m_dm->ZZBasicView.state(), Dataset::State::Insert);
        QCOMPARE(m_dm->ZZBasicView.value("Druh").toString(), letter);
        // the defaults of a new item
        QCOMPARE(shown(*card, "Int_Inspekce"), QStringLiteral("12"));
        if (auto *count = qobject_cast<QComboBox *>(card->fieldWidget("PocetKladkostroju")))
            QCOMPARE(count->currentText(), QStringLiteral("1"));
        if (auto *show = qobject_cast<QCheckBox *>(card->fieldWidget("ZobrazitKl")))
            QVERIFY(show->isChecked());
        // fields every card shows, and those of the kind
        for (const char *f : {"Evid_C", "Invent_C", "Vyr_C", "C_Dokumentace", "Typ_J", "Druh_Pohonu", "Rok_vyroby",
                              "Vyrobce", "Dodavatel", "Vyska_Zdvihu", "Oznaceni", "Zakl_nosnost", "Ovladani",
                              "Provozovatel", "Provoz", "Umisteni1", "Umisteni2", "Udrzba", "RevTechnik", "ProvTechnik",
                              "PoverOsoba", "Dat_Revize", "Int_RevZk", "Next_Inspekce", "Dat_Elektrorev", "Dat_overzk",
                              "Poznamka"})
            QVERIFY2(card->fieldWidget(QString::fromLatin1(f)) && card->fieldWidget(QString::fromLatin1(f))->isVisible(), f);
        for (const QString &f : shownFields)
            QVERIFY2(card->fieldWidget(f) && card->fieldWidget(f)->isVisible(), qPrintable(f));
        for (const QString &f : hiddenFields)
            QVERIFY2(!card->fieldWidget(f), qPrintable(f));
        // the kind's own words and pick lists
        QCOMPARE(card->labelOf("Typ_J")->text(), typJLabel);
        auto items = [&](const QString &field) {
            QWidget *w = card->fieldWidget(field);
            if (!w)
                return -2;
            auto *c = qobject_cast<QComboBox *>(w);
            return c ? c->count() : -1;
        };
        QCOMPARE(items("Uchopeni"), uchopeniItems);
        QCOMPARE(items("Druh_Pohonu"), pohonItems);
        auto *ovl = qobject_cast<QComboBox *>(card->fieldWidget("Ovladani"));
        QVERIFY(ovl);
        QCOMPARE(ovl->itemText(ovl->count() - 1), lastOvladani);
        if (auto *sk = qobject_cast<QComboBox *>(card->fieldWidget("Skupina"))) {
            QVERIFY(!sk->isEditable());
            QCOMPARE(sk->count(), 4);
        }
        // the picture and the hoist blocks
        QCOMPARE(card->pictureName(), picture);
        QCOMPARE(card->pictureLabel()->size(), QSize(120, 120));
        if (card->shownPicture().isNull())
            QCOMPARE(card->pictureLabel()->text(), QStringLiteral("Bez obrázku"));
        else
            QVERIFY(!card->pictureLabel()->pixmap().isNull());
        QCOMPARE(card->shownHoistBlockCount(), hoists);
        if (hoists > 0)
            QCOMPARE(card->labelOf("Kl1_Oznaceni")->text(), hoistLabel);
        // no history of a new item; the functions of later work are not offered
        QCOMPARE(card->historyModel()->rowCount(), 0);
        for (const char *b : {"SpeedButton2", "SpeedButton3", "SpeedButton5", "SpeedButton6"})
            QVERIFY2(card->findChild<QPushButton *>(b)->isHidden(), b);
        card->_097SpeedButton22Click();
    }

    void cardsAreRegisteredByClass()
    {
        registerEquipmentForms();
        for (const EquipmentKind &k : equipmentKinds()) {
            std::unique_ptr<QDialog> d(gui::createRecordForm(k.formClass, *m_dm, OpenTarget{}, false, nullptr));
            auto *card = qobject_cast<TfZdvihaci *>(d.get());
            QVERIFY2(card, qPrintable(k.formClass));
            QCOMPARE(card->kind().letter, k.letter);
        }
    }

    void hoistBlocks_data()
    {
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<bool>("show");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("blocks");
        QTest::newRow("overhead 1") << "Mostový" << true << 1 << 1;
        QTest::newRow("overhead 2") << "Mostový" << true << 2 << 2;
        QTest::newRow("overhead 3") << "Mostový" << true << 3 << 3;
        QTest::newRow("overhead 3, not shown") << "Mostový" << false << 3 << 0;
        QTest::newRow("tower 2") << "Věžový" << true << 2 << 2;
        QTest::newRow("tower 3 shows two") << "Věžový" << true << 3 << 2;
        QTest::newRow("wall 3 shows its one") << "Konzolový" << true << 3 << 1;
        QTest::newRow("mobile, not shown") << "Mobilní" << false << 1 << 0;
        QTest::newRow("hoist 1") << "Zdvihadlo" << true << 1 << 1;
        QTest::newRow("hoist 2 shows none") << "Zdvihadlo" << true << 2 << 0;
        QTest::newRow("hoist 3 shows none") << "Zdvihadlo" << true << 3 << 0;
        QTest::newRow("vehicle lift has none") << "Zvedák vozidel" << true << 3 << 0;
        QTest::newRow("other 3") << "Jiné zař." << true << 3 << 3;
    }
    void hoistBlocks()
    {
        QFETCH(QString, kindName);
        QFETCH(bool, show);
        QFETCH(int, count);
        QFETCH(int, blocks);
        auto card = newCard(kindName);
        QVERIFY(card);
        if (auto *c = qobject_cast<QComboBox *>(card->fieldWidget("PocetKladkostroju"))) {
            c->setCurrentIndex(count - 1);
            card->ZmenPocetZdvihadel();
            QCOMPARE(m_dm->ZZBasicView.value("PocetKladkostroju").toInt(), count);
        } else {
            m_dm->ZZBasicView.setFieldValue("PocetKladkostroju", count);
        }
        if (auto *s = qobject_cast<QCheckBox *>(card->fieldWidget("ZobrazitKl")))
            s->setChecked(show);
        card->ZobrazZdvihadla();
        QCOMPARE(card->shownHoistBlockCount(), blocks);
        for (int b = 1; b <= blocks; ++b)
            QVERIFY(card->hoistBlock(b)->isVisible());
        card->_097SpeedButton22Click();
    }

    // The rope or chain labels follow the hoist type, which goes into the row.
    void hoistTypeLabels()
    {
        auto card = openCard(1);   // overhead crane, hoist 1 a rope
        QVERIFY(card);
        QGroupBox *block = card->hoistBlock(1);
        auto radios = block->findChildren<QRadioButton *>();
        QCOMPARE(radios.size(), 2);
        QVERIFY(radios[0]->isChecked());
        QCOMPARE(card->labelOf("Kl1_Prumer")->text(), QStringLiteral("Průměr lana (mm)"));
        radios[1]->click();
        QCOMPARE(card->labelOf("Kl1_Prumer")->text(), QStringLiteral("Průměr řetězu (mm)"));
        QCOMPARE(card->labelOf("Kl1_Delka")->text(), QStringLiteral("Délka řetězu (m)"));
        card->_040SpeedButton21Click();
        QCOMPARE(card->result(), 1);
        QCOMPARE(scalar("select kl1_typ from zz_basic where poradi=1").toString(), QStringLiteral("řetězový"));
    }

    void saveOfEditedItem()
    {
        auto card = openCard(1);
        QVERIFY(card);
        QCOMPARE(card->kind().letter, QStringLiteral("1"));
        QCOMPARE(shown(*card, "Evid_C"), QStringLiteral("MJ-01"));
        QCOMPARE(card->pictureName(), QStringLiteral("MOST2"));   // dvounosníkový
        setText(*card, "Evid_C", "MJ-01/A");
        setText(*card, "Oznaceni", "Demag O'Brien");
        setText(*card, "Rozpeti", "24,5");
        setText(*card, "Kl2_Nosnost", "5000");
        setText(*card, "Udrzba", "Dílna 7");
        {
            // the focus leaves the maintenance combo as it does on Tab
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(card->fieldWidget("Udrzba"), &out);
            QCoreApplication::processEvents();
        }
        card->_040SpeedButton21Click();
        QCOMPARE(card->result(), 1);
        QCOMPARE(count("select count(*) from zz_basic where poradi=1 and evid_c='MJ-01/A' and oznaceni=:o and rozpeti=24.5 "
                       "and kl2_nosnost=5000 and udrzba=:u and datum_akt='2026-12-10'",
                       Params{{"o", "Demag O'Brien"}, {"u", "Dílna 7"}}),
                 1);
        // the maintenance list learnt the typed value
        QCOMPARE(count("select count(*) from extend_b where typ='A' and nazev_v=:u", Params{{"u", "Dílna 7"}}), 1);
    }

    // A changed last date records the inspection of its kind (not the
    // electrical one), opens the inspection window and sets the next date.
    void inspectionOnLeavingALastDate_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("kind");   // empty: nothing recorded
        QTest::addColumn<QString>("nextField");
        QTest::addColumn<QString>("next");
        QTest::newRow("revize, test year elsewhere") << "Dat_Revize" << "15.11.2026" << "1" << "Next_Revize" << "15.11.2027";
        QTest::newRow("revize into the test year") << "Dat_Revize" << "15.3.2027" << "1" << "Next_Revize" << "15.3.2029";
        QTest::newRow("revizní zkouška") << "Dat_RevZk" << "1.12.2026" << "2" << "Next_RevZk" << "1.12.2030";
        QTest::newRow("inspekce, month end") << "Dat_Inspekce" << "30.11.2026" << "3" << "Next_Inspekce" << "28.2.2027";
        QTest::newRow("elektrorevize records nothing") << "Dat_Elektrorev" << "1.12.2026" << "" << "Next_Elektrorev"
                                                       << "1.12.2029";
    }
    void inspectionOnLeavingALastDate()
    {
        QFETCH(QString, field);
        QFETCH(QString, date);
        QFETCH(QString, kind);
        QFETCH(QString, nextField);
        QFETCH(QString, next);
        auto card = openCard(1);
        QVERIFY(card);
        const int before = count("select count(*) from zz_revize");
        // entering and leaving unchanged records nothing
        card->enterField(field);
        card->leaveField(field);
        QCOMPARE(count("select count(*) from zz_revize"), before);
        type(*card, field, date);
        QCOMPARE(shown(*card, nextField), next);
        if (kind.isEmpty()) {
            QCOMPARE(count("select count(*) from zz_revize"), before);
            QVERIFY(m_opened.isEmpty());
        } else {
            QCOMPARE(m_opened.size(), 1);
            const int id = m_opened[0].id;
            QCOMPARE(m_opened[0].zzRevizeId, id);
            QCOMPARE(count("select count(*) from zz_revize where id=:i and poradi=1 and typ=:t and datum=:d",
                           Params{{"i", id}, {"t", kind}, {"d", QDate::fromString(date, "d.M.yyyy")}}),
                     1);
            // the history shows it
            QCOMPARE(card->historyModel()->rowCount(), 1);
            QCOMPARE(card->historyModel()->inspectionAt(0), id);
            QCOMPARE(card->historyModel()->index(0, 0).data().toString(), date);
        }
        // leaving the field again records nothing more
        card->enterField(field);
        card->leaveField(field);
        QCOMPARE(m_opened.size(), kind.isEmpty() ? 0 : 1);
        card->_040SpeedButton21Click();
        QCOMPARE(card->result(), 1);
        QCOMPARE(scalar(QStringLiteral("select %1 from zz_basic where poradi=1").arg(nextField)).toDate(),
                 QDate::fromString(next, "d.M.yyyy"));
    }

    // A new card that recorded an inspection and is then cancelled leaves no row.
    void cancelOfNewCardAfterInspection()
    {
        const int items = count("select count(*) from zz_basic");
        auto card = newCard("Mostový");
        QVERIFY(card);
        const int poradi = m_dm->ZZBasicView.value("Poradi").toInt();
        setText(*card, "Evid_C", "NOVY-1");
        card->leaveField("Evid_C");
        type(*card, "Dat_Revize", "1.12.2026");
        QCOMPARE(m_opened.size(), 1);
        const int id = m_opened[0].id;
        const int polozky = count("select polozky from zz_revize where id=:i", Params{{"i", id}});
        QCOMPARE(count("select count(*) from zz_basic where poradi=:p and evid_c='NOVY-1'", Params{{"p", poradi}}), 1);
        QVERIFY(count("select count(*) from zz_polozkyrev where revize=:r", Params{{"r", polozky}}) > 0);
        QCOMPARE(card->historyModel()->rowCount(), 1);
        card->findChild<QPushButton *>("_097SpeedButton22")->click();
        QCOMPARE(card->result(), 2);
        QCOMPARE(count("select count(*) from zz_basic"), items);
        QCOMPARE(count("select count(*) from zz_basic where poradi=:p", Params{{"p", poradi}}), 0);
        QCOMPARE(count("select count(*) from zz_revize where poradi=:p or id=:i", Params{{"p", poradi}, {"i", id}}), 0);
        QCOMPARE(count("select count(*) from zz_polozkyrev where revize=:r", Params{{"r", polozky}}), 0);
    }

    // A value that does not convert is named by its label; nothing is stored.
    void malformedValueRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("verification test") << "Dat_overzk" << "31.2.2020" << "Dat ověř. zk.";
        QTest::newRow("next revision") << "Next_Revize" << "1.13.2027" << "Revize – příští";
        QTest::newRow("year") << "Rok_vyroby" << "19x8" << "Rok výroby";
        QTest::newRow("hoist capacity") << "Kl1_Nosnost" << "pět" << "Zdvih 1 – Nosnost kg";
        QTest::newRow("interval") << "Int_Revize" << "ročně" << "Revize – interval";
    }
    void malformedValueRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, label);
        auto card = openCard(1);
        QVERIFY(card);
        card->activateWindow();
        setText(*card, "Evid_C", "JINE-01");
        setText(*card, field, text);
        m_messages.clear();
        card->_040SpeedButton21Click();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].contains(label), qPrintable(m_messages[0]));
        QVERIFY2(m_messages[0].contains(text), qPrintable(m_messages[0]));
        QVERIFY(card->isVisible());
        QCOMPARE(card->focusWidget(), card->fieldWidget(field));
        QCOMPARE(scalar("select evid_c from zz_basic where poradi=1").toString(), QStringLiteral("MJ-01"));
        card->_097SpeedButton22Click();
        QCOMPARE(scalar("select evid_c from zz_basic where poradi=1").toString(), QStringLiteral("MJ-01"));
    }

    // The history: Enter and a double click open the selected inspection; the
    // delete asks first.
    void historyOpenAndDelete_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("deleted on Yes") << true;
        QTest::newRow("kept on No") << false;
    }
    void historyOpenAndDelete()
    {
        QFETCH(bool, answer);
        const NewInspection older = createInspection(*m_db, 1, "3", QDate(2026, 6, 1), "1");
        const NewInspection newer = createInspection(*m_db, 1, "1", QDate(2026, 9, 1), "1");
        auto card = openCard(1);
        QVERIFY(card);
        QCOMPARE(card->historyModel()->rowCount(), 2);
        QCOMPARE(card->historyModel()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Číslo zápisu"));
        const int row = card->historyModel()->rowOf(newer.id);
        QVERIFY(row >= 0);
        QCOMPARE(card->historyModel()->index(row, 1).data().toString(), QStringLiteral("Revize"));
        QCOMPARE(card->historyModel()->index(row, 4).data().toString(), newer.protocolNumber());
        card->historyGrid()->selectRow(row);
        QTest::keyClick(card->historyGrid(), Qt::Key_Return);
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened[0].id, newer.id);
        QCOMPARE(m_opened[0].zzRevizeId, newer.id);
        card->historyGrid()->selectRow(card->historyModel()->rowOf(older.id));
        card->findChild<QPushButton *>("SpeedButton1")->click();
        QCOMPARE(m_opened.size(), 2);
        QCOMPARE(m_opened[1].id, older.id);

        m_answer = answer;
        m_messages.clear();
        card->historyGrid()->selectRow(card->historyModel()->rowOf(older.id));
        card->findChild<QPushButton *>("SpeedButton4")->click();
        QCOMPARE(m_messages, QStringList{QStringLiteral("Opravdu chcete odstranit záznam o revizi(zkoušce, inspekci)?")});
        QCOMPARE(count("select count(*) from zz_revize where id=:i", Params{{"i", older.id}}), answer ? 0 : 1);
        QCOMPARE(count("select count(*) from zz_polozkyrev where revize=:r", Params{{"r", older.polozky}}) > 0, !answer);
        QCOMPARE(card->historyModel()->rowCount(), answer ? 1 : 2);
        QCOMPARE(count("select count(*) from zz_revize where id=:i", Params{{"i", newer.id}}), 1);
        card->_097SpeedButton22Click();
    }

    void noteWindowEditsThisCard_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK keeps the text") << true;
        QTest::newRow("Zrušit restores it") << false;
    }
    void noteWindowEditsThisCard()
    {
        QFETCH(bool, ok);
        auto card = openCard(1);
        QVERIFY(card);
        setText(*card, "Poznamka", "původní");
        QString shownInWindow;
        card->execNote = [&](TFPoznamka &w) {
            shownInWindow = w.text();
            w.memo()->setPlainText("nová poznámka");
            if (ok)
                w.OkClick();
            else
                w.ZrusitClick();
            return w.result();
        };
        card->findChild<QPushButton *>("SBPoznamka")->click();
        QCOMPARE(shownInWindow, QStringLiteral("původní"));
        QCOMPARE(shown(*card, "Poznamka"), ok ? QStringLiteral("nová poznámka") : QStringLiteral("původní"));
        card->_040SpeedButton21Click();
        QCOMPARE(scalar("select poznamka from zz_basic where poradi=1").toString(), shown(*card, "Poznamka"));
        QCOMPARE(count("select count(*) from zz_basic where poznamka is not null and poradi<>1"), 0);
    }

    void ctrlDeleteEmptiesADate()
    {
        auto card = openCard(1);
        QVERIFY(card);
        card->enterField("Dat_Elektrorev");
        QTest::keyClick(card->fieldWidget("Dat_Elektrorev"), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(shown(*card, "Dat_Elektrorev"), QString());
        card->leaveField("Dat_Elektrorev");
        // an emptied date computes nothing
        QCOMPARE(shown(*card, "Next_Elektrorev"), QStringLiteral("10.2.2028"));
        card->_040SpeedButton21Click();
        QVERIFY(scalar("select dat_elektrorev from zz_basic where poradi=1").isNull());
        QCOMPARE(count("select count(*) from zz_revize"), 0);
    }

    // The classification proposes the default intervals of its general row.
    void operatingGroupSetsGroupAndIntervals()
    {
        auto card = openCard(2);   // hoist, J2 / I
        QVERIFY(card);
        auto *prov = qobject_cast<QComboBox *>(card->fieldWidget("Prov_Skup_Zar"));
        QVERIFY(prov);
        prov->setCurrentIndex(prov->findText("J5"));
        card->leaveField("Prov_Skup_Zar");
        QCOMPARE(shown(*card, "Skupina"), QStringLiteral("IV"));
        const QVariant revize = scalar("select irevize from zz_dintervaly where druh='0' and uchopeni='fse' "
                                       "and provskup='J5' and skupina='IV'");
        QVERIFY(!revize.isNull());
        QCOMPARE(shown(*card, "Int_Revize"), revize.toString());
        card->_097SpeedButton22Click();
        QCOMPARE(scalar("select prov_skup_zar from zz_basic where poradi=2").toString(), QStringLiteral("J2"));
    }

    // A picture of the card for the documentation (TAVOZZ_SCREENSHOT_DIR).
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("TAVOZZ_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("TAVOZZ_SCREENSHOT_DIR not set");
        const NewInspection r = createInspection(*m_db, 1, "1", QDate(2026, 2, 10), "1");
        const NewInspection i = createInspection(*m_db, 1, "3", QDate(2026, 9, 1), "1");
        m_db->exec("update zz_revize set provedl=:p, zpusobile=:z, platnost=:d where id=:i",
                   Params{{"p", "Ing. Petr Dvořák"}, {"z", true}, {"d", QDate(2027, 2, 10)}, {"i", r.id}});
        m_db->exec("update zz_revize set provedl=:p, zpusobile=:z, platnost=:d where id=:i",
                   Params{{"p", "Tomáš Kříž"}, {"z", false}, {"d", QDate(2026, 12, 1)}, {"i", i.id}});
        auto card = openCard(1);
        QVERIFY(card);
        auto *count = qobject_cast<QComboBox *>(card->fieldWidget("PocetKladkostroju"));
        count->setCurrentIndex(1);
        card->ZmenPocetZdvihadel();
        setText(*card, "Kl2_Oznaceni", "pomocný zdvih");
        QTest::qWait(50);
        QVERIFY(card->grab().save(dir + "/card-overhead-crane.png"));
        card->_097SpeedButton22Click();
    }
};

QTEST_MAIN(TstEquipmentCard)
#include "tst_equipmentcard.moc"
