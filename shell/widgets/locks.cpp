#include "shell/widgets/locks.h"

#include <QGuiApplication>
#include <QLibrary>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace velmora {

namespace {

// libX11 is loaded when first needed, so that the program runs without an X server too.
struct X11 {
    using OpenDisplay = void *(*)(const char *);
    using GetIndicatorState = int (*)(void *, unsigned int, unsigned int *);
    void *display = nullptr;
    GetIndicatorState getState = nullptr;

    X11() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        static QLibrary lib(QStringLiteral("X11"), 6);
        if (!lib.load())
            return;
        auto open = reinterpret_cast<OpenDisplay>(lib.resolve("XOpenDisplay"));
        getState = reinterpret_cast<GetIndicatorState>(lib.resolve("XkbGetIndicatorState"));
        if (open && getState)
            display = open(nullptr);
    }
};

} // namespace

LockKeys lockKeyState() {
    static X11 x;
    LockKeys k;
    if (!x.display)
        return k;
    unsigned int state = 0;
    const unsigned int useCoreKeyboard = 0x0100;
    if (x.getState(x.display, useCoreKeyboard, &state) == 0) {
        k.capsLock = state & 1u;
        k.numLock = state & 2u;
    }
    return k;
}

void switchToEnglishKeyboard() {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
    if (tool.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QProcess query;
    query.start(tool, {QStringLiteral("-query")});
    if (!query.waitForFinished(2000))
        return;
    QStringList layouts;
    for (const QString &line : QString::fromLocal8Bit(query.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("layout:")))
            layouts = line.mid(7).trimmed().split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (layouts.isEmpty())
        return;
    const QStringList english = {QStringLiteral("us"), QStringLiteral("gb"), QStringLiteral("au"), QStringLiteral("ie"),
                                 QStringLiteral("nz"), QStringLiteral("za"), QStringLiteral("en")};
    // The first layout of the list is the active one; each step makes the next one active.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (english.contains(layouts.first().trimmed().toLower()))
            break;
        layouts.append(layouts.takeFirst());
        QProcess::execute(tool, {QStringLiteral("-layout"), layouts.join(QLatin1Char(','))});
    }
}

} // namespace velmora
