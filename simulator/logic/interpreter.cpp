#include "simulator/logic/interpreter.h"

#include "common/codec.h"
#include "common/numbers.h"
#include "simulator/logic/evaluator.h"
#include "simulator/logic/fparith.h"
#include "simulator/logic/scan.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

namespace velmora::sim {

const char *fpFaultMessage(FpFault fault) {
    switch (fault) {
    case FpFault::ZeroDivide:
        return "Floating point division by zero";
    case FpFault::Overflow:
        return "Floating point overflow";
    case FpFault::InvalidOp:
        return "Invalid floating point operation";
    }
    return "";
}

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kDegToRad = kPi / 180.0;

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

QString toQString(std::u16string_view s) { return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size())); }
std::u16string_view viewOf(QStringView s) { return {reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size())}; }

// Text of a value as the position panel shows it: rounded to 3 decimals.
QString positionText(double v) { return formatGeneral(roundDecimal(v, 3)); }

float toFloat(double v) {
    if (std::fabs(v) > double(FLT_MAX))
        fp::raise(FpFault::Overflow);
    return float(v);
}

double round5(double v) { return std::nearbyint(v * 100000.0) / 100000.0; }

// A word value as an integer: a sign and decimal digits within the 32-bit range.
bool parseIntegerText(std::u16string_view t, int &out) {
    size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        neg = t[i++] == u'-';
    if (i >= t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (!isDigit(t[i]))
            return false;
        v = v * 10 + (t[i] - u'0');
        if (v > 2147483648LL)
            return false;
    }
    if (neg)
        v = -v;
    if (v > 2147483647LL || v < -2147483648LL)
        return false;
    out = int(v);
    return true;
}

// A word value as a decimal with the decimal comma: a sign, digits with at most
// one comma; anything else (an exponent of a substituted Q value) goes through the
// general rule.
bool parseDecimalText(std::u16string_view t, double &out) {
    if (scan::shortDecimal(t, out))
        return true;
    char buf[64];
    size_t n = 0, i = 0, digits = 0;
    bool comma = false, simple = t.size() < sizeof buf - 1;
    if (simple && i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        if (t[i] == u'-')
            buf[n++] = '-';
        ++i;
    }
    for (; simple && i < t.size(); ++i) {
        const char16_t c = t[i];
        if (isDigit(c)) {
            buf[n++] = char(c);
            ++digits;
        } else if (c == u',' && !comma) {
            comma = true;
            buf[n++] = '.';
        } else
            simple = false;
    }
    if (simple) {
        if (digits == 0)
            return false;
        const char *b = buf + (n > 0 && buf[0] == '-' ? 1 : 0);
        double v = 0;
        const auto r = std::from_chars(b, buf + n, v);
        if (r.ec != std::errc() || !std::isfinite(v))
            return false;
        out = buf[0] == '-' ? -v : v;
        return true;
    }
    return tryParseFloat(toQString(t), out, u',');
}

} // namespace

TextProgram::TextProgram(QByteArray bytes) : bytes_(std::move(bytes)) {
    const char *d = bytes_.constData();
    const uint32_t n = uint32_t(bytes_.size());
    uint32_t start = 0;
    for (uint32_t i = 0; i < n; ++i) {
#if defined(__SSE2__)
        // Skips 16 bytes at a time that hold no line end.
        const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
        while (i + 16 <= n) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
            const int m = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
            if (m) {
                i += uint32_t(__builtin_ctz(unsigned(m)));
                break;
            }
            i += 16;
        }
        if (i >= n)
            break;
#endif
        const char c = d[i];
        if (c != '\r' && c != '\n')
            continue;
        lines_.emplace_back(start, i - start);
        if (c == '\r' && i + 1 < n && d[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines_.emplace_back(start, n - start);
}

QStringView TextProgram::line(int index) const {
    const auto &l = lines_[size_t(index)];
    decodeCp1250(QByteArrayView(bytes_.constData() + l.first, l.second), decoded_);
    return decoded_;
}

Simulation::Simulation(SimModule &module, const ProgramText &program, SimMessages *messages)
    : module_(module), program_(program), messages_(messages) {
    blk_.reserve(256);
    val_.reserve(64);
}

void Simulation::message(MessageKind kind, const QString &text) const {
    if (messages_)
        messages_->show(kind, line_, text);
}

// ---------------------------------------------------------------- word values

// Reads the value that begins at index p of `text` into val_ and returns where
// reading ended: blanks skipped, then "+", "-", "," and digits, "." taken as
// ","; a "Q" ends the reading with the value of the Q parameter whose number
// follows it (modulo 256), negated when only "-" came before.
size_t Simulation::wordValue(std::u16string_view text, size_t p, bool functionNumber) {
    const size_t n = text.size();
    while (p < n && text[p] == u' ')
        ++p;
    size_t e = p;
    while (e < n && scan::isValueChar(text[e]))
        ++e;
    val_.resize(e - p);
    for (size_t k = p; k < e; ++k)
        val_[k - p] = text[k] == u'.' ? u',' : text[k];
    if (e < n && text[e] == u'Q') {
        size_t j = e + 1;
        unsigned number = 0;
        while (j < n && isDigit(text[j]))
            number = (number * 10 + unsigned(text[j++] - u'0')) % 256;
        if (j == e + 1) {
            if (functionNumber)
                message(MessageKind::Error, QStringLiteral("Chyba funkce."));
            fail(QStringLiteral("'' is not a valid integer value"));
        }
        const std::u16string_view q = qValueText(int(number));
        if (val_.size() == 1 && val_[0] == u'-')
            negatedText(q, val_);
        else
            val_.assign(q);
        return j;
    }
    return e;
}

// The value of Qn in the general number format; the text of the last value read is kept.
std::u16string_view Simulation::qValueText(int n) {
    QTextCache &c = qTextCache_[size_t(n)];
    const double v = module_.q[size_t(n)];
    if (!c.valid || std::memcmp(&c.value, &v, sizeof v) != 0) {
        char buf[kGeneralFormatMax];
        c.length = uint8_t(formatGeneralTo(v, ',', buf));
        for (int i = 0; i < c.length; ++i)
            c.text[i] = char16_t(buf[i]);
        c.value = v;
        c.valid = true;
    }
    return {c.text, c.length};
}

// The text of the negated value, from the text of the value.
void Simulation::negatedText(std::u16string_view text, std::u16string &out) {
    if (text == u"0" || text == u"NAN")
        out.assign(text);
    else if (!text.empty() && text[0] == u'-')
        out.assign(text.substr(1));
    else {
        out.assign(1, u'-');
        out.append(text);
    }
}

int Simulation::integerValue() const {
    int v = 0;
    if (!parseIntegerText(val_, v))
        fail(QStringLiteral("'%1' is not a valid integer value").arg(toQString(val_)));
    return v;
}

double Simulation::decimalValue() const {
    double v = 0;
    if (!parseDecimalText(val_, v))
        fail(QStringLiteral("'%1' is not a valid floating point value").arg(toQString(val_)));
    return v;
}

double Simulation::decimalOf(const QString &text) const {
    double v = 0;
    if (!tryParseFloat(text, v, u','))
        fail(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

int Simulation::integerAfter(std::u16string_view text, size_t p, bool functionNumber) {
    wordValue(text, p, functionNumber);
    return integerValue();
}

double Simulation::decimalAfter(std::u16string_view text, size_t p) {
    wordValue(text, p, false);
    return decimalValue();
}

// The first position of every character and word the steps after the G and M
// words look for, found in one pass from the end of the block.
void Simulation::indexBlock() {
    // A new stamp marks every slot unset without clearing the table.
    if (++stamp_ == 0) {
        std::fill(std::begin(stamps_), std::end(stamps_), 0u);
        stamp_ = 1;
    }
    const uint32_t stamp = stamp_;
    const char16_t *b = blk_.data();
    const size_t n = blk_.size();
    // Every character from the end, so the first occurrence is written last; characters
    // beyond ASCII share slot 0, which nothing looks for.
    for (size_t i = n; i-- > 0;) {
        const size_t slot = b[i] < 128 ? b[i] : 0;
        first_[slot] = int32_t(i);
        stamps_[slot] = stamp;
    }
    stamps_[0] = 0;
    // Words of more than one letter: each occurrence of their first letter, from the first on.
    auto setFirst = [&](int slot, size_t i) {
        if (stamps_[slot] != stamp) {
            stamps_[slot] = stamp;
            first_[slot] = int32_t(i);
        }
    };
    const std::u16string_view t(blk_);
    auto at = [&](size_t i) { return i < n ? b[i] : char16_t(0); };
    if (has(u'I'))
        for (size_t i = size_t(first_[u'I']); i != scan::npos; i = scan::find(t, u'I', i + 1)) {
            const char16_t next = at(i + 1);
            if (next == u'X')
                setFirst(kIX, i);
            else if (next == u'Y')
                setFirst(kIY, i);
            else if (next == u'Z')
                setFirst(kIZ, i);
        }
    if (has(u'P'))
        for (size_t i = size_t(first_[u'P']); i != scan::npos; i = scan::find(t, u'P', i + 1)) {
            if (at(i + 1) == u'0' && at(i + 2) >= u'1' && at(i + 2) <= u'5')
                setFirst(kP01 + (at(i + 2) - u'1'), i);
            else if (t.substr(i, 5) == u"POD98")
                setFirst(kPOD98, i);
        }
    if (has(u'L'))
        for (size_t i = size_t(first_[u'L']); i != scan::npos; i = scan::find(t, u'L', i + 1))
            if (at(i + 1) == u'0') {
                setFirst(kL0, i);
                break;
            }
}

// ---------------------------------------------------------------- blocks

BlockResult Simulation::executeNextBlock() {
    const int n = program_.lineCount();
    if (n <= 0)
        return BlockResult::NoProgram;
    caret_ = std::clamp(caret_ + 1, 1, n);
    line_ = caret_;
    const QStringView text = program_.line(caret_ - 1);
    if (text.isEmpty() || text[0] == u';' || text[0] == u'*' || text[0] == u'/')
        return BlockResult::Skipped;
    blk_.resize(size_t(text.size()));
    std::copy_n(text.utf16(), text.size(), blk_.data());
    try {
        executeBlock();
    } catch (const Failure &f) {
        message(MessageKind::Error, f.message);
        return BlockResult::Failed;
    } catch (const FpError &e) {
        message(MessageKind::Error, QString::fromLatin1(fpFaultMessage(e.fault)));
        return BlockResult::Failed;
    }
    return BlockResult::Executed;
}

void Simulation::executeBlock() {
    InterpreterState &s = module_.state;
    const size_t comment = scan::find(blk_, u';');
    if (comment != scan::npos)
        blk_.resize(comment);
    s.cycleCall = false;

    // Every G before the one found has been removed, so each search starts there.
    for (size_t g = 0; (g = scan::find(blk_, u'G', g)) != scan::npos;) {
        const int number = integerAfter(blk_, g + 1);
        const size_t length = val_.size() + 1;
        const GEffect effect = gAction(number, g);
        if (effect == GEffect::EndBlock)
            return;
        if (effect == GEffect::Remove)
            blk_.erase(g, length);
    }
    for (size_t m = 0; (m = scan::find(blk_, u'M', m)) != scan::npos;) {
        const int number = integerAfter(blk_, m + 1);
        const size_t length = val_.size() + 1;
        switch (number) {
        case 2:
        case 30:
            s.stop = true;
            message(MessageKind::Info, QStringLiteral("Ok"));
            return;
        case 89:
            s.modalCycleCall = true;
            break;
        case 92:
            return;
        case 99:
            s.cycleCall = true;
            s.modalCycleCall = false;
            break;
        default:
            break;
        }
        blk_.erase(m, length);
    }
    indexBlock();
    if (has(u'D')) {
        const int number = integerAfter(blk_, after(u'D'));
        if (number >= 0 && number <= 13 && dFunction(number))
            return;
    }
    if (has(u'=')) {
        assignment();
        return;
    }
    coordinates();
    if (has(u'A')) {
        aAxis();
        return;
    }
    if (has(u'L') && !has(kPOD98)) {
        call();
        return;
    }
    // A label end returns from the subprogram; the block still moves the tool.
    if (has(kPOD98) && has(kL0) && s.depth >= 1 && s.depth <= 8) {
        caret_ = s.returnLine[s.depth];
        --s.depth;
    }
    motion();
}

Simulation::GEffect Simulation::gAction(int number, size_t at) {
    InterpreterState &s = module_.state;
    TSouradnice &c = s.c;
    auto contains = [&](char16_t ch) { return blk_.find(ch) != std::u16string::npos; };
    auto corner = [&](double *out) {
        const char16_t axes[3] = {u'X', u'Y', u'Z'};
        for (int i = 0; i < 3; ++i) {
            const size_t p = blk_.find(axes[i]);
            if (p != std::u16string::npos)
                out[i] = decimalAfter(blk_, p + 1);
        }
    };
    switch (number) {
    case 0:
        s.rapid = true;
        s.linear = s.clockwise = s.counterClockwise = false;
        s.polar = Polar::None;
        currentG_ = val_;
        break;
    case 1:
        s.linear = true;
        s.rapid = s.clockwise = s.counterClockwise = false;
        currentG_ = val_;
        break;
    case 2:
        s.clockwise = true;
        s.rapid = s.linear = s.counterClockwise = false;
        break;
    case 3:
        s.counterClockwise = true;
        s.rapid = s.linear = s.clockwise = false;
        break;
    case 10:
        s.polar = Polar::Rapid;
        break;
    case 11:
        s.polar = Polar::Linear;
        break;
    case 12:
    case 13:
        s.polar = number == 12 ? Polar::Clockwise : Polar::CounterClockwise;
        s.rapid = s.linear = s.clockwise = s.counterClockwise = false;
        break;
    case 17:
        s.plane = 17;
        if (contains(u'T')) {
            ++s.toolCounter;
            toolChange();
            return GEffect::EndBlock;
        }
        break;
    case 18:
    case 19:
        s.plane = number;
        break;
    case 28: {
        const bool x = contains(u'X'), y = contains(u'Y');
        mirroring = x && y ? Mirroring::XY : x ? Mirroring::X : y ? Mirroring::Y : Mirroring::None;
        return GEffect::EndBlock;
    }
    case 29:
        c.I = c.prevX;
        c.J = c.prevY;
        s.polar = Polar::None;
        return GEffect::EndBlock;
    case 30:
        corner(c.blankMin);
        return GEffect::EndBlock;
    case 31:
        corner(c.blankMax);
        if (box_)
            fail(QStringLiteral("A component named tovar already exists"));
        box_ = WorkpieceBox{};
        for (int i = 0; i < 3; ++i) {
            box_->min[i] = std::min(c.blankMin[i], c.blankMax[i]);
            box_->max[i] = std::max(c.blankMin[i], c.blankMax[i]);
        }
        return GEffect::EndBlock;
    case 40:
        s.leftComp = s.rightComp = false;
        s.clockwise = s.counterClockwise = false;
        s.drilling = false;
        break;
    case 41:
        s.leftComp = true;
        break;
    case 42:
        s.rightComp = true;
        break;
    case 53:
    case 72:
        return GEffect::EndBlock;
    case 54: {
        const char16_t axes[3] = {u'X', u'Y', u'Z'};
        double *datum[3] = {&c.datumX, &c.datumY, &c.datumZ};
        for (int i = 0; i < 3; ++i) {
            const size_t p = blk_.find(axes[i]);
            if (p != std::u16string::npos)
                *datum[i] = decimalAfter(blk_, p + 1);
        }
        return GEffect::EndBlock;
    }
    case 73:
        s.rotationPending = true;
        break;
    case 79:
        if (contains(u'X') || contains(u'Y')) {
            message(MessageKind::Error, QStringLiteral("Nedovolený pohyb s funkci G79"));
            s.stop = true;
            return GEffect::EndBlock;
        }
        s.cycleCall = true;
        s.modalCycleCall = false;
        break;
    case 80:
        s.drilling = s.tapping = false;
        break;
    case 81:
    case 83:
        s.drilling = true;
        break;
    case 84:
    case 85:
        s.tapping = true;
        s.rigidTapping = number == 85;
        break;
    case 90:
    case 91:
        s.absolute = number == 90;
        break;
    case 98:
        blk_.replace(at, 1, u"POD");
        return GEffect::Keep;
    default:
        break;
    }
    return GEffect::Remove;
}

bool Simulation::dFunction(int number) {
    auto p = [&](int k) { return decimalAfter(blk_, after(kP01 + k - 1, 3)); };
    auto target = [&]() { return integerAfter(blk_, after(u'Q')); };
    if (number == 0) {
        const double v = p(1);
        const std::u16string text = val_;
        storeQ(target(), v, &text);
        return false;
    }
    if (number >= 9 && number <= 12) {
        const double a = p(1), b = p(2), label = p(3);
        const bool jump = number == 9 ? a == b : number == 10 ? a != b : number == 11 ? a > b : a < b;
        if (jump) {
            const int found = lastLabelLine(label);
            if (found >= 0)
                caret_ = found + 1;
        }
        return true;
    }
    const double a = p(1);
    double b = 0;
    if (number == 1 || number == 2 || number == 3 || number == 4 || number == 8 || number == 13)
        b = p(2);
    double r = 0;
    switch (number) {
    case 1: r = fp::add(a, b); break;
    case 2: r = fp::sub(a, b); break;
    case 3: r = fp::mul(a, b); break;
    case 4: r = fp::div(a, b); break;
    case 5: r = fp::sqrt(a); break;
    case 6: r = std::sin(a * kDegToRad); break;
    case 7: r = std::cos(a * kDegToRad); break;
    case 8: r = fp::sqrt(fp::add(fp::mul(a, a), fp::mul(b, b))); break;
    case 13: r = std::atan2(a, b); break;
    default: break;
    }
    storeQ(target(), r);
    return number == 13;
}

void Simulation::assignment() {
    work_.assign(blk_, size_t(first_[u'=']) + 1);
    for (size_t q; (q = work_.find(u'Q')) != std::u16string::npos;) {
        const size_t end = wordValue(work_, q + 1, true);
        const int n = ((integerValue() % 256) + 256) % 256;
        const std::u16string_view value = qValueText(n);
        work_.replace(q, end - q, 1, u'(');
        work_.insert(q + 1, value);
        work_.insert(q + 1 + value.size(), 1, u')');
    }
    TEvaluator evaluator;
    evaluator.onMessage = [this](const QString &text) { message(MessageKind::Message, text); };
    evaluator.expression = toQString(work_);
    const double v = evaluator.Evaluate();
    storeQ(integerAfter(blk_, after(u'Q')), v);
}

void Simulation::storeQ(int n, double value, const std::u16string *verbatim) {
    if (n < 0 || n > 255)
        fail(QStringLiteral("Q parametr Q%1 neexistuje, platné jsou Q0 až Q255").arg(n));
    module_.q[size_t(n)] = value;
    qWritten_.set(size_t(n));
    QCell &cell = qTable_[size_t(n)];
    if (verbatim) {
        cell.kind = QCell::Text;
        cell.text = *verbatim;
    } else {
        cell.kind = QCell::General;
    }
}

void Simulation::coordinates() {
    InterpreterState &s = module_.state;
    TSouradnice &c = s.c;
    if (has(u'F'))
        c.F = decimalAfter(blk_, after(u'F'));
    if (has(u'S'))
        c.S = decimalAfter(blk_, after(u'S'));
    const bool ix = has(kIX), iy = has(kIY), iz = has(kIZ);
    if (s.absolute) {
        const bool mirrorX = mirroring == Mirroring::X || mirroring == Mirroring::XY;
        const bool mirrorY = mirroring == Mirroring::Y || mirroring == Mirroring::XY;
        if (has(u'X') && !ix) {
            const double v = decimalAfter(blk_, after(u'X'));
            c.X = mirrorX ? fp::sub(c.datumX, v) : fp::add(c.datumX, v);
        }
        if (has(u'Y') && !iy) {
            const double v = decimalAfter(blk_, after(u'Y'));
            c.Y = mirrorY ? fp::sub(c.datumY, v) : fp::add(c.datumY, v);
        }
        if (has(u'Z') && !iz)
            c.Z = fp::add(c.datumZ, decimalAfter(blk_, after(u'Z')));
        if (ix)
            c.X = fp::add(c.X, decimalAfter(blk_, after(kIX, 2)));
        if (iy)
            c.Y = fp::add(c.Y, decimalAfter(blk_, after(kIY, 2)));
        if (iz)
            c.Z = fp::add(c.Z, decimalAfter(blk_, after(kIZ, 2)));
        if (has(u'I') && !ix)
            c.I = fp::add(c.datumX, decimalAfter(blk_, after(u'I')));
        if (has(u'J') && !iy)
            c.J = fp::add(c.datumY, decimalAfter(blk_, after(u'J')));
        if (has(u'K') && !iz)
            c.K = fp::add(c.datumZ, decimalAfter(blk_, after(u'K')));
        if (!s.rotationPending && has(u'H'))
            c.H = decimalAfter(blk_, after(u'H'));
        if (has(u'R'))
            c.R = decimalAfter(blk_, after(u'R'));
        if (has(u'A'))
            c.A = decimalAfter(blk_, after(u'A'));
        for (int i = 0; i < 5; ++i)
            if (has(kP01 + i))
                c.P[i] = decimalAfter(blk_, after(kP01 + i, 3));
        if (s.rotationPending) {
            if (has(u'H'))
                c.rotation = decimalAfter(blk_, after(u'H'));
            s.rotationPending = false;
        }
        shownX_ = c.X;
        shownY_ = c.Y;
        shownZ_ = c.Z;
    } else {
        if (has(u'X'))
            c.X = fp::add(c.X, decimalAfter(blk_, after(u'X')));
        if (has(u'Y'))
            c.Y = fp::add(c.Y, decimalAfter(blk_, after(u'Y')));
        if (has(u'Z'))
            c.Z = fp::add(c.Z, decimalAfter(blk_, after(u'Z')));
        if (has(u'I'))
            c.I = fp::add(c.datumX, decimalAfter(blk_, after(u'I')));
        if (has(u'J'))
            c.J = fp::add(c.datumY, decimalAfter(blk_, after(u'J')));
        if (has(u'K'))
            c.K = fp::add(c.datumZ, decimalAfter(blk_, after(u'K')));
        if (has(u'H')) {
            if (s.rotationPending)
                c.rotation = fp::add(c.rotation, decimalAfter(blk_, after(u'H')));
            else
                c.H = fp::add(c.H, decimalAfter(blk_, after(u'H')));
        }
        s.rotationPending = false;
    }
}

void Simulation::aAxis() {
    InterpreterState &s = module_.state;
    TSouradnice &c = s.c;
    if (aDiameterText.isEmpty()) {
        message(MessageKind::Error, QStringLiteral("Není vyplněn průměr pro osu A"));
        s.stop = true;
        return;
    }
    const double r = decimalOf(aDiameterText) / 2;
    Point3f pts[21];
    makeArc(pts, 19, 0, 0, r, fp::add(c.prevA, 90), fp::add(c.A, 90), c.prevX, c.X);
    addSegment(KindFeed, clBlue, pts, 21, kNoHint, 0.0f);
    c.prevX = c.X;
    c.prevY = 0;
    c.prevZ = r;
    c.prevA = c.A;
}

void Simulation::call() {
    InterpreterState &s = module_.state;
    if (s.remainingRepeats == 0)
        s.requestedRepeats = integerAfter(blk_, after(u','), false);
    if (s.requestedRepeats > 0)
        s.remainingRepeats = s.requestedRepeats;
    if (s.remainingRepeats == s.requestedRepeats)
        ++s.depth;
    if (s.depth >= 1 && s.depth <= 8)
        s.returnLine[s.depth] = line_;
    if (s.remainingRepeats == -2)
        --s.depth;
    if (s.remainingRepeats >= 0) {
        const size_t comma = has(u',') ? size_t(first_[u',']) : blk_.size();
        const std::u16string_view head(blk_.data(), comma);
        const size_t l = head.find(u'L');
        const int label = integerAfter(head, l == std::u16string_view::npos ? 0 : l + 1);
        if (s.depth >= 1 && s.depth <= 8) {
            s.labelNumber[s.depth] = label;
            const int found = firstLabelLine(label);
            if (found >= 0)
                caret_ = found + 1;
        }
        if (s.remainingRepeats >= 1) {
            --s.remainingRepeats;
            s.requestedRepeats = -1;
            if (s.remainingRepeats == 0)
                s.remainingRepeats = -2;
        }
    } else if (s.remainingRepeats == -2) {
        s.remainingRepeats = 0;
    }
}

// Label lines are indexed once per program text: a line whose number is written
// out (no Q reference) is looked up in a table; lines whose number depends on Q
// values, or cannot be read, send the lookup through every label line in order,
// as the search reads them.
void Simulation::indexLabels() {
    if (labelsValid_ && labelsRevision_ == program_.revision())
        return;
    labels_.clear();
    labelFirst_.clear();
    labelLast_.clear();
    labelsSimple_ = true;
    const int n = program_.lineCount();
    for (int i = 0; i < n; ++i) {
        std::u16string_view t = viewOf(program_.line(i));
        bool label = false;
        for (size_t g = 0; !label && (g = scan::find(t, u'G', g)) != scan::npos; ++g)
            label = t.substr(g, 3) == u"G98";
        if (!label)
            continue;
        t = t.substr(0, scan::find(t, u';'));
        if (t.find(u"G98") == std::u16string_view::npos)
            continue;
        labels_.push_back(i);
        const size_t l = t.find(u'L');
        size_t p = l == std::u16string_view::npos ? 0 : l + 1;
        while (p < t.size() && t[p] == u' ')
            ++p;
        std::u16string text;
        bool dynamic = false;
        for (; p < t.size(); ++p) {
            const char16_t c = t[p];
            if (c == u'Q') {
                dynamic = true;
                break;
            }
            if (c == u'+' || c == u'-' || c == u',' || isDigit(c))
                text += c;
            else if (c == u'.')
                text += u',';
            else
                break;
        }
        int number = 0;
        if (dynamic || !parseIntegerText(text, number)) {
            labelsSimple_ = false;
            continue;
        }
        labelFirst_.emplace(number, i);
        labelLast_[number] = i;
    }
    labelsRevision_ = program_.revision();
    labelsValid_ = true;
}

int Simulation::lastLabelLine(double number) {
    indexLabels();
    if (labelsSimple_) {
        if (!(number >= -2147483648.0 && number <= 2147483647.0) || std::trunc(number) != number)
            return -1;
        const auto it = labelLast_.find(int(number));
        return it == labelLast_.end() ? -1 : it->second;
    }
    int found = -1;
    for (const int line : labels_)
        if (double(labelNumberOf(line)) == number)
            found = line;
    return found;
}

int Simulation::firstLabelLine(int number) {
    indexLabels();
    if (labelsSimple_) {
        const auto it = labelFirst_.find(number);
        return it == labelFirst_.end() ? -1 : it->second;
    }
    for (const int line : labels_)
        if (labelNumberOf(line) == number)
            return line;
    return -1;
}

int Simulation::labelNumberOf(int lineIndex) {
    std::u16string_view t = viewOf(program_.line(lineIndex));
    t = t.substr(0, t.find(u';'));
    work_.assign(t);
    const size_t l = work_.find(u'L');
    return integerAfter(work_, l == std::u16string::npos ? 0 : l + 1);
}

// ---------------------------------------------------------------- motion

float Simulation::rotationNow() const { return toFloat(module_.state.c.rotation); }

uint8_t Simulation::feedKind() const {
    const InterpreterState &s = module_.state;
    return s.leftComp ? KindFeedLeft : s.rightComp ? KindFeedRight : KindFeed;
}

ColorValue Simulation::kindColour(uint8_t kind) const {
    switch (kind) {
    case KindRapid: return rapidColour;
    case KindFeedRight: return rightCompColour;
    case KindFeedLeft: return leftCompColour;
    default: return noneCompColour;
    }
}

double Simulation::rapidRate() const {
    // The field's text is converted at every use; the last conversion is kept for the same text.
    if (!rapidValid_ || rapidText != rapidSeen_) {
        rapidSeen_ = rapidText;
        rapidValid_ = false;
        rapidValue_ = decimalOf(rapidText);
        rapidValid_ = true;
    }
    return rapidValue_;
}

void Simulation::addTime(double t, double *part) {
    totalTime_ = fp::add(totalTime_, t);
    if (part)
        *part = fp::add(*part, t);
}

void Simulation::addSegment(uint8_t kind, ColorValue colour, const Point3f *pts, int count, uint32_t hint, float rotation) {
    if (segments_.pointStore().size() + size_t(count) > pointLimit)
        fail(QStringLiteral("Dráha má více než %1 bodů, další již nelze zobrazit").arg(pointLimit));
    Point3f *out = segments_.add(kind, colour, module_.state.toolCounter, rotation, line_, count, hint);
    std::copy(pts, pts + count, out);
}

// Points m = 0 ... 20 of an arc in a plane with axes u, v and the third axis w, at
// the angles from + (to - from) * m / 20 degrees. The angles advance by rotating
// the first one step by step: two sines and cosines instead of 21.
void Simulation::makeArc(Point3f *out, int plane, double cu, double cv, double r, double from, double to, double w0,
                         double w1) const {
    const double a0 = from * kDegToRad, step = (to - from) / 20 * kDegToRad;
    double c = std::cos(a0), s = std::sin(a0);
    const double cs = std::cos(step), ss = std::sin(step);
    const double dw = w1 - w0;
    bool finite = true;
    for (int m = 0; m <= 20; ++m) {
        const float u = float(cu + r * c);
        const float v = float(cv + r * s);
        const float w = float(m == 20 ? w1 : w0 + dw * m / 20.0);
        finite = finite && std::fabs(u) <= FLT_MAX && std::fabs(v) <= FLT_MAX && std::fabs(w) <= FLT_MAX;
        out[m] = {u, v, w};
        const double nc = c * cs - s * ss;
        s = s * cs + c * ss;
        c = nc;
    }
    // The arguments are finite: a point that is not went beyond the range of a point.
    if (!finite)
        fp::raise(FpFault::Overflow);
    if (plane == 18)
        for (int m = 0; m <= 20; ++m)
            out[m] = {out[m].x, out[m].z, out[m].y};
    else if (plane == 19)
        for (int m = 0; m <= 20; ++m)
            out[m] = {out[m].z, out[m].x, out[m].y};
}

void Simulation::motion() {
    InterpreterState &s = module_.state;
    TSouradnice &c = s.c;
    if (has(u'X') || has(u'Y'))
        s.polar = Polar::None;
    if (s.polar == Polar::Rapid || s.polar == Polar::Linear) {
        c.X = fp::add(c.I, fp::mul(c.R, std::cos(c.H * kDegToRad)));
        c.Y = fp::add(c.J, fp::mul(c.R, std::sin(c.H * kDegToRad)));
    }
    if (s.polar == Polar::Clockwise)
        polarArc(true);
    else if (s.polar == Polar::CounterClockwise)
        polarArc(false);
    if (s.linear || s.polar == Polar::Linear)
        straight(false);
    if (s.rapid || s.polar == Polar::Rapid)
        straight(true);
    if (s.drilling && (s.cycleCall || s.modalCycleCall))
        cycleSymbol(true);
    if (s.tapping && (s.cycleCall || s.modalCycleCall))
        cycleSymbol(false);
    if (s.clockwise) {
        cartesianArc(true);
        s.clockwise = false;
    }
    if (s.counterClockwise) {
        cartesianArc(false);
        s.counterClockwise = false;
    }
    c.prevX = c.X;
    c.prevY = c.Y;
    c.prevZ = c.Z;
    c.prevH = c.H;
}

void Simulation::straight(bool rapid) {
    const TSouradnice &c = module_.state.c;
    const Point3f pts[2] = {{toFloat(c.prevX), toFloat(c.prevY), toFloat(c.prevZ)}, {toFloat(c.X), toFloat(c.Y), toFloat(c.Z)}};
    const double dx = fp::sub(c.X, c.prevX), dy = fp::sub(c.Y, c.prevY), dz = fp::sub(c.Z, c.prevZ);
    const double length = std::sqrt(fp::add(fp::add(fp::mul(dx, dx), fp::mul(dy, dy)), fp::mul(dz, dz)));
    if (rapid) {
        addTime(fp::div(length, rapidRate()), &rapidTime_);
        addSegment(KindRapid, rapidColour, pts, 2, segments_.hint(0, 0), rotationNow());
    } else {
        addTime(fp::div(length, c.F));
        const uint8_t kind = feedKind();
        addSegment(kind, kindColour(kind), pts, 2, segments_.hint(c.S, c.F), rotationNow());
    }
}

// The symbol of a called cycle: a circle round the tool at the hole's bottom and
// the same circle at the top of the cycle; a drilling cycle first moves down in rapid.
void Simulation::cycleSymbol(bool drilling) {
    const InterpreterState &s = module_.state;
    const TSouradnice &c = s.c;
    const double p1 = c.P[0], p2 = c.P[1];
    if (drilling) {
        const double depth = fp::add(p1, p2);
        addTime(fp::add(std::fabs(fp::div(depth, c.P[4])), std::fabs(fp::div(depth, rapidRate()))), &drillingTime_);
        const Point3f down[2] = {{toFloat(c.X), toFloat(c.Y), toFloat(c.prevZ)}, {toFloat(c.X), toFloat(c.Y), toFloat(c.Z)}};
        addSegment(KindRapid, rapidColour, down, 2, segments_.hint(0, 0), rotationNow());
    } else {
        const double tool = s.rigidTapping ? std::fabs(fp::add(fp::div(p2, fp::mul(c.P[3], c.S)), p1))
                                           : std::fabs(fp::add(fp::div(p2, c.P[3]), p1));
        addTime(fp::add(tool, std::fabs(fp::add(fp::div(p2, c.F), p1))), &tappingTime_);
    }
    const double radius = drilling ? 3 : 5;
    Point3f pts[42];
    makeArc(pts, 17, c.X, c.Y, radius, 0, 360, c.Z, c.Z);
    const double top = fp::add(fp::add(c.Z, p1), p2);
    makeArc(pts + 21, 17, c.X, c.Y, radius, 0, 360, top, top);
    addSegment(drilling ? KindDrilling : KindTapping, drilling ? clGreen : clMaroon, pts, 42, kNoHint, rotationNow());
}

void Simulation::polarArc(bool clockwise) {
    TSouradnice &c = module_.state.c;
    double &h = c.H, &ph = c.prevH;
    const uint8_t kind = feedKind();
    Point3f pts[21];
    auto arc = [&](double from, double to, double w0, double w1) {
        const double sweep = std::fabs(to - from);
        addTime(fp::div(fp::mul(sweep, fp::div(fp::mul(2 * kPi, c.R), 360)), c.F));
        makeArc(pts, 17, c.I, c.J, c.R, from, to, w0, w1);
        addSegment(kind, kindColour(kind), pts, 21, kNoHint, rotationNow());
    };
    if (clockwise) {
        if (ph == 0 && h == 0)
            ph = 360;
        if (ph == 0 && h == 360) {
            ph = 360;
            h = 0;
        }
    } else if (ph == 0 && h == 0) {
        h = 360;
    }
    if (h - ph > 360) {
        // A helix of whole turns, each one step lower.
        const double turns = std::trunc(h / 360);
        if (turns > 100000)
            fail(QStringLiteral("Šroubovice s %1 otáčkami je příliš dlouhá").arg(turns, 0, 'f', 0));
        const double step = fp::div(fp::sub(c.prevZ, c.Z), turns);
        for (int i = 0; i < int(turns); ++i) {
            c.Z = c.prevZ - step;
            if (clockwise)
                arc(360, 0, c.prevZ, c.Z);
            else
                arc(0, 360, c.prevZ, c.Z);
            c.prevZ = c.prevZ - step;
        }
    } else if (clockwise) {
        if (ph <= h)
            ph += 360;
        arc(ph, h, c.prevZ, c.Z);
    } else {
        if (ph >= h)
            h += 360;
        arc(ph, h, c.prevZ, c.Z);
    }
    c.X = fp::add(c.I, fp::mul(c.R, std::cos(h * kDegToRad)));
    c.Y = fp::add(c.J, fp::mul(c.R, std::sin(h * kDegToRad)));
    if (h > 360)
        h = 0;
}

void Simulation::cartesianArc(bool clockwise) {
    const InterpreterState &s = module_.state;
    const TSouradnice &c = s.c;
    if (s.plane == 0)
        fail(QStringLiteral("'' is not a valid integer value"));
    double su, sv, eu, ev, cu, cv, w0, w1;
    switch (s.plane) {
    case 18:
        su = c.prevX, sv = c.prevZ, eu = c.X, ev = c.Z, cu = c.I, cv = c.K, w0 = w1 = c.Y;
        break;
    case 19:
        su = c.prevY, sv = c.prevZ, eu = c.Y, ev = c.Z, cu = c.J, cv = c.K, w0 = c.prevX, w1 = c.X;
        break;
    default:
        su = c.prevX, sv = c.prevY, eu = c.X, ev = c.Y, cu = c.I, cv = c.J, w0 = c.prevZ, w1 = c.Z;
        break;
    }
    // Offsets to the centre in single precision; the radius is the start's.
    const float du1 = toFloat(fp::sub(cu, su)), dv1 = toFloat(fp::sub(cv, sv));
    const float du2 = toFloat(fp::sub(cu, eu)), dv2 = toFloat(fp::sub(cv, ev));
    const double r = std::sqrt(double(du1) * du1 + double(dv1) * dv1);
    double start = round5(std::atan2(double(dv1), double(du1))) + kPi;
    double end = round5(std::atan2(double(dv2), double(du2))) + kPi;
    if (s.plane == 17) {
        if (clockwise && start <= end)
            start += 2 * kPi;
        if (!clockwise && start >= end)
            end += 2 * kPi;
    } else {
        if (clockwise && start >= end)
            end += 2 * kPi;
        if (!clockwise && start <= end)
            start += 2 * kPi;
    }
    const double from = start * kRadToDeg, to = end * kRadToDeg;
    addTime(fp::div(fp::mul(std::fabs(to - from), 2 * kPi * r / 360), c.F));
    Point3f pts[21];
    makeArc(pts, s.plane, cu, cv, r, from, to, w0, w1);
    const uint8_t kind = feedKind();
    addSegment(kind, kindColour(kind), pts, 21, kNoHint, rotationNow());
}

void Simulation::toolChange() {
    InterpreterState &s = module_.state;
    const double t = decimalOf(toolChangeText);
    addTime(t, &toolChangeTotal_);
    s.drilling = s.tapping = false;
    s.cycleCall = s.modalCycleCall = false;
    s.clockwise = s.counterClockwise = false;
    s.polar = Polar::None;
    toolNodes_.push_back({s.toolCounter, QStringLiteral("Nástroj - #%1").arg(s.toolCounter), toQString(blk_)});
}

// ---------------------------------------------------------------- steps and runs

void Simulation::previewNextBlock() {
    InterpreterState &s = module_.state;
    if (caret_ < 1 || caret_ >= program_.lineCount())
        return;
    const QStringView text = program_.line(caret_);
    if (text.isEmpty() || text[0] == u';' || text[0] == u'*' || text[0] == u'/')
        return;
    const int saved = line_;
    line_ = caret_ + 1;
    std::u16string t(viewOf(text));
    t.resize(std::min(t.size(), t.find(u';')));
    try {
        for (size_t g; (g = t.find(u'G')) != std::u16string::npos;) {
            const int number = integerAfter(t, g + 1);
            if (number == 0 || number == 1) {
                s.rapid = number == 0;
                s.linear = number == 1;
                s.clockwise = s.counterClockwise = false;
                nextG_ = val_;
            } else if (number == 30 || number == 31 || number == 53 || number == 54) {
                line_ = saved;
                return;
            }
            t.erase(g, val_.size() + 1);
        }
        std::u16string *fields[3] = {&nextX_, &nextY_, &nextZ_};
        const char16_t axes[3] = {u'X', u'Y', u'Z'};
        for (int i = 0; i < 3; ++i) {
            const size_t p = t.find(axes[i]);
            if (p != std::u16string::npos) {
                wordValue(t, p + 1, false);
                *fields[i] = val_;
            }
        }
    } catch (const Failure &f) {
        message(MessageKind::Error, f.message);
    }
    line_ = saved;
}

BlockResult Simulation::step() {
    const BlockResult r = executeNextBlock();
    if (r != BlockResult::Failed)
        previewNextBlock();
    return r;
}

RunResult Simulation::run(RunHooks *hooks, qint64 maxBlocks) {
    InterpreterState &s = module_.state;
    RunResult result;
    s.stop = false;
    qint64 counter = 0;
    while (!s.stop) {
        const int n = program_.lineCount();
        if (n <= 0)
            break;
        if (hooks && hooks->stopMarkAt(caret_)) {
            s.stop = true;
        } else {
            ++result.blocks;
            if (executeNextBlock() == BlockResult::Failed) {
                result.failed = true;
                s.stop = true;
                break;
            }
        }
        if (++counter % 300 == 0 && hooks) {
            hooks->letInputThrough();
            if (hooks->stopRequested())
                s.stop = true;
        }
        if (caret_ >= program_.lineCount() - 1)
            s.stop = true;
        if (!s.stop && maxBlocks >= 0 && result.blocks >= maxBlocks) {
            result.limitReached = true;
            line_ = caret_;
            message(MessageKind::Info, QStringLiteral("Simulace skončila po %1 blocích (nejvyšší počet bloků)").arg(maxBlocks));
            break;
        }
    }
    return result;
}

void Simulation::reset() {
    InterpreterState &s = module_.state;
    TSouradnice &c = s.c;
    c.X = c.Y = c.prevX = c.prevY = c.H = c.A = c.prevA = c.rotation = 0;
    c.datumX = c.datumY = c.datumZ = 0;
    c.Z = c.prevZ = 600;
    s.polar = Polar::None;
    s.stop = false;
    s.toolCounter = 0;
    totalTime_ = 0;
    s.rapid = true;
    s.linear = s.clockwise = s.counterClockwise = false;
    s.leftComp = s.rightComp = false;
    s.drilling = s.tapping = false;
    toolChangeTotal_ = rapidTime_ = drillingTime_ = tappingTime_ = 0;
    segments_.clear();
    box_.reset();
    s.depth = 0;
    s.requestedRepeats = s.remainingRepeats = 0;
    for (int i = 1; i < 256; ++i)
        qTable_[size_t(i)] = QCell{};
    toolNodes_.clear();
}

int Simulation::findBlock(const QString &text) {
    const std::u16string_view wanted = viewOf(text);
    const int n = program_.lineCount();
    const int saved = line_;
    for (int i = 0; i < n; ++i) {
        const std::u16string_view t = viewOf(program_.line(i));
        const size_t at = t.find(u'N');
        line_ = i + 1;
        try {
            wordValue(t, at == std::u16string_view::npos ? 0 : at + 1, false);
        } catch (const Failure &f) {
            message(MessageKind::Error, f.message);
            line_ = saved;
            return 0;
        }
        if (std::u16string_view(val_) == wanted) {
            line_ = saved;
            return i + 1;
        }
    }
    line_ = saved;
    return 0;
}

int Simulation::findInProgram(const QString &caption) const {
    const int n = program_.lineCount();
    for (int i = 0; i < n; ++i)
        if (program_.line(i) == caption)
            return i + 1;
    return n;
}

// ---------------------------------------------------------------- what the window shows

PositionTexts Simulation::positionTexts() const {
    PositionTexts p;
    p.current[0] = toQString(currentG_);
    p.current[1] = positionText(shownX_);
    p.current[2] = positionText(shownY_);
    p.current[3] = positionText(shownZ_);
    p.next[0] = toQString(nextG_);
    p.next[1] = toQString(nextX_);
    p.next[2] = toQString(nextY_);
    p.next[3] = toQString(nextZ_);
    return p;
}

QString Simulation::qText(int n) const {
    if (n < 0 || n > 255)
        return QString();
    const QCell &cell = qTable_[size_t(n)];
    switch (cell.kind) {
    case QCell::General:
        return formatGeneral(module_.q[size_t(n)]);
    case QCell::Text:
        return toQString(cell.text);
    default:
        return QString();
    }
}

QString Simulation::qHeader() const { return qTable_[0].kind == QCell::Empty ? QStringLiteral("Hodnota") : qText(0); }

void Simulation::setKindVisible(int kind, bool visible) {
    for (size_t i = 0; i < segments_.size(); ++i)
        if (segments_[i].kind == kind)
            segments_.setVisible(i, visible);
}

void Simulation::setToolVisible(int tool, bool visible) {
    for (size_t i = 0; i < segments_.size(); ++i)
        if (segments_[i].tool == tool)
            segments_.setVisible(i, visible);
}

PickInfo Simulation::pickInfo(size_t index) const {
    PickInfo info;
    const Segment &seg = segments_[index];
    const Point3f *p = segments_.points(seg);
    const float a[3] = {p[0].x, p[0].y, p[0].z}, b[3] = {p[1].x, p[1].y, p[1].z};
    for (int i = 0; i < 3; ++i) {
        info.start[i] = formatGeneral(roundDecimal(a[i], 4));
        info.end[i] = formatGeneral(roundDecimal(b[i], 4));
    }
    info.s = segments_.hintText(seg, 0);
    info.f = segments_.hintText(seg, 1);
    switch (seg.kind) {
    case KindRapid:
        info.type = QStringLiteral("rychloposuv");
        info.f = rapidText;
        break;
    case KindFeed: info.type = QStringLiteral("posuv"); break;
    case KindFeedRight: info.type = QStringLiteral("posuv pravá korekce"); break;
    case KindFeedLeft: info.type = QStringLiteral("posuv levá korekce"); break;
    default: break;
    }
    return info;
}

} // namespace velmora::sim
