#pragma once
// Helpers of the report engine tests: definitions from text lines, the texts
// of a composed page, a recorder of the engine's messages.
#include "definitionfile.h"
#include "sestava.h"

#include <QtTest>

namespace tzt {

inline void loadLines(tz::rep::TSestavaTyp &rep, const QStringList &lines)
{
    const tz::rep::LoadStatus st =
        tz::rep::loadDefinitionBytes(rep, tz::rep::encodeDefinition(lines), QStringLiteral("test.pts"), {.resolveFields = true});
    QVERIFY2(st.ok(), qPrintable(st.message));
}

// A text element line: tag, kind, reference, box, 10 pt Arial, left aligned.
inline QString text(const QString &tag, int kind, const QString &ref, int left, int top, int width, int height,
                    const QString &txt = {}, int layout = 0, const QString &cond = {}, int size = 10)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,Arial,%8,0,0,%9,0,238,\"%10\",0,0,0,\"%11\",0,\"\"")
        .arg(tag).arg(kind).arg(ref).arg(left).arg(top).arg(width).arg(height).arg(size).arg(layout).arg(txt, cond);
}

struct Placed {
    QString text;
    int left, top;
    int section;
};

// The text elements of a page, top to bottom, left to right.
inline std::vector<Placed> placed(const tz::rep::PageStore &s, int page)
{
    std::vector<Placed> out;
    for (const tz::rep::OutputElement &o : s.pages.at(size_t(page)).elements) {
        if (!o.isText())
            continue;
        QStringList lines;
        for (const auto &l : o.lines)
            lines << l.text;
        out.push_back({lines.join(u'\n'), o.box.left(), o.box.top(), o.sectionKind});
    }
    std::stable_sort(out.begin(), out.end(), [](const Placed &a, const Placed &b) {
        return a.top != b.top ? a.top < b.top : a.left < b.left;
    });
    return out;
}

inline QStringList texts(const tz::rep::PageStore &s, int page)
{
    QStringList l;
    for (const Placed &p : placed(s, page))
        l << p.text;
    return l;
}

struct MessageRecorder {
    struct Msg {
        tz::rep::MessageKind kind;
        QString caption, text;
    };
    std::vector<Msg> messages;
    bool answer = false;
    MessageRecorder()
    {
        tz::rep::setMessageHandler([this](tz::rep::MessageKind k, const QString &c, const QString &t) {
            messages.push_back({k, c, t});
            return answer;
        });
    }
    ~MessageRecorder() { tz::rep::setMessageHandler({}); }
};

} // namespace tzt
