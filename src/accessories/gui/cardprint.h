#pragma once
// Evidence cards and inspection protocols of lifting accessories through the
// report engine, without widgets: the card's data (the accessory of
// BasicView's current row and its inspections in date order), its parameter
// list, the definition file of its kind and the pictures handed over to it.
//
//   tz::acc::CardRun card(dm, programFolder);
//   dm.BasicView.locate("PORADI", 12);
//   card.run(picture, [](tz::rep::TSestava &rep) { return rep.Preview(); });
//
// The card printed from the accessory's form, from the main window and by
// "tavozz-cli card" is the same run: only the action (preview, print, export)
// and the picture's source differ.
#include "accessoryrules.h"
#include "sestava.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

namespace tz::acc {

// The user organisation (dataset Majitel, table Uzivatel): the organisation
// that keeps the register and usually inspects.
struct Organisation
{
    QString name;
    QString address;   // street, town and postcode in one line; empty parts left out
    QImage logo;       // null when there is none
};
Organisation userOrganisation(tz::db::TDM &dm);

// Writes the organisation's logo as "Logox.bmp" for the next report, or removes
// the file when there is no logo (a report never shows an older logo).
void handOverLogo(const Organisation &o);

// The company line of a card or protocol: the name of the company the
// accessory belongs to (its Firma); when it has none, the main window's company
// text; when that is empty, the user organisation's name.
QString companyLine(tz::db::TDM &dm, const QVariant &firma);

// The definition file of a kind's evidence card: the kind table's card report
// with ".pts"; other handling devices (J) of type 4 have "evmanipJ.pts".
QString cardReportFile(const AccessoryKind &kind, int typ);

// The picture of an accessory row: its own picture (Pict) when it has one,
// else the standard picture of its kind, type and class from the picture
// library; null when there is neither (or the library is missing).
QImage accessoryPicture(const tz::db::Dataset &row);

// The card's parameter list: the company line, then six entries for every
// inspection of the history in its order: DATUM (as date text), TYPREVIZE,
// Firma, PROVEDL, VYSLEDEK, Poznamka.
QStringList cardParameters(const QString &companyLine, tz::db::Dataset &history);

// The protocol's parameter list: the company line, the user organisation's
// name and its address line.
QStringList protocolParameters(const QString &companyLine, const Organisation &o);

class CardRun
{
public:
    using Action = std::function<tz::rep::TSestError(tz::rep::TSestava &)>;
    // programFolder: where the definitions are looked for first ("reports"
    // below it), then beside the programs.
    CardRun(tz::db::TDM &dm, const QString &programFolder);

    // Runs the card of BasicView's current row: hands over the picture
    // ("Rx.bmp"; removed when null) and the logo, opens the accessory's
    // inspections in date order, fills the parameter list and gives the
    // prepared report to the action. seJina (with `problem`) when BasicView
    // stands on no accessory or its kind is unknown; database errors are
    // thrown as tz::db::Error.
    tz::rep::TSestError run(const QImage &picture, const Action &action);

    // After run(): the definition file used and the parameters given.
    QString definitionFile() const { return m_definition; }
    QStringList parameters() const { return m_parameters; }
    QString problem() const { return m_problem; }

private:
    tz::db::TDM &m_dm;
    QString m_programFolder;
    QString m_definition;
    QStringList m_parameters;
    QString m_problem;
};

class TfVazaci;
// Prints (preview: previews) the evidence card of the accessory the card shows,
// with the picture shown on it; with the windows (protocolprint.cpp).
void printEvidenceCard(TfVazaci &card, bool preview);

} // namespace tz::acc
