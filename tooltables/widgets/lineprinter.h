#pragma once
// TUCLinePrinter: prints text lines one below the other on a QPrinter, with
// margins, optional word wrap, an optional title at the top or bottom of every
// page and page numbers.
#include <QFont>
#include <QObject>
#include <QStringList>
#include <functional>

class QPrinter;
class QWidget;

namespace velmora {

class TUCLinePrinter : public QObject {
    Q_OBJECT
public:
    enum class MarginUnit { Mm, Inch };
    enum class TitlePlace { Nowhere, TopOfPage, BottomOfPage };
    struct MarginValues {
        double Top = 15, Left = 15, Bottom = 15, Right = 15;
    };

    explicit TUCLinePrinter(QObject *parent = nullptr);

    QStringList Lines;
    QFont Font;
    bool WordWrap = true;
    QString PrintTitle;
    TitlePlace TitleOnPrintout = TitlePlace::Nowhere;
    bool PrintPageNumbers = false;

    const MarginValues &Margins() const { return margins_; }
    void setMargins(const MarginValues &m);
    MarginUnit marginUnit() const { return unit_; }
    // Changing the unit converts the four margins (by 25.4), rounded to two decimals.
    void setMarginUnit(MarginUnit unit);

    // Prints Lines on the printer (nothing without lines). Returns the number of pages printed.
    int PrintLines(QPrinter &printer);

signals:
    void OnStartPrint();
    void OnNextPage(int page, int pageCount);
    void OnEndPrint();

private:
    MarginValues margins_;
    MarginUnit unit_ = MarginUnit::Mm;
};

// Courier New, or the monospaced DejaVu Sans Mono where Courier New is not installed,
// so that the columns of tool lists and sheets stay aligned.
QFont courierFont(double pointSize, bool bold);

// The system print dialog; returns false when the user cancels. Tests replace it
// (for example to print into a PDF file) with setPrintDialog.
using PrintDialogFunction = std::function<bool(QPrinter &printer, QWidget *parent)>;
void setPrintDialog(PrintDialogFunction dialog);
bool runPrintDialog(QPrinter &printer, QWidget *parent);

} // namespace velmora
