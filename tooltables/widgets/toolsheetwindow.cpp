#include "tooltables/widgets/toolsheetwindow.h"

#include "common/textfile.h"
#include "tooltables/widgets/lineprinter.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora {

namespace {
ToolSheetPreviewFunction &previewFunction() {
    static ToolSheetPreviewFunction f;
    return f;
}
} // namespace

TFTisk::TFTisk(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFTisk"));
    setWindowTitle(QStringLiteral("Tisk"));
    auto *layout = new QVBoxLayout(this);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setFont(courierFont(font().pointSizeF(), true));
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(memo_, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (!onOk || onOk())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(720, 560);
}

void TFTisk::setLines(const QStringList &lines) { memo_->setPlainText(lines.join(QLatin1Char('\n'))); }

QStringList TFTisk::lines() const { return splitLines(memo_->toPlainText()); }

void setToolSheetPreview(ToolSheetPreviewFunction f) { previewFunction() = std::move(f); }

bool runToolSheetPreview(TFTisk &window) {
    if (previewFunction())
        return previewFunction()(window) && (!window.onOk || window.onOk());
    return window.exec() == QDialog::Accepted;
}

} // namespace velmora
