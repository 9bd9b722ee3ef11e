// Build-time helper that assembles the program folder's data files.
//   vdata convert IN OUT        UTF-8 text (any line ends) -> Windows-1250 with CR LF
//   vdata merge OUT IN...       INI fragments (UTF-8) merged into one Windows-1250 file;
//                               sections of the same name are joined in the order they first appear
#include "common/codec.h"
#include "common/textfile.h"

#include <QFile>
#include <QStringList>
#include <cstdio>

using namespace velmora;

static bool readUtf8Lines(const QString &path, QStringList &lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vdata: cannot read %s\n", qPrintable(path));
        return false;
    }
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    lines = splitLines(QString::fromUtf8(bytes));
    return true;
}

static bool write(const QString &path, const QStringList &lines) {
    const SaveResult r = saveTextFile(path, lines);
    if (!r.ok)
        std::fprintf(stderr, "vdata: %s: %s\n", qPrintable(path), qPrintable(r.error));
    return r.ok;
}

int main(int argc, char **argv) {
    if (argc >= 4 && QByteArray(argv[1]) == "convert") {
        QStringList lines;
        if (!readUtf8Lines(QString::fromLocal8Bit(argv[2]), lines))
            return 2;
        return write(QString::fromLocal8Bit(argv[3]), lines) ? 0 : 2;
    }
    if (argc >= 4 && QByteArray(argv[1]) == "merge") {
        QStringList order;
        QList<QStringList> bodies;
        QStringList preamble;
        for (int i = 3; i < argc; ++i) {
            QStringList lines;
            if (!readUtf8Lines(QString::fromLocal8Bit(argv[i]), lines))
                return 2;
            int cur = -1;
            for (const QString &l : lines) {
                const QString t = l.trimmed();
                if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
                    const QString name = t.mid(1, t.size() - 2).trimmed();
                    cur = -1;
                    for (int k = 0; k < order.size(); ++k)
                        if (order[k].compare(name, Qt::CaseInsensitive) == 0)
                            cur = k;
                    if (cur < 0) {
                        order.append(name);
                        bodies.append(QStringList());
                        cur = int(order.size()) - 1;
                    }
                    continue;
                }
                if (t.isEmpty())
                    continue;
                if (cur < 0)
                    preamble.append(l);
                else
                    bodies[cur].append(l);
            }
        }
        QStringList out = preamble;
        for (int k = 0; k < order.size(); ++k) {
            if (!out.isEmpty())
                out.append(QString());
            out.append(QLatin1Char('[') + order[k] + QLatin1Char(']'));
            out += bodies[k];
        }
        return write(QString::fromLocal8Bit(argv[2]), out) ? 0 : 2;
    }
    std::fprintf(stderr, "usage: vdata convert IN OUT | vdata merge OUT IN...\n");
    return 2;
}
