#include "templates/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installTemplates(Host &host) { (void)host; }

} // namespace velmora
