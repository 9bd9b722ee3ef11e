#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace velmora {
namespace {

QString &folderOverride() {
    static QString f;
    return f;
}

QString withSlash(QString s) {
    if (!s.endsWith(QLatin1Char('/')))
        s += QLatin1Char('/');
    return s;
}

} // namespace

QString localFolder(const QString &stored) {
    const QString f = stored.trimmed();
    if (!f.isEmpty() && QFileInfo(f).isDir())
        return QFileInfo(f).absoluteFilePath();
    return QDir::homePath();
}

QString programFolder() {
    if (!folderOverride().isEmpty())
        return folderOverride();
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QDir::currentPath());
}

void setProgramFolder(const QString &folder) {
    folderOverride() = folder.isEmpty() ? QString() : withSlash(QDir(folder).absolutePath());
}

QString findFileNoCase(const QString &base, const QString &relative) {
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString direct = withSlash(base) + rel;
    if (QFileInfo::exists(direct))
        return direct;
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString cur = withSlash(base);
    for (int i = 0; i < parts.size(); ++i) {
        const QDir dir(cur);
        QString found;
        if (dir.exists()) {
            const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &n : names) {
                if (n.compare(parts[i], Qt::CaseInsensitive) == 0) {
                    found = n;
                    if (n == parts[i])
                        break;
                }
            }
        }
        if (found.isEmpty())
            return direct;
        cur += found;
        if (i + 1 < parts.size())
            cur += QLatin1Char('/');
    }
    return cur;
}

QString programFile(const QString &relative) { return findFileNoCase(programFolder(), relative); }

QString setupIniPath() { return programFile(QStringLiteral("SetupCNC.ini")); }

} // namespace velmora
