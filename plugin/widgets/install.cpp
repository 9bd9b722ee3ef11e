#include "plugin/widgets/install.h"

#include "common/programfolder.h"
#include "plugin/logic/tplugin.h"
#include "plugin/widgets/hostentries.h"
#include "plugin/widgets/tmnupluginloader.h"
#include "shell/widgets/host.h"

#include <QFileInfo>
#include <QImage>
#include <QPointer>

namespace velmora {

namespace {

// A library on this platform carries no bitmap resources: a procedure's bitmap
// is looked for among the Qt resources the plug-in registered, then as an
// image file beside the library.
QVariant loadProcedureBitmap(const TPluginModule &module, const QByteArray &name) {
    const QString base = QString::fromLatin1(name);
    const QString folder = QFileInfo(module.fileName).path() + QLatin1Char('/');
    for (const QString &prefix : {QStringLiteral(":/"), folder}) {
        for (const char *suffix : {"", ".bmp", ".png"}) {
            const QImage image(prefix + base + QLatin1String(suffix));
            if (!image.isNull())
                return QVariant::fromValue(image);
        }
    }
    return QVariant();
}

} // namespace

void installPlugin(Host &host) {
    // The exported entries act on this host from now on.
    setPluginHost(&host);

    auto *plugin = new TPlugIn(&host); // "PlugIn1"
    plugin->BitmapLoader = loadProcedureBitmap;
    auto *loader = new TMnuPluginLoader(&host); // "MnuPluginLoader1"
    loader->MenuItem = host.menu(QStringLiteral("Simulace"));
    loader->setPlugin(plugin);

    plugin->LoadPlugins(programFile(QStringLiteral("Plugin")));

    // At program close: the unload step; the libraries stay until the program ends.
    QPointer<TPlugIn> guard(plugin);
    host.addShutdownStep([guard] {
        if (guard)
            guard->UnloadPlugins();
    });
}

} // namespace velmora
