#pragma once
// Plugin/Simdra.ini, section "Heidenhain": the simulator's colours, the rapid
// traverse rate and the tool change time. The window and its settings dialog
// read the file with different defaults for the current-line colour; the two
// decimal values stay texts and are converted (decimal comma) at every use.
#include "common/colour.h"

#include <QString>

namespace velmora::sim {

struct SimdraSettings {
    ColorValue background = clGray;
    ColorValue leftComp = clRed;
    ColorValue rightComp = clYellow;
    ColorValue noneComp = clBlue;
    ColorValue rapid = clWhite;
    ColorValue currentLine = clYellow;
    QString rapidMachine = QStringLiteral("10000");
    QString toolChange = QStringLiteral("0,5");

    // As the simulator window reads them ("CurentLine" yellow without a value).
    static SimdraSettings forWindow(const QString &iniPath);
    // As the settings dialog reads them ("CurentLine" white without a value).
    static SimdraSettings forDialog(const QString &iniPath);
    // Writes every key, one after the other in the order of the dialog;
    // false with a reason when the file cannot be written.
    bool write(const QString &iniPath, QString *error = nullptr) const;
};

// Path of Plugin/Simdra.ini in the program folder.
QString simdraIniPath();

} // namespace velmora::sim
