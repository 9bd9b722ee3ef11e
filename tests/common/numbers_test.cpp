#include "common/numbers.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Numbers, GeneralFormat) {
    const struct {
        double v;
        const char *text;
    } cases[] = {
        {0, "0"}, {25, "25"}, {-25, "-25"}, {0.5, "0,5"}, {1.25, "1,25"}, {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"}, {123456789012345, "123456789012345"}, {1e15, "1E15"}, {1e20, "1E20"},
        {0.0001, "0,0001"}, {0.00001, "1E-5"}, {1.5e-7, "1,5E-7"}, {1.11022302462516e-16, "1,11022302462516E-16"},
        {-0.121, "-0,121"}, {0.1 + 0.2, "0,3"}, {100.0, "100"}, {12.5e3, "12500"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatGeneral(c.v), QString::fromLatin1(c.text)) << c.v;
    EXPECT_EQ(formatGeneral(1.5, '.'), "1.5");
}

TEST(Numbers, NcForm) {
    EXPECT_EQ(ncForm("25"), "25.");
    EXPECT_EQ(ncForm("-0,121"), "-0.121");
    EXPECT_EQ(ncForm("1,5E-7"), "1.5E-7");
    EXPECT_EQ(ncNumber(25), "25.");
    EXPECT_EQ(ncNumber(-12.75), "-12.75");
}

TEST(Numbers, DecimalRoundingHalvesToEven) {
    const struct {
        double v;
        int places;
        double expected;
    } cases[] = {
        {0.35, 1, 0.4}, {0.25, 1, 0.2}, {0.45, 1, 0.4}, {2.675, 2, 2.68}, {1.005, 2, 1.0},
        {-0.35, 1, -0.4}, {2.5, 0, 2}, {3.5, 0, 4}, {-2.5, 0, -2}, {125, -1, 120}, {135, -1, 140},
        {1234.5678, 3, 1234.568}, {0.123449, 4, 0.1234}, {9.99, 1, 10.0}, {99.95, 1, 100.0}, {0.0004, 3, 0.0},
        {0.0005, 3, 0.0}, {0.0015, 3, 0.002}, {1e-20, 2, 0.0}, {5, -1, 0}, {15, -1, 20}, {7, 2, 7},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(roundDecimal(c.v, c.places), c.expected) << c.v << " to " << c.places;
    EXPECT_EQ(ncNumber(roundNoise(-0.121000000000002)), "-0.121");
    EXPECT_EQ(ncNumber(roundNoise(1.11022302462516e-16)), "0.");
}

TEST(Numbers, Conversions) {
    EXPECT_EQ(parseInteger(" 42 "), 42);
    EXPECT_EQ(parseInteger("-7"), -7);
    EXPECT_EQ(parseInteger("$1F"), 31);
    EXPECT_DOUBLE_EQ(parseFloat("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(parseFloat("-1,5E2"), -150);
    EXPECT_DOUBLE_EQ(parseFloat("3"), 3);
    const char *badInts[] = {"", "1.5", "12a", "99999999999", "-", " "};
    for (const char *b : badInts) {
        try {
            parseInteger(QString::fromLatin1(b));
            ADD_FAILURE() << b;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid integer value").arg(QLatin1String(b)));
        }
    }
    const char *badFloats[] = {"", "12.5", "1,2,3", "abc", "1e", ","};
    for (const char *b : badFloats) {
        try {
            parseFloat(QString::fromLatin1(b));
            ADD_FAILURE() << b;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid floating point value").arg(QLatin1String(b)));
        }
    }
    double v;
    EXPECT_TRUE(tryParseFloatAnyMark("2.5", v));
    EXPECT_DOUBLE_EQ(v, 2.5);
    EXPECT_TRUE(tryParseFloatAnyMark("2,5", v));
    EXPECT_DOUBLE_EQ(v, 2.5);
}

TEST(Numbers, NumberAfter) {
    const struct {
        const char *text;
        int p;
        const char *expected;
    } cases[] = {
        {"N10 G01 X-12.5 Y3", 9, "-12.5"}, {"X1-2", 1, "1-2"}, {"X", 1, ""}, {"XA", 0, ""},
        {"X+.5E3", 1, "+.5"}, {"T12", 1, "12"}, {"T12", 3, ""}, {"T12", 10, ""}, {"abc", -1, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberAfter(QString::fromLatin1(c.text), c.p), QString::fromLatin1(c.expected)) << c.text << " " << c.p;
}
