#include "settings.h"

namespace tz::app {

const char *const kRegisterNames[5] = {"Vázací prostředky", "Zdvihací zařízení", "Osoby", "Ocelové konstrukce", "OPPP"};

QString defaultRegister()
{
    return QString::fromUtf8(kRegisterNames[0]);
}

AppSettings AppSettings::read(const tz::IniFile &ini)
{
    AppSettings s;
    s.partnerMode = ini.readBool(QStringLiteral("Set"), QStringLiteral("rovena"), false);
    s.revTech = ini.readString(QStringLiteral("Rovena"), QStringLiteral("RevTech"));
    s.revFirma = ini.readString(QStringLiteral("Rovena"), QStringLiteral("RevFirma"));
    s.registerName = ini.readString(QStringLiteral("Set"), QStringLiteral("skupina"), defaultRegister());
    return s;
}

bool AppSettings::writeRegister(const QString &iniPath, const QString &registerName)
{
    tz::IniFile ini(iniPath);
    ini.load();
    ini.writeString(QStringLiteral("Set"), QStringLiteral("skupina"), registerName);
    return ini.save();
}

} // namespace tz::app
