#include "desktopopener.h"

#include <QDebug>
#include <QDesktopServices>
#include <QUrl>

namespace tz {

bool DesktopOpener::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void DesktopOpener::inform(const QString &message)
{
    if (m_informer)
        m_informer(message);
    else
        qWarning().noquote() << message;
}

} // namespace tz
