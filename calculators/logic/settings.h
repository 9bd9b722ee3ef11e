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

// Decimals of the hole coordinates: 2, 3 or 4. Key "Zaokrouhleni" of section
// "Geometrie" when it holds one of these, else 3 (the settings dialog's default).
int geometryDecimals();

// The block prefix: key "EnterText" of section "Editor", default "N1 ", which
// the reading rule turns into "N1".
QString blockPrefix();

// The folder the geometry file dialogs start in: key "Geometrie" of section
// "Adresar" when it names an existing folder, else the user's home folder.
QString geometryFolder();

} // namespace velmora::calc
