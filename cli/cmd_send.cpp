// velmora-cli send: sends a program to a machine over its serial line.
#include "cli/cli.h"

#include "comm/logic/session.h"

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace velmora::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;
void onInterrupt(int) { interrupted = 1; }

// Ctrl+C stops the send (and says how far it got) instead of ending the program at once.
class InterruptGuard {
public:
    InterruptGuard() {
        struct sigaction a {};
        a.sa_handler = onInterrupt;
        sigemptyset(&a.sa_mask);
        ::sigaction(SIGINT, &a, &previous_);
        interrupted = 0;
    }
    ~InterruptGuard() { ::sigaction(SIGINT, &previous_, nullptr); }

private:
    struct sigaction previous_ {};
};

int runSend(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &n : opts.names())
        if (n != QLatin1String("machine") && n != QLatin1String("port"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.has(QStringLiteral("machine")))
        throw UsageError{QStringLiteral("--machine NAME is required")};
    if (opts.positional().size() != 1)
        throw UsageError{QStringLiteral("send takes exactly one program file")};
    const QString file = opts.positional().first();

    comm::MachineSettings machine;
    QString error;
    if (!comm::findMachine(opts.value(QStringLiteral("machine")), machine, error))
        throw UsageError{error};
    if (opts.has(QStringLiteral("port")))
        machine.port = opts.value(QStringLiteral("port"));
    comm::PortSettings settings;
    QStringList problems;
    if (!comm::portSettingsFromMachine(machine, settings, &problems))
        throw UsageError{QStringLiteral("machine '%1': %2").arg(machine.name, problems.join(QStringLiteral("; ")))};

    const QStringList lines = readProgram(file);
    comm::SendPlan plan;
    if (!comm::makeSendPlan(lines, machine, plan, &error))
        throw UsageError{QStringLiteral("%1: %2").arg(file, error)};

    comm::TComm port;
    port.setSettings(settings);
    if (!port.open())
        throw UsageError{port.lastError()};

    const bool tty = ::isatty(STDERR_FILENO);
    const int total = int(plan.lines.size());
    int lastShown = -1;
    int sentSoFar = 0;
    bool heldShown = false;
    comm::SendControl control;
    control.progress = [&](int sent) {
        sentSoFar = sent;
        if (tty) {
            std::fprintf(stderr, "\rsending %d/%d lines                         ", sent, total);
        } else {
            const int tenth = total ? sent * 10 / total : 10;
            if (tenth == lastShown)
                return;
            lastShown = tenth;
            std::fprintf(stderr, "sent %d/%d lines\n", sent, total);
        }
        std::fflush(stderr);
    };
    // While the machine holds the line the send waits for it; Ctrl+C stops it.
    control.waiting = [&](bool held) {
        if (held != heldShown) {
            heldShown = held;
            if (held)
                std::fprintf(stderr, tty ? "\rsending %d/%d lines: the machine holds the line, waiting (Ctrl+C stops)"
                                         : "sent %d/%d lines: the machine holds the line, waiting (Ctrl+C stops)\n",
                             sentSoFar, total);
            else if (!tty)
                std::fprintf(stderr, "the machine takes data again\n");
            std::fflush(stderr);
        }
        return interrupted == 0;
    };
    control.cancelled = [] { return interrupted != 0; };
    const InterruptGuard guard;
    const comm::SendResult r = comm::sendThrough(port, plan, control);
    port.close();
    if (tty && total > 0)
        std::fputc('\n', stderr);
    if (r.cancelled) {
        writeError(QStringLiteral("velmora-cli send: cancelled; %1 of %2 lines were sent to %3")
                       .arg(r.linesSent)
                       .arg(r.lineCount)
                       .arg(settings.deviceName));
        return 2;
    }
    if (!r.complete()) {
        const QString why = !r.error.isEmpty() ? r.error
                                               : QStringLiteral("the device took no more data within %1 ms")
                                                     .arg(port.writeTimeout());
        writeError(QStringLiteral("velmora-cli send: only %1 of %2 lines were sent to %3: %4")
                       .arg(r.linesSent)
                       .arg(r.lineCount)
                       .arg(settings.deviceName, why));
        return 2;
    }
    writeError(QStringLiteral("sent %1 of %2 lines to %3").arg(r.linesSent).arg(r.lineCount).arg(settings.deviceName));
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "send", "send a program to a machine over the serial line",
    "velmora-cli send --machine NAME [--port DEVICE] FILE\n"
    "\n"
    "Sends FILE line by line with the settings of machine NAME of stroje.ini in\n"
    "the program folder (rate, parity, data and stop bits, flow control, line\n"
    "end, and the characters before and after the data when the machine has\n"
    "them on), as \"Vyslat data\" does. Progress goes to standard error.\n"
    "\n"
    "  --machine NAME  the machine (its section in stroje.ini; letter case aside)\n"
    "  --port DEVICE   the serial device instead of the machine's port: COM1 to\n"
    "                  COM3 are /dev/ttyS0 to /dev/ttyS2; any other name or path\n"
    "                  (/dev/ttyUSB0, /dev/pts/3) is opened as given\n"
    "\n"
    "While the machine holds the line (XOFF received and no XON yet with the\n"
    "software handshake, CTS low with RTS/CTS) the send waits as long as it\n"
    "takes and says so; Ctrl+C stops it.\n"
    "\n"
    "Exit status 2 when the machine, the file or the port cannot be used, or when\n"
    "not every line was sent (Ctrl+C, a write that the device does not take\n"
    "within 1000 ms while the line is not held, a device that vanishes); the\n"
    "message says how many lines of how many went out.",
    runSend);

} // namespace velmora::cli
