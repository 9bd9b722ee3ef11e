// TComm and whole transfers against a real pseudo-terminal peer.
#include "comm/logic/session.h"
#include "comm/logic/tcomm.h"
#include "tests/comm/ptypair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/ioctl.h>
#include <thread>

using namespace velmora;
using namespace velmora::comm;

namespace {

class PortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
        peer = std::make_unique<test::Peer>(pty.peer());
        ASSERT_TRUE(peer->ok());
    }
    PortSettings settings(FlowControl flow = FlowControl::fcNone) {
        PortSettings s;
        s.deviceName = pty.ours();
        s.flow = flow;
        return s;
    }
    test::PtyPair pty;
    std::unique_ptr<test::Peer> peer;
};

} // namespace

TEST_F(PortTest, SendsTheProgramWithLineEndsAndBeforeAfterCharacters) {
    TComm port;
    ASSERT_TRUE(port.setSettings(settings()));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    MachineSettings m;
    m.chars = true;
    m.charBefore = "#2";
    m.charAfter = "#3";
    SendPlan plan;
    ASSERT_TRUE(makeSendPlan({"%", "M30"}, m, plan));
    const SendResult r = sendThrough(port, plan);
    EXPECT_TRUE(r.complete()) << r.error.toStdString();
    EXPECT_EQ(peer->read(), QByteArray("\x02%\r\nM30\r\n\x03"));
}

TEST_F(PortTest, ReportsArrivingBytesAndReadsWithoutWaiting) {
    TComm port;
    port.setSettings(settings());
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(port.read(100).isEmpty());
    EXPECT_LT(t.elapsed(), 200);

    QSignalSpy spy(&port, &TComm::rxChar);
    QByteArray got;
    QObject::connect(&port, &TComm::rxChar, &port, [&](int n) { got += port.read(n); });
    ASSERT_TRUE(peer->write("N10 G0\r\n"));
    ASSERT_TRUE(test::waitUntil([&] { return got.size() == 8; }));
    EXPECT_EQ(got, "N10 G0\r\n");
    EXPECT_GE(spy.count(), 1);
    EXPECT_GT(spy.first().first().toInt(), 0);
}

TEST_F(PortTest, ReceivesAProgramEndingInEtx) {
    TComm port;
    port.setSettings(settings());
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(peer->write("%\r\nN10 G0 X1\r\nN20 M30\r\n\x03" "after"));
    MachineSettings m;
    const ReceiveOutcome r = receiveProgram(port, m, 3000);
    EXPECT_EQ(r.end, ReceiveOutcome::EndOfText);
    EXPECT_EQ(r.lines, (QStringList{"%", "N10 G0 X1", "N20 M30"}));
}

TEST_F(PortTest, AVanishedDeviceEndsReceivingAndKeepsWhatArrived) {
    TComm port;
    port.setSettings(settings());
    ASSERT_TRUE(port.open());
    ASSERT_TRUE(peer->write("N10 G0\r\nN20 X"));
    MachineSettings m;
    int polls = 0;
    const ReceiveOutcome r = receiveProgram(port, m, 5000, [&] {
        if (++polls == 3)
            pty.kill();
        return false;
    });
    EXPECT_EQ(r.end, ReceiveOutcome::DeviceLost);
    EXPECT_EQ(r.lines, (QStringList{"N10 G0", "N20 X"}));
    EXPECT_FALSE(r.error.isEmpty());
}

TEST_F(PortTest, AVanishedDeviceIsReportedThroughTheEventLoopAndClosesThePort) {
    TComm port;
    port.setSettings(settings());
    ASSERT_TRUE(port.open());
    QSignalSpy lost(&port, &TComm::deviceLost);
    pty.kill();
    ASSERT_TRUE(test::waitUntil([&] { return lost.count() > 0; }));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(lost.first().first().toString().isEmpty());
    EXPECT_TRUE(port.write("N10\r\n").failed);
}

TEST_F(PortTest, AWriteThatDoesNotCompleteStopsTheSendingAndSaysHowFarItGot) {
    // The peer reads nothing and holds nothing: once every buffer on the way
    // is full the writes can no longer complete. With the software handshake
    // too, since no XOFF came.
    for (const FlowControl flow : {FlowControl::fcNone, FlowControl::fcSoftware}) {
        test::PtyPair line;
        ASSERT_TRUE(line.ok());
        test::Peer reader(line.peer());
        TComm port;
        PortSettings s = settings(flow);
        s.deviceName = line.ours();
        port.setSettings(s);
        port.setWriteTimeout(300);
        ASSERT_TRUE(port.open());
        QStringList lines;
        for (int i = 0; i < 40000; ++i)
            lines << QStringLiteral("N%1 G1 X100.000 Y200.000 Z-5.000 F1000 (a long line)").arg(i);
        SendPlan plan;
        ASSERT_TRUE(makeSendPlan(lines, MachineSettings(), plan));
        const SendResult r = sendThrough(port, plan);
        EXPECT_TRUE(r.timedOut) << int(flow);
        EXPECT_FALSE(r.complete());
        EXPECT_GT(r.linesSent, 0);
        EXPECT_LT(r.linesSent, r.lineCount);
        const QByteArray got = reader.read(-1, 300, 10000);
        // Every line counted as sent arrived; of the line in flight at most a part.
        EXPECT_EQ(got.count('\n'), r.linesSent) << int(flow);
    }
}

namespace {

// A program of about `bytes` bytes of NC lines.
SendPlan bigProgram(qsizetype bytes, QByteArray &expected) {
    QStringList lines;
    for (int i = 0; expected.size() < bytes; ++i) {
        lines << QStringLiteral("N%1 G1 X%2.125 Y-%3.5 Z-5.000 F1200").arg(i).arg(i % 997).arg(i % 613);
        expected += lines.last().toLatin1() + "\r\n";
    }
    SendPlan plan;
    makeSendPlan(lines, MachineSettings(), plan);
    return plan;
}

// Modem lines for a device that has none: what was set, and a CTS the test moves.
class RecordedLines : public ModemLines {
public:
    std::atomic<bool> cts{true};
    QList<QPair<int, bool>> sets;
    int get(int) override { return cts ? TIOCM_CTS | TIOCM_DSR : TIOCM_DSR; }
    bool set(int, int bits, bool on) override {
        sets.append({bits, on});
        return true;
    }
};

} // namespace

TEST_F(PortTest, AMachineThatPausesTenSecondsBetweenBurstsGetsAMegabyteByteForByte) {
    // A control fed while it runs: it holds XOFF for ten seconds, twice.
    QByteArray expected;
    const SendPlan plan = bigProgram(1 << 20, expected);
    QByteArray got;
    QList<qsizetype> duringPauses;
    std::atomic<bool> stop{false};
    std::thread machine([&] {
        QElapsedTimer all;
        all.start();
        for (const qsizetype pauseAt : {qsizetype(300000), qsizetype(700000), expected.size()}) {
            while (got.size() < pauseAt && !stop && all.elapsed() < 90000)
                got += peer->read(pauseAt - got.size(), 50, 200);
            if (pauseAt == expected.size() || stop)
                break;
            peer->write("\x13");
            // What was on its way when the XOFF went arrives at once; after
            // that nothing more may come for the ten seconds of the pause.
            got += peer->read(-1, 300, 3000);
            QThread::msleep(10000);
            const QByteArray late = peer->read(-1, 100, 300);
            duringPauses << late.size();
            got += late;
            peer->write("\x11");
        }
    });
    TComm port;
    port.setSettings(settings(FlowControl::fcSoftware));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    int holds = 0;
    bool holding = false;
    SendControl control;
    control.waiting = [&](bool held) {
        holds += held && !holding;
        holding = held;
        return true;
    };
    QElapsedTimer t;
    t.start();
    const SendResult r = sendThrough(port, plan, control);
    const qint64 took = t.elapsed();
    stop = true;
    machine.join();
    EXPECT_TRUE(r.complete()) << r.linesSent << " of " << r.lineCount << " " << r.error.toStdString();
    EXPECT_EQ(holds, 2);
    EXPECT_GE(took, 20000);
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    ASSERT_EQ(duringPauses.size(), 2);
    for (const qsizetype n : duringPauses)
        EXPECT_EQ(n, 0) << "the sender went on after XOFF";
}

TEST_F(PortTest, WhileCtsIsLowTheSendWaitsAndCanBeStopped) {
    auto lines = std::make_shared<RecordedLines>();
    lines->cts = false;
    TComm port;
    port.setModemLines(lines);
    port.setSettings(settings(FlowControl::fcCTS));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    MachineSettings m;
    m.chars = true;
    m.charBefore = "#2";
    m.charAfter = "#3";
    SendPlan plan;
    ASSERT_TRUE(makeSendPlan({"%", "N10 G0 X1", "M30"}, m, plan));
    // CTS comes up after 1.5 s, longer than any write may take while the line is not held.
    QElapsedTimer t;
    t.start();
    bool sawHeld = false;
    SendControl control;
    control.waiting = [&](bool held) {
        sawHeld = sawHeld || held;
        if (t.elapsed() > 1500)
            lines->cts = true;
        return true;
    };
    SendResult r = sendThrough(port, plan, control);
    EXPECT_TRUE(r.complete()) << r.error.toStdString();
    EXPECT_TRUE(sawHeld);
    EXPECT_GE(t.elapsed(), 1500);
    EXPECT_EQ(peer->read(), QByteArray("\x02%\r\nN10 G0 X1\r\nM30\r\n\x03"));

    // Held again and stopped: the send ends at once and writes nothing more, no after character either.
    lines->cts = false;
    t.restart();
    control.waiting = [&](bool held) { return !(held && t.elapsed() > 300); };
    r = sendThrough(port, plan, control);
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.complete());
    EXPECT_EQ(r.linesSent, 0);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_TRUE(peer->read(-1, 300, 600).isEmpty());
}

TEST_F(PortTest, FlowControlNoneDropsDtrAndRts) {
    auto lines = std::make_shared<RecordedLines>();
    TComm port;
    port.setModemLines(lines);
    port.setSettings(settings(FlowControl::fcNone));
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    const int both = TIOCM_DTR | TIOCM_RTS;
    EXPECT_EQ(lines->sets, (QList<QPair<int, bool>>{{both, false}}));
    // A handshake raises them again; "None" chosen while open drops them at once.
    ASSERT_TRUE(port.setSettings(settings(FlowControl::fcCTS)));
    ASSERT_TRUE(port.setSettings(settings(FlowControl::fcNone)));
    EXPECT_EQ(lines->sets, (QList<QPair<int, bool>>{{both, false}, {both, true}, {both, false}}));
    // A device without modem lines (this pseudo-terminal, with the real lines) still opens and sends.
    port.close();
    TComm real;
    real.setSettings(settings(FlowControl::fcNone));
    ASSERT_TRUE(real.open()) << real.lastError().toStdString();
    SendPlan plan;
    ASSERT_TRUE(makeSendPlan({"M30"}, MachineSettings(), plan));
    EXPECT_TRUE(sendThrough(real, plan).complete());
    EXPECT_EQ(peer->read(), QByteArray("M30\r\n"));
}

TEST_F(PortTest, SettingsTheDeviceCannotTakeAreReportedWhenOpening) {
    const struct {
        const char *what;
        std::function<void(PortSettings &)> change;
        const char *function;
    } cases[] = {
        {"1.5 stop bits", [](PortSettings &s) { s.stopBits = StopBits::OneAndHalf; }, "setStopBits"},
        {"DTR/DSR", [](PortSettings &s) { s.flow = FlowControl::fcDTR; }, "setFlowControl"},
        {"4 data bits", [](PortSettings &s) { s.dataBits = 4; }, "setDataBits"},
    };
    for (const auto &c : cases) {
        TComm port;
        PortSettings s = settings();
        c.change(s);
        port.setSettings(s);
        EXPECT_FALSE(port.open()) << c.what;
        EXPECT_FALSE(port.isOpen()) << c.what;
        EXPECT_TRUE(port.lastError().endsWith(QLatin1String("in function: ") + c.function))
            << port.lastError().toStdString();
    }
    // The same while open: refused, and the port keeps working.
    TComm port;
    port.setSettings(settings());
    ASSERT_TRUE(port.open());
    PortSettings s = settings();
    s.stopBits = StopBits::OneAndHalf;
    EXPECT_FALSE(port.setSettings(s));
    EXPECT_TRUE(port.lastError().contains("1.5 stop bits")) << port.lastError().toStdString();
    EXPECT_FALSE(port.setDeviceName("/dev/null"));
    EXPECT_EQ(port.lastError(), "Connection is active");
}

TEST_F(PortTest, EveryRateOfTheListAndEachHandshakeOpens) {
    for (const qint32 rate : baudRates()) {
        TComm port;
        PortSettings s = settings(FlowControl::fcSoftware);
        s.baudRate = rate;
        s.parity = Parity::Space;
        port.setSettings(s);
        EXPECT_TRUE(port.open()) << rate << " " << port.lastError().toStdString();
    }
    for (const FlowControl f : {FlowControl::fcNone, FlowControl::fcCTS, FlowControl::fcSoftware, FlowControl::fcDefault}) {
        TComm port;
        port.setSettings(settings(f));
        EXPECT_TRUE(port.open()) << port.lastError().toStdString();
    }
}

TEST(Port, ADeviceThatIsMissingOrNoSerialDeviceIsRefusedWithItsReason) {
    TComm port;
    PortSettings s;
    s.deviceName = "/nonexistent/ttyUSB9";
    port.setSettings(s);
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.lastError().startsWith("Error 2 /nonexistent/ttyUSB9: No such file or directory in function: open"))
        << port.lastError().toStdString();
    s.deviceName = QCoreApplication::applicationFilePath();
    port.setSettings(s);
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.lastError().contains("is not a serial device")) << port.lastError().toStdString();
    s.deviceName = "/dev/null"; // a character device, but no terminal
    port.setSettings(s);
    EXPECT_FALSE(port.open());
    EXPECT_TRUE(port.lastError().endsWith("in function: open")) << port.lastError().toStdString();
}
