#pragma once
// Pictures of the toolbar buttons.
#include <QColor>
#include <QIcon>
#include <QString>

namespace velmora {

// A rounded square in the colour of a command's group with a short sign on it.
QIcon badgeIcon(const QString &sign, const QColor &colour);

// The picture of a command, by its name; a null icon for commands without one.
QIcon commandIcon(const QString &name);

} // namespace velmora
