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

} // namespace velmora
