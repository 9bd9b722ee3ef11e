#include "nctext/logic/search.h"
#include "tests/nctext/printers.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(SearchHistory, NewestFirstAtMostTen) {
    QStringList h;
    for (int i = 0; i < 12; ++i)
        h.prepend(QString::number(i)); // an old history of 12 entries
    addToHistory(h, "new");
    EXPECT_EQ(h.size(), 10);
    EXPECT_EQ(h.first(), "new");
    EXPECT_EQ(h.last(), "3");

    QStringList k{"G1", "x10", "M30"};
    addToHistory(k, "X10"); // already there without regard to case: that entry moves up
    EXPECT_EQ(k, QStringList({"x10", "G1", "M30"}));
    addToHistory(k, "");
    EXPECT_EQ(k, QStringList({"x10", "G1", "M30"}));
}

TEST(Search, FindMatchTable) {
    const QStringList lines{"G10 X1", "G1 x1", "N5 G1 X2"};
    SearchOptions plain, whole, cased, back;
    whole.wholeWords = true;
    cased.caseSensitive = true;
    back.backwards = true;
    const SearchArea all = SearchArea::whole();
    const struct {
        const char *name;
        const char *text;
        SearchOptions options;
        TextPos start;
        SearchArea area;
        std::optional<Match> expected;
    } cases[] = {
        {"forwards from the start", "G1", plain, {0, 0}, all, Match{0, 0, 2}},
        {"whole word skips G10", "G1", whole, {0, 0}, all, Match{1, 0, 2}},
        {"case insensitive", "X1", plain, {0, 4}, all, Match{0, 4, 2}},
        {"case sensitive skips x1", "X1", cased, {0, 5}, all, std::nullopt},
        {"from a position", "G1", plain, {1, 1}, all, Match{2, 3, 2}},
        {"backwards ends before the start", "G1", back, {2, 5}, all, Match{2, 3, 2}},
        {"backwards to earlier lines", "G1", back, {2, 4}, all, Match{1, 0, 2}},
        {"not found", "M30", plain, {0, 0}, all, std::nullopt},
        {"inside a stream selection", "X", plain, {0, 0}, SearchArea{SearchArea::Stream, {1, 1}, {1, 4}}, Match{1, 3, 1}},
        {"match crossing the selection end", "X2", plain, {0, 0}, SearchArea{SearchArea::Stream, {2, 0}, {2, 7}}, std::nullopt},
        {"block selection columns", "1", plain, {0, 0}, SearchArea{SearchArea::Block, {0, 3}, {2, 6}}, Match{0, 5, 1}},
    };
    for (const auto &c : cases) {
        const auto got = findMatch(lines, c.text, c.options, c.start, c.area);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.name;
        if (got)
            EXPECT_EQ(*got, *c.expected) << c.name;
    }
}

TEST(Search, StartDependsOnDirectionAndCaret) {
    const QStringList lines{"abc", "de"};
    SearchOptions fw, bw;
    bw.backwards = true;
    const TextPos selFrom{0, 1}, selTo{1, 1};
    EXPECT_EQ(searchStart(lines, fw, true, selFrom, selTo, SearchArea::whole()), selTo);
    EXPECT_EQ(searchStart(lines, bw, true, selFrom, selTo, SearchArea::whole()), selFrom);
    EXPECT_EQ(searchStart(lines, fw, false, selFrom, selTo, SearchArea::whole()), (TextPos{0, 0}));
    EXPECT_EQ(searchStart(lines, bw, false, selFrom, selTo, SearchArea::whole()), (TextPos{1, 2}));
}

TEST(Search, ConfirmationBesideTheMatch) {
    const QRect window(100, 100, 600, 300); // lowest third begins at y 300
    const QSize dialog(200, 80);
    // Below the line, 4 pixels apart, at the match's column.
    EXPECT_EQ(confirmDialogPosition(window, QRect(100, 150, 600, 16), 250, dialog), QPoint(250, 170));
    // In the lowest third: above the line.
    EXPECT_EQ(confirmDialogPosition(window, QRect(100, 320, 600, 16), 250, dialog), QPoint(250, 236));
    // Near the right edge: moved left to stay inside.
    EXPECT_EQ(confirmDialogPosition(window, QRect(100, 150, 600, 16), 650, dialog), QPoint(500, 170));
    // A window narrower than the dialog: centred on it.
    EXPECT_EQ(confirmDialogPosition(QRect(100, 100, 150, 300), QRect(100, 150, 150, 16), 120, dialog), QPoint(75, 170));
}
