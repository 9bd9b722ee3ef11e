#pragma once
#include <QStringList>
#include <memory>

namespace velmora {

class TFEditor;
class UserIO;

// The start-up up to the event loop, in the program's order: the language in
// force, the splash window, the main window and what its creation loads, the
// files named on the command line, the other windows and the language texts.
// `io` answers every question (null: the Qt dialogs). The window is not shown yet.
std::unique_ptr<TFEditor> startVelmora(const QStringList &files, UserIO *io = nullptr);

// The program: a QApplication, the start-up and the event loop.
int runVelmora(int argc, char **argv);

} // namespace velmora
