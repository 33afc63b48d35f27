#pragma once
// The program's settings in tavozz.ini.
#include "inifile.h"

#include <QString>

namespace tz::app {

extern const char *const kRegisterNames[5];
QString defaultRegister();

struct AppSettings
{
    QString registerName;   // Set/skupina
    bool partnerMode = false; // Set/rovena
    QString revTech;        // Rovena/RevTech
    QString revFirma;       // Rovena/RevFirma

    static AppSettings read(const tz::IniFile &ini);
    // Writes the register shown last (the only key the shell writes).
    static bool writeRegister(const QString &iniPath, const QString &registerName);
};

} // namespace tz::app
