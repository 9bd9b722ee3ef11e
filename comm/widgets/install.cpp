#include "comm/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installComm(Host &host) { (void)host; }

} // namespace velmora
