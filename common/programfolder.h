#pragma once
// The program folder: the folder of the executable, holding every file the
// program reads and writes. File names inside it are matched without regard
// to letter case.
#include <QString>

namespace velmora {

// The program folder with a trailing separator. Defaults to the folder of the
// running executable; tests and tools may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString &folder);

// Finds `relative` (with "/" or "\" separators) below `base`, each component
// matched without regard to letter case. Returns the existing path, or, when
// nothing matches, base + relative with "/" separators.
QString findFileNoCase(const QString &base, const QString &relative);

// findFileNoCase in the program folder.
QString programFile(const QString &relative);

// The folder a stored folder setting stands for on this system: the folder
// itself when it exists, otherwise (a drive such as the default "c:\" of a
// fresh settings file, or a folder that is not there) the user's home folder.
QString localFolder(const QString &stored);

// Path of SetupCNC.ini in the program folder.
QString setupIniPath();

} // namespace velmora
