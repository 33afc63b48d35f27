#include "picturelib.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QResource>

namespace tz {

namespace {
QAtomicInt g_rootCounter;
}

PictureLibrary::PictureLibrary()
    : m_root(QStringLiteral("/tavozz-pictures-%1").arg(g_rootCounter.fetchAndAddRelaxed(1)))
{
}

PictureLibrary::~PictureLibrary()
{
    unload();
}

bool PictureLibrary::load(const QString &rccPath)
{
    unload();
    if (rccPath.isEmpty() || !QFileInfo(rccPath).isFile())
        return false;
    const QString file = QFileInfo(rccPath).absoluteFilePath();
    if (!QResource::registerResource(file, m_root))
        return false;

    QHash<QString, QString> index;
    QStringList names;
    QDirIterator it(QLatin1Char(':') + m_root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QFileInfo(path).completeBaseName();
        const QString key = name.toLower();
        if (name.isEmpty() || index.contains(key))
            continue; // the first of names differing only in case wins
        index.insert(key, path);
        names.append(name);
    }
    if (index.isEmpty()) {
        QResource::unregisterResource(file, m_root);
        return false;
    }
    names.sort(Qt::CaseInsensitive);
    m_file = file;
    m_index = std::move(index);
    m_names = std::move(names);
    return true;
}

bool PictureLibrary::ensureLoaded()
{
    return isLoaded() || load(defaultPath());
}

void PictureLibrary::unload()
{
    if (m_file.isEmpty())
        return;
    QResource::unregisterResource(m_file, m_root);
    m_file.clear();
    m_index.clear();
    m_names.clear();
}

QImage PictureLibrary::image(const QString &name) const
{
    const auto it = m_index.constFind(name.trimmed().toLower());
    if (it == m_index.cend())
        return {};
    return QImage(it.value());
}

bool PictureLibrary::contains(const QString &name) const
{
    return m_index.contains(name.trimmed().toLower());
}

QStringList PictureLibrary::names() const
{
    return m_names;
}

QString PictureLibrary::defaultPath()
{
    const QString env = qEnvironmentVariable("TAVOZZ_PICTURES");
    if (!env.isEmpty())
        return env;
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                     : QDir::currentPath();
    return QDir(dir).filePath(QStringLiteral("tzz.rcc"));
}

PictureLibrary &PictureLibrary::instance()
{
    static PictureLibrary library;
    return library;
}

} // namespace tz
