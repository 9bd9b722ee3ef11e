#pragma once
// The one way the program talks to the user: message boxes, questions, input
// boxes and file dialogs. The GUI answers with Qt dialogs (QtUserIO); tests and
// the command-line tool answer from a script (ScriptedUserIO).
#include <QList>
#include <QString>
#include <QStringList>

namespace velmora {

enum class MessageKind { Error, Warning, Information, Confirmation, Plain };

enum class Answer { None = 0, Ok = 1, Cancel = 2, Yes = 4, No = 8 };

// Combinations of buttons, as flags of Answer values.
using Buttons = int;
constexpr Buttons kOk = int(Answer::Ok);
constexpr Buttons kCancel = int(Answer::Cancel);
constexpr Buttons kYesNo = int(Answer::Yes) | int(Answer::No);
constexpr Buttons kYesNoCancel = int(Answer::Yes) | int(Answer::No) | int(Answer::Cancel);

class UserIO {
public:
    virtual ~UserIO() = default;

    // A message box; returns the button chosen (Cancel when the box is closed otherwise).
    virtual Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title = QString()) = 0;
    // A one-line input box; false when cancelled.
    virtual bool inputText(const QString &caption, const QString &prompt, QString &value) = 0;
    // File dialogs; an empty result means cancelled.
    virtual QString openFileName(const QString &title, const QString &filter, const QString &folder = QString()) = 0;
    virtual QStringList openFileNames(const QString &title, const QString &filter, const QString &folder = QString()) = 0;
    // The dialog itself asks before it replaces an existing file. `chosenFilter`,
    // when given, receives the index of the filter entry the user left chosen (0 the first).
    virtual QString saveFileName(const QString &title, const QString &filter, const QString &proposed = QString(),
                                 int *chosenFilter = nullptr) = 0;
    virtual QString folderName(const QString &title, const QString &folder = QString()) = 0;
    virtual void beep() = 0;

    // Conveniences with the program's conventions.
    void error(const QString &text) { message(MessageKind::Error, text, kCancel); }
    void information(const QString &text) { message(MessageKind::Information, text, kOk); }
    bool confirm(const QString &text) { return message(MessageKind::Confirmation, text, kYesNo) == Answer::Yes; }
    Answer confirmCancel(const QString &text) { return message(MessageKind::Confirmation, text, kYesNoCancel); }
};

// Answers from a script, in order, and records every message for tests.
class ScriptedUserIO : public UserIO {
public:
    struct Shown {
        MessageKind kind;
        QString text;
        Buttons buttons;
    };
    // An input box or a file dialog as it was put up.
    struct Asked {
        QString title;
        QString prompt; // the input box's prompt, the file dialog's filter
    };

    QList<Answer> answers;        // answers to message boxes, in order (default: Cancel for errors, Yes/Ok otherwise)
    QStringList inputs;           // answers to input boxes (a null string cancels)
    QStringList files;            // answers to file and folder dialogs (an empty string cancels)
    QList<int> filters;           // the filter entry chosen in each save dialog (default 0)
    QList<Shown> shown;           // every message box shown
    QList<Asked> asked;           // every input box and file dialog
    int beeps = 0;

    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &title = QString()) override;
    bool inputText(const QString &caption, const QString &prompt, QString &value) override;
    QString openFileName(const QString &title, const QString &filter, const QString &folder = QString()) override;
    QStringList openFileNames(const QString &title, const QString &filter, const QString &folder = QString()) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &proposed = QString(),
                         int *chosenFilter = nullptr) override;
    QString folderName(const QString &title, const QString &folder = QString()) override;
    void beep() override { ++beeps; }

private:
    QString nextFile();
};

} // namespace velmora
