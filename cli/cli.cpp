#include "cli/cli.h"

#include "common/codec.h"
#include "common/numbers.h"
#include "common/textfile.h"

#include <cstdio>

namespace velmora::cli {

namespace {
bool g_utf8 = false;
}

std::map<QString, Command> &registry() {
    static std::map<QString, Command> r;
    return r;
}

Options::Options(const QStringList &args, const QStringList &flags) {
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
            QString name = a.mid(2);
            const qsizetype eq = name.indexOf(QLatin1Char('='));
            if (eq >= 0) {
                values_[name.left(eq)] = name.mid(eq + 1);
                continue;
            }
            if (flags.contains(name)) {
                values_[name] = QStringLiteral("1");
                continue;
            }
            if (i + 1 >= args.size())
                throw UsageError{QStringLiteral("option --%1 needs a value").arg(name)};
            values_[name] = args[++i];
        } else if (a == QLatin1String("-o")) {
            if (i + 1 >= args.size())
                throw UsageError{QStringLiteral("option -o needs a file name")};
            values_[QStringLiteral("o")] = args[++i];
        } else {
            positional_.append(a);
        }
    }
}

bool Options::has(const QString &name) const { return values_.count(name) != 0; }

QString Options::value(const QString &name, const QString &def) const {
    auto it = values_.find(name);
    return it == values_.end() ? def : it->second;
}

double Options::number(const QString &name, double def) const {
    if (!has(name))
        return def;
    double v;
    if (!tryParseFloatAnyMark(value(name), v))
        throw UsageError{QStringLiteral("--%1: '%2' is not a valid floating point value").arg(name, value(name))};
    return v;
}

int Options::integer(const QString &name, int def) const {
    if (!has(name))
        return def;
    int v;
    if (!tryParseInteger(value(name), v))
        throw UsageError{QStringLiteral("--%1: '%2' is not a valid integer value").arg(name, value(name))};
    return v;
}

QStringList Options::names() const {
    QStringList out;
    for (const auto &kv : values_)
        out.append(kv.first);
    return out;
}

bool utf8Output() { return g_utf8; }
void setUtf8Output(bool on) { g_utf8 = on; }

void writeRaw(const QByteArray &bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void writeLines(const QStringList &lines) {
    if (g_utf8) {
        QByteArray out;
        for (const QString &l : lines) {
            out += l.toUtf8();
            out += '\n';
        }
        writeRaw(out);
        return;
    }
    QByteArray out;
    const SaveResult r = encodeLines(lines, out);
    if (!r.ok)
        throw UsageError{QStringLiteral("output %1").arg(r.error)};
    writeRaw(out);
}

void writeText(const QString &text) {
    if (g_utf8) {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        writeRaw(t.toUtf8());
        return;
    }
    QByteArray out;
    qsizetype bad = -1;
    if (!encodeCp1250(text, out, &bad))
        throw UsageError{QStringLiteral("output holds the character \"%1\", which Windows-1250 cannot store").arg(text.at(bad))};
    writeRaw(out);
}

void writeError(const QString &message) {
    const QByteArray b = message.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

QStringList readProgram(const QString &path) {
    const LoadResult r = loadTextFile(path);
    if (!r.ok)
        throw UsageError{QStringLiteral("%1: cannot read: %2").arg(path, r.error)};
    return r.lines;
}

void writeProgram(const QString &path, const QStringList &lines) {
    const SaveResult r = saveTextFile(path, lines);
    if (!r.ok)
        throw UsageError{QStringLiteral("%1: cannot write: %2").arg(path, r.error)};
}

} // namespace velmora::cli
