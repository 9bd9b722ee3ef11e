#include "nctext/widgets/lexers.h"

namespace velmora {

void installHighlighting(Host &) {}

} // namespace velmora
