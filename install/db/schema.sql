-- TAVO ZZ data directory: tables of every register.
-- Types are neutral and mapped to the engine when a data directory is created:
-- STRING(n) text of at most n characters, SMALLINT, INTEGER, AUTOINC (engine-assigned
-- integer key), FLOAT, DATE (calendar date), BOOLEAN, MEMO (long text),
-- GRAPHIC (picture), BLOB (uninterpreted bytes).
-- The company identifier firmy.IDFIR and the table TAVOZZ_X are added by the
-- program's own schema step at its first start.

create table firmy (
  PCFir SMALLINT not null primary key,
  Firma STRING(40), Kont_Osoba STRING(25), Ico STRING(10),
  Adresa1 STRING(30), Adresa2 STRING(30), Adresa3 STRING(30),
  Psc STRING(6), Telefon STRING(20), Email STRING(40), Logo GRAPHIC
);

create table druhy (
  Druh STRING(1) not null primary key, Nazev STRING(30), z INTEGER, obr STRING(20)
);

create table typy (
  DRUH STRING(1) not null, TYP SMALLINT not null, NAZEV STRING(20),
  primary key (DRUH, TYP)
);

create table nosnosti (
  DRUH STRING(1) not null, TYP SMALLINT not null, JAK_TRIDA STRING(4) not null, PRUMER FLOAT not null,
  NOSNOST_1 FLOAT, NOSNOST_2 FLOAT, NOSNOST_3 FLOAT,
  primary key (DRUH, TYP, JAK_TRIDA, PRUMER)
);

create table basic (
  Firma SMALLINT, PORADI SMALLINT not null primary key, DRUH STRING(1), TYP SMALLINT,
  OZNACENI STRING(40), POPIS STRING(30), EVID_C STRING(20), VYR_C STRING(20),
  STREDISKO STRING(40), JAK_TRIDA STRING(4),
  NOSNOST_1 FLOAT, NOSNOST_2 FLOAT, NOSNOST_3 FLOAT, DELKA FLOAT, PRUMER FLOAT,
  DAT_VYROBY DATE, DAT_POSL_1 DATE, DAT_POSL_3 DATE, DAT_PLAN_1 DATE, DAT_PLAN_3 DATE,
  VYROBCE STRING(30), DODAVATEL STRING(30), PERIODA1 SMALLINT, PERIODA3 SMALLINT,
  DAT_VYRAZ DATE, ZAVES STRING(20), RETEZ STRING(20), SPOJ STRING(20), VAZ_HAK STRING(20),
  JINE_ZKRAC STRING(20), JINE STRING(20), DAT_PROVOZ DATE, UZIVATEL STRING(30),
  MATERIAL STRING(3), LANO_PRUM FLOAT, LANO_DELKA FLOAT, Pujceno BOOLEAN, Datum_akt DATE,
  umisteni1 STRING(30), umisteni2 STRING(30), udrzba STRING(30), Poznamka MEMO,
  sv_sirka STRING(12), Priloha INTEGER, Pict GRAPHIC
);

create table revize (
  PORADI SMALLINT not null, DRUH STRING(1) not null, DATUM DATE not null,
  TYPREVIZE STRING(1), VYSLEDEK STRING(30), PROVEDL STRING(30), Firma STRING(30),
  poznamka1 MEMO, Poznamka STRING(40), CProtNDT INTEGER, CRevZpr INTEGER,
  CProtKon STRING(20), CenaRev INTEGER, Voda STRING(1), Benzin STRING(1),
  Proud1 FLOAT, Proud2 FLOAT, Proud3 FLOAT, Proud4 FLOAT, Proud5 FLOAT,
  Tloustka1 FLOAT, Tloustka2 FLOAT, Tloustka3 FLOAT, Tloustka4 FLOAT,
  primary key (PORADI, DRUH, DATUM)
);

create table Ceny (
  prumer FLOAT not null, jaka STRING(1) not null, Prameny SMALLINT not null,
  Do2 FLOAT, dalsi FLOAT,
  primary key (prumer, jaka, Prameny)
);

create table extend_b (
  TYP STRING(1) not null, OZNACENI SMALLINT not null, NAZEV_V STRING(30),
  primary key (TYP, OZNACENI)
);

create table prilohy (
  ID INTEGER not null primary key, DATUM DATE, x INTEGER, y INTEGER, r INTEGER,
  Popis STRING(255), CESTA STRING(255), jmeno STRING(255), ZALOHA BLOB
);

create table RTech (
  PCREV SMALLINT not null primary key, Technik STRING(40), Ico STRING(10),
  Adresa1 STRING(30), Adresa2 STRING(30), Adresa3 STRING(30),
  Psc STRING(6), Telefon STRING(20), Email STRING(40)
);

create table CislaProtokolu (
  Rpred STRING(30), RZa STRING(15), IPred STRING(30), IZa STRING(15),
  RZPred STRING(30), RZZa STRING(15)
);

create table Uzivatel (
  FIRMA STRING(30), Adresa1 STRING(30), Adresa2 STRING(30), Adresa3 STRING(30),
  Psc STRING(6), Ico STRING(10), Kontakt STRING(40), Telefon STRING(20),
  Email STRING(40), Logo GRAPHIC
);

create table zz_druhy (
  Druh STRING(1) not null primary key, Nazev STRING(20), z INTEGER, obr STRING(20), e INTEGER
);

create table zz_basic (
  Firma SMALLINT, Poradi SMALLINT not null primary key, Druh STRING(1),
  Evid_C STRING(20), Invent_C STRING(20), Vyr_C STRING(20), C_Dokumentace STRING(20),
  Typ_Zar STRING(20), Typ_J STRING(20), Skupina STRING(10), Trida STRING(10),
  Podtrida STRING(10), Uchopeni STRING(20), Druh_Pohonu STRING(20), SPZ STRING(10),
  Provozovatel STRING(30), Provoz STRING(30), Prov_Skup_Zar STRING(10), Rok_vyroby INTEGER,
  Vyrobce STRING(30), Dodavatel STRING(30), Umisteni1 STRING(30), Umisteni2 STRING(30),
  Dat_zamereni DATE, Dat_overzk DATE, Dat_Revize DATE, Dat_Inspekce DATE, Dat_RevZk DATE,
  Dat_Elektrorev DATE,
  Next_zamereni DATE, Next_Revize DATE, Next_Inspekce DATE, Next_RevZk DATE, Next_Elektrorev DATE,
  Int_zamereni SMALLINT, Int_Revize SMALLINT, Int_Inspekce SMALLINT, Int_RevZk SMALLINT,
  Int_Elektrorev SMALLINT,
  Rozvor FLOAT, Rozpeti FLOAT, DelkaDrahy FLOAT, Rychlost FLOAT, Pojezd STRING(10),
  Vyska_Zdvihu FLOAT, Vylozeni FLOAT, Max_nosnost FLOAT, Max_vylozeni FLOAT,
  Oznaceni STRING(30), Zakl_nosnost STRING(20), Ovladani STRING(30),
  Kl1_typ STRING(20), Kl2_typ STRING(20), Kl3_typ STRING(20),
  Kl1_Oznaceni STRING(25), Kl2_Oznaceni STRING(25), Kl3_Oznaceni STRING(25),
  Kl1_Vyrobce STRING(30), Kl2_Vyrobce STRING(30), KL3_Vyrobce STRING(30),
  Kl1_Nosnost FLOAT, Kl2_Nosnost FLOAT, KL3_Nosnost FLOAT,
  Kl1_Hmotnost FLOAT, Kl2_Hmotnost FLOAT, KL3_Hmotnost FLOAT,
  Kl1_Vyr_C STRING(20), Kl2_Vyr_C STRING(20), KL3_Vyr_C STRING(20),
  Kl1_RV INTEGER, Kl2_RV INTEGER, KL3_RV INTEGER,
  Kl1_Prumer FLOAT, Kl2_Prumer FLOAT, Kl3_Prumer FLOAT,
  Kl1_Delka FLOAT, Kl2_Delka FLOAT, Kl3_Delka FLOAT,
  Udrzba STRING(30), PocetKladkostroju SMALLINT, ZobrazitKl BOOLEAN, Poznamka MEMO,
  RevTechnik STRING(30), ProvTechnik STRING(30), PoverOsoba STRING(30), datum_akt DATE,
  Prumer_Lano FLOAT, Prumer_Retez FLOAT, Delka_lana FLOAT, Podvozek STRING(10),
  Vyloznik STRING(30), omezp STRING(2), Priloha INTEGER, Pict GRAPHIC
);

create table zz_revize (
  iD INTEGER not null primary key, Poradi INTEGER, Datum DATE, Typ STRING(1),
  Polozky INTEGER, Zavady INTEGER, Zpusobile BOOLEAN, Body1 STRING(255), Body2 STRING(255),
  Bezpprace BOOLEAN, Provedl STRING(40), Poznamka MEMO, CisZapisu STRING(30),
  CisZapisuNum INTEGER, CisZapisu2 STRING(15), Platnost DATE,
  Tisk1 BOOLEAN, Tisk2 BOOLEAN, Tisk3 BOOLEAN, Priloha INTEGER, stavPOP STRING(10)
);

create table zz_polozkyrev (
  Revize INTEGER not null, Polozka INTEGER not null, Oznaceni STRING(10),
  Vysledek BOOLEAN, TEXT MEMO, Cislo STRING(20),
  primary key (Revize, Polozka)
);

create table zz_zavady (
  ID INTEGER not null, PC INTEGER not null, Zavada STRING(255), Odstranit STRING(30),
  Nutne BOOLEAN, Overit BOOLEAN,
  primary key (ID, PC)
);

create table cis_zavady (
  Pc INTEGER not null primary key, Zavada STRING(255), Skupina STRING(30)
);

create table zz_cis_revize (
  Polozka AUTOINC primary key, Popis STRING(255), Potvrzovat BOOLEAN,
  Doplneni STRING(100), TEXT SMALLINT, CISLO SMALLINT
);

create table zz_h_sada_revize (
  ID AUTOINC primary key, Nazev STRING(30)
);

create table zz_sada_revize (
  ID INTEGER not null, Oznaceni STRING(10), Polozka INTEGER not null,
  primary key (ID, Polozka)
);

create table zz_roz_revize (
  ID AUTOINC primary key, Typ_R STRING(1), Typ_Z STRING(1), Nadpis STRING(255), Sada INTEGER
);

create table zz_dintervaly (
  Druh STRING(1) not null, Uchopeni STRING(20) not null, ProvSkup STRING(10) not null,
  Skupina STRING(10) not null,
  IRevize SMALLINT, IRzk SMALLINT, IERev SMALLINT, IZam SMALLINT, IInsp SMALLINT,
  primary key (Druh, Uchopeni, ProvSkup, Skupina)
);

create table l_funkce (
  Druh STRING(1) not null primary key, Nazev STRING(30), zobrazit INTEGER, z INTEGER, obr STRING(20)
);

create table l_basic (
  Firma SMALLINT, Os_id INTEGER not null primary key, Os_cislo STRING(10),
  Prijmeni STRING(20), Jmeno STRING(20), Evidovan_od DATE, RC STRING(11), datnar DATE,
  Ulice STRING(30), Mesto STRING(30), Psc STRING(6), datum_akt DATE
);

create table l_zarazeni (
  Os_id INTEGER not null, Druh STRING(1) not null,
  Skoleni DATE, Skoleni_plan DATE, Skoleni_interval SMALLINT,
  Prohlidka DATE, Prohlidka_plan DATE, Prohlidka_interval SMALLINT,
  prukaz STRING(20), prukaz_datum DATE, prukaz_rozsah STRING(20), prukaz_platnost DATE,
  skoleni_id INTEGER, prohlidka_id INTEGER,
  primary key (Os_id, Druh)
);

create table l_skoleni (
  skoleni_id INTEGER not null primary key, Druh STRING(1), Skoleni_od DATE, Skoleni_do DATE,
  Skoleni_nazev STRING(30), Skoleni_hodin FLOAT, Skoleni_poznamka MEMO
);

create table l_skoleni_ucast (
  skoleni_id INTEGER not null, Os_id INTEGER not null, Skoleni_poznamka1 MEMO, vyhovel SMALLINT,
  primary key (skoleni_id, Os_id)
);

create table L_prohlidky (
  prohlidka_id INTEGER not null primary key, Os_id INTEGER not null, Druh STRING(1),
  Datum DATE, Vysledek STRING(30), Lekar STRING(40), Poznamka MEMO
);

create table ok_basic (
  Firma SMALLINT, Poradi SMALLINT not null primary key, Druh STRING(1),
  Evid_C STRING(20), Invent_C STRING(20), Vyr_C STRING(20), C_Dokumentace STRING(20),
  Typ_Zar STRING(20), Provozovatel STRING(30), Provoz STRING(30), Vyrobce STRING(30),
  Dodavatel STRING(30), Umisteni1 STRING(30), Umisteni2 STRING(30), Rok_vyroby INTEGER,
  Dat_podrobna DATE, Dat_prev DATE, Next_podrobna DATE, Next_prev DATE,
  Int_podrobna SMALLINT, Int_prev SMALLINT, Rozpeti FLOAT, DelkaDrahy FLOAT,
  PojizdenaDelka FLOAT, Vyska FLOAT, Oznaceni STRING(30), Udrzba STRING(30),
  RevTechnik INTEGER, ProvTechnik INTEGER, PoverOsoba INTEGER, datum_akt DATE, Poznamka MEMO,
  Pocetvetvi SMALLINT, TypNosniku STRING(20), RozmerKolejnice STRING(20), Spojeni STRING(20),
  Jeraby STRING(30), J1 SMALLINT, J2 SMALLINT, J3 SMALLINT, J4 SMALLINT
);

create table op_basic (
  Firma SMALLINT, PORADI SMALLINT not null primary key, DRUH STRING(1), TYP SMALLINT,
  OZNACENI STRING(40), POPIS STRING(30), EVID_C_SET STRING(20), VYR_C STRING(20),
  STREDISKO STRING(40), DAT_VYROBY DATE, DAT_POSL_1 DATE, DAT_PLAN_1 DATE,
  VYROBCE STRING(30), DODAVATEL STRING(30), PERIODA1 SMALLINT, DAT_VYRAZ DATE,
  DAT_PROVOZ DATE, UZIVATEL_JMENO STRING(30), UZIVATEL_PZAR STRING(30),
  UZIVATEL_DPREVZE DATE, Pujceno BOOLEAN, Datum_akt DATE,
  umisteni1 STRING(30), umisteni2 STRING(30), udrzba STRING(30), Poznamka MEMO,
  Priloha INTEGER, Pict GRAPHIC
);

create table revize_op (
  poradi SMALLINT not null, druh STRING(1) not null, DATUM DATE not null,
  TYPREVIZE STRING(1), VYSLEDEK STRING(30), PROVEDL STRING(30), Firma STRING(30),
  poznamka1 MEMO, cprot INTEGER, Prot1 STRING(30), Prot2 STRING(30),
  primary key (poradi, druh, DATUM)
);

create table js_casti (
  PORADI SMALLINT not null, POR_JS SMALLINT not null, OZNACENI STRING(40), POPIS STRING(30),
  MNOZSTVI INTEGER, PRUMER FLOAT, DELKA FLOAT, Poznamka MEMO,
  primary key (PORADI, POR_JS)
);

create index basic_druh on basic (DRUH);
create index basic_firma on basic (Firma);
create index zz_basic_firma on zz_basic (Firma);
create index zz_revize_poradi on zz_revize (Poradi);
create index l_basic_firma on l_basic (Firma);
create index op_basic_firma on op_basic (Firma);
create index prilohy_x on prilohy (x);
create index prilohy_y on prilohy (y);
create index prilohy_r on prilohy (r);
