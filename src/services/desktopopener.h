#pragma once
// The desktop side of the spreadsheet interface: files open in the programs
// associated with their types. Messages go to a function the program supplies
// (a message box); without one they go to the log.
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

private:
    std::function<void(const QString &)> m_informer;
};

} // namespace tz
