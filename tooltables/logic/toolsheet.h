#pragma once
// The tool sheet (a printable list of the tools of a 407/426 table) and the
// page layout of the line printer.
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

class ToolTable;

struct ToolSheet {
    QStringList lines;
    int toolCount = 0;
};

// The sheet of a table: the heading with the table name and the program
// (the active document's caption, empty without one), then one block per tool
// whose name has no blank in its first three characters.
ToolSheet toolSheet(const ToolTable &table, const QString &tableName, const QString &programCaption);

// Splits a line wider than `width` (measured by `measure`): characters are
// removed from its end until it fits, and it breaks at the last tab, blank,
// "-" or "." within that length; the rest goes on as the next line.
QStringList wrapLine(const QString &line, int width, const std::function<int(const QString &)> &measure);

struct PrintRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The printable rectangle in device dots from the margins in millimetres,
// the resolution, the physical paper size and the unprintable offsets.
PrintRect printRect(double leftMm, double topMm, double rightMm, double bottomMm, int dpiX, int dpiY,
                    int paperWidth, int paperHeight, int offsetX, int offsetY, int printableWidth,
                    int printableHeight);

// Lines per page (two less with a title) and the page count for `lineCount` lines.
int linesPerPage(int rectHeight, int lineHeight, bool withTitle);
int pageCount(int lineCount, int perPage);

} // namespace velmora
