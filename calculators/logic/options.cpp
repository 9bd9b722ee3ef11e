#include "calculators/logic/options.h"

#include "common/numbers.h"

namespace velmora::calc {

bool speedRoundingFromName(const QString &name, SpeedRounding &out) {
    const QString n = name.toLower();
    if (n == QLatin1String("none"))
        out = SpeedRounding::None;
    else if (n == QLatin1String("whole"))
        out = SpeedRounding::Whole;
    else if (n == QLatin1String("tens"))
        out = SpeedRounding::Tens;
    else
        return false;
    return true;
}

bool feedRoundingFromName(const QString &name, FeedRounding &out) {
    const QString n = name.toLower();
    if (n == QLatin1String("none"))
        out = FeedRounding::None;
    else if (n == QLatin1String("3"))
        out = FeedRounding::Three;
    else if (n == QLatin1String("2"))
        out = FeedRounding::Two;
    else if (n == QLatin1String("1"))
        out = FeedRounding::One;
    else if (n == QLatin1String("whole"))
        out = FeedRounding::Whole;
    else if (n == QLatin1String("tens"))
        out = FeedRounding::Tens;
    else
        return false;
    return true;
}

bool feedModeFromName(const QString &name, FeedMode &out) {
    const QString n = name.toLower();
    if (n == QLatin1String("turn-rev"))
        out = FeedMode::TurnPerRev;
    else if (n == QLatin1String("turn-min"))
        out = FeedMode::TurnPerMin;
    else if (n == QLatin1String("mill-tooth"))
        out = FeedMode::MillPerTooth;
    else if (n == QLatin1String("mill-min"))
        out = FeedMode::MillPerMin;
    else
        return false;
    return true;
}

bool planeFromName(const QString &name, Plane &out) {
    const QString n = name.toLower();
    if (n == QLatin1String("xy"))
        out = Plane::XY;
    else if (n == QLatin1String("xz"))
        out = Plane::XZ;
    else if (n == QLatin1String("yz"))
        out = Plane::YZ;
    else
        return false;
    return true;
}

bool fieldNumber(const QString &text, QString &field) {
    QString t = text.trimmed();
    t.replace(QLatin1Char('.'), QLatin1Char(','));
    double v;
    if (!tryParseFloat(t, v))
        return false;
    field = t;
    return true;
}

bool parseCoordinatePair(const QString &text, QString &first, QString &second) {
    const QChar sep = text.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');
    const QStringList parts = text.split(sep);
    if (parts.size() != 2)
        return false;
    if (sep == QLatin1Char(',') && (parts[0].contains(QLatin1Char(',')) || parts[1].contains(QLatin1Char(','))))
        return false;
    return fieldNumber(parts[0], first) && fieldNumber(parts[1], second);
}

} // namespace velmora::calc
