#pragma once
namespace velmora {
class Host;
class NcTextCommands;
// Creates this subsystem's windows and connects its commands to the main window.
// Returns the commands object (owned by the main window).
NcTextCommands *installNcText(Host &host);
} // namespace velmora
