#include "calculators/logic/cutting.h"
#include "common/numbers.h"

#include "printers.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::calc;

TEST(SpindleSpeed, RoundingItems) {
    EXPECT_EQ(speedText("100", "10", SpeedRounding::None), "3183,09886183791");
    EXPECT_EQ(speedText("100", "10", SpeedRounding::Whole), "3183");
    EXPECT_EQ(speedText("100", "10", SpeedRounding::Tens), "3180");
    // the speed rounds halves up to tens, the feed halves to even
    EXPECT_EQ(roundSpeed(1275, SpeedRounding::Tens), 1280);
    EXPECT_EQ(roundSpeed(1265, SpeedRounding::Tens), 1270);
}

TEST(SpindleSpeed, BadFields) {
    try {
        speedText("100", "1.5", SpeedRounding::None);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'1.5' is not a valid floating point value");
    }
    try {
        speedText("100", "0", SpeedRounding::None);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "Floating point division by zero");
    }
}

TEST(Feed, RoundingHalvesToEven) {
    struct Case {
        double value;
        FeedRounding r;
        double expected;
    } cases[] = {
        {1275, FeedRounding::Tens, 1280}, {1265, FeedRounding::Tens, 1260}, {0.35, FeedRounding::One, 0.4},
        {0.45, FeedRounding::One, 0.4},   {0.0555555, FeedRounding::Three, 0.056}, {2.5, FeedRounding::Whole, 2},
        {0.125, FeedRounding::Two, 0.12}, {0.12345, FeedRounding::None, 0.12345},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(roundFeed(c.value, c.r), c.expected) << c.value;
}

TEST(Feed, Modes) {
    FeedFields mill;
    mill.speed = "3180";
    mill.teeth = "4";
    mill.perTooth = "0,05";
    EXPECT_EQ(feedText(FeedMode::MillPerMin, mill, FeedRounding::Whole), "636");
    mill.speed = "3000";
    mill.teeth = "3";
    mill.perMinute = "500";
    EXPECT_EQ(feedText(FeedMode::MillPerTooth, mill, FeedRounding::Three), "0,056");

    FeedFields turn;
    turn.speed = "1000";
    turn.perMinute = "250";
    EXPECT_EQ(feedText(FeedMode::TurnPerRev, turn, FeedRounding::Two), "0,25");
    turn.perRev = "0,2";
    EXPECT_EQ(feedText(FeedMode::TurnPerMin, turn, FeedRounding::None), "200");
}

TEST(Feed, Errors) {
    FeedFields f;
    f.speed = "1000";
    EXPECT_THROW(feedText(FeedMode::TurnPerRev, f, FeedRounding::One), InputError);
    EXPECT_THROW(feedText(FeedMode::TurnPerMin, f, FeedRounding::One), InputError);
    f.perTooth = "0,1";
    EXPECT_THROW(feedText(FeedMode::MillPerMin, f, FeedRounding::One), InputError); // no teeth
    f.teeth = "0";
    f.perMinute = "100";
    try {
        feedText(FeedMode::MillPerTooth, f, FeedRounding::One);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "Floating point division by zero");
    }
    f.speed = "abc";
    f.perMinute = "10";
    try {
        feedText(FeedMode::TurnPerRev, f, FeedRounding::One);
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), "'abc' is not a valid floating point value");
    }
}

TEST(DrillPoint, Values) {
    struct Case {
        const char *d, *angle, *expected;
    } cases[] = {{"15", "118", "4,506"}, {"10", "118", "3,004"}, {"10", "90", "5"}, {"8", "140", "1,456"}};
    for (const Case &c : cases)
        EXPECT_EQ(drillPointText(c.d, c.angle), c.expected) << c.d << " " << c.angle;
    EXPECT_THROW(drillPointText("10", "0"), ConversionError);
    EXPECT_THROW(drillPointText("x", "118"), ConversionError);
}

TEST(DrillPoint, FixedTable) {
    const auto rows = drillPointTable();
    ASSERT_EQ(rows.size(), 41);
    EXPECT_TRUE(rows[0].first.isEmpty() && rows[0].second.isEmpty());
    struct Row {
        int index;
        const char *key, *value;
    } expected[] = {{1, "0,5", "0,150"}, {2, "1", "0,300"}, {3, "1,5", "0,451"},
                    {13, "6,5", "1,953"}, {26, "13", "3,906"}, {40, "20", "6,010"}};
    for (const Row &r : expected) {
        EXPECT_EQ(rows[r.index].first, r.key);
        EXPECT_EQ(rows[r.index].second, r.value);
    }
}

TEST(InsertWord, AtCaret) {
    struct Case {
        const char *line, *word;
        int column;
        QChar w;
        const char *value, *expected;
    } cases[] = {
        {"N10 S2000 M3", "S2000", 7, u'S', "3180", "N10 S3180 M3"},  // replaces the word at the caret
        {"N10 M3", "M3", 5, u'S', "3180", "N10 S3180M3"},           // put in before "M", no blank added
        {"N10 X5", "", 7, u'F', "0,056", "N10 X5F0.056"},           // decimal comma written as point
        {"N10 F100 S5", "F100", 6, u'F', "", "N10 F S5"},           // an empty value leaves "F" alone
        {"N10 M3", "M3", 5, u'M', "8", "N10 M8"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(insertWord(c.line, c.word, c.column, c.w, c.value), c.expected) << c.line;
}
