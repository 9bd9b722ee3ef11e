#include "calculators/logic/cutting.h"

#include "common/language.h"
#include "common/numbers.h"

#include <cmath>

namespace velmora::calc {

InputError::InputError() : std::runtime_error("a required field is empty") {}
QString InputError::text() { return QStringLiteral("Chyba zadání."); }

double divide(double a, double b) {
    if (b == 0)
        throw ConversionError(QStringLiteral("Floating point division by zero"));
    return a / b;
}

double spindleSpeed(double vc, double diameter) { return divide(vc * 1000, diameter * M_PI); }

double roundSpeed(double n, SpeedRounding rounding) {
    switch (rounding) {
    case SpeedRounding::None:
        return n;
    case SpeedRounding::Whole:
        return roundDecimal(n, 0);
    case SpeedRounding::Tens:
        // halves go up here: 1275 gives 1280
        return std::floor(n / 10 + 0.5) * 10;
    }
    return n;
}

double roundFeed(double value, FeedRounding rounding) {
    static const int places[] = {0, 3, 2, 1, 0, -1};
    if (rounding == FeedRounding::None)
        return value;
    return roundDecimal(value, places[int(rounding)]);
}

QString speedText(const QString &vc, const QString &diameter, SpeedRounding rounding) {
    const double v = parseFloat(vc);
    const double d = parseFloat(diameter);
    return formatGeneral(roundSpeed(spindleSpeed(v, d), rounding));
}

QString feedText(FeedMode mode, const FeedFields &f, FeedRounding rounding) {
    double result = 0;
    switch (mode) {
    case FeedMode::TurnPerRev: {
        if (f.perMinute.isEmpty())
            throw InputError();
        const double fmin = parseFloat(f.perMinute);
        result = divide(fmin, parseFloat(f.speed));
        break;
    }
    case FeedMode::TurnPerMin: {
        if (f.perRev.isEmpty())
            throw InputError();
        const double frev = parseFloat(f.perRev);
        result = frev * parseFloat(f.speed);
        break;
    }
    case FeedMode::MillPerTooth: {
        if (f.speed.isEmpty() || f.perMinute.isEmpty() || f.teeth.isEmpty())
            throw InputError();
        const double fmin = parseFloat(f.perMinute);
        const double n = parseFloat(f.speed);
        const double z = parseFloat(f.teeth);
        result = divide(fmin, n * z);
        break;
    }
    case FeedMode::MillPerMin: {
        if (f.speed.isEmpty() || f.perTooth.isEmpty() || f.teeth.isEmpty())
            throw InputError();
        const double n = parseFloat(f.speed);
        const double z = parseFloat(f.teeth);
        const double fz = parseFloat(f.perTooth);
        result = n * z * fz;
        break;
    }
    }
    return formatGeneral(roundFeed(result, rounding));
}

double drillPoint(double diameter, double angleDegrees) {
    const double t = std::tan(angleDegrees / 2 * M_PI / 180);
    return roundDecimal(divide(diameter / 2, t), 3);
}

QString drillPointText(const QString &diameter, const QString &angle) {
    const double d = parseFloat(diameter);
    const double a = parseFloat(angle);
    return formatGeneral(drillPoint(d, a));
}

QList<QPair<QString, QString>> drillPointTable() {
    QList<QPair<QString, QString>> rows;
    rows.append({QString(), QString()});
    for (int i = 1; i <= 40; ++i) {
        const double d = i * 0.5;
        const double h = roundDecimal((d / 2) / 1.664, 3);
        QString value = QString::number(h, 'f', 3);
        value.replace(QLatin1Char('.'), kDecimalMark);
        rows.append({formatGeneral(d), value});
    }
    return rows;
}

QString insertWord(const QString &line, const QString &wordAtCaret, int caretColumn, QChar word, const QString &value) {
    QString v = value;
    v.replace(QLatin1Char(','), QLatin1Char('.'));
    const QString inserted = QString(word) + v;
    if (!wordAtCaret.isEmpty() && wordAtCaret.front() == word) {
        QString out = line;
        const qsizetype at = out.indexOf(wordAtCaret);
        if (at >= 0) {
            out.replace(at, wordAtCaret.size(), inserted);
            return out;
        }
    }
    const qsizetype col = qBound(qsizetype(0), qsizetype(caretColumn - 1), line.size());
    return line.left(col) + inserted + line.mid(col);
}

} // namespace velmora::calc
