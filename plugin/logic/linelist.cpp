#include "plugin/logic/linelist.h"

#include "common/codec.h"

namespace velmora::plugin {

namespace {

QList<QByteArray> &linesOf(const VelmoraLineList *list) {
    return *static_cast<QList<QByteArray> *>(list->owner);
}

int32_t ownedCount(const VelmoraLineList *list) { return int32_t(linesOf(list).size()); }

const char *ownedLine(const VelmoraLineList *list, int32_t index, int32_t *length) {
    const QList<QByteArray> &lines = linesOf(list);
    if (index < 0 || index >= lines.size()) {
        if (length)
            *length = 0;
        return nullptr;
    }
    if (length)
        *length = int32_t(lines[index].size());
    return lines[index].constData(); // QByteArray keeps a terminating zero
}

void ownedClear(VelmoraLineList *list) { linesOf(list).clear(); }

void ownedAppendAll(VelmoraLineList *list, const VelmoraLineList *source) {
    // Copy first: `source` may be this very list.
    const QList<QByteArray> copy = copyLines(source);
    linesOf(list).append(copy);
}

} // namespace

const VelmoraLineListOps OwnedLineList::ops_ = {ownedCount, ownedLine, ownedClear, ownedAppendAll};

OwnedLineList::OwnedLineList() {
    list_.ops = &ops_;
    list_.owner = &lines_;
}

QList<QByteArray> copyLines(const VelmoraLineList *list) {
    QList<QByteArray> out;
    if (!list || !list->ops || !list->ops->count || !list->ops->line)
        return out;
    const int32_t n = list->ops->count(list);
    if (n <= 0)
        return out;
    out.reserve(n);
    for (int32_t i = 0; i < n; ++i) {
        int32_t length = 0;
        const char *bytes = list->ops->line(list, i, &length);
        out.append(bytes && length > 0 ? QByteArray(bytes, length) : QByteArray());
    }
    return out;
}

QStringList decodeLines(const VelmoraLineList *list) {
    QStringList out;
    const QList<QByteArray> raw = copyLines(list);
    out.reserve(raw.size());
    for (const QByteArray &line : raw)
        out.append(decodeCp1250(line));
    return out;
}

bool encodeLines(const QStringList &lines, QList<QByteArray> &out, int *badLine, QChar *badChar) {
    out.clear();
    out.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        QByteArray bytes;
        qsizetype bad = -1;
        if (!encodeCp1250(lines[i], bytes, &bad)) {
            if (badLine)
                *badLine = i;
            if (badChar)
                *badChar = lines[i].at(bad);
            return false;
        }
        out.append(std::move(bytes));
    }
    return true;
}

} // namespace velmora::plugin
