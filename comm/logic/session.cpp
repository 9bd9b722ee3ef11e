#include "comm/logic/session.h"

#include "common/ini.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace velmora::comm {

bool findMachine(const QString &name, MachineSettings &machine, QString &error) {
    const QString path = machinesIniPath();
    if (!QFileInfo::exists(path)) {
        error = QStringLiteral("%1: the machine file does not exist").arg(path);
        return false;
    }
    const IniFile ini(path);
    const QStringList names = machineNames(ini);
    for (const QString &n : names) {
        if (n.compare(name, Qt::CaseInsensitive) == 0) {
            machine = readMachine(ini, n);
            return true;
        }
    }
    error = names.isEmpty()
                ? QStringLiteral("%1: no machine '%2' (the file names no machines)").arg(path, name)
                : QStringLiteral("%1: no machine '%2' (machines: %3)").arg(path, name, names.join(QStringLiteral(", ")));
    return false;
}

SendResult sendThrough(TComm &port, const SendPlan &plan, const SendControl &control) {
    qint64 total = 0;
    const WriteFn write = [&](const QByteArray &bytes, QString &error) -> qint64 {
        const TComm::WriteResult r = port.write(bytes, control.waiting);
        if (r.failed) {
            error = port.lastError();
            return -1;
        }
        if (r.cancelled)
            return kWriteCancelled;
        total += bytes.size();
        return r.written;
    };
    SendResult r = sendPlan(plan, write, control);
    if (r.error.isEmpty() && !r.cancelled && port.isOpen()) {
        // About ten bits a byte on the line.
        const qint64 rate = qMax<qint64>(port.settings().baudRate, 1);
        const int ms = int(qMin<qint64>(total * 10 * 1000 / rate + 1000, 600000));
        if (!port.waitForSent(ms) && port.deviceFailed())
            r.error = port.lastError();
    }
    return r;
}

ReceiveOutcome receiveProgram(TComm &port, const MachineSettings &machine, int idleTimeoutMs,
                              const std::function<bool()> &stopRequested) {
    ReceiveOutcome out;
    Receiver receiver;
    const std::optional<char> term = receiveTerminator(machine.endLine);
    QElapsedTimer idle;
    idle.start();
    auto finish = [&](ReceiveOutcome::End end) {
        const QString rest = receiver.takePending();
        if (!rest.isEmpty())
            out.lines << rest;
        out.end = end;
        return out;
    };
    for (;;) {
        if (stopRequested && stopRequested())
            return finish(ReceiveOutcome::Interrupted);
        int wait = 100;
        if (idleTimeoutMs >= 0) {
            const qint64 left = idleTimeoutMs - idle.elapsed();
            if (left <= 0)
                return finish(ReceiveOutcome::Timeout);
            wait = int(qMin<qint64>(wait, left));
        }
        port.waitForInput(wait);
        QByteArray bytes = port.read(port.bytesAvailable());
        // Bytes after the end marker belong to no program.
        const qsizetype etx = term ? bytes.indexOf('\x03') : -1;
        if (etx >= 0)
            bytes.truncate(etx + 1);
        if (!bytes.isEmpty()) {
            idle.restart();
            for (const ReceiveEvent &e : receiver.feed(bytes, term)) {
                if (e.kind == ReceiveEvent::Line) {
                    out.lines << e.text;
                } else {
                    return finish(ReceiveOutcome::EndOfText);
                }
            }
        }
        if (port.deviceFailed() || !port.isOpen()) {
            out.error = port.lastError();
            return finish(ReceiveOutcome::DeviceLost);
        }
    }
}

} // namespace velmora::comm
