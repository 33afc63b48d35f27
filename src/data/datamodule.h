#pragma once
// The data module: the connection and every dataset that the main window and
// the record forms share, with their keys, new-row values, save hooks and
// calculated fields, and the planning queries of the five registers.
#include "dataset.h"
#include "db.h"

#include <QDate>
#include <functional>
#include <memory>

namespace tz::db {

// Values a new accessory starts with; each save replaces the non-empty ones.
struct CarryOver
{
    int firma = 1;
    QVariant perioda1 = 12;
    QVariant perioda3 = 36;
    QVariant typ = 0;
    QVariant jakTrida, stredisko, uzivatel, dodavatel, vyrobce;
};

class TDM
{
public:
    explicit TDM(Database *db);
    ~TDM();
    TDM(const TDM &) = delete;
    TDM &operator=(const TDM &) = delete;

    Database *db() const { return m_db; }

    // Register lists.
    Dataset Basic, ZZ_Basic, L_Basic, L_Basic1, OK_basic, OP_Basic;
    // Editing sets.
    Dataset BasicView, ZZBasicView, LBasicView, OKBasicView, OPBasicWiew;
    // Detail sets.
    Dataset PrubehRev, Prubeh_rov, PrubehrevEx, Tisk_rev, LZarazeniView, zz_revize, zz_zavady, zz_P_revize,
        zz_revizePopis, ZZ_HSadaRev, ZZ_SadaRevize, PrubehRevOP, Tisk_rev_op, QSetOP, QJistS_sloz, L_Skoleni,
        L_Skoleni_Ucast, L_skolU_Detail, ZZPrilohy, RPrilohy, Prilohy;
    // Code tables and others.
    Dataset Druhy, ZZ_Druhy, L_Funkce, OPDruhy, Typy, Nosnosti, Firmy, ListFirmy, Majitel, RTech, PomQ, PomQ1;
    // Auxiliary code lists: the whole table and the list the code-list window edits.
    Dataset Extend_B, PomCis;
    // Planning queries.
    Dataset PlanRev, PlanZZ, PlanL, PlanOK, PlanOP;

    // Company range of every list and editing set (1..999 for all companies).
    void setCompanyRange(int from, int to);
    // Company range of the planning queries (0..999 for all companies).
    void setPlanningRange(int from, int to);
    int selectedCompany() const { return m_selectedCompany; }
    // The selected company's name; empty before a choice, for all companies
    // (999) and for a number no company has.
    QString selectedCompanyName() const;
    // The company text of captions and report parameters: the selected
    // company's name, "není proveden výběr firmy - zobrazena všechna data" for
    // all companies, empty before a choice.
    QString companyText() const;
    // The company the user works on: 0 before the choice, 999 for all.
    void setSelectedCompany(int pcfir);

    CarryOver &carryOver() { return m_carry; }
    // Current kind letter of the main window (new equipment rows take it).
    QString currentKind;
    // Partner defaults for new partner inspection rows.
    QString revTech, revFirma;
    // Partner-company mode: accessory cards use the partner inspection history.
    bool partnerMode = false;

    // Maximum plus one of a key statement's single column; 1 when empty.
    int newKey(const QString &maxStatement);
    // The day used for stamps; tests may set a fixed one.
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // A note when a new row had to take another number than the one shown,
    // because another workstation stored that number meanwhile; empty otherwise.
    QString takeKeyNote();

    // Re-queries the type catalogue of one accessory kind.
    void loadTypy(const QString &kindLetter);

    // All datasets, for closing before a restore and the like.
    QVector<Dataset *> all();

    // Derived values.
    static QString kindName(const QString &druh);       // C_Druh
    static int legsOfType(const QVariant &typ);         // prameny
    static QString inspectionKindName(const QString &typ); // Typ_look
    static QString protocolNumber(const QVariant &pred, const QVariant &num, const QVariant &za); // zapis
    static QString longDescription(const QVariant &popis, const QVariant &doplneni, const QVariant &cislo); // DlouhyPopis
    static QString layoutInspectionName(const QString &typR);  // RozdeleniRevizi.REVIZE
    static QString layoutEquipmentName(const QString &typZ);   // RozdeleniRevizi.ZARIZENI

private:
    void setupSql();
    void setupHooks();
    void guardKey(Dataset &ds, const QString &keyField, const QString &maxStatement);

    Database *m_db;
    CarryOver m_carry;
    int m_selectedCompany = 0;
    QString m_keyNote;
    QString m_savedPoradi, m_savedDruh;
};

} // namespace tz::db
