#include "common/programfolder.h"
#include "tests/support/testutil.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(ProgramFolder, FilesAreFoundWithoutRegardToCase) {
    test::ScratchFolder dir;
    dir.write("Kody/funkce_G.txt", "G0\r\n");
    EXPECT_EQ(programFile("Kody/funkce_g.txt"), dir.path() + "Kody/funkce_G.txt");
    EXPECT_EQ(programFile("kody\\FUNKCE_G.TXT"), dir.path() + "Kody/funkce_G.txt");
    EXPECT_EQ(programFile("Kody/missing.txt"), dir.path() + "Kody/missing.txt");
    EXPECT_EQ(programFolder(), dir.path());
}
