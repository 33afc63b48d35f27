#include "equipmentkinds.h"

#include <algorithm>

namespace tz::eq {

namespace {

QStringList list(std::initializer_list<const char *> items)
{
    QStringList l;
    for (const char *i : items)
        l << QString::fromUtf8(i);
    return l;
}

QVector<EquipmentKind> makeKinds()
{
    QVector<EquipmentKind> k;
    auto add = [&](const char *letter, const char *form, const char *heading, QStringList sub, const char *picture,
                   const char *report, int hoists) -> EquipmentKind & {
        EquipmentKind e;
        e.letter = QString::fromLatin1(letter);
        e.formClass = QString::fromLatin1(form);
        e.heading = QString::fromUtf8(heading);
        e.subKinds = std::move(sub);
        e.picture = QString::fromLatin1(picture);
        e.cardReport = QString::fromLatin1(report);
        e.hoistBlocks = hoists;
        k.push_back(e);
        return k.back();
    };
    EquipmentKind &most = add("1", "TfZdvihaciMost", "Základní identifikace mostového jeřábu :",
                              list({"jednonosníkový", "dvounosníkový"}), "MOST", "evzzmost.pts", 3);
    most.subKindHint = QStringLiteral("Konstrukce jeřábu");
    most.subKindPictures = {{QStringLiteral("dvounosníkový"), QStringLiteral("MOST2")}};
    most.pictureFollowsList = true;
    EquipmentKind &port = add("2", "TfZdvihaciPort", "Základní identifikace portálového jeřábu :",
                              list({"portálový", "poloportálový", "otočný portálový", "otočný poloportálový"}), "PORTAL",
                              "evzzport.pts", 3);
    port.subKindPictures = {{QStringLiteral("poloportálový"), QStringLiteral("POLOPORTAL")},
                            {QStringLiteral("otočný portálový"), QStringLiteral("PORTALOTOC")},
                            {QStringLiteral("otočný poloportálový"), QStringLiteral("PORTOTPOL")}};
    port.pictureFollowsList = true;
    EquipmentKind &konz = add("3", "TfZdvihaciKonz", "Základní identifikace konzolového jeřábu :",
                              list({"konzolový", "pojízdný konzolový", "sloupový", "bicyklový"}), "KONZOL_NAST",
                              "evzzkonz.pts", 1);
    konz.subKindPictures = {{QStringLiteral("sloupový"), QStringLiteral("KONZOL_SLOUP")}};
    konz.pictureFollowsList = true;
    add("4", "TfZdvihaciStoz", "Základní identifikace stožárového jeřábu :",
        list({"stožárový", "s pevnou podpěrou", "derikový"}), "STOZAR", "evzzstoz.pts", 1);
    add("5", "TfZdvihaciMob", "Základní identifikace mobilního jeřábu :",
        list({"autojeřáb", "nakládací", "pojízdný", "samohybný", "přemistitelný"}), "AUTOJERAB", "", 1);
    add("6", "TfZdvihaciVez", "Základní identifikace věžového jeřábu :", list({"stacionární", "pojízdný", "šplhací"}),
        "VEZOVY", "evzzvez.pts", 2);
    add("9", "TfZdvihaciKlad", "Základní identifikace zdvihadla:", {}, "MALE", "", 1).subKindHint =
        QStringLiteral("Typ zdvihadla");
    add("A", "TfZdvihaciZved", "Základní identifikace zvedáku vozidel :",
        list({"Nůžkový", "Ruční-hydraulický", "Elektro-hydraulický", "Vzducho-hydraulický", "Elektro-mechanický",
              "Pneumatický", "..."}),
        "AUTOZVEDAK", "evzzzved.pts", 0);
    add("E", "TfZdvihaciJine", "Základní identifikace zdvihacího zařízení :", {}, "JINYJER", "", 3);
    k[6].hoistOnlyAlone = true;

    // what the cards show beyond the common fields
    const QStringList craneCore = list({"Uchopeni", "Skupina", "Prov_Skup_Zar", "Max_nosnost", "Max_vylozeni"});
    const QStringList hoists = list({"PocetKladkostroju", "ZobrazitKl"});
    auto show = [&](int i, QStringList fields, bool track) {
        k[i].shownOptional = std::move(fields);
        k[i].hasTrack = track;
    };
    show(0, craneCore + list({"omezp", "Rozvor", "Rozpeti", "DelkaDrahy", "Pojezd"}) + hoists, true);
    show(1, craneCore + list({"omezp", "Rozvor", "Rozpeti", "DelkaDrahy", "Pojezd"}) + hoists, true);
    show(2, craneCore + list({"omezp", "Pojezd", "ZobrazitKl"}), false);
    show(3, craneCore + list({"omezp", "ZobrazitKl"}), false);
    show(4, craneCore + list({"ZobrazitKl", "SPZ", "Podvozek", "Vyloznik"}), false);
    show(5, craneCore + list({"DelkaDrahy", "Pojezd", "Vyloznik"}) + hoists, true);
    show(6, list({"Skupina", "Prov_Skup_Zar", "omezp", "Max_nosnost", "Max_vylozeni"}) + hoists, true);
    show(7, list({"PocetKladkostroju", "Typ_Zar"}), false);
    show(8, craneCore + list({"omezp", "Rozvor", "Rozpeti", "DelkaDrahy", "Pojezd"}) + hoists, true);
    for (EquipmentKind &e : k) {
        const bool single = e.letter == QLatin1String("3") || e.letter == QLatin1String("4") || e.letter == QLatin1String("5");
        e.showHoistsCaption = single ? QStringLiteral("Zobrazit zdvih") : QStringLiteral("Zobrazit zdvihy");
        e.hoistDesignation = QStringList{"1", "2", "3"}.contains(e.letter) ? QStringLiteral("Označení zdvihu")
                                                                         : QStringLiteral("Označení kladkostroje");
    }

    // the cards' own words
    k[7].captions = {{"Typ_J", QStringLiteral("Druh zvedáku")},
                     {"Oznaceni", QStringLiteral("Označení zvedáku")},
                     {"Zakl_nosnost", QStringLiteral("Nosnost v kg")},
                     {"Ovladani", QStringLiteral("Druh ovládání")}};
    k[6].captions = {{"Typ_J", QStringLiteral("Typ zdvihadla")},
                     {"Oznaceni", QStringLiteral("Označení zdvihadla")},
                     {"Max_vylozeni", QStringLiteral("Délka jeřábové dráhy v m")}};
    k[4].captions = {{"Max_nosnost", QStringLiteral("Max. nosnost")}, {"Max_vylozeni", QStringLiteral("Max. vyložení")}};

    // pick lists
    const QStringList grabFull = list({"s hákem", "drapákový", "magnetový", "korýtko-magnetový", "korýtko-drapákový",
                                       "korýtko-zavážecí", "trnový", "mostový stohovací", "slévárenský", "sázecí",
                                       "kovací", "stripovací"});
    const QStringList drive = list({"ruční", "ručně-hydraulický", "elektrický", "hydraulický", "diesel-hydraulický",
                                    "elektro-hydraulický", "elektro-pneumatický", "pneumatický", "jiný"});
    const QStringList control = list({"dálkový ovladač kabelový", "dálkový ovladač rádiový", "kabinový",
                                      "dálkový ovladač kabelový / kabinový", "dálkový ovladač rádiový / kabinový", "jiné"});
    QStringList limits;
    for (int m = 1; m <= 8; ++m)
        limits << QStringLiteral("M%1").arg(m);
    auto choose = [&](std::initializer_list<int> kinds, const char *field, const QStringList &items) {
        for (int i : kinds)
            k[i].choices.insert(QString::fromLatin1(field), items);
    };
    choose({0, 1}, "Uchopeni", grabFull);
    choose({2, 4}, "Uchopeni", grabFull.mid(0, 3));
    choose({5}, "Uchopeni", list({"hák", "drapák"}));
    choose({0, 1, 2, 3}, "Druh_Pohonu", drive);
    QStringList driveHoist = drive;
    driveHoist.removeAll(QStringLiteral("pneumatický"));
    choose({6}, "Druh_Pohonu", driveHoist);
    choose({5, 8}, "Druh_Pohonu", drive.mid(0, 7));
    choose({4}, "Druh_Pohonu", drive.mid(0, 6) << QString());
    choose({0, 1}, "Ovladani", control);
    QStringList controlWall = control;
    controlWall.removeAll(QStringLiteral("kabinový"));
    choose({2}, "Ovladani", controlWall);
    choose({3}, "Ovladani", control.mid(0, 5) << QStringLiteral("jiný"));
    choose({5, 8}, "Ovladani", control.mid(0, 5));
    choose({4}, "Ovladani", list({"kabinový", "kabinový/rádiový", "ovladač", "ovladač ze země", "ovladač ze sedačky",
                                  "ruční pákou"}));
    choose({6}, "Ovladani", list({"ruční", "dálkový ovladač kabelový", "dálkový ovladač rádiový", "jiný"}));
    choose({7}, "Ovladani", list({"Hydraulickým rozvaděčem", "Elektrickým ovladačem", "Pneumatickým rozvaděčem", "Ruční",
                                  "...."}));
    choose({0, 1, 2, 3, 6}, "omezp", QStringList(limits) << QString());
    choose({8}, "omezp", limits);
    choose({4}, "Podvozek", list({"kolový", "pásový", "speciální"}));
    choose({4}, "Vyloznik", list({"stálé délky", "teleskopický", "nástavec", "kloubový"}));
    choose({5}, "Vyloznik", list({"vodorovný", "sklopný"}));
    choose({7}, "Typ_Zar", list({"Jednosloupový", "Dvousloupový", "Čtyřsloupový", "Šestisloupový", "..."}));
    for (EquipmentKind &e : k) {
        if (e.shows(QStringLiteral("Skupina")))
            e.choices.insert(QStringLiteral("Skupina"), list({"I", "II", "III", "IV"}));
        if (e.shows(QStringLiteral("Prov_Skup_Zar")))
            e.choices.insert(QStringLiteral("Prov_Skup_Zar"), list({"J1", "J2", "J3", "J4", "J5", "J6"}));
        if (e.shows(QStringLiteral("PocetKladkostroju")))
            e.choices.insert(QStringLiteral("PocetKladkostroju"), list({"1", "2", "3"}));
    }
    k[7].hints.insert(QStringLiteral("Druh_Pohonu"), QStringLiteral("Elektro 400V, vzduch 10 atm"));
    k[7].hints.insert(QStringLiteral("Typ_Zar"), QStringLiteral("Jednosloupový, dvousloupový"));
    return k;
}

} // namespace

const QVector<EquipmentKind> &equipmentKinds()
{
    static const QVector<EquipmentKind> kinds = makeKinds();
    return kinds;
}

const EquipmentKind *equipmentKindByLetter(const QString &letter)
{
    for (const EquipmentKind &k : equipmentKinds())
        if (k.letter.compare(letter.trimmed(), Qt::CaseInsensitive) == 0)
            return &k;
    return nullptr;
}

const EquipmentKind *equipmentKindByForm(const QString &formClass)
{
    for (const EquipmentKind &k : equipmentKinds())
        if (k.formClass == formClass)
            return &k;
    return nullptr;
}

QString equipmentPictureName(const EquipmentKind &kind, const QString &typJ)
{
    for (const auto &[text, picture] : kind.subKindPictures)
        if (text == typJ)
            return picture;
    return kind.picture;
}

bool EquipmentKind::shows(const QString &field) const
{
    auto same = [&](const QString &f) { return f.compare(field, Qt::CaseInsensitive) == 0; };
    if (std::none_of(optionalEquipmentFields().begin(), optionalEquipmentFields().end(), same))
        return true;
    return std::any_of(shownOptional.begin(), shownOptional.end(), same);
}

QString EquipmentKind::captionOf(const QString &field, const QString &general) const
{
    return captions.value(field, general);
}

const QStringList &optionalEquipmentFields()
{
    static const QStringList fields = list({"Uchopeni", "Skupina", "Prov_Skup_Zar", "omezp", "Max_nosnost",
                                            "Max_vylozeni", "Rozvor", "Rozpeti", "DelkaDrahy", "Pojezd",
                                            "PocetKladkostroju", "ZobrazitKl", "SPZ", "Podvozek", "Vyloznik", "Typ_Zar"});
    return fields;
}

bool isListOnlyField(const QString &field)
{
    return field == QLatin1String("Skupina") || field == QLatin1String("Prov_Skup_Zar")
        || field == QLatin1String("PocetKladkostroju");
}

int shownHoistBlocks(const EquipmentKind &kind, bool showHoists, const QVariant &count)
{
    if (!showHoists || kind.hoistBlocks <= 0)
        return 0;
    bool ok = false;
    const int n = count.toString().trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 3)
        return 0;
    if (kind.hoistOnlyAlone)
        return n == 1 ? 1 : 0;
    return std::min(n, kind.hoistBlocks);
}

} // namespace tz::eq
