#pragma once
// Text files: Windows-1250 bytes, CR LF line ends, atomic saving.
#include <QString>
#include <QStringList>

namespace velmora {

// Splits text into lines. CR LF, LF and CR all end a line; a line end at the
// very end does not start another line, so an empty text has no lines.
QStringList splitLines(QStringView text);

// Every line followed by CR LF.
QString joinLines(const QStringList &lines);

struct LoadResult {
    bool ok = false;
    QStringList lines;
    QString error; // why the file could not be read
};

// Reads a Windows-1250 text file into lines.
LoadResult loadTextFile(const QString &path);

// Reads a Windows-1250 text file straight into UTF-8 text, for an editor that keeps
// UTF-8: every line end (CR LF, LF or CR) becomes CR LF. False with a reason when the
// file cannot be read.
bool loadTextFileUtf8(const QString &path, QByteArray &utf8, QString *error = nullptr);
// The same conversion of bytes already read.
QByteArray cp1250ToUtf8Crlf(QByteArrayView bytes);

struct SaveResult {
    bool ok = false;
    QString error;     // why the file could not be written
    int badLine = -1;  // 0-based line holding a character Windows-1250 cannot hold
    int badColumn = -1;// 0-based position of that character in the line
};

// Writes the lines as Windows-1250 with CR LF after each line. The file is
// written beside the target and renamed over it, so a failed save leaves the
// previous file intact. Nothing is written when a character cannot be encoded.
SaveResult saveTextFile(const QString &path, const QStringList &lines);

// Writes raw bytes atomically (temporary file beside the target, then rename).
bool saveBytesAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Encodes lines for a file or a stream; fails like saveTextFile on a character
// Windows-1250 cannot hold.
SaveResult encodeLines(const QStringList &lines, QByteArray &out);

} // namespace velmora
