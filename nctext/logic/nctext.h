#pragma once
// Small pieces shared by the NC text commands.
#include <QString>

namespace velmora {

// Where a pass over the program stops: after the first worked line that
// contains "M30", "M2", or the text "konec programu" (which in practice
// means the whole program).
enum class EndMarker { M30 = 0, M2 = 1, Whole = 2 };

QString endMarkerText(EndMarker marker);
// The item index of the dialogs' radio groups (0, 1, 2); anything else is M30.
EndMarker endMarkerFromIndex(int index);
// The names of the command line: "M30", "M2" and "all" (any letter case); false for others.
bool endMarkerFromName(const QString &name, EndMarker &marker);

// A plain, case-sensitive substring test, quicker than QString::contains for
// the short end markers tested on every line.
bool containsText(const QString &line, const QString &text);

// Removes the blanks (and control characters) at the start of a line.
QString trimLeftBlanks(const QString &line);

// Replaces the first occurrence of `what`, case-sensitively; false when absent.
bool replaceFirst(QString &text, const QString &what, const QString &with);

} // namespace velmora
