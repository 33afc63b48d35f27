#include "inifile.h"
#include "codepage.h"

#include <QFile>
#include <QSaveFile>

namespace tz {

IniFile::IniFile(const QString &path) : m_path(path) {}

bool IniFile::load()
{
    m_preamble.clear();
    m_sections.clear();
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString text = decode(f.readAll(), CodePage::Cp1250);
    Section *cur = nullptr;
    for (QString raw : text.split(QLatin1Char('\n'))) {
        if (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        const QString t = raw.trimmed();
        Line line;
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
            m_sections.push_back({t.mid(1, t.size() - 2).trimmed(), {}});
            cur = &m_sections.back();
            continue;
        }
        const int eq = raw.indexOf(QLatin1Char('='));
        if (eq > 0 && !t.startsWith(QLatin1Char(';'))) {
            line.key = raw.left(eq).trimmed();
            line.value = raw.mid(eq + 1);
            line.isEntry = true;
        } else {
            line.value = raw;
        }
        (cur ? cur->lines : m_preamble).push_back(line);
    }
    // a trailing line break leaves one empty comment line behind
    auto &last = m_sections.isEmpty() ? m_preamble : m_sections.back().lines;
    if (!last.isEmpty() && !last.back().isEntry && last.back().value.isEmpty())
        last.pop_back();
    return true;
}

bool IniFile::save() const
{
    QString out;
    auto put = [&out](const QVector<Line> &lines) {
        for (const Line &l : lines)
            out += (l.isEntry ? l.key + QLatin1Char('=') + l.value : l.value) + QLatin1String("\r\n");
    };
    put(m_preamble);
    for (const Section &s : m_sections) {
        out += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        put(s.lines);
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(encode(out, CodePage::Cp1250));
    return f.commit();
}

const IniFile::Line *IniFile::find(const QString &section, const QString &key) const
{
    for (const Section &s : m_sections) {
        if (s.name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line &l : s.lines)
            if (l.isEntry && l.key.compare(key, Qt::CaseInsensitive) == 0)
                return &l;
    }
    return nullptr;
}

IniFile::Section &IniFile::sectionFor(const QString &name)
{
    for (Section &s : m_sections)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s;
    m_sections.push_back({name, {}});
    return m_sections.back();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const Line *l = find(section, key);
    return l ? l->value : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const Line *l = find(section, key);
    if (!l)
        return def;
    bool ok = false;
    const int v = l->value.trimmed().toInt(&ok);
    return ok ? v : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    const Line *l = find(section, key);
    if (!l)
        return def;
    bool ok = false;
    const int v = l->value.trimmed().toInt(&ok);
    return ok ? v != 0 : def;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return find(section, key) != nullptr;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionFor(section);
    for (Line &l : s.lines)
        if (l.isEntry && l.key.compare(key, Qt::CaseInsensitive) == 0) {
            l.value = value;
            return;
        }
    Line l;
    l.key = key;
    l.value = value;
    l.isEntry = true;
    s.lines.push_back(l);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString &section)
{
    for (int i = 0; i < m_sections.size(); ++i)
        if (m_sections[i].name.compare(section, Qt::CaseInsensitive) == 0)
            m_sections.removeAt(i--);
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    for (const Section &s : m_sections)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            for (const Line &l : s.lines)
                if (l.isEntry)
                    out << l.key;
    return out;
}

} // namespace tz
