#include "common/ini.h"

#include "common/textfile.h"

#include <QFileInfo>

namespace velmora {
namespace {

constexpr int kMaxValue = 2047;

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView trimmed(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// Section name of a line "[name]", or a null view.
bool sectionName(QStringView line, QStringView &name) {
    const QStringView t = trimmed(line);
    if (t.size() < 2 || t.front() != u'[')
        return false;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return false;
    name = trimmed(t.mid(1, close - 1));
    return true;
}

bool keyOf(QStringView line, QStringView &key, QStringView &raw) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    key = trimmed(line.left(eq));
    raw = line.mid(eq + 1);
    return true;
}

// Names read from a file are trimmed, so a name asked for is compared trimmed too
// (a template tab's caption begins with a blank).
bool same(QStringView a, QStringView b) { return trimmed(a).compare(trimmed(b), Qt::CaseInsensitive) == 0; }

// Line range [begin, end) of the body of the first section of that name; begin is the header line.
bool findSection(const QStringList &lines, const QString &section, int &header, int &end) {
    header = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QStringView name;
        if (sectionName(lines[i], name)) {
            if (header >= 0) {
                end = i;
                return true;
            }
            if (same(name, section))
                header = i;
        }
    }
    if (header < 0)
        return false;
    end = int(lines.size());
    return true;
}

int findKey(const QStringList &lines, int header, int end, const QString &key) {
    for (int i = header + 1; i < end; ++i) {
        QStringView k, raw;
        if (keyOf(lines[i], k, raw) && same(k, key))
            return i;
    }
    return -1;
}

QString removeTrailingBlanks(const QString &s) {
    qsizetype e = s.size();
    while (e > 0 && isBlank(s[e - 1]))
        --e;
    return s.left(e);
}

} // namespace

QString iniValue(QStringView raw) {
    QStringView v = trimmed(raw);
    if (v.size() >= 2 && ((v.front() == u'"' && v.back() == u'"') || (v.front() == u'\'' && v.back() == u'\'')))
        v = v.mid(1, v.size() - 2);
    if (v.size() > kMaxValue)
        v = v.left(kMaxValue);
    return v.toString();
}

IniData IniData::parse(const QStringList &lines) {
    IniData d;
    IniSection *cur = nullptr;
    for (const QString &line : lines) {
        QStringView name;
        if (sectionName(line, name)) {
            d.sections.append(IniSection{name.toString(), {}});
            cur = &d.sections.last();
            continue;
        }
        QStringView key, raw;
        if (cur && keyOf(line, key, raw) && !key.isEmpty())
            cur->entries.append(IniEntry{key.toString(), iniValue(raw)});
    }
    return d;
}

const IniSection *IniData::section(const QString &name) const {
    for (const IniSection &s : sections)
        if (same(s.name, name))
            return &s;
    return nullptr;
}

bool parseIniInteger(QStringView text, int &value) {
    QStringView t = trimmed(text);
    bool neg = false;
    if (!t.isEmpty() && (t.front() == u'-' || t.front() == u'+')) {
        neg = t.front() == u'-';
        t = t.mid(1);
    }
    if (t.isEmpty())
        return false;
    int base = 10;
    if (t.front() == u'$') {
        base = 16;
        t = t.mid(1);
    } else if (t.size() > 2 && t[0] == u'0' && (t[1] == u'x' || t[1] == u'X')) {
        base = 16;
        t = t.mid(2);
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok, base);
    if (!ok || t.front() == u'-' || t.front() == u'+')
        return false;
    const qlonglong s = neg ? -v : v;
    if (base == 10 ? (s < INT_MIN || s > INT_MAX) : (v > 0xFFFFFFFFLL))
        return false;
    value = base == 16 ? int(quint32(v)) * (neg ? -1 : 1) : int(s);
    return true;
}

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QStringList IniFile::lines() const {
    LoadResult r = loadTextFile(path_);
    return r.ok ? r.lines : QStringList();
}

IniData IniFile::read() const { return IniData::parse(lines()); }

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const {
    const QStringList ls = lines();
    int header, end;
    if (findSection(ls, section, header, end)) {
        const int k = findKey(ls, header, end, key);
        if (k >= 0) {
            QStringView kk, raw;
            keyOf(ls[k], kk, raw);
            return iniValue(raw);
        }
    }
    return removeTrailingBlanks(def);
}

bool IniFile::hasKey(const QString &section, const QString &key) const {
    const QStringList ls = lines();
    int header, end;
    return findSection(ls, section, header, end) && findKey(ls, header, end, key) >= 0;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const {
    const QString s = readString(section, key);
    int v;
    return parseIniInteger(s, v) ? v : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const {
    return readInteger(section, key, def ? 1 : 0) != 0;
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const IniSection &s : read().sections) {
        bool dup = false;
        for (const QString &o : out)
            dup = dup || same(o, s.name);
        if (!dup)
            out.append(s.name);
    }
    return out;
}

QStringList IniFile::keys(const QString &section) const {
    QStringList out;
    if (const IniSection *s = read().section(section))
        for (const IniEntry &e : s->entries)
            out.append(e.key);
    return out;
}

bool IniFile::store(const QStringList &ls) {
    const SaveResult r = saveTextFile(path_, ls);
    if (!r.ok)
        error_ = r.error;
    return r.ok;
}

bool IniFile::writeSection(const QString &section, const QList<QPair<QString, QString>> &values) {
    QStringList ls = lines();
    for (const auto &kv : values) {
        int header, end;
        const QString line = trimmed(kv.first).toString() + QLatin1Char('=') + kv.second;
        if (!findSection(ls, section, header, end)) {
            if (!ls.isEmpty() && !ls.last().trimmed().isEmpty())
                ls.append(QString());
            ls.append(QLatin1Char('[') + trimmed(section).toString() + QLatin1Char(']'));
            ls.append(line);
            continue;
        }
        const int k = findKey(ls, header, end, kv.first);
        if (k >= 0) {
            ls[k] = line;
        } else {
            int at = end; // after the last non-empty line of the section
            while (at > header + 1 && ls[at - 1].trimmed().isEmpty())
                --at;
            ls.insert(at, line);
        }
    }
    return store(ls);
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    return writeSection(section, {{key, value}});
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::eraseSection(const QString &section) {
    QStringList ls = lines();
    int header, end;
    if (!findSection(ls, section, header, end))
        return true;
    ls.erase(ls.begin() + header, ls.begin() + end);
    return store(ls);
}

bool IniFile::deleteKey(const QString &section, const QString &key) {
    QStringList ls = lines();
    int header, end;
    if (!findSection(ls, section, header, end))
        return true;
    const int k = findKey(ls, header, end, key);
    if (k < 0)
        return true;
    ls.removeAt(k);
    return store(ls);
}

} // namespace velmora
