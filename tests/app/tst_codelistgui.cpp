// Code lists offscreen: pick lists of a form filled by tag and growing with
// typed values on leaving and on Enter; the window "Číselník" opened from the
// main window's menu, renaming and removing values.
#include "codelistcombos.h"
#include "codelistwindow.h"
#include "datadir.h"
#include "mainwindow.h"
#include "program.h"
#include "guitest.h"
#include "prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tz;
using namespace tz::gui;

class TstCodeListGui : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<db::Database> m_db;
    std::unique_ptr<db::TDM> m_dm;
    PromptRecorder m_prompts;
    QStringList &m_questions = m_prompts.questions, &m_messages = m_prompts.messages;
    QList<bool> &m_answers = m_prompts.answers; // answers to the questions, in turn; Yes when none are left

    QStringList items(QComboBox *c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    QStringList list(const QString &typ) { return codelists::values(*m_db, typ.at(0)); }
    static void leave(QWidget *w, Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent e(QEvent::FocusOut, reason);
        QApplication::sendEvent(w, &e);
    }

    // A form with the combo boxes of tags 1 to 9, one without a tag and one with a tag of no list.
    std::unique_ptr<QWidget> form(codelists::FormKind kind = codelists::FormKind::Accessory)
    {
        auto w = std::make_unique<QWidget>();
        for (int tag = 1; tag <= 9; ++tag) {
            auto *c = new QComboBox(w.get());
            c->setEditable(true);
            c->setObjectName(QStringLiteral("tag%1").arg(tag));
            c->setProperty("tag", tag);
        }
        auto *plain = new QComboBox(w.get());
        plain->setObjectName("plain");
        plain->setEditable(true);
        plain->addItem("vlastní");
        auto *other = new QComboBox(w.get());
        other->setObjectName("tag12");
        other->setEditable(true);
        other->setProperty("tag", 12);
        bindCodeListCombos(w.get(), *m_db, kind);
        return w;
    }
    QComboBox *combo(QWidget *w, const QString &name) { return w->findChild<QComboBox *>(name); }

    template <class T>
    void whenModal(std::function<void(T *)> act)
    {
        ::whenModal<T>(this, std::move(act));
    }

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        m_db = std::make_unique<db::Database>(QStringLiteral("codelistgui"));
        app::openDataDirectory(*m_db, app::ProgramFolder(m_tmp->path()), true);
        db::loadDemoData(*m_db);
        for (const char *r : {"D|Vázací technika s.r.o.|1", "D|Lana Bohumín|2", "V|Řetězy Kolín|3", "V|Brno-Lana|4",
                              "Z|Lisovna|5", "P|Josef Malý|6", "1|Hala A|7", "2|Sklad|8", "A|Údržba Jih|9",
                              "B|Jeřáby Hradec|10", "D|  |11"}) {
            const QStringList p = QString::fromUtf8(r).split('|');
            m_db->exec("insert into extend_b (TYP, NAZEV_V, OZNACENI) values (:t, :v, :n)",
                       db::Params{{"t", p[0]}, {"v", p[1]}, {"n", p[2].toInt()}});
        }
        m_dm = std::make_unique<db::TDM>(m_db.get());
        m_prompts.install();
    }
    void cleanup()
    {
        m_dm.reset();
        m_db.reset();
        m_tmp.reset();
    }

    void combosAreFilledByTag_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("owner") << 0 << "tag1" << QStringList{"Lisovna"};
        QTest::newRow("unit") << 0 << "tag2" << QStringList{"Josef Malý"};
        QTest::newRow("accessory manufacturer, sorted") << 0 << "tag3" << QStringList{"Brno-Lana", "Řetězy Kolín"};
        QTest::newRow("equipment manufacturer") << 1 << "tag3" << QStringList{"Jeřáby Hradec"};
        QTest::newRow("supplier without the blank row") << 0 << "tag4"
                                                        << QStringList{"Lana Bohumín", "Vázací technika s.r.o."};
        QTest::newRow("location 1") << 0 << "tag5" << QStringList{"Hala A"};
        QTest::newRow("location 2") << 0 << "tag6" << QStringList{"Sklad"};
        QTest::newRow("owner by tag 7") << 1 << "tag7" << QStringList{"Lisovna"};
        QTest::newRow("maintenance") << 0 << "tag9" << QStringList{"Údržba Jih"};
        QTest::newRow("no tag: untouched") << 0 << "plain" << QStringList{"vlastní"};
        QTest::newRow("no list for the tag") << 0 << "tag12" << QStringList{};
    }
    void combosAreFilledByTag()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        auto w = form(kind == 0 ? codelists::FormKind::Accessory : codelists::FormKind::Equipment);
        QCOMPARE(items(combo(w.get(), name)), expected);
        // filling chooses no value for the user
        if (name != "plain")
            QCOMPARE(combo(w.get(), name)->currentText(), QString());
    }

    void fillingKeepsTheTextShown()
    {
        QWidget w;
        auto *c = new QComboBox(&w);
        c->setEditable(true);
        c->setProperty("tag", 4);
        c->setEditText("Dodavatel z karty");
        bindCodeListCombos(&w, *m_db, codelists::FormKind::Accessory);
        QCOMPARE(c->currentText(), QStringLiteral("Dodavatel z karty"));
        QCOMPARE(c->count(), 2);
    }

    void leavingAddsATypedValue()
    {
        auto w = form();
        QComboBox *c = combo(w.get(), "tag4");
        c->setEditText("Řetězy O'Brien");
        leave(c);
        QCOMPARE(list("D"), (QStringList{"Lana Bohumín", "Řetězy O'Brien", "Vázací technika s.r.o."}));
        QCOMPARE(items(c), list("D")); // in its place among the items
        QCOMPARE(c->currentText(), QStringLiteral("Řetězy O'Brien"));
        // the next number over the whole table
        QCOMPARE(m_db->scalar("select oznaceni from extend_b where nazev_v=:v", db::Params{{"v", "Řetězy O'Brien"}}).toInt(),
                 12);
        // leaving again adds nothing
        leave(c);
        QCOMPARE(m_db->scalar("select count(*) from extend_b where typ='D'").toInt(), 4);
        QCOMPARE(c->count(), 3);
    }

    void whatLeavingAddsNot_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("reason");
        QTest::newRow("empty") << "" << int(Qt::TabFocusReason);
        QTest::newRow("blank") << "   " << int(Qt::MouseFocusReason);
        QTest::newRow("known value") << "Lana Bohumín" << int(Qt::TabFocusReason);
        QTest::newRow("opening the list") << "Nový dodavatel" << int(Qt::PopupFocusReason);
    }
    void whatLeavingAddsNot()
    {
        QFETCH(QString, text);
        QFETCH(int, reason);
        auto w = form();
        QComboBox *c = combo(w.get(), "tag4");
        c->setEditText(text);
        leave(c, Qt::FocusReason(reason));
        QCOMPARE(list("D"), (QStringList{"Lana Bohumín", "Vázací technika s.r.o."}));
        QCOMPARE(c->count(), 2);
        QVERIFY(m_messages.isEmpty());
    }

    void valueOfAnotherListCountsNot()
    {
        auto w = form();
        QComboBox *c = combo(w.get(), "tag4");
        c->setEditText("Řetězy Kolín"); // a manufacturer, not yet a supplier
        leave(c);
        QVERIFY(list("D").contains("Řetězy Kolín"));
        QVERIFY(list("V").contains("Řetězy Kolín"));
    }

    void enterAddsUnlessOnlyLeavingShould()
    {
        auto w = form();
        QComboBox *c = combo(w.get(), "tag3");
        c->setEditText("Pewag");
        QTest::keyClick(c, Qt::Key_Return);
        QVERIFY(list("V").contains("Pewag"));
        QCOMPARE(c->currentText(), QStringLiteral("Pewag"));
        QComboBox *e = combo(w.get(), "tag5");
        e->setEditText("Hala E");
        QTest::keyClick(e, Qt::Key_Enter);
        QVERIFY(list("1").contains("Hala E"));

        QComboBox *exitOnly = combo(w.get(), "tag4");
        exitOnly->setProperty("addOnExitOnly", true);
        exitOnly->setEditText("Jen při odchodu");
        QTest::keyClick(exitOnly, Qt::Key_Return);
        QVERIFY(!list("D").contains("Jen při odchodu"));
        leave(exitOnly);
        QVERIFY(list("D").contains("Jen při odchodu"));
        // other keys add nothing
        QComboBox *other = combo(w.get(), "tag6");
        other->setEditText("Sklad B");
        QTest::keyClick(other, Qt::Key_B);
        QVERIFY(!list("2").contains("Sklad B"));
    }

    void tooLongValueIsReportedAndKept()
    {
        auto w = form();
        QComboBox *c = combo(w.get(), "tag4");
        const QString value = QStringLiteral("Velmi dlouhý název dodavatele s.r.o.");
        c->setEditText(value);
        leave(c);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().contains("nejvýše 30"));
        QCOMPARE(list("D").size(), 2);
        QCOMPARE(c->currentText(), value);
    }

    void menuOpensTheListAndRenames()
    {
        app::ProgramFolder folder(m_tmp->path());
        TF_Main w(folder, *m_dm);
        w.SBRegisterClick(1);
        QAction *supplier = nullptr;
        int enabled = 0;
        for (QAction *a : w.menuBar()->findChildren<QAction *>())
            if (a->data().toInt() >= 1 && a->data().toInt() <= 11 && a->menu() == nullptr && a->isEnabled()) {
                ++enabled;
                if (a->text() == QStringLiteral("Dodavatel"))
                    supplier = a;
            }
        QCOMPARE(enabled, 11);
        QVERIFY(supplier);
        QCOMPARE(supplier->data().toInt(), 4);

        QString heading, title;
        QStringList shownColumns, shownValues;
        whenModal<TFPomCiselnik>([&](TFPomCiselnik *d) {
            heading = d->heading()->text();
            title = d->windowTitle();
            for (int c = 0; c < d->grid()->model()->columnCount(); ++c)
                shownColumns << d->grid()->model()->headerData(c, Qt::Horizontal).toString();
            for (int r = 0; r < d->grid()->model()->rowCount(); ++r)
                shownValues << d->grid()->model()->index(r, 0).data().toString();
            QVERIFY(d->selectValue("Vázací technika s.r.o."));
            d->input = [](QWidget *, const QString &t, const QString &prompt, const QString &value) {
                return t == "Nová hodnota" && prompt == "Zadejte změněnou položku číselníku:" &&
                               value == "Vázací technika s.r.o."
                           ? QStringLiteral("Vázací technika O'Neil")
                           : value;
            };
            d->ZmenitClick();
            QCOMPARE(d->currentValue(), QStringLiteral("Vázací technika O'Neil"));
            d->OKClick();
        });
        supplier->trigger();
        QCOMPARE(title, QStringLiteral("Číselník"));
        QCOMPARE(heading, QStringLiteral("Číselník dodavatelů zařízení"));
        QCOMPARE(shownColumns, QStringList{"Hodnota"});
        QVERIFY(shownValues.contains("Lana Bohumín"));
        QCOMPARE(m_questions, QStringList{"Opravdu chcete upravit záznam Vázací technika s.r.o.?\n\n"
                                          "(Změna se projeví ve všech dosud pořízených záznamech)"});
        // the records and the list the main window shows follow the new name
        QCOMPARE(m_db->scalar("select count(*) from basic where dodavatel=:v", db::Params{{"v", "Vázací technika O'Neil"}})
                     .toInt(),
                 2);
        QCOMPARE(m_db->scalar("select count(*) from basic where dodavatel=:v", db::Params{{"v", "Vázací technika s.r.o."}})
                     .toInt(),
                 0);
        QVERIFY(list("D").contains("Vázací technika O'Neil"));
        db::Dataset *shown = w.state().evidenceList();
        QVERIFY(shown->locate("PORADI", 1));
        QCOMPARE(shown->field("DODAVATEL")->asString(), QStringLiteral("Vázací technika O'Neil"));
        QVERIFY(!m_dm->PomCis.isOpen());
        QVERIFY(m_dm->Extend_B.isOpen());
    }

    void windowRefusesAndCancels()
    {
        TFPomCiselnik d(*m_dm);
        d.openList('D', "Číselník dodavatelů zařízení");
        QVERIFY(d.selectValue("Lana Bohumín"));
        // "No" to the question: no input box
        bool asked = false;
        d.input = [&asked](QWidget *, const QString &, const QString &, const QString &v) {
            asked = true;
            return v;
        };
        m_answers = {false};
        d.ZmenitClick();
        QVERIFY(!asked);
        // Cancel in the input box gives the old value: nothing changes
        d.ZmenitClick();
        QVERIFY(asked);
        QVERIFY(list("D").contains("Lana Bohumín"));
        // an empty new value is refused with a message
        d.input = [](QWidget *, const QString &, const QString &, const QString &) { return QStringLiteral("  "); };
        d.ZmenitClick();
        QCOMPARE(m_messages, QStringList{"Nová hodnota položky číselníku nesmí být prázdná."});
        QVERIFY(list("D").contains("Lana Bohumín"));
        QCOMPARE(d.currentValue(), QStringLiteral("Lana Bohumín"));
    }

    void windowRemovesAValue()
    {
        TFPomCiselnik d(*m_dm);
        d.openList('D', "Číselník dodavatelů zařízení");
        QVERIFY(d.selectValue("Vázací technika s.r.o."));
        m_answers = {false, true};
        d.OdstranitClick();
        QCOMPARE(list("D").size(), 2);
        d.OdstranitClick();
        QCOMPARE(m_questions, (QStringList{"Opravdu chcete odstranit záznam Vázací technika s.r.o.?",
                                           "Opravdu chcete odstranit záznam Vázací technika s.r.o.?"}));
        QCOMPARE(list("D"), QStringList{"Lana Bohumín"});
        // records that hold it keep it
        QCOMPARE(m_db->scalar("select count(*) from basic where dodavatel='Vázací technika s.r.o.'").toInt(), 2);
        QCOMPARE(d.grid()->model()->rowCount(), 2); // the blank row of the list is still there
    }
};

QTEST_MAIN(TstCodeListGui)
#include "tst_codelistgui.moc"
