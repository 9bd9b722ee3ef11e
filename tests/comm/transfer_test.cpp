// The send and receive rules over bytes.
#include "comm/logic/transfer.h"

#include <gtest/gtest.h>

using namespace velmora::comm;

TEST(Transfer, LineEndsAndTerminators) {
    const struct {
        const char *choice;
        QByteArray sent;
        std::optional<char> terminator;
    } cases[] = {{"CR/LF", "\r\n", '\r'}, {"LF", "\n", '\n'},       {"CR", "\r", '\r'},
                 {"LF/CR CR", "\n\r\r", '\r'}, {"LF/CR", "\n\r", '\r'}, {"", "", std::nullopt}};
    for (const auto &c : cases) {
        EXPECT_EQ(lineEndBytes(c.choice), c.sent) << c.choice;
        EXPECT_EQ(receiveTerminator(c.choice), c.terminator) << c.choice;
    }
}

namespace {
struct Recorder {
    QByteArray bytes;
    QList<QByteArray> writes;
    int acceptFrom = -1;   // the write (0-based) from which only part is taken
    int failAt = -1;       // the write that fails
    WriteFn fn() {
        return [this](const QByteArray &b, QString &error) -> qint64 {
            const int i = int(writes.size());
            writes << b;
            if (i == failAt) {
                error = "device gone";
                return -1;
            }
            if (acceptFrom >= 0 && i >= acceptFrom) {
                bytes += b.left(1);
                return 1;
            }
            bytes += b;
            return b.size();
        };
    }
};
} // namespace

TEST(Transfer, SendingWritesBeforeLinesAfterAndNothingMore) {
    MachineSettings m;
    m.chars = true;
    m.charBefore = "#2";
    m.charAfter = "#3";
    SendPlan plan;
    ASSERT_TRUE(makeSendPlan({"%", "M30"}, m, plan));
    Recorder rec;
    QList<int> progress;
    const SendResult r = sendPlan(plan, rec.fn(), [&](int n) { progress << n; });
    EXPECT_EQ(rec.bytes, QByteArray("\x02%\r\nM30\r\n\x03"));
    EXPECT_TRUE(r.complete());
    EXPECT_EQ(progress, (QList<int>{1, 2}));

    m.chars = false;
    m.endLine = "LF/CR";
    ASSERT_TRUE(makeSendPlan({"N1 Ž"}, m, plan));
    Recorder plain;
    sendPlan(plan, plain.fn());
    EXPECT_EQ(plain.bytes, QByteArray("N1 \x8E\n\r")); // Windows-1250 bytes, no before/after
}

TEST(Transfer, AnIncompleteWriteStopsAndIsReported) {
    MachineSettings m;
    m.chars = true;
    m.charBefore = "#2";
    m.charAfter = "#3";
    SendPlan plan;
    ASSERT_TRUE(makeSendPlan({"N10", "N20", "N30", "N40"}, m, plan));

    Recorder slow;
    slow.acceptFrom = 3; // before, N10, N20 complete; N30 only in part
    SendResult r = sendPlan(plan, slow.fn());
    EXPECT_FALSE(r.complete());
    EXPECT_TRUE(r.timedOut);
    EXPECT_EQ(r.linesSent, 2);
    EXPECT_EQ(r.lineCount, 4);
    EXPECT_EQ(slow.writes.last(), QByteArray("\x03")); // the after character still goes

    Recorder broken;
    broken.failAt = 2;
    r = sendPlan(plan, broken.fn());
    EXPECT_EQ(r.linesSent, 1);
    EXPECT_EQ(r.error, "device gone");
    EXPECT_EQ(broken.writes.size(), 3); // nothing after a failure
}

TEST(Transfer, AProgramWithACharacterOutsideTheCodePageIsNotSent) {
    SendPlan plan;
    QString error;
    EXPECT_FALSE(makeSendPlan({"N10", "N20 (€ ok)", "N30 (日)"}, MachineSettings(), plan, &error));
    EXPECT_TRUE(error.startsWith("line 3, column 6")) << error.toStdString();
    EXPECT_TRUE(plan.lines.isEmpty());
}

TEST(Transfer, ReceivingBuildsLinesFromThePendingLine) {
    Receiver rx;
    auto lines = [](const QList<ReceiveEvent> &ev) {
        QStringList out;
        for (const auto &e : ev)
            out << (e.kind == ReceiveEvent::Line ? e.text : QStringLiteral("<ETX>"));
        return out;
    };
    EXPECT_EQ(lines(rx.feed("N10 G0\r\nN20 M30\r\n", '\r')), (QStringList{"N10 G0", "N20 M30"}));
    EXPECT_EQ(lines(rx.feed("N10 G0\r\nN20 M30\r\n", '\n')), (QStringList{"N10 G0", "N20 M30"}));
    EXPECT_EQ(rx.pending(), "");

    // Across several events, nothing until the terminator.
    EXPECT_TRUE(rx.feed("AB", '\r').isEmpty());
    EXPECT_TRUE(rx.feed("C", '\r').isEmpty());
    EXPECT_EQ(rx.pending(), "ABC");
    EXPECT_EQ(lines(rx.feed("\r", '\r')), QStringList{"ABC"});

    // Control characters and bytes above 127 are dropped; every ETX counts, in order.
    EXPECT_EQ(lines(rx.feed(QByteArray("\x02X\x7f\x80\xE8Y\r\x03\x03Z", 11), '\r')),
              (QStringList{"X\x7fY", "<ETX>", "<ETX>"}));
    EXPECT_EQ(rx.takePending(), "Z");
    EXPECT_EQ(rx.pending(), "");

    // Without a line end chosen everything is dropped.
    EXPECT_TRUE(rx.feed("A\r\x03", std::nullopt).isEmpty());
    EXPECT_EQ(rx.pending(), "");
}
