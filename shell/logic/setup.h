#pragma once
// SetupCNC.ini: the keys the shell reads and writes, with their defaults.
// Nothing is cached: every call opens the file, reads what it needs and closes it.
#include "common/colour.h"
#include "common/ini.h"

#include <QString>
#include <QStringList>

namespace velmora {

IniFile setupIni();

// The editor options a document is set up with.
struct EditorOptions {
    int cursor = 0;          // 0 horizontal line, 1 vertical line, other values leave the caret alone
    bool tabInText = false;  // Tab goes into the text (else it moves the focus)
    int tabWidth = 8;
    int spacing = 0;         // extra pixels between lines
    bool dragDrop = true;
    bool showInfoLine = true;
    bool trim = true;        // trailing blanks go as a line is edited
    int fontSize = 10;
    ColorValue background = clCream;
};
EditorOptions readEditorOptions();

bool enterInsertsBlock();   // "Enter"
bool upperCaseOnly();       // "UpCase"
bool askBeforeOverwrite();  // "Overwrite"
// The block prefix ("EnterText", default "N1 ", which reads as "N1").
QString blockPrefix();
// The highlighter given to new and opened documents: 0 ISO, 1 ISO2, 2 Dialog, 3 none.
int defaultHighlighterChoice(int def = 3);

// The seven working folders (section "Adresar") and their captions (section "Adresare").
constexpr int kWorkingFolderCount = 7;
QStringList workingFolderKeys();          // "OverProg", ..., "Projekty"
QStringList builtInFolderCaptions();      // "Ověřené programy", ...
QStringList readWorkingFolders();
QStringList readFolderCaptions();

// Recent files, section "LastOpen", key "1" the newest.
constexpr int kRecentCount = 5;
QStringList readRecentFiles();            // newest first, empty keys skipped
// Moves keys 4..1 one down (each non-empty one) and writes the path to key 1.
bool addRecentFile(IniFile &ini, const QString &path);
bool clearRecentFiles(IniFile &ini);

// pripony.ext: one file-dialog filter per line ("Description|*.ext;*.x|..."), read from the program folder.
// A missing file gives no lines.
QStringList readDialogFilters(bool *ok = nullptr);
QString dialogFilter(int index, const QString &builtIn = QString()); // 0-based line, or builtIn when missing
// Turns a "Description|pattern|..." filter into the form of Qt's file dialogs.
QString qtFileFilter(const QString &filter);

} // namespace velmora
