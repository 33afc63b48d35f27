#pragma once
// The library of standard pictures: glyphs of the kind buttons and the
// standard pictures of the record cards. It is a Qt binary resource file
// (tzz.rcc) kept beside the programs and registered at run time under a root
// of its own; pictures are found by name without regard to letter case.
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

namespace tz {

class PictureLibrary
{
public:
    PictureLibrary();
    ~PictureLibrary();
    PictureLibrary(const PictureLibrary &) = delete;
    PictureLibrary &operator=(const PictureLibrary &) = delete;

    // Registers the resource file; a library loaded before is released first.
    // False when the file is missing or is not a resource file, or holds no pictures.
    bool load(const QString &rccPath);
    // Loads defaultPath() unless a library is loaded already.
    bool ensureLoaded();
    void unload();
    bool isLoaded() const { return !m_file.isEmpty(); }
    QString fileName() const { return m_file; }

    // The picture of that name (letter case ignored, no extension);
    // a null image when the name is unknown or no library is loaded.
    QImage image(const QString &name) const;
    bool contains(const QString &name) const;
    // Names of all pictures as stored, sorted without regard to case.
    QStringList names() const;

    // TAVOZZ_PICTURES when set, otherwise tzz.rcc in the folder of the program.
    static QString defaultPath();
    // The instance shared by the whole program.
    static PictureLibrary &instance();

private:
    QString m_file;                  // registered resource file, empty when none
    QString m_root;                  // private root the file is mapped to
    QHash<QString, QString> m_index; // lower-case name -> resource path
    QStringList m_names;
};

} // namespace tz
