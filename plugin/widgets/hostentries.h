#pragma once
// The entries the host executable exports to its plug-ins (GetText, SetText,
// RegisterCallBack; declared in plugin/velmora_plugin.h). They act on the one
// live main window, whose Host installPlugin registers here.
#include "plugin/velmora_plugin.h"

namespace velmora {

class Host;

// The host the exported entries act on (null: none; they then do nothing).
// Forgotten by itself when the host is destroyed.
void setPluginHost(Host *host);
Host *pluginHost();

// True once a plug-in called RegisterCallBack (the host takes no further action on it).
bool pluginCallBackRegistered();

} // namespace velmora

extern "C" {
VELMORA_EXPORT VelmoraLineList *GetText(void);
VELMORA_EXPORT void SetText(const VelmoraLineList *lines);
VELMORA_EXPORT void RegisterCallBack(void);
}
