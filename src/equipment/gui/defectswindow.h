#pragma once
// Defects of an equipment inspection and the catalogue of typical defects:
// the defects window of one inspection (TFZZ_zavady), the defect editor
// (TFZavada), the catalogue picker (TFCiselnikProVyber), the group picker
// (TFVyberSkupinu) and the catalogue window of the main menu (TFCis_Zavad).
// Everything is read and stored through the equipment inspection functions.
#include "datamodule.h"
#include "inspections.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tz::eq {

// "Číselník": the catalogue to pick a defect text from.
class TFCiselnikProVyber : public QDialog
{
    Q_OBJECT
public:
    explicit TFCiselnikProVyber(tz::db::Database &db, QWidget *parent = nullptr);

    void SpeedButton1Click(); // "Vybrat": result 1 with a row chosen
    void SpeedButton2Click(); // "Zrušit": result 2
    // The text of the row chosen; empty when none is.
    QString chosenText() const;
    QTableWidget *grid() const { return m_grid; }
    // Selects the first row with this text; false when there is none.
    bool selectText(const QString &zavada);

private:
    QTableWidget *m_grid;
};

// "Výběr": the group under which a defect text goes into the catalogue.
class TFVyberSkupinu : public QDialog
{
    Q_OBJECT
public:
    explicit TFVyberSkupinu(tz::db::Database &db, QWidget *parent = nullptr);

    void FormShow();          // the list of the existing groups, read again
    void SpeedButton1Click(); // "Uložit do číselníku": result 1
    void SpeedButton2Click(); // "Zpět": result 2
    QString group() const;
    QComboBox *groupBox() const { return m_group; }

private:
    tz::db::Database &m_db;
    QComboBox *m_group;
};

// "Závada ZZ": one defect of an inspection, new or stored.
class TFZavada : public QDialog
{
    Q_OBJECT
public:
    // `existing` empty: a new defect of the inspection whose defects are `zavady`.
    TFZavada(tz::db::Database &db, int zavady, const std::optional<Defect> &existing, QWidget *parent = nullptr);

    void SpeedButton5Click(); // "Vybrat z číselníku ...."
    void SpeedButton6Click(); // "Přidat do číselníku"
    void SpeedButton3Click(); // "Uložit změny": stores the defect, result 1
    void SpeedButton7Click(); // "Zrušit změny": result 2

    // The defect as the editor holds it.
    Defect defect() const;
    // Number of the defect stored by "Uložit změny" (0 before).
    int storedPc() const { return m_storedPc; }

    QPlainTextEdit *textEdit() const { return m_text; }
    QComboBox *removeByBox() const { return m_odstranit; }
    QCheckBox *urgentBox() const { return m_nutne; }
    QCheckBox *verifyBox() const { return m_overit; }

protected:
    void reject() override;

private:
    tz::db::Database &m_db;
    int m_zavady;
    std::optional<Defect> m_existing;
    int m_storedPc = 0;
    QPlainTextEdit *m_text;
    QComboBox *m_odstranit;
    QCheckBox *m_nutne, *m_overit;
};

// "Zjištěné závady": the defects of the inspection on which the data module's
// zz_revize stands.
class TFZZ_zavady : public QDialog
{
    Q_OBJECT
public:
    explicit TFZZ_zavady(tz::db::TDM &dm, QWidget *parent = nullptr);

    void ZavadyAdd();          // "Přidat"
    void ZavadyDelete();       // "Smazat"
    void ZavadyEdit();         // "Upravit" and a double click
    void SpeedButton8Click();  // "OK": result 2

    int zavady() const { return m_zavady; }
    QTableWidget *grid() const { return m_grid; }
    // Defect number of the selected row (0: none).
    int currentPc() const;
    bool selectPc(int pc);
    // Reads the list again and selects the defect `pc` (or the row at the same place).
    void reload(int pc = 0);

private:
    tz::db::TDM &m_dm;
    int m_zavady = 0;
    QVector<Defect> m_rows;
    QTableWidget *m_grid;
};

// "Číselník závad": the catalogue of typical defects with its groups.
class TFCis_Zavad : public QDialog
{
    Q_OBJECT
public:
    explicit TFCis_Zavad(tz::db::Database &db, QWidget *parent = nullptr);

    void FormShow();               // the group list read again
    void _057addbtnClick();        // "Přidat nový": a new row in the editors
    void _080SpeedButton9Click();  // "Odstranit"
    void SpeedButton1Click();      // "OK": stores the row; the window stays open
    void SpeedButton2Click();      // "Zrušit": drops the edits and closes (result 1)

    QTableWidget *grid() const { return m_grid; }
    QComboBox *groupBox() const { return m_group; }
    QLineEdit *textEdit() const { return m_text; }
    // Catalogue number of the selected row (0: none or a new row).
    int currentPc() const;
    bool isNewRow() const { return m_new; }
    bool selectPc(int pc);

protected:
    void reject() override;

private:
    void reload(int pc);
    void showRow();
    bool pending() const;

    tz::db::Database &m_db;
    QVector<CatalogueDefect> m_rows;
    QTableWidget *m_grid;
    QComboBox *m_group;
    QLineEdit *m_text;
    bool m_new = false;
    bool m_loading = false;
};

} // namespace tz::eq
