#include "tooltables/widgets/lineprinter.h"

#include "tooltables/logic/toolsheet.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <cmath>

namespace velmora {

namespace {

double round2(double v) { return std::round(v * 100.0) / 100.0; }

PrintDialogFunction &printDialogFunction() {
    static PrintDialogFunction f;
    return f;
}

} // namespace

TUCLinePrinter::TUCLinePrinter(QObject *parent) : QObject(parent) {}

void TUCLinePrinter::setMargins(const MarginValues &m) {
    margins_ = {round2(m.Top), round2(m.Left), round2(m.Bottom), round2(m.Right)};
}

void TUCLinePrinter::setMarginUnit(MarginUnit unit) {
    if (unit == unit_)
        return;
    const double f = unit == MarginUnit::Inch ? 1 / 25.4 : 25.4;
    unit_ = unit;
    setMargins({margins_.Top * f, margins_.Left * f, margins_.Bottom * f, margins_.Right * f});
}

int TUCLinePrinter::PrintLines(QPrinter &printer) {
    if (Lines.isEmpty())
        return 0;
    printer.setDocName(PrintTitle);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QFont font(Font, &printer);
    painter.setFont(font);
    const QFontMetrics fm(font, &printer);
    const int lineHeight = std::max(1, fm.height() + fm.leading());

    // The printable rectangle in device dots; painting starts at the printable
    // area's corner, so the rectangle is reduced by the unprintable offsets.
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const double mm = unit_ == MarginUnit::Mm ? 1.0 : 25.4;
    const PrintRect r = printRect(margins_.Left * mm, margins_.Top * mm, margins_.Right * mm, margins_.Bottom * mm,
                                  printer.logicalDpiX(), printer.logicalDpiY(), paper.width(), paper.height(),
                                  page.left() - paper.left(), page.top() - paper.top(), page.width(),
                                  page.height());

    QStringList lines;
    if (WordWrap) {
        const auto measure = [&](const QString &s) { return fm.horizontalAdvance(s); };
        for (const QString &l : Lines)
            lines += wrapLine(l, r.right - r.left, measure);
    } else {
        lines = Lines;
    }

    const bool withTitle = TitleOnPrintout != TitlePlace::Nowhere;
    const int perPage = linesPerPage(r.bottom - r.top, lineHeight, withTitle);
    const int pages = pageCount(int(lines.size()), perPage);
    int pageNo = 1;

    const auto titleText = [&]() {
        return PrintPageNumbers ? QStringLiteral("%1 (%2/%3)").arg(PrintTitle).arg(pageNo).arg(pages) : PrintTitle;
    };
    const auto drawTitle = [&](int top) {
        const QString t = titleText();
        const int x = r.left + (r.right - r.left - fm.horizontalAdvance(t)) / 2;
        painter.drawText(x, top + fm.ascent(), t);
    };
    const auto startPage = [&]() {
        int y = r.top;
        if (TitleOnPrintout == TitlePlace::TopOfPage) {
            drawTitle(r.top);
            y += 2 * lineHeight;
        }
        return y;
    };

    emit OnStartPrint();
    emit OnNextPage(pageNo, pages);
    int y = startPage();
    int onPage = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (onPage == perPage) {
            if (TitleOnPrintout == TitlePlace::BottomOfPage)
                drawTitle(r.bottom - lineHeight);
            ++pageNo;
            emit OnNextPage(pageNo, pages);
            printer.newPage();
            y = startPage();
            onPage = 0;
        }
        painter.drawText(r.left, y + fm.ascent(), lines[i]);
        y += lineHeight;
        ++onPage;
    }
    if (TitleOnPrintout == TitlePlace::BottomOfPage)
        drawTitle(r.bottom - lineHeight);
    painter.end();
    emit OnEndPrint();
    return pageNo;
}

QFont courierFont(double pointSize, bool bold) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    if (!QFontInfo(f).fixedPitch())
        f = QFont(QStringLiteral("DejaVu Sans Mono"));
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

void setPrintDialog(PrintDialogFunction dialog) { printDialogFunction() = std::move(dialog); }

bool runPrintDialog(QPrinter &printer, QWidget *parent) {
    if (printDialogFunction())
        return printDialogFunction()(printer, parent);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace velmora
