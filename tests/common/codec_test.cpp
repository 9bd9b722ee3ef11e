#include "common/codec.h"
#include "common/textfile.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Codec, EveryByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeCp1250(all);
    ASSERT_EQ(text.size(), 256);
    QByteArray back;
    ASSERT_TRUE(encodeCp1250(text, back));
    EXPECT_EQ(back, all);
}

TEST(Codec, CzechLettersHaveTheirCodePoints) {
    const struct {
        unsigned char byte;
        char16_t unicode;
    } cases[] = {{0xE8, u'č'}, {0xF8, u'ř'}, {0x9A, u'š'}, {0x9E, u'ž'}, {0xEC, u'ě'}, {0xF9, u'ů'},
                 {0xC8, u'Č'}, {0xD8, u'Ř'}, {0x8A, u'Š'}, {0x80, u'€'}, {0xA0, u'\u00A0'}, {0x41, u'A'}};
    for (const auto &c : cases) {
        const QString s = decodeCp1250(QByteArray(1, char(c.byte)));
        EXPECT_EQ(s.at(0).unicode(), c.unicode) << std::hex << int(c.byte);
        EXPECT_EQ(cp1250Byte(QChar(c.unicode)), int(c.byte));
    }
}

TEST(Codec, RefusesCharactersOutsideTheCodePage) {
    QByteArray out;
    qsizetype bad = -1;
    EXPECT_FALSE(encodeCp1250(u"N10 ñ X1", out, &bad)); // ñ is not in Windows-1250
    EXPECT_EQ(bad, 4);
    EXPECT_FALSE(encodeCp1250(u"\u4E2D", out, &bad));
}

TEST(TextFile, SplitsEveryKindOfLineEnd) {
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {QString(), {}},
        {QStringLiteral("\r\n"), {QString()}},
        {QStringLiteral("a"), {"a"}},
        {QStringLiteral("a\r\nb\r\n"), {"a", "b"}},
        {QStringLiteral("a\nb"), {"a", "b"}},
        {QStringLiteral("a\rb\r"), {"a", "b"}},
        {QStringLiteral("a\r\n\r\nb"), {"a", "", "b"}},
        {QStringLiteral("a\n\rb"), {"a", "", "b"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text.toStdString();
}

TEST(TextFile, OpenAndSaveIsByteIdentical) {
    test::ScratchFolder dir;
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all.append(char(b));
    const QByteArray file = "N10 G0 X1\r\n" + all + "\r\n\r\nkonec\r\n";
    dir.write("a.nc", file);
    const LoadResult r = loadTextFile(dir.file("a.nc"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines.size(), 4);
    ASSERT_TRUE(saveTextFile(dir.file("b.nc"), r.lines).ok);
    EXPECT_EQ(dir.read("b.nc"), file);
}

TEST(TextFile, LfAndCrEndsAreWrittenBackAsCrLf) {
    test::ScratchFolder dir;
    dir.write("a.nc", "A\nB\rC");
    const LoadResult r = loadTextFile(dir.file("a.nc"));
    ASSERT_TRUE(saveTextFile(dir.file("a.nc"), r.lines).ok);
    EXPECT_EQ(dir.read("a.nc"), QByteArray("A\r\nB\r\nC\r\n"));
}

TEST(TextFile, UnencodableCharacterRefusesTheSaveAndKeepsTheOldFile) {
    test::ScratchFolder dir;
    dir.write("a.nc", "old\r\n");
    const SaveResult r = saveTextFile(dir.file("a.nc"), {"N10", QStringLiteral("N20 \u4E2D")});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.badLine, 1);
    EXPECT_EQ(r.badColumn, 4);
    EXPECT_TRUE(r.error.contains("line 2"));
    EXPECT_EQ(dir.read("a.nc"), QByteArray("old\r\n"));
}

TEST(TextFile, MissingFileIsReported) {
    const LoadResult r = loadTextFile("/nonexistent/x.nc");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(TextFile, SaveIntoMissingFolderFailsWithReason) {
    const SaveResult r = saveTextFile("/nonexistent/dir/x.nc", {"A"});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}
