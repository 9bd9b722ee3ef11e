#include "calculators/logic/settings.h"

#include "common/ini.h"
#include "common/programfolder.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::calc {

GeometrySettings readGeometrySettings() {
    const IniFile ini(setupIniPath());
    const QString s = QStringLiteral("Geometrie");
    GeometrySettings g;
    g.background = colorOr(ini.readString(s, QStringLiteral("Podklad"), QStringLiteral("clSilver")), clSilver);
    g.pitch = colorOr(ini.readString(s, QStringLiteral("RKruznice"), QStringLiteral("clRed")), clRed);
    g.hole = colorOr(ini.readString(s, QStringLiteral("Kruznice"), QStringLiteral("clBlue")), clBlue);
    g.autoRecalc = ini.readBool(s, QStringLiteral("Auto"), false);
    return g;
}

namespace {
int &decimalsChoice() {
    static int d = 3;
    return d;
}
} // namespace

int geometryDecimals() { return decimalsChoice(); }

void setGeometryDecimals(int decimals) {
    if (decimals >= 2 && decimals <= 4)
        decimalsChoice() = decimals;
}

QString blockPrefix() {
    return IniFile(setupIniPath()).readString(QStringLiteral("Editor"), QStringLiteral("EnterText"), QStringLiteral("N1 "));
}

QString geometryFolder() {
    return localFolder(
        IniFile(setupIniPath()).readString(QStringLiteral("Adresar"), QStringLiteral("Geometrie"), QStringLiteral("c:\\")));
}

} // namespace velmora::calc
