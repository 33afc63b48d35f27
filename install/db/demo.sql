-- A small demonstration data set: the user organisation, three companies and
-- a few items of every register.
update Uzivatel set FIRMA = 'Revize Zdvih s.r.o.', Adresa1 = 'Průmyslová 12', Adresa2 = 'Ostrava - Vítkovice',
  Psc = '703 00', Ico = '25836471', Kontakt = 'Ing. Petr Dvořák', Telefon = '596 123 456', Email = 'revize@zdvih.cz';

insert into firmy (PCFir, Firma, Kont_Osoba, Ico, Adresa1, Adresa2, Psc, Telefon, Email) values
  (1, 'Strojírny Šumperk a.s.', 'Jana Nováková', '45193258', 'Nádražní 45', 'Šumperk', '787 01', '583 214 111', 'udrzba@strojsum.cz');
insert into firmy (PCFir, Firma, Kont_Osoba, Ico, Adresa1, Adresa2, Psc, Telefon, Email) values
  (2, 'Ocelárna Třinec - válcovna', 'Karel Říha', '18050646', 'Průmyslová 1000', 'Třinec', '739 61', '558 531 111', 'bozp@valcovna.cz');
insert into firmy (PCFir, Firma, Kont_Osoba, Ico, Adresa1, Adresa2, Psc, Telefon, Email) values
  (3, 'Stavby Žďár & syn', 'Miroslav Čech', '60723432', 'Husova 8', 'Žďár nad Sázavou', '591 01', '566 623 400', 'cech@stavbyzdar.cz');

insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, JAK_TRIDA, NOSNOST_1, NOSNOST_2, NOSNOST_3, DELKA, PRUMER, DAT_VYROBY, DAT_POSL_1, DAT_POSL_3, DAT_PLAN_1, DAT_PLAN_3, VYROBCE, DODAVATEL, PERIODA1, PERIODA3, DAT_PROVOZ, UZIVATEL, umisteni1, umisteni2, Datum_akt) values
  (1, 1, 'R', 2, 'ŘV 2-10-8', 'Dvoupramenný', 'R-001', '21-4471', 'Lisovna', '8', 6300, 4410, 3150, 2.5, 10, '2021-03-15', '2026-03-10', '2024-03-10', '2027-03-10', '2027-03-10', 'Řetězy Kolín', 'Vázací technika s.r.o.', 12, 36, '2021-04-01', 'Josef Malý', 'Hala A', 'Sklad', '2026-03-10');
insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, JAK_TRIDA, NOSNOST_1, NOSNOST_2, NOSNOST_3, DELKA, PRUMER, DAT_VYROBY, DAT_POSL_1, DAT_POSL_3, DAT_PLAN_1, DAT_PLAN_3, VYROBCE, DODAVATEL, PERIODA1, PERIODA3, DAT_PROVOZ, UZIVATEL, umisteni1, umisteni2, Datum_akt) values
  (1, 2, 'R', 4, 'ŘV 4-13-10', 'Čtyřpramenný', 'R-002', '22-0912', 'Svařovna', '10', 19880, 13910, 9940, 3, 13, '2022-06-01', '2025-11-20', '2023-11-20', '2026-11-20', '2026-11-20', 'Hutní řetězy Vamberk', 'Vázací technika s.r.o.', 12, 36, '2022-06-10', 'Pavel Šťastný', 'Hala B', '', '2025-11-20');
insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, JAK_TRIDA, NOSNOST_1, DELKA, PRUMER, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, VYROBCE, DODAVATEL, PERIODA1, DAT_PROVOZ, umisteni1, Datum_akt) values
  (1, 3, 'L', 1, 'LV 16 oko-oko', 'Oko-oko', 'L-014', '', 'Montáž', '1770', 2800, 4, 16, '2020-01-20', '2026-01-15', '2027-01-15', 'Drátovna Bohumín', 'Lana Bohumín', 12, '2020-02-01', 'Hala A', '2026-01-15');
insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, MATERIAL, NOSNOST_1, NOSNOST_2, NOSNOST_3, DELKA, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, DAT_PLAN_3, VYROBCE, PERIODA1, PERIODA3, DAT_PROVOZ, umisteni1, Datum_akt) values
  (2, 4, 'X', 1, 'Smyčka 3t / 2m', 'Nekonečná smyčka', 'X-120', 'T-88231', 'Válcovna', 'PES', 3000, 4200, 3000, 2, '2024-05-01', '2025-12-01', '2026-12-01', null, 'Textil Brno', 12, 36, '2024-05-10', 'Expedice', '2025-12-01');
insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, NOSNOST_1, DELKA, PRUMER, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, VYROBCE, PERIODA1, DAT_PROVOZ, umisteni1, Datum_akt) values
  (2, 5, 'T', 1, 'Traverza 5 t', 'Jeřábová traverza', 'T-03', '2019/44', 'Válcovna', 5000, 4, 320, '2019-09-01', '2026-06-01', '2027-06-01', 'Hutní montáže', 12, '2019-10-01', 'Hala C', '2026-06-01');
insert into basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C, VYR_C, STREDISKO, NOSNOST_1, sv_sirka, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, VYROBCE, PERIODA1, DAT_PROVOZ, Datum_akt) values
  (3, 6, 'S', 1, 'IPN 1,5 t', 'Vertikální svěrka', 'S-07', 'SV-1523', 'Stavba Jihlava', 1500, '0-25', '2023-02-01', null, null, 'Svěrky Plzeň', 12, '2023-02-15', '2023-02-15');

insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL, Firma) values (1, 'R', '2026-03-10', '1', 'Vyhovuje', 'Ing. Petr Dvořák', 'Revize Zdvih s.r.o.');
insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL, Firma) values (1, 'R', '2024-03-10', '3', 'Vyhovuje', 'Ing. Petr Dvořák', 'Revize Zdvih s.r.o.');
insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL, Firma) values (2, 'R', '2025-11-20', '1', 'Opraven', 'Tomáš Kříž', 'Revize Zdvih s.r.o.');
insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL, Firma) values (3, 'L', '2026-01-15', '1', 'Vyhovuje', 'Tomáš Kříž', 'Revize Zdvih s.r.o.');
insert into revize (PORADI, DRUH, DATUM, TYPREVIZE, VYSLEDEK, PROVEDL, Firma) values (4, 'X', '2025-12-01', '1', 'Vyhovuje', 'Ing. Petr Dvořák', 'Revize Zdvih s.r.o.');

insert into zz_basic (Firma, Poradi, Druh, Evid_C, Invent_C, Vyr_C, Typ_Zar, Typ_J, Skupina, Uchopeni, Provozovatel, Provoz, Prov_Skup_Zar, Rok_vyroby, Vyrobce, Umisteni1, Dat_Revize, Int_Revize, Next_Revize, Dat_RevZk, Int_RevZk, Next_RevZk, Dat_Inspekce, Int_Inspekce, Next_Inspekce, Dat_Elektrorev, Int_Elektrorev, Next_Elektrorev, Max_nosnost, Zakl_nosnost, Rozpeti, Vyska_Zdvihu, PocetKladkostroju, ZobrazitKl, Kl1_typ, Kl1_Nosnost, datum_akt) values
  (1, 1, '1', 'MJ-01', '100231', '8841', 'Mostový', 'dvounosníkový', 'II', 's hákem', 'Strojírny Šumperk a.s.', 'Lisovna', 'J3', 1998, 'Jeřáby Brno', 'Hala A', '2026-02-10', 12, '2027-02-10', '2024-02-10', 48, '2028-02-10', '2026-09-01', 3, '2026-12-01', '2025-02-10', 36, '2028-02-10', 12500, '12,5 t', 22.5, 9, 1, true, 'lanový', 12500, '2026-09-01');
insert into zz_basic (Firma, Poradi, Druh, Evid_C, Invent_C, Vyr_C, Typ_Zar, Skupina, Uchopeni, Provozovatel, Prov_Skup_Zar, Rok_vyroby, Vyrobce, Umisteni1, Dat_Revize, Int_Revize, Next_Revize, Int_Inspekce, Next_Inspekce, Max_nosnost, Zakl_nosnost, PocetKladkostroju, ZobrazitKl, datum_akt) values
  (2, 2, '9', 'ZD-05', '55012', 'K-2231', 'Zdvihadlo', 'I', 's hákem', 'Ocelárna Třinec - válcovna', 'J2', 2015, 'Zdvihy Praha', 'Údržba', '2025-10-05', 12, '2026-10-05', 12, null, 2000, '2 t', 1, true, '2025-10-05');
insert into zz_basic (Firma, Poradi, Druh, Evid_C, Vyr_C, Typ_Zar, Provozovatel, Rok_vyroby, Vyrobce, SPZ, Dat_Revize, Int_Revize, Next_Revize, Int_Inspekce, Next_Inspekce, Next_RevZk, Next_Elektrorev, Max_nosnost, Zakl_nosnost, PocetKladkostroju, ZobrazitKl, datum_akt) values
  (3, 3, '5', 'AJ-02', 'L-55/2018', 'Mobilní', 'Stavby Žďár & syn', 2018, 'Autojeřáby Hodonín', '4J2 3344', '2026-05-20', 12, '2027-05-20', 3, '2027-01-20', '2028-05-20', '2028-05-20', 40000, '40 t', 1, true, '2026-05-20');

insert into l_basic (Firma, Os_id, Os_cislo, Prijmeni, Jmeno, Evidovan_od, datnar, Ulice, Mesto, Psc, datum_akt) values
  (1, 1, '1021', 'Malý', 'Josef', '2015-03-01', '1978-06-12', 'Zahradní 5', 'Šumperk', '787 01', '2026-01-10');
insert into l_basic (Firma, Os_id, Os_cislo, Prijmeni, Jmeno, Evidovan_od, datnar, Ulice, Mesto, Psc, datum_akt) values
  (1, 2, '1187', 'Šťastný', 'Pavel', '2019-09-15', '1990-11-02', 'Lidická 22', 'Zábřeh', '789 01', '2026-01-10');
insert into l_basic (Firma, Os_id, Os_cislo, Prijmeni, Jmeno, Evidovan_od, datnar, Mesto, datum_akt) values
  (2, 3, '5560', 'Ondráčková', 'Věra', '2012-01-01', '1975-02-28', 'Třinec', '2025-12-01');
insert into l_zarazeni (Os_id, Druh, Skoleni, Skoleni_plan, Skoleni_interval, Prohlidka, Prohlidka_plan, Prohlidka_interval, prukaz) values
  (1, 'V', '2025-11-15', '2026-11-15', 12, '2024-05-01', '2027-05-01', 36, 'V-1021');
insert into l_zarazeni (Os_id, Druh, Skoleni, Skoleni_plan, Skoleni_interval, Prohlidka, Prohlidka_plan, Prohlidka_interval, prukaz) values
  (1, 'J', '2026-04-01', '2027-04-01', 12, '2024-05-01', '2027-05-01', 36, 'J-334');
insert into l_zarazeni (Os_id, Druh, Skoleni, Skoleni_plan, Skoleni_interval, Prohlidka_plan, Prohlidka_interval) values
  (2, 'V', '2026-02-01', '2027-02-01', 12, null, 36);
insert into l_zarazeni (Os_id, Druh, Skoleni, Skoleni_plan, Skoleni_interval, Prohlidka, Prohlidka_plan, Prohlidka_interval) values
  (3, 'J', '2025-12-10', '2026-12-10', 12, '2023-12-10', '2026-12-10', 36);

insert into ok_basic (Firma, Poradi, Druh, Evid_C, Invent_C, Typ_Zar, Provozovatel, Umisteni1, Dat_podrobna, Dat_prev, Next_podrobna, Next_prev, Int_podrobna, Int_prev, Rozpeti, DelkaDrahy, datum_akt) values
  (1, 1, 'D', 'JD-01', '100232', 'Jeřábová dráha', 'Strojírny Šumperk a.s.', 'Hala A', '2024-02-10', '2026-02-10', '2029-02-10', '2027-02-10', 60, 12, 22.5, 84, '2026-02-10');

insert into op_basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C_SET, VYR_C, STREDISKO, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, VYROBCE, PERIODA1, UZIVATEL_JMENO, UZIVATEL_PZAR, Datum_akt) values
  (3, 1, 'O', 1, 'Postroj P-50', 'Postroj', 'SET-01', 'P50-2291', 'Stavba Jihlava', '2023-04-01', '2025-12-05', '2026-12-05', 'Výškové systémy Liberec', 12, 'Miroslav Čech', 'lešenář', '2025-12-05');
insert into op_basic (Firma, PORADI, DRUH, TYP, OZNACENI, POPIS, EVID_C_SET, VYR_C, DAT_VYROBY, DAT_POSL_1, DAT_PLAN_1, VYROBCE, PERIODA1, UZIVATEL_JMENO, Datum_akt) values
  (3, 2, 'O', 3, 'Tlumič pádu TP-2', 'Tlumič pádu', 'SET-01', 'TP2-0092', '2023-04-01', '2025-12-05', '2026-12-05', 'Výškové systémy Liberec', 12, 'Miroslav Čech', '2025-12-05');
