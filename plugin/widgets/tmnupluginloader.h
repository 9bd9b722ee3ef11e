#pragma once
// The menu loader: turns every procedure that TPlugIn registers into an item
// of a menu (the main window's "Simulace") and runs the procedure when the
// item is chosen.
#include "plugin/logic/tplugin.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QAction;
class QMenu;

namespace velmora {

// A loader that follows a TPlugIn: when its Plugin is set it takes over the
// plug-in component's OnLoadPlugin and calls the handler subscribed before
// after its own work.
class TCustomPluginLoader : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TCustomPluginLoader() override;

    TPlugIn *Plugin() const { return plugin_; }
    void setPlugin(TPlugIn *plugin);

    TPlugIn::LoadPluginEvent OnBeforeLoad;
    TPlugIn::LoadPluginEvent OnAfterLoad;

protected:
    // Makes what the loader makes for one procedure.
    virtual void LoadPlugin(int index, const QVariant &bitmap, const TPluginProc &proc) = 0;

private:
    void pluginLoaded(int index, const QVariant &bitmap, const TPluginProc &proc);

    QPointer<TPlugIn> plugin_;
    TPlugIn::LoadPluginEvent previous_;
};

class TMnuPluginLoader : public TCustomPluginLoader {
    Q_OBJECT
public:
    explicit TMnuPluginLoader(QObject *parent = nullptr);

    QMenu *MenuItem = nullptr; // the target menu
    std::function<void(QAction *item)> OnMenuCreated;

    // The items made so far, in menu order.
    const QList<QAction *> &items() const { return items_; }

    // Runs the procedure of the global index `tag` (an item's tag); an index
    // that is not a registered procedure does nothing.
    void run(int tag);

protected:
    void LoadPlugin(int index, const QVariant &bitmap, const TPluginProc &proc) override;

private:
    QList<QAction *> items_;
};

} // namespace velmora
