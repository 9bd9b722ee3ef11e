#include "comm/widgets/install.h"

#include "comm/widgets/commpanel.h"
#include "shell/widgets/host.h"

namespace velmora {

void installComm(Host &host) {
    auto *panel = new comm::CommPanel(host, host.sourcePage(SourcePage::Rs232));
    // The port closes when the main window ends.
    host.addShutdownStep([panel] { panel->comm1().close(); });
}

} // namespace velmora
