#include "pictures.h"
#include "prompts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#ifdef TZ_HAVE_PICTURELIB
#include "picturelib.h"
#endif

namespace tz::gui {

QString missingLibraryText()
{
    return QStringLiteral("Nenalezena knihovna Tzz.dll");
}

#ifdef TZ_HAVE_PICTURELIB
static tz::PictureLibrary &library()
{
    static tz::PictureLibrary lib;
    static bool tried = false;
    if (!tried) {
        tried = true;
        lib.load(tz::PictureLibrary::defaultPath());
    }
    return lib;
}

bool pictureLibraryAvailable()
{
    return library().isLoaded();
}

QImage standardPicture(const QString &name)
{
    return library().isLoaded() ? library().image(name) : QImage();
}
#else
bool pictureLibraryAvailable()
{
    return false;
}

QImage standardPicture(const QString &)
{
    return {};
}
#endif

bool chooseOwnPicture(QWidget *parent, tz::db::Dataset &ds, const QString &file)
{
    QString path = file;
    if (path.isEmpty()) {
        const QString folder = QDir::currentPath();
        const QString galerie = QDir(folder).filePath(QStringLiteral("galerie"));
        path = QFileDialog::getOpenFileName(parent, QStringLiteral("Změnit obrázek"), QDir(galerie).exists() ? galerie : folder,
                                            QStringLiteral("Bitmaps (*.bmp);;Obrázky (*.bmp *.png *.jpg *.jpeg);;Všechny soubory (*)"));
        // report and file paths depend on the program folder, whatever the dialog did
        QDir::setCurrent(folder);
        if (path.isEmpty())
            return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        showError(parent, QStringLiteral("Soubor %1 nelze otevřít: %2").arg(path, f.errorString()));
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (QImage::fromData(bytes).isNull()) {
        showError(parent, QStringLiteral("Soubor %1 není obrázek, který lze zobrazit.").arg(path));
        return false;
    }
    try {
        if (!ds.isEditing())
            ds.edit();
        ds.setFieldValue(QStringLiteral("Pict"), bytes);
    } catch (const tz::db::Error &e) {
        showError(parent, e.userText());
        return false;
    }
    return true;
}

} // namespace tz::gui
