#include "common/numbers.h"
#include "nctext/logic/coordinates.h"

#include "tests/nctext/printers.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
QStringList spaced(QStringList lines, const char *blanks, EndMarker to = EndMarker::Whole) {
    applySpacing(lines, QString::fromUtf8(blanks), to);
    return lines;
}
} // namespace

TEST(Spacing, BlanksAfterNumbers) {
    const struct {
        const char *blanks;
        QStringList in, out;
    } cases[] = {
        {"1", {"N10G0X5.Y-2.5", "N10 G0", "(FREZA 20)", ";1a", "", "X1,5Y2"},
         {"N10 G0 X5. Y-2.5", "N10  G0", "(FREZA 20)", ";1a", "", "X1,5 Y2"}},
        {"2", {"G1X1"}, {"G1  X1"}},
        {"-1", {"G1X1"}, {"G1X1"}},
        {"0", {"N10 G0 X5. (KONTURA 1)", "G0 X1 ;a b (c)", "G1 X2 \"a b\"", "( a b )", "; a", "N1 G0 X1", ""},
         {"N10G0X5.(KONTURA 1)", "G0X1;ab(c)", "G1X2\"a b\"", "( a b )", "; a", "N1G0X1", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(spaced(c.in, c.blanks), c.out) << c.blanks;
}

TEST(Spacing, StopsAtTheMarker) {
    // Adding blanks tests the line as it was; removing tests the result.
    EXPECT_EQ(spaced({"G1X1", "M30", "G1X2"}, "1", EndMarker::M30), QStringList({"G1 X1", "M30", "G1X2"}));
    EXPECT_EQ(spaced({"G1X1M2", "G1X2"}, "1", EndMarker::M2), QStringList({"G1 X1 M2", "G1X2"}));
    EXPECT_EQ(spaced({"G1 X1", "M 30", "G1 X2"}, "0", EndMarker::M30), QStringList({"G1X1", "M30", "G1 X2"}));
    // Comment lines are skipped without a marker test.
    EXPECT_EQ(spaced({"(M30)", "G1X1"}, "1", EndMarker::M30), QStringList({"(M30)", "G1 X1"}));
}

TEST(Spacing, BadCountFailsAtTheFirstNumberBeforeAnyChange) {
    QStringList lines{"(1 2)", "G", "G0X1"};
    try {
        applySpacing(lines, "x", EndMarker::Whole);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(lines, QStringList({"(1 2)", "G", "G0X1"}));
    // No number followed by another character: the count is never read.
    QStringList quiet{"G", "X12"};
    applySpacing(quiet, "x", EndMarker::Whole);
    EXPECT_EQ(quiet, QStringList({"G", "X12"}));
}

TEST(CoordinateCheck, Findings) {
    const QStringList lines{
        "G1 X100 Y0 Z-5.5", // X
        "G0 Z#1 R#2",       // parameters pass
        "G1 X10. (X5)",     // after "(" not checked
        "G0 FMAX",          // the X of FMAX has no value
        "(X1 Y1)",          // comment line
        "",
        "G2 X1. Y2. I5 J0 K-1 R3", // I, K, R
        "G1 Y#1",           // only Z and R may refer to a parameter
        "G1 X1.X2",         // only the first X counts
    };
    const auto found = checkCoordinates(lines);
    QStringList got;
    for (const auto &f : found)
        got << QStringLiteral("%1:%2").arg(f.line + 1).arg(f.letter);
    EXPECT_EQ(got, QStringList({"1:X", "4:X", "7:R", "7:I", "7:K", "8:Y"}));
    EXPECT_TRUE(checkCoordinates({"G1 X0 Y1.5", "(X)"}).isEmpty());
}

TEST(CoordinateEdit, AddsTheAmount) {
    const struct {
        const char *line, *word, *amount, *out;
    } cases[] = {
        {"G1 X12.5 Y1", "X12.5", "2,5", "G1 X15. Y1"},
        {"G0 Z+3.", "Z+3.", "-5", "G0 Z-2."},
        {"Y-4", "Y-4", "4", "Y0."},
        {"X+1 Y2", "X+1", "0.25", "X+1.25 Y2"},
        {"G1 X0.1", "X0.1", "0.2", "G1 X0.3"},
        {"X5 X5", "X5", "1", "X6. X5"},
        // Far beyond any machine, still written without an exponent.
        {"G1 X1", "X1", "1E20", "G1 X100000000000000000000."},
        {"Y5", "Y5", "-1e21", "Y-1000000000000000000000."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(editCoordinate(c.line, c.word, c.amount), QString::fromUtf8(c.out)) << c.word << " " << c.amount;
}

TEST(CoordinateEdit, NoNumberIsAnError) {
    const struct {
        const char *word, *amount, *message;
    } cases[] = {
        {"FMAX", "1", "'' is not a valid floating point value"},
        {"X1-2", "1", "'1-2' is not a valid floating point value"},
        {"X1", "a", "'a' is not a valid floating point value"},
        {"X1", "1e308000", "'1e308000' is not a valid floating point value"},
    };
    for (const auto &c : cases) {
        try {
            editCoordinate("G1 X1", c.word, c.amount);
            ADD_FAILURE() << c.word;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
}

TEST(CoordinateEdit, WordAtTheCaret) {
    const struct {
        const char *line;
        int column;
        bool blankSeparated;
        const char *word;
    } cases[] = {
        {"G1 X-12.5 Y3", 4, true, "X-12.5"},  // inside
        {"G1 X-12.5 Y3", 9, true, "X-12.5"},  // just after its end
        {"G1 X-12.5 Y3", 3, true, "X-12.5"},  // on its first letter
        {"G1 X-12.5 Y3", 7, false, "X-12.5"}, // without a highlighter a number's signs and points belong to it
        {"(X12)", 2, false, "X12"},           // ... but brackets do not
        {"(X12)", 2, true, "(X12)"},
        {"G1  X1", 3, true, ""},              // between two blanks
        {"Z+3.", 40, true, ""},               // beyond the end of the line
        {"", 0, true, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wordAt(c.line, c.column, c.blankSeparated), QString::fromUtf8(c.word)) << c.line << " " << c.column;
}
