#include "simulator/logic/simsettings.h"

#include "common/ini.h"
#include "common/programfolder.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::sim {

namespace {

const QString kSection = QStringLiteral("Heidenhain");

SimdraSettings readSettings(const QString &path, ColorValue currentLineDefault) {
    const IniFile ini(path);
    SimdraSettings s;
    auto colour = [&](const char *key, ColorValue def) {
        return colorOr(ini.readString(kSection, QLatin1String(key), colorToString(def)), def);
    };
    s.background = colour("Background", clGray);
    s.leftComp = colour("LeftComp", clRed);
    s.rightComp = colour("RightComp", clYellow);
    s.noneComp = colour("NoneComp", clBlue);
    s.rapid = colour("Rapid", clWhite);
    s.currentLine = colour("CurentLine", currentLineDefault);
    s.rapidMachine = ini.readString(kSection, QStringLiteral("RapidMaschine"), QStringLiteral("10000"));
    s.toolChange = ini.readString(kSection, QStringLiteral("ToolChange"), QStringLiteral("0,5"));
    return s;
}

} // namespace

SimdraSettings SimdraSettings::forWindow(const QString &iniPath) { return readSettings(iniPath, clYellow); }

SimdraSettings SimdraSettings::forDialog(const QString &iniPath) { return readSettings(iniPath, clWhite); }

bool SimdraSettings::write(const QString &iniPath, QString *error) const {
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    IniFile ini(iniPath);
    const std::pair<const char *, QString> keys[] = {
        {"Background", colorToString(background)}, {"LeftComp", colorToString(leftComp)},
        {"RightComp", colorToString(rightComp)},   {"NoneComp", colorToString(noneComp)},
        {"Rapid", colorToString(rapid)},           {"RapidMaschine", rapidMachine},
        {"ToolChange", toolChange},                {"CurentLine", colorToString(currentLine)},
    };
    for (const auto &k : keys)
        if (!ini.writeString(kSection, QLatin1String(k.first), k.second)) {
            if (error)
                *error = ini.lastError();
            return false;
        }
    return true;
}

QString simdraIniPath() { return programFile(QStringLiteral("Plugin/Simdra.ini")); }

} // namespace velmora::sim
