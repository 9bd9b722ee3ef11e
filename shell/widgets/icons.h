#pragma once
// Pictures of the toolbar buttons.
#include <QIcon>
#include <QString>

namespace velmora {

// The picture of a command, by its name; a null icon for commands without one.
QIcon commandIcon(const QString &name);

} // namespace velmora
