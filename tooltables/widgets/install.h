#pragma once
namespace velmora {
class Host;
// Creates this subsystem's windows and connects its commands to the main window.
void installToolTables(Host &host);
} // namespace velmora
