#include "fieldcaptions.h"

#include <QHash>

namespace tz::db {

namespace {

// The Czech words under which the program shows the columns of its tables:
// column titles of the lists and the field names of messages. Keys are the
// column names in lower case.
const QHash<QString, QString> &captions()
{
    static const QHash<QString, QString> c = {
        // companies and shared columns
        {"pcfir", "Číslo firmy"}, {"firma", "Firma"}, {"firma_1", "Č. firmy"}, {"kont_osoba", "Kontaktní osoba"},
        {"ico", "IČO"}, {"adresa1", "Adresa"}, {"adresa2", "Adresa 2"}, {"adresa3", "Adresa 3"}, {"psc", "PSČ"},
        {"telefon", "Telefon"}, {"email", "E-mail"}, {"logo", "Logo"}, {"idfir", "Identifikace firmy"},
        {"d", "Druh"}, {"druh", "Kód"}, {"nazev", "Název"}, {"nazev_v", "Název"}, {"obr", "Obrázek"}, {"z", "Pořadí"},
        {"e", "Evidenční karta"}, {"typ", "Typ"}, {"poradi", "Pořadí"}, {"oznaceni", "Označení"}, {"popis", "Popis"},
        {"evid_c", "Evid. číslo"}, {"vyr_c", "Výr. číslo"}, {"invent_c", "Inv. číslo"}, {"c_dokumentace", "Č. dokumentace"},
        {"stredisko", "Majitel"}, {"jak_trida", "Třída"}, {"nosnost_1", "Nosnost 1 [kg]"}, {"nosnost_2", "Nosnost 2 [kg]"},
        {"nosnost_3", "Nosnost 3 [kg]"}, {"delka", "Délka [m]"}, {"prumer", "Průměr [mm]"}, {"dat_vyroby", "Datum výroby"},
        {"dat_posl_1", "Poslední prohlídka"}, {"dat_posl_3", "Poslední důkladná"}, {"dat_plan_1", "Příští prohlídka"},
        {"dat_plan_3", "Příští důkladná"}, {"vyrobce", "Výrobce"}, {"dodavatel", "Dodavatel"},
        {"perioda1", "Interval prohl."}, {"perioda3", "Interval důkl."}, {"dat_vyraz", "Vyřazeno"},
        {"dat_provoz", "V provozu od"}, {"uzivatel", "Provoz"}, {"umisteni1", "Umístění 1"}, {"umisteni2", "Umístění 2"},
        {"udrzba", "Údržba"}, {"poznamka", "Poznámka"}, {"poznamka1", "Poznámka"}, {"sv_sirka", "Sv. šířka"},
        {"datum_akt", "Změněno"}, {"priloha", "Příloha"}, {"pict", "Obrázek"}, {"pujceno", "Půjčeno"},
        {"zaves", "Závěs"}, {"retez", "Řetěz"}, {"spoj", "Spojka"}, {"vaz_hak", "Vázací hák"}, {"jine_zkrac", "Zkracovač"},
        {"jine", "Jiné"}, {"material", "Materiál"}, {"lano_prum", "Průměr lana [mm]"}, {"lano_delka", "Délka lana [m]"},
        // accessory inspections and prices
        {"datum", "Datum"}, {"typrevize", "Typ revize"}, {"vysledek", "Výsledek"}, {"provedl", "Provedl"},
        {"cprotndt", "Č. protokolu NDT"}, {"crevzpr", "Č. revizní zprávy"}, {"cprotkon", "Č. protokolu"},
        {"cenarev", "Cena revize"}, {"voda", "Voda"}, {"benzin", "Benzín"}, {"proud1", "Proud 1"}, {"proud2", "Proud 2"},
        {"proud3", "Proud 3"}, {"proud4", "Proud 4"}, {"proud5", "Proud 5"}, {"tloustka1", "Tloušťka 1"},
        {"tloustka2", "Tloušťka 2"}, {"tloustka3", "Tloušťka 3"}, {"tloustka4", "Tloušťka 4"}, {"jaka", "Druh ceny"},
        {"prameny", "Prameny"}, {"do2", "Do 2 m"}, {"dalsi", "Další metr"},
        // code lists, attachments, technicians, numbering
        {"text", "Text"}, {"cislo", "Číslo"}, {"cesta", "Cesta"}, {"x", "Položka"}, {"y", "Revize"}, {"r", "Druh"},
        {"technik", "Technik"}, {"kontakt", "Kontakt"}, {"cprot", "Č. protokolu"}, {"prot1", "Protokol 1"},
        {"prot2", "Protokol 2"}, {"zaloha", "Záloha"},
        // lifting equipment
        {"typ_zar", "Druh zařízení"}, {"typ_j", "Provedení"}, {"skupina", "Skupina"}, {"trida", "Třída"},
        {"podtrida", "Podtřída"}, {"uchopeni", "Uchopení"}, {"druh_pohonu", "Druh pohonu"}, {"spz", "SPZ"},
        {"provozovatel", "Provozovatel"}, {"provoz", "Provoz"}, {"prov_skup_zar", "Prov. skupina"},
        {"rok_vyroby", "Rok výroby"}, {"dat_zamereni", "Zaměření"}, {"dat_overzk", "Ověřovací zkouška"},
        {"dat_revize", "Revize"}, {"dat_inspekce", "Inspekce"}, {"dat_revzk", "Revizní zkouška"},
        {"dat_elektrorev", "Elektrorevize"}, {"next_zamereni", "Příští zaměření"}, {"next_revize", "Příští revize"},
        {"next_inspekce", "Příští inspekce"}, {"next_revzk", "Příští rev. zkouška"},
        {"next_elektrorev", "Příští elektrorevize"}, {"int_zamereni", "Interval zaměření"},
        {"int_revize", "Interval revize"}, {"int_inspekce", "Interval inspekce"}, {"int_revzk", "Interval rev. zkoušky"},
        {"int_elektrorev", "Interval elektrorevize"}, {"rozvor", "Rozvor"}, {"rozpeti", "Rozpětí"},
        {"delkadrahy", "Délka dráhy"}, {"rychlost", "Rychlost"}, {"pojezd", "Pojezd"}, {"vyska_zdvihu", "Výška zdvihu"},
        {"vylozeni", "Vyložení"}, {"max_nosnost", "Nosnost [kg]"}, {"max_vylozeni", "Max. vyložení"},
        {"zakl_nosnost", "Nosnost"}, {"ovladani", "Ovládání"}, {"pocetkladkostroju", "Počet kladkostrojů"},
        {"zobrazitkl", "Zobrazit kladkostroje"}, {"revtechnik", "Revizní technik"}, {"provtechnik", "Provozní technik"},
        {"poverosoba", "Pověřená osoba"}, {"prumer_lano", "Průměr lana"}, {"prumer_retez", "Průměr řetězu"},
        {"delka_lana", "Délka lana"}, {"podvozek", "Podvozek"}, {"vyloznik", "Výložník"}, {"omezp", "POP"},
        // equipment inspections, checklists, defects, templates, default intervals
        {"id", "Číslo"}, {"polozky", "Položky"}, {"zavady", "Závady"}, {"zpusobile", "Způsobilé"}, {"body1", "Body 1"},
        {"body2", "Body 2"}, {"bezpprace", "Bezpečná práce"}, {"ciszapisu", "Č. zápisu"}, {"ciszapisunum", "Č. zápisu"},
        {"ciszapisu2", "Č. zápisu 2"}, {"platnost", "Platnost"}, {"tisk1", "Tisk 1"}, {"tisk2", "Tisk 2"},
        {"tisk3", "Tisk 3"}, {"stavpop", "Stav POP"}, {"revize", "Revize"}, {"polozka", "Položka"}, {"pc", "Číslo"},
        {"zavada", "Závada"}, {"odstranit", "Odstranit do"}, {"nutne", "Nutné"}, {"overit", "Ověřit"},
        {"potvrzovat", "Potvrzovat"}, {"doplneni", "Doplnění"}, {"sada", "Sada"}, {"typ_r", "Druh revize"},
        {"typ_z", "Druh zařízení"}, {"nadpis", "Nadpis"}, {"provskup", "Prov. skupina"}, {"irevize", "Revize"},
        {"irzk", "Revizní zkouška"}, {"ierev", "Elektrorevize"}, {"izam", "Zaměření"}, {"iinsp", "Inspekce"},
        {"ipred", "Interval"}, {"rpred", "Revize"}, {"rzpred", "Revizní zkouška"}, {"rza", "Revizní zkouška"},
        {"rzza", "Revizní zkouška"}, {"iza", "Interval"},
        // persons
        {"zobrazit", "Zobrazit"}, {"os_id", "Číslo osoby"}, {"os_cislo", "Osobní č."}, {"prijmeni", "Příjmení"},
        {"jmeno", "Jméno"}, {"evidovan_od", "Evidován od"}, {"rc", "Rodné č."}, {"datnar", "Narozen"},
        {"ulice", "Ulice"}, {"mesto", "Město"}, {"skoleni", "Školení"}, {"skoleni_plan", "Příští školení"},
        {"skoleni_interval", "Interval školení"}, {"prohlidka", "Lék. prohlídka"},
        {"prohlidka_plan", "Příští lék. prohlídka"}, {"prohlidka_interval", "Interval prohlídky"}, {"prukaz", "Průkaz"},
        {"prukaz_datum", "Průkaz vydán"}, {"prukaz_rozsah", "Rozsah průkazu"}, {"prukaz_platnost", "Průkaz platí do"},
        {"skoleni_id", "Číslo školení"}, {"prohlidka_id", "Číslo prohlídky"}, {"skoleni_od", "Školení od"},
        {"skoleni_do", "Školení do"}, {"skoleni_nazev", "Název školení"}, {"skoleni_hodin", "Hodin"},
        {"skoleni_poznamka", "Poznámka"}, {"skoleni_poznamka1", "Poznámka"}, {"vyhovel", "Vyhověl"},
        {"lekar", "Lékař"},
        // steel constructions
        {"dat_podrobna", "Podrobná prohlídka"}, {"dat_prev", "Preventivní prohlídka"},
        {"next_podrobna", "Příští podrobná"}, {"next_prev", "Příští preventivní"},
        {"int_podrobna", "Interval podrobné"}, {"int_prev", "Interval preventivní"},
        {"pojizdenadelka", "Pojížděná délka"}, {"vyska", "Výška"}, {"pocetvetvi", "Počet větví"},
        {"typnosniku", "Typ nosníku"}, {"rozmerkolejnice", "Rozměr kolejnice"}, {"spojeni", "Spojení"},
        {"jeraby", "Jeřáby"}, {"j1", "Jeřáb 1"}, {"j2", "Jeřáb 2"}, {"j3", "Jeřáb 3"}, {"j4", "Jeřáb 4"},
        // fall protection
        {"evid_c_set", "Evid. č. setu"}, {"uzivatel_jmeno", "Uživatel"}, {"uzivatel_pzar", "Prac. zařazení"},
        {"uzivatel_dprevze", "Převzato"}, {"por_js", "Pořadí části"}, {"mnozstvi", "Množství"},
        // computed columns of the queries
        {"maximum", "Nejvyšší číslo"}, {"pocet", "Počet"},
    };
    return c;
}

} // namespace

namespace {

// The caption from the table, including the hoist-block columns
// (Kl1_Nosnost -> "Kladkostroj 1 – nosnost [kg]"); empty when unknown.
QString knownCaption(const QString &name)
{
    const QString key = name.toLower();
    const QString known = captions().value(key);
    if (!known.isEmpty())
        return known;
    if (key.size() > 4 && key.startsWith(QLatin1String("kl")) && key.at(2).isDigit() && key.at(3) == QLatin1Char('_')) {
        const QString rest = captions().value(key.mid(4));
        if (!rest.isEmpty())
            return QStringLiteral("Kladkostroj %1 – %2").arg(key.at(2)).arg(rest.toLower());
    }
    return {};
}

} // namespace

QString fieldCaption(const QString &name)
{
    const QString known = knownCaption(name);
    if (!known.isEmpty())
        return known;
    // a column the table does not know yet reads as words, never as a code
    QString words = name;
    words.replace(QLatin1Char('_'), QLatin1Char(' '));
    words = words.simplified().toLower();
    if (!words.isEmpty())
        words[0] = words[0].toUpper();
    return words;
}

bool hasFieldCaption(const QString &name)
{
    return !knownCaption(name).isEmpty();
}

} // namespace tz::db
