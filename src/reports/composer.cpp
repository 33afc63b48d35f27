// Composition of a report into pages: one pass over the records, sections laid
// out top to bottom, page breaks when a section does not fit above the page
// footer, growing texts and nested details running over pages, the page count
// patched in at the end.
#include "sestava.h"

#include "expression.h"
#include "rtftext.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace tz::rep {

namespace {

ProgressHandler &progressHandler()
{
    static ProgressHandler h;
    return h;
}

} // namespace

void setProgressHandler(ProgressHandler handler) { progressHandler() = std::move(handler); }

namespace {
std::function<void()> &progressEndHandler()
{
    static std::function<void()> h;
    return h;
}
} // namespace

void setProgressEndHandler(std::function<void()> handler) { progressEndHandler() = std::move(handler); }

// Shared by a master and the details it runs: where output goes next.
struct Cursor {
    PageStore *store = nullptr;
    int page = 0;
    int y = 0;
    int pageBottom = 0;
    bool noPaging = false;
    bool stop = false;
    bool cancel = false;
    int records = 0;
    struct PageCountRef {
        int page;
        int number;
    };
    std::vector<PageCountRef> pageCountElements;
};

class Composer {
public:
    Composer(TSestavaD &rep, Cursor &cursor, Composer *root, int baseX)
        : r(rep), d(rep.def), c(cursor), m_root(root ? root : this), m_baseX(baseX)
    {
    }

    TSestError runMaster();
    // Runs a detail inside the master's pages from the cursor's position.
    void runNested();

private:
    TSestavaD &r;
    ReportDefinition &d;
    Cursor &c;
    Composer *m_root;
    int m_baseX = 0;
    int m_column = 1;
    int m_xOffset = 0;
    std::vector<std::vector<char>> m_printable;   // per section, per element

    bool nested() const { return m_root != this; }
    Composer &root() { return *m_root; }
    const Composer &root() const { return *m_root; }
    const TOddilSestavy &sec(int kind) const { return d.sections[size_t(kind)]; }
    int visibleHeight(int kind) const { return sec(kind).visible ? sec(kind).height : 0; }
    int printableWidth() const { return c.store->printableWidth(); }

    // Master page decoration.
    int footerHeight(int page) const;
    int headerHeight(int page) const;
    bool fits(int h) const { return c.noPaging || c.pageBottom - root().footerHeight(c.page) - c.y >= h; }
    void openPage(int page);
    void pageBreak();
    void layoutHeader(int page, int originY = 0);
    void layoutFooter(int page);

    bool stopped() const { return c.stop || c.cancel; }
    void runBody(bool detailMode);
    void recordStep();
    void reportEnd();
    void layoutSection(int kind);
    void layoutFixed(const TOddilSestavy &s, int originY, int x, int page);
    void layoutBands(const TOddilSestavy &s);
    struct End {
        int page;
        int bottom;
    };
    End layoutGrower(const TOddilSestavy &s, int index, int page, int originY);
    void outputElement(const TOddilSestavy &s, int index, int page, int top, int left, int height,
                       std::vector<TextLine> *lines = nullptr, const QString *shown = nullptr);

    void refreshValues(bool includeStart, bool includeEnd);
    void prepareElements(bool includeEnd);
    void evaluateFunctions();
    QString elementText(const TSiReportElement &e, bool *ok) const;
    bool wraps(const TSiReportElement &e) const;
    bool printsRtf(const TSiReportElement &e, const QString &text) const;
    std::vector<TextLine> layoutValue(const TSiReportElement &e, const QString &text, bool wrap, QString *shown,
                                      bool *rtf) const;
    QImage loadPicture(const TSiReportElement &e, QString *file) const;
    bool progress();
};

int Composer::footerHeight(int page) const
{
    if (!sec(skPageFooter).visible)
        return 0;
    if (d.footerOnFirstPageOnly() && page > 0)
        return 0;
    return sec(skPageFooter).height;
}

int Composer::headerHeight(int page) const
{
    if (!sec(skPageHeader).visible)
        return 0;
    if (page == 0 && d.noHeaderOnFirstPage())
        return 0;
    return sec(skPageHeader).height;
}

void Composer::openPage(int page)
{
    Composer &m = root();
    while (int(c.store->pages.size()) <= page) {
        const int last = int(c.store->pages.size()) - 1;
        if (last >= 0)
            m.layoutFooter(last);
        c.store->pages.emplace_back();
        const int np = last + 1;
        if (np + 1 > m.r.endPage) {
            c.stop = true;
            continue;
        }
        m.layoutHeader(np);
    }
}

void Composer::pageBreak()
{
    if (c.noPaging)
        return;
    Composer &m = root();
    openPage(c.page + 1);
    c.page += 1;
    c.y = m.headerHeight(c.page);
    m.r.run.pageNumber = c.page + 1;
    r.run.pageNumber = c.page + 1;
}

void Composer::layoutHeader(int page, int originY)
{
    r.m_newPageRequest = false;
    const TOddilSestavy &h = sec(skPageHeader);
    if (!h.visible || headerHeight(page) == 0)
        return;
    if (r.onTiskOddilu && !r.onTiskOddilu(skPageHeader))
        return;
    const int saved = r.run.pageNumber;
    r.run.pageNumber = page + 1;
    layoutFixed(h, originY, 0, page);
    r.run.pageNumber = saved;
}

void Composer::layoutFooter(int page)
{
    const TOddilSestavy &f = sec(skPageFooter);
    if (!f.visible || footerHeight(page) == 0)
        return;
    if (r.onTiskOddilu && !r.onTiskOddilu(skPageFooter))
        return;
    const int saved = r.run.pageNumber;
    r.run.pageNumber = page + 1;
    layoutFixed(f, c.pageBottom - f.height, 0, page);
    r.run.pageNumber = saved;
}

bool Composer::progress()
{
    ProgressHandler &h = progressHandler();
    if (h && !h(c.records + 1))
        c.cancel = true;
    return !c.cancel;
}

bool Composer::wraps(const TSiReportElement &e) const
{
    if (e.angle != 0)
        return false;
    if (e.multiLine())
        return true;
    return e.kind == ekField && r.fieldTypeAt(e.reference) == SourceFieldType::Memo;
}

// RTF text prints formatted where the element says its text is RTF and in
// every memo field that holds an RTF document; any other text prints as it is.
bool Composer::printsRtf(const TSiReportElement &e, const QString &text) const
{
    if (!isRtfText(text))
        return false;
    return e.isRtf() || (e.kind == ekField && r.fieldTypeAt(e.reference) == SourceFieldType::Memo);
}

// The lines of a text-like element's value; `shown` gets the text as printed
// (an RTF document without its control words).
std::vector<TextLine> Composer::layoutValue(const TSiReportElement &e, const QString &text, bool wrap, QString *shown,
                                            bool *rtf) const
{
    *rtf = printsRtf(e, text);
    if (!*rtf) {
        *shown = text;
        return layoutText(text, e, e.width, wrap);
    }
    const FormattedText formatted = readRtf(text, elementFormat(e));
    *shown = formatted.plainText();
    return layoutFormatted(formatted, e, e.width, wrap);
}

QString Composer::elementText(const TSiReportElement &e, bool *ok) const
{
    *ok = true;
    switch (e.kind) {
    case ekText: return e.text;
    case ekField: return e.value.text;
    case ekFieldLabel: return r.fieldLabel(e.reference);
    case ekParameter: return e.reference >= 0 && e.reference < r.Parametry.size() ? r.Parametry[e.reference] : QString();
    case ekSystemValue: {
        const std::optional<QString> t = r.systemValueText(e.reference, e.text);
        if (!t)
            *ok = false;
        return t.value_or(QStringLiteral("????"));
    }
    case ekFunction:
        if (e.reference < 0 || e.reference >= int(d.functions.size())) {
            *ok = false;
            return QStringLiteral("????");
        }
        return d.functions[size_t(e.reference)].outputText();
    case ekBarcode: return evaluateText(e.name, &r);
    default: return {};
    }
}

// Splits a picture name list at commas outside apostrophes.
static QStringList pictureCandidates(const QString &list)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (QChar ch : list) {
        if (ch == u'\'')
            quoted = !quoted;
        if (ch == u',' && !quoted) {
            out << cur.trimmed();
            cur.clear();
        } else {
            cur += ch;
        }
    }
    out << cur.trimmed();
    out.removeAll(QString());
    return out;
}

QImage Composer::loadPicture(const TSiReportElement &e, QString *file) const
{
    for (const QString &cand : pictureCandidates(e.name)) {
        QString name = cand;
        if (name.size() >= 2 && name.startsWith(u'\'') && name.endsWith(u'\''))
            name = name.mid(1, name.size() - 2);
        else if (!name.isEmpty() && QStringLiteral("#&@%").contains(name[0]))
            name = evaluateText(name, &r);
        if (name.isEmpty())
            continue;
        QStringList tries;
        tries << QDir(handoverFolder()).filePath(QFileInfo(name).fileName());
        if (!r.definitionFolder.isEmpty())
            tries << QDir(r.definitionFolder).filePath(name);
        tries << name;
        for (const QString &path : tries) {
            if (!QFileInfo(path).isFile())
                continue;
            QImage img(path);
            if (!img.isNull()) {
                *file = path;
                return img;
            }
        }
    }
    return {};
}

void Composer::outputElement(const TOddilSestavy &s, int index, int page, int top, int left, int height,
                             std::vector<TextLine> *lines, const QString *shown)
{
    const TSiReportElement &e = s.elements[size_t(index)];
    OutputElement o;
    o.el = e;
    o.sectionKind = s.kind;
    o.box = QRect(left, top, e.width, height);
    if (isTextLikeKind(e.kind)) {
        if (e.kind == ekField && r.fieldTypeAt(e.reference) == SourceFieldType::Graphic) {
            o.picture = (r.dataSource && !r.dataSource->eof()) ? r.dataSource->picture(e.reference) : QImage();
            if (o.picture.isNull())
                return;
        } else if (lines) {
            o.lines = *lines;
            if (shown)
                o.el.value = TCalcType::fromText(*shown);
        } else {
            bool ok = true;
            QString text;
            bool rtf = false;
            std::vector<TextLine> all = layoutValue(e, elementText(e, &ok), wraps(e), &text, &rtf);
            o.el.value = TCalcType::fromText(text);
            double h = 0;
            for (size_t i = 0; i < all.size(); ++i) {
                if (i > 0 && h + all[i].height > height + 0.5)
                    break;
                h += all[i].height;
                o.lines.push_back(all[i]);
            }
        }
    } else if (e.kind == ekPicture) {
        o.picture = loadPicture(e, &o.pictureFile);
        if (o.picture.isNull())
            return;
    } else if (e.kind == ekBarcode) {
        bool ok = true;
        o.el.value = TCalcType::fromText(elementText(e, &ok));
    } else if (e.kind == ekPaintBox) {
        return;   // nothing draws into drawing surfaces in this program
    }
    OutputPage &p = c.store->pages[size_t(page)];
    const int number = p.nextNumber;
    p.add(std::move(o));
    if (e.kind == ekSystemValue && e.reference == 4)
        c.pageCountElements.push_back({page, number});
}

void Composer::layoutFixed(const TOddilSestavy &s, int originY, int x, int page)
{
    const auto &pr = m_printable[size_t(s.kind)];
    for (int i = int(s.elements.size()) - 1; i >= 0; --i) {
        if (!pr[size_t(i)])
            continue;
        const TSiReportElement &e = s.elements[size_t(i)];
        if (e.kind == ekDetail)
            continue;   // details run only where they may grow
        outputElement(s, i, page, originY + e.top, m_baseX + x + e.left, e.height);
    }
}

Composer::End Composer::layoutGrower(const TOddilSestavy &s, int index, int page, int originY)
{
    const TSiReportElement &e = s.elements[size_t(index)];
    const int top = originY + e.top;
    const int left = m_baseX + m_xOffset + e.left;
    if (e.kind == ekDetail) {
        TSestavaTyp *dt = e.reference >= 0 && e.reference < r.details().size() ? r.details()[e.reference] : nullptr;
        auto *detail = dynamic_cast<TSestavaD *>(dt);
        if (!detail)
            return {page, top + e.height};
        c.page = page;
        c.y = top;
        Composer dc(*detail, c, m_root, left);
        dc.runNested();
        return {c.page, c.y};
    }
    bool ok = true;
    QString text;
    bool rtf = false;
    std::vector<TextLine> all = layoutValue(e, elementText(e, &ok), e.angle == 0, &text, &rtf);
    const QString *shown = rtf ? &text : nullptr;
    const double full = linesHeight(all);
    if (full <= e.height || c.noPaging) {
        const int h = c.noPaging ? std::max(e.height, int(std::ceil(full))) : e.height;
        outputElement(s, index, page, top, left, h, &all, shown);
        return {page, top + h};
    }
    int avail = c.pageBottom - root().footerHeight(page) - top;
    if (full <= avail) {
        const int h = int(std::ceil(full));
        outputElement(s, index, page, top, left, h, &all, shown);
        return {page, top + h};
    }
    size_t next = 0;
    int t = top;
    int p = page;
    for (;;) {
        std::vector<TextLine> part;
        double used = 0;
        while (next < all.size() && (used + all[next].height <= avail + 0.5 || (part.empty() && t != top))) {
            used += all[next].height;
            part.push_back(all[next++]);
        }
        if (!part.empty())
            outputElement(s, index, p, t, left, int(std::ceil(used)), &part, shown);
        if (next >= all.size())
            return {p, t + std::max(int(std::ceil(used)), p == page ? e.height : 0)};
        if (c.stop)
            return {p, t + int(std::ceil(used))};
        openPage(p + 1);
        if (c.stop)
            return {p, t + int(std::ceil(used))};
        ++p;
        t = root().headerHeight(p);
        avail = c.pageBottom - root().footerHeight(p) - t;
    }
}

void Composer::layoutBands(const TOddilSestavy &s)
{
    struct Boundary {
        int top, bottom;
        std::vector<int> growers;
    };
    std::vector<Boundary> bnds;
    std::vector<char> isGrower(s.elements.size(), 0);
    const auto &pr = m_printable[size_t(s.kind)];
    for (int i = int(s.elements.size()) - 1; i >= 0; --i) {
        const TSiReportElement &e = s.elements[size_t(i)];
        if (!pr[size_t(i)])
            continue;
        const bool grows = e.kind == ekDetail || (isTextLikeKind(e.kind) && e.variableHeight() && d.columns <= 1);
        if (!grows)
            continue;
        auto same = std::find_if(bnds.begin(), bnds.end(), [&](const Boundary &b) { return b.top == e.top; });
        if (same != bnds.end()) {
            same->bottom = std::max(same->bottom, e.top + e.height);
            same->growers.push_back(i);
        } else if (!bnds.empty() && e.top > bnds.back().top && e.top < bnds.back().bottom) {
            continue;   // overlaps the last boundary: laid out as fixed
        } else {
            bnds.push_back({e.top, e.top + e.height, {i}});
        }
        isGrower[size_t(i)] = 1;
    }
    std::sort(bnds.begin(), bnds.end(), [](const Boundary &a, const Boundary &b) { return a.top < b.top; });

    int origin = c.y;
    const int n = int(bnds.size());
    for (int b = 0; b <= n && !stopped(); ++b) {
        const int bandTop = b == 0 ? 0 : bnds[size_t(b - 1)].bottom;
        const int bandBottom = b < n ? bnds[size_t(b)].bottom : std::max(s.height, bandTop);
        if (!c.noPaging && (b > 0 || n > 0) && c.pageBottom - root().footerHeight(c.page) - origin < bandBottom
            && origin + bandTop > root().headerHeight(c.page)) {
            pageBreak();
            if (stopped())
                break;
            origin = c.y - bandTop;
        }
        // fixed elements whose top lies in this band
        for (int i = int(s.elements.size()) - 1; i >= 0; --i) {
            const TSiReportElement &e = s.elements[size_t(i)];
            if (!pr[size_t(i)] || isGrower[size_t(i)] || e.kind == ekDetail)
                continue;
            int band = 0;
            while (band < n && e.top >= bnds[size_t(band)].bottom)
                ++band;
            if (band != b)
                continue;
            outputElement(s, i, c.page, origin + e.top, m_baseX + m_xOffset + e.left, e.height);
        }
        if (b == n)
            break;
        const Boundary &bd = bnds[size_t(b)];
        const int startPage = c.page;
        End best{startPage, std::numeric_limits<int>::min()};
        for (int gi : bd.growers) {
            c.page = startPage;
            const End e = layoutGrower(s, gi, startPage, origin);
            if (e.page > best.page || (e.page == best.page && e.bottom > best.bottom))
                best = e;
        }
        c.page = best.page;
        r.run.pageNumber = c.page + 1;
        root().r.run.pageNumber = c.page + 1;
        origin = best.bottom - bd.bottom;
    }
    c.y = origin + s.height;
}

void Composer::layoutSection(int kind)
{
    if (stopped() || !progress())
        return;
    const TOddilSestavy &s = sec(kind);
    if (!s.visible)
        return;
    if (r.onTiskOddilu && !r.onTiskOddilu(kind))
        return;
    const bool masterStart = kind == skReportStart && !nested();
    const bool endWithoutFooter = kind == skReportEnd && d.noFooterOnLastPage();
    if (kind != skPageHeader && kind != skPageFooter && !masterStart && !endWithoutFooter
        && (root().r.m_newPageRequest || r.m_newPageRequest || !fits(s.height))) {
        pageBreak();
        r.m_newPageRequest = false;
        root().r.m_newPageRequest = false;
        if (stopped())
            return;
    }
    r.run.pageNumber = c.page + 1;
    if (kind == skBody && d.columns > 1) {
        layoutFixed(s, c.y, m_xOffset, c.page);
        if (m_column < d.columns) {
            ++m_column;
            m_xOffset += (printableWidth() + d.columnGap) / d.columns;
        } else {
            m_column = 1;
            m_xOffset = 0;
            c.y += s.height;
        }
        return;
    }
    layoutBands(s);
    if (d.grid.rasterType == 1) {
        const double lh = d.grid.lineHeight();
        if (lh > 0)
            c.y = int(std::ceil(std::ceil(c.y / lh - 1e-6) * lh - 1e-6));
    }
}

void Composer::refreshValues(bool includeStart, bool includeEnd)
{
    for (TOddilSestavy &s : d.sections) {
        if ((s.kind == skReportStart && !includeStart) || (s.kind == skReportEnd && !includeEnd))
            continue;
        for (TSiReportElement &e : s.elements) {
            if (e.kind != ekField)
                continue;
            const std::optional<TCalcType> v = r.fieldValue(e.reference);
            e.value = v ? *v : TCalcType::fromText(QStringLiteral("????"));
        }
    }
}

void Composer::prepareElements(bool includeEnd)
{
    m_printable.resize(d.sections.size());
    for (size_t k = 0; k < d.sections.size(); ++k) {
        TOddilSestavy &s = d.sections[k];
        auto &pr = m_printable[k];
        pr.resize(s.elements.size(), 1);
        if (s.kind == skReportEnd && !includeEnd)
            continue;
        for (size_t i = 0; i < s.elements.size(); ++i) {
            TSiReportElement &e = s.elements[i];
            bool show = e.condition.trimmed().isEmpty() || testCondition(e.condition, &r);
            if (show && e.handler && r.onPrintElement)
                show = r.onPrintElement(e);
            pr[i] = show;
        }
    }
}

void Composer::evaluateFunctions()
{
    r.evaluateFunctions();
    if (r.onVypoctiFunkce)
        r.onVypoctiFunkce();
}

void Composer::recordStep()
{
    const int ng = int(d.groups.size());
    QStringList texts;
    int changedFrom = -1;
    for (int k = 0; k < ng; ++k) {
        texts << evaluateText(d.groups[size_t(k)].effectiveExpression(), &r);
        if (changedFrom < 0 && texts[k] != d.groups[size_t(k)].previousText)
            changedFrom = k;
    }
    int need = 0;
    bool brk = false;
    if (changedFrom >= 0) {
        if (d.columns > 1 && m_column > 1) {
            m_column = 1;
            m_xOffset = 0;
            c.y += visibleHeight(skBody);
        }
        for (int k = ng - 1; k >= changedFrom; --k) {
            TPolSkup &g = d.groups[size_t(k)];
            g.changed = true;
            layoutSection(g.endSection());
            r.requestFunctionReset(frGroup0 + k);
            if (g.newPage)
                brk = true;
            need += visibleHeight(g.startSection());
        }
    }
    if (stopped())
        return;
    if (d.newPageForEachBody())
        brk = true;
    if (!c.noPaging && c.pageBottom - root().footerHeight(c.page) - c.y < visibleHeight(skBody) + need)
        brk = true;
    if (c.noPaging)
        brk = false;
    if (brk)
        pageBreak();
    r.run.lineNumber += 1;
    for (int k = 0; k < ng; ++k) {
        TPolSkup &g = d.groups[size_t(k)];
        g.lineNumber += 1;
        if (changedFrom >= 0 && k >= changedFrom) {
            g.lineNumber = 1;
            g.sequenceNumber = k > changedFrom ? 1 : g.sequenceNumber + 1;
        }
        g.previousText = texts[k];
    }
    refreshValues(false, false);
    if (brk)
        r.requestFunctionReset(frPage);
    evaluateFunctions();
    prepareElements(false);
    if (changedFrom >= 0)
        for (int k = changedFrom; k < ng; ++k) {
            layoutSection(d.groups[size_t(k)].startSection());
            d.groups[size_t(k)].changed = false;
        }
    if (c.page + 1 > root().r.endPage)
        c.stop = true;
}

void Composer::runBody(bool detailMode)
{
    ReportDataSource *src = r.dataSource;
    bool first = true;
    int laidOut = 0;
    for (;;) {
        if (!first)
            recordStep();
        if (stopped())
            break;
        if (first && !fits(visibleHeight(skBody)))
            pageBreak();
        layoutSection(skBody);
        first = false;
        ++laidOut;
        ++c.records;
        if (stopped() || r.tiskJedenZaznam || (r.maxRecords > 0 && laidOut >= r.maxRecords))
            break;
        if (!src || src->eof())
            break;
        src->next();
        if (src->eof())
            break;
    }
    if (!c.cancel) {
        if (d.columns > 1 && m_column > 1) {
            m_column = 1;
            m_xOffset = 0;
            c.y += visibleHeight(skBody);
        }
        for (int k = int(d.groups.size()) - 1; k >= 0; --k)
            layoutSection(d.groups[size_t(k)].endSection());
    }
    if (!stopped() && sec(skReportEnd).visible && d.pageBreakBeforeEnd() && !detailMode)
        pageBreak();
    refreshValues(false, true);
    prepareElements(true);
    if (!c.cancel)
        reportEnd();
}

void Composer::reportEnd()
{
    const TOddilSestavy &end = sec(skReportEnd);
    if (c.noPaging && !nested())
        c.pageBottom = c.y + visibleHeight(skReportEnd) + visibleHeight(skPageFooter);
    if (end.visible && !c.stop) {
        if (d.endAlignedToFooter() && !nested()) {
            const bool footerCounts = sec(skPageFooter).visible && !d.noFooterOnLastPage() && !d.footerOnFirstPageOnly();
            const int target = c.pageBottom - end.height - (footerCounts ? sec(skPageFooter).height : 0);
            if (target < c.y)
                pageBreak();
            c.y = std::max(c.y, target);
        }
        layoutSection(skReportEnd);
    }
    if (nested() || c.stop)
        return;
    // The last page gets its footer; with "footer on the first page only" a
    // one-page report keeps the footer of its first page.
    if (!d.noFooterOnLastPage() && (!d.footerOnFirstPageOnly() || c.page == 0))
        layoutFooter(c.page);
}

void Composer::runNested()
{
    ReportDataSource *src = r.dataSource;
    if (!src || !src->isOpen())
        return;
    src->first();
    if (src->eof())
        return;
    r.run.printed = root().r.run.printed;
    r.run.lineNumber = 1;
    r.run.pageNumber = c.page + 1;
    for (TPolSkup &g : d.groups) {
        g.lineNumber = 1;
        g.sequenceNumber = 1;
        g.changed = false;
        g.previousText = evaluateText(g.effectiveExpression(), &r);
    }
    r.prepareFunctions();
    refreshValues(true, false);
    evaluateFunctions();
    prepareElements(false);
    layoutSection(skReportStart);
    for (size_t k = 0; k < d.groups.size(); ++k)
        layoutSection(d.groups[k].startSection());
    runBody(true);
}

TSestError Composer::runMaster()
{
    ReportDataSource *src = r.dataSource;
    if (src && src->isOpen() && !r.tiskJedenZaznam)
        src->first();
    c.store->pages.clear();
    c.store->pages.emplace_back();
    c.page = 0;
    c.y = 0;
    c.pageBottom = c.noPaging ? std::numeric_limits<int>::max() / 4 : c.store->printableHeight();
    m_column = 1;
    m_xOffset = 0;
    r.run.printed = QDateTime::currentDateTime();
    r.run.lineNumber = 1;
    r.run.pageNumber = 1;
    r.run.pageCount = 0;
    r.m_newPageRequest = false;
    for (TPolSkup &g : d.groups) {
        g.lineNumber = 1;
        g.sequenceNumber = 1;
        g.changed = false;
        g.previousText = evaluateText(g.effectiveExpression(), &r);
    }
    r.prepareFunctions();
    refreshValues(true, false);
    evaluateFunctions();
    prepareElements(false);

    const bool startVisible = sec(skReportStart).visible;
    if (startVisible)
        layoutSection(skReportStart);
    if (startVisible && d.pageBreakAfterStart()) {
        pageBreak();
    } else if (!d.noHeaderOnFirstPage()) {
        // on the first page the header follows the report start
        const int y0 = c.y;
        layoutHeader(0, y0);
        c.y = y0 + headerHeight(0);
    }
    if (!stopped())
        for (size_t k = 0; k < d.groups.size(); ++k)
            layoutSection(d.groups[k].startSection());
    runBody(false);

    // The page count: pages up to the last page to print.
    const int count = std::min(int(c.store->pages.size()), r.endPage);
    r.run.pageCount = count;
    for (const Cursor::PageCountRef &ref : c.pageCountElements) {
        for (OutputElement &o : c.store->pages[size_t(ref.page)].elements) {
            if (o.number != ref.number)
                continue;
            const std::optional<QString> t = r.systemValueText(4, o.el.text);
            o.el.value = TCalcType::fromText(t.value_or(QStringLiteral("????")));
            o.lines = layoutText(o.el.value.text, o.el, o.el.width, o.el.multiLine());
        }
    }
    return c.cancel ? sePreruseno : seOK;
}

TSestError TSestavaD::compose(bool noPaging)
{
    pages.pageSetup = processPageSetup();
    pages.grid = def.grid;
    pages.background = def.background;
    pages.printBackground = def.background.own ? def.background.print : printBackground;
    Cursor cur;
    cur.store = &pages;
    cur.noPaging = noPaging;
    Composer comp(*this, cur, nullptr, 0);
    TSestError e = seOK;
    try {
        e = comp.runMaster();
    } catch (...) {
        if (progressEndHandler())
            progressEndHandler()();
        throw;
    }
    if (progressEndHandler())
        progressEndHandler()();
    if (noPaging) {
        // one page as long as its content
        const int contentHeight = cur.pageBottom;
        PageSetup &ps = pages.pageSetup;
        const int h = contentHeight + ps.marginTop + ps.marginBottom;
        if (ps.orientation == 1)
            ps.paperWidth = h;
        else
            ps.paperHeight = h;
    }
    return e;
}

} // namespace tz::rep
