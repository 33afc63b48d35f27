#pragma once
// What the nine equipment kinds' cards differ in: the card class, the heading of
// the identification block, the sub-kind pick list and its pictures, the
// evidence-card report and the number of hoist blocks.
#include <QString>
#include <QStringList>
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
};

const QVector<EquipmentKind> &equipmentKinds();
const EquipmentKind *equipmentKindByLetter(const QString &letter);
const EquipmentKind *equipmentKindByForm(const QString &formClass);
// The standard picture of a kind for a sub-kind text.
QString equipmentPictureName(const EquipmentKind &kind, const QString &typJ);

} // namespace tz::eq
