#include "tooltables/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installToolTables(Host &host) { (void)host; }

} // namespace velmora
