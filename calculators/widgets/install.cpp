#include "calculators/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installCalculators(Host &host) { (void)host; }

} // namespace velmora
