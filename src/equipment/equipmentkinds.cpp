#include "equipmentkinds.h"

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

} // namespace tz::eq
