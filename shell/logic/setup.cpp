#include "shell/logic/setup.h"

#include "common/programfolder.h"
#include "common/textfile.h"

#include <QRegularExpression>

namespace velmora {

namespace {
const QString kEditor = QStringLiteral("Editor");
}

IniFile setupIni() { return IniFile(setupIniPath()); }

EditorOptions readEditorOptions() {
    const IniFile ini = setupIni();
    EditorOptions o;
    o.cursor = ini.readInteger(kEditor, QStringLiteral("Cursor"), 0);
    o.tabInText = ini.readBool(kEditor, QStringLiteral("Tab"), false);
    o.tabWidth = ini.readInteger(kEditor, QStringLiteral("TabWidth"), 8);
    if (o.tabWidth < 1 || o.tabWidth > 64)
        o.tabWidth = 8;
    o.spacing = qBound(0, ini.readInteger(kEditor, QStringLiteral("Spacing"), 0), 40);
    o.dragDrop = ini.readBool(kEditor, QStringLiteral("DragDrop"), true);
    o.showInfoLine = ini.readBool(kEditor, QStringLiteral("ShowInfoLine"), true);
    o.trim = ini.readBool(kEditor, QStringLiteral("Trim"), true);
    o.fontSize = ini.readInteger(kEditor, QStringLiteral("VelikostPisma"), 10);
    if (o.fontSize < 4 || o.fontSize > 72)
        o.fontSize = 10;
    o.background = colorOr(ini.readString(QStringLiteral("Color"), QStringLiteral("Podklad"), QStringLiteral("clCream")), clCream);
    return o;
}

bool enterInsertsBlock() { return setupIni().readBool(kEditor, QStringLiteral("Enter"), false); }
bool upperCaseOnly() { return setupIni().readBool(kEditor, QStringLiteral("UpCase"), false); }
bool askBeforeOverwrite() { return setupIni().readBool(kEditor, QStringLiteral("Overwrite"), false); }
QString blockPrefix() { return setupIni().readString(kEditor, QStringLiteral("EnterText"), QStringLiteral("N1 ")); }
int defaultHighlighterChoice(int def) { return setupIni().readInteger(kEditor, QStringLiteral("Prirazeni"), def); }

QStringList workingFolderKeys() {
    return {QStringLiteral("OverProg"), QStringLiteral("NeoverProg"), QStringLiteral("TabulkyO"), QStringLiteral("TabulkyN"),
            QStringLiteral("PracAdr"),  QStringLiteral("Geometrie"),  QStringLiteral("Projekty")};
}

QStringList builtInFolderCaptions() {
    return {QStringLiteral("Ověřené programy"), QStringLiteral("Neověřené programy"), QStringLiteral("Tabulky nástrojů ověřené"),
            QStringLiteral("Tabulky nástrojů neověřené"), QStringLiteral("Pracovní adresář"), QStringLiteral("Geometrie"),
            QStringLiteral("Projekty")};
}

QStringList readWorkingFolders() {
    const IniFile ini = setupIni();
    QStringList out;
    for (const QString &k : workingFolderKeys())
        out << ini.readString(QStringLiteral("Adresar"), k, QStringLiteral("c:\\"));
    return out;
}

QStringList readFolderCaptions() {
    const IniFile ini = setupIni();
    const QStringList def = builtInFolderCaptions();
    QStringList out;
    for (int i = 0; i < kWorkingFolderCount; ++i)
        out << ini.readString(QStringLiteral("Adresare"), QString::number(i + 1), def[i]);
    return out;
}

QStringList readRecentFiles() {
    const IniFile ini = setupIni();
    QStringList out;
    for (int k = 1; k <= kRecentCount; ++k) {
        const QString v = ini.readString(QStringLiteral("LastOpen"), QString::number(k));
        if (!v.isEmpty())
            out << v;
    }
    return out;
}

bool addRecentFile(IniFile &ini, const QString &path) {
    const QString section = QStringLiteral("LastOpen");
    QList<QPair<QString, QString>> values;
    QString keys[kRecentCount + 1];
    for (int k = 1; k <= kRecentCount; ++k)
        keys[k] = ini.readString(section, QString::number(k));
    QString next[kRecentCount + 1];
    for (int k = 1; k <= kRecentCount; ++k)
        next[k] = keys[k];
    // "4" to "5" first, "1" to "2" last; empty keys are not copied.
    for (int k = kRecentCount - 1; k >= 1; --k)
        if (!keys[k].isEmpty())
            next[k + 1] = keys[k];
    next[1] = path;
    for (int k = 1; k <= kRecentCount; ++k)
        values.append({QString::number(k), next[k]});
    return ini.writeSection(section, values);
}

bool clearRecentFiles(IniFile &ini) {
    QList<QPair<QString, QString>> values;
    for (int k = kRecentCount; k >= 1; --k)
        values.append({QString::number(k), QString()});
    return ini.writeSection(QStringLiteral("LastOpen"), values);
}

QStringList readDialogFilters(bool *ok) {
    const QString path = programFile(QStringLiteral("pripony.ext"));
    const LoadResult r = loadTextFile(path);
    if (ok)
        *ok = r.ok;
    return r.ok ? r.lines : QStringList();
}

QString dialogFilter(int index, const QString &builtIn) {
    const QStringList lines = readDialogFilters();
    if (index >= 0 && index < lines.size() && !lines[index].trimmed().isEmpty())
        return lines[index];
    return builtIn;
}

QString qtFileFilter(const QString &filter) {
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        const QString desc = fields[i].trimmed();
        QString patterns = fields[i + 1].trimmed();
        if (desc.isEmpty() && patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt shows the patterns from the parentheses; a description that names them already keeps its text.
        if (desc.contains(QLatin1Char('(')))
            out << QStringLiteral("%1 (%2)").arg(QString(desc).remove(QRegularExpression(QStringLiteral("\\s*\\(.*\\)\\s*$"))), patterns);
        else
            out << QStringLiteral("%1 (%2)").arg(desc, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

} // namespace velmora
