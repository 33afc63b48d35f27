#pragma once
// Arguments of the tavozz-cli commands: options with and without values,
// positional arguments, and checked numbers and dates. Every fault of the
// command line is an ArgumentError with a Czech text for stderr; the command
// then ends with exit code 2 and does nothing.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <stdexcept>

namespace tz::cli {

// A wrong command line; the text is meant for the user.
class ArgumentError : public std::runtime_error
{
public:
    explicit ArgumentError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

struct Option
{
    enum Kind {
        Flag,     // "--demo": no value
        Value,    // "--out FILE" or "--out=FILE": one non-empty value, at most once
        Values,   // "--param TEXT": a value (may be empty), repeatable, kept in order
    };
    QString name;   // with the dashes: "--out"
    Kind kind = Value;
    bool required = false;
};

// A command's arguments split into options and positional arguments.
// A word that begins with "--" is an option, as is "-" followed by a letter;
// "-1" or "-5+3" are positional. "--" alone ends the options: everything
// after it is positional. The value of an option is the next word (or the
// text after "="); a missing value, or another option of the command where
// the value should be, is refused.
class Arguments
{
public:
    // Throws ArgumentError: an unknown option, a missing or empty value, a
    // value to a flag, an option given twice, a required option missing.
    Arguments(const QStringList &args, const QList<Option> &options);

    // Requires between min and max positional arguments (max < 0: no limit);
    // names name them in order for the message about a missing one.
    void expectPositional(int min, int max, const QStringList &names) const;

    const QStringList &positional() const { return m_positional; }
    QString positional(int i) const { return m_positional.value(i); }
    bool has(const QString &option) const;
    // The value of an option; empty when it was not given.
    QString value(const QString &option) const;
    QStringList values(const QString &option) const;

private:
    QStringList m_positional;
    QList<std::pair<QString, QString>> m_given; // option name, value (in order)
};

// A whole number written in decimal (an optional sign) within min..max;
// `what` begins the message ("Číslo firmy", "Počet měsíců").
int integerArgument(const QString &text, const QString &what, int min = std::numeric_limits<int>::min(),
                    int max = std::numeric_limits<int>::max());

// The first and last year a date of the program may have.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

// A date written as d.m.yyyy (day and month of one or two digits, the year of
// four), an existing day in the years 1 to 9999.
QDate dateArgument(const QString &text);
// Refuses a computed date outside the years 1 to 9999 (or an invalid one);
// returns it otherwise.
QDate checkedResultDate(const QDate &date);

} // namespace tz::cli
