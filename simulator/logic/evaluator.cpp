#include "simulator/logic/evaluator.h"

#include "common/numbers.h"
#include "simulator/logic/fparith.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>

namespace velmora::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct OtherFailure {};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view viewOf(const QString &s) {
    return {reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size())};
}
QString toQString(std::u16string_view s) { return QString(reinterpret_cast<const QChar *>(s.data()), qsizetype(s.size())); }

// Index of the ")" that closes the "(" at `open`; false when there is none.
bool matching(std::u16string_view t, size_t open, size_t &close) {
    int depth = 0;
    for (size_t i = open; i < t.size(); ++i) {
        if (t[i] == u'(')
            ++depth;
        else if (t[i] == u')' && --depth == 0) {
            close = i;
            return true;
        }
    }
    return false;
}

int errorOf(FpFault f) {
    switch (f) {
    case FpFault::ZeroDivide:
        return TEvaluator::ERR_ZERO_DIVIDE;
    case FpFault::Overflow:
        return TEvaluator::ERR_OVERFLOW;
    case FpFault::InvalidOp:
        return TEvaluator::ERR_INVALID_OP;
    }
    return TEvaluator::ERR_OTHER;
}

double sgn(double x) { return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0; }
double sq(double x) { return fp::mul(x, x); }

// A function's result: a NaN or an infinity made from a finite argument is a fault.
double fnResult(double r, double x) {
    if (std::isnan(r) && !std::isnan(x))
        fp::raise(FpFault::InvalidOp);
    if (std::isinf(r) && std::isfinite(x))
        fp::raise(FpFault::Overflow);
    return r;
}

// A whole number of a real value, as the FPU stores it: out of the 64-bit range it is invalid.
long long wholeNumber(double x, bool round) {
    const double w = round ? std::nearbyint(x) : std::trunc(x);
    if (!(std::fabs(w) < 9.2233720368547758e18))
        fp::raise(FpFault::InvalidOp);
    return static_cast<long long>(w);
}

std::mt19937_64 &randomGenerator() {
    static std::mt19937_64 gen{std::random_device{}()};
    return gen;
}

bool function(std::u16string_view name, double x, double &r) {
    auto is = [&](const char *n) {
        size_t i = 0;
        for (; n[i]; ++i)
            if (i >= name.size() || name[i] != char16_t(n[i]))
                return false;
        return i == name.size();
    };
    using namespace fp;
    if (is("ABS"))
        r = std::fabs(x);
    else if (is("ATN"))
        r = std::atan(x);
    else if (is("COS"))
        r = std::cos(x);
    else if (is("SIN"))
        r = std::sin(x);
    else if (is("TAN"))
        r = std::tan(x);
    else if (is("COTAN"))
        r = div(1, std::tan(x));
    else if (is("SEC"))
        r = div(1, std::cos(x));
    else if (is("COSEC"))
        r = div(1, std::sin(x));
    else if (is("ARCSIN"))
        r = std::atan2(x, fp::sqrt(sub(1, sq(x))));
    else if (is("ARCCOS"))
        r = std::atan2(fp::sqrt(sub(1, sq(x))), x);
    else if (is("ARCSEC"))
        r = add(std::atan(div(x, fp::sqrt(sub(sq(x), 1)))), sgn(x - 1) * kPi / 2);
    else if (is("ARCCOSEC"))
        r = add(std::atan(div(x, fp::sqrt(sub(sq(x), 1)))), (sgn(x) - 1) * kPi / 2);
    else if (is("ARCCOTAN"))
        r = std::atan(x) + kPi / 2;
    else if (is("HSIN"))
        r = std::sinh(x);
    else if (is("HCOS"))
        r = std::cosh(x);
    else if (is("HTAN"))
        r = std::tanh(x);
    else if (is("HARCSIN"))
        r = ln(add(x, fp::sqrt(add(sq(x), 1))));
    else if (is("HARCCOS"))
        r = ln(add(x, mul(add(x, 1), fp::sqrt(div(sub(x, 1), add(x, 1))))));
    else if (is("HARCTAN")) {
        if (x == 1 || x == -1) {
            r = x * HUGE_VAL; // the limits themselves, not a fault
            return true;
        }
        r = 0.5 * ln(div(add(1, x), sub(1, x)));
    }
    else if (is("HSEC"))
        r = div(2, add(fp::exp(x), fp::exp(-x)));
    else if (is("HCOSEC"))
        r = div(2, sub(fp::exp(x), fp::exp(-x)));
    else if (is("HCOTAN"))
        r = div(add(fp::exp(x), fp::exp(-x)), sub(fp::exp(x), fp::exp(-x)));
    else if (is("HARCSEC"))
        r = fp::log10(div(add(fp::sqrt(sub(1, sq(x))), 1), x));
    else if (is("HARCCOSEC"))
        r = fp::log10(div(add(sgn(x) * fp::sqrt(add(sq(x), 1)), 1), x));
    else if (is("HARCCOTAN"))
        r = fp::log10(div(add(x, 1), sub(x, 1))) / 2;
    else if (is("EXP"))
        r = fp::exp(x);
    else if (is("LOG"))
        r = fp::log10(x);
    else if (is("ROUND"))
        r = double(wholeNumber(x, true));
    else if (is("INT"))
        r = std::trunc(x);
    else if (is("FRAC"))
        r = sub(x, std::trunc(x));
    else if (is("RANDOM")) {
        const long long n = wholeNumber(x, false);
        r = n <= 0 ? 0.0 : double(std::uniform_int_distribution<long long>(0, n - 1)(randomGenerator()));
    } else if (is("SGN"))
        r = sgn(x);
    else if (is("SQR"))
        r = fp::sqrt(x);
    else
        return false;
    r = fnResult(r, x);
    return true;
}

bool constant(std::u16string_view name, const std::function<QDateTime()> &clock, double &r) {
    const QString n = toQString(name);
    if (n == QLatin1String("PI"))
        r = 3.14159265358979;
    else if (n == QLatin1String("E"))
        r = 2.71828182845905;
    else if (n == QLatin1String("ZERO"))
        r = 0;
    else {
        static const char *const parts[] = {"YEAR", "MONTH", "DAY", "WEEKDAY", "HOUR", "MINUTE", "SECOND", "MILLISECOND"};
        int which = -1;
        for (int i = 0; i < 8; ++i)
            if (n == QLatin1String(parts[i]))
                which = i;
        if (which < 0)
            return false;
        const QDateTime now = clock ? clock() : QDateTime::currentDateTime();
        const QDate d = now.date();
        const QTime t = now.time();
        switch (which) {
        case 0: r = d.year(); break;
        case 1: r = d.month(); break;
        case 2: r = d.day(); break;
        case 3: r = d.dayOfWeek() % 7 + 1; break; // Qt: Monday 1 ... Sunday 7; here Sunday 1 ... Saturday 7
        case 4: r = t.hour(); break;
        case 5: r = t.minute(); break;
        case 6: r = t.second(); break;
        default: r = t.msec(); break;
        }
    }
    return true;
}

// Base to an exponent: integer exponents by repeated squaring (a negative base works),
// others through the logarithm (which fails for a negative base).
double power(double base, double exponent) {
    if (exponent == 0)
        return 1;
    if (base == 0 && exponent > 0)
        return 0;
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0) {
        long long y = static_cast<long long>(std::fabs(exponent));
        double b = base, r = 1;
        while (y > 0) {
            while ((y & 1) == 0) {
                y >>= 1;
                b = fp::mul(b, b);
            }
            --y;
            r = fp::mul(r, b);
        }
        return exponent < 0 ? fp::div(1, r) : r;
    }
    return fp::exp(fp::mul(exponent, fp::ln(base)));
}

} // namespace

const char *TEvaluator::errorName(int code) {
    static const char *const names[] = {"ERR_NONE",         "ERR_ZERO_DIVIDE",  "ERR_OVERFLOW",
                                        "ERR_INVALID_OP",   "ERR_DBL_POINT",    "ERR_WRONG_SYNTAX",
                                        "ERR_WRONG_BRACKETS", "ERR_EMPTY_STRING", "ERR_OTHER"};
    return code >= 0 && code <= 8 ? names[code] : "";
}

bool TEvaluator::addVariable(const QString &name, double value) {
    std::u16string key(viewOf(name.toUpper()));
    auto it = std::lower_bound(variables_.begin(), variables_.end(), key,
                               [](const auto &e, const std::u16string &k) { return e.first < k; });
    if (it != variables_.end() && it->first == key)
        return false;
    variables_.insert(it, {std::move(key), value});
    return true;
}

double TEvaluator::Evaluate() {
    error_ = ERR_NONE;
    return evalText(viewOf(expression));
}

// A text: blanks dropped, "." as ",", letters upper-cased outside brackets (a group is
// normalised when it is evaluated itself), then the sum of its terms.
double TEvaluator::evalText(std::u16string_view text) {
    std::u16string s;
    s.reserve(text.size());
    int depth = 0;
    for (const char16_t c : text) {
        if (c == u'(') {
            ++depth;
            s += c;
        } else if (c == u')') {
            --depth;
            s += c;
        } else if (depth != 0) {
            s += c;
        } else if (c == u' ') {
            continue;
        } else if (c == u'.') {
            s += u',';
        } else if (c >= u'a' && c <= u'z') {
            s += char16_t(c - (u'a' - u'A'));
        } else {
            s += c;
        }
    }
    if (depth != 0) {
        fail(ERR_WRONG_BRACKETS);
        return 0;
    }
    if (s.empty()) {
        fail(ERR_EMPTY_STRING);
        return 0;
    }
    const std::u16string_view t(s);
    double sum = 0;
    auto addTerm = [&](std::u16string_view part) {
        const double v = term(part);
        try {
            sum = fp::add(sum, v);
        } catch (const FpError &e) {
            fail(e.fault == FpFault::Overflow ? ERR_OVERFLOW : ERR_OTHER);
        }
    };
    size_t start = 0;
    depth = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            if (--depth < 0)
                fail(ERR_WRONG_BRACKETS);
        } else if ((c == u'+' || c == u'-') && depth == 0 && i > 0) {
            addTerm(t.substr(start, i - start));
            start = i;
        }
    }
    addTerm(t.substr(start));
    return sum;
}

double TEvaluator::term(std::u16string_view text) {
    if (error_ != ERR_NONE)
        return 0;
    double acc = 0;
    auto piece = [&](std::u16string_view p) {
        char16_t op = u'+';
        double v = 0;
        signedFactor(p, op, v);
        if (error_ != ERR_NONE)
            return false;
        try {
            acc = op == u'*' ? fp::mul(acc, v) : op == u'/' ? fp::div(acc, v) : fp::add(acc, v);
        } catch (const FpError &e) {
            fail(e.fault == FpFault::ZeroDivide ? ERR_ZERO_DIVIDE : e.fault == FpFault::Overflow ? ERR_OVERFLOW : ERR_OTHER);
            return false;
        }
        return true;
    };
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if ((c == u'*' || c == u'/') && depth == 0 && i > 0) {
            if (!piece(text.substr(start, i - start)))
                return 0;
            start = i;
        }
    }
    if (!piece(text.substr(start)))
        return 0;
    return acc;
}

void TEvaluator::signedFactor(std::u16string_view p, char16_t &op, double &value) {
    op = u'+';
    value = 0;
    bool negate = false;
    if (!p.empty() && (p[0] == u'*' || p[0] == u'+' || p[0] == u'/')) {
        op = p[0];
        p.remove_prefix(1);
    } else if (!p.empty() && p[0] == u'-') {
        negate = true;
        p.remove_prefix(1);
    }
    if (p.empty()) {
        fail(ERR_WRONG_SYNTAX);
        return;
    }
    try {
        size_t used = 0;
        double a = primary(p, used);
        if (error_ != ERR_NONE)
            return;
        p.remove_prefix(std::min(used, p.size()));
        if (!p.empty()) {
            if (p[0] != u'^') {
                fail(ERR_WRONG_SYNTAX);
                return;
            }
            p.remove_prefix(1);
            size_t used2 = 0;
            const double b = primary(p, used2);
            if (error_ != ERR_NONE)
                return;
            if (used2 < p.size()) {
                fail(ERR_WRONG_SYNTAX);
                return;
            }
            a = power(a, b);
        }
        value = negate ? -a : a;
    } catch (const FpError &e) {
        fail(e.fault == FpFault::Overflow ? ERR_OVERFLOW : ERR_OTHER);
    } catch (const OtherFailure &) {
        fail(ERR_OTHER);
    }
}

double TEvaluator::primary(std::u16string_view t, size_t &used) {
    if (t.empty())
        throw OtherFailure{};
    const char16_t c = t[0];
    if (c == u'(') {
        size_t close = 0;
        if (t.size() < 2 || !matching(t, 0, close)) {
            fail(ERR_WRONG_BRACKETS);
            return 0;
        }
        used = close + 1;
        return evalText(t.substr(1, close - 1));
    }
    if (c == u',' || isDigit(c))
        return number(t, used);
    return name(t, used);
}

// Digits with at most one decimal comma; a lone leading comma reads as "0,".
double TEvaluator::number(std::u16string_view t, size_t &used) {
    std::string digits;
    digits.reserve(t.size() + 1);
    if (t[0] == u',')
        digits += '0';
    bool comma = false;
    size_t i = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i];
        if (isDigit(c))
            digits += char(c);
        else if (c == u',') {
            if (comma) {
                fail(ERR_DBL_POINT);
                return 0;
            }
            comma = true;
            digits += '.';
        } else
            break;
    }
    used = i;
    if (digits.back() == '.')
        digits.pop_back();
    double v = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too small gives 0; too large cannot be converted.
        const size_t point = digits.find('.');
        const std::string whole = digits.substr(0, point);
        if (whole.find_first_not_of('0') != std::string::npos)
            throw OtherFailure{};
        v = 0;
    } else if (r.ec != std::errc())
        throw OtherFailure{};
    return v;
}

double TEvaluator::name(std::u16string_view t, size_t &used) {
    size_t k = 0;
    while (k < t.size() && t[k] != u'(' && t[k] != u'^')
        ++k;
    const std::u16string_view n = t.substr(0, k);
    const bool hasArgument = k < t.size() && t[k] == u'(';
    double x = 0;
    std::u16string_view argument;
    if (hasArgument) {
        size_t close = 0;
        if (!matching(t, k, close)) {
            fail(ERR_WRONG_BRACKETS);
            return 0;
        }
        argument = t.substr(k + 1, close - k - 1);
        used = close + 1;
        x = evalText(argument);
    } else {
        used = k;
    }
    return lookup(n, hasArgument, x, argument);
}

double TEvaluator::lookup(std::u16string_view n, bool hasArgument, double x, std::u16string_view argument) {
    const bool msgbox = n == u"MSGBOX", msgboxCalc = n == u"MSGBOXCALC";
    if (msgbox || msgboxCalc) {
        if (!hasArgument) {
            fail(ERR_OTHER);
            return 0;
        }
        if (onMessage)
            onMessage(msgbox ? toQString(argument) : formatGeneral(x));
        return 0;
    }
    double r = 0;
    if (hasArgument) {
        try {
            if (function(n, x, r))
                return r;
        } catch (const FpError &e) {
            fail(errorOf(e.fault));
            return 0;
        }
    }
    if (constant(n, clock, r))
        return r;
    if (!hasArgument) {
        auto it = std::lower_bound(variables_.begin(), variables_.end(), n,
                                   [](const auto &e, std::u16string_view k) { return std::u16string_view(e.first) < k; });
        if (it != variables_.end() && it->first == n)
            return it->second;
    }
    fail(ERR_WRONG_SYNTAX);
    return 0;
}

} // namespace velmora::sim
