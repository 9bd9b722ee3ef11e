#include "plugin/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installPlugin(Host &host) { (void)host; }

} // namespace velmora
