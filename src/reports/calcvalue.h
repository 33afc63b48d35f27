#pragma once
// Values of the report engine and their Czech text forms.
//
//   TCalcType            one value: kind, number, text, null flag (every value
//                        carries both a number and a text).
//   FormatSettings       decimal and thousands separators, date and time masks,
//                        month and day names, currency; Czech by default, one
//                        process-wide instance (formatSettings()).
//   readNumber()         a text read as a number by the engine's rules ("1,5",
//                        "1.5", " -2E3"); nullopt when it is not one.
//   numberText()         the shortest decimal text of a number ("1,5", "1E20").
//   floatToStrF()        General / Exponent / Fixed / Number / Currency output.
//   formatFloat()        number masks with 0, #, decimal point, thousands
//                        separator, exponent, literals and ; sections.
//   formatDateTime()     date-time masks (d, dd, m, mmmm, yyyy, h, nn, ss, ...).
//   Date-time numbers count days from 30.12.1899, the fraction is the time.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace tz::rep {

struct TCalcType {
    enum Kind : quint8 { kOther = 0, kNumber = 1, kText = 2, kBracketed = 5 };

    quint8 kind = kOther;
    double number = 0.0;
    QString text;
    bool null = false;

    bool isText() const { return kind == kText || kind == kBracketed; }

    static TCalcType fromNumber(double v);
    static TCalcType fromText(const QString &t);   // kind 2, number = text read as a number
    static TCalcType empty() { return {}; }
    static TCalcType nullValue()
    {
        TCalcType v;
        v.null = true;
        return v;
    }
    bool operator==(const TCalcType &o) const
    {
        return kind == o.kind && number == o.number && text == o.text && null == o.null;
    }
};

struct FormatSettings {
    QChar decimalSeparator = u',';
    QChar thousandSeparator = QChar(0x00A0);
    QChar dateSeparator = u'.';
    QChar timeSeparator = u':';
    QString shortDateFormat = QStringLiteral("d.m.yyyy");     // date-time mask notation
    QString longDateFormat = QStringLiteral("d. mmmm yyyy");
    QString shortTimeFormat = QStringLiteral("h:nn");
    QString longTimeFormat = QStringLiteral("h:nn:ss");
    QString timeAmString = QStringLiteral("dop.");
    QString timePmString = QStringLiteral("odp.");
    QString currencyString = QStringLiteral("Kč");
    int currencyFormat = 3;      // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
    int negCurrFormat = 8;       // "-1 $"
    QStringList shortMonthNames;
    QStringList longMonthNames;
    QStringList shortDayNames;   // Sunday first
    QStringList longDayNames;

    static FormatSettings czech();
};

// The process-wide settings used by the evaluator and the formatting helpers.
FormatSettings &formatSettings();

std::optional<double> readNumber(const QString &text);
double readNumberOr0(const QString &text);

QString numberText(double v);

enum class FloatFormat { General = 0, Exponent = 1, Fixed = 2, Number = 3, Currency = 4 };
QString floatToStrF(double v, FloatFormat format, int precision, int digits);

QString formatFloat(const QString &mask, double v);

double dateTimeToNumber(const QDateTime &dt);
double dateToNumber(const QDate &d);
// Splits a date-time number; false when it lies outside the years 1..9999.
bool numberToDateTime(double v, QDate &date, int &msecOfDay);

QString formatDateTime(const QString &mask, double v);
// The text read as a date ("d.m.yyyy", also a two-digit year or none) or as a
// date with a time ("h:nn" or "h:nn:ss" after a blank); nullopt otherwise.
std::optional<double> readDate(const QString &text);
std::optional<double> readDateTime(const QString &text);

// Formats one integer the way a format text with one integer argument does
// ("%d", "%3d", "%.4d", "%x", "Strana %d", "%%"); nullopt when the format does
// not fit one integer argument.
std::optional<QString> formatInteger(const QString &format, qint64 value);

} // namespace tz::rep
