#pragma once
// Windows-style INI files (sections in brackets, key=value lines) stored in
// Windows-1250. Section and key names compare without regard to letter case;
// the order of sections, keys and comment lines is kept when the file is written.
#include <QString>
#include <QStringList>
#include <QVector>

namespace tz {

class IniFile
{
public:
    explicit IniFile(const QString &path = {});

    // Reads the file; a missing file gives an empty set of sections.
    bool load();
    // Writes the file through a temporary file in the same folder.
    bool save() const;
    QString path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    int readInteger(const QString &section, const QString &key, int def = 0) const;
    // "0" is false, any other integer is true; a missing or non-numeric value gives the default.
    bool readBool(const QString &section, const QString &key, bool def = false) const;
    bool hasKey(const QString &section, const QString &key) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    void eraseSection(const QString &section);
    QStringList keys(const QString &section) const;

private:
    struct Line { QString key; QString value; bool isEntry = false; };
    struct Section { QString name; QVector<Line> lines; };
    const Line *find(const QString &section, const QString &key) const;
    Section &sectionFor(const QString &name);

    QString m_path;
    QVector<Line> m_preamble;
    QVector<Section> m_sections;
};

} // namespace tz
