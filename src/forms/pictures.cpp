#include "pictures.h"

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

} // namespace tz::gui
