// velmora-cli's NC text commands, run as a script would run them.
#include "tests/nctext/printers.h"
#include "tests/support/testutil.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(VELMORA_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(NcTextCli, RenumberPrintsWhatTheProgramWouldSave) {
    test::ScratchFolder folder;
    folder.write("a.nc", test::cp1250Lines({"N5 G0 X0", "N7 G1 X10 ; řez", "N9 M30", "N11 G0 X0"}));
    folder.write("b.nc", test::cp1250Lines({"G0 X0", "M30"}));
    const struct {
        QStringList args;
        QByteArray out;
    } cases[] = {
        {{"renumber", "--first", "10", "--step", "10", "--to", "M30", folder.file("a.nc")}, test::cp1250Lines({"N10 G0 X0", "N20 G1 X10 ; řez", "N30 M30", "N11 G0 X0"})},
        {{"renumber", "--first", "1", "--step", "1", "--to", "all", folder.file("a.nc")},
         test::cp1250Lines({"N1 G0 X0", "N2 G1 X10 ; řez", "N3 M30", "N4 G0 X0"})},
        {{"renumber", "--style", "remove", "--selection", "2:3", folder.file("a.nc")},
         test::cp1250Lines({"N5 G0 X0", "G1 X10 ; řez", "M30", "N11 G0 X0"})},
        {{"renumber", "--style", "create", "--first", "10", "--step", "5", folder.file("b.nc"), folder.file("b.nc")},
         test::cp1250Lines({"N10G0 X0", "N15M30", "N10G0 X0", "N15M30"})},
        {{"renumber", "--page", "pelton", "--first", "998", "--step", "1", "--max", "999", "--to", "all", folder.file("a.nc")},
         test::cp1250Lines({"N998 G0 X0", "N999 G1 X10 ; řez", "N1 M30", "N2 G0 X0"})},
        {{"renumber", "--page", "heidenhain", "--variant", "407", folder.file("b.nc")},
         test::cp1250Lines({"0  G0 X0", "1  M30"})},
    };
    for (const auto &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 0) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
}

TEST(NcTextCli, InPlaceAndSpacing) {
    test::ScratchFolder folder;
    folder.write("a.nc", test::cp1250Lines({"N10G0X5.Y-2.5", "(FREZA 20)"}));
    CliRun r = cli({"spacing", "--in-place", folder.file("a.nc")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(folder.read("a.nc"), test::cp1250Lines({"N10 G0 X5. Y-2.5", "(FREZA 20)"}));
    r = cli({"--utf8", "spacing", "--blanks", "0", folder.file("a.nc")});
    EXPECT_EQ(r.out, "N10G0X5.Y-2.5\n(FREZA 20)\n");
}

TEST(NcTextCli, CheckXyzAndCompareExitStatus) {
    test::ScratchFolder folder;
    folder.write("a.nc", test::cp1250Lines({"G1 X100 Y0 Z-5.5", "G0 Z#1", "G2 X1. Y1. I5"}));
    folder.write("ok.nc", test::cp1250Lines({"G1 X100. Y0"}));
    const QString a = folder.file("a.nc"), ok = folder.file("ok.nc");
    CliRun r = cli({"--utf8", "check-xyz", a, ok});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(QString::fromUtf8(r.out), QStringLiteral("%1:1: X: G1 X100 Y0 Z-5.5\n%1:3: I: G2 X1. Y1. I5\n").arg(a));
    r = cli({"check-xyz", ok});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.isEmpty());

    r = cli({"--utf8", "compare", a, ok});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(QString::fromUtf8(r.out).endsWith("Original    : G1 X100 Y0 Z-5.5\nPorovnávaný : G1 X100. Y0\n"
                                                 "************************************\nKonec  porovnávaného  souboru\n"))
        << r.out.toStdString();
    r = cli({"--utf8", "compare", a, a});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Soubory se rovnají\n");
}

TEST(NcTextCli, BadInputIsReportedWithExitStatus2) {
    test::ScratchFolder folder;
    folder.write("a.nc", test::cp1250Lines({"N1 G0", "N2 G1"}));
    const QString a = folder.file("a.nc");
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"renumber", "--step", "x", a}, "'x' is not a valid integer value"},
        {{"renumber", "--style", "bogus", a}, "--style"},
        {{"renumber", "--selection", "3:1", a}, "--selection"},
        {{"renumber", "--selection", "5:9", a}, "the file has 2 lines"},
        {{"renumber", "--frist", "1", a}, "unknown option --frist"},
        {{"renumber", folder.file("missing.nc")}, "missing.nc"},
        {{"spacing", "--blanks", "two", a}, "'two' is not a valid integer value"},
        {{"spacing", "--to", "M3", a}, "--to"},
        {{"compare", a}, "two files"},
        {{"compare", a, folder.file("missing.nc")}, "missing.nc"},
    };
    for (const auto &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
    }
    EXPECT_EQ(folder.read("a.nc"), test::cp1250Lines({"N1 G0", "N2 G1"}));
}
