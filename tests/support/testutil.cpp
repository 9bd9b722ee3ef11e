#include "tests/support/testutil.h"

#include "common/programfolder.h"
#include "common/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace velmora::test {

#ifndef VELMORA_PROGRAM_DIR
#define VELMORA_PROGRAM_DIR ""
#endif

ScratchFolder::ScratchFolder(bool withProgramData) : dir_(std::make_unique<QTemporaryDir>()) {
    if (withProgramData) {
        const QString src = QStringLiteral(VELMORA_PROGRAM_DIR);
        QDirIterator it(src, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            const QString rel = QDir(src).relativeFilePath(f);
            if (rel == QLatin1String("SetupCNC.ini"))
                continue;
            QDir().mkpath(QFileInfo(dir_->filePath(rel)).path());
            QFile::copy(f, dir_->filePath(rel));
        }
    }
    setProgramFolder(dir_->path());
}

ScratchFolder::~ScratchFolder() { setProgramFolder(QString()); }

QString ScratchFolder::path() const { return dir_->path() + QLatin1Char('/'); }

QString ScratchFolder::file(const QString &name) const { return dir_->filePath(name); }

void ScratchFolder::write(const QString &name, const QByteArray &bytes) const {
    QDir().mkpath(QFileInfo(file(name)).path());
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray ScratchFolder::read(const QString &name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray cp1250Lines(const QStringList &lines) {
    QByteArray out;
    encodeLines(lines, out);
    return out;
}

} // namespace velmora::test
