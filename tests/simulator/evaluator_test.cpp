#include "simulator/logic/evaluator.h"

#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

using velmora::sim::TEvaluator;

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(Evaluator, ValuesAndErrors) {
    const struct {
        const char *text;
        double value;
        int error;
    } cases[] = {
        // precedence, signs and sums
        {"2+3*4", 14, 0},
        {"(2+3)*4", 20, 0},
        {"2^3*2", 16, 0},
        {"2^3^2", 0, 5},
        {"10 - 4 - 3", 3, 0},
        {"3 + 2 * (1 + (4 / 2))", 9, 0},
        {"-(2)", -2, 0},
        {"+5", 5, 0},
        {"*5", 0, 0}, // the accumulator starts at 0
        {"2*(-3)", -6, 0},
        {"2*-3", 0, 5},  // no sign after an operator
        {"2^(-1)", 0.5, 0},
        {"2^-1", 0, 8},  // the exponent cannot carry a sign
        {"(-2)^3", -8, 0},
        {"(-8)^(1/3)", 0, 8},
        {"0^3", 0, 0},
        {"5^0", 1, 0},
        {"0^(-1)", 0, 8},
        // numbers
        {"1.5 + ,5", 2, 0},
        {"1,5,3", 0, 4},
        {"7,", 7, 0},
        {"2e3", 0, 5},
        // the value on error: terms before the failure count
        {"1 + 2 + 3/0 + 4", 3, 1},
        {"0/0", 0, 8},
        {"5 *", 0, 5},
        {"", 0, 7},
        {"   ", 0, 7},
        {"()", 0, 7},
        {"(1", 0, 6},
        {"1)", 0, 6},
        {"1+2)+(3", 1, 6},
        {"2(3)", 0, 5},
        // names
        {"sqr(16)", 4, 0},
        {"Sqr(16)", 4, 0},
        {"sin(pi/2)", 1, 0},
        {"arccotan(0)", kPi / 2, 0},
        {"round(2.5)", 2, 0},
        {"round(3.5)", 4, 0},
        {"int(-2.5)", -2, 0},
        {"frac(2.75)", 0.75, 0},
        {"sgn(-3)", -1, 0},
        {"abs(-2)", 2, 0},
        {"atn(1)", kPi / 4, 0},
        {"cotan(pi/4)", 1, 0},
        {"arcsin(1)", kPi / 2, 0},
        {"arccos(1)", 0, 0},
        {"arcsec(2)", std::atan(2 / std::sqrt(3.0)) + kPi / 2, 0},
        {"arccosec(-2)", std::atan(-2 / std::sqrt(3.0)) - kPi, 0},
        {"hsin(1)", std::sinh(1.0), 0},
        {"harcsin(1)", std::log(1 + std::sqrt(2.0)), 0},
        {"harccos(2)", std::log(2 + 3 * std::sqrt(1.0 / 3)), 0},
        {"harctan(0.5)", 0.5 * std::log(3.0), 0},
        {"hsec(0)", 1, 0},
        {"hcotan(1)", std::cosh(1.0) / std::sinh(1.0), 0},
        {"harcsec(1)", 0, 0},
        {"harccosec(1)", std::log10(std::sqrt(2.0) + 1), 0},
        {"harccotan(3)", std::log10(2.0) / 2, 0},
        {"exp(1)", std::exp(1.0), 0},
        {"log(1000)", 3, 0},
        {"pi", 3.14159265358979, 0},
        {"e", 2.71828182845905, 0},
        {"zero", 0, 0},
        {"pi(5)", 3.14159265358979, 0}, // a constant ignores an argument
        {"pi^2", 3.14159265358979 * 3.14159265358979, 0},
        {"foo", 0, 5},
        {"sin", 0, 5},       // a function needs its argument
        {"foo(1)", 0, 5},
        {"msgbox", 0, 8},    // MSGBOX without an argument fails
        {"sin(", 0, 6},
        // failures inside functions
        {"sqr(-1)", 0, 3},
        {"log(0)", 0, 1},
        {"log(-1)", 0, 3},
        {"cotan(0)", 0, 1},
        {"cosec(0)", 0, 1},
        {"arcsin(2)", 0, 3},
        {"arcsec(1)", 0, 1},
        {"harccotan(1)", 0, 1},
        {"exp(1000)", 0, 2},
        {"hcos(1000)", 0, 2},
        {"1 + sqr(-1) + 5", 1, 3},
        {"10^400", 0, 2},
    };
    for (const auto &c : cases) {
        TEvaluator ev;
        const double v = ev.Evaluate(QString::fromLatin1(c.text));
        EXPECT_EQ(ev.error(), c.error) << c.text << " (" << TEvaluator::errorName(ev.error()) << ")";
        EXPECT_NEAR(v, c.value, 1e-12 * std::max(1.0, std::fabs(c.value))) << c.text;
    }
}

TEST(Evaluator, InfiniteLimitsOfTheHyperbolicArctangent) {
    TEvaluator ev;
    EXPECT_EQ(ev.Evaluate(QStringLiteral("harctan(1)")), HUGE_VAL);
    EXPECT_EQ(ev.error(), TEvaluator::ERR_NONE);
    EXPECT_EQ(ev.Evaluate(QStringLiteral("harctan(-1)")), -HUGE_VAL);
    EXPECT_EQ(ev.error(), TEvaluator::ERR_NONE);
}

TEST(Evaluator, MessageBoxesShowTheirArgument) {
    TEvaluator ev;
    QStringList shown;
    ev.onMessage = [&](const QString &t) { shown << t; };
    EXPECT_EQ(ev.Evaluate(QStringLiteral("msgbox(Hole 2.5 done)")), 0);
    EXPECT_EQ(ev.Evaluate(QStringLiteral("1 + msgboxcalc(2*3.25) + 1")), 2);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Hole 2.5 done"), QStringLiteral("6,5")}));
}

TEST(Evaluator, VariablesAndDateParts) {
    TEvaluator ev;
    EXPECT_TRUE(ev.addVariable(QStringLiteral("depth"), 2.5));
    EXPECT_FALSE(ev.addVariable(QStringLiteral("DEPTH"), 1));
    EXPECT_EQ(ev.Evaluate(QStringLiteral("Depth*2")), 5);
    EXPECT_EQ(ev.error(), 0);
    EXPECT_EQ(ev.Evaluate(QStringLiteral("depth(1)")), 0); // with an argument it would be a function
    EXPECT_EQ(ev.error(), TEvaluator::ERR_WRONG_SYNTAX);

    ev.clock = [] { return QDateTime(QDate(2026, 12, 11), QTime(13, 45, 7, 250)); }; // a Friday
    const struct {
        const char *name;
        double value;
    } parts[] = {{"year", 2026}, {"month", 12}, {"day", 11}, {"weekday", 6},
                 {"hour", 13},   {"minute", 45}, {"second", 7}, {"millisecond", 250}};
    for (const auto &p : parts)
        EXPECT_EQ(ev.Evaluate(QString::fromLatin1(p.name)), p.value) << p.name;
}

TEST(Evaluator, RandomStaysInItsRange) {
    TEvaluator ev;
    bool seen[5] = {};
    for (int i = 0; i < 200; ++i) {
        const double v = ev.Evaluate(QStringLiteral("random(5)"));
        ASSERT_EQ(ev.error(), 0);
        ASSERT_TRUE(v >= 0 && v <= 4 && v == std::trunc(v)) << v;
        seen[int(v)] = true;
    }
    EXPECT_TRUE(seen[0] && seen[4]);
    EXPECT_EQ(ev.Evaluate(QStringLiteral("random(0)")), 0);
}

TEST(Evaluator, ErrorNames) {
    EXPECT_STREQ(TEvaluator::errorName(0), "ERR_NONE");
    EXPECT_STREQ(TEvaluator::errorName(4), "ERR_DBL_POINT");
    EXPECT_STREQ(TEvaluator::errorName(8), "ERR_OTHER");
}

} // namespace
