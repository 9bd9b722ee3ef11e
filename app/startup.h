#pragma once
namespace velmora {
// Starts the program: splash window, main window, subsystems, language, event loop.
int runVelmora(int argc, char **argv);
} // namespace velmora
