#pragma once
// Windows-1250 text: one byte is one QChar, lossless for all 256 byte values.
#include <QByteArray>
#include <QString>

namespace velmora {

// Decodes Windows-1250 bytes. The five bytes the code page leaves undefined
// (81, 83, 88, 90, 98) become the C1 control characters of the same value,
// so that encoding gives the very same bytes back.
QString decodeCp1250(QByteArrayView bytes);
// The same into `out`, whose buffer is reused.
void decodeCp1250(QByteArrayView bytes, QString &out);

// Encodes text as Windows-1250. Returns false when a character has no byte
// in the code page; *badIndex then holds its index in the text.
bool encodeCp1250(QStringView text, QByteArray &out, qsizetype *badIndex = nullptr);

// True when the character has a Windows-1250 byte.
bool isCp1250(QChar c);

// The byte for a character, or -1 when it has none.
int cp1250Byte(QChar c);

} // namespace velmora
