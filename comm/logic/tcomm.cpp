#include "comm/logic/tcomm.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <sys/stat.h>

namespace velmora::comm {

namespace {

QString devicePath(const QString &name) {
    return name.contains(u'/') ? name : QStringLiteral("/dev/") + name;
}

bool fatal(QSerialPort::SerialPortError e) {
    return e == QSerialPort::ResourceError || e == QSerialPort::ReadError || e == QSerialPort::WriteError;
}

} // namespace

TComm::TComm(QObject *parent) : QObject(parent), port_(std::make_unique<QSerialPort>()) {
    connect(port_.get(), &QSerialPort::readyRead, this, [this] {
        if (port_->isOpen() && port_->bytesAvailable() > 0)
            emit rxChar(int(qMin<qint64>(port_->bytesAvailable(), INT_MAX)));
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
    if (!previous || previous->flow != s.flow) {
        QSerialPort::FlowControl f = QSerialPort::NoFlowControl;
        switch (s.flow) {
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
            return fail(port_->error(), QStringLiteral("the flow control is refused by %1: %2").arg(dev, port_->errorString()),
                        "setFlowControl");
    }
    return true;
}

bool TComm::open() {
    if (isOpen())
        return true;
    error_.clear();
    lost_ = false;
    stash_.clear();
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
        stash_ += port_->readAll();
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

TComm::WriteResult TComm::write(const QByteArray &bytes) {
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
    QElapsedTimer timer;
    timer.start();
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
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
        const qint64 left = writeTimeout_ - timer.elapsed();
        if (left <= 0)
            break;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, int(left)) > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) && !(p.revents & POLLOUT)) {
            markFailed(EIO, QStringLiteral("the device hung up"), "write");
            r.written = done;
            r.failed = true;
            return r;
        }
    }
    r.written = done;
    r.timedOut = done < bytes.size();
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
    QByteArray out = stash_.left(count);
    stash_.remove(0, out.size());
    if (out.size() < count && port_->isOpen())
        out += port_->read(count - out.size());
    return out;
}

qint64 TComm::bytesAvailable() const { return stash_.size() + (port_->isOpen() ? port_->bytesAvailable() : 0); }

bool TComm::waitForInput(int ms) {
    if (lost_ || !port_->isOpen())
        return false;
    if (port_->bytesAvailable() > 0)
        return true;
    return port_->waitForReadyRead(ms);
}

} // namespace velmora::comm
