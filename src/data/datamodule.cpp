#include "datamodule.h"

namespace tz::db {

#define TZ_DS(n) n(db, QStringLiteral(#n))

TDM::TDM(Database *db)
    : TZ_DS(Basic), TZ_DS(ZZ_Basic), TZ_DS(L_Basic), TZ_DS(L_Basic1), TZ_DS(OK_basic), TZ_DS(OP_Basic),
      TZ_DS(BasicView), TZ_DS(ZZBasicView), TZ_DS(LBasicView), TZ_DS(OKBasicView), TZ_DS(OPBasicWiew),
      TZ_DS(PrubehRev), TZ_DS(Prubeh_rov), TZ_DS(PrubehrevEx), TZ_DS(Tisk_rev), TZ_DS(LZarazeniView), TZ_DS(zz_revize),
      TZ_DS(zz_zavady), TZ_DS(zz_P_revize), TZ_DS(zz_revizePopis), TZ_DS(ZZ_HSadaRev), TZ_DS(ZZ_SadaRevize),
      TZ_DS(PrubehRevOP), TZ_DS(Tisk_rev_op), TZ_DS(QSetOP), TZ_DS(QJistS_sloz), TZ_DS(L_Skoleni),
      TZ_DS(L_Skoleni_Ucast), TZ_DS(L_skolU_Detail), TZ_DS(ZZPrilohy), TZ_DS(RPrilohy), TZ_DS(Prilohy),
      TZ_DS(Druhy), TZ_DS(ZZ_Druhy), TZ_DS(L_Funkce), TZ_DS(OPDruhy), TZ_DS(Typy), TZ_DS(Nosnosti), TZ_DS(Firmy),
      TZ_DS(ListFirmy), TZ_DS(Majitel), TZ_DS(RTech), TZ_DS(PomQ), TZ_DS(PomQ1), TZ_DS(Extend_B), TZ_DS(PomCis),
      TZ_DS(PlanRev), TZ_DS(PlanZZ), TZ_DS(PlanL), TZ_DS(PlanOK), TZ_DS(PlanOP),
      m_db(db)
{
    setupSql();
    setupHooks();
    setCompanyRange(1, 1);
    setPlanningRange(1, 1);
}

#undef TZ_DS

TDM::~TDM()
{
    for (Dataset *d : all())
        d->setMaster(nullptr);
}

QVector<Dataset *> TDM::all()
{
    return {&Basic, &ZZ_Basic, &L_Basic, &L_Basic1, &OK_basic, &OP_Basic, &BasicView, &ZZBasicView, &LBasicView,
            &OKBasicView, &OPBasicWiew, &PrubehRev, &Prubeh_rov, &PrubehrevEx, &Tisk_rev, &LZarazeniView, &zz_revize,
            &zz_zavady, &zz_P_revize, &zz_revizePopis, &ZZ_HSadaRev, &ZZ_SadaRevize, &PrubehRevOP, &Tisk_rev_op,
            &QSetOP, &QJistS_sloz, &L_Skoleni, &L_Skoleni_Ucast, &L_skolU_Detail, &ZZPrilohy, &RPrilohy, &Prilohy,
            &Druhy, &ZZ_Druhy, &L_Funkce, &OPDruhy, &Typy, &Nosnosti, &Firmy, &ListFirmy, &Majitel, &RTech, &PomQ,
            &PomQ1, &Extend_B, &PomCis, &PlanRev, &PlanZZ, &PlanL, &PlanOK, &PlanOP};
}

void TDM::setupSql()
{
    Basic.setSql(QStringList{"Select firmy.firma, druhy.nazev as D, basic.* from basic, firmy, druhy ",
                             "where basic.firma=firmy.pcfir and basic.druh=druhy.druh ",
                             "and basic.firma>=:_firma and basic.firma<=:_firma2"});
    ZZ_Basic.setSql(QStringList{"Select firmy.firma,zz_druhy.nazev as D, zz_basic.* from zz_basic, firmy, zz_druhy ",
                                "where zz_basic.firma=firmy.pcfir  and zz_druhy.Druh=zz_basic.Druh",
                                "and zz_basic.firma>=:_firma and zz_basic.firma<=:_firma2"});
    L_Basic.setSql(QStringList{"Select firmy.firma, l_basic.* from l_basic, firmy ", "where l_basic.firma=firmy.pcfir ",
                               "and l_basic.firma>=:_firma and l_basic.firma<=:_firma2"});
    L_Basic1.setSql(QStringList{"Select firmy.firma,l_basic.*,l_zarazeni.* from l_basic, firmy,l_zarazeni ",
                                "where l_basic.firma=firmy.pcfir ", "and l_basic.os_id=l_zarazeni.os_id ",
                                "and l_basic.firma>=:_firma and l_basic.firma<=:_firma2", "and l_zarazeni.druh=:_druh"});
    L_Basic1.setParam("_druh", QString());
    OK_basic.setSql(QStringList{"Select firmy.firma,ok_basic.* from ok_basic, firmy ", "where ok_basic.firma=firmy.pcfir ",
                                "and ok_basic.firma>=:_firma and ok_basic.firma<=:_firma2"});
    OP_Basic.setSql(QStringList{"Select firmy.firma,op_basic.* from op_basic, firmy ", "where op_basic.firma=firmy.pcfir ",
                                "and op_basic.firma>=:_firma and op_basic.firma<=:_firma2"});

    BasicView.setSql("Select * from basic where firma>=:_firma and  firma<=:_firma2   ");
    ZZBasicView.setSql("Select * from  zz_basic  where firma>=:_firma and firma<=:_firma2");
    LBasicView.setSql(QStringList{"Select * from l_basic where firma>=:_firma", "and firma<=:_firma2"});
    OKBasicView.setSql("Select * from  ok_basic");
    OPBasicWiew.setSql("Select * from  op_basic");

    const QStringList prubeh{"Select * from revize", "where poradi=:poradi and druh=:druh"};
    PrubehRev.setSql(prubeh);
    PrubehRev.setMaster(&BasicView);
    Prubeh_rov.setSql(prubeh);
    Prubeh_rov.setMaster(&BasicView);
    PrubehrevEx.setSql(prubeh);
    PrubehrevEx.setMaster(&Basic);
    Tisk_rev.setSql(QStringList{"Select * from revize,basic", "where basic.poradi=:poradi and basic.druh=:druh",
                                "and revize.poradi=basic.poradi ", "and revize.druh=basic.druh",
                                "and revize.datum=:_datum"});
    Tisk_rev.setParam("_datum", QVariant());
    Tisk_rev.setMaster(&BasicView);
    LZarazeniView.setSql("Select * from l_zarazeni where Os_id=:Os_id");
    LZarazeniView.setMaster(&LBasicView);
    zz_revize.setSql("Select * from zz_revize where poradi=:poradi");
    zz_revize.setMaster(&ZZBasicView);
    zz_zavady.setSql("Select * from zz_zavady where id=:zavady");
    zz_zavady.setMaster(&zz_revize);
    zz_P_revize.setSql("Select * from zz_polozkyRev where revize=:polozky");
    zz_P_revize.setMaster(&zz_revize);
    zz_revizePopis.setSql("Select * from zz_Cis_Revize where polozka=:polozka");
    zz_revizePopis.setMaster(&zz_P_revize);
    ZZ_HSadaRev.setSql("Select * from zz_h_sada_revize");
    ZZ_SadaRevize.setSql(QStringList{"Select * from zz_Sada_Revize ", "where id=:id"});
    ZZ_SadaRevize.setMaster(&ZZ_HSadaRev);
    PrubehRevOP.setSql(QStringList{"Select * from revize_OP", "where poradi=:poradi and druh='O'"});
    PrubehRevOP.setMaster(&OPBasicWiew);
    Tisk_rev_op.setSql(QStringList{"Select * from revize_OP,OP_basic", "where OP_basic.poradi=:poradi and OP_basic.druh=:druh",
                                   "and revize_OP.poradi=OP_basic.poradi ", "and revize_OP.datum=:_datum"});
    Tisk_rev_op.setParam("_datum", QVariant());
    Tisk_rev_op.setMaster(&OPBasicWiew);
    QSetOP.setSql("Select * from OP_basic where evid_C_Set=:evid_C_Set");
    QSetOP.setMaster(&OPBasicWiew);
    QJistS_sloz.setSql("Select * from js_casti where poradi=:poradi");
    QJistS_sloz.setMaster(&OPBasicWiew);
    L_Skoleni.setSql("Select * from L_Skoleni");
    L_Skoleni_Ucast.setSql("Select * from L_Skoleni_ucast where skoleni_id=:skoleni_id");
    L_Skoleni_Ucast.setMaster(&L_Skoleni);
    L_skolU_Detail.setSql("Select * from L_basic where os_id=:os_id");
    L_skolU_Detail.setMaster(&L_Skoleni_Ucast);
    ZZPrilohy.setSql(QStringList{"Select * from Prilohy", "where x=:_vlastnik"});
    ZZPrilohy.setParam("_vlastnik", 0);
    RPrilohy.setSql(QStringList{"Select * from Prilohy", "where x=:_vlastnik", "and r=:_revize"});
    RPrilohy.setParam("_vlastnik", 0);
    RPrilohy.setParam("_revize", 0);
    Prilohy.setSql(QStringList{"Select * from Prilohy", "where y=:_vlastnik"});
    Prilohy.setParam("_vlastnik", 0);

    Druhy.setSql("Select * from druhy");
    ZZ_Druhy.setSql("Select * from  zz_druhy");
    L_Funkce.setSql("Select * from l_funkce where zobrazit=1");
    OPDruhy.setSql("Select * from typy where druh=\"O\"");
    Typy.setSql("Select * from typy where druh='R'");
    Nosnosti.setSql("select * from nosnosti");
    Firmy.setSql("Select * from firmy");
    ListFirmy.setSql("Select *  from firmy order by Firma");
    Majitel.setSql("Select * from Uzivatel");
    RTech.setSql("Select * from RTech");
    Extend_B.setSql("Select * from extend_b");
    PomCis.setSql(QStringList{"Select *  from extend_b", "where typ=:_typ"});
    PomCis.setHiddenFields({"TYP", "OZNACENI"});
    PomCis.afterOpen = [](Dataset &ds) {
        if (Field *f = ds.findField("NAZEV_V"))
            f->setLabel("Hodnota");
    };

    PlanRev.setSql(QStringList{
        "select dRUHY.NAZEV AS D,BASIC.TYP,BASIC.OZNACENI,BASIC.POPIS, BASIC.EVID_C,",
        "BASIC.VYR_C,BASIC.DAT_PLAN_1,BASIC.DAT_PLAN_3, BASIC.DRUH,",
        "Basic.poradi, basic.dodavatel,basic.stredisko,basic.uzivatel, basic.umisteni1, basic.umisteni2, Firmy.Firma",
        "from BASIC, DRUHY, FIRMY", "WHERE DRUHY.DRUH=BASIC.DRUH",
        "aND (BASIC.DAT_PLAN_1 <=:_Datum or BASIC.DAT_PLAN_1 is null", "or BASIC.DAT_PLAN_3 <= :_Datum  )",
        "and basic.firma>=:_firma and basic.firma<=:_firma2", "and basic.firma=firmy.pcfir"});
    PlanZZ.setSql(QStringList{
        "select zz_dRUHY.NAZEV AS d, ZZ_BASIC.EVID_C, ZZ_BASIC.INVENT_C,ZZ_BASIC.VYR_C,ZZ_BASIC.NEXT_ZAMERENI,",
        "ZZ_BASIC.NEXT_REVIZE,ZZ_BASIC.NEXT_INSPEKCE,ZZ_BASIC.NEXT_REVZK,ZZ_BASIC.NEXT_ELEKTROREV, ZZ_BASIC.DRUH,",
        "FIRMY.Firma", "from ZZ_BASIC, zz_DRUHY, FIRMY", "where ZZ_BASIC.dRUH=ZZ_DRUHY.DRUH",
        "AND ( NEXT_ZAMERENI <= :_Datum", "OR NEXT_REVIZE <=:_Datum OR NEXT_REVIZE is null",
        "OR NEXT_INSPEKCE <=:_Datum OR NEXT_INSPEKCE is null", "OR NEXT_REVZK <=:_Datum OR NEXT_REVZK is null",
        "OR NEXT_ELEKTROREV <=:_Datum OR NEXT_ELEKTROREV  is null)",
        "and ZZ_basic.firma>=:_firma and ZZ_basic.firma<=:_firma2", "and ZZ_basic.firma=FIRMY.PCFIR"});
    PlanL.setSql(QStringList{
        "select L_BASIC.OS_ID,L_BASIC.OS_CISLO,L_BASIC.PRIJMENI,L_BASIC.JMENO, ",
        "L_Zarazeni.Druh, L_Zarazeni.Skoleni_Plan,L_Zarazeni.Prohlidka_Plan, Firmy.Firma", "from L_BASIC, l_zarazeni,Firmy  ",
        "where L_BASIC.os_id=l_zarazeni.os_id", "and L_BASIC.firma>=:_firma and L_BASIC.firma<=:_firma2",
        "and (l_zarazeni.PROHLIDKA_plan <=:_datum OR l_zarazeni.SKOLENI_Plan <=:_datum",
        "OR l_zarazeni.PROHLIDKA_plan is null OR l_zarazeni.SKOLENI_Plan is null)", " and l_basic.Firma=FIRMY.PCFIR"});
    // Constructions also keep to the chosen company: without the range the list
    // would show other customers' items.
    PlanOK.setSql(QStringList{"select EVID_C, INVENT_C, VYR_C, NEXT_PODROBNA, NEXT_PREV",
                              " from OK_BASIC where (NEXT_PODROBNA <=:_Datum OR NEXT_PREV <=:_Datum",
                              " OR NEXT_PODROBNA IS NULL OR NEXT_PREV IS NULL)",
                              " and firma>=:_firma and firma<=:_firma2"});
    PlanOP.setSql(QStringList{
        "select Typy.NAZEV AS D,OP_BASIC.OZNACENI,OP_BASIC.POPIS, OP_BASIC.EVID_C_SET,",
        "op_BASIC.VYR_C,op_BASIC.DAT_PLAN_1, OP_basic.dodavatel,OP_basic.stredisko,OP_basic.uzivatel_Jmeno, OP_basic.umisteni1, OP_basic.umisteni2, Firmy.Firma",
        "from OP_BASIC, typy, FIRMY", "WHERE typy.typ=OP_BASIC.typ and Typy.Druh='O'", "and op_basic.firma=firmy.pcfir",
        "aND (OP_BASIC.DAT_PLAN_1 <=:_Datum or OP_BASIC.DAT_PLAN_1 is null)",
        "and op_basic.firma>=:_firma and OP_basic.firma<=:_firma2", "and op_basic.firma=firmy.pcfir"});
    for (Dataset *p : {&PlanRev, &PlanZZ, &PlanL, &PlanOK, &PlanOP})
        p->setParam("_Datum", QDate::currentDate());

    Basic.setHiddenFields({"UZIVATEL", "MATERIAL", "LANO_PRUM", "LANO_DELKA", "Pujceno", "DAT_POSL_1", "DAT_POSL_3",
                           "PERIODA1", "PERIODA3", "DAT_VYRAZ", "ZAVES", "RETEZ", "SPOJ", "VAZ_HAK", "JINE_ZKRAC", "JINE"});
    QStringList zzHidden{"Firma", "Poradi", "C_Dokumentace", "Typ_Zar", "Trida", "Podtrida", "SPZ", "Rozvor", "Rozpeti",
                         "DelkaDrahy", "Rychlost", "Pojezd", "Prumer_Lano", "Prumer_Retez", "Delka_lana", "Ovladani",
                         "Udrzba", "revtechnik", "Provtechnik", "poverosoba", "pocetkladkostroju", "zobrazitkl", "poznamka"};
    for (const char *p : {"Dat_zamereni", "Dat_overzk", "Dat_Revize", "Dat_Inspekce", "Dat_RevZk", "Dat_Elektrorev",
                          "Int_zamereni", "Int_Revize", "Int_Inspekce", "Int_RevZk", "Int_Elektrorev"})
        zzHidden << QString::fromLatin1(p);
    for (const char *k : {"Kl1_", "Kl2_", "Kl3_"})
        for (const char *f : {"typ", "Oznaceni", "Vyrobce", "Nosnost", "Hmotnost", "Vyr_C", "RV"})
            zzHidden << QString::fromLatin1(k) + QString::fromLatin1(f);
    ZZ_Basic.setHiddenFields(zzHidden);
    L_Basic.setHiddenFields({"firma", "Os_id", "RC", "Datum_akt", "Ulice", "Psc"});
    L_Basic1.setHiddenFields({"firma", "os_id", "druh", "os_id_1", "skoleni_plan", "skoleni_interval", "prohlidka_plan",
                              "prohlidka_interval", "Prukaz_datum", "Prukaz_platnost", "Prukaz_rozsah", "skoleni_id",
                              "prohlidka_id"});
}

QString TDM::kindName(const QString &druh)
{
    switch (druh.isEmpty() ? char16_t(0) : druh.at(0).unicode()) {
    case 'J': return QStringLiteral("Ostatní");
    case 'L': return QStringLiteral("Lano");
    case 'R': return QStringLiteral("Řetěz");
    case 'S': return QStringLiteral("Svěrka");
    case 'T': return QStringLiteral("Traverza");
    case 'X': return QStringLiteral("Textilie");
    default: return {};
    }
}

int TDM::legsOfType(const QVariant &typ)
{
    const int t = typ.toInt();
    switch (t) {
    case 5: return 0;
    case 6: return 2;
    case 7: return 4;
    case 8:
    case 9: return 1;
    default: return t;
    }
}

QString TDM::inspectionKindName(const QString &typ)
{
    static const char *names[] = {"Revize", "Revizní zkouška", "Inspekce", "Elektrorevize", "Zaměření"};
    const int i = typ.trimmed().toInt();
    return i >= 1 && i <= 5 && typ.trimmed().size() == 1 ? QString::fromUtf8(names[i - 1]) : QString();
}

QString TDM::protocolNumber(const QVariant &pred, const QVariant &num, const QVariant &za)
{
    return pred.toString() + (num.isNull() ? QString() : QString::number(num.toLongLong())) + za.toString();
}

QString TDM::longDescription(const QVariant &popis, const QVariant &doplneni, const QVariant &cislo)
{
    return popis.toString() + QString(9, QLatin1Char(' ')) + doplneni.toString() + QString(4, QLatin1Char(' ')) + cislo.toString();
}

QString TDM::layoutInspectionName(const QString &typR)
{
    const int i = typR.trimmed().toInt();
    return i >= 1 && i <= 3 ? inspectionKindName(typR) : QString();
}

QString TDM::layoutEquipmentName(const QString &typZ)
{
    static const QHash<QString, QString> names = {
        {"1", "Mostový"}, {"2", "Portálový"}, {"3", "Konzolový"}, {"4", "Stožárový"}, {"5", "Mobilní"},
        {"6", "Věžový"},  {"9", "Zdvihadlo"}, {"A", "Zvedák vozidel"}, {"E", "Jiné zař."}};
    return names.value(typZ.trimmed());
}

int TDM::newKey(const QString &maxStatement)
{
    PomQ.close();
    PomQ.setSql(maxStatement);
    PomQ.open();
    const QString text = PomQ.isEmpty() ? QString() : PomQ.fieldAt(0)->asString().trimmed();
    PomQ.close();
    if (text.isEmpty())
        return 1;
    bool ok = false;
    const int v = int(text.toDouble(&ok));
    return ok ? v + 1 : 1;
}

QString TDM::takeKeyNote()
{
    QString n = m_keyNote;
    m_keyNote.clear();
    return n;
}

QString TDM::selectedCompanyName() const
{
    if (m_selectedCompany < 1 || m_selectedCompany > 998)
        return {};
    return m_db->scalar(QStringLiteral("select Firma from firmy where PCFir = :pcfir"), Params{{"pcfir", m_selectedCompany}})
        .toString()
        .trimmed();
}

QString TDM::companyText() const
{
    if (m_selectedCompany == 999)
        return QStringLiteral("není proveden výběr firmy - zobrazena všechna data");
    return selectedCompanyName();
}

void TDM::guardKey(Dataset &ds, const QString &keyField, const QString &maxStatement)
{
    // Inside the storing transaction: if another workstation has stored the
    // number shown meanwhile, the row takes the next free one and says so.
    ds.allocateKey = [this, keyField, maxStatement](Dataset &d) {
        Field *k = d.field(keyField);
        const QString table = d.updateTable();
        const int shown = k->asInteger();
        const int used = k->isNull() ? 1
            : m_db->scalar(QStringLiteral("select count(*) from %1 where %2 = :k").arg(table, keyField), Params{{"k", shown}}).toInt();
        if (used == 0)
            return;
        const int fresh = newKey(maxStatement);
        k->setValue(fresh);
        if (!k->isNull() && shown != 0)
            m_keyNote = QStringLiteral("Číslo %1 mezitím použila jiná stanice; záznam byl uložen pod číslem %2.").arg(shown).arg(fresh);
    };
}

void TDM::loadTypy(const QString &kindLetter)
{
    Typy.close();
    Typy.setSql(QStringLiteral("Select * from typy where druh=:druh"));
    Typy.setParam("druh", kindLetter);
    Typy.open();
}

void TDM::setupHooks()
{
    // keys and defaults of new rows
    BasicView.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("PORADI", newKey("Select max(poradi) as maximum from Basic"));
        d.setFieldValue("DRUH", "R");
        d.setFieldValue("Firma", m_carry.firma);
        d.setFieldValue("Perioda1", m_carry.perioda1);
        d.setFieldValue("Perioda3", m_carry.perioda3);
        d.setFieldValue("Jak_trida", m_carry.jakTrida);
        d.setFieldValue("Typ", m_carry.typ);
        d.setFieldValue("Stredisko", m_carry.stredisko);
        d.setFieldValue("Uzivatel", m_carry.uzivatel);
        d.setFieldValue("Dodavatel", m_carry.dodavatel);
        d.setFieldValue("Vyrobce", m_carry.vyrobce);
    };
    guardKey(BasicView, "PORADI", "Select max(poradi) as maximum from Basic");
    BasicView.addCalcField("C_Druh", FieldType::String, 10, [](const RowView &r) {
        const QString k = kindName(r.value("DRUH").toString());
        return k.isEmpty() ? QVariant() : QVariant(k);
    });
    BasicView.addCalcField("prameny", FieldType::Integer, 0, [](const RowView &r) { return QVariant(legsOfType(r.value("TYP"))); });
    BasicView.addCalcField("Nazev_t", FieldType::String, 20, [this](const RowView &r) -> QVariant {
        if (!Typy.isOpen())
            return {};
        const QVariant typ = r.value("TYP");
        if (typ.isNull())
            return {};
        const Field *t = Typy.findField("TYP");
        const Field *n = Typy.findField("NAZEV");
        if (!t || !n)
            return {};
        for (int i = 0; i < Typy.recordCount(); ++i)
            if (Typy.rowValue(i, t->column()).toInt() == typ.toInt())
                return Typy.rowValue(i, n->column());
        return {};
    });
    BasicView.beforePost = [this](Dataset &d) {
        if (d.field("POPIS")->isNull())
            d.setFieldValue("POPIS", d.field("Nazev_t")->value());
        d.setFieldValue("Datum_akt", today());
    };
    BasicView.afterPost = [this](Dataset &d) {
        auto take = [&d](const char *f, QVariant &slot) {
            const Field *fl = d.field(QString::fromLatin1(f));
            if (!fl->isNull())
                slot = fl->value();
        };
        take("Perioda1", m_carry.perioda1);
        take("Perioda3", m_carry.perioda3);
        take("Jak_trida", m_carry.jakTrida);
        take("Typ", m_carry.typ);
        take("Stredisko", m_carry.stredisko);
        take("Uzivatel", m_carry.uzivatel);
        take("Dodavatel", m_carry.dodavatel);
        take("Vyrobce", m_carry.vyrobce);
        m_savedPoradi = d.field("PORADI")->asString();
        m_savedDruh = d.field("DRUH")->asString();
        if (m_selectedCompany >= 1 && m_selectedCompany <= 998)
            m_db->exec(QStringList{"Update Basic set firma=:firma", "where poradi=:poradi", "and druh=:druh"}.join('\n'),
                       Params{{"firma", m_selectedCompany}, {"poradi", m_savedPoradi.toInt()}, {"druh", m_savedDruh}});
    };

    ZZBasicView.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("Poradi", newKey("Select max(poradi) as maximum from ZZ_Basic"));
        d.setFieldValue("Druh", currentKind.isEmpty() ? QVariant() : QVariant(currentKind));
        d.setFieldValue("pocetkladkostroju", 1);
        d.setFieldValue("zobrazitkl", true);
        d.setFieldValue("Firma", m_carry.firma);
        d.setFieldValue("Int_Inspekce", 12);
    };
    guardKey(ZZBasicView, "Poradi", "Select max(poradi) as maximum from ZZ_Basic");
    ZZBasicView.beforePost = [this](Dataset &d) {
        d.setFieldValue("Datum_akt", today());
        if (!ZZ_Druhy.isOpen())
            ZZ_Druhy.open();
        if (ZZ_Druhy.locate("Druh", d.field("Druh")->value()))
            d.setFieldValue("Typ_Zar", ZZ_Druhy.field("Nazev")->value());
    };

    LBasicView.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("Os_id", newKey("Select max(os_id) as maximum from L_Basic"));
        d.setFieldValue("Firma", m_carry.firma);
    };
    guardKey(LBasicView, "Os_id", "Select max(os_id) as maximum from L_Basic");
    LBasicView.beforePost = [this](Dataset &d) { d.setFieldValue("Datum_akt", today()); };

    OKBasicView.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("Poradi", newKey("Select max(poradi) as maximum from OK_Basic"));
        d.setFieldValue("Firma", m_carry.firma);
    };
    guardKey(OKBasicView, "Poradi", "Select max(poradi) as maximum from OK_Basic");
    OPBasicWiew.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("PORADI", newKey("Select max(poradi) as maximum from OP_Basic"));
        d.setFieldValue("Firma", m_carry.firma);
        d.setFieldValue("DRUH", "O");
    };
    guardKey(OPBasicWiew, "PORADI", "Select max(poradi) as maximum from OP_Basic");

    // the history grids show the date, type, who inspected and the result
    for (Dataset *h : {&PrubehRev, &Prubeh_rov, &PrubehrevEx})
        h->afterOpen = [](Dataset &ds) {
            static const QList<std::pair<const char *, const char *>> shown = {
                {"DATUM", "Datum"}, {"TYPREVIZE", "Typ revize"}, {"Firma", "Provedl - firma"},
                {"PROVEDL", "Provedl - jméno"}, {"VYSLEDEK", "Výsledek"}};
            for (int i = 0; i < ds.fieldCount(); ++i)
                ds.fieldAt(i)->setVisible(false);
            int pos = 0;
            for (const auto &[f, label] : shown)
                if (Field *fl = ds.findField(QString::fromLatin1(f))) {
                    fl->setVisible(true);
                    fl->setLabel(QString::fromUtf8(label));
                    fl->setPosition(pos++);
                }
        };
    PrubehRev.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("PORADI", BasicView.field("PORADI")->value());
        d.setFieldValue("DRUH", BasicView.field("DRUH")->value());
    };
    Prubeh_rov.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("Poradi", BasicView.field("PORADI")->value());
        d.setFieldValue("Druh", BasicView.field("DRUH")->value());
        d.setFieldValue("CProtNDT", newKey("Select max(CprotNDT) from  revize"));
        d.setFieldValue("CRevZpr", newKey("Select max(CRevZpr) from  revize"));
        d.setFieldValue("Vysledek", "Vyhovuje");
        d.setFieldValue("TypRevize", "1");
        d.setFieldValue("Voda", "A");
        d.setFieldValue("Benzin", "N");
        d.setFieldValue("Provedl", revTech);
        d.setFieldValue("Firma", revFirma);
    };
    PrubehRevOP.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("poradi", OPBasicWiew.field("PORADI")->value());
        d.setFieldValue("Druh", OPBasicWiew.field("DRUH")->value());
        d.setFieldValue("Typrevize", "1");
        d.setFieldValue("cprot", newKey("select max(cprot) as maxim from revize_op"));
    };
    QJistS_sloz.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("PORADI", OPBasicWiew.field("PORADI")->value());
        d.setFieldValue("POR_JS", newKey("Select max(por_JS) as maximum from JS_Casti"));
    };
    guardKey(QJistS_sloz, "POR_JS", "Select max(por_JS) as maximum from JS_Casti");
    zz_revize.onNewRecord = [this](Dataset &d) { d.setFieldValue("iD", newKey("Select max(id) from zz_revize")); };
    guardKey(zz_revize, "iD", "Select max(id) from zz_revize");
    zz_revize.addCalcField("Typ_look", FieldType::String, 20, [](const RowView &r) {
        const QString n = inspectionKindName(r.value("Typ").toString());
        return n.isEmpty() ? QVariant() : QVariant(n);
    });
    zz_revize.addCalcField("Zpusobile_Look", FieldType::String, 3, [](const RowView &r) -> QVariant {
        const QVariant v = r.value("Zpusobile");
        if (v.isNull())
            return {};
        return v.toBool() ? QStringLiteral("Ano") : QStringLiteral("Ne");
    });
    zz_revize.addCalcField("zapis", FieldType::String, 50, [](const RowView &r) {
        return QVariant(protocolNumber(r.value("CisZapisu"), r.value("CisZapisuNum"), r.value("CisZapisu2")));
    });
    zz_zavady.onNewRecord = [this](Dataset &d) {
        const QVariant id = zz_revize.field("Zavady")->value();
        d.setFieldValue("ID", id);
        d.setFieldValue("PC", m_db->scalar("Select max(pc) from zz_zavady where id=:id", Params{{"id", id}}).toInt() + 1);
    };
    ZZPrilohy.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("ID", newKey("Select max(id) from prilohy"));
        d.setFieldValue("x", ZZPrilohy.param("_vlastnik"));
    };
    RPrilohy.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("ID", newKey("Select max(id) from prilohy"));
        d.setFieldValue("x", RPrilohy.param("_vlastnik"));
        d.setFieldValue("r", RPrilohy.param("_revize"));
    };
    Prilohy.onNewRecord = [this](Dataset &d) {
        d.setFieldValue("ID", newKey("Select max(id) from prilohy"));
        d.setFieldValue("y", Prilohy.param("_vlastnik"));
    };
    for (Dataset *p : {&ZZPrilohy, &RPrilohy, &Prilohy})
        guardKey(*p, "ID", "Select max(id) from prilohy");
    RTech.onNewRecord = [this](Dataset &d) { d.setFieldValue("PCREV", newKey("Select max(pcrev) from rtech")); };
    guardKey(RTech, "PCREV", "Select max(pcrev) from rtech");
    L_Skoleni.onNewRecord = [this](Dataset &d) { d.setFieldValue("skoleni_id", newKey("Select max(skoleni_id) from L_skoleni")); };
    guardKey(L_Skoleni, "skoleni_id", "Select max(skoleni_id) from L_skoleni");
    Firmy.onNewRecord = [this](Dataset &d) { d.setFieldValue("PCFir", newKey("Select max(pcfir) from firmy")); };
    guardKey(Firmy, "PCFir", "Select max(pcfir) from firmy");
}

void TDM::setCompanyRange(int from, int to)
{
    for (Dataset *d : {&Basic, &BasicView, &L_Basic, &L_Basic1, &LBasicView, &ZZ_Basic, &ZZBasicView, &OP_Basic, &OK_basic}) {
        const bool reopen = d->isOpen() && (d->param("_firma") != from || d->param("_firma2") != to);
        d->setParam("_firma", from);
        d->setParam("_firma2", to);
        if (reopen) {
            d->close();
            d->open();
        }
    }
}

void TDM::setPlanningRange(int from, int to)
{
    for (Dataset *d : {&PlanRev, &PlanZZ, &PlanL, &PlanOK, &PlanOP}) {
        d->setParam("_firma", from);
        d->setParam("_firma2", to);
    }
}

void TDM::setSelectedCompany(int pcfir)
{
    m_selectedCompany = pcfir;
    if (pcfir == 999) {
        m_carry.firma = 999;
        setCompanyRange(1, 999);
        setPlanningRange(0, 999);
    } else if (pcfir > 0) {
        m_carry.firma = pcfir;
        setCompanyRange(pcfir, pcfir);
        setPlanningRange(pcfir, pcfir);
    }
}

} // namespace tz::db
