#pragma once
// Language files: the "Jazyk" menu, applying a file to the windows, one calculator window's section.
//
// A window takes the section named like its object name without the leading
// "T" ("TFSetup" takes "FSetup"; a window named like a section, "FOtacky",
// takes it too); the main window "TFEditor" takes "Editor",
// and "TFCreateSabl" takes "FSablony" as well. Components are found by object
// name within their own window (a dialog parented to the main window is a
// window of its own).
#include <QString>

class QWidget;

namespace velmora {
class Host;

// Builds the "Jazyk" menu from Language/*.lng and connects its items.
void installLanguageMenu(Host &host);
// The language file in force from the first moment of a start, before any
// window exists: the choice stored in SetupCNC.ini; on a first start (no
// choice stored) the shipped Czech file, which is then stored as the choice;
// the Czech file too when the chosen file has gone (the choice stays stored).
// Messages shown during start-up read their texts from it. A language file
// that names a Qt locale (key "Qt" of section "Language": "cs"; "en" needs no
// translation) gives the standard dialogs' buttons in that language, here and
// when a language is chosen.
void chooseStartupLanguage();
// The shipped language file's name without its extension ("Cestina").
QString startupLanguageName();
// Applies the language file in force to the windows (start-up, after every start-up window exists).
void applyStartupLanguage(Host &host);
// Applies one calculator window's section ("FKruznice", "FPrimka", "FDrazka") to that window.
void applyWindowSection(QWidget *window, const QString &section);

// Applies a language file (full path) to every top-level window; false when the file cannot be read.
bool applyLanguageFile(const QString &path);
// Chooses a language as a click on its "Jazyk" item does: applies Language/<name>.lng,
// stores the name in SetupCNC.ini and checks the item.
void chooseLanguage(Host &host, const QString &name);

} // namespace velmora
