// velmora-cli plugins: what the main window's plug-in search would load.
#include "cli/cli.h"

#include "common/codec.h"
#include "common/programfolder.h"
#include "plugin/logic/tplugin.h"

#include <QDir>

namespace velmora::cli {
namespace {

QString field(const QByteArray &bytes) {
    // A tab or line end inside a plug-in's text would break the columns.
    QString s = decodeCp1250(bytes);
    for (QChar &c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return s;
}

int runPlugins(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &name : opts.names())
        if (name != QLatin1String("folder"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(name)};
    if (!opts.positional().isEmpty())
        throw UsageError{QStringLiteral("takes no file names")};

    const QString base = opts.has(QStringLiteral("folder")) ? QDir(opts.value(QStringLiteral("folder"))).absolutePath()
                                                            : programFolder();
    if (!QFileInfo(base).isDir())
        throw UsageError{QStringLiteral("%1: no such folder").arg(base)};
    const QString folder = findFileNoCase(base, QStringLiteral("Plugin"));

    TPlugIn plugin;
    plugin.OnSkip = nullptr; // every skipped file is listed below instead
    plugin.LoadPlugins(folder);

    QStringList out;
    if (!QFileInfo(folder).isDir()) {
        out.append(QStringLiteral("%1: no plug-in folder").arg(plugin.Directory));
        writeLines(out);
        return 0;
    }
    out.append(QStringLiteral("Plug-in folder %1").arg(plugin.Directory));
    bool skipped = false;
    const QList<TPluginProc> &procs = plugin.procedures();
    for (const PluginFileReport &r : plugin.reports()) {
        const QString name = r.path.startsWith(plugin.Directory) ? r.path.mid(plugin.Directory.size()) : r.path;
        switch (r.outcome) {
        case PluginFileReport::Outcome::Loaded:
            out.append(QStringLiteral("%1: %2 procedure(s)").arg(name).arg(r.count));
            for (int i = r.firstIndex; i < r.firstIndex + r.count && i < procs.size(); ++i) {
                const TPluginProc &p = procs[i];
                out.append(QStringLiteral("  %1\t%2\t%3\t%4\t%5")
                               .arg(i)
                               .arg(field(p.entryName), field(p.caption), field(p.hint), field(p.version)));
            }
            break;
        case PluginFileReport::Outcome::NoProcedures:
            out.append(QStringLiteral("%1: no procedures (no menu item)").arg(name));
            break;
        case PluginFileReport::Outcome::AlreadyLoaded:
            out.append(QStringLiteral("%1: loaded already").arg(name));
            break;
        case PluginFileReport::Outcome::Skipped:
            out.append(QStringLiteral("%1: skipped: %2").arg(name, r.reason));
            skipped = true;
            break;
        }
    }
    if (plugin.reports().isEmpty())
        out.append(QStringLiteral("no library files"));
    writeLines(out);
    return skipped ? 1 : 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "plugins", "list the plug-ins found in Plugin/, their procedures and what was skipped",
    "velmora-cli plugins [--folder DIR]\n"
    "\n"
    "Searches Plugin/ of the program folder (or of DIR) as Velmora does at\n"
    "start-up: first the folder's own files, then each subfolder, in name\n"
    "order; every file whose name holds \".so\" (letter case ignored) is taken.\n"
    "Each library is loaded and registered as the main window would do it, so\n"
    "the listing shows what the \"Simulace\" menu receives, in load order:\n"
    "\n"
    "  FILE: N procedure(s)\n"
    "    INDEX<TAB>ENTRY<TAB>CAPTION<TAB>HINT<TAB>VERSION\n"
    "\n"
    "INDEX is the procedure's global index (the position of its menu item,\n"
    "counted from 0). A library without procedures gets no menu item; a file\n"
    "that is not a loadable library, lacks \"Initialize\" or \"RegisterProcs\",\n"
    "or names a procedure entry it does not export is listed with\n"
    "\"skipped:\" and the reason. No procedure is run.\n"
    "\n"
    "Exit status 1 when a file was skipped.",
    runPlugins);

} // namespace velmora::cli
