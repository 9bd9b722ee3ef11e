#pragma once
// Whole transfers over an open port without an event loop, as velmora-cli
// runs them: finding a machine of stroje.ini, sending a program, receiving
// one until its end marker.
#include "comm/logic/machines.h"
#include "comm/logic/tcomm.h"
#include "comm/logic/transfer.h"

#include <QStringList>
#include <functional>

namespace velmora::comm {

// The machine `name` (letter case aside) of stroje.ini in the program folder.
// False with a message when the file or the machine is missing.
bool findMachine(const QString &name, MachineSettings &machine, QString &error);

// Sends a plan through the port and waits until the device has taken
// everything (bounded by the time the bytes need at the port's rate, plus
// a second). While the machine holds the line the send waits for it, telling
// `control.waiting`, which may stop it.
SendResult sendThrough(TComm &port, const SendPlan &plan, const SendControl &control);
inline SendResult sendThrough(TComm &port, const SendPlan &plan, const std::function<void(int)> &progress = {}) {
    return sendThrough(port, plan, SendControl{progress, {}, {}});
}

struct ReceiveOutcome {
    enum End { EndOfText, Timeout, Interrupted, DeviceLost };
    End end = Timeout;
    QStringList lines;  // every line received; an unfinished last line is kept too
    QString error;      // the port's message for DeviceLost
};

// Reads until an ETX byte arrives, until no byte has come for `idleTimeoutMs`
// (never when negative), until `stopRequested` returns true (checked every
// 100 ms), or until the device fails. Nothing received is dropped.
ReceiveOutcome receiveProgram(TComm &port, const MachineSettings &machine, int idleTimeoutMs,
                              const std::function<bool()> &stopRequested = {});

} // namespace velmora::comm
