#!/usr/bin/env python3
"""Writes install/db/codetables.sql: the rows of the read-only code tables
that every new data directory starts with."""
import os

out = []
def q(v):
    if v is None: return "null"
    if isinstance(v, bool): return "true" if v else "false"
    if isinstance(v, (int, float)): return repr(v)
    return "'" + str(v).replace("'", "''") + "'"
def ins(table, cols, rows):
    for r in rows:
        out.append("insert into %s (%s) values (%s);" % (table, ", ".join(cols), ", ".join(q(v) for v in r)))

ins("druhy", ["Druh", "Nazev", "z", "obr"], [
    ("R", "Řetězy", 0, "BR"), ("L", "Lana", 0, "BL"), ("X", "Textilie", 0, "BX"),
    ("S", "Svěrky", 0, "BS"), ("T", "Traverzy", 0, "BT"), ("J", "Ostatní", 0, "BJ")])

ins("zz_druhy", ["Druh", "Nazev", "z", "obr", "e"], [
    ("1", "Mostový", 0, "Z1", 1), ("2", "Portálový", 0, "Z2", 1), ("3", "Konzolový", 0, "Z3", 1),
    ("4", "Stožárový", 0, "Z4", 1), ("5", "Mobilní", 0, "Z5", 1), ("6", "Věžový", 0, "Z6", 1),
    ("9", "Zdvihadlo", 0, "Z9", 1), ("A", "Zvedák vozidel", 7, "ZA", 1), ("E", "Jiné zař.", 0, "ZE", 1)])

ins("l_funkce", ["Druh", "Nazev", "zobrazit", "z", "obr"], [
    ("V", "Vazači", 1, 0, "LV"), ("J", "Jeřábníci", 1, 0, "LJ"), ("R", "Revizní technici", 1, 8, "LR"),
    ("U", "Udržovatelé", 1, 0, "LU"), ("P", "Pracovníci ve výškách", 1, 11, "LP"),
    ("S", "Obsluha plošin", 1, 8, "LS"), ("K", "Obsluha zvedáků", 0, 8, "LK")])

typy = {
 "R": ["Jednopramenný", "Dvoupramenný", "Třípramenný", "Čtyřpramenný", "Nekonečný",
       "Věncový jednoduchý", "Věncový dvojitý", "Jiný řetězový", "Lano-řetěz-lano"],
 "L": ["Oko-oko", "Oko-hák", "Dvoupramenný", "Trojpramenný", "Čtyřpramenný",
       "Věncový jednoduchý", "Věncový dvojitý", "Jiný lanový"],
 "X": ["Nekonečná smyčka", "Nekonečný popruh", "Popruh s tex. oky", "Popruh s kov. oky",
       "Kombin. jednopram.", "Kombin. dvoupram.", "Kombin. tří/čtyřpr.", "Jiný textilní"],
 "S": ["Vertikální svěrka", "Horizontální svěrka", "Horiz. svěrka IPHGZ", "Svěrka na sudy", "Jiná svěrka"],
 "T": ["Jeřábová traverza", "H-traverza", "C-hák", "Jiný přípravek"],
 "J": ["Jeřábová váha", "Vakuový manipulátor", "Magnet", "Jiný manip. prostř.", "Vázací bod",
       "Jiný manip. prostř."],
 "O": ["Kompletní postroj", "Pracovní pás", "Spojovací prostředek", "Ostatní prostředky", "Jistící systém"],
}
rows = []
for druh, names in typy.items():
    for i, n in enumerate(names, 1):
        rows.append((druh, i, n))
ins("typy", ["DRUH", "TYP", "NAZEV"], rows)

# Working load limits of single legs in kg (grade 8 chains, 1770 wire ropes).
chain8 = {6: 1120, 7: 1500, 8: 2000, 10: 3150, 13: 5300, 16: 8000, 18: 10000, 20: 12500,
          22: 15000, 26: 21200, 32: 31500}
grade = {"8": 1.0, "8S": 1.0, "10": 1.25, "10V": 1.25, "5": 0.625, "M24": 0.5}
# legs factor by chain type: direct (0-6°), 7-45°, 45-60°
chain_types = {1: (1.0, None, None), 2: (2.0, 1.4, 1.0), 3: (3.0, 2.1, 1.5), 4: (3.0, 2.1, 1.5),
               5: (1.6, None, None), 6: (1.4, 1.0, None), 7: (2.8, 2.0, None), 8: (1.0, None, None)}
rows = []
def r10(x): return None if x is None else float(int(round(x / 10.0)) * 10)
for cls, gf in grade.items():
    for typ, (a, b, c) in chain_types.items():
        for d, wll in chain8.items():
            base = wll * gf
            rows.append(("R", typ, cls, float(d), r10(base * a), r10(base * b) if b else None,
                         r10(base * c) if c else None))
rope1770 = {8: 700, 10: 1100, 12: 1550, 14: 2100, 16: 2800, 18: 3500, 20: 4400, 22: 5300,
            24: 6300, 26: 7400, 28: 8600, 32: 11200}
rope_types = {1: (1.0, None, None), 2: (1.0, None, None), 3: (2.0, 1.4, 1.0), 4: (3.0, 2.1, 1.5),
              5: (3.0, 2.1, 1.5), 6: (1.4, 1.0, None), 7: (2.8, 2.0, None)}
for cls, gf in {"1770": 1.0, "1570": 0.89}.items():
    for typ, (a, b, c) in rope_types.items():
        for d, wll in rope1770.items():
            base = wll * gf
            rows.append(("L", typ, cls, float(d), r10(base * a), r10(base * b) if b else None,
                         r10(base * c) if c else None))
ins("nosnosti", ["DRUH", "TYP", "JAK_TRIDA", "PRUMER", "NOSNOST_1", "NOSNOST_2", "NOSNOST_3"], rows)

# Partner inspection prices in Kč: up to 2 m and per further metre.
rows = []
for d in [6, 7, 8, 10, 13, 16, 18, 20, 22, 26, 32]:
    for legs in [1, 2, 3, 4]:
        base = 150 + d * 12 + (legs - 1) * 90
        rows.append((float(d), "1", legs, float(base), float(20 + d)))
        rows.append((float(d), "3", legs, float(base * 2 + 200), float(40 + 2 * d)))
ins("Ceny", ["prumer", "jaka", "Prameny", "Do2", "dalsi"], rows)

# Default equipment intervals in months (IRevize, IRzk, IERev, IZam, IInsp).
# Revisions and revision tests of cranes and hoists by the operating group
# (ČSN 27 0103) or the crane group (ČSN 27 0142): J1 and J2 or I every 4 and
# 8 years, J3 or II every 3 and 6 years, J4 or III every 2 and 4 years, J5 and
# J6 or IV every year and every 2 years. Where the two groups of an item
# differ, the more demanding one applies. The periodic inspection is due at
# least once a year (ČSN ISO 9927-1); the electrical equipment of a crane
# (surroundings with vibrations) every 2 years; the crane track is surveyed
# with every revision test.
levels = {"J1": 0, "J2": 0, "J3": 1, "J4": 2, "J5": 3, "J6": 3, "I": 0, "II": 1, "III": 2, "IV": 3}
by_level = [(48, 96), (36, 72), (24, 48), (12, 24)]
rows = []
for pg in ["J1", "J2", "J3", "J4", "J5", "J6"]:
    for skup in ["I", "II", "III", "IV"]:
        rev, rzk = by_level[max(levels[pg], levels[skup])]
        rows.append(("0", "fse", pg, skup, rev, rzk, 24, rzk, 12))
# Mobile and tower cranes: a revision every year and a revision test every
# 2 years whatever their groups; their electrical equipment (movable) every
# year; no crane track of their own.
for druh in ["5", "6"]:
    for uch in ["s hákem", ""]:
        for pg in ["J1", "J2", "J3", "J4", "J5", "J6"]:
            for skup in ["I", "II", "III", "IV"]:
                rows.append((druh, uch, pg, skup, 12, 24, 12, None, 12))
ins("zz_dintervaly", ["Druh", "Uchopeni", "ProvSkup", "Skupina", "IRevize", "IRzk", "IERev", "IZam", "IInsp"], rows)

zavady = [
 ("Nosná konstrukce", ["Trhlina ve svaru nosné konstrukce", "Deformace hlavního nosníku",
   "Uvolněné šroubové spoje konstrukce", "Koroze nosných částí nad přípustnou míru"]),
 ("Zdvihací ústrojí", ["Lano s přetrženými dráty nad přípustný počet", "Opotřebená drážka lanového bubnu",
   "Hák bez pojistky proti vysmeknutí", "Nesprávně seřízená brzda zdvihu", "Nefunkční koncový vypínač zdvihu"]),
 ("Pojezd", ["Opotřebené pojezdové kolo", "Chybí nárazníky na koncích dráhy", "Nefunkční brzda pojezdu"]),
 ("Elektrická výzbroj", ["Poškozený přívodní kabel ovladače", "Nefunkční nouzové vypínací tlačítko",
   "Chybí označení ovládacích prvků"]),
 ("Dokumentace a značení", ["Na zařízení chybí štítek s nosností", "Neúplná provozní dokumentace",
   "Neprovedena předepsaná kontrola obsluhou"]),
]
rows = []; pc = 1
for grp, items in zavady:
    for z in items:
        rows.append((pc, z, grp)); pc += 1
ins("cis_zavady", ["Pc", "Zavada", "Skupina"], rows)

polozky = [
 ("Technická dokumentace zařízení je úplná", 1, "", 0, 0),
 ("Zařízení je označeno výrobním štítkem a nosností", 1, "", 0, 0),
 ("Nosná ocelová konstrukce bez trhlin a deformací", 1, "", 0, 0),
 ("Šroubové a svarové spoje v pořádku", 1, "", 0, 0),
 ("Stav lan a lanových bubnů", 1, "průměr lana (mm):", 0, 1),
 ("Stav háku a jeho pojistky", 1, "", 0, 0),
 ("Funkce brzd zdvihu a pojezdu", 1, "", 0, 0),
 ("Funkce koncových vypínačů", 1, "", 0, 0),
 ("Funkce nouzového vypínače", 1, "", 0, 0),
 ("Stav jeřábové dráhy a nárazníků", 1, "", 0, 0),
 ("Elektrická výzbroj a ovladač", 1, "", 0, 0),
 ("Zkouška se zatížením", 1, "zkušební břemeno (kg):", 0, 1),
 ("Poznámky k provedené kontrole", 0, "", 1, 0),
]
ins("zz_cis_revize", ["Polozka", "Popis", "Potvrzovat", "Doplneni", "TEXT", "CISLO"],
    [(i, p, bool(c), d, t, n) for i, (p, c, d, t, n) in enumerate(polozky, 1)])
ins("zz_h_sada_revize", ["ID", "Nazev"], [(1, "Standardní revize"), (2, "Standardní inspekce"),
    (3, "Revizní zkouška")])
sady = {1: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13], 2: [3, 5, 6, 7, 8, 9, 13],
        3: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13]}
rows = []
for sid, items in sady.items():
    for k, p in enumerate(items, 1):
        rows.append((sid, "%d." % k, p))
ins("zz_sada_revize", ["ID", "Oznaceni", "Polozka"], rows)
kinds = ["1", "2", "3", "4", "5", "6", "9", "A", "E"]
titles = {"1": "Zápis o revizi zdvihacího zařízení", "2": "Zápis o revizní zkoušce zdvihacího zařízení",
          "3": "Zápis o inspekci zdvihacího zařízení"}
sada_of = {"1": 1, "2": 3, "3": 2}
rows = []; rid = 1
for t in ["1", "2", "3"]:
    for k in kinds:
        rows.append((rid, t, k, titles[t], sada_of[t])); rid += 1
ins("zz_roz_revize", ["ID", "Typ_R", "Typ_Z", "Nadpis", "Sada"], rows)

ins("CislaProtokolu", ["Rpred", "RZa", "IPred", "IZa", "RZPred", "RZZa"],
    [("R-", "/ZZ", "I-", "/ZZ", "RZ-", "/ZZ")])
ins("Uzivatel", ["FIRMA", "Adresa1", "Adresa2", "Adresa3", "Psc", "Ico", "Kontakt", "Telefon", "Email"],
    [("Vaše organizace", "", "", "", "", "", "", "", "")])

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "..", "install", "db", "codetables.sql"), "w", encoding="utf-8") as f:
    f.write("-- Rows of the read-only code tables of a new data directory (written by scripts/gen-codetables.py).\n")
    f.write("\n".join(out) + "\n")
print(len(out), "rows")
