#include "sestava.h"

#include "definitionfile.h"
#include "export/exporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace tz::rep {

namespace {

MessageHandler &messageHandler()
{
    static MessageHandler h;
    return h;
}

OutputBackend &backend()
{
    static OutputBackend b;
    return b;
}

bool g_running = false;    // a run, preview or export is in progress
bool g_printing = false;   // a print is in progress

class BusyGuard {
public:
    explicit BusyGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~BusyGuard() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

void setMessageHandler(MessageHandler handler) { messageHandler() = std::move(handler); }

bool showMessage(MessageKind kind, const QString &caption, const QString &text)
{
    if (messageHandler())
        return messageHandler()(kind, caption, text);
    std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return false;
}

bool engineBusy() { return g_running || g_printing; }

QString handoverFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tavozz-obrazy-XXXXXX"));
    return dir.path();
}

bool setHandoverPicture(const QString &name, const QImage &picture)
{
    const QString path = QDir(handoverFolder()).filePath(QFileInfo(name).fileName());
    if (picture.isNull()) {
        QFile::remove(path);
        return !QFileInfo::exists(path);
    }
    return picture.save(path, "BMP");
}

QString joinNonEmpty(const QStringList &parts, const QString &sep)
{
    QStringList kept;
    for (const QString &p : parts)
        if (!p.trimmed().isEmpty())
            kept << p;
    return kept.join(sep);
}

void setOutputBackend(const OutputBackend &b) { backend() = b; }
const OutputBackend &outputBackend() { return backend(); }

// ---------------------------------------------------------------- TSestavaD

int TSestavaD::fieldCount() const
{
    return dataSource ? dataSource->fieldCount() : TSestavaTyp::fieldCount();
}

SourceFieldType TSestavaD::fieldTypeAt(int index) const
{
    if (!dataSource || index < 0 || index >= dataSource->fieldCount())
        return SourceFieldType::Unknown;
    return dataSource->fieldType(index);
}

TCalcType TSestavaD::fieldValueAt(int index) const
{
    if (!dataSource)
        return TSestavaTyp::fieldValueAt(index);
    if (index < 0 || index >= dataSource->fieldCount())
        return TSestavaTyp::fieldValueAt(-1);
    if (!dataSource->isOpen() || dataSource->eof()) {
        // an empty source prints its body once with empty values
        TCalcType v;
        const SourceFieldType t = dataSource->fieldType(index);
        v.kind = (t == SourceFieldType::String || t == SourceFieldType::Memo) ? TCalcType::kText
                 : (t == SourceFieldType::Integer || t == SourceFieldType::Float) ? TCalcType::kNumber
                                                                                  : TCalcType::kOther;
        v.null = true;
        return v;
    }
    return dataSource->value(index);
}

QString TSestavaD::fieldLabel(int index) const
{
    if (dataSource && index >= 0 && index < dataSource->fieldCount())
        return dataSource->fieldLabel(index);
    return TSestavaTyp::fieldLabel(index);
}

void TSestavaD::collectFields()
{
    if (dataSource) {
        fieldNames.clear();
        fieldLabels.clear();
        for (int i = 0; i < dataSource->fieldCount(); ++i)
            fieldNames << dataSource->fieldName(i);
        for (int i = 0; i < dataSource->fieldCount(); ++i)
            fieldLabels << dataSource->fieldLabel(i);
    }
    for (TSestavaTyp *dt : details())
        if (auto *d = dynamic_cast<TSestavaD *>(dt))
            d->collectFields();
}

// ---------------------------------------------------------------- TSestava

TSestava::TSestava() = default;
TSestava::~TSestava() = default;

void TSestava::setReportName(const QString &name)
{
    if (name.isEmpty()) {
        m_reportName.clear();
        return;
    }
    const QFileInfo fi(name);
    const QString suffix = fi.suffix();
    const QString base = (suffix.isEmpty() || fi.fileName().startsWith(u'.')) ? name
                                                                               : name.left(name.size() - suffix.size() - 1);
    m_reportName = base + QStringLiteral(".pts");
}

void TSestava::setReportDir(const QString &dir)
{
    m_reportDir = dir;
    if (!m_reportDir.isEmpty() && !m_reportDir.endsWith(u'/') && !m_reportDir.endsWith(u'\\'))
        m_reportDir += u'/';
}

QString TSestava::DefinitionFileName() const
{
    if (m_reportName.isEmpty())
        return {};
    if (QFileInfo(m_reportName).isAbsolute())
        return m_reportName;
    if (!m_reportDirIgnore)
        return m_reportDir + m_reportName;
    return QDir(QCoreApplication::applicationDirPath()).filePath(m_reportName);
}

TSestError TSestava::NactiPredlohu(bool offerCreate)
{
    if (IsStored) {
        const LoadStatus st = takeOverDefinition(*this, Predloha, Popis, {.resolveFields = true});
        if (!st.ok()) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"), st.message);
            return seCteniPredlohy;
        }
        return seOK;
    }
    const QString path = DefinitionFileName();
    const QFileInfo fi(path);
    if (!fi.exists()) {
        if (!offerCreate) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\"").arg(path));
            return seCteniPredlohy;
        }
        if (!showMessage(MessageKind::Question, QStringLiteral("Potvrzení"),
                         QStringLiteral("Nebyl nalezen soubor s předlohou tiskové sestavy \"%1\". Založit nový?").arg(path)))
            return seCteniPredlohy;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        QStringLiteral("Soubor s předlohou se nepodařilo vytvořit. \"%1\"").arg(path));
            return seCteniPredlohy;
        }
        f.close();
        takeOverDefinition(*this, {}, path, {.resolveFields = true});
        definitionFolder = fi.absolutePath();
        return seOK;
    }
    // The file exists: a read error is reported as such and nothing is written.
    const LoadStatus st = loadDefinitionFile(*this, path, {.resolveFields = true});
    if (!st.ok()) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), st.message);
        return seCteniPredlohy;
    }
    definitionFolder = fi.absolutePath();
    if (!def.description.isEmpty())
        Popis = def.description;
    return seOK;
}

TSestError TSestava::UlozPredlohu()
{
    if (IsStored) {
        Predloha = writeDefinition(*this);
        return seOK;
    }
    const LoadStatus st = saveDefinitionFile(*this, DefinitionFileName());
    if (!st.ok()) {
        if (!(OnError && OnError(seUkladaniPredlohy)))
            showMessage(MessageKind::Error, QStringLiteral("Chyba"), QStringLiteral("Soubor s předlohou se nepodařilo uložit."));
        return seUkladaniPredlohy;
    }
    return seOK;
}

bool TSestava::prepareSource(TSestavaD &r)
{
    if (!r.dataSource) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), QStringLiteral("Není definován zdroj dat."));
        return false;
    }
    if (!r.dataSource->isOpen()) {
        if (!showMessage(MessageKind::Question, QStringLiteral("Potvrzení"),
                         QStringLiteral("Připojená tabulka není aktivní. Zkusit otevřít?")))
            return false;
        QString why;
        if (!r.dataSource->open(&why) || !r.dataSource->isOpen()) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        why.isEmpty() ? QStringLiteral("Připojenou tabulku se nepodařilo otevřít.")
                                      : QStringLiteral("Připojenou tabulku se nepodařilo otevřít.\n%1").arg(why));
            return false;
        }
        m_openedByEngine.push_back(r.dataSource);
    }
    return true;
}

TSestError TSestava::finish(TSestError e)
{
    if (e != seOK && OnError)
        OnError(e);
    return e;
}

TSestError TSestava::run(bool noPaging)
{
    if (g_running)
        return finish(seBusy);
    BusyGuard guard(g_running);
    m_openedByEngine.clear();
    // text is measured with fonts, which need the graphics layer
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                    QStringLiteral("Sestavu nelze připravit: program běží bez grafického prostředí."));
        return finish(seJina);
    }
    // preparation check
    if (!prepareSource(*this))
        return finish(seJina);
    for (TSestavaTyp *dt : details()) {
        auto *d = dynamic_cast<TSestavaD *>(dt);
        if (d && !prepareSource(*d))
            return finish(seJina);
    }
    if (!IsStored && DefinitionFileName().isEmpty()) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                    QStringLiteral("Není definována cesta a název souboru s předlohou."));
        return finish(seJina);
    }
    const int bookmark = dataSource->position();
    TSestError e = seOK;
    try {
        collectFields();
        e = NactiPredlohu(false);
        if (e == seOK) {
            for (TSestavaTyp *dt : details())
                if (auto *d = dynamic_cast<TSestavaD *>(dt))
                    d->definitionFolder = definitionFolder;
            e = compose(noPaging);
        }
    } catch (const std::exception &ex) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), QString::fromLocal8Bit(ex.what()));
        e = seJina;
    }
    if (bookmark >= 0)
        dataSource->moveTo(bookmark);
    for (ReportDataSource *s : m_openedByEngine)
        s->close();
    m_openedByEngine.clear();
    return finish(e);
}

PageRange TSestava::printRange() const
{
    return pages.clamp({startPage, endPage});
}

TSestError TSestava::Preview()
{
    if (engineBusy())
        return finish(seBusy);
    if (BeforePreview)
        BeforePreview();
    TSestError e = run();
    if (e == seOK || e == sePreruseno) {
        if (!backend().preview) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        QStringLiteral("Náhled sestavy není v tomto programu k dispozici."));
            e = seJina;
        } else {
            BusyGuard guard(g_running);
            e = backend().preview(*this);
        }
    }
    if (AfterPreview)
        AfterPreview();
    return finish(e);
}

TSestError TSestava::Print() { return PrintTo(-1); }

TSestError TSestava::PrintTo(int printerIndex)
{
    if (engineBusy())
        return finish(seBusy);
    if (!backend().printerAvailable || !backend().printerAvailable()) {
        showMessage(MessageKind::Warning, QStringLiteral("Varování"),
                    QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
        return finish(seNeniTiskarna);
    }
    QString printer;   // empty: the default one
    if (printerIndex >= 0) {
        const QStringList names = backend().printerNames ? backend().printerNames() : QStringList();
        if (printerIndex >= names.size()) {
            showMessage(MessageKind::Error, QStringLiteral("Chyba"),
                        QStringLiteral("Tiskárna číslo %1 není nainstalovaná.").arg(printerIndex));
            return finish(seJina);
        }
        printer = names[printerIndex];
    }
    if (BeforePrint)
        BeforePrint();
    TSestError e = run();
    if (e == seOK)
        e = printComposed({.range = printRange(),
                           .copies = printCopies,
                           .title = Popis,
                           .printerName = printer,
                           .printBackground = pages.printBackground});
    if (AfterPrint)
        AfterPrint();
    return finish(e);
}

TSestError TSestava::printComposed(const PrintRequest &request)
{
    if (g_printing)
        return seBusy;
    if (!backend().printerAvailable || !backend().printerAvailable() || !backend().print) {
        showMessage(MessageKind::Warning, QStringLiteral("Varování"),
                    QStringLiteral("V systému není nainstalovaná žádná tiskárna."));
        return seNeniTiskarna;
    }
    BusyGuard guard(g_printing);
    return backend().print(*this, request);
}

TSestError TSestava::exportPages(const QString &format, const QString &path, PageRange range, QString *error)
{
    std::unique_ptr<Exporter> ex = createExporter(format);
    if (!ex) {
        if (error)
            *error = QStringLiteral("Neznámý výstupní formát: %1").arg(format);
        return seJina;
    }
    ExportOptions o;
    o.range = pages.clamp(range);
    o.language = exportLanguage;
    QString why;
    if (!ex->write(pages, path, o, &why)) {
        if (error)
            *error = why;
        return seWriteFile;
    }
    return seOK;
}

TSestError TSestava::exportTo(const QString &format, const QString &path)
{
    if (engineBusy())
        return finish(seBusy);
    const bool continuous = format.compare(QLatin1String("html"), Qt::CaseInsensitive) == 0;
    TSestError e = run(continuous);
    if (e != seOK)
        return e;
    BusyGuard guard(g_running);
    std::unique_ptr<Exporter> ex = createExporter(format);
    if (!ex) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), QStringLiteral("Neznámý výstupní formát: %1").arg(format));
        return finish(seJina);
    }
    ExportOptions o;
    o.range = continuous ? PageRange{1, 1} : printRange();
    o.language = exportLanguage;
    o.continuous = continuous;
    QString why;
    if (!ex->write(pages, path, o, &why)) {
        showMessage(MessageKind::Error, QStringLiteral("Chyba"), why);
        return finish(seWriteFile);
    }
    return seOK;
}

} // namespace tz::rep
