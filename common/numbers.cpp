#include "common/numbers.h"

#include <QLocale>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <string>

namespace velmora {

ConversionError::ConversionError(const QString &message) : std::runtime_error(message.toStdString()) {}

int formatGeneralTo(double value, char decimalMark, char *out) {
    auto put = [&](const char *t) {
        int n = 0;
        while (t[n]) {
            out[n] = t[n];
            ++n;
        }
        return n;
    };
    if (std::isnan(value))
        return put("NAN");
    if (std::isinf(value))
        return put(value > 0 ? "INF" : "-INF");
    if (value == 0)
        return put("0");
    char buf[40];
    // 15 significant digits: d.dddddddddddddde±XX (locale independent)
    const char *end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14).ptr;
    const char *p = buf;
    const bool neg = *p == '-';
    if (neg)
        ++p;
    char digits[16];
    int nd = 0;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits[nd++] = *p;
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exp10); // value = d.ddd * 10^exp10
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;
    const int decpt = exp10 + 1; // digits before the decimal point
    int n = 0;
    if (neg)
        out[n++] = '-';
    if (decpt > 15 || decpt < -3) {
        out[n++] = digits[0];
        if (nd > 1) {
            out[n++] = decimalMark;
            for (int i = 1; i < nd; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'E';
        n += int(std::to_chars(out + n, out + n + 8, decpt - 1).ptr - (out + n));
        return n;
    }
    if (decpt <= 0) {
        out[n++] = '0';
        out[n++] = decimalMark;
        for (int i = 0; i < -decpt; ++i)
            out[n++] = '0';
        for (int i = 0; i < nd; ++i)
            out[n++] = digits[i];
    } else if (decpt >= nd) {
        for (int i = 0; i < nd; ++i)
            out[n++] = digits[i];
        for (int i = nd; i < decpt; ++i)
            out[n++] = '0';
    } else {
        for (int i = 0; i < decpt; ++i)
            out[n++] = digits[i];
        out[n++] = decimalMark;
        for (int i = decpt; i < nd; ++i)
            out[n++] = digits[i];
    }
    return n;
}

QString formatGeneral(double value, QChar decimalMark) {
    char buf[kGeneralFormatMax];
    const int n = formatGeneralTo(value, char(decimalMark.unicode()), buf);
    return QString::fromLatin1(buf, n);
}

QString ncForm(const QString &numberText) {
    QString s = numberText;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    if (!s.contains(QLatin1Char('.')))
        s += QLatin1Char('.');
    return s;
}

QString withoutExponent(const QString &text) {
    const qsizetype e = text.indexOf(QLatin1Char('E'), 0, Qt::CaseInsensitive);
    if (e < 0)
        return text;
    bool ok = false;
    const int exponent = text.mid(e + 1).toInt(&ok);
    QString mantissa = text.left(e);
    QString sign;
    if (mantissa.startsWith(QLatin1Char('-')) || mantissa.startsWith(QLatin1Char('+'))) {
        if (mantissa.startsWith(QLatin1Char('-')))
            sign = QStringLiteral("-");
        mantissa.remove(0, 1);
    }
    qsizetype markAt = mantissa.indexOf(QLatin1Char(','));
    QChar mark = QLatin1Char(',');
    if (markAt < 0 && mantissa.contains(QLatin1Char('.'))) {
        markAt = mantissa.indexOf(QLatin1Char('.'));
        mark = QLatin1Char('.');
    }
    QString digits = mantissa;
    if (markAt >= 0)
        digits.remove(markAt, 1);
    else
        markAt = mantissa.size();
    if (!ok || digits.isEmpty() || exponent > 400 || exponent < -400)
        return text;
    for (QChar c : digits)
        if (!c.isDigit())
            return text;
    qsizetype point = markAt + exponent; // digits before the decimal mark
    if (point <= 0) {
        digits.prepend(QString(-point + 1, QLatin1Char('0')));
        point = 1;
    } else if (point > digits.size()) {
        digits.append(QString(point - digits.size(), QLatin1Char('0')));
    }
    QString whole = digits.left(point), fraction = digits.mid(point);
    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);
    while (fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return sign + whole + (fraction.isEmpty() ? QString() : mark + fraction);
}

QString ncNumber(double value) { return ncForm(withoutExponent(formatGeneral(value, u'.'))); }

double roundDecimal(double value, int places) {
    if (!std::isfinite(value))
        return value;
    // The decimal text the value stands for, 15 significant digits.
    char buf[64];
    *std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14).ptr = 0;
    const bool neg = buf[0] == '-';
    const char *p = buf + (neg ? 1 : 0);
    std::string digits;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    const int exp10 = std::atoi(p + 1);
    // digits = d0 d1 ... d14, value = 0.d0d1... * 10^(exp10+1)
    const int keep = exp10 + 1 + places; // number of digits kept
    if (keep >= int(digits.size()))
        return value;
    if (keep < 0)
        return 0.0;
    // Round the digit string at position keep, halves to even.
    std::string kept = digits.substr(0, size_t(keep));
    const char first = digits[size_t(keep)];
    bool restNonZero = false;
    for (size_t i = size_t(keep) + 1; i < digits.size(); ++i)
        restNonZero = restNonZero || digits[i] != '0';
    bool up = false;
    if (first > '5' || (first == '5' && restNonZero))
        up = true;
    else if (first == '5') {
        const int last = kept.empty() ? 0 : kept.back() - '0';
        up = (last % 2) == 1;
    }
    int shift = 0; // carry into a new leading digit
    if (up) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[size_t(i)] == '9') {
            kept[size_t(i)] = '0';
            --i;
        }
        if (i >= 0)
            kept[size_t(i)]++;
        else {
            kept.insert(kept.begin(), '1');
            shift = 1;
        }
    }
    if (kept.empty())
        return 0.0;
    // Build "0.<kept>e<exp>" and let the C library convert it exactly.
    const std::string text = std::string(neg ? "-" : "") + "0." + kept + "e" + std::to_string(exp10 + 1 + shift);
    double out = 0;
    std::from_chars(text.data() + (neg ? 1 : 0), text.data() + text.size(), out);
    return neg ? -out : out;
}

double roundNoise(double value) { return roundDecimal(value, 10); }

namespace {

QString trimmedBlanks(const QString &s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

} // namespace

bool tryParseInteger(const QString &text, int &value) {
    const QString t = trimmedBlanks(text);
    qsizetype i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        neg = t[i++] == u'-';
    if (i >= t.size())
        return false;
    int base = 10;
    if (t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    qlonglong v = 0;
    for (; i < t.size(); ++i) {
        const int d = QChar(t[i]).isDigit() && t[i].unicode() < 128 ? t[i].unicode() - '0'
                      : base == 16 && t[i].toLower() >= u'a' && t[i].toLower() <= u'f' ? t[i].toLower().unicode() - 'a' + 10
                                                                                   : -1;
        if (d < 0)
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFll)
            return false;
    }
    if (base == 10) {
        const qlonglong s = neg ? -v : v;
        if (s < INT_MIN || s > INT_MAX)
            return false;
        value = int(s);
    } else {
        value = int(quint32(v));
        if (neg)
            value = -value;
    }
    return true;
}

int parseInteger(const QString &text) {
    int v;
    if (!tryParseInteger(text, v))
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

bool tryParseFloat(const QString &text, double &value, QChar decimalMark) {
    const QString t = trimmedBlanks(text);
    if (t.isEmpty())
        return false;
    std::string s;
    s.reserve(size_t(t.size()));
    qsizetype i = 0;
    if (t[i] == u'+' || t[i] == u'-')
        s += char(t[i++].unicode());
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            s += char(c.unicode());
            ++digits;
        } else if (c == decimalMark && !point) {
            s += '.';
            point = true;
        } else
            break;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        s += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
            s += char(t[i++].unicode());
        int ed = 0;
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++ed)
            s += char(t[i].unicode());
        if (ed == 0)
            return false;
    }
    if (i != t.size())
        return false;
    double v = 0;
    const char *b = s.data();
    const bool minus = *b == '-';
    if (*b == '+' || *b == '-')
        ++b;
    const auto res = std::from_chars(b, s.data() + s.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v))
        return false;
    if (minus)
        v = -v;
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

void requireNcWord(double value, const QString &fieldText) {
    if (!std::isfinite(value) || std::fabs(value) >= kNcWordLimit)
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(fieldText));
}

double parseFloat(const QString &text, QChar decimalMark) {
    double v;
    if (!tryParseFloat(text, v, decimalMark))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

bool tryParseFloatAnyMark(const QString &text, double &value) {
    QString t = text;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return tryParseFloat(t, value, u'.');
}

QString NumberAfter(const QString &text, int p) {
    if (p < 0 || p >= text.size())
        return QString();
    qsizetype e = p;
    while (e < text.size()) {
        const QChar c = text[e];
        if (!(c == u'+' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9')))
            break;
        ++e;
    }
    return text.mid(p, e - p);
}

} // namespace velmora
