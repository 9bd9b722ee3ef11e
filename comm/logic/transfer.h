#pragma once
// Sending a program to a machine and reading what a machine sends, as plain
// functions over bytes, shared by the main window and velmora-cli.
#include "comm/logic/machines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace velmora::comm {

// The bytes that end each sent line: "CR/LF" CR LF, "LF" LF, "CR" CR,
// "LF/CR CR" LF CR CR, "LF/CR" LF CR; nothing without a choice.
QByteArray lineEndBytes(const QString &endLine);

// The byte that ends a received line: LF for "LF", CR for every other choice;
// none without a choice (then every byte is dropped).
std::optional<char> receiveTerminator(const QString &endLine);

// --- sending ----------------------------------------------------------------

struct SendPlan {
    std::optional<char> before;  // written before the first line
    QList<QByteArray> lines;     // each line with its line end
    std::optional<char> after;   // written after the last line
};

// The bytes of a program for a machine: the lines as Windows-1250 bytes with
// the machine's line end, and the before/after characters when "Chars" is on.
// Fails (returns false, `error` names the 1-based line) when a line holds a
// character Windows-1250 cannot hold: nothing is sent then.
bool makeSendPlan(const QStringList &lines, const MachineSettings &m, SendPlan &plan, QString *error = nullptr);

struct SendResult {
    int linesSent = 0;
    int lineCount = 0;
    bool complete() const { return linesSent == lineCount && error.isEmpty() && !cancelled; }
    bool timedOut = false;   // a write did not complete in time
    bool cancelled = false;  // the user stopped the send
    QString error;           // the port's error, when a write failed
};

// Writes one block of bytes; returns the number of bytes written (fewer than
// asked after a timeout), -1 on an error with its text in `error`, or
// kWriteCancelled when the user stopped the transfer during the write.
using WriteFn = std::function<qint64(const QByteArray &bytes, QString &error)>;
constexpr qint64 kWriteCancelled = -2;

// What a send reports and asks while it runs; each member may be empty.
struct SendControl {
    std::function<void(int sent)> progress;  // the lines sent, after each complete line
    std::function<bool(bool held)> waiting;  // while a write waits (held: the machine holds the line); false stops
    std::function<bool()> cancelled;         // before each line; true stops
};

// Sends a plan line by line. A line written only in part (the write did not
// complete within its time limit) stops the sending of lines; the after
// character is still written then, so the machine sees the end of the
// transfer. A failed write stops at once, and so does a cancelled send, which
// writes nothing more.
SendResult sendPlan(const SendPlan &plan, const WriteFn &write, const SendControl &control);
inline SendResult sendPlan(const SendPlan &plan, const WriteFn &write, const std::function<void(int)> &progress = {}) {
    return sendPlan(plan, write, SendControl{progress, {}, {}});
}

// --- receiving --------------------------------------------------------------

// What the received bytes amount to, in order.
struct ReceiveEvent {
    enum Kind { Line, EndOfText } kind;
    QString text; // the line (Windows-1250 decoded) for Line
};

// The pending line: the characters received since the last line end.
class Receiver {
public:
    // Every terminator adds the pending line; bytes 32 to 127 are appended to
    // it; byte 3 (ETX) is an end of text; every other byte is dropped. Without
    // a terminator every byte is dropped.
    QList<ReceiveEvent> feed(const QByteArray &bytes, std::optional<char> terminator);
    const QString &pending() const { return pending_; }
    // Empties the pending line and returns what it held.
    QString takePending();
    void clear() { pending_.clear(); }

private:
    QString pending_;
};

} // namespace velmora::comm
