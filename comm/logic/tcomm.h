#pragma once
// TComm: the serial port component, built on Qt SerialPort.
//
// The port lives on the thread that created it (the GUI thread in the main
// window) and reports arriving bytes through rxChar(), so every handler runs
// on that thread. Reads never wait. A write waits at most writeTimeout() ms
// for its bytes to be taken by the device, counting only the time in which
// the machine does not hold the line: while it holds it (XOFF received and no
// XON yet with the software handshake, CTS low with RTS/CTS) the write waits
// as long as it takes, and the caller may cancel it.
#include "comm/logic/machines.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSerialPort;

namespace velmora::comm {

// The modem lines of a device. Tests put their own in place, since a
// pseudo-terminal has none; the default one asks the device.
class ModemLines {
public:
    virtual ~ModemLines() = default;
    // The TIOCM_ bits of the lines, or -1 when the device has no modem lines.
    virtual int get(int fd);
    // Raises or drops the lines of `bits`; false when the device has none.
    virtual bool set(int fd, int bits, bool on);
};

class TComm : public QObject {
    Q_OBJECT
public:
    explicit TComm(QObject *parent = nullptr);
    ~TComm() override; // closes the port

    // --- settings -----------------------------------------------------------
    const PortSettings &settings() const { return settings_; }
    QString deviceName() const { return settings_.deviceName; }
    // Refused while the port is open ("Connection is active").
    bool setDeviceName(const QString &name);
    // Sets baud rate, parity, stop bits, data bits and flow control (the device
    // name too, when the port is closed). While the port is open every changed
    // setting takes effect at once; a setting the device cannot take is
    // reported (false, lastError()) and nothing is silently dropped.
    bool setSettings(const PortSettings &settings);

    int readTimeout() const { return readTimeout_; }
    int writeTimeout() const { return writeTimeout_; }
    void setWriteTimeout(int ms) { writeTimeout_ = ms; }
    int readBufSize() const { return readBufSize_; }
    int writeBufSize() const { return writeBufSize_; }
    bool setBufSizes(int readBytes, int writeBytes); // refused while open

    // --- operation ----------------------------------------------------------
    // Opens the device for reading and writing, exclusively, and applies the
    // line settings. A failing step closes the device again and leaves its
    // message in lastError(): "Error <code> <text> in function: <step>".
    bool open();
    bool isOpen() const;
    void close();

    struct WriteResult {
        // Bytes of this block the device has taken (fewer after a timeout).
        qint64 written = 0;
        bool timedOut = false;
        bool failed = false;    // the device reported an error (see lastError())
        bool cancelled = false; // `waiting` said stop
    };
    // Called about every 50 ms while a write waits for the device, with
    // whether the machine holds the line; returning false cancels the write.
    using WaitFn = std::function<bool(bool held)>;
    WriteResult write(const QByteArray &bytes, const WaitFn &waiting = {});
    // Whether the machine holds the line now (XOFF without XON yet, or CTS low).
    bool isHeld();
    // Waits up to `ms` until every byte written has left the driver's queue.
    bool waitForSent(int ms);
    // The bytes waiting, at most `count`; never waits. Bytes that arrived
    // before the device failed can still be read after the port closed.
    QByteArray read(qint64 count);
    qint64 bytesAvailable();
    // Waits up to `ms` for input bytes (for callers without an event loop).
    bool waitForInput(int ms);

    QString lastError() const { return error_; }
    // True once the device has failed while open (until the port is closed).
    bool deviceFailed() const { return lost_; }

    void setModemLines(std::shared_ptr<ModemLines> lines) { modem_ = std::move(lines); }

signals:
    // Bytes arrived; `count` bytes are waiting.
    void rxChar(int count);
    // The device failed while open (pulled out, hung up); the port is closed already.
    void deviceLost(const QString &message);
    void opened();
    void closed();

private:
    bool fail(int code, const QString &text, const char *function);
    void finishLost();
    void markFailed(int code, const QString &text, const char *function);
    bool applyLine(const PortSettings &s, const PortSettings *previous);
    bool applyHandshake(FlowControl flow);
    void portError(int error);
    qint64 queuedOutput() const;
    void intake();           // takes the bytes the serial library holds
    void pollInput();        // reads what the device has, without waiting
    qint64 outputRoom() const; // bytes a write may hand the driver now

    std::unique_ptr<QSerialPort> port_;
    PortSettings settings_;
    int readTimeout_ = 1000;
    int writeTimeout_ = 1000;
    int readBufSize_ = 4096;
    int writeBufSize_ = 2048;
    QString error_;
    QByteArray inbox_; // bytes received and not read yet (kept after the device failed)
    bool xoff_ = false; // the machine sent XOFF and no XON since
    std::shared_ptr<ModemLines> modem_;
    bool closing_ = false;
    bool lost_ = false; // the device failed; closed on the next turn of the event loop
};

} // namespace velmora::comm
