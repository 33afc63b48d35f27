#include "spreadsheet.h"

#include "folders.h"
#include "sheettemplate.h"
#include "xlsx/xlsxio.h"

#include <QBuffer>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cmath>
#include <functional>

namespace tz {

using namespace tz::xlsx;

namespace {

// The password of protected protocol sheets.
const QString kSheetPassword = QStringLiteral("6043");

QString composeHeaderFooter(const QString &left, const QString &centre, const QString &right)
{
    QString s;
    if (!left.isEmpty())
        s += QStringLiteral("&L") + left;
    if (!centre.isEmpty())
        s += QStringLiteral("&C") + centre;
    if (!right.isEmpty())
        s += QStringLiteral("&R") + right;
    return s;
}

// Estimated width of a text in characters of the default font.
double textWidth(const QString &text, const CellStyle &st)
{
    double best = 0;
    for (const QString &line : text.split(u'\n')) {
        double w = 0;
        for (QChar c : line) {
            if (QStringLiteral("iljtfI.,:;'|!()[] ").contains(c))
                w += 0.5;
            else if (c.isUpper() || c == u'm' || c == u'w' || c == u'M' || c == u'W')
                w += 1.25;
            else
                w += 1.0;
        }
        best = std::max(best, w);
    }
    double factor = st.fontSize / 10.0;
    if (st.bold)
        factor *= 1.1;
    return best * factor;
}

} // namespace

bool showFile(SpreadsheetDesktop *desktop, const QString &path, const QString &notice)
{
    const bool opened = desktop && QFileInfo(path).isFile() && desktop->openFile(path);
    QString message;
    if (opened) {
        if (notice.isEmpty())
            return true;
        message = QStringLiteral("%1\nDokument byl uložen do souboru %2 a otevřen.").arg(notice, path);
    } else {
        QString reason = desktop ? desktop->openError() : QString();
        if (!QFileInfo(path).isFile())
            reason = QStringLiteral("soubor neexistuje");
        if (reason.isEmpty()) {
            const QString suffix = QFileInfo(path).suffix().toLower();
            reason = suffix.isEmpty() ? QStringLiteral("v systému není nastaven program pro tento druh souborů")
                                      : QStringLiteral("v systému není nastaven program pro soubory %1").arg(suffix);
        }
        message = QStringLiteral("Soubor %1 je uložen, ale nepodařilo se jej otevřít: %2.\nNajdete jej ve složce %3.")
                      .arg(path, reason, QFileInfo(path).absolutePath());
        if (!notice.isEmpty())
            message = notice + u'\n' + message;
    }
    if (desktop)
        desktop->inform(message);
    else
        qWarning().noquote() << message;
    return opened;
}

QString headerLiteral(const QString &text)
{
    QString t = text;
    t.replace(u'&', QStringLiteral("&&"));
    return t;
}

// ---------------------------------------------------------------- PdfTools

QString PdfTools::officeProgram() const
{
    const QByteArray forced = qgetenv("TAVOZZ_OFFICE");
    if (!forced.isNull()) {
        const QString p = QString::fromLocal8Bit(forced);
        return QFileInfo(p).isExecutable() ? p : QString();
    }
    for (const char *name : {"soffice", "libreoffice", "localc"}) {
        const QString p = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!p.isEmpty())
            return p;
    }
#ifdef Q_OS_WIN
    for (const QString &p : {QStringLiteral("C:/Program Files/LibreOffice/program/soffice.exe"),
                             QStringLiteral("C:/Program Files (x86)/LibreOffice/program/soffice.exe")})
        if (QFileInfo::exists(p))
            return p;
#endif
    return {};
}

QString PdfTools::convertToPdf(const QString &xlsxPath, const QString &outDir) const
{
    const QString office = officeProgram();
    if (office.isEmpty())
        throw SpreadsheetError(QStringLiteral("Nebyl nalezen program LibreOffice pro převod do PDF."));
    // A profile of our own, so that a LibreOffice window the user has open does not take the job over.
    const QString profile = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                            + QStringLiteral("/tavozz/office-profile");
    QDir().mkpath(profile);
    QProcess p;
    p.setProgram(office);
    p.setArguments({QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                    QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo"),
                    QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                    QStringLiteral("--outdir"), outDir, xlsxPath});
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start();
    if (!p.waitForStarted(30000))
        throw SpreadsheetError(QStringLiteral("Program %1 se nepodařilo spustit.").arg(office));
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished(5000);
        throw SpreadsheetError(QStringLiteral("Převod do PDF programem LibreOffice nebyl dokončen ani za tři minuty."));
    }
    const QString pdf = QDir(outDir).filePath(QFileInfo(xlsxPath).completeBaseName() + QStringLiteral(".pdf"));
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !QFileInfo::exists(pdf))
        throw SpreadsheetError(QStringLiteral("Převod do PDF programem LibreOffice se nezdařil: %1")
                                   .arg(QString::fromLocal8Bit(p.readAll()).trimmed()));
    return pdf;
}

void PdfTools::printPdf(const QString &pdfPath) const
{
    QString printer;
    QStringList args;
    for (const char *name : {"lp", "lpr"}) {
        printer = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!printer.isEmpty())
            break;
    }
    if (printer.isEmpty()) {
        const QString office = officeProgram();
        if (office.isEmpty())
            throw SpreadsheetError(QStringLiteral("Nebyl nalezen program pro tisk."));
        printer = office;
        args << QStringLiteral("--headless") << QStringLiteral("-p");
    }
    args << pdfPath;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(printer, args);
    if (!p.waitForStarted(30000) || !p.waitForFinished(120000) || p.exitCode() != 0)
        throw SpreadsheetError(QStringLiteral("Tisk se nezdařil: %1").arg(QString::fromLocal8Bit(p.readAll()).trimmed()));
}

// ---------------------------------------------------------------- ExportDoExcelu

ExportDoExcelu::ExportDoExcelu(SpreadsheetDesktop *desktop, const PdfTools *pdf)
    : m_desktop(desktop), m_pdf(pdf)
{
    if (!m_pdf) {
        m_ownPdf = std::make_unique<PdfTools>();
        m_pdf = m_ownPdf.get();
    }
}

ExportDoExcelu::~ExportDoExcelu() = default;

void ExportDoExcelu::Connect()
{
    m_book.reset();
    m_templateFile.clear();
    m_shownFile.clear();
    m_shown = m_handedOver = m_dirtySinceShow = false;
}

void ExportDoExcelu::OpenWorkbook(const QString &name)
{
    m_shown = m_handedOver = m_dirtySinceShow = false;
    m_shownFile.clear();
    if (name.trimmed().isEmpty()) {
        m_book = std::make_unique<Workbook>();
        m_templateFile.clear();
        return;
    }
    const InstalledFile found = findInstalledTemplate(m_programFolder, name);
    if (!found.found())
        throw SpreadsheetError(QStringLiteral("Šablona %1 nebyla nalezena (hledáno %2 %3).")
                                   .arg(found.name,
                                        found.searched.size() > 1 ? QStringLiteral("ve složkách") : QStringLiteral("ve složce"),
                                        found.searchedText()));
    const QString path = found.path;
    QFile f(path);
    if (f.open(QIODevice::ReadOnly) && f.read(4) == QByteArray("\xD0\xCF\x11\xE0", 4))
        throw SpreadsheetError(QStringLiteral("Šablona %1 je uložena ve starém formátu XLS, který program neumí číst. "
                                              "Otevřete ji v tabulkovém programu a uložte ve formátu .xlsx pod stejným názvem.")
                                   .arg(path));
    f.close();
    try {
        m_book = std::make_unique<Workbook>(readWorkbook(path));
    } catch (const XlsxError &e) {
        throw SpreadsheetError(QStringLiteral("Šablonu %1 nelze přečíst: %2").arg(path, e.message()));
    }
    m_templateFile = path;
}

Workbook &ExportDoExcelu::book()
{
    if (!m_book)
        throw SpreadsheetError(QStringLiteral("Není otevřen žádný sešit."));
    return *m_book;
}

Workbook &ExportDoExcelu::workbook() { return book(); }

Sheet &ExportDoExcelu::sheet() { return book().active(); }

void ExportDoExcelu::checkCell(int row, int col) const
{
    if (row < 1 || col < 1 || row > 1048576 || col > 16384)
        throw SpreadsheetError(QStringLiteral("Neplatná buňka sešitu: řádek %1, sloupec %2.").arg(row).arg(col));
}

void ExportDoExcelu::restyle(int row, int col, const std::function<void(CellStyle &)> &change)
{
    Workbook &b = book();
    Cell &c = sheet().cellAt(row, col);
    CellStyle st = b.style(c.style);
    change(st);
    c.style = b.styleIndex(st);
    m_dirtySinceShow = true;
}

void ExportDoExcelu::setStyled(int row, int col, const QString &text, const std::function<void(CellStyle &)> &change)
{
    checkCell(row, col);
    if (change)
        restyle(row, col, change);
    book().setValue(book().activeSheet, row, col, CellValue::fromText(text));
    m_dirtySinceShow = true;
}

void ExportDoExcelu::SetCell(int row, int col, const QString &text)
{
    setStyled(row, col, text, nullptr);
}

void ExportDoExcelu::SetCell(int row, int col, const CellValue &value)
{
    checkCell(row, col);
    book().setValue(book().activeSheet, row, col, value);
    m_dirtySinceShow = true;
}

void ExportDoExcelu::SetCellWrapped(int row, int col, int width, const QString &text)
{
    setStyled(row, col, text, [](CellStyle &st) {
        st.hAlign = HAlign::Left;
        st.wrap = true;
    });
    if (width > 0 && text.size() > width) {
        const double lines = std::floor(double(text.size()) / width + 1.0 + 0.5);
        sheet().rows[row].height = 12.0 * lines;
    }
}

void ExportDoExcelu::SetCellBold(int row, int col, const QString &text)
{
    setStyled(row, col, text, [](CellStyle &st) { st.bold = true; });
}

void ExportDoExcelu::SetCellItalic(int row, int col, const QString &text)
{
    setStyled(row, col, text, [](CellStyle &st) { st.italic = true; });
}

void ExportDoExcelu::SetCellHeading(int row, int col, const QString &text)
{
    setStyled(row, col, text, [](CellStyle &st) {
        st.bold = true;
        st.fontSize = 10;
    });
}

void ExportDoExcelu::SetCellText(int row, int col, const QString &text)
{
    setStyled(row, col, text, [](CellStyle &st) {
        st.hAlign = HAlign::Left;
        st.numFmt = QStringLiteral("@");
    });
}

void ExportDoExcelu::MergeRange(const QString &address)
{
    const auto r = parseRange(address);
    if (!r)
        throw SpreadsheetError(QStringLiteral("Neplatná oblast buněk „%1“.").arg(address));
    Sheet &sh = sheet();
    if (r->row1 == r->row2 && r->col1 == r->col2)
        return;
    // Merges that overlap the new one are replaced by it.
    std::erase_if(sh.merges, [&](const Range &m) {
        return !(m.row2 < r->row1 || m.row1 > r->row2 || m.col2 < r->col1 || m.col1 > r->col2);
    });
    sh.merges.push_back(*r);
    m_dirtySinceShow = true;
}

void ExportDoExcelu::FormatCell(int row, int col, int flags, int fill, int borderColor)
{
    Workbook &b = book();
    Sheet &sh = sheet();
    const BorderSide line{BorderStyle::Thin, Color::fromColorIndex(borderColor)};
    auto change = [&](CellStyle &st) {
        if (flags & BorderBottom) st.bottom = line;
        if (flags & BorderTop) st.top = line;
        if (flags & BorderRight) st.right = line;
        if (flags & BorderLeft) st.left = line;
        if (flags & (BorderDiagonalUp | BorderDiagonalDown)) {
            st.diagonal = line;
            if (flags & BorderDiagonalUp) st.diagonalUp = true;
            if (flags & BorderDiagonalDown) st.diagonalDown = true;
        }
        const int align = flags & (AlignLeft | AlignCenter | AlignRight);
        if (align) {
            st.hAlign = (align & AlignRight) ? HAlign::Right : (align & AlignCenter) ? HAlign::Center : HAlign::Left;
            st.vAlign = VAlign::Bottom;
            st.wrap = false;
        }
        if (fill > 0)
            st.fill = Color::fromColorIndex(fill);
    };
    const bool align = flags & (AlignLeft | AlignCenter | AlignRight);
    if (row > 0 && col > 0) {
        checkCell(row, col);
        restyle(row, col, change);
        if (align)
            std::erase_if(sh.merges, [&](const Range &m) { return m.contains(row, col); });
        return;
    }
    if (row <= 0 && col <= 0)
        throw SpreadsheetError(QStringLiteral("Neplatná buňka sešitu: řádek %1, sloupec %2.").arg(row).arg(col));
    const bool wholeRow = row > 0;
    for (auto &[ref, c] : sh.cells)
        if (wholeRow ? ref.row == row : ref.col == col) {
            CellStyle st = b.style(c.style);
            change(st);
            c.style = b.styleIndex(st);
        }
    if (wholeRow) {
        RowInfo &ri = sh.rows[row];
        CellStyle st = b.style(std::max(ri.style, 0));
        change(st);
        ri.style = b.styleIndex(st);
        if (align)
            std::erase_if(sh.merges, [&](const Range &m) { return row >= m.row1 && row <= m.row2; });
    } else {
        ColumnInfo &ci = sh.columns[col];
        CellStyle st = b.style(std::max(ci.style, 0));
        change(st);
        ci.style = b.styleIndex(st);
        if (align)
            std::erase_if(sh.merges, [&](const Range &m) { return col >= m.col1 && col <= m.col2; });
    }
    m_dirtySinceShow = true;
}

void ExportDoExcelu::InsertRow(int row)
{
    if (row < 1 || row >= 1048576)
        throw SpreadsheetError(QStringLiteral("Neplatné číslo řádku %1.").arg(row));
    book().insertRows(book().activeSheet, row, 1);
    m_dirtySinceShow = true;
}

bool ExportDoExcelu::InsertPicture(int row, int col, const QString &file, double maxWidthPt, double maxHeightPt)
{
    checkCell(row, col);
    QFile f(file);
    if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    QImage img;
    if (!img.loadFromData(data))
        return false;
    QBuffer buf;
    buf.setData(data);
    const QByteArray fmt = QImageReader(&buf).format().toLower();
    if ((fmt == "png" || fmt == "jpeg" || fmt == "jpg") && (maxWidthPt <= 0 && maxHeightPt <= 0)) {
        Picture p;
        p.row = row;
        p.col = col;
        p.data = data;
        p.extension = fmt == "png" ? QStringLiteral("png") : QStringLiteral("jpeg");
        p.widthEmu = qint64(img.width()) * 9525;
        p.heightEmu = qint64(img.height()) * 9525;
        p.name = QFileInfo(file).completeBaseName();
        sheet().pictures.push_back(std::move(p));
        m_dirtySinceShow = true;
        return true;
    }
    return InsertPicture(row, col, img, maxWidthPt, maxHeightPt);
}

bool ExportDoExcelu::InsertPicture(int row, int col, const QImage &image, double maxWidthPt, double maxHeightPt)
{
    checkCell(row, col);
    if (image.isNull())
        return false;
    double w = image.width() * 0.75; // points at 96 dpi
    double h = image.height() * 0.75;
    double scale = 1.0;
    if (maxWidthPt > 0 && w > maxWidthPt)
        scale = std::min(scale, maxWidthPt / w);
    if (maxHeightPt > 0 && h > maxHeightPt)
        scale = std::min(scale, maxHeightPt / h);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    if (!image.save(&buf, "PNG"))
        return false;
    Picture p;
    p.row = row;
    p.col = col;
    p.data = png;
    p.extension = QStringLiteral("png");
    p.widthEmu = qint64(std::llround(w * scale * 12700));
    p.heightEmu = qint64(std::llround(h * scale * 12700));
    p.name = QStringLiteral("Obrázek %1").arg(sheet().pictures.size() + 1);
    sheet().pictures.push_back(std::move(p));
    m_dirtySinceShow = true;
    return true;
}

void ExportDoExcelu::SetHeader(const QString &left, const QString &centre, const QString &right)
{
    sheet().page.oddHeader = composeHeaderFooter(left, centre, right);
    m_dirtySinceShow = true;
}

void ExportDoExcelu::SetFooter(const QString &left, const QString &centre, const QString &right)
{
    sheet().page.oddFooter = composeHeaderFooter(left, centre, right);
    m_dirtySinceShow = true;
}

void ExportDoExcelu::AutofitColumns()
{
    Workbook &b = book();
    Sheet &sh = sheet();
    std::map<int, double> widths;
    for (const auto &[ref, c] : sh.cells) {
        if (!c.hasValue())
            continue;
        const CellStyle &st = b.style(c.style);
        if (st.wrap || sh.mergeAt(ref.row, ref.col))
            continue;
        const QString text = b.displayText(b.activeSheet, ref.row, ref.col);
        if (text.isEmpty())
            continue;
        const double w = std::min(120.0, textWidth(text, st) + 1.5);
        widths[ref.col] = std::max(widths[ref.col], w);
    }
    for (auto [col, w] : widths)
        sh.columns[col].width = std::round(w * 4) / 4;
    m_dirtySinceShow = true;
}

void ExportDoExcelu::ProtectSheet(int n)
{
    Workbook &b = book();
    if (n < 1 || n > int(b.sheets.size()))
        throw SpreadsheetError(QStringLiteral("Sešit nemá list číslo %1.").arg(n));
    b.sheets[size_t(n - 1)].protection = Protection{true, legacyPasswordHash(kSheetPassword)};
    m_dirtySinceShow = true;
}

QString ExportDoExcelu::outputFolder() const
{
    if (m_outputFolder.isEmpty())
        return keptFilesFolder(m_programFolder);
    QDir().mkpath(m_outputFolder);
    return m_outputFolder;
}

QString ExportDoExcelu::outputPath(const QString &suffix) const
{
    QString base = m_templateFile.isEmpty() ? QStringLiteral("Sesit") : QFileInfo(m_templateFile).completeBaseName();
    if (base.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        base.chop(5);
    const QDir dir(outputFolder());
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(base + u'-' + stamp + suffix);
    for (int k = 2; QFileInfo::exists(path); ++k)
        path = dir.filePath(base + u'-' + stamp + u'-' + QString::number(k) + suffix);
    return path;
}

void ExportDoExcelu::SaveAs(const QString &path)
{
    try {
        writeWorkbook(book(), path);
    } catch (const XlsxError &e) {
        throw SpreadsheetError(e.message());
    }
}

void ExportDoExcelu::inform(const QString &message)
{
    if (m_desktop)
        m_desktop->inform(message);
    else
        qWarning().noquote() << message;
}

bool ExportDoExcelu::sheetThroughPdf(int n, bool print)
{
    Workbook &b = book();
    if (n < 1 || n > int(b.sheets.size()))
        throw SpreadsheetError(QStringLiteral("Sešit nemá list číslo %1.").arg(n));
    m_handedOver = true;
    const QString what = print ? QStringLiteral("tisk") : QStringLiteral("náhled");
    if (m_pdf->officeProgram().isEmpty()) {
        const QString path = outputPath(QStringLiteral(".xlsx"));
        SaveAs(path);
        showFile(m_desktop, path,
                 QStringLiteral("Pro %1 je potřeba program LibreOffice, který na tomto počítači nebyl nalezen; "
                                "dokument lze vytisknout z programu pro sešity.").arg(what));
        return false;
    }
    const QString scratch = outputPath(QStringLiteral(".xlsx"));
    QString pdf;
    try {
        writeWorkbook(b, scratch, {n - 1});
        pdf = m_pdf->convertToPdf(scratch, QFileInfo(scratch).absolutePath());
    } catch (const XlsxError &e) {
        QFile::remove(scratch);
        inform(QStringLiteral("Dokument pro %1 nelze připravit: %2").arg(what, e.message()));
        return false;
    } catch (const SpreadsheetError &e) {
        const QString keep = outputPath(QStringLiteral(".xlsx"));
        QFile::remove(scratch);
        try {
            SaveAs(keep);
        } catch (const SpreadsheetError &saveError) {
            inform(QStringLiteral("%1\nDokument se nepodařilo uložit: %2").arg(e.message(), saveError.message()));
            return false;
        }
        showFile(m_desktop, keep, e.message());
        return false;
    }
    QFile::remove(scratch);
    if (!print)
        return showFile(m_desktop, pdf);
    try {
        m_pdf->printPdf(pdf);
    } catch (const SpreadsheetError &e) {
        showFile(m_desktop, pdf, e.message());
        return false;
    }
    return true;
}

bool ExportDoExcelu::PrintSheet(int n) { return sheetThroughPdf(n, true); }

bool ExportDoExcelu::PreviewSheet(int n) { return sheetThroughPdf(n, false); }

void ExportDoExcelu::Show()
{
    book();
    if (m_shownFile.isEmpty())
        m_shownFile = outputPath(QStringLiteral(".xlsx"));
    SaveAs(m_shownFile);
    m_shown = true;
    m_dirtySinceShow = false;
}

void ExportDoExcelu::handOver()
{
    if (!m_book || !m_shown || m_handedOver)
        return;
    m_handedOver = true;
    if (m_dirtySinceShow) {
        try {
            SaveAs(m_shownFile);
        } catch (const SpreadsheetError &e) {
            inform(e.message());
            return;
        }
    }
    showFile(m_desktop, m_shownFile);
}

void ExportDoExcelu::CloseAndQuit(const QString &file)
{
    if (!file.isEmpty()) {
        QString path = file;
        path.replace(u'\\', u'/');
        if (QDir::isRelativePath(path))
            path = QDir(m_programFolder.isEmpty() ? QDir::currentPath() : m_programFolder).filePath(path);
        if (QFileInfo(path).isFile())
            QFile::remove(path);
    }
    m_handedOver = true; // a closed workbook is not handed over at Release
    m_book.reset();
}

void ExportDoExcelu::Release()
{
    handOver();
    m_book.reset();
    m_shown = m_handedOver = m_dirtySinceShow = false;
}

} // namespace tz
