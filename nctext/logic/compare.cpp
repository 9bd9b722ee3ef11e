#include "nctext/logic/compare.h"

#include "common/codec.h"
#include "common/textfile.h"

#include <QFile>

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
// Equal without regard to case: ASCII folded directly, other characters by
// their case folding. Most lines are equal as they stand, which is tested first.
bool equalIgnoringCase(const QString &a, const QString &b) {
    if (a.size() != b.size())
        return a.compare(b, Qt::CaseInsensitive) == 0; // folding may change lengths (rare)
    const QChar *x = a.constData(), *y = b.constData();
    for (qsizetype i = 0, n = a.size(); i < n; ++i) {
        char16_t p = x[i].unicode(), q = y[i].unicode();
        if (p == q)
            continue;
        if (p < 128 && q < 128) {
            if (p >= u'A' && p <= u'Z')
                p += 32;
            if (q >= u'A' && q <= u'Z')
                q += 32;
            if (p != q)
                return false;
        } else if (QChar(p).toCaseFolded() != QChar(q).toCaseFolded()) {
            return a.compare(b, Qt::CaseInsensitive) == 0;
        }
    }
    return true;
}

bool readAll(const QString &path, QByteArray &bytes, QString &error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

// The next line of Windows-1250 text from `pos`: CR LF, LF and CR end a line;
// a line end at the very end starts no further line.
bool nextLine(const QByteArray &text, qsizetype &pos, QByteArrayView &line) {
    const qsizetype n = text.size();
    if (pos >= n)
        return false;
    const char *d = text.constData();
    qsizetype e = pos;
    while (e < n && d[e] != '\r' && d[e] != '\n')
        ++e;
    line = QByteArrayView(d + pos, e - pos);
    if (e < n && d[e] == '\r' && e + 1 < n && d[e + 1] == '\n')
        ++e;
    pos = e + 1;
    return true;
}

// Two lines of Windows-1250 bytes, equal without regard to case.
bool equalBytesIgnoringCase(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return equalIgnoringCase(decodeCp1250(a), decodeCp1250(b));
    for (qsizetype i = 0; i < a.size(); ++i) {
        uchar p = uchar(a[i]), q = uchar(b[i]);
        if (p == q)
            continue;
        if (p < 128 && q < 128) {
            if (p >= 'A' && p <= 'Z')
                p += 32;
            if (q >= 'A' && q <= 'Z')
                q += 32;
            if (p != q)
                return false;
        } else {
            return equalIgnoringCase(decodeCp1250(a), decodeCp1250(b));
        }
    }
    return true;
}

// The line-by-line part on the files' bytes: lines are decoded only for the report.
void compareBytes(const QByteArray &original, const QByteArray &compared, CompareResult &result) {
    qsizetype pa = 0, pb = 0;
    QByteArrayView la, lb;
    while (nextLine(original, pa, la)) {
        if (!nextLine(compared, pb, lb)) {
            result.report << kStars << QStringLiteral("Konec  porovnávaného  souboru");
            result.different = true;
            return;
        }
        if (la != lb && !equalBytesIgnoringCase(la, lb)) {
            result.report << kStars << QStringLiteral("Original    : ") + decodeCp1250(la)
                          << QStringLiteral("Porovnávaný : ") + decodeCp1250(lb);
            result.different = true;
        }
    }
    if (nextLine(compared, pb, lb))
        result.different = true; // lines beyond the original: not listed, but the files differ
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
        if (!equalIgnoringCase(original.at(i), compared.at(i))) {
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
    QByteArray ba, bb;
    if (!readAll(original, ba, result.error) || !readAll(compared, bb, result.error))
        return result;
    compareBytes(ba, bb, result);
    return result;
}

} // namespace velmora
