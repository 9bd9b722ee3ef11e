#pragma once
// Host side of the external "Torvel 50" generator library.
#include <QString>
#include <QStringList>

namespace velmora::calc {

// dll/torvel.so in the program folder, found without regard to letter case.
QString torvelLibraryPath();

struct TorvelRun {
    enum Status { NotLoaded, MissingEntries, Done } status = NotLoaded;
    QStringList lines;
    QString loadError;
};

// Loads the library (it stays loaded), calls Showtorvel, then GetText, and
// copies the returned lines.
TorvelRun runTorvel(const QString &libraryPath);

// The message shown when the library cannot be loaded, the same whatever the language file.
QString torvelMissingText();

} // namespace velmora::calc
