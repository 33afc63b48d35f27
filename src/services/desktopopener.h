#pragma once
// The desktop side of the spreadsheet interface: files open in the programs
// associated with their types. Messages go to a function the program supplies
// (a message box); without one they go to the log.
//
// On Linux a file is opened with xdg-open, whose exit code tells whether the
// desktop found a program for it (Qt's own opener only tells whether
// xdg-open could be started). The environment variable TAVOZZ_OPEN_COMMAND
// names another program to use instead (it gets the file as its one
// argument; exit code 0 means opened), e.g. for tests or a fixed viewer.
#include "spreadsheet.h"

#include <functional>

namespace tz {

class DesktopOpener : public SpreadsheetDesktop
{
public:
    explicit DesktopOpener(std::function<void(const QString &)> informer = {})
        : m_informer(std::move(informer)) {}
    bool openFile(const QString &path) override;
    void inform(const QString &message) override;
    QString openError() const override { return m_error; }

private:
    std::function<void(const QString &)> m_informer;
    QString m_error;
};

} // namespace tz
