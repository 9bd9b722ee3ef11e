#include "plugin/logic/tplugin.h"

#include "common/codec.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QSet>

#include <cstdio>
#include <dlfcn.h>

namespace velmora {

namespace {

// A count beyond this is a broken record, not a menu: registering it would
// call RegisterProcs billions of times.
constexpr int32_t kMaxProcedures = 10000;

void searchFolder(const QString &folder, const QString &upperExt, QStringList &files, QSet<QString> &visited) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);

    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDir::Name | QDir::IgnoreCase);
    QStringList subfolders;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        if (entry.isDir())
            subfolders.append(folder + name + QLatin1Char('/'));
        else if (name.toUpper().contains(upperExt))
            files.append(folder + name);
    }
    for (const QString &sub : subfolders)
        searchFolder(sub, upperExt, files, visited);
}

// The library file a symbol lives in, so that an entry found in one of the
// plug-in's dependencies (dlsym searches those too) is not taken for its own.
QString fileOfSymbol(QFunctionPointer symbol) {
    Dl_info info{};
    if (!symbol || !dladdr(reinterpret_cast<void *>(symbol), &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath();
}

QString shown(const QByteArray &name) { return decodeCp1250(name); }

} // namespace

QStringList searchPluginFiles(const QString &folder, const QString &extensionText) {
    QStringList files;
    QSet<QString> visited;
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    if (!base.isEmpty() && QFileInfo(base).isDir())
        searchFolder(base, extensionText.toUpper(), files, visited);
    return files;
}

TPlugIn::TPlugIn(QObject *parent) : QObject(parent) {
    setObjectName(QStringLiteral("PlugIn1"));
    HostModule = dlopen(nullptr, RTLD_LAZY);
    OnSkip = [](const QString &path, const QString &reason) {
        const QByteArray line = QStringLiteral("Velmora: plug-in %1 skipped: %2\n").arg(path, reason).toUtf8();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        std::fflush(stderr);
    };
}

TPlugIn::~TPlugIn() {
    // Deleting a QLibrary does not unload it: the plug-ins' code stays mapped
    // until the program ends, as anything they handed out may point into it.
    for (TPluginModule &m : modules_)
        delete m.library;
    for (QLibrary *lib : orphans_)
        delete lib;
}

void TPlugIn::LoadPlugins(const QString &folder) {
    Directory = folder;
    if (!Directory.isEmpty() && !Directory.endsWith(QLatin1Char('/')))
        Directory += QLatin1Char('/');
    Files += searchPluginFiles(Directory, QLatin1Char('.') + Extension);
    LoadFiles();
}

void TPlugIn::LoadFiles() {
    for (int i = loadedUpTo_; i < Files.size(); ++i)
        loadOne(Files[i]);
    loadedUpTo_ = int(Files.size());
}

void TPlugIn::skip(PluginFileReport &report, const QString &reason) {
    report.outcome = PluginFileReport::Outcome::Skipped;
    report.reason = reason;
    if (OnSkip)
        OnSkip(report.path, reason);
}

void TPlugIn::loadOne(const QString &path) {
    PluginFileReport report;
    report.path = path;

    // A path handled before is not loaded again, whatever became of it: its
    // Initialize has run already (a library without procedures included).
    if (handled_.contains(path)) {
        report.outcome = PluginFileReport::Outcome::AlreadyLoaded;
        reports_.append(report);
        return;
    }
    handled_.insert(path);

    auto *lib = new QLibrary(path);
    lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!lib->load()) {
        skip(report, QStringLiteral("not a loadable library (%1)").arg(lib->errorString()));
        delete lib;
        reports_.append(report);
        return;
    }
    const QString ownFile = QFileInfo(path).canonicalFilePath();
    auto ownEntry = [&](const QByteArray &name) -> QFunctionPointer {
        if (name.isEmpty())
            return nullptr;
        QFunctionPointer f = lib->resolve(name.constData());
        if (!f)
            return nullptr;
        const QString where = fileOfSymbol(f);
        return (where.isEmpty() || where == ownFile) ? f : nullptr;
    };

    const auto initialize = reinterpret_cast<VelmoraInitializeFn>(ownEntry(InitializeString.toLatin1()));
    const auto registerProcs = reinterpret_cast<VelmoraRegisterProcsFn>(ownEntry(RegisterNameString.toLatin1()));
    if (!initialize || !registerProcs) {
        // Not a plug-in; the library stays loaded like every other one.
        skip(report, QStringLiteral("does not export \"%1\"").arg(!initialize ? InitializeString : RegisterNameString));
        orphans_.append(lib);
        reports_.append(report);
        return;
    }

    const VelmoraRegistration *record = initialize(HostModule);
    if (!record) {
        skip(report, QStringLiteral("\"%1\" returned no registration record").arg(InitializeString));
        orphans_.append(lib);
        reports_.append(report);
        return;
    }
    TPluginModule module;
    module.fileName = path;
    module.count = record->procedureCount;
    module.resourceModule = record->resourceModule;
    module.library = lib;

    if (module.count < 1) {
        // A plug-in without procedures gets no menu item and no message.
        if (OnError)
            OnError(TPluginError::peNoProc);
        report.outcome = PluginFileReport::Outcome::NoProcedures;
        orphans_.append(lib);
        reports_.append(report);
        return;
    }
    if (module.count > kMaxProcedures) {
        skip(report, QStringLiteral("reports %1 procedures (at most %2 are accepted)").arg(module.count).arg(kMaxProcedures));
        orphans_.append(lib);
        reports_.append(report);
        return;
    }

    // Register all procedures first, so that a library naming an entry it does
    // not export is skipped as a whole and leaves no half-made menu behind.
    QList<TPluginProc> procs;
    procs.reserve(module.count);
    for (int32_t i = 0; i < module.count; ++i) {
        TPluginProc proc;
        proc.library = lib;
        proc.fileName = path;
        QByteArray *fields[5] = {&proc.entryName, &proc.caption, &proc.hint, &proc.version, &proc.bitmapName};
        for (int32_t kind = 0; kind < 5; ++kind) {
            const char *text = registerProcs(i, kind);
            *fields[kind] = text ? QByteArray(text) : QByteArray();
        }
        procs.append(proc);
    }
    for (int i = 0; i < procs.size(); ++i) {
        const QByteArray &entry = procs[i].entryName;
        if (!ownEntry(entry)) {
            skip(report, entry.isEmpty()
                             ? QStringLiteral("procedure %1 has no entry name").arg(i)
                             : QStringLiteral("procedure %1 names the entry \"%2\", which the library does not export")
                                   .arg(i)
                                   .arg(shown(entry)));
            orphans_.append(lib);
            reports_.append(report);
            return;
        }
    }

    modules_.append(module);
    ++ModuleCount;
    report.outcome = PluginFileReport::Outcome::Loaded;
    report.firstIndex = NextIndex;
    report.count = int(procs.size());
    reports_.append(report);
    for (const TPluginProc &proc : procs) {
        QVariant bitmap;
        if (!proc.bitmapName.isEmpty() && BitmapLoader)
            bitmap = BitmapLoader(module, proc.bitmapName);
        procs_.append(proc);
        if (OnLoadPlugin)
            OnLoadPlugin(NextIndex, bitmap, procs_.last());
        ++NextIndex;
        ++Count;
    }
}

bool TPlugIn::Execute(int index) {
    if (index < 0 || index >= procs_.size())
        return false;
    const TPluginProc &proc = procs_[index];
    const auto entry = reinterpret_cast<VelmoraProcedureFn>(proc.library->resolve(proc.entryName.constData()));
    if (!entry) {
        if (OnSkip)
            OnSkip(proc.fileName, QStringLiteral("the entry \"%1\" cannot be found").arg(shown(proc.entryName)));
        return false;
    }
    entry();
    return true;
}

void TPlugIn::UnloadPlugins() {
    const int n = Count;
    for (int i = 0; i < n; ++i) {
        --Count;
        if (OnUnloadPlugin)
            OnUnloadPlugin(i);
    }
}

} // namespace velmora
