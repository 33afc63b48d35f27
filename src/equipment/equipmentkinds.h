#pragma once
// What the nine equipment kinds' cards differ in: the card class, the heading of
// the identification block, the sub-kind pick list and its pictures, the
// evidence-card report, the number of hoist blocks, the fields a card shows
// and the words it shows them under, and the pick lists of its fields.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tz::eq {

struct EquipmentKind
{
    QString letter;          // zz_basic.Druh
    QString formClass;       // "TfZdvihaciMost" ...
    QString heading;         // "Základní identifikace mostového jeřábu :"
    QStringList subKinds;    // Typ_J pick list; empty: free text
    QString subKindHint;
    // Typ_J -> picture; a Typ_J without an entry shows `picture`
    QVector<std::pair<QString, QString>> subKindPictures;
    QString picture;         // the standard picture otherwise
    bool pictureFollowsList = false;  // choosing a list entry loads its picture at once
    QString cardReport;      // evidence-card report file; empty: none
    int hoistBlocks = 0;
    bool hoistOnlyAlone = false;  // the block shows only when the count is 1 (hoists)

    // The optional fields (see optionalEquipmentFields()) that this card shows.
    QStringList shownOptional;
    bool hasTrack = false;        // the "Zaměření dráhy" row of the dates
    QString showHoistsCaption;    // caption of ZobrazitKl
    QString hoistDesignation;     // label of Kl1_Oznaceni ...
    // Captions of fields that this card shows in its own words.
    QMap<QString, QString> captions;
    // Pick lists of fields; a field without an entry takes free text.
    QMap<QString, QStringList> choices;
    // Hints of fields that differ by kind.
    QMap<QString, QString> hints;

    // True when the card shows the field (every field that is not optional).
    bool shows(const QString &field) const;
    // The caption of a field on this card: its own words, else `general`.
    QString captionOf(const QString &field, const QString &general) const;
};

// The fields that only some kinds show.
const QStringList &optionalEquipmentFields();
// Fields whose pick list is a drop-down list only (no typed text).
bool isListOnlyField(const QString &field);

// How many hoist blocks a card shows: none unless "Zobrazit zdvihy" is ticked;
// otherwise by the count of hoists (1 to 3) up to the card's number of blocks,
// and on a hoist card only for a count of 1. Other counts show none.
int shownHoistBlocks(const EquipmentKind &kind, bool showHoists, const QVariant &count);

const QVector<EquipmentKind> &equipmentKinds();
const EquipmentKind *equipmentKindByLetter(const QString &letter);
const EquipmentKind *equipmentKindByForm(const QString &formClass);
// The standard picture of a kind for a sub-kind text.
QString equipmentPictureName(const EquipmentKind &kind, const QString &typJ);

} // namespace tz::eq
