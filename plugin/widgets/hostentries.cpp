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

// The active document's text as GetText hands it out; owned by the host and
// refilled by every GetText.
plugin::OwnedLineList &sharedText() {
    static plugin::OwnedLineList list;
    return list;
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
    QList<QByteArray> bytes;
    int badLine = -1;
    QChar badChar;
    if (!plugin::encodeLines(doc->lines(), bytes, &badLine, &badChar)) {
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
    sharedText().setLines(bytes);
    return sharedText().list();
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
