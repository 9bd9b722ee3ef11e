// velmora-cli send and receive, run as a script runs them, against a socat peer.
#include "tests/comm/ptypair.h"
#include "tests/support/testutil.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace velmora;

namespace {

class CliTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        // velmora-cli reads stroje.ini beside itself: run a copy in a scratch program folder.
        cli = folder.file("velmora-cli");
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_CLI), cli));
        QFile::setPermissions(cli, QFile::permissions(cli) | QFile::ExeOwner);
        folder.write("stroje.ini", test::cp1250Lines({"[Mill]", "Port=COM3", "Rychlost=15200", "Parita=None",
                                                      "DataBits=8", "TokDat=None", "EndLine=LF", "Chars=1",
                                                      "CharBefore=#2", "CharAfter=#3"}));
    }
    void run(const QStringList &args) {
        proc.start(cli, args);
        ASSERT_TRUE(proc.waitForStarted(5000));
    }
    void finish() {
        ASSERT_TRUE(proc.waitForFinished(10000));
        out = proc.readAllStandardOutput();
        err = QString::fromUtf8(proc.readAllStandardError());
    }
    test::ScratchFolder folder;
    test::PtyPair pty;
    QString cli;
    QProcess proc;
    QByteArray out;
    QString err;
};

} // namespace

TEST_F(CliTransfer, SendWritesTheProgramWithTheMachinesSettings) {
    test::Peer peer(pty.peer());
    folder.write("a.nc", test::cp1250Lines({"%", "N10 G0 X1", "M30"}));
    run({"send", "--machine", "mill", "--port", pty.ours(), folder.file("a.nc")});
    const QByteArray got = peer.read(18);
    finish();
    EXPECT_EQ(proc.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(got, QByteArray("\x02%\nN10 G0 X1\nM30\n\x03"));
    EXPECT_TRUE(err.contains("sent 3 of 3 lines")) << err.toStdString();
}

TEST_F(CliTransfer, ReceiveEndsAtEtxOrAtTheTimeoutAndWritesWhatArrived) {
    test::Peer peer(pty.peer());
    run({"receive", "--machine", "Mill", "--port", pty.ours(), "-o", folder.file("in.nc"), "--timeout", "5"});
    peer.write("%\r\nN10 G0\r\nN20 M30\r\n\x03");
    finish();
    EXPECT_EQ(proc.exitCode(), 0) << err.toStdString();
    EXPECT_EQ(folder.read("in.nc"), test::cp1250Lines({"%", "N10 G0", "N20 M30"}));

    run({"--utf8", "receive", "--machine", "Mill", "--port", pty.ours(), "--timeout", "0,3"});
    peer.write("N10\nN2");
    finish();
    EXPECT_EQ(proc.exitCode(), 1);
    EXPECT_EQ(out, "N10\nN2\n");
    EXPECT_TRUE(err.contains("no end marker")) << err.toStdString();
}

TEST_F(CliTransfer, BadMachinesAndDevicesEndWithAMessage) {
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"send", "--machine", "Lathe", "x.nc"}, "no machine 'Lathe' (machines: Mill)"},
        {{"send", "--machine", "Mill", "--port", "/nonexistent/tty", "x.nc"}, "x.nc"},
        {{"receive", "--machine", "Mill", "--port", "/nonexistent/tty"}, "/nonexistent/tty: No such file"},
        {{"receive", "--machine", "Mill", "--timeout", "abc"}, "--timeout"},
    };
    for (const auto &c : cases) {
        run(c.args);
        finish();
        EXPECT_EQ(proc.exitCode(), 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QLatin1String(c.message))) << err.toStdString();
    }
}

TEST_F(CliTransfer, CtrlCStopsASendThatTheMachineHoldsAndSaysHowManyLinesWent) {
    test::Peer peer(pty.peer());
    folder.write("stroje.ini", test::cp1250Lines({"[Drip]", "Port=COM3", "Rychlost=15200", "Parita=None", "DataBits=8",
                                                  "TokDat=Software", "EndLine=LF", "Chars=0"}));
    QStringList lines;
    for (int i = 0; i < 40000; ++i)
        lines << QStringLiteral("N%1 G1 X100.000 Y200.000 Z-5.000 F1000").arg(i);
    folder.write("big.nc", test::cp1250Lines(lines));
    run({"send", "--machine", "Drip", "--port", pty.ours(), folder.file("big.nc")});
    // The machine takes the first bytes, then holds the line.
    QByteArray got = peer.read(1, 50, 5000);
    ASSERT_FALSE(got.isEmpty());
    peer.write("\x13");
    QString progress;
    for (int i = 0; i < 100 && !progress.contains("holds the line"); ++i) {
        proc.waitForReadyRead(100);
        progress += QString::fromUtf8(proc.readAllStandardError());
    }
    ASSERT_TRUE(progress.contains("the machine holds the line, waiting")) << progress.toStdString();
    // Well past the 1000 ms a write may take while the line is not held.
    QThread::msleep(1500);
    EXPECT_EQ(proc.state(), QProcess::Running);
    ::kill(pid_t(proc.processId()), SIGINT);
    finish();
    err = progress + err;
    EXPECT_EQ(proc.exitCode(), 2) << err.toStdString();
    const QRegularExpression report("cancelled; (\\d+) of 40000 lines were sent");
    const QRegularExpressionMatch m = report.match(err);
    ASSERT_TRUE(m.hasMatch()) << err.toStdString();
    const int sent = m.captured(1).toInt();
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 40000);
    got += peer.read(-1, 300, 5000);
    EXPECT_EQ(got.count('\n'), sent);
}
