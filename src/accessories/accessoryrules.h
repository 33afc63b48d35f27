#pragma once
// Lifting accessories without widgets: what the six kinds' cards differ in,
// standard picture names, the capacity table, next due dates, inspection
// recording, and the partner variant's test currents, thicknesses and price.
#include "datamodule.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace tz::acc {

// When a card runs the capacity look-up.
enum LookupTrigger {
    LookupNever = 0,
    LookupOnShow = 1,            // when the card is shown
    LookupOnDiameterOrClass = 2, // leaving the diameter or the class
    LookupOnClass = 4,           // leaving the class
    LookupOnNumbers = 8,         // a change of the evidence or serial number
};

struct AccessoryKind
{
    QString letter;              // basic.DRUH
    QString name;                // C_Druh
    QString formClass;           // "TfVazaciRetez" ...
    QString mainCaption;         // "SESTAVA" ...
    QStringList typeHints;       // type buttons; TYP = index + 1
    QMap<QString, QString> labels;   // field -> its label on this card
    QMap<QString, QString> hints;    // field -> its hint
    QStringList fields;          // kind-specific fields shown, in order
    QStringList classChoices;    // JAK_TRIDA; empty: no class on the card
    bool classListOnly = false;  // a drop-down list rather than free text
    QString classLabel;
    QList<int> period1Choices{12, 9, 6, 3};
    QList<int> period3Choices;   // empty: no thorough inspection
    QString thoroughLabel;       // caption of the thorough inspection's dates
    int lookup = LookupNever;
    bool focusDiameter = false;  // chain and rope cards start in PRUMER
    bool pictureOnShow = true;   // all but textile
    bool recordOnPeriodExit = true;  // leaving PERIODA1 records like leaving DAT_POSL_1
    bool addCodesOnExitOnly = false; // clamp: code-list combos 1..4 add only when left
    QString cardReport;          // report file of the printed card
    QString protocolReport;      // report file of one inspection's protocol
};

const QVector<AccessoryKind> &accessoryKinds();
const AccessoryKind *kindByLetter(const QString &letter);
const AccessoryKind *kindByForm(const QString &formClass);

// Name of the standard picture of a type (and, for chains, a class); empty
// when the type has none.
QString standardPictureName(const QString &letter, int typ, const QString &jakTrida);

// Copies the capacities of the row of `nosnosti` whose TYP, JAK_TRIDA, PRUMER
// and DRUH equal the record's (exactly) into the record; only while it is being
// edited. True when a row was found.
bool lookupCapacity(tz::db::Dataset &nosnosti, tz::db::Dataset &record);

// The next due date after an inspection: from the last inspection, else from the
// day the item was put into service, else from today, stepped by the period in
// months. An empty period keeps the next date as it is (nullopt).
std::optional<QDate> nextDueDate(const QDate &last, const QDate &inService, const QVariant &period, const QDate &today);
// A period must be a whole number of months from 1 up; the message otherwise
// (empty text: the period is fine or empty).
QString periodProblem(const QVariant &period);

// One schedule of inspections on an accessory: the regular one (DAT_POSL_1,
// DAT_PLAN_1, PERIODA1, type "1") or the thorough one (..._3, type "3").
struct Schedule
{
    QString last, next, period, type;
    static Schedule regular();
    static Schedule thorough();
};

// Recording inspections from a card. The remembered last dates are taken when
// the record is loaded and after every stored inspection, so leaving a field
// without a change records nothing.
class InspectionRecorder
{
public:
    explicit InspectionRecorder(tz::db::TDM &dm) : m_dm(dm) {}
    // Remembers the record's current last dates.
    void remember();
    // True when the schedule's last date differs from the remembered one.
    bool changed(const Schedule &s) const;
    // Step 1: a new accessory is stored first and edited on, so that its
    // inspection refers to a stored row. Browsing: false (nothing to do).
    bool prepareRecord();
    // Step 2: a new inspection row in the history set (PrubehRev or Prubeh_rov)
    // with the schedule's date and type, left in insert state for the window
    // that completes it; the remembered date becomes the new one.
    void startInspection(tz::db::Dataset &history, const Schedule &s);
    // Step 3: the next due date of the schedule into the record. Throws
    // tz::db::Error with a Czech message for a period below 1.
    void updateNextDate(const Schedule &s);
    // An inspection of the schedule's type stored in the history (typed in the
    // history window) that is newer than the record's last date, or nothing.
    std::optional<QDate> newerStoredInspection(const Schedule &s) const;
    // Takes a stored inspection's date as the schedule's last date and steps
    // the next date as if it had been typed; no further inspection is recorded.
    void adoptLastDate(const Schedule &s, const QDate &date);

private:
    tz::db::TDM &m_dm;
    QMap<QString, QVariant> m_remembered;
};

// Partner variant: test currents and thicknesses by the diameter.
struct TestValues
{
    std::optional<double> proud5, tloustka4, proud4, tloustka1, proud1;
};
// Nothing for a diameter outside the tables; the end part and master link
// values only when the item has them.
TestValues testValues(int prumer, bool hasHook, bool hasMasterLink, int legs);

// Price of an inspection from the price list row: the price up to 2 m plus the
// price of each further metre; the length counted in whole tenths, each
// started metre beyond 2 m after the first 0.1 m counted as in the price list.
int partnerPrice(double do2, double dalsi, double delka);

} // namespace tz::acc
