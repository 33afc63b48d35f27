#include "exporter.h"

#include "codepage.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tz::rep {

std::unique_ptr<Exporter> makeTextExporter();
std::unique_ptr<Exporter> makeHtmlExporter();
std::unique_ptr<Exporter> makeRtfExporter();
std::unique_ptr<Exporter> makeSvgExporter();
std::unique_ptr<Exporter> makePdfExporter();

std::unique_ptr<Exporter> createExporter(const QString &format)
{
    const QString f = format.toLower();
    if (f == QLatin1String("txt"))
        return makeTextExporter();
    if (f == QLatin1String("html"))
        return makeHtmlExporter();
    if (f == QLatin1String("rtf"))
        return makeRtfExporter();
    if (f == QLatin1String("svg"))
        return makeSvgExporter();
    if (f == QLatin1String("pdf"))
        return makePdfExporter();
    return nullptr;
}

QStringList exportFormats()
{
    return {QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("txt"), QStringLiteral("rtf"),
            QStringLiteral("svg")};
}

QString numberedFileName(const QString &path, int page)
{
    const QFileInfo fi(path);
    const QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
    return base + QString::number(page) + (suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix);
}

QByteArray encodeForExport(const QString &text, int language)
{
    switch (language) {
    case 1: return tz::encode(text, CodePage::Ascii);
    case 2: return tz::encode(text, CodePage::Kamenicky);
    case 3: return tz::encode(text, CodePage::Cp852);
    default: return tz::encode(text, CodePage::Cp1250);
    }
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("Výstupní soubor se nepodařilo uložit. (%1: %2)").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace tz::rep
