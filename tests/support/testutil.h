#pragma once
// Small helpers shared by the tests.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace velmora::test {

// A scratch program folder: a temporary directory set as the program folder for
// the lifetime of the object, optionally filled with a copy of the built program folder's data.
class ScratchFolder {
public:
    explicit ScratchFolder(bool withProgramData = false);
    ~ScratchFolder();
    QString path() const;                 // with a trailing "/"
    QString file(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    std::unique_ptr<QTemporaryDir> dir_;
};

// Text as Windows-1250 bytes with CR LF after each line.
QByteArray cp1250Lines(const QStringList &lines);

} // namespace velmora::test
