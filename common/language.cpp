#include "common/language.h"

#include "common/ini.h"
#include "common/programfolder.h"

namespace velmora {
namespace {

QString &current() {
    static QString name;
    return name;
}

} // namespace

QString currentLanguageFile() { return current(); }
void setCurrentLanguageFile(const QString &fileName) { current() = fileName; }

QString currentLanguagePath() {
    if (current().isEmpty())
        return QString();
    return programFile(QStringLiteral("Language/") + current());
}

QString expandLineBreaks(const QString &value) {
    const QLatin1String marker("#13");
    if (!value.contains(marker))
        return value;
    QString out;
    qsizetype pos = 0;
    while (pos < value.size()) {
        const qsizetype m = value.indexOf(marker, pos);
        if (m < 0) {
            out += value.mid(pos);
            out += QLatin1Char('\r');
            break;
        }
        out += value.mid(pos, m - pos);
        out += QLatin1Char('\r');
        pos = m + 4; // the marker and the one character after it
    }
    return out;
}

QString languageText(const QString &section, const QString &key) {
    const QString path = currentLanguagePath();
    if (path.isEmpty())
        return QStringLiteral("Error");
    return expandLineBreaks(IniFile(path).readString(section, key, QStringLiteral("Error")));
}

QString languageText(const QString &section, const QString &key, const QString &builtIn) {
    const QString path = currentLanguagePath();
    if (path.isEmpty())
        return builtIn;
    const IniFile ini(path);
    if (!ini.hasKey(section, key))
        return builtIn;
    return expandLineBreaks(ini.readString(section, key));
}

QStringList splitDelimitedText(const QString &text) {
    QStringList items;
    const auto blank = [&](qsizetype i) { return i < text.size() && text[i].unicode() > 0 && text[i].unicode() <= ' '; };
    qsizetype p = 0;
    while (blank(p))
        ++p;
    while (p < text.size()) {
        QString item;
        if (text[p] == QLatin1Char('"')) {
            ++p;
            while (p < text.size()) {
                if (text[p] == QLatin1Char('"')) {
                    if (p + 1 < text.size() && text[p + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            const qsizetype from = p;
            while (p < text.size() && text[p].unicode() > ' ' && text[p] != QLatin1Char(','))
                ++p;
            item = text.mid(from, p - from);
        }
        items << item;
        while (blank(p))
            ++p;
        if (p < text.size() && text[p] == QLatin1Char(',')) {
            if (p + 1 == text.size())
                items << QString();
            do
                ++p;
            while (blank(p));
        }
    }
    return items;
}

bool parseIndexedKey(const QString &key, IndexedKey &out) {
    const qsizetype dot = key.lastIndexOf(QLatin1Char('.'));
    const qsizetype open = key.indexOf(QLatin1Char('['), dot + 1);
    if (dot <= 0 || open < 0 || !key.endsWith(QLatin1Char(']')))
        return false;
    const QString word = key.mid(dot + 1, open - dot - 1).toLower();
    bool ok = false;
    const int index = key.mid(open + 1, key.size() - open - 2).toInt(&ok);
    if (!ok || index < 0)
        return false;
    if (word == QLatin1String("items"))
        out.column = false;
    else if (word == QLatin1String("columns") || word == QLatin1String("colums"))
        out.column = true;
    else
        return false;
    out.component = key.left(dot);
    out.index = index;
    return true;
}

QString languageItemName(const QString &fileName) {
    if (fileName.size() <= 4 || !fileName.endsWith(QLatin1String(".lng"), Qt::CaseInsensitive))
        return QString();
    return fileName.left(fileName.size() - 4);
}

} // namespace velmora
