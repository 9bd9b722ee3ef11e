#include "plugin/widgets/tmnupluginloader.h"

#include "common/codec.h"

#include <QAction>
#include <QMenu>

namespace velmora {

TCustomPluginLoader::~TCustomPluginLoader() {
    // Give the plug-in component its own handler back.
    if (plugin_)
        plugin_->OnLoadPlugin = previous_;
}

void TCustomPluginLoader::setPlugin(TPlugIn *plugin) {
    if (plugin_ == plugin)
        return;
    if (plugin_)
        plugin_->OnLoadPlugin = previous_;
    plugin_ = plugin;
    previous_ = nullptr;
    if (plugin_) {
        previous_ = plugin_->OnLoadPlugin;
        plugin_->OnLoadPlugin = [this](int index, const QVariant &bitmap, const TPluginProc &proc) {
            pluginLoaded(index, bitmap, proc);
        };
    }
}

void TCustomPluginLoader::pluginLoaded(int index, const QVariant &bitmap, const TPluginProc &proc) {
    if (OnBeforeLoad)
        OnBeforeLoad(index, bitmap, proc);
    LoadPlugin(index, bitmap, proc);
    if (previous_)
        previous_(index, bitmap, proc);
    if (OnAfterLoad)
        OnAfterLoad(index, bitmap, proc);
}

TMnuPluginLoader::TMnuPluginLoader(QObject *parent) : TCustomPluginLoader(parent) {
    setObjectName(QStringLiteral("MnuPluginLoader1"));
}

void TMnuPluginLoader::LoadPlugin(int index, const QVariant &bitmap, const TPluginProc &proc) {
    auto *item = new QAction(decodeCp1250(proc.caption), MenuItem ? static_cast<QObject *>(MenuItem) : this);
    const QString hint = decodeCp1250(proc.hint);
    item->setStatusTip(hint);
    item->setToolTip(hint);
    item->setData(index); // the tag
    // The bitmap stays off the item.
    connect(item, &QAction::triggered, this, [this, item] { run(item->data().toInt()); });
    if (OnMenuCreated)
        OnMenuCreated(item);
    if (MenuItem)
        MenuItem->addAction(item);
    items_.append(item);
}

void TMnuPluginLoader::run(int tag) {
    // Synchronous: the window does nothing else until the procedure returns.
    if (TPlugIn *plugin = Plugin())
        plugin->Execute(tag);
}

} // namespace velmora
