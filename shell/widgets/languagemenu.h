#pragma once
// Language files: the "Jazyk" menu, applying a file to the windows, one calculator window's section.
#include <QString>

class QWidget;

namespace velmora {
class Host;

// Builds the "Jazyk" menu from Language/*.lng and connects its items.
void installLanguageMenu(Host &host);
// Applies the language file stored in SetupCNC.ini (start-up, after every start-up window exists).
void applyStartupLanguage(Host &host);
// Applies one calculator window's section ("FKruznice", "FPrimka", "FDrazka") to that window.
void applyWindowSection(QWidget *window, const QString &section);

} // namespace velmora
