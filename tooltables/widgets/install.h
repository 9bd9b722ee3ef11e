#pragma once
#include <QString>
#include <functional>

namespace velmora {
class Host;
// Creates this subsystem's windows and connects its commands to the main window.
void installToolTables(Host &host);

// How the tool tables reach an open project (set by the project subsystem):
// a new table is saved at once and added to the project; a table the user saves
// renames the project entry that bore its previous name.
struct ToolTableProjectHooks {
    std::function<bool()> projectOpen;
    std::function<void(const QString &path)> addEntry;
    std::function<void(const QString &previousName, const QString &newPath)> renameEntry;
};
void setToolTableProjectHooks(ToolTableProjectHooks hooks);
} // namespace velmora
