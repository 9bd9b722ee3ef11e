#pragma once
// TPlugIn: finds the plug-in libraries under Plugin/, loads them, registers
// their procedures and runs them. Shared by the main window and velmora-cli.
#include "plugin/velmora_plugin.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QLibrary;

namespace velmora {

enum class TPluginError { peNoProc, peNoUnloadProc, peNoModule };

// A loaded plug-in library.
struct TPluginModule {
    QString fileName;
    int32_t count = 0;              // procedure count reported by Initialize
    void *resourceModule = nullptr; // as reported by Initialize
    QLibrary *library = nullptr;    // owned by TPlugIn, never unloaded
};

// A registered procedure; its position in TPlugIn::procedures() is its global index.
struct TPluginProc {
    QByteArray entryName; // Windows-1250 bytes as the plug-in gave them
    QByteArray caption;
    QByteArray hint;
    QByteArray version;
    QByteArray bitmapName;
    QLibrary *library = nullptr;
    QString fileName; // of its library
};

// What the load step did with one path of Files.
struct PluginFileReport {
    enum class Outcome { Loaded, NoProcedures, AlreadyLoaded, Skipped };
    QString path;
    Outcome outcome = Outcome::Skipped;
    QString reason;      // why it was skipped
    int firstIndex = -1; // global index of its first procedure
    int count = 0;       // procedures registered
};

// The files under `folder` whose upper-cased name contains the upper-cased
// `extensionText` (".so" finds A.SO, a.so.bak and x.soold): first the
// folder's own files, then each subfolder the same way, depth first. Entries
// are taken in name order (letter case ignored); names beginning with "."
// are passed over, and a folder reached twice through links is searched once.
QStringList searchPluginFiles(const QString &folder, const QString &extensionText);

class TPlugIn : public QObject {
    Q_OBJECT
public:
    explicit TPlugIn(QObject *parent = nullptr);
    ~TPlugIn() override; // the libraries stay loaded until the program ends

    // Settings.
    QString InitializeString = QStringLiteral(VELMORA_ENTRY_INITIALIZE);
    QString RegisterNameString = QStringLiteral(VELMORA_ENTRY_REGISTER_PROCS);
    QString UnloadString = QStringLiteral(VELMORA_ENTRY_UNLOAD); // kept, never called
    QString Extension = QStringLiteral("so");                   // without its dot
    QString Directory;                                           // with a trailing "/"
    // Handed to each Initialize; by default a handle of the running executable.
    void *HostModule = nullptr;

    // State.
    QStringList Files;
    int Count = 0;       // registered procedures
    int NextIndex = 0;   // global index of the next procedure
    int ModuleCount = 0; // loaded modules
    const QList<TPluginModule> &modules() const { return modules_; }
    const QList<TPluginProc> &procedures() const { return procs_; }
    const QList<PluginFileReport> &reports() const { return reports_; }

    // Notifications. OnLoadPlugin gets the global index, the bitmap (null when
    // the procedure names none or it cannot be found) and the procedure.
    using LoadPluginEvent = std::function<void(int index, const QVariant &bitmap, const TPluginProc &proc)>;
    LoadPluginEvent OnLoadPlugin;
    std::function<void(int index)> OnUnloadPlugin;
    std::function<void(TPluginError error)> OnError;

    // Loads the bitmap a procedure names (kind 4); the logic layer has no
    // image type, so the widget layer supplies this. Unset: no bitmaps.
    std::function<QVariant(const TPluginModule &module, const QByteArray &name)> BitmapLoader;
    // Told about every file that is skipped and every procedure that cannot be
    // run; by default one line on standard error.
    std::function<void(const QString &path, const QString &reason)> OnSkip;

    // Sets Directory to `folder` (with a trailing separator), searches it and
    // loads every file found.
    void LoadPlugins(const QString &folder);
    // Loads the libraries of Files that are not loaded yet.
    void LoadFiles();

    // Calls the procedure of the global index synchronously. False (and
    // nothing called) when the index is out of range or its entry is gone.
    bool Execute(int index);

    // The unload step at program close: no plug-in entry is called and no
    // library is released.
    void UnloadPlugins();

private:
    void loadOne(const QString &path);
    void skip(PluginFileReport &report, const QString &reason);

    QList<TPluginModule> modules_;
    QList<TPluginProc> procs_;
    QList<PluginFileReport> reports_;
    QList<QLibrary *> orphans_; // loaded, but registered nothing
    QSet<QString> handled_;     // every path loadOne has seen
    int loadedUpTo_ = 0;        // Files before this were handled
};

} // namespace velmora
