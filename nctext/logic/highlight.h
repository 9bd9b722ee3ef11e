#pragma once
// The three line scanners of the editor's syntax colouring: "ISO" (ISO and
// Mazak EIA programs, with keyword lists), "ISO2" (colours by address letter,
// no lists) and "Heidenhain Dialog" (conversational programs, with lists).
//
// A scanner cuts one line into tokens; the first character of a token picks
// the rule that consumes it and sets its class. No token spans lines and no
// state carries from one line to the next. Character sets are defined by
// Windows-1250 codes: the scanners work on "character codes", the
// Windows-1250 byte of each character (0..255), or kNoCode for a character
// the code page cannot hold (such a character is a one-character Symbol).
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

enum class Syntax { None = 0, ISO = 1, ISO2 = 2, Dialog = 3 };

// Token classes; the values are also the editor's style numbers (0 = plain text,
// used for line ends and for documents without colouring).
enum class TokenClass : quint8 {
    Plain = 0,
    Comment = 1,
    Identifier = 2,
    Key = 3,
    SecondKey = 4,
    Number = 5,
    Space = 6,
    String = 7,
    Symbol = 8,
    Program = 9,
};
constexpr int kTokenClassCount = 10;

struct Token {
    int start = 0;  // index into the line (characters)
    int length = 0;
    TokenClass cls = TokenClass::Plain;
    friend bool operator==(const Token &, const Token &) = default;
};

constexpr quint16 kNoCode = 0x100;

// The Windows-1250 code of a character, kNoCode when the code page has none.
quint16 charCode(QChar c);

// A sorted list of keywords, held as Windows-1250 bytes and compared exactly.
class KeywordList {
public:
    void clear() { words_.clear(); }
    void add(const QString &word);                  // a word no code page byte can hold is ignored
    void addGenerated(char letter, int first, int last); // e.g. 'D', 0, 512: D0 ... D512
    void finish();                                   // sorts; call after adding
    bool contains(std::string_view word) const;
    int size() const { return int(words_.size()); }

private:
    std::vector<std::string> words_;
};

// The first list makes a word a Key, the second (compared in upper case) a Second key.
struct KeywordLists {
    KeywordList first;
    KeywordList second;
};

// The lists shared by every editor, the simulator's editor and the HTML export.
KeywordLists &isoKeywords();
KeywordLists &dialogKeywords();

// Fills both highlighters' lists from the program folder's files
// Kody/funkce_G.txt, Kody/funkce_M.txt, Kody/d_cykly.txt, Kody/d_funkce_m.txt
// (one word per line) and the generated words: ISO first list + D0..D512 and
// H0..H512, ISO second list + T0..T160, Dialog first list + Q0..Q500.
// A file that cannot be read leaves that list with the built-in words; the
// returned list names each such file (empty when all were read).
QStringList loadKeywordLists();

// The built-in words used when a keyword file is missing.
QStringList builtinKeywords(Syntax syntax, bool secondList);

// Scans one line given as character codes. `classes` receives one class per
// character (n entries). `lists` may be null for "ISO2" and "None".
void classifyCodes(Syntax syntax, const quint16 *codes, int n, const KeywordLists *lists, TokenClass *classes);

// Scans one line into tokens, with the shared keyword lists.
std::vector<Token> scanLine(Syntax syntax, QStringView line);
// The same with explicit lists (tests, benchmarks).
std::vector<Token> scanLine(Syntax syntax, QStringView line, const KeywordLists *lists);

// Styles text held as UTF-8 (as the editor holds it) that starts at the start of
// a line: one style byte (a TokenClass value) per byte. Line ends (CR, LF) and
// everything of a document without colouring get Plain; bytes that are no valid
// UTF-8 count as one character each. The text may end inside a line: that line
// is scanned as far as it goes.
void styleUtf8(Syntax syntax, const char *text, qsizetype length, const KeywordLists *lists, quint8 *styles);

// The keyword lists a syntax consults (null for ISO2 and None).
const KeywordLists *keywordListsFor(Syntax syntax);

} // namespace velmora
