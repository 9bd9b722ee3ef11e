#pragma once
// A real serial peer for the tests: a pseudo-terminal pair joined by socat,
// and the test's own end of it opened raw.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace velmora::test {

class PtyPair {
public:
    PtyPair();  // starts socat and waits (at most 5 s) for both ends
    ~PtyPair();
    bool ok() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    QString ours() const { return dir_.path() + QStringLiteral("/ours"); }  // for the code under test
    QString peer() const { return dir_.path() + QStringLiteral("/peer"); }  // for the test's peer
    void kill(); // the device vanishes

private:
    QTemporaryDir dir_;
    QProcess socat_;
    QString error_;
};

// The test's end of the line, opened raw and non-blocking.
class Peer {
public:
    explicit Peer(const QString &path);
    ~Peer();
    bool ok() const { return fd_ >= 0; }
    bool write(const QByteArray &bytes);
    // Reads until `count` bytes arrived, or until nothing more came for `quietMs`
    // after the last byte, at most `maxMs` in all.
    QByteArray read(qsizetype count = -1, int quietMs = 300, int maxMs = 5000);

private:
    int fd_ = -1;
};

// Runs the event loop until `done` holds, at most `ms`; returns `done()`.
bool waitUntil(const std::function<bool()> &done, int ms = 5000);

} // namespace velmora::test
