#pragma once
// The preview window "Tisk" of the tool sheet: an editable text; OK prints it.
#include <QDialog>
#include <QStringList>
#include <functional>

class QPlainTextEdit;

namespace velmora {

class TFTisk : public QDialog {
    Q_OBJECT
public:
    explicit TFTisk(QWidget *parent = nullptr);
    void setLines(const QStringList &lines);
    QStringList lines() const;
    QPlainTextEdit *memo() const { return memo_; }
    // What OK does while the window is still open (the print dialog and the
    // print); the window closes when it returns true, and stays open for
    // another try or Cancel when it returns false. Without it OK just closes.
    std::function<bool()> onOk;

private:
    QPlainTextEdit *memo_;
};

// Shows the preview modally; true when the window closed through OK (onOk
// done). Tests replace the waiting for a click with setToolSheetPreview: the
// function looks at (and edits) the window and returns true for OK, which then
// runs onOk as the button would.
using ToolSheetPreviewFunction = std::function<bool(TFTisk &window)>;
void setToolSheetPreview(ToolSheetPreviewFunction f);
bool runToolSheetPreview(TFTisk &window);

} // namespace velmora
