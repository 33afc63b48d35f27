// The inspection record window of lifting equipment with its checklist and
// conclusion, the defects window with the editor and both pickers, the defect
// catalogue, protocol numbering and technicians; offscreen, on a new data
// directory with the demo data and inspections recorded by the equipment core.
#include "defectswindow.h"
#include "gui/equipmentcard.h"
#include "guitest.h"
#include "inspections.h"
#include "inspectionwindow.h"
#include "numberingwindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QtTest>

using namespace tz;
using namespace tz::eq;
using tz::db::Params;

class TstInspectionWindow : public QObject, DemoProgramFolder
{
    Q_OBJECT
    PromptRecorder m_prompts;

    int count(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p).toInt(); }
    QVariant scalar(const QString &sql, const Params &p = {}) { return m_db->scalar(sql, p); }

    // An inspection of the item as the card records it, with the data module
    // standing on the item and on the inspection.
    NewInspection record(int poradi, const QString &kind, const QDate &datum)
    {
        const QString druh = scalar("select Druh from zz_basic where Poradi=:p", Params{{"p", poradi}}).toString();
        const NewInspection n = createInspection(*m_db, poradi, kind, datum, druh);
        m_dm->setSelectedCompany(scalar("select Firma from zz_basic where Poradi=:p", Params{{"p", poradi}}).toInt());
        db::Dataset &item = m_dm->ZZBasicView;
        if (!item.isOpen())
            item.open();
        item.locate("Poradi", poradi);
        m_dm->zz_revize.close();
        m_dm->zz_revize.open();
        m_dm->zz_revize.locate("iD", n.id);
        return n;
    }
    static void setText(QWidget *w, const QString &text)
    {
        if (auto *le = qobject_cast<QLineEdit *>(w))
            le->setText(text);
        else if (auto *c = qobject_cast<QComboBox *>(w))
            c->setEditText(text);
        else if (auto *p = qobject_cast<QPlainTextEdit *>(w))
            p->setPlainText(text);
    }
    // A defect added in the defects window: typed, or picked from the catalogue when `picked` is set.
    void addInWindow(TFZZ_zavady &w, const QString &typed, const QString &picked, const QString &odstranit, bool nutne, bool overit)
    {
        whenModal<TFZavada>(this, [&](TFZavada *e) {
            if (!picked.isEmpty()) {
                whenModal<TFCiselnikProVyber>(this, [&](TFCiselnikProVyber *p) {
                    QVERIFY(p->selectText(picked));
                    p->SpeedButton1Click();
                });
                e->SpeedButton5Click();
            } else {
                e->textEdit()->setPlainText(typed);
            }
            e->removeByBox()->setEditText(odstranit);
            e->urgentBox()->setChecked(nutne);
            e->verifyBox()->setChecked(overit);
            e->SpeedButton3Click();
        });
        w.ZavadyAdd();
    }

private Q_SLOTS:
    void init()
    {
        openDemo(QStringLiteral("inspectionwindow"));
        m_dm->today = [] { return QDate(2026, 3, 2); };
        m_prompts.install();
    }
    void cleanup() { closeDemo(); }

    void showsTheInspection()
    {
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        TFZZRevize w(*m_dm, n.id);
        QVERIFY(w.isValid());
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zápis o revizi zdvihacího zařízení"));
        QCOMPARE(w.heading()->text(), w.windowTitle());
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("CisZapisu"))->text(), QStringLiteral("R-"));
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("CisZapisuNum"))->text(), QStringLiteral("1"));
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("Datum"))->text(), QStringLiteral("1.3.2026"));
        QCOMPARE(w.findChild<QLineEdit *>("hdr_Evid_C")->text(), QStringLiteral("MJ-01"));
        // one row of controls per checklist item of the set: a text item offers only its text box
        QCOMPARE(w.checklistArea()->findChildren<QLabel *>(QRegularExpression("^Popis_")).size(), n.checklistRows);
        QVERIFY(w.checklistArea()->findChild<QPlainTextEdit *>("Mem_13"));
        QVERIFY(!w.checklistArea()->findChild<QWidget *>("V_13"));
        QVERIFY(w.checklistArea()->findChild<QLineEdit *>("C_5"));
        // labels in the order people count them: "2." before "10.", the text item "12." last
        auto top = [&w](int polozka) { return w.checklistArea()->findChild<QLabel *>(QStringLiteral("Popis_%1").arg(polozka))->y(); };
        QVERIFY(top(1) < top(2) && top(2) < top(10) && top(10) < top(11) && top(11) < top(13));
        // printing and attachments come later: their buttons are not shown
        for (const char *b : {"Tisk", "Nahled", "SBPrilohy"})
            QVERIFY2(!w.button(b)->isVisibleTo(&w), b);
        for (QLabel *l : w.findChildren<QLabel *>())
            QVERIFY2(!l->text().contains('_'), qPrintable(l->text()));
        w._097SpeedButton22Click();
        // the hook of the card opens the window on the inspection it names
        registerInspectionWindows();
        QVERIFY(TfZdvihaci::inspectionWindow());
        int shown = 0;
        whenModal<TFZZRevize>(this, [&](TFZZRevize *x) {
            shown = x->inspectionId();
            x->_097SpeedButton22Click();
        });
        TfZdvihaci::inspectionWindow()(*m_dm, n.id, nullptr);
        QCOMPARE(shown, n.id);
        TfZdvihaci::inspectionWindow()(*m_dm, 999, nullptr);
        QCOMPARE(m_prompts.messages.size(), 1);
        QVERIFY(m_prompts.messages[0].contains("999"));
    }

    void checklistInput_data()
    {
        QTest::addColumn<int>("polozka");
        QTest::addColumn<QString>("input");   // "ano", "ne", "ano ne" clicked in turn; or a text for C_/Mem_
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("fulfilled") << 1 << "ano" << "Vysledek" << QVariant(true);
        QTest::newRow("changed back to ne") << 2 << "ano ne" << "Vysledek" << QVariant(false);
        QTest::newRow("ne shown, nothing chosen") << 3 << "ne" << "Vysledek" << QVariant();
        QTest::newRow("value") << 5 << "16,5" << "Cislo" << QVariant("16,5");
        QTest::newRow("text with quotes") << 13 << "Hák \"B\" i 'C' v pořádku" << "TEXT" << QVariant("Hák \"B\" i 'C' v pořádku");
    }
    void checklistInput()
    {
        QFETCH(int, polozka);
        QFETCH(QString, input);
        QFETCH(QString, column);
        QFETCH(QVariant, stored);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        auto storedValue = [&] {
            const QVariant v = scalar(QStringLiteral("select %1 from zz_polozkyrev where Revize=:r and Polozka=:p").arg(column),
                                      Params{{"r", n.polozky}, {"p", polozka}});
            if (v.isNull() || !v.isValid())
                return QVariant();
            return column == "Vysledek" ? QVariant(v.toBool()) : QVariant(v.toString());
        };
        {
            TFZZRevize w(*m_dm, n.id);
            w.show();
            QWidget *area = w.checklistArea();
            const QString n_ = QString::number(polozka);
            if (column == "Vysledek") {
                auto *box = area->findChild<QWidget *>("V_" + n_);
                QVERIFY(box);
                // nothing is stored before a choice although "ne" is shown
                QVERIFY(box->findChild<QRadioButton *>("ne")->isChecked());
                for (const QString &choice : input.split(' '))
                    box->findChild<QRadioButton *>(choice)->click();
                w.V_Exit(polozka);
            } else if (column == "Cislo") {
                auto *value = area->findChild<QLineEdit *>("C_" + n_);
                QVERIFY(value);
                value->setText(input);
                Q_EMIT value->editingFinished();
            } else {
                auto *memo = area->findChild<QPlainTextEdit *>("Mem_" + n_);
                QVERIFY(memo);
                memo->setPlainText(input);
                w.M_Exit(polozka);
            }
            // stored at once, before the window is confirmed
            QCOMPARE(storedValue(), stored);
            // and never taken back by "Zrušit"
            w._097SpeedButton22Click();
        }
        QCOMPARE(storedValue(), stored);
        // the checklist of a new window shows what is stored
        TFZZRevize again(*m_dm, n.id);
        const QString n_ = QString::number(polozka);
        if (column == "Vysledek")
            QCOMPARE(again.checklistArea()->findChild<QWidget *>("V_" + n_)->findChild<QRadioButton *>("ano")->isChecked(),
                     stored.toBool());
        else if (column == "Cislo")
            QCOMPARE(again.checklistArea()->findChild<QLineEdit *>("C_" + n_)->text(), stored.toString());
        else
            QCOMPARE(again.checklistArea()->findChild<QPlainTextEdit *>("Mem_" + n_)->toPlainText(), stored.toString());
        again._097SpeedButton22Click();
    }

    void validityFromDate_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("platnost");
        // item 1: revision every 12 months, revision test 48, examination 3
        QTest::newRow("revision") << "1" << "15.4.2026" << "15.4.2027";
        QTest::newRow("revision test") << "2" << "10.1.2026" << "10.1.2030";
        QTest::newRow("examination, end of month") << "3" << "30.11.2026" << "28.2.2027";
    }
    void validityFromDate()
    {
        QFETCH(QString, kind);
        QFETCH(QString, date);
        QFETCH(QString, platnost);
        const NewInspection n = record(1, kind, QDate(2026, 3, 1));
        TFZZRevize w(*m_dm, n.id);
        w.show();
        auto *datum = qobject_cast<QLineEdit *>(w.fieldWidget("Datum"));
        datum->setText(date);
        w.DBEdit32Exit();
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("Platnost"))->text(), platnost);
        w._040SpeedButton21Click();
        QCOMPARE(w.result(), 1);
        QCOMPARE(scalar("select Platnost from zz_revize where iD=:id", Params{{"id", n.id}}).toDate(),
                 QDate::fromString(platnost, "d.M.yyyy"));
        // the item's own dates stay
        QCOMPARE(scalar("select Dat_Revize from zz_basic where Poradi=1").toDate(), QDate(2026, 2, 10));
    }

    void malformedValueRefused_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("label");
        QTest::newRow("date") << "Datum" << "31.2.2026" << "Datum";
        QTest::newRow("valid until") << "Platnost" << "1.13.2027" << "Platnost do";
        QTest::newRow("running number") << "CisZapisuNum" << "12a" << "Číslo zápisu";
    }
    void malformedValueRefused()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, label);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        TFZZRevize w(*m_dm, n.id);
        w.show();
        setText(w.fieldWidget("Poznamka"), "nic neuloženo");
        setText(w.fieldWidget("Body1"), "7");
        setText(w.fieldWidget(field), text);
        w._040SpeedButton21Click();
        QCOMPARE(m_prompts.messages.size(), 1);
        QVERIFY2(m_prompts.messages[0].contains(label) && m_prompts.messages[0].contains(text), qPrintable(m_prompts.messages[0]));
        QVERIFY(w.isVisible());
        // nothing of the record is stored
        QCOMPARE(count("select count(*) from zz_revize where iD=:id and Poznamka is null and Body1 is null and Datum=:d "
                       "and CisZapisuNum=1 and Platnost is null",
                       Params{{"id", n.id}, {"d", QDate(2026, 3, 1)}}),
                 1);
        w._097SpeedButton22Click();
        QCOMPARE(w.result(), 2);
        QVERIFY(!m_dm->zz_revize.isEditing());
    }

    void conclusionAfterDefects_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK stores the conclusion") << true;
        QTest::newRow("Zrušit drops it, the defects stay") << false;
    }
    void conclusionAfterDefects()
    {
        QFETCH(bool, confirm);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        const int catalogueRows = count("select count(*) from cis_zavady");
        TFZZRevize w(*m_dm, n.id);
        w.show();
        w.fitBox()->setCurrentIndex(0); // "je"
        setText(w.fieldWidget("Poznamka"), "Jeřáb po opravě");
        int rowsShown = -1;
        w.execDefects = [&](QDialog &d) {
            auto &z = static_cast<TFZZ_zavady &>(d);
            QCOMPARE(z.windowTitle(), QStringLiteral("Zjištěné závady"));
            addInWindow(z, {}, "Nefunkční brzda pojezdu", "Neprodleně", true, false);             // 1
            addInWindow(z, "Chybí kryt spojky pojezdu", {}, "Při GO", false, true);               // 2
            addInWindow(z, "Netěsní převodovka zdvihu", {}, "30.6.2026", true, true);             // 3
            // defect 2 deleted after the question; the next one takes 4, not 2
            QVERIFY(z.selectPc(2));
            z.ZavadyDelete();
            addInWindow(z, "Uvolněný nárazník", {}, "Odstraněno během zkoušky", false, true);     // 4
            rowsShown = z.grid()->rowCount();
            z.SpeedButton8Click();
        };
        w.SpeedButton1Click();
        QCOMPARE(m_prompts.questions, QStringList{"Opravdu chcete odstranit záznam"});
        QCOMPARE(rowsShown, 3);
        const QVector<Defect> stored = defects(*m_db, n.zavady);
        QCOMPARE(stored.size(), 3);
        QCOMPARE(stored[0].zavada, QStringLiteral("Nefunkční brzda pojezdu"));
        QVERIFY(stored[0].nutne && !stored[0].overit);
        QCOMPARE(stored[1].pc, 3);
        QCOMPARE(stored[1].odstranit, QStringLiteral("30.6.2026"));
        QCOMPARE(stored[2].pc, 4);
        // picking from the catalogue copies the text and leaves the catalogue as it was
        QCOMPARE(count("select count(*) from cis_zavady"), catalogueRows);
        // the conclusion follows the defects in the window
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("Body1"))->text(), QStringLiteral("1, 3"));
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("Body2"))->text(), QStringLiteral("3, 4"));
        QCOMPARE(w.fitBox()->currentText(), QStringLiteral("není"));
        QCOMPARE(qobject_cast<QPlainTextEdit *>(w.fieldWidget("Poznamka"))->toPlainText(), QStringLiteral("Jeřáb po opravě"));
        if (confirm)
            w._040SpeedButton21Click();
        else
            w._097SpeedButton22Click();
        QCOMPARE(w.result(), confirm ? 1 : 2);
        const int conclusion = count("select count(*) from zz_revize where iD=:id and Body1='1, 3' and Body2='3, 4' "
                                     "and Zpusobile=:f and Poznamka='Jeřáb po opravě'",
                                     Params{{"id", n.id}, {"f", false}});
        QCOMPARE(conclusion, confirm ? 1 : 0);
        if (!confirm)
            QCOMPARE(count("select count(*) from zz_revize where iD=:id and Body1 is null and Zpusobile is null",
                           Params{{"id", n.id}}),
                     1);
        QCOMPARE(count("select count(*) from zz_zavady where ID=:z", Params{{"z", n.zavady}}), 3);
    }

    void defectEditorKeepsOrDrops_data()
    {
        QTest::addColumn<bool>("save");
        QTest::newRow("Uložit změny") << true;
        QTest::newRow("Zrušit změny") << false;
    }
    void defectEditorKeepsOrDrops()
    {
        QFETCH(bool, save);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        addDefect(*m_db, n.zavady, Defect{0, "Koroze", "Při GO", false, false});
        TFZZ_zavady w(*m_dm);
        QVERIFY(w.selectPc(1));
        whenModal<TFZavada>(this, [&](TFZavada *e) {
            QCOMPARE(e->textEdit()->toPlainText(), QStringLiteral("Koroze"));
            QCOMPARE(e->removeByBox()->currentText(), QStringLiteral("Při GO"));
            e->textEdit()->setPlainText("Koroze nosníku");
            e->urgentBox()->setChecked(true);
            if (save)
                e->SpeedButton3Click();
            else
                e->SpeedButton7Click();
        });
        w.ZavadyEdit();
        const Defect d = defects(*m_db, n.zavady).value(0);
        QCOMPARE(d.zavada, save ? QStringLiteral("Koroze nosníku") : QStringLiteral("Koroze"));
        QCOMPARE(d.nutne, save);
        QCOMPARE(w.grid()->item(0, 2)->text(), d.zavada);
        // an empty text is refused
        whenModal<TFZavada>(this, [&](TFZavada *e) {
            e->SpeedButton3Click();
            QVERIFY(e->isVisible());
            e->SpeedButton7Click();
        });
        w.ZavadyAdd();
        QCOMPARE(m_prompts.messages.size(), 1);
        QVERIFY(m_prompts.messages[0].startsWith(QStringLiteral("Závada")));
        QCOMPARE(defects(*m_db, n.zavady).size(), 1);
    }

    void editorAddsToCatalogue_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("store");
        QTest::newRow("existing group") << "Pojezd" << true;
        QTest::newRow("new group") << "Kabina jeřábníka" << true;
        QTest::newRow("Zpět") << "Pojezd" << false;
    }
    void editorAddsToCatalogue()
    {
        QFETCH(QString, group);
        QFETCH(bool, store);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        const int before = count("select count(*) from cis_zavady");
        TFZavada e(*m_db, n.zavady, std::nullopt);
        e.textEdit()->setPlainText("Prasklé sklo kabiny");
        const QStringList groupsBefore = defectGroups(*m_db);
        QStringList offered;
        whenModal<TFVyberSkupinu>(this, [&](TFVyberSkupinu *p) {
            for (int i = 0; i < p->groupBox()->count(); ++i)
                offered << p->groupBox()->itemText(i);
            p->groupBox()->setEditText(group);
            if (store)
                p->SpeedButton1Click();
            else
                p->SpeedButton2Click();
        });
        e.SpeedButton6Click();
        QCOMPARE(offered, groupsBefore);
        QVERIFY(offered.contains("Pojezd"));
        QCOMPARE(count("select count(*) from cis_zavady"), before + (store ? 1 : 0));
        QCOMPARE(count("select count(*) from cis_zavady where Skupina=:g and Zavada='Prasklé sklo kabiny'", Params{{"g", group}}),
                 store ? 1 : 0);
        QCOMPARE(defectGroups(*m_db).contains(group), store || group == "Pojezd");
        // the defect itself is not stored by it
        QCOMPARE(defects(*m_db, n.zavady).size(), 0);
    }

    void catalogueWindow_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("text");
        QTest::newRow("into a group") << "Pojezd" << "Opotřebená kolejnice";
        QTest::newRow("a new group by the row alone") << "Kladkostroj" << "Chybí pojistka háku kladkostroje";
        QTest::newRow("a text already there") << "Pojezd" << "Nefunkční brzda pojezdu";
    }
    void catalogueWindow()
    {
        QFETCH(QString, group);
        QFETCH(QString, text);
        const int before = count("select count(*) from cis_zavady");
        TFCis_Zavad w(*m_db);
        w.show();
        QCOMPARE(w.grid()->rowCount(), before);
        w._057addbtnClick();
        QVERIFY(w.isNewRow());
        w.groupBox()->setEditText(group);
        w.textEdit()->setText(text);
        w.SpeedButton1Click();
        // stored, and the window stays open
        QVERIFY(w.isVisible());
        QCOMPARE(count("select count(*) from cis_zavady"), before + 1);
        const int pc = count("select max(Pc) from cis_zavady");
        QCOMPARE(count("select count(*) from cis_zavady where Pc=:pc and Skupina=:g and Zavada=:z",
                       Params{{"pc", pc}, {"g", group}, {"z", text}}),
                 1);
        QCOMPARE(w.currentPc(), pc);
        QCOMPARE(w.grid()->rowCount(), before + 1);
        bool offered = false;
        for (int i = 0; i < w.groupBox()->count(); ++i)
            offered = offered || w.groupBox()->itemText(i) == group;
        QVERIFY(offered);
        // editing the row shown stores it in place
        w.textEdit()->setText(text + " (upraveno)");
        w.SpeedButton1Click();
        QCOMPARE(scalar("select Zavada from cis_zavady where Pc=:pc", Params{{"pc", pc}}).toString(), text + " (upraveno)");
        // deleting asks; No keeps the row, Yes removes it
        m_prompts.answers = {false, true};
        w._080SpeedButton9Click();
        QCOMPARE(count("select count(*) from cis_zavady where Pc=:pc", Params{{"pc", pc}}), 1);
        QVERIFY(w.selectPc(pc));
        w._080SpeedButton9Click();
        QCOMPARE(m_prompts.questions, (QStringList{"Opravdu chcete odstranit záznam?", "Opravdu chcete odstranit záznam?"}));
        QCOMPARE(count("select count(*) from cis_zavady where Pc=:pc", Params{{"pc", pc}}), 0);
        // "Zrušit" drops a row not stored and closes
        w._057addbtnClick();
        w.textEdit()->setText("neuloženo");
        w.SpeedButton2Click();
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), 1);
        QCOMPARE(count("select count(*) from cis_zavady"), before);
    }

    void numbering_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("number");
        QTest::newRow("revision") << true << "1" << "REV-" << "/2026" << "REV-1/2026";
        QTest::newRow("examination without texts") << true << "3" << "" << "" << "1";
        QTest::newRow("revision test, long suffix whole") << true << "2" << "RZ " << "/2026/Brno-ZZ" << "RZ 1/2026/Brno-ZZ";
        QTest::newRow("Zrušit keeps the settings") << false << "1" << "X-" << "-Y" << "R-1/ZZ";
    }
    void numbering()
    {
        QFETCH(bool, confirm);
        QFETCH(QString, kind);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, number);
        const QMap<QString, std::pair<const char *, const char *>> fields{
            {"1", {"Rpred", "RZa"}}, {"2", {"RZPred", "RZZa"}}, {"3", {"IPred", "IZa"}}};
        TFCislaProt w(*m_db);
        w.show();
        QCOMPARE(w.textBox("Rpred")->text(), QStringLiteral("R-"));
        QCOMPARE(w.textBox("IZa")->text(), QStringLiteral("/ZZ"));
        QCOMPARE(w.textBox("Rpred")->maxLength(), 30);
        QCOMPARE(w.textBox("RZZa")->maxLength(), 15);
        w.textBox(fields[kind].first)->setText(before);
        w.textBox(fields[kind].second)->setText(after);
        if (confirm)
            w.SpeedButton1Click();
        else
            w.SpeedButton2Click();
        QCOMPARE(w.result(), confirm ? 1 : 2);
        // the next inspection of the kind takes the texts
        QCOMPARE(createInspection(*m_db, 2, kind, QDate(2026, 3, 5), "9").protocolNumber(), number);
        // another kind keeps its own
        const QString other = kind == "1" ? "3" : "1";
        QCOMPARE(createInspection(*m_db, 2, other, QDate(2026, 3, 6), "9").protocolNumber(),
                 other == "1" ? QStringLiteral("R-1/ZZ") : QStringLiteral("I-1/ZZ"));
    }

    void technicianPicked_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK in the technician window") << true;
        QTest::newRow("Zrušit leaves no technician") << false;
    }
    void technicianPicked()
    {
        QFETCH(bool, confirm);
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        TFZZRevize w(*m_dm, n.id);
        w.show();
        QCOMPARE(w.technicianBox()->count(), 0);
        QString title;
        w.execTechnician = [&](QDialog &d) {
            auto &t = static_cast<TFRTech &>(d);
            title = t.windowTitle();
            t.textBox("Technik")->setText("Ing. Petr Novák");
            t.textBox("Adresa3")->setText("Brno");
            t.textBox("Psc")->setText("602 00");
            if (confirm)
                t.SpeedButton1Click();
            else
                t.SpeedButton2Click();
            return t.result();
        };
        w.SpeedButton3Click();
        QCOMPARE(title, QStringLiteral("Revizní technik"));
        QCOMPARE(count("select count(*) from RTech where Technik='Ing. Petr Novák' and Adresa3='Brno' and Psc='602 00'"),
                 confirm ? 1 : 0);
        QCOMPARE(count("select count(*) from RTech"), confirm ? 1 : 0);
        QCOMPARE(w.technicianBox()->count(), confirm ? 1 : 0);
        if (confirm) {
            QCOMPARE(w.technicianBox()->currentText(), QStringLiteral("Ing. Petr Novák"));
        } else {
            // a second technician added and picked from the list
            createTechnicians({"Jana Dvořáková", "Ing. Petr Novák"});
            w.execTechnician = [](QDialog &d) { return static_cast<TFRTech &>(d).result(); };
            w.SpeedButton3Click();
            QCOMPARE(w.technicianBox()->count(), 2);
            w.technicianBox()->setCurrentIndex(w.technicianBox()->findText("Ing. Petr Novák"));
        }
        w._040SpeedButton21Click();
        QCOMPARE(scalar("select Provedl from zz_revize where iD=:id", Params{{"id", n.id}}).toString(),
                 QStringLiteral("Ing. Petr Novák"));
    }

    void technicianOpenedByName()
    {
        createTechnicians({"Jana Dvořáková"});
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        TFZZRevize w(*m_dm, n.id);
        w.show();
        w.technicianBox()->setEditText("Jana Dvořáková");
        QString shownName;
        w.execTechnician = [&](QDialog &d) {
            auto &t = static_cast<TFRTech &>(d);
            shownName = t.textBox("Technik")->text();
            t.textBox("Telefon")->setText("777 123 456");
            t.SpeedButton1Click();
            return t.result();
        };
        w.DBComboBox4MouseDown();
        QCOMPARE(shownName, QStringLiteral("Jana Dvořáková"));
        QCOMPARE(count("select count(*) from RTech where Technik='Jana Dvořáková' and Telefon='777 123 456'"), 1);
        QCOMPARE(count("select count(*) from RTech"), 1);
        // removing a technician: inspections keep the name they store
        w.execTechnician = [&](QDialog &d) {
            auto &t = static_cast<TFRTech &>(d);
            t.OdstranitClick();
            return t.result();
        };
        w.DBComboBox4MouseDown();
        QCOMPARE(count("select count(*) from RTech"), 0);
        QCOMPARE(w.technicianBox()->count(), 0);
        QCOMPARE(w.technicianBox()->currentText(), QStringLiteral("Jana Dvořáková"));
        w._097SpeedButton22Click();
    }

    void overviewOpensAnotherInspection()
    {
        const NewInspection first = record(1, "1", QDate(2026, 3, 1));
        const NewInspection second = record(1, "3", QDate(2026, 3, 2));
        TFZZRevize w(*m_dm, second.id);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zápis o inspekci zdvihacího zařízení"));
        setText(w.fieldWidget("stavPOP"), "bez omez.");
        w.SpeedButton2Click();
        QVERIFY(w.showsOverview());
        QCOMPARE(w.windowTitle(), QStringLiteral("Průběh revizí a zkoušek zdvihacího zařízení"));
        QCOMPARE(w.button("SpeedButton2")->text(), QStringLiteral("Zobrazit detail revize"));
        // the record shown was stored before another could be chosen
        QCOMPARE(scalar("select stavPOP from zz_revize where iD=:id", Params{{"id", second.id}}).toString(),
                 QStringLiteral("bez omez."));
        const int rows = w.overviewGrid()->rowCount();
        QCOMPARE(rows, count("select count(*) from zz_revize where Poradi=1"));
        int row = -1;
        for (int r = 0; r < rows; ++r)
            if (w.overviewGrid()->item(r, 2)->text() == first.protocolNumber())
                row = r;
        QVERIFY(row >= 0);
        w.overviewGrid()->selectRow(row);
        w.DbGridVamel1DblClick();
        QVERIFY(!w.showsOverview());
        QCOMPARE(w.inspectionId(), first.id);
        QCOMPARE(w.windowTitle(), QStringLiteral("Zápis o revizi zdvihacího zařízení"));
        QCOMPARE(qobject_cast<QLineEdit *>(w.fieldWidget("Datum"))->text(), QStringLiteral("1.3.2026"));
        QCOMPARE(w.checklistArea()->findChildren<QLabel *>(QRegularExpression("^Popis_")).size(), first.checklistRows);
        w._097SpeedButton22Click();
    }

    // Pictures of the windows for the documentation (TAVOZZ_SCREENSHOT_DIR).
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("TAVOZZ_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("TAVOZZ_SCREENSHOT_DIR not set");
        createTechnicians({"Ing. Petr Novák", "Jana Dvořáková"});
        const NewInspection n = record(1, "1", QDate(2026, 3, 1));
        addDefect(*m_db, n.zavady, Defect{0, "Nefunkční brzda pojezdu", "Neprodleně", true, false});
        addDefect(*m_db, n.zavady, Defect{0, "Chybí kryt spojky pojezdu", "Při GO", false, true});
        addDefect(*m_db, n.zavady, Defect{0, "Lano s přetrženými dráty nad přípustný počet", "Odstraněno během zkoušky", false, false});
        const QVector<ChecklistRow> rows = checklist(*m_db, n.polozky);
        for (const ChecklistRow &r : rows) {
            if (r.offersYesNo())
                setChecklistResult(*m_db, n.polozky, r.polozka, r.polozka != 7);
            if (r.offersValue())
                setChecklistValue(*m_db, n.polozky, r.polozka, "16");
            if (r.offersText())
                setChecklistText(*m_db, n.polozky, r.polozka, "Zkouška provedena s břemenem 12,5 t bez závad.");
        }
        TFZZRevize w(*m_dm, n.id);
        w.show();
        w.DBEdit32Exit();
        w.technicianBox()->setEditText("Ing. Petr Novák");
        w.execDefects = [&](QDialog &d) {
            d.show();
            QApplication::processEvents();
            QVERIFY(d.grab().save(dir + "/defects-window.png"));
            static_cast<TFZZ_zavady &>(d).SpeedButton8Click();
        };
        w.SpeedButton1Click();
        setText(w.fieldWidget("Poznamka"), "Brzdu pojezdu seřídit před uvedením do provozu.");
        w.safeWorkBox()->setCurrentIndex(0);
        QApplication::processEvents();
        QVERIFY(w.grab().save(dir + "/inspection-window.png"));
        w._097SpeedButton22Click();
    }

private:
    void createTechnicians(const QStringList &names)
    {
        int pc = count("select max(PCREV) from RTech");
        for (const QString &name : names)
            if (count("select count(*) from RTech where Technik=:t", Params{{"t", name}}) == 0)
                m_db->exec("insert into RTech (PCREV, Technik) values (:p, :t)", Params{{"p", ++pc}, {"t", name}});
    }
};

QTEST_MAIN(TstInspectionWindow)
#include "tst_inspectionwindow.moc"
