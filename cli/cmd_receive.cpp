// velmora-cli receive: writes what a machine sends over its serial line.
#include "cli/cli.h"

#include "comm/logic/session.h"

#include <csignal>

namespace velmora::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int) { g_interrupted = 1; }

int runReceive(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &n : opts.names())
        if (n != QLatin1String("machine") && n != QLatin1String("port") && n != QLatin1String("o") &&
            n != QLatin1String("timeout"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (!opts.has(QStringLiteral("machine")))
        throw UsageError{QStringLiteral("--machine NAME is required")};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("receive reads no files (write to a file with -o FILE)")};
    const double timeout = opts.number(QStringLiteral("timeout"), -1);
    if (opts.has(QStringLiteral("timeout")) && !(timeout > 0))
        throw UsageError{QStringLiteral("--timeout: give a number of seconds above 0")};

    comm::MachineSettings machine;
    QString error;
    if (!comm::findMachine(opts.value(QStringLiteral("machine")), machine, error))
        throw UsageError{error};
    if (opts.has(QStringLiteral("port")))
        machine.port = opts.value(QStringLiteral("port"));
    if (!comm::receiveTerminator(machine.endLine))
        throw UsageError{QStringLiteral("machine '%1' has no line end chosen: nothing received could be kept")
                             .arg(machine.name)};
    comm::PortSettings settings;
    QStringList problems;
    if (!comm::portSettingsFromMachine(machine, settings, &problems))
        throw UsageError{QStringLiteral("machine '%1': %2").arg(machine.name, problems.join(QStringLiteral("; ")))};

    comm::TComm port;
    port.setSettings(settings);
    if (!port.open())
        throw UsageError{port.lastError()};

    g_interrupted = 0;
    auto previous = std::signal(SIGINT, onInterrupt);
    const comm::ReceiveOutcome r = comm::receiveProgram(port, machine, timeout > 0 ? int(timeout * 1000) : -1,
                                                        [] { return g_interrupted != 0; });
    std::signal(SIGINT, previous);
    port.close();

    // What arrived is written whatever ended the transfer.
    if (opts.has(QStringLiteral("o")))
        writeProgram(opts.value(QStringLiteral("o")), r.lines);
    else
        writeLines(r.lines);

    const QString lines = QStringLiteral("%1 lines").arg(r.lines.size());
    switch (r.end) {
    case comm::ReceiveOutcome::EndOfText:
        writeError(QStringLiteral("received %1 from %2").arg(lines, settings.deviceName));
        return 0;
    case comm::ReceiveOutcome::Timeout:
        writeError(QStringLiteral("velmora-cli receive: no end marker (ETX) within the timeout; %1 received").arg(lines));
        return 1;
    case comm::ReceiveOutcome::Interrupted:
        writeError(QStringLiteral("velmora-cli receive: interrupted; %1 received").arg(lines));
        return 1;
    case comm::ReceiveOutcome::DeviceLost:
        writeError(QStringLiteral("velmora-cli receive: the device failed (%1); %2 received").arg(r.error, lines));
        return 2;
    }
    return 2;
}

} // namespace

VELMORA_CLI_COMMAND(
    "receive", "receive a program from a machine over the serial line",
    "velmora-cli receive --machine NAME [--port DEVICE] [-o FILE] [--timeout S]\n"
    "\n"
    "Receives a program with the settings of machine NAME of stroje.ini in the\n"
    "program folder. A line ends at LF when the machine's line end is \"LF\" and\n"
    "at CR otherwise; characters 32 to 127 are kept, every other byte is\n"
    "dropped. Receiving ends at the end marker ETX (byte 3), when no byte has\n"
    "come for S seconds, or on Ctrl+C; what arrived is written in every case,\n"
    "an unfinished last line included.\n"
    "\n"
    "  --machine NAME  the machine (its section in stroje.ini; letter case aside)\n"
    "  --port DEVICE   the serial device instead of the machine's port\n"
    "  -o FILE         write the program to FILE (Windows-1250, CR LF) instead\n"
    "                  of standard output\n"
    "  --timeout S     stop after S seconds without a byte (default: wait)\n"
    "\n"
    "Exit status 0 after ETX; 1 after a timeout or Ctrl+C; 2 when the machine or\n"
    "the port cannot be used or the device fails during the transfer.",
    runReceive);

} // namespace velmora::cli
