// The INI rule on any text: parsing never fails, a value read back is the value the
// reading rule gives, and a written value reads back as the rule makes of it.
#include "common/codec.h"
#include "common/ini.h"
#include "common/textfile.h"
#include "fuzz/fuzz_check.h"

#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = velmora::decodeCp1250(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QStringList lines = velmora::splitLines(text);
    const velmora::IniData ini = velmora::IniData::parse(lines);
    for (const auto &s : ini.sections)
        for (const auto &e : s.entries) {
            FUZZ_CHECK(e.value.size() <= 2047);
            FUZZ_CHECK(!e.key.isEmpty());
        }
    if (size > 4096)
        return 0;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.ini"));
    velmora::saveTextFile(path, lines);
    velmora::IniFile file(path);
    // Every key of the first section of each name reads as its first entry.
    for (const auto &s : ini.sections) {
        const auto *first = ini.section(s.name);
        FUZZ_CHECK(first);
        if (first != &s || s.entries.isEmpty())
            continue;
        const auto &e = s.entries.first();
        bool earlier = false; // an earlier key of the same name in that section wins
        for (const auto &o : s.entries) {
            if (&o == &e)
                break;
            earlier = earlier || o.key.compare(e.key, Qt::CaseInsensitive) == 0;
        }
        if (!earlier && !s.name.contains(QLatin1Char(']')))
            FUZZ_CHECK(file.readString(s.name, e.key, QStringLiteral("zz")) == e.value);
    }
    // Writing a key and reading it back.
    const QString value = text.left(40).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    if (file.writeString(QStringLiteral("Fuzz"), QStringLiteral("Key"), value))
        FUZZ_CHECK(file.readString(QStringLiteral("Fuzz"), QStringLiteral("Key")) == velmora::iniValue(value) ||
                   ini.section(QStringLiteral("Fuzz")) != nullptr);
    return 0;
}
