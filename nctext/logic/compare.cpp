#include "nctext/logic/compare.h"

#include "common/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace velmora {

namespace {
const QString kStars(36, u'*');

bool sameFileName(const QString &a, const QString &b) {
    return QFileInfo(a).absoluteFilePath().compare(QFileInfo(b).absoluteFilePath(), Qt::CaseInsensitive) == 0;
}
} // namespace

QString shortDate(const QDate &date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

void compareLines(const QStringList &original, const QStringList &compared, CompareResult &result) {
    for (qsizetype i = 0; i < original.size(); ++i) {
        if (i >= compared.size()) {
            result.report << kStars << QStringLiteral("Konec  porovnávaného  souboru");
            result.different = true;
            return;
        }
        if (original.at(i).compare(compared.at(i), Qt::CaseInsensitive) != 0) {
            result.report << kStars << QStringLiteral("Original    : ") + original.at(i)
                          << QStringLiteral("Porovnávaný : ") + compared.at(i);
            result.different = true;
        }
    }
    // Lines the compared file has beyond the original are no part of the
    // report, but the files are not the same.
    if (compared.size() > original.size())
        result.different = true;
}

CompareResult compareFiles(const QString &original, const QString &compared) {
    CompareResult result;
    if (sameFileName(original, compared)) {
        result.report << QStringLiteral("Soubory se rovnají");
        return result;
    }
    const QFileInfo a(original), b(compared);
    result.report << QStringLiteral("Soubory jsou rozdílné.") << QStringLiteral("Nalezené rozdíly: ") << kStars;
    for (const QFileInfo *f : {&a, &b})
        if (!f->isFile()) {
            result.error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(f->filePath()),
                                                        f->exists() ? QStringLiteral("is not a file")
                                                                    : QStringLiteral("no such file"));
            return result;
        }
    result.report << QStringLiteral("Original má velikost    : ") + QString::number(a.size())
                  << QStringLiteral("Porovnávaný má velikost : ") + QString::number(b.size()) << kStars
                  << QStringLiteral("Original má datum vytvoření    : ") + shortDate(a.lastModified().date())
                  << QStringLiteral("Porovnávaný má datum vytvoření : ") + shortDate(b.lastModified().date());
    const LoadResult la = loadTextFile(original);
    if (!la.ok) {
        result.error = QStringLiteral("%1: %2").arg(original, la.error);
        return result;
    }
    const LoadResult lb = loadTextFile(compared);
    if (!lb.ok) {
        result.error = QStringLiteral("%1: %2").arg(compared, lb.error);
        return result;
    }
    compareLines(la.lines, lb.lines, result);
    return result;
}

} // namespace velmora
