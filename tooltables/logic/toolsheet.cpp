#include "tooltables/logic/toolsheet.h"

#include "tooltables/logic/tooltable.h"

#include <cmath>

namespace velmora {

ToolSheet toolSheet(const ToolTable &table, const QString &tableName, const QString &programCaption) {
    ToolSheet sheet;
    QStringList &l = sheet.lines;
    const QString stars(70, u'*');
    const QString rule(71, u'_');
    l << QStringLiteral("Velmora verze : 1.1") << QString()
      << QStringLiteral("      N á s t r o j o v ý   l i s t  pro  Rendal") << QString() << QString() << stars
      << QStringLiteral("Č. výkresu :                         Č. tabulek  :") + tableName
      << QStringLiteral("                                     Č. programu :") + programCaption << stars << QString()
      << QStringLiteral("Poloha       Název                       Poloměr         Poznámka ") << rule;
    for (int line = kFirstToolLine; line <= kLastToolLine; ++line) {
        const QString text = table.line(line);
        // A name that begins with a blank in its first three characters is no tool.
        const QString start = readField(text, 5, 3).leftJustified(3, u' ');
        if (start.contains(u' '))
            continue;
        // The name under "Název" (column 14), the radius under "Poloměr" (column 42).
        const QString number = (QStringLiteral("  ") + readField(text, 0, 5)).leftJustified(13, u' ');
        const QString name = (number + readField(text, 5, 17)).leftJustified(41, u' ');
        l << QString() << name + readField(text, 34, 12) << QString() << rule;
        ++sheet.toolCount;
    }
    return sheet;
}

QStringList wrapLine(const QString &line, int width, const std::function<int(const QString &)> &measure) {
    QStringList out;
    QString rest = line;
    while (measure(rest) > width) {
        qsizetype fit = rest.size();
        while (fit > 1 && measure(rest.left(fit)) > width)
            --fit;
        qsizetype cut = fit;
        for (qsizetype i = fit - 1; i > 0; --i) {
            const QChar c = rest[i];
            if (c == u'\t' || c == u' ' || c == u'-' || c == u'.') {
                cut = i + 1;
                break;
            }
        }
        out << rest.left(cut);
        rest = rest.mid(cut);
    }
    out << rest;
    return out;
}

PrintRect printRect(double leftMm, double topMm, double rightMm, double bottomMm, int dpiX, int dpiY,
                    int paperWidth, int paperHeight, int offsetX, int offsetY, int printableWidth,
                    int printableHeight) {
    auto dots = [](double mm, int dpi) { return int(std::lround(mm / 25.4 * dpi)); };
    PrintRect r;
    r.left = dots(leftMm, dpiX) - offsetX;
    r.top = dots(topMm, dpiY) - offsetY;
    r.right = paperWidth - dots(rightMm, dpiX) - offsetX;
    r.bottom = paperHeight - dots(bottomMm, dpiY) - offsetY;
    if (r.left <= offsetX)
        r.left = offsetX + 1;
    if (r.top <= offsetY)
        r.top = offsetY + 1;
    r.right = std::min(r.right, printableWidth + r.left - 1);
    r.bottom = std::min(r.bottom, printableHeight + r.top - 1);
    return r;
}

int linesPerPage(int rectHeight, int lineHeight, bool withTitle) {
    if (lineHeight <= 0)
        return 1;
    const int n = rectHeight / lineHeight - (withTitle ? 2 : 0);
    return std::max(1, n);
}

int pageCount(int lineCount, int perPage) { return (lineCount + perPage - 1) / perPage; }

} // namespace velmora
