#include "nctext/widgets/install.h"

#include "shell/widgets/host.h"

namespace velmora {

void installNcText(Host &host) { (void)host; }

} // namespace velmora
