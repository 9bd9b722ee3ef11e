// velmora-cli feed: the feed of the feed calculator.
#include "cli/cli.h"

#include "calculators/logic/cutting.h"
#include "calculators/logic/options.h"
#include "common/numbers.h"

namespace velmora::cli {
namespace {

QString numberOption(const Options &opts, const QString &name) {
    if (!opts.has(name))
        return QString();
    QString field;
    if (!calc::fieldNumber(opts.value(name), field))
        throw UsageError{QStringLiteral("--%1: '%2' is not a valid floating point value").arg(name, opts.value(name))};
    return field;
}

int runFeed(const QStringList &args) {
    const Options opts(args, {});
    const QStringList known = {QStringLiteral("mode"),     QStringLiteral("speed"),       QStringLiteral("feed-min"),
                               QStringLiteral("feed-rev"), QStringLiteral("feed-tooth"), QStringLiteral("teeth"),
                               QStringLiteral("round")};
    for (const QString &n : opts.names())
        if (!known.contains(n))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("feed reads no files")};
    calc::FeedMode mode;
    if (!opts.has(QStringLiteral("mode")) || !calc::feedModeFromName(opts.value(QStringLiteral("mode")), mode))
        throw UsageError{QStringLiteral("--mode: give one of turn-rev, turn-min, mill-tooth, mill-min")};

    // The window's rounding when the mode is chosen: 3 places per tooth, whole
    // numbers per minute when milling, 1 place when turning.
    calc::FeedRounding rounding = mode == calc::FeedMode::MillPerTooth ? calc::FeedRounding::Three
                                  : mode == calc::FeedMode::MillPerMin ? calc::FeedRounding::Whole
                                                                       : calc::FeedRounding::One;
    if (opts.has(QStringLiteral("round")) && !calc::feedRoundingFromName(opts.value(QStringLiteral("round")), rounding))
        throw UsageError{
            QStringLiteral("--round: '%1' is not one of none, 3, 2, 1, whole, tens").arg(opts.value(QStringLiteral("round")))};

    calc::FeedFields f;
    f.speed = numberOption(opts, QStringLiteral("speed"));
    f.perMinute = numberOption(opts, QStringLiteral("feed-min"));
    f.perRev = numberOption(opts, QStringLiteral("feed-rev"));
    f.perTooth = numberOption(opts, QStringLiteral("feed-tooth"));
    f.teeth = numberOption(opts, QStringLiteral("teeth"));
    QStringList needed = {QStringLiteral("speed")};
    switch (mode) {
    case calc::FeedMode::TurnPerRev:
        needed << QStringLiteral("feed-min");
        break;
    case calc::FeedMode::TurnPerMin:
        needed << QStringLiteral("feed-rev");
        break;
    case calc::FeedMode::MillPerTooth:
        needed << QStringLiteral("feed-min") << QStringLiteral("teeth");
        break;
    case calc::FeedMode::MillPerMin:
        needed << QStringLiteral("feed-tooth") << QStringLiteral("teeth");
        break;
    }
    for (const QString &n : needed)
        if (!opts.has(n))
            throw UsageError{QStringLiteral("--%1 is needed for --mode %2").arg(n, opts.value(QStringLiteral("mode")))};
    try {
        QString value = calc::feedText(mode, f, rounding);
        value.replace(QLatin1Char(','), QLatin1Char('.'));
        writeLines({value});
    } catch (const ConversionError &e) {
        throw UsageError{e.message()};
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "feed", "feed per revolution, per tooth or per minute",
    "velmora-cli feed --mode turn-rev|turn-min|mill-tooth|mill-min [options]\n"
    "\n"
    "Prints the feed as \"Vypocet posuvu\" computes it, with \".\" as the decimal\n"
    "mark: the value the window writes after F.\n"
    "\n"
    "  --mode turn-rev    feed per revolution = --feed-min / --speed\n"
    "  --mode turn-min    feed per minute = --feed-rev * --speed\n"
    "  --mode mill-tooth  feed per tooth = --feed-min / (--speed * --teeth)\n"
    "  --mode mill-min    feed per minute = --speed * --teeth * --feed-tooth\n"
    "  --speed N          spindle speed\n"
    "  --feed-min F, --feed-rev F, --feed-tooth F, --teeth Z\n"
    "  --round R          none, 3, 2, 1 (decimal places), whole or tens, halves\n"
    "                     to even; default 3 for mill-tooth, whole for mill-min,\n"
    "                     1 for the turning modes",
    runFeed);

} // namespace velmora::cli
