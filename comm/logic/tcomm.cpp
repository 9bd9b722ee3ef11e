#include "comm/logic/tcomm.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>

#include <cerrno>
#include <limits>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace velmora::comm {

namespace {

QString devicePath(const QString &name) {
    return name.contains(u'/') ? name : QStringLiteral("/dev/") + name;
}

bool fatal(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError;
}

constexpr char kXon = 17;
constexpr char kXoff = 19;

} // namespace

int ModemLines::get(int fd) {
    int bits = 0;
    return ::ioctl(fd, TIOCMGET, &bits) == 0 ? bits : -1;
}

bool ModemLines::set(int fd, int bits, bool on) { return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0; }

TComm::TComm(QObject *parent)
    : QObject(parent), port_(std::make_unique<QSerialPort>()), modem_(std::make_shared<ModemLines>()) {
    connect(port_.get(), &QSerialPort::readyRead, this, [this] {
        intake();
        if (!inbox_.isEmpty())
            emit rxChar(int(qMin<qint64>(inbox_.size(), INT_MAX)));
    });
    connect(port_.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) { portError(e); });
}

TComm::~TComm() {
    closing_ = true;
    if (port_->isOpen())
        port_->close();
}

bool TComm::fail(int code, const QString &text, const char *function) {
    QString t = text;
    while (t.endsWith(u'\n') || t.endsWith(u'\r'))
        t.chop(1);
    error_ = QStringLiteral("Error %1 %2 in function: %3").arg(code).arg(t, QLatin1String(function));
    return false;
}

bool TComm::setDeviceName(const QString &name) {
    if (isOpen()) {
        error_ = QStringLiteral("Connection is active");
        return false;
    }
    settings_.deviceName = name;
    return true;
}

bool TComm::setBufSizes(int readBytes, int writeBytes) {
    if (isOpen()) {
        error_ = QStringLiteral("Connection is active");
        return false;
    }
    readBufSize_ = readBytes;
    writeBufSize_ = writeBytes;
    return true;
}

bool TComm::setSettings(const PortSettings &s) {
    if (isOpen() && s.deviceName != settings_.deviceName) {
        error_ = QStringLiteral("Connection is active");
        return false;
    }
    const PortSettings previous = settings_;
    settings_ = s;
    if (!isOpen())
        return true;
    return applyLine(s, &previous);
}

bool TComm::applyLine(const PortSettings &s, const PortSettings *previous) {
    const QString dev = s.deviceName;
    if (!previous || previous->baudRate != s.baudRate) {
        if (!port_->setBaudRate(s.baudRate))
            return fail(port_->error(),
                        QStringLiteral("%1 Bd is refused by %2: %3").arg(s.baudRate).arg(dev, port_->errorString()),
                        "setBaudRate");
    }
    if (!previous || previous->dataBits != s.dataBits) {
        if (s.dataBits < 5 || s.dataBits > 8)
            return fail(QSerialPort::UnsupportedOperationError,
                        QStringLiteral("%1 data bits are not supported by the serial devices of this system").arg(s.dataBits),
                        "setDataBits");
        if (!port_->setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)))
            return fail(port_->error(), QStringLiteral("%1 data bits are refused by %2: %3")
                                            .arg(s.dataBits).arg(dev, port_->errorString()), "setDataBits");
    }
    if (!previous || previous->parity != s.parity) {
        static const QSerialPort::Parity map[] = {QSerialPort::NoParity, QSerialPort::OddParity, QSerialPort::EvenParity,
                                                  QSerialPort::MarkParity, QSerialPort::SpaceParity};
        if (!port_->setParity(map[int(s.parity)]))
            return fail(port_->error(), QStringLiteral("the parity is refused by %1: %2").arg(dev, port_->errorString()),
                        "setParity");
    }
    if (!previous || previous->stopBits != s.stopBits) {
        if (s.stopBits == StopBits::OneAndHalf)
            return fail(QSerialPort::UnsupportedOperationError,
                        QStringLiteral("1.5 stop bits are not supported by the serial devices of this system"),
                        "setStopBits");
        if (!port_->setStopBits(s.stopBits == StopBits::Two ? QSerialPort::TwoStop : QSerialPort::OneStop))
            return fail(port_->error(), QStringLiteral("the stop bits are refused by %1: %2").arg(dev, port_->errorString()),
                        "setStopBits");
    }
    if ((!previous || previous->flow != s.flow) && !applyHandshake(s.flow))
        return false;
    return true;
}

bool TComm::applyHandshake(FlowControl flow) {
    QSerialPort::FlowControl f = QSerialPort::NoFlowControl;
    switch (flow) {
    case FlowControl::fcNone: f = QSerialPort::NoFlowControl; break;
    case FlowControl::fcCTS: f = QSerialPort::HardwareControl; break;
    case FlowControl::fcSoftware: f = QSerialPort::SoftwareControl; break;
    case FlowControl::fcDTR:
        return fail(QSerialPort::UnsupportedOperationError,
                    QStringLiteral("the DTR/DSR handshake is not available on this system; choose RTS/CTS, "
                                   "Software or None"),
                    "setFlowControl");
    case FlowControl::fcDefault: f = port_->flowControl(); break;
    }
    if (!port_->setFlowControl(f))
        return fail(port_->error(),
                    QStringLiteral("the flow control is refused by %1: %2").arg(settings_.deviceName, port_->errorString()),
                    "setFlowControl");
    const int fd = port_->handle();
    if (flow == FlowControl::fcSoftware) {
        // The machine's XON and XOFF are watched here, not by the driver, so
        // that a send knows when the machine holds the line; the driver still
        // sends XOFF and XON when the input it holds for us runs full.
        termios t{};
        if (::tcgetattr(fd, &t) == 0) {
            t.c_iflag &= ~tcflag_t(IXON | IXANY);
            t.c_iflag |= IXOFF;
            if (::tcsetattr(fd, TCSANOW, &t) != 0)
                return fail(errno, QString::fromLocal8Bit(std::strerror(errno)), "setFlowControl");
        }
    }
    xoff_ = false;
    // "None" drops DTR and RTS; the handshakes raise them again. A device
    // without modem lines (a pseudo-terminal) has nothing to set.
    if (flow == FlowControl::fcNone)
        modem_->set(fd, TIOCM_DTR | TIOCM_RTS, false);
    else if (flow != FlowControl::fcDefault)
        modem_->set(fd, TIOCM_DTR | TIOCM_RTS, true);
    return true;
}

bool TComm::open() {
    if (isOpen())
        return true;
    error_.clear();
    lost_ = false;
    inbox_.clear();
    xoff_ = false;
    const QString path = devicePath(settings_.deviceName);
    struct stat st {};
    if (::stat(path.toLocal8Bit().constData(), &st) != 0) {
        const int e = errno;
        return fail(e, QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(e))), "open");
    }
    if (!S_ISCHR(st.st_mode))
        return fail(ENOTTY, QStringLiteral("%1 is not a serial device").arg(path), "open");
    port_->setPortName(path);
    port_->clearError();
    if (!port_->open(QIODevice::ReadWrite))
        return fail(port_->error(), QStringLiteral("%1: %2").arg(path, port_->errorString()), "open");
    if (!applyLine(settings_, nullptr)) {
        closing_ = true;
        port_->close();
        closing_ = false;
        return false;
    }
    emit opened();
    return true;
}

bool TComm::isOpen() const { return port_->isOpen(); }

void TComm::close() {
    if (!port_->isOpen())
        return;
    closing_ = true;
    lost_ = false;
    // Input not read yet is dropped; what the device has taken for output is
    // counted as sent and still goes out.
    port_->clear(QSerialPort::Input);
    port_->close();
    inbox_.clear();
    xoff_ = false;
    closing_ = false;
    emit closed();
}

void TComm::portError(int e) {
    const auto err = static_cast<QSerialPort::SerialPortError>(e);
    if (closing_ || !fatal(err) || !port_->isOpen())
        return;
    markFailed(e, port_->errorString(), err == QSerialPort::WriteError ? "write" : "read");
}

void TComm::markFailed(int code, const QString &text, const char *function) {
    if (lost_)
        return;
    fail(code, QStringLiteral("%1: %2").arg(devicePath(settings_.deviceName), text), function);
    // Closed after the current call returns; write() and read() see the
    // failure at once through the error state.
    lost_ = true;
    QMetaObject::invokeMethod(this, [this] { finishLost(); }, Qt::QueuedConnection);
}

void TComm::finishLost() {
    if (!lost_)
        return;
    lost_ = false;
    const QString message = error_;
    closing_ = true;
    if (port_->isOpen()) {
        // What arrived before the failure stays readable after the close.
        intake();
        port_->close();
    }
    closing_ = false;
    emit closed();
    emit deviceLost(message);
}

qint64 TComm::queuedOutput() const {
    qint64 queued = port_->bytesToWrite();
    int inDriver = 0;
    if (port_->handle() >= 0 && ::ioctl(port_->handle(), TIOCOUTQ, &inDriver) == 0 && inDriver > 0)
        queued += inDriver;
    return queued;
}

void TComm::intake() {
    if (!port_->isOpen())
        return;
    const QByteArray bytes = port_->readAll();
    if (bytes.isEmpty())
        return;
    if (settings_.flow != FlowControl::fcSoftware) {
        inbox_ += bytes;
        return;
    }
    // XON and XOFF are the machine's word on the handshake, not data.
    for (const char c : bytes) {
        if (c == kXoff)
            xoff_ = true;
        else if (c == kXon)
            xoff_ = false;
        else
            inbox_ += c;
    }
}

void TComm::pollInput() {
    if (lost_ || !port_->isOpen())
        return;
    pollfd p{port_->handle(), POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && p.revents)
        port_->waitForReadyRead(0); // reads into the library's buffer (or finds the device gone)
    intake();
}

bool TComm::isHeld() {
    if (lost_ || !port_->isOpen())
        return false;
    intake();
    if (settings_.flow == FlowControl::fcSoftware)
        return xoff_;
    if (settings_.flow == FlowControl::fcCTS) {
        const int bits = modem_->get(port_->handle());
        return bits >= 0 && !(bits & TIOCM_CTS);
    }
    return false;
}

qint64 TComm::outputRoom() const {
    if (settings_.flow != FlowControl::fcSoftware)
        return std::numeric_limits<qint64>::max();
    // With the software handshake the driver is handed about 20 ms of line
    // time at once, so that an XOFF stops the machine's data soon.
    const qint64 limit = qMax<qint64>(64, settings_.baudRate / 10 / 50);
    return qMax<qint64>(0, limit - queuedOutput());
}

TComm::WriteResult TComm::write(const QByteArray &bytes, const WaitFn &waiting) {
    // Written straight to the device, past the serial library's own buffer:
    // what the device has taken is then exactly what was counted, and after
    // a timeout nothing of the block is left to trickle out later.
    WriteResult r;
    if (lost_ || !port_->isOpen()) {
        if (!lost_)
            error_ = QStringLiteral("Error %1 the port is not open in function: write").arg(int(QSerialPort::NotOpenError));
        r.failed = true;
        return r;
    }
    const int fd = port_->handle();
    qint64 done = 0;
    qint64 stalledMs = 0; // waited while the line was not held: at most writeTimeout_
    QElapsedTimer sinceAsked;
    sinceAsked.start();
    bool held = false;
    const auto ask = [&](bool holding) {
        sinceAsked.restart();
        return !waiting || waiting(holding);
    };
    while (done < bytes.size()) {
        pollInput();
        if (lost_) {
            r.written = done;
            r.failed = true;
            return r;
        }
        if (isHeld()) {
            // The machine holds the line: wait as long as it holds it.
            held = true;
            if (!ask(true)) {
                r.cancelled = true;
                break;
            }
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, 50);
            continue;
        }
        if (held) {
            held = false;
            if (!ask(false)) {
                r.cancelled = true;
                break;
            }
        }
        const qint64 room = qMin<qint64>(bytes.size() - done, outputRoom());
        if (room > 0) {
            const ssize_t n = ::write(fd, bytes.constData() + done, size_t(room));
            if (n > 0) {
                done += n;
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
                const int e = errno;
                markFailed(e, QString::fromLocal8Bit(std::strerror(e)), "write");
                r.written = done;
                r.failed = true;
                return r;
            }
        }
        // The device takes nothing now.
        if (stalledMs >= writeTimeout_)
            break;
        if (waiting && sinceAsked.elapsed() >= 50 && !ask(false)) {
            r.cancelled = true;
            break;
        }
        const qint64 queued = queuedOutput();
        QElapsedTimer slice;
        slice.start();
        pollfd p{fd, short(room > 0 ? POLLOUT | POLLIN : POLLIN), 0};
        const int wait = int(qBound<qint64>(qint64(1), writeTimeout_ - stalledMs, qint64(room > 0 ? 50 : 5)));
        if (::poll(&p, 1, wait) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
            markFailed(EIO, QStringLiteral("the device hung up"), "write");
            r.written = done;
            r.failed = true;
            return r;
        }
        // A queue the line keeps draining is progress, not a stall.
        if (room > 0 || queuedOutput() >= queued)
            stalledMs += qMax<qint64>(1, slice.elapsed());
    }
    r.written = done;
    r.timedOut = done < bytes.size() && !r.cancelled;
    return r;
}

bool TComm::waitForSent(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!lost_ && port_->isOpen()) {
        if (port_->bytesToWrite() > 0)
            port_->waitForBytesWritten(10);
        if (queuedOutput() == 0)
            return true;
        if (timer.elapsed() >= ms)
            return false;
        if (port_->bytesToWrite() == 0)
            QThread::msleep(5);
    }
    return false;
}

QByteArray TComm::read(qint64 count) {
    intake();
    QByteArray out = inbox_.left(count);
    inbox_.remove(0, out.size());
    return out;
}

qint64 TComm::bytesAvailable() {
    intake();
    return inbox_.size();
}

bool TComm::waitForInput(int ms) {
    intake();
    if (!inbox_.isEmpty())
        return true;
    if (lost_ || !port_->isOpen())
        return false;
    port_->waitForReadyRead(ms);
    intake();
    return !inbox_.isEmpty();
}

} // namespace velmora::comm
