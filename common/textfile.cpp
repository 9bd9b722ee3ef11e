#include "common/textfile.h"

#include "common/codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace velmora {

QStringList splitLines(QStringView text) {
    QStringList lines;
    const qsizetype n = text.size();
    const QChar *d = text.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = d[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start).toString());
            if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

QString joinLines(const QStringList &lines) {
    qsizetype total = 0;
    for (const QString &l : lines)
        total += l.size() + 2;
    QString out;
    out.reserve(total);
    for (const QString &l : lines) {
        out += l;
        out += QLatin1String("\r\n");
    }
    return out;
}

LoadResult loadTextFile(const QString &path) {
    LoadResult r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = f.errorString();
        return r;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        r.error = f.errorString();
        return r;
    }
    r.lines = splitLines(decodeCp1250(bytes));
    r.ok = true;
    return r;
}

SaveResult encodeLines(const QStringList &lines, QByteArray &out) {
    SaveResult r;
    qsizetype total = 0;
    for (const QString &l : lines)
        total += l.size() + 2;
    out.clear();
    out.reserve(total);
    QByteArray enc;
    for (int i = 0; i < lines.size(); ++i) {
        qsizetype bad = -1;
        if (!encodeCp1250(lines[i], enc, &bad)) {
            r.badLine = i;
            r.badColumn = int(bad);
            r.error = QStringLiteral("line %1 holds the character \"%2\" (U+%3), which the Windows-1250 code page cannot store")
                          .arg(i + 1)
                          .arg(lines[i].at(bad))
                          .arg(lines[i].at(bad).unicode(), 4, 16, QLatin1Char('0'));
            out.clear();
            return r;
        }
        out += enc;
        out += "\r\n";
    }
    r.ok = true;
    return r;
}

bool saveBytesAtomically(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (error)
            *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

SaveResult saveTextFile(const QString &path, const QStringList &lines) {
    QByteArray bytes;
    SaveResult r = encodeLines(lines, bytes);
    if (!r.ok)
        return r;
    if (!saveBytesAtomically(path, bytes, &r.error))
        r.ok = false;
    return r;
}

} // namespace velmora
