#include "tests/comm/ptypair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace velmora::test {

PtyPair::PtyPair() {
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty()) {
        error_ = QStringLiteral("socat is not installed (the serial tests need it as their peer; run dev.sh "
                                "or apt-get install socat)");
        return;
    }
    socat_.setProgram(socat);
    socat_.setArguments({QStringLiteral("pty,raw,echo=0,link=%1").arg(ours()),
                         QStringLiteral("pty,raw,echo=0,link=%1").arg(peer())});
    socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // socat ends with the test, even when the test crashes.
    socat_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    socat_.start();
    if (!socat_.waitForStarted(5000)) {
        error_ = QStringLiteral("socat did not start: %1").arg(socat_.errorString());
        return;
    }
    QElapsedTimer t;
    t.start();
    while (!(QFileInfo::exists(ours()) && QFileInfo::exists(peer()))) {
        if (t.elapsed() > 5000 || socat_.state() != QProcess::Running) {
            error_ = QStringLiteral("socat made no pseudo-terminal pair within 5 s");
            return;
        }
        QThread::msleep(10);
    }
}

PtyPair::~PtyPair() { kill(); }

void PtyPair::kill() {
    if (socat_.state() != QProcess::NotRunning) {
        socat_.kill();
        socat_.waitForFinished(5000);
    }
}

Peer::Peer(const QString &path) {
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return;
    termios t{};
    if (::tcgetattr(fd_, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(fd_, TCSANOW, &t);
    }
}

Peer::~Peer() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool Peer::write(const QByteArray &bytes) {
    qsizetype done = 0;
    QElapsedTimer t;
    t.start();
    while (done < bytes.size() && t.elapsed() < 5000) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else
            QThread::msleep(2);
    }
    return done == bytes.size();
}

QByteArray Peer::read(qsizetype count, int quietMs, int maxMs) {
    QByteArray out;
    QElapsedTimer all, quiet;
    all.start();
    quiet.start();
    while ((count < 0 || out.size() < count) && all.elapsed() < maxMs &&
           (out.isEmpty() || quiet.elapsed() < quietMs)) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buf[4096];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, n);
                quiet.restart();
            }
        }
    }
    return out;
}

bool waitUntil(const std::function<bool()> &done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

} // namespace velmora::test
