#pragma once
namespace velmora {
class Host;
// Creates this subsystem's windows and connects its commands to the main window.
void installComm(Host &host);
} // namespace velmora
