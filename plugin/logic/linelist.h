#pragma once
// Line lists for the plug-in boundary: a list owned by this side, and the
// readers that copy a list owned by the other side.
#include "plugin/velmora_plugin.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora::plugin {

// A line list that owns its lines (Windows-1250 bytes). Hand `list()` to the
// other side; it stays valid as long as this object lives.
class OwnedLineList {
public:
    OwnedLineList();
    OwnedLineList(const OwnedLineList &) = delete;
    OwnedLineList &operator=(const OwnedLineList &) = delete;

    VelmoraLineList *list() { return &list_; }
    const VelmoraLineList *list() const { return &list_; }

    const QList<QByteArray> &lines() const { return lines_; }
    void setLines(const QList<QByteArray> &lines) { lines_ = lines; }
    void append(const QByteArray &line) { lines_.append(line); }
    void clear() { lines_.clear(); }

private:
    static const VelmoraLineListOps ops_;
    VelmoraLineList list_;
    QList<QByteArray> lines_;
};

// Copies every line of a list through its operations (either side's list).
// A null list or a list without operations gives no lines.
QList<QByteArray> copyLines(const VelmoraLineList *list);

// The same lines decoded from Windows-1250 (lossless for every byte).
QStringList decodeLines(const VelmoraLineList *list);

// Encodes lines as Windows-1250. Returns false when a character has no byte
// in the code page; *badLine (0-based) and *badChar then name it.
bool encodeLines(const QStringList &lines, QList<QByteArray> &out, int *badLine = nullptr, QChar *badChar = nullptr);

} // namespace velmora::plugin
