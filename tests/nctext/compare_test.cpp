#include "nctext/logic/compare.h"
#include "tests/nctext/printers.h"
#include "tests/support/testutil.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velmora;

namespace {
const QString kStars(36, u'*');

// The report after the eight header lines.
QStringList body(const CompareResult &r) { return r.report.mid(8); }
} // namespace

TEST(Compare, SameFileNameWhateverTheContent) {
    test::ScratchFolder folder;
    folder.write("a.nc", "N1\r\n");
    const CompareResult r = compareFiles(folder.file("a.nc"), folder.file("A.NC"));
    EXPECT_EQ(r.report, QStringList({"Soubory se rovnají"}));
    EXPECT_FALSE(r.different);
    EXPECT_TRUE(r.error.isEmpty());
}

TEST(Compare, HeaderAndDifferences) {
    test::ScratchFolder folder;
    folder.write("o.nc", test::cp1250Lines({"A", "b", "C"}));
    folder.write("c.nc", test::cp1250Lines({"a", "B", "D", "extra"}));
    const CompareResult r = compareFiles(folder.file("o.nc"), folder.file("c.nc"));
    ASSERT_GE(r.report.size(), 8);
    const QString date = shortDate(QFileInfo(folder.file("o.nc")).lastModified().date());
    EXPECT_EQ(r.report.mid(0, 8), QStringList({"Soubory jsou rozdílné.", "Nalezené rozdíly: ", kStars,
                                               "Original má velikost    : 9", "Porovnávaný má velikost : 16", kStars,
                                               "Original má datum vytvoření    : " + date,
                                               "Porovnávaný má datum vytvoření : " + date}));
    // Only the third pair differs; the extra line of the compared file is not listed.
    EXPECT_EQ(body(r), QStringList({kStars, "Original    : C", "Porovnávaný : D"}));
    EXPECT_TRUE(r.different);
}

TEST(Compare, LinesTable) {
    const struct {
        const char *name;
        QStringList original, compared, body;
        bool different;
    } cases[] = {
        {"identical content", {"N1", "N2"}, {"N1", "N2"}, {}, false},
        {"compared ends first", {"1", "2", "3", "4", "5"}, {"1", "2", "3"}, {kStars, "Konec  porovnávaného  souboru"}, true},
        {"empty compared file", {"1", "2"}, {}, {kStars, "Konec  porovnávaného  souboru"}, true},
        {"difference then end", {"1", "2"}, {"x"}, {kStars, "Original    : 1", "Porovnávaný : x", kStars,
                                                    "Konec  porovnávaného  souboru"}, true},
        {"longer compared file", {"1"}, {"1", "2"}, {}, true},
        {"Czech letters ignore case", {"ŘEZ č"}, {"řez Č"}, {}, false},
    };
    for (const auto &c : cases) {
        CompareResult r;
        compareLines(c.original, c.compared, r);
        EXPECT_EQ(r.report, c.body) << c.name;
        EXPECT_EQ(r.different, c.different) << c.name;
    }
}

TEST(Compare, UnreadableFileKeepsTheReportSoFar) {
    test::ScratchFolder folder;
    folder.write("o.nc", "N1\r\n");
    const CompareResult r = compareFiles(folder.file("o.nc"), folder.file("missing.nc"));
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.error.contains("missing.nc"));
    EXPECT_EQ(r.report, QStringList({"Soubory jsou rozdílné.", "Nalezené rozdíly: ", kStars}));
}
