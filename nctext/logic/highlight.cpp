#include "nctext/logic/highlight.h"

#include "common/codec.h"
#include "common/programfolder.h"
#include "common/textfile.h"

#include <algorithm>

namespace velmora {
namespace {

// Character sets, indexed by Windows-1250 code.
enum : quint8 {
    kWordChar = 1,      // ".", "0"-"9", "A"-"Z", "a"-"z"
    kExtStarter = 2,    // accented letters that may start a word
    kStringStarter = 4, // š ž á č é ě í ř ů ú ý: start a string
    kDigit = 8,
};

struct CharTable {
    quint8 flags[257] = {};
    quint16 upper[257] = {}; // the upper-case code of each code
    CharTable() {
        for (int c = 0; c <= 256; ++c)
            upper[c] = quint16(c);
        for (int c = 'a'; c <= 'z'; ++c)
            upper[c] = quint16(c - 'a' + 'A');
        for (int c = 0x80; c < 0x100; ++c) {
            const QString decoded = decodeCp1250(QByteArray(1, char(c)));
            const QString up = decoded.toUpper();
            const int b = up.size() == 1 ? cp1250Byte(up.at(0)) : -1;
            if (b >= 0)
                upper[c] = quint16(b);
        }
        for (int c = '0'; c <= '9'; ++c)
            flags[c] |= kWordChar | kDigit;
        for (int c = 'A'; c <= 'Z'; ++c)
            flags[c] |= kWordChar;
        for (int c = 'a'; c <= 'z'; ++c)
            flags[c] |= kWordChar;
        flags[int('.')] |= kWordChar;
        const int ranges[][2] = {{192, 214}, {216, 224}, {226, 231}, {234, 235}, {238, 246}, {251, 252}, {254, 255}};
        for (const auto &r : ranges)
            for (int c = r[0]; c <= r[1]; ++c)
                flags[c] |= kExtStarter;
        for (int c : {154, 158, 225, 232, 233, 236, 237, 248, 249, 250, 253})
            flags[c] |= kStringStarter;
    }
};

const CharTable &table() {
    static const CharTable t;
    return t;
}

inline quint8 flagsOf(quint16 code) { return table().flags[code > 0x100 ? 0x100 : code]; }
inline bool isDigit(quint16 c) { return c >= '0' && c <= '9'; }
inline bool isWordChar(quint16 c) { return flagsOf(c) & kWordChar; }
inline bool isExtStarter(quint16 c) { return flagsOf(c) & kExtStarter; }
inline bool isStringStarter(quint16 c) { return flagsOf(c) & kStringStarter; }

// Helpers shared by the rules. Each returns the end of the token.
int untilClosingParen(const quint16 *s, int n, int p) {
    for (int i = p + 1; i < n; ++i)
        if (s[i] == ')')
            return i + 1;
    return n;
}

int untilQuote(const quint16 *s, int n, int p) {
    for (int i = p + 1; i < n; ++i)
        if (s[i] == '"')
            return i + 1;
    return n;
}

// A "." directly followed by another "." ends the run.
template <typename Pred>
int numberRun(const quint16 *s, int n, int p, Pred accept) {
    int i = p + 1;
    while (i < n && accept(s[i])) {
        if (s[i] == '.' && i + 1 < n && s[i + 1] == '.')
            break;
        ++i;
    }
    return i;
}

template <typename Pred>
int run(const quint16 *s, int n, int p, Pred accept) {
    int i = p + 1;
    while (i < n && accept(s[i]))
        ++i;
    return i;
}

bool isProgramTail(quint16 c) { return isDigit(c) || c == 'F' || c == 'M' || c == 'P' || c == 'S'; }

bool isNumberStarter(quint16 c) {
    switch (c) {
    case '+': case '-': case 'A': case 'B': case 'C': case 'I': case 'J': case 'K':
    case 'R': case 'W': case 'X': case 'Y': case 'Z':
        return true;
    default:
        return isDigit(c);
    }
}

inline quint16 upperCode(quint16 c) { return table().upper[c > 0x100 ? 0x100 : c]; }

// The keyword rule: the longest run of word characters; Key when in the first
// list as written, Second key when its upper-case form is in the second list.
int word(const quint16 *s, int n, int p, const KeywordLists *lists, TokenClass &cls) {
    const int end = run(s, n, p, isWordChar);
    cls = TokenClass::Identifier;
    if (!lists)
        return end;
    char buf[64];
    const int len = end - p;
    std::string big;
    char *w = buf;
    if (len > int(sizeof buf)) {
        big.resize(size_t(len));
        w = big.data();
    }
    for (int i = 0; i < len; ++i)
        w[i] = char(s[p + i]);
    if (lists->first.contains(std::string_view(w, size_t(len)))) {
        cls = TokenClass::Key;
        return end;
    }
    for (int i = 0; i < len; ++i)
        w[i] = char(upperCode(s[p + i]));
    if (lists->second.contains(std::string_view(w, size_t(len))))
        cls = TokenClass::SecondKey;
    return end;
}

int nextIso(const quint16 *s, int n, int p, const KeywordLists *lists, TokenClass &cls) {
    const quint16 c = s[p];
    if (c == '(') {
        cls = TokenClass::Comment;
        return untilClosingParen(s, n, p);
    }
    if (c == '"' || c == ';') {
        if (p + 1 < n && s[p + 1] == '*') {
            cls = TokenClass::Symbol;
            return p + 1;
        }
        cls = TokenClass::Comment;
        return n;
    }
    if (c == '%' || c == 'O') {
        cls = TokenClass::Program;
        return run(s, n, p, isProgramTail);
    }
    if (isNumberStarter(c)) {
        cls = TokenClass::Number;
        return numberRun(s, n, p, [](quint16 x) {
            return isDigit(x) || x == '+' || x == '-' || x == 'E' || x == 'e' || x == '.';
        });
    }
    if (c == 'F' || c == 'S') {
        cls = TokenClass::Space;
        return run(s, n, p, [](quint16 x) { return isDigit(x) || x == '.'; });
    }
    switch (c) {
    case 'D': case 'E': case 'G': case 'H': case 'L': case 'M': case 'N':
    case 'P': case 'Q': case 'T': case 'U': case 'V':
        return word(s, n, p, lists, cls);
    default:
        break;
    }
    if (isExtStarter(c))
        return word(s, n, p, lists, cls);
    if (isStringStarter(c)) {
        cls = TokenClass::String;
        return untilQuote(s, n, p);
    }
    cls = TokenClass::Symbol;
    return p + 1;
}

int nextIso2(const quint16 *s, int n, int p, TokenClass &cls) {
    const quint16 c = s[p];
    const auto digitsOrPoint = [](quint16 x) { return isDigit(x) || x == '.'; };
    if (c == '(') {
        cls = TokenClass::Comment;
        return untilClosingParen(s, n, p);
    }
    if (c == '"' || c == ';') {
        if (p + 1 < n && s[p + 1] == ')') {
            cls = TokenClass::Symbol;
            return p + 1;
        }
        cls = TokenClass::Comment;
        return n;
    }
    if (c == '%' || c == 'O') {
        cls = TokenClass::Program;
        return run(s, n, p, isProgramTail);
    }
    if (isNumberStarter(c)) {
        cls = TokenClass::Number;
        return numberRun(s, n, p, [](quint16 x) { return isDigit(x) || x == '+' || x == '-' || x == '.'; });
    }
    switch (c) {
    case ':': case 'N':
        cls = TokenClass::Identifier;
        return run(s, n, p, isDigit);
    case 'D': case 'G': case 'H': case 'L': case 'P':
        cls = TokenClass::Key;
        return run(s, n, p, digitsOrPoint);
    case 'F': case 'S':
        cls = TokenClass::Space;
        return run(s, n, p, digitsOrPoint);
    case 'M': case 'T':
        cls = TokenClass::SecondKey;
        return run(s, n, p, isDigit);
    default:
        break;
    }
    if (isExtStarter(c)) {
        cls = TokenClass::Key;
        return run(s, n, p, digitsOrPoint);
    }
    if (isStringStarter(c)) {
        cls = TokenClass::String;
        return untilQuote(s, n, p);
    }
    cls = TokenClass::Symbol;
    return p + 1;
}

int nextDialog(const quint16 *s, int n, int p, const KeywordLists *lists, TokenClass &cls) {
    const quint16 c = s[p];
    if (c == '/' || c == ';') {
        if (p + 1 < n && s[p + 1] == '*') {
            cls = TokenClass::Symbol;
            return p + 1;
        }
        cls = TokenClass::Comment;
        return n;
    }
    if (c == '+' || c == '-' || isDigit(c)) {
        cls = TokenClass::Number;
        return numberRun(s, n, p, [](quint16 x) { return isDigit(x) || x == '+' || x == ',' || x == '-' || x == '.'; });
    }
    if ((c >= 'A' && c <= 'Z') || isExtStarter(c))
        return word(s, n, p, lists, cls);
    if (isStringStarter(c)) {
        cls = TokenClass::String;
        return untilQuote(s, n, p);
    }
    // "{" and everything else: one character. Windows-1250 has no lead bytes,
    // so a Symbol never takes two characters.
    cls = TokenClass::Symbol;
    return p + 1;
}

inline int nextToken(Syntax syntax, const quint16 *s, int n, int p, const KeywordLists *lists, TokenClass &cls) {
    switch (syntax) {
    case Syntax::ISO:
        return nextIso(s, n, p, lists, cls);
    case Syntax::ISO2:
        return nextIso2(s, n, p, cls);
    case Syntax::Dialog:
        return nextDialog(s, n, p, lists, cls);
    case Syntax::None:
        break;
    }
    cls = TokenClass::Plain;
    return n;
}

std::vector<quint16> codesOf(QStringView line) {
    std::vector<quint16> codes(size_t(line.size()));
    for (qsizetype i = 0; i < line.size(); ++i)
        codes[size_t(i)] = charCode(line[i]);
    return codes;
}

// Design-time lists, used when a keyword file cannot be read.
const char *const kIsoFirst[] = {
    "B0", "B180", "B270", "B90", "G", "G0", "G00", "G01", "G02", "G03", "G04", "G1", "G10", "G11", "G12",
    "G13", "G17", "G17.1", "G17.2", "G17.3", "G17.4", "G17.5", "G18", "G19", "G195", "G195M0C45",
    "G195M180C45", "G195M270C45", "G195M90C45", "G2", "G200", "G201", "G25", "G26", "G29", "G3", "G30",
    "G31", "G4", "G40", "G41", "G42", "G43", "G49", "G49.1", "G53", "G54", "G55", "G56", "G57", "G58",
    "G59", "G64", "G65", "G71", "G73", "G74", "G79", "G80", "G81", "G82", "G83", "G84", "G90", "G91",
    "G94", "G95", "G98", "G99", "H", "IF", "L", "L0", "L1", "L2", "L3", "L4", "L5", "P01", "P02", "P03",
    "P04", "P05", "P06", "P07", "P08", "P09", "P10", "P1", "P2", "P3", "P4"};
const char *const kIsoSecond[] = {
    "M0", "M06", "M110", "M111", "M13", "M2", "M3", "M30", "M39", "M4", "M5", "M51", "M6", "M7", "M8",
    "M89", "M9", "M92", "M940", "M941", "M942", "M943", "M98", "M99", "M991G45.1H2", "M992G45.1H2",
    "M993G45.1H2", "M994G45.1H2"};
const char *const kDialogFirst[] = {
    "AN", "BEGIN", "BLK", "CALL", "CC", "CP", "CYCL", "DEF", "DR", "DR-", "DR+", "END", "EQU", "FC",
    "FL", "FN", "FORM", "FPOL", "FSELECT", "GOTO", "IF", "L", "LBL", "LEN", "LP", "MM", "PA", "PGM",
    "PR", "R", "R0", "RL", "RR", "TOOL"};
const char *const kDialogSecond[] = {"M110", "M111", "M13", "M2", "M3", "M6", "M7", "M92"};

template <size_t N>
QStringList toList(const char *const (&words)[N]) {
    QStringList out;
    for (const char *w : words)
        out << QString::fromLatin1(w);
    return out;
}

// Loads one file into a list, or the built-in words when it cannot be read.
void fillList(KeywordList &list, const QString &relative, const QStringList &builtin, QStringList &missing) {
    list.clear();
    const QString path = programFile(relative);
    const LoadResult loaded = loadTextFile(path);
    const QStringList words = loaded.ok ? loaded.lines : builtin;
    if (!loaded.ok)
        missing << path;
    for (const QString &w : words) {
        const QString t = w.trimmed();
        if (!t.isEmpty())
            list.add(t);
    }
}

} // namespace

quint16 charCode(QChar c) {
    const ushort u = c.unicode();
    if (u < 0x80)
        return u;
    const int b = cp1250Byte(c);
    return b < 0 ? kNoCode : quint16(b);
}

void KeywordList::add(const QString &word) {
    std::string bytes;
    bytes.reserve(size_t(word.size()));
    for (QChar c : word) {
        const quint16 code = charCode(c);
        if (code == kNoCode)
            return;
        bytes.push_back(char(code));
    }
    words_.push_back(std::move(bytes));
}

void KeywordList::addGenerated(char letter, int first, int last) {
    for (int i = first; i <= last; ++i)
        words_.push_back(letter + std::to_string(i));
}

void KeywordList::finish() {
    std::sort(words_.begin(), words_.end());
    words_.erase(std::unique(words_.begin(), words_.end()), words_.end());
}

bool KeywordList::contains(std::string_view word) const {
    const auto it = std::lower_bound(words_.begin(), words_.end(), word,
                                     [](const std::string &a, std::string_view b) { return std::string_view(a) < b; });
    return it != words_.end() && std::string_view(*it) == word;
}

KeywordLists &isoKeywords() {
    static KeywordLists lists;
    return lists;
}

KeywordLists &dialogKeywords() {
    static KeywordLists lists;
    return lists;
}

QStringList builtinKeywords(Syntax syntax, bool secondList) {
    if (syntax == Syntax::ISO)
        return secondList ? toList(kIsoSecond) : toList(kIsoFirst);
    if (syntax == Syntax::Dialog)
        return secondList ? toList(kDialogSecond) : toList(kDialogFirst);
    return {};
}

QStringList loadKeywordLists() {
    QStringList missing;
    KeywordLists &iso = isoKeywords();
    fillList(iso.first, QStringLiteral("Kody/funkce_G.txt"), builtinKeywords(Syntax::ISO, false), missing);
    fillList(iso.second, QStringLiteral("Kody/funkce_M.txt"), builtinKeywords(Syntax::ISO, true), missing);
    iso.first.addGenerated('D', 0, 512);
    iso.first.addGenerated('H', 0, 512);
    iso.second.addGenerated('T', 0, 160);
    iso.first.finish();
    iso.second.finish();

    KeywordLists &dialog = dialogKeywords();
    fillList(dialog.first, QStringLiteral("Kody/d_cykly.txt"), builtinKeywords(Syntax::Dialog, false), missing);
    fillList(dialog.second, QStringLiteral("Kody/d_funkce_m.txt"), builtinKeywords(Syntax::Dialog, true), missing);
    dialog.first.addGenerated('Q', 0, 500);
    dialog.first.finish();
    dialog.second.finish();
    return missing;
}

const KeywordLists *keywordListsFor(Syntax syntax) {
    switch (syntax) {
    case Syntax::ISO:
        return &isoKeywords();
    case Syntax::Dialog:
        return &dialogKeywords();
    default:
        return nullptr;
    }
}

void classifyCodes(Syntax syntax, const quint16 *codes, int n, const KeywordLists *lists, TokenClass *classes) {
    int p = 0;
    while (p < n) {
        TokenClass cls;
        const int end = nextToken(syntax, codes, n, p, lists, cls);
        std::fill(classes + p, classes + end, cls);
        p = end;
    }
}

void styleUtf8(Syntax syntax, const char *text, qsizetype length, const KeywordLists *lists, quint8 *styles) {
    if (syntax == Syntax::None) {
        std::fill(styles, styles + length, quint8(TokenClass::Plain));
        return;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(text);
    // Per line: the character codes, the byte where each character starts, and the classes.
    std::vector<quint16> codes;
    std::vector<qsizetype> starts;
    std::vector<TokenClass> classes;
    qsizetype pos = 0;
    while (pos < length) {
        qsizetype end = pos;
        bool ascii = true;
        while (end < length && bytes[end] != '\r' && bytes[end] != '\n') {
            ascii = ascii && bytes[end] < 0x80;
            ++end;
        }
        const qsizetype lineBytes = end - pos;
        if (lineBytes > 0) {
            codes.clear();
            starts.clear();
            if (ascii) {
                codes.resize(size_t(lineBytes));
                for (qsizetype i = 0; i < lineBytes; ++i)
                    codes[size_t(i)] = bytes[pos + i];
            } else {
                qsizetype i = pos;
                while (i < end) {
                    starts.push_back(i);
                    const unsigned char b = bytes[i];
                    int len = 1;
                    char32_t cp = b;
                    if (b >= 0xC2 && b <= 0xDF)
                        len = 2, cp = b & 0x1F;
                    else if (b >= 0xE0 && b <= 0xEF)
                        len = 3, cp = b & 0x0F;
                    else if (b >= 0xF0 && b <= 0xF4)
                        len = 4, cp = b & 0x07;
                    else if (b >= 0x80)
                        len = 0; // a stray byte
                    bool valid = len > 0 && i + len <= end;
                    for (int k = 1; valid && k < len; ++k) {
                        const unsigned char t = bytes[i + k];
                        if ((t & 0xC0) != 0x80)
                            valid = false;
                        else
                            cp = (cp << 6) | (t & 0x3F);
                    }
                    if (!valid) {
                        codes.push_back(kNoCode);
                        ++i;
                    } else {
                        codes.push_back(cp < 0x80 ? quint16(cp)
                                        : cp > 0xFFFF ? kNoCode
                                                      : charCode(QChar(char16_t(cp))));
                        i += len;
                    }
                }
                starts.push_back(end);
            }
            const int n = int(codes.size());
            classes.resize(size_t(n));
            classifyCodes(syntax, codes.data(), n, lists, classes.data());
            if (ascii) {
                for (int c = 0; c < n; ++c)
                    styles[pos + c] = quint8(classes[size_t(c)]);
            } else {
                for (int c = 0; c < n; ++c)
                    std::fill(styles + starts[size_t(c)], styles + starts[size_t(c) + 1], quint8(classes[size_t(c)]));
            }
        }
        // The line end.
        while (end < length && (bytes[end] == '\r' || bytes[end] == '\n'))
            styles[end++] = quint8(TokenClass::Plain);
        pos = end;
    }
}

std::vector<Token> scanLine(Syntax syntax, QStringView line, const KeywordLists *lists) {
    const std::vector<quint16> codes = codesOf(line);
    const int n = int(codes.size());
    std::vector<Token> tokens;
    int p = 0;
    while (p < n) {
        TokenClass cls;
        const int end = nextToken(syntax, codes.data(), n, p, lists, cls);
        tokens.push_back(Token{p, end - p, cls});
        p = end;
    }
    return tokens;
}

std::vector<Token> scanLine(Syntax syntax, QStringView line) {
    return scanLine(syntax, line, keywordListsFor(syntax));
}

} // namespace velmora
