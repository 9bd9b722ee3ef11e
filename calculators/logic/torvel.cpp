#include "calculators/logic/torvel.h"

#include "calculators/logic/torvel_api.h"
#include "common/codec.h"
#include "common/language.h"
#include "common/programfolder.h"
#include "common/textfile.h"

#include <QLibrary>
#include <map>
#include <memory>

namespace velmora::calc {

QString torvelLibraryPath() { return programFile(QStringLiteral("dll/torvel.so")); }

QString torvelMissingText() { return QStringLiteral("Není přítomna DLL knihovna."); }

TorvelRun runTorvel(const QString &libraryPath) {
    // Loaded libraries stay loaded until the program ends.
    static std::map<QString, std::unique_ptr<QLibrary>> loaded;
    TorvelRun run;
    auto it = loaded.find(libraryPath);
    if (it == loaded.end()) {
        auto lib = std::make_unique<QLibrary>(libraryPath);
        lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!lib->load()) {
            run.loadError = lib->errorString();
            return run;
        }
        it = loaded.emplace(libraryPath, std::move(lib)).first;
    }
    auto show = reinterpret_cast<TorvelShowFn>(it->second->resolve("Showtorvel"));
    auto getText = reinterpret_cast<TorvelGetTextFn>(it->second->resolve("GetText"));
    if (!show || !getText) {
        run.status = TorvelRun::MissingEntries;
        return run;
    }
    show();
    const char *text = getText();
    if (text)
        run.lines = splitLines(decodeCp1250(QByteArray(text)));
    run.status = TorvelRun::Done;
    return run;
}

} // namespace velmora::calc
