#pragma once
// The user's side of UserIO: Qt message boxes, input boxes and file dialogs.
#include "shell/logic/userio.h"

class QWidget;

namespace velmora {

class QtUserIO : public UserIO {
public:
    explicit QtUserIO(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }

    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title = QString()) override;
    bool inputText(const QString &caption, const QString &prompt, QString &value) override;
    // Filters are "Description|pattern|..." lines or Qt filters.
    QString openFileName(const QString &title, const QString &filter, const QString &folder = QString()) override;
    QStringList openFileNames(const QString &title, const QString &filter, const QString &folder = QString()) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &proposed = QString(),
                         int *chosenFilter = nullptr) override;
    QString folderName(const QString &title, const QString &folder = QString()) override;
    void beep() override;

private:
    QWidget *parent_;
};

} // namespace velmora
