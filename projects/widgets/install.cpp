#include "projects/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installProjects(Host &host) { (void)host; }

} // namespace velmora
