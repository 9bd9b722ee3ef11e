#include "shell/widgets/languagemenu.h"

namespace velmora {

void installLanguageMenu(Host &) {}
void applyStartupLanguage(Host &) {}
void applyWindowSection(QWidget *, const QString &) {}

} // namespace velmora
