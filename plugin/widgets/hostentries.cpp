#include "plugin/widgets/hostentries.h"

#include "common/codec.h"
#include "plugin/logic/linelist.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <QMainWindow>
#include <QPointer>

namespace velmora {
namespace {

QPointer<Host> &liveHost() {
    static QPointer<Host> host;
    return host;
}

// The active document's text as GetText hands it out: the live document, each
// line encoded when it is asked for, so that a long program is not copied to be
// read. A plug-in only reads it; clearing or appending to it changes nothing.
class LiveText {
public:
    LiveText() : list_{&ops_, this} {}
    VelmoraLineList *hand(Document *doc) {
        doc_ = doc;
        return &list_;
    }

private:
    static LiveText *self(const VelmoraLineList *l) { return static_cast<LiveText *>(l->owner); }
    static int32_t count(const VelmoraLineList *l) {
        const LiveText *t = self(l);
        return t->doc_ ? int32_t(t->doc_->lineCount()) : 0;
    }
    static const char *line(const VelmoraLineList *l, int32_t index, int32_t *length) {
        LiveText *t = self(l);
        if (!t->doc_ || index < 0 || index >= t->doc_->lineCount())
            return nullptr;
        if (!encodeCp1250(t->doc_->line(index), t->bytes_))
            t->bytes_.clear(); // GetText checked every line; an edit since then is not handed out
        if (length)
            *length = int32_t(t->bytes_.size());
        return t->bytes_.constData();
    }
    static void clear(VelmoraLineList *) {}
    static void appendAll(VelmoraLineList *, const VelmoraLineList *) {}
    static const VelmoraLineListOps ops_;
    VelmoraLineList list_;
    QPointer<Document> doc_;
    QByteArray bytes_;
};
const VelmoraLineListOps LiveText::ops_ = {&LiveText::count, &LiveText::line, &LiveText::clear, &LiveText::appendAll};

LiveText &sharedText() {
    static LiveText text;
    return text;
}

bool &callBackMark() {
    static bool mark = false;
    return mark;
}

} // namespace

void setPluginHost(Host *host) { liveHost() = host; }
Host *pluginHost() { return liveHost().data(); }
bool pluginCallBackRegistered() { return callBackMark(); }

} // namespace velmora

using namespace velmora;

extern "C" VELMORA_EXPORT VelmoraLineList *GetText(void) {
    Host *host = pluginHost();
    if (!host)
        return nullptr;
    // Without a document the user is told so and the window stays as it is.
    Document *doc = host->requireDocument();
    if (!doc)
        return nullptr;
    int badLine = -1;
    QChar badChar;
    const int n = doc->lineCount();
    for (int i = 0; i < n && badLine < 0; ++i) {
        const QString line = doc->line(i);
        for (const QChar c : line)
            if (!isCp1250(c)) {
                badLine = i;
                badChar = c;
                break;
            }
    }
    if (badLine >= 0) {
        // Never hand the plug-in a silently altered text.
        host->userIO().error(QStringLiteral("Řádek %1 obsahuje znak \"%2\" (U+%3), který kódování Windows-1250 "
                                            "neumí uložit; text nelze předat modulu.")
                                 .arg(badLine + 1)
                                 .arg(badChar)
                                 .arg(badChar.unicode(), 4, 16, QLatin1Char('0')));
        return nullptr;
    }
    if (QMainWindow *w = host->mainWindow())
        w->setWindowState((w->windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen)) | Qt::WindowMinimized);
    return sharedText().hand(doc);
}

extern "C" VELMORA_EXPORT void SetText(const VelmoraLineList *lines) {
    Host *host = pluginHost();
    if (!host)
        return;
    if (Document *doc = host->activeDocument()) {
        // Copy first: `lines` may be the very list GetText handed out.
        const QStringList text = plugin::decodeLines(lines);
        doc->rewriteLines(text); // one undo step
        doc->setModified(true);  // also when nothing changed
        host->updateStatusBar();
    }
    if (QMainWindow *w = host->mainWindow())
        w->setWindowState((w->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) | Qt::WindowMaximized);
}

extern "C" VELMORA_EXPORT void RegisterCallBack(void) {
    callBackMark() = true;
    if (Host *host = pluginHost())
        if (QMainWindow *w = host->mainWindow())
            w->setProperty("PluginCallBack", true);
}
