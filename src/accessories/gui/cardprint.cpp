#include "cardprint.h"

#include "dataset.h"
#include "datasetsource.h"
#include "dates.h"
#include "folders.h"
#ifdef TZ_HAVE_PICTURELIB
#include "picturelib.h"
#endif

using tz::db::Dataset;

namespace tz::acc {

namespace {

QString text(const Dataset &ds, const char *field)
{
    return ds.value(QString::fromLatin1(field)).toString().trimmed();
}

// The value of a history row as the card shows it: dates as "d.m.yyyy".
QString shown(const Dataset &ds, const char *field)
{
    const QVariant v = ds.value(QString::fromLatin1(field));
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDate)
        return tz::formatDate(v.toDate());
    return v.toString();
}

} // namespace

Organisation userOrganisation(tz::db::TDM &dm)
{
    Organisation o;
    Dataset &m = dm.Majitel;
    if (!m.isOpen())
        m.open();
    if (m.isEmpty())
        return o;
    m.first();
    o.name = text(m, "FIRMA");
    const QString town = tz::rep::joinNonEmpty({text(m, "Psc"), text(m, "Adresa2")}, QStringLiteral(" "));
    o.address = tz::rep::joinNonEmpty({text(m, "Adresa1"), town, text(m, "Adresa3")}, QStringLiteral(", "));
    const QByteArray logo = m.value(QStringLiteral("Logo")).toByteArray();
    if (!logo.isEmpty())
        o.logo = QImage::fromData(logo);
    return o;
}

void handOverLogo(const Organisation &o)
{
    tz::rep::setHandoverPicture(QStringLiteral("Logox.bmp"), o.logo);
}

QString companyLine(tz::db::TDM &dm, const QVariant &firma)
{
    if (!firma.isNull()) {
        Dataset q(dm.db(), QStringLiteral("KartaFirma"));
        q.setSql(QStringLiteral("Select Firma from firmy where PCFir=:pcfir"));
        q.setParam(QStringLiteral("pcfir"), firma.toInt());
        q.open();
        if (!q.isEmpty()) {
            const QString name = text(q, "Firma");
            if (!name.isEmpty())
                return name;
        }
    }
    const QString caption = dm.companyText();
    if (!caption.trimmed().isEmpty())
        return caption;
    return userOrganisation(dm).name;
}

QString cardReportFile(const AccessoryKind &kind, int typ)
{
    if (kind.letter == QLatin1String("J") && typ == 4)
        return QStringLiteral("evmanipJ.pts");
    QString name = kind.cardReport;
    if (!name.endsWith(QLatin1String(".pts"), Qt::CaseInsensitive))
        name += QLatin1String(".pts");
    return name;
}

QImage accessoryPicture(const Dataset &row)
{
    const QByteArray own = row.value(QStringLiteral("Pict")).toByteArray();
    if (!own.isEmpty()) {
        const QImage img = QImage::fromData(own);
        if (!img.isNull())
            return img;
    }
    const QString name = standardPictureName(text(row, "DRUH"), row.value(QStringLiteral("TYP")).toInt(),
                                             text(row, "JAK_TRIDA"));
    if (name.isEmpty())
        return {};
#ifdef TZ_HAVE_PICTURELIB
    tz::PictureLibrary &lib = tz::PictureLibrary::instance();
    if (lib.ensureLoaded())
        return lib.image(name);
#endif
    return {};
}

QStringList cardParameters(const QString &companyLine, Dataset &history)
{
    QStringList p{companyLine};
    for (history.first(); !history.eof(); history.next())
        for (const char *f : {"DATUM", "TYPREVIZE", "Firma", "PROVEDL", "VYSLEDEK", "Poznamka"})
            p << shown(history, f);
    return p;
}

QStringList protocolParameters(const QString &companyLine, const Organisation &o)
{
    return {companyLine, o.name, o.address};
}

CardRun::CardRun(tz::db::TDM &dm, const QString &programFolder) : m_dm(dm), m_programFolder(programFolder) {}

tz::rep::TSestError CardRun::run(const QImage &picture, const Action &action)
{
    m_problem.clear();
    Dataset &item = m_dm.BasicView;
    if (!item.isOpen() || item.recNo() < 0) {
        m_problem = QStringLiteral("Není vybrán žádný vázací prostředek.");
        return tz::rep::seJina;
    }
    const AccessoryKind *kind = kindByLetter(text(item, "DRUH"));
    if (!kind) {
        m_problem = QStringLiteral("Neznámý druh vázacího prostředku: %1").arg(text(item, "DRUH"));
        return tz::rep::seJina;
    }
    m_definition = cardReportFile(*kind, item.value(QStringLiteral("TYP")).toInt());

    // the pictures of this card only: none left over from another item
    tz::rep::setHandoverPicture(QStringLiteral("Rx.bmp"), picture);
    handOverLogo(userOrganisation(m_dm));

    // the accessory's inspections, oldest first
    Dataset history(m_dm.db(), QStringLiteral("KartaPrubehRev"));
    history.setSql(QStringList{"Select * from revize", "where poradi=:poradi and druh=:druh", "order by DATUM"});
    history.setParam(QStringLiteral("poradi"), item.value(QStringLiteral("PORADI")));
    history.setParam(QStringLiteral("druh"), item.value(QStringLiteral("DRUH")));
    history.open();
    m_parameters = cardParameters(companyLine(m_dm, item.value(QStringLiteral("Firma"))), history);
    history.first();

    tz::rep::DatasetSource itemSource(&item);
    tz::rep::DatasetSource historySource(&history);
    tz::rep::TSestava rep;
    tz::rep::TSestDetail inspections;
    inspections.dataSource = &historySource;
    inspections.setMasterSestava(&rep);
    rep.setReportDirIgnore(false);
    // the program folder's definition, else the one installed beside the programs
    rep.setReportDir(tz::reportFolder(m_programFolder, m_definition));
    rep.setReportName(m_definition);
    rep.tiskJedenZaznam = true;
    rep.Parametry = m_parameters;
    rep.dataSource = &itemSource;
    const tz::rep::TSestError e = action(rep);
    inspections.setMasterSestava(nullptr);
    return e;
}

} // namespace tz::acc
