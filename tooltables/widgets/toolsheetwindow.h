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

private:
    QPlainTextEdit *memo_;
};

// Shows the preview modally; true when the user chose OK. Tests replace it with
// setToolSheetPreview to look at (and edit) the window instead of waiting for a click.
using ToolSheetPreviewFunction = std::function<bool(TFTisk &window)>;
void setToolSheetPreview(ToolSheetPreviewFunction f);
bool runToolSheetPreview(TFTisk &window);

} // namespace velmora
