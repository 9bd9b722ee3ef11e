#pragma once
// The settings the calculators read from SetupCNC.ini, each call reading the file afresh.
#include "common/colour.h"

#include <QString>

namespace velmora::calc {

// Section "Geometrie": preview colours and the automatic recalculation of the trees.
struct GeometrySettings {
    ColorValue background = clSilver; // "Podklad"
    ColorValue pitch = clRed;         // "RKruznice": the dashed pitch circle
    ColorValue hole = clBlue;         // "Kruznice": the hole circles
    bool autoRecalc = false;          // "Auto"
};
GeometrySettings readGeometrySettings();

// Decimals of the hole coordinates of the circle and line windows: 2, 3 or 4,
// the "Zaokrouhlení" choice of the settings dialog. The choice lives while the
// program runs and is never stored: every run starts with 3.
int geometryDecimals();
// Values other than 2, 3 and 4 leave the choice as it is.
void setGeometryDecimals(int decimals);

// The block prefix: key "EnterText" of section "Editor", default "N1 ", which
// the reading rule turns into "N1".
QString blockPrefix();

// The folder the geometry file dialogs start in: key "Geometrie" of section
// "Adresar" when it names an existing folder, else the user's home folder.
QString geometryFolder();

} // namespace velmora::calc
