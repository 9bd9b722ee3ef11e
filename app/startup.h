#pragma once
namespace velmora {
// Starts the program in its start-up order and runs the event loop.
int runVelmora(int argc, char **argv);
} // namespace velmora
