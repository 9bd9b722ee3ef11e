#pragma once
// The main window in a scratch program folder, with scripted answers to every question.
#include "common/language.h"
#include "shell/logic/userio.h"
#include "shell/widgets/tfeditor.h"
#include "tests/support/testutil.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {

// A program folder with the Czech language file applied and an optional SetupCNC.ini.
class Shell : public ::testing::Test {
protected:
    ScratchFolder folder;
    ScriptedUserIO io;
    std::unique_ptr<TFEditor> w;

    void SetUp() override {
        QDir().mkpath(folder.file("Language"));
        QFile::copy(QStringLiteral(VELMORA_PROGRAM_DIR "/Language/Cestina.lng"), folder.file("Language/Cestina.lng"));
        setCurrentLanguageFile("Cestina.lng");
    }
    void TearDown() override {
        w.reset();
        setCurrentLanguageFile(QString());
    }
    void start() {
        w = std::make_unique<TFEditor>(&io);
        w->applyStoredLayout();
        w->finishStartup();
    }
    QString program(const QString &name, const QStringList &lines) {
        folder.write(name, cp1250Lines(lines));
        return folder.file(name);
    }
    void trigger(const char *name) { w->action(QString::fromLatin1(name))->trigger(); }
    static void type(QWidget *target, int key, const QString &text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &release);
    }
    bool closeProgram() {
        QCloseEvent e;
        QApplication::sendEvent(w.get(), &e);
        return e.isAccepted();
    }
    QStringList shownTexts() const {
        QStringList out;
        for (const auto &s : io.shown)
            out << s.text;
        return out;
    }
};


} // namespace velmora::test
