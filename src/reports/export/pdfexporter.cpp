// PDF through QPdfWriter: the same drawing as printing and the preview.
#include "exporter.h"

#include "pagerenderer.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

namespace tz::rep {

namespace {

class PdfExporter : public Exporter {
public:
    QString format() const override { return QStringLiteral("pdf"); }
    bool write(const PageStore &store, const QString &path, const ExportOptions &o, QString *error) override
    {
        files.clear();
        const PageRange r = store.clamp(o.range);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            if (error)
                *error = QStringLiteral("Výstupní soubor se nepodařilo uložit. (%1: %2)").arg(path, file.errorString());
            return false;
        }
        {
            QPdfWriter w(&file);
            constexpr int dpi = 1200;
            w.setResolution(dpi);
            w.setCreator(QStringLiteral("TAVO ZZ"));
            w.setTitle(QFileInfo(path).completeBaseName());
            const QPageSize size(QSizeF(store.paperWidth() / 100.0, store.paperHeight() / 100.0), QPageSize::Inch,
                                 QString(), QPageSize::ExactMatch);
            w.setPageSize(size);
            w.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter p;
            if (!p.begin(&w)) {
                if (error)
                    *error = QStringLiteral("Výstupní soubor se nepodařilo uložit. (%1)").arg(path);
                file.cancelWriting();
                return false;
            }
            const bool any = r.first <= r.last;
            for (int i = r.first; i <= r.last; ++i) {
                if (i > r.first)
                    w.newPage();
                p.setTransform(pageTransform(store, dpi));
                renderPage(p, store, i - 1);
            }
            Q_UNUSED(any);
            p.end();
        }
        if (!file.commit()) {
            if (error)
                *error = QStringLiteral("Výstupní soubor se nepodařilo uložit. (%1: %2)").arg(path, file.errorString());
            return false;
        }
        files << path;
        return true;
    }
};

} // namespace

std::unique_ptr<Exporter> makePdfExporter() { return std::make_unique<PdfExporter>(); }

} // namespace tz::rep
