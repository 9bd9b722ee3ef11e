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

// Splits Windows-1250 bytes into decoded lines, one line at a time, so that a long
// program is never held as one decoded text besides its lines.
static QStringList decodeLines(QByteArrayView bytes) {
    QStringList lines;
    const char *d = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i)
        if (d[i] == '\n' || (d[i] == '\r' && !(i + 1 < n && d[i + 1] == '\n')))
            ++count;
    lines.reserve(count + 1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = d[i];
        if (c == '\r' || c == '\n') {
            lines.append(decodeCp1250(bytes.sliced(start, i - start)));
            if (c == '\r' && i + 1 < n && d[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(decodeCp1250(bytes.sliced(start)));
    return lines;
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
    r.lines = decodeLines(bytes);
    r.ok = true;
    return r;
}

QByteArray cp1250ToUtf8Crlf(QByteArrayView bytes) {
    // The UTF-8 form of every byte, made once from the codec itself.
    struct Table {
        char seq[256][4];
        unsigned char len[256];
        Table() {
            for (int b = 0; b < 256; ++b) {
                const char c = char(b);
                const QByteArray u = decodeCp1250(QByteArrayView(&c, 1)).toUtf8();
                len[b] = static_cast<unsigned char>(u.size());
                for (int k = 0; k < u.size() && k < 4; ++k)
                    seq[b][k] = u[k];
            }
        }
    };
    static const Table t;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = p + bytes.size();
    // The exact size first, so that a large program is not held in an oversized buffer.
    qsizetype size = 0;
    for (const unsigned char *q = p; q < end; ++q) {
        const unsigned char b = *q;
        if (b == '\n' || (b == '\r' && !(q + 1 < end && q[1] == '\n')))
            size += 2;
        else if (b == '\r')
            size += 0; // counted with its LF
        else
            size += t.len[b];
    }
    QByteArray out;
    out.resize(size);
    char *o = out.data();
    char *const base = o;
    while (p < end) {
        const unsigned char b = *p++;
        if (b < 0x80 && b != '\r' && b != '\n') {
            *o++ = char(b);
        } else if (b == '\r' || b == '\n') {
            if (b == '\r' && p < end && *p == '\n')
                ++p;
            *o++ = '\r';
            *o++ = '\n';
        } else {
            for (int k = 0; k < t.len[b]; ++k)
                *o++ = t.seq[b][k];
        }
    }
    Q_ASSERT(o - base == size);
    out.truncate(o - base);
    return out;
}

bool loadTextFileUtf8(const QString &path, QByteArray &utf8, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    utf8 = cp1250ToUtf8Crlf(bytes);
    return true;
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
