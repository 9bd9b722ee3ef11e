// velmora-cli's calculator commands, run as a script would run them.
#include "common/codec.h"

#include "printers.h"

#include <QProcess>
#include <gtest/gtest.h>

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

QStringList utf8Lines(const QStringList &args, int expectedCode = 0) {
    const CliRun r = cli(QStringList{"--utf8"} + args);
    EXPECT_EQ(r.code, expectedCode) << r.err.toStdString();
    QString text = QString::fromUtf8(r.out);
    if (text.endsWith('\n'))
        text.chop(1);
    return text.isEmpty() ? QStringList() : text.split('\n');
}

} // namespace

TEST(CalculatorCli, Values) {
    const struct {
        QStringList args;
        const char *expected;
    } cases[] = {
        {{"speed"}, "3180"},
        {{"speed", "--vc", "100", "--diameter", "10", "--round", "none"}, "3183.09886183791"},
        {{"speed", "--vc", "120,5", "--diameter", "8", "--round", "whole"}, "4795"},
        {{"feed", "--mode", "mill-min", "--speed", "3180", "--teeth", "4", "--feed-tooth", "0,05"}, "636"},
        {{"feed", "--mode", "mill-tooth", "--speed", "3000", "--teeth", "3", "--feed-min", "500"}, "0.056"},
        {{"feed", "--mode", "turn-rev", "--speed", "1000", "--feed-min", "250", "--round", "2"}, "0.25"},
        {{"feed", "--mode", "turn-min", "--speed", "1275", "--feed-rev", "1", "--round", "tens"}, "1280"},
        {{"drill-point", "--diameter", "15"}, "4.506"},
        {{"drill-point", "--diameter", "10", "--angle", "90"}, "5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(utf8Lines(c.args), QStringList{c.expected}) << c.args.join(' ').toStdString();
}

TEST(CalculatorCli, CircleBlocksAsTheProgramFileHoldsThem) {
    const CliRun r = cli({"circle", "--holes", "2", "--prefix", "N1"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    // Windows-1250 with CR LF, as the window writes them into a program
    QByteArray expected;
    ASSERT_TRUE(velmora::encodeCp1250(QStringLiteral("(Souřadnice - otvory pr. :8)\r\nN1 X43.301 Y25.\r\n"
                                                     "N1 X12.941 Y48.296\r\n"),
                                      expected));
    EXPECT_EQ(r.out, expected);

    EXPECT_EQ(utf8Lines({"circle", "--polar", "--centre", "12.5,0", "--holes", "2", "--prefix", "N1"}),
              QStringList({"; Pol. souřadnice - otvory pr. :8", "N1 I12.5 J0", "N1 G10 R50. H30.", "N1 G10 R50. H75."}));
    EXPECT_EQ(utf8Lines({"circle", "--plane", "yz", "--holes", "1", "--decimals", "2", "--diameter", "10",
                         "--start-angle", "60", "--prefix", "N1"}),
              QStringList({"(Souřadnice - otvory pr. :8)", "N1 Y2.5 Z4.33"}));
}

TEST(CalculatorCli, CircleOverlapIsAnsweredByAnOption) {
    const QStringList args = {"circle", "--holes", "10", "--start-angle", "0", "--prefix", "N1"};
    const CliRun no = cli(QStringList{"--utf8"} + args);
    EXPECT_EQ(no.code, 0);
    EXPECT_EQ(QString::fromUtf8(no.out).count('\n'), 1 + 9); // stops before the hole at 405 degrees
    EXPECT_TRUE(no.err.contains("overlap")) << no.err.toStdString();
    EXPECT_EQ(utf8Lines(args + QStringList{"--yes"}).size(), 1 + 10);
}

TEST(CalculatorCli, LineAndGroove) {
    EXPECT_EQ(utf8Lines({"line", "--start", "5;0", "--angle", "90", "--holes", "2", "--plane", "xz", "--prefix", "N1"}),
              QStringList({"(Souřadnice - otvory pr. :6)", "N1 X5. Z0.", "N1 X5. Z20."}));
    EXPECT_EQ(utf8Lines({"groove"}),
              QStringList({"(*********************************************)", "( X: 0; Y: 0; Uhel: 0 )", "N1 G0 X25. Y0.",
                           "N1 Z2.", "N1 G1 Z-3. F100", "N1 G1 G41 X25. Y7.", "N1 X0. Y7.", "N1 G3 X0. Y-7. I0. J-7.",
                           "N1 G1 X25. Y-7.", "N1 G3 X25. Y7. I0. J7.", "N1 G1 G40 X25. Y0."}));
    const QStringList conv = utf8Lines({"groove", "--start", "1.5,2", "--direction", "conventional", "--approach", "4",
                                        "--centres", "absolute"});
    ASSERT_EQ(conv.size(), 12);
    EXPECT_EQ(conv[1], "( X: 1.5; Y: 2; Uhel: 0 )"); // the NC form turns every comma into a point
    EXPECT_EQ(conv[6], "N1 G2 X1.5 Y9. I1.5 J2.");
    EXPECT_EQ(conv.last(), "N1 G0 Z2.");
}

TEST(CalculatorCli, BadInputIsUsageError) {
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"speed", "--diameter", "abc"}, "'abc' is not a valid floating point value"},
        {{"speed", "--diameter", "0"}, "Floating point division by zero"},
        {{"feed", "--mode", "mill-min", "--teeth", "4", "--feed-tooth", "0,1"}, "--speed is needed"},
        {{"feed", "--mode", "drill"}, "--mode"},
        {{"circle", "--holes", "2.5"}, "not a valid integer value"},
        {{"circle", "--centre", "1,5,2"}, "--centre"},
        {{"line", "--plane", "ab"}, "--plane"},
        {{"groove", "--approach", "5"}, "--approach"},
        {{"groove", "--width", "x"}, "--width"},
        {{"drill-point", "--angle", "0"}, "division by zero"},
        {{"drill-point", "--colour", "red"}, "unknown option"},
    };
    for (const auto &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
