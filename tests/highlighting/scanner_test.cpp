// The three line scanners, the keyword lists and the styling of editor text.
#include "common/codec.h"
#include "common/programfolder.h"
#include "nctext/logic/highlight.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A token as text and class, for readable expectations.
struct Piece {
    QString text;
    TokenClass cls;
    friend bool operator==(const Piece &, const Piece &) = default;
};

std::ostream &operator<<(std::ostream &os, const Piece &p) {
    return os << '"' << p.text.toStdString() << "\":" << int(p.cls);
}

std::vector<Piece> pieces(Syntax syntax, const QString &line, const KeywordLists *lists) {
    std::vector<Piece> out;
    for (const Token &t : scanLine(syntax, line, lists))
        out.push_back({line.mid(t.start, t.length), t.cls});
    return out;
}

// The tokens other than blanks (blanks are one-character Symbols everywhere).
std::vector<Piece> words(Syntax syntax, const QString &line, const KeywordLists *lists) {
    std::vector<Piece> out;
    for (const Piece &p : pieces(syntax, line, lists))
        if (p.text != QLatin1String(" "))
            out.push_back(p);
    return out;
}

KeywordLists isoLists() {
    KeywordLists l;
    for (const char *w : {"G01", "G17.1", "G81", "L", "G1a"})
        l.first.add(QString::fromLatin1(w));
    l.first.addGenerated('D', 0, 512);
    l.first.addGenerated('H', 0, 512);
    l.second.add(QStringLiteral("M30"));
    l.second.add(QStringLiteral("MA"));
    l.second.addGenerated('T', 0, 160);
    l.first.finish();
    l.second.finish();
    return l;
}

KeywordLists dialogLists() {
    KeywordLists l;
    for (const char *w : {"L", "TOOL", "CALL", "FMAX"})
        l.first.add(QString::fromLatin1(w));
    l.first.addGenerated('Q', 0, 500);
    l.second.add(QStringLiteral("M3"));
    l.first.finish();
    l.second.finish();
    return l;
}

using C = TokenClass;

TEST(Scanner, IsoTokens) {
    const KeywordLists lists = isoLists();
    const struct {
        QString line;
        std::vector<Piece> expected;
    } cases[] = {
        {"N10 G01 X-12.5 F200 (FREZA)",
         {{"N10", C::Identifier}, {"G01", C::Key}, {"X-12.5", C::Number}, {"F200", C::Space}, {"(FREZA)", C::Comment}}},
        {"%", {{"%", C::Program}}},
        {"O1234 M30", {{"O1234", C::Program}, {"M30", C::SecondKey}}},
        // listed words count as written in the first list, in upper case in the second
        {"G1a G1A Ma T12 D512 H0 G02", {{"G1a", C::Key}, {"G1A", C::Identifier}, {"Ma", C::SecondKey}, {"T12", C::SecondKey},
                                         {"D512", C::Key}, {"H0", C::Key}, {"G02", C::Identifier}}},
        // a lower-case letter starts no word
        {"g01 m30", {{"g", C::Symbol}, {"01", C::Number}, {"m", C::Symbol}, {"30", C::Number}}},
        {"X1.5E3", {{"X1.5E3", C::Number}}},
        {"X1..5", {{"X1", C::Number}, {".", C::Symbol}, {".", C::Symbol}, {"5", C::Number}}},
        {"G17.1", {{"G17.1", C::Key}}},
        {"(bez konce", {{"(bez konce", C::Comment}}},
        {"; poznamka (x)", {{"; poznamka (x)", C::Comment}}},
        {";*", {{";", C::Symbol}, {"*", C::Symbol}}},
        {"S1200.5M3", {{"S1200.5", C::Space}, {"M3", C::Identifier}}},
        {QStringLiteral("čára X1 \"X2"), {{QStringLiteral("čára X1 \""), C::String}, {"X2", C::Number}}},
        {QStringLiteral("Ředitel"), {{QStringLiteral("Ředitel"), C::Identifier}}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(words(Syntax::ISO, c.line, &lists), c.expected) << c.line.toStdString();
    }
}

TEST(Scanner, Iso2Tokens) {
    const struct {
        QString line;
        std::vector<Piece> expected;
    } cases[] = {
        {"N10 G17.1 T12 M30", {{"N10", C::Identifier}, {"G17.1", C::Key}, {"T12", C::SecondKey}, {"M30", C::SecondKey}}},
        {"F200.5 S12 :5", {{"F200.5", C::Space}, {"S12", C::Space}, {":5", C::Identifier}}},
        {"X1.5E3", {{"X1.5", C::Number}, {"E", C::Symbol}, {"3", C::Number}}},
        {"Q5", {{"Q", C::Symbol}, {"5", C::Number}}},
        {"%O12P", {{"%", C::Program}, {"O12P", C::Program}}},
        {";)", {{";", C::Symbol}, {")", C::Symbol}}},
        {"\"*x", {{"\"*x", C::Comment}}},
        {"M3.5", {{"M3", C::SecondKey}, {".", C::Symbol}, {"5", C::Number}}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(words(Syntax::ISO2, c.line, nullptr), c.expected) << c.line.toStdString();
    }
}

TEST(Scanner, DialogTokens) {
    const KeywordLists lists = dialogLists();
    const struct {
        QString line;
        std::vector<Piece> expected;
    } cases[] = {
        {"5 L X+10 Y-2,5 R0 FMAX",
         {{"5", C::Number}, {"L", C::Key}, {"X", C::Identifier}, {"+10", C::Number}, {"Y", C::Identifier},
          {"-2,5", C::Number}, {"R0", C::Identifier}, {"FMAX", C::Key}}},
        {QStringLiteral("; poznámka"), {{QStringLiteral("; poznámka"), C::Comment}}},
        {"Q12 m3", {{"Q12", C::Key}, {"m", C::Symbol}, {"3", C::Number}}},
        {"/*", {{"/", C::Symbol}, {"*", C::Symbol}}},
        {"{(", {{"{", C::Symbol}, {"(", C::Symbol}}},
        {"1..2", {{"1", C::Number}, {".", C::Symbol}, {".", C::Symbol}, {"2", C::Number}}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(words(Syntax::Dialog, c.line, &lists), c.expected) << c.line.toStdString();
    }
}

// Every character of a line belongs to exactly one token, in order, whatever it holds.
TEST(Scanner, TokensCoverTheLine) {
    const KeywordLists lists = isoLists();
    QString all;
    for (int b = 1; b < 256; ++b)
        all += decodeCp1250(QByteArray(1, char(b)));
    all += QChar(0x4E2D); // a character Windows-1250 cannot hold
    for (Syntax s : {Syntax::ISO, Syntax::ISO2, Syntax::Dialog}) {
        for (int from = 0; from < all.size(); from += 7) {
            const QString line = all.mid(from) + all.left(from);
            int expected = 0;
            for (const Token &t : scanLine(s, line, &lists)) {
                ASSERT_EQ(t.start, expected);
                ASSERT_GT(t.length, 0);
                expected += t.length;
            }
            EXPECT_EQ(expected, line.size());
        }
    }
}

// The editor's text: style bytes per UTF-8 byte agree with the tokens of each line.
TEST(Scanner, Utf8StylesFollowTheTokens) {
    const KeywordLists lists = isoLists();
    const QStringList lines = {QStringLiteral("N10 G01 X-12.5 (čára)"), QStringLiteral("žluť \"X1"), QString(),
                               QStringLiteral("T12 ") + QChar(0x4E2D) + QStringLiteral(" M30"), QStringLiteral("%")};
    const QByteArray text = (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    std::vector<quint8> styles(size_t(text.size()), 0xEE);
    styleUtf8(Syntax::ISO, text.constData(), text.size(), &lists, styles.data());

    std::vector<quint8> expected;
    for (const QString &line : lines) {
        for (const Token &t : scanLine(Syntax::ISO, line, &lists))
            for (int i = t.start; i < t.start + t.length; ++i)
                expected.insert(expected.end(), size_t(line.mid(i, 1).toUtf8().size()), quint8(t.cls));
        expected.insert(expected.end(), 2, quint8(C::Plain));
    }
    EXPECT_EQ(styles, expected);

    // A stray byte that is no UTF-8 is one Symbol; a text ending inside a line is scanned as far as it goes.
    const QByteArray broken("G01\xFFX1", 6);
    std::vector<quint8> s2(6);
    styleUtf8(Syntax::ISO, broken.constData(), broken.size(), &lists, s2.data());
    EXPECT_EQ(s2, (std::vector<quint8>{3, 3, 3, 8, 5, 5}));
}

TEST(Keywords, LoadedFromTheProgramFolderWithGeneratedWords) {
    test::ScratchFolder folder;
    folder.write(QStringLiteral("Kody/funkce_G.txt"), test::cp1250Lines({"G81", " G80 ", ""}));
    folder.write(QStringLiteral("Kody/FUNKCE_M.TXT"), test::cp1250Lines({"M30"}));
    folder.write(QStringLiteral("Kody/d_cykly.txt"), test::cp1250Lines({"CYCL"}));
    // d_funkce_m.txt is missing: its list keeps the built-in words
    const QStringList missing = loadKeywordLists();
    ASSERT_EQ(missing.size(), 1);
    EXPECT_TRUE(missing.first().endsWith(QLatin1String("d_funkce_m.txt")));

    const KeywordLists &iso = isoKeywords();
    for (const char *w : {"G81", "G80", "D0", "D512", "H0", "H512"})
        EXPECT_TRUE(iso.first.contains(w)) << w;
    for (const char *w : {"G01", "D513", "H513", ""})
        EXPECT_FALSE(iso.first.contains(w)) << w; // the file replaced the built-in words
    for (const char *w : {"M30", "T0", "T160"})
        EXPECT_TRUE(iso.second.contains(w)) << w;
    EXPECT_FALSE(iso.second.contains("T161"));
    EXPECT_FALSE(iso.second.contains("M6"));

    const KeywordLists &dialog = dialogKeywords();
    EXPECT_TRUE(dialog.first.contains("CYCL"));
    EXPECT_TRUE(dialog.first.contains("Q500"));
    EXPECT_FALSE(dialog.first.contains("Q501"));
    EXPECT_FALSE(dialog.first.contains("TOOL"));
    EXPECT_TRUE(dialog.second.contains("M92")); // built in

    // Loading again replaces the lists.
    folder.write(QStringLiteral("Kody/funkce_G.txt"), test::cp1250Lines({"G80"}));
    loadKeywordLists();
    EXPECT_FALSE(isoKeywords().first.contains("G81"));
    EXPECT_TRUE(isoKeywords().first.contains("G80"));
    EXPECT_EQ(pieces(Syntax::ISO, QStringLiteral("G81"), nullptr).front().cls, C::Identifier);
    EXPECT_EQ(scanLine(Syntax::ISO, QStringLiteral("G80")).front().cls, C::Key);
}

TEST(Keywords, ShippedListsHoldTheDesignTimeWords) {
    setProgramFolder(QStringLiteral(VELMORA_PROGRAM_DIR));
    EXPECT_TRUE(loadKeywordLists().isEmpty());
    for (Syntax s : {Syntax::ISO, Syntax::Dialog}) {
        const KeywordLists *lists = keywordListsFor(s);
        for (const QString &w : builtinKeywords(s, false))
            EXPECT_TRUE(lists->first.contains(w.toStdString())) << w.toStdString();
        for (const QString &w : builtinKeywords(s, true))
            EXPECT_TRUE(lists->second.contains(w.toStdString())) << w.toStdString();
    }
    setProgramFolder(QString());
}

} // namespace
} // namespace velmora
