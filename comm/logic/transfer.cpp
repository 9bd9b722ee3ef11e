#include "comm/logic/transfer.h"

#include "common/codec.h"

namespace velmora::comm {

QByteArray lineEndBytes(const QString &endLine) {
    const QString e = matchEntry(endLineEntries(), endLine);
    if (e == QLatin1String("CR/LF"))
        return QByteArrayLiteral("\r\n");
    if (e == QLatin1String("LF"))
        return QByteArrayLiteral("\n");
    if (e == QLatin1String("CR"))
        return QByteArrayLiteral("\r");
    if (e == QLatin1String("LF/CR CR"))
        return QByteArrayLiteral("\n\r\r");
    if (e == QLatin1String("LF/CR"))
        return QByteArrayLiteral("\n\r");
    return QByteArray();
}

std::optional<char> receiveTerminator(const QString &endLine) {
    const QString e = matchEntry(endLineEntries(), endLine);
    if (e.isEmpty())
        return std::nullopt;
    return e == QLatin1String("LF") ? '\n' : '\r';
}

bool makeSendPlan(const QStringList &lines, const MachineSettings &m, SendPlan &plan, QString *error) {
    plan = SendPlan();
    const QByteArray end = lineEndBytes(m.endLine);
    plan.lines.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray bytes;
        qsizetype bad = -1;
        if (!encodeCp1250(lines.at(i), bytes, &bad)) {
            if (error)
                *error = QStringLiteral("line %1, column %2: the character '%3' cannot be sent (it has no Windows-1250 code)")
                             .arg(i + 1)
                             .arg(bad + 1)
                             .arg(lines.at(i).at(bad));
            plan = SendPlan();
            return false;
        }
        bytes += end;
        plan.lines << bytes;
    }
    if (m.chars) {
        plan.before = static_cast<char>(CharFromText(m.charBefore));
        plan.after = static_cast<char>(CharFromText(m.charAfter));
    }
    return true;
}

SendResult sendPlan(const SendPlan &plan, const WriteFn &write, const SendControl &control) {
    SendResult r;
    r.lineCount = int(plan.lines.size());
    auto writeAll = [&](const QByteArray &bytes) {
        QString err;
        const qint64 n = write(bytes, err);
        if (n == kWriteCancelled) {
            r.cancelled = true;
            return false;
        }
        if (n < 0) {
            r.error = err.isEmpty() ? QStringLiteral("write failed") : err;
            return false;
        }
        if (n < bytes.size()) {
            r.timedOut = true;
            return false;
        }
        return true;
    };
    if (plan.before && !writeAll(QByteArray(1, *plan.before)))
        return r;
    for (const QByteArray &line : plan.lines) {
        if (control.cancelled && control.cancelled()) {
            r.cancelled = true;
            break;
        }
        if (!writeAll(line))
            break;
        ++r.linesSent;
        if (control.progress)
            control.progress(r.linesSent);
    }
    if (r.error.isEmpty() && !r.cancelled && plan.after)
        writeAll(QByteArray(1, *plan.after));
    return r;
}

QList<ReceiveEvent> Receiver::feed(const QByteArray &bytes, std::optional<char> terminator) {
    QList<ReceiveEvent> out;
    if (!terminator)
        return out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == *terminator) {
            out.append({ReceiveEvent::Line, pending_});
            pending_.clear();
        } else if (u >= 32 && u <= 127) {
            pending_ += QChar(u);
        } else if (u == 3) {
            out.append({ReceiveEvent::EndOfText, QString()});
        }
    }
    return out;
}

QString Receiver::takePending() {
    QString p = pending_;
    pending_.clear();
    return p;
}

} // namespace velmora::comm
