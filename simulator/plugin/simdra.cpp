// The Simdra plug-in: its three entries and the simulation call that the host's
// menu item "Simulace Heidenhain 407 ISO" runs.
#include "plugin/logic/linelist.h"
#include "plugin/velmora_plugin.h"
#include "shell/widgets/qtuserio.h"
#include "simulator/logic/simsettings.h"
#include "simulator/widgets/simdialogs.h"
#include "simulator/widgets/tform1.h"

#include "common/codec.h"

#include <QApplication>
#include <dlfcn.h>
#include <malloc.h>
#include <memory>

using namespace velmora;
using namespace velmora::sim;

namespace {

void *g_hostModule = nullptr;
VelmoraRegistration g_registration{1, nullptr};

// The interpreter's state and the Q values live as long as the library.
SimModule &moduleState() {
    static SimModule module;
    return module;
}

// One simulation call; false when any of its steps fails.
bool simulationCall() {
    plugin::OwnedLineList lines;
    auto getText = reinterpret_cast<VelmoraGetTextFn>(g_hostModule ? dlsym(g_hostModule, VELMORA_ENTRY_GET_TEXT) : nullptr);
    if (!getText)
        return false;
    const VelmoraLineList *document = getText();
    if (!document || !document->ops)
        return false;

    QtUserIO io;
    const QString ini = simdraIniPath();
    // The windows, made in this order and destroyed in the same order.
    auto form = std::make_unique<TForm1>(moduleState(), io, ini);
    io.setParent(form.get());
    // The dialogs have no parent window, so that each is destroyed in its turn.
    auto setup = std::make_unique<TFSetup>();
    setup->readSettings(ini);
    auto info = std::make_unique<TFInfo>(io);
    auto help = std::make_unique<TFHelp>();
    form->setDialogs(setup.get(), info.get(), help.get());
    // The document's lines go into the editor one at a time, straight from the host's
    // list (valid during this call): a long program is not copied once more on the way.
    const auto *ops = document->ops;
    form->setProgram(ops->count(document), [&](int i) {
        int32_t length = 0;
        const char *bytes = ops->line(document, i, &length);
        return decodeCp1250(QByteArrayView(bytes, bytes ? length : 0));
    });
    malloc_trim(0);
    form->showModal();
    form->releasePath();
    malloc_trim(0);

    QList<QByteArray> encoded;
    int badLine = -1;
    QChar badChar;
    const bool encodable = form->programCp1250(encoded, badLine, badChar);
    io.setParent(nullptr);
    form.reset();
    setup.reset();
    info.reset();
    help.reset();
    if (!encodable) {
        io.error(QStringLiteral("Řádek %1 programu obsahuje znak „%2“, který kódování Windows-1250 nemá; "
                                "program se do dokumentu nevrátí.")
                     .arg(badLine + 1)
                     .arg(badChar));
        return false;
    }
    lines.setLines(encoded);
    auto setText = reinterpret_cast<VelmoraSetTextFn>(dlsym(g_hostModule, VELMORA_ENTRY_SET_TEXT));
    if (!setText)
        return false;
    setText(lines.list());
    return true;
}

} // namespace

extern "C" {

VELMORA_EXPORT VelmoraRegistration *Initialize(void *hostModule) {
    g_hostModule = hostModule;
    // The library's own module is where its resources come from.
    Dl_info self{};
    if (dladdr(reinterpret_cast<void *>(&Initialize), &self) && self.dli_fname)
        g_registration.resourceModule = dlopen(self.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    return &g_registration;
}

VELMORA_EXPORT const char *RegisterProcs(int32_t index, int32_t kind) {
    if (index != 0)
        return nullptr;
    switch (kind) {
    case VELMORA_PROC_ENTRY: return "H407";
    case VELMORA_PROC_CAPTION:
    case VELMORA_PROC_HINT: return "Simulace Heidenhain 407 ISO";
    case VELMORA_PROC_VERSION: return "Version 1.0";
    case VELMORA_PROC_BITMAP: return "";
    default: return nullptr;
    }
}

VELMORA_EXPORT void H407(void) {
    bool ok = false;
    try {
        ok = simulationCall();
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        QtUserIO io;
        io.message(velmora::MessageKind::Information, QStringLiteral("Nelze spustit simulaci pro Heidenhain 407 ISO"), kOk,
                   QStringLiteral("Message from plugin"));
    }
}

} // extern "C"
