#include "calculators/logic/torvel.h"

#include "../support/testutil.h"

#include <QFile>
#include "printers.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::calc;

TEST(Torvel, LoadsCallsAndCopiesLines) {
    const TorvelRun run = runTorvel(TORVEL_FIXTURE);
    ASSERT_EQ(run.status, TorvelRun::Done) << run.loadError.toStdString();
    EXPECT_EQ(run.lines, QStringList({"N10 G0 X0", "; občas", "N30 M30"}));
}

TEST(Torvel, MissingLibraryOrEntries) {
    EXPECT_EQ(runTorvel("/nonexistent/torvel.so").status, TorvelRun::NotLoaded);
    EXPECT_EQ(runTorvel(TORVEL_BARE).status, TorvelRun::MissingEntries);
}

TEST(Torvel, FoundInProgramFolderWithoutRegardToCase) {
    test::ScratchFolder folder;
    EXPECT_TRUE(torvelLibraryPath().endsWith("dll/torvel.so"));
    QFile src(TORVEL_FIXTURE);
    folder.write("DLL/Torvel.so", [&] {
        src.open(QIODevice::ReadOnly);
        return src.readAll();
    }());
    const QString path = torvelLibraryPath();
    EXPECT_EQ(path, folder.path() + "DLL/Torvel.so");
    EXPECT_EQ(runTorvel(path).status, TorvelRun::Done);
}
