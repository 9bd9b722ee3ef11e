#include "calculators/widgets/install.h"

#include "calculators/widgets/cutting.h"
#include "calculators/widgets/drazka.h"
#include "calculators/widgets/insert.h"
#include "calculators/widgets/kruznice.h"
#include "calculators/widgets/primka.h"
#include "shell/widgets/host.h"
#include "shell/widgets/languagemenu.h"

#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <functional>
#include <memory>

namespace velmora {

namespace {

void connectAction(Host &host, const QString &name, std::function<void()> handler) {
    QAction *a = host.action(name);
    if (!a)
        return;
    QObject::connect(a, &QAction::triggered, &host, [handler = std::move(handler)] { handler(); });
    a->setEnabled(true);
}

// Runs a calculator window made for this use, and destroys it after; the
// lines it produced go before the caret when it was closed with "insert".
template <class Window>
void runGeometryWindow(Host &host, const QString &section, CaretAfterInsert caret, std::function<Window *()> make) {
    std::unique_ptr<Window> window(make());
    applyWindowSection(window.get(), section);
    const int result = window->exec();
    const QStringList blocks = result == CloseInsert ? window->blocks() : QStringList();
    window.reset();
    if (result != CloseInsert)
        return;
    if (Document *doc = host.requireDocument())
        insertLinesBeforeCaret(host, doc, blocks, caret);
}

} // namespace

void installCalculators(Host &host) {
    QMainWindow *main = host.mainWindow();
    UserIO &io = host.userIO();
    auto *otacky = new TFOtacky(io, main);
    auto *posuv = new TFPosuv(io, main);
    auto *vrchliky = new TFVrchliky(io, main);
    auto *popis = new TFPopisDrazek(main);

    auto posuvExecute = [&host, posuv] {
        if (posuv->exec() == CloseInsert)
            insertWordAtCaret(host, QLatin1Char('F'), posuv->feedToInsert());
    };
    connectAction(host, QStringLiteral("Otacky"), [&host, otacky, posuv, posuvExecute] {
        const int result = otacky->exec();
        const QString speed = otacky->Edit973->text();
        if (result == CloseInsert) {
            insertWordAtCaret(host, QLatin1Char('S'), speed);
        } else if (result == CloseFeed) {
            posuv->setSpeed(speed);
            posuvExecute();
        }
    });
    connectAction(host, QStringLiteral("Posuv"), posuvExecute);
    connectAction(host, QStringLiteral("Vrchlik"), [vrchliky] { vrchliky->exec(); });

    connectAction(host, QStringLiteral("Kruznice"), [&host, main] {
        runGeometryWindow<TFKruznice>(host, QStringLiteral("FKruznice"), CaretAfterInsert::Keep,
                                      [&host, main] { return new TFKruznice(host, main); });
    });
    connectAction(host, QStringLiteral("Primka"), [&host, main] {
        runGeometryWindow<TFPrimka>(host, QStringLiteral("FPrimka"), CaretAfterInsert::LastInserted,
                                    [&host, main] { return new TFPrimka(host, main); });
    });
    connectAction(host, QStringLiteral("drzka"), [&host, main, popis] {
        runGeometryWindow<TFDrazka>(host, QStringLiteral("FDrazka"), CaretAfterInsert::Keep,
                                    [&host, main, popis] { return new TFDrazka(host, popis, main); });
    });

    // "Torvel 50" has no command of the main window: it gets its own item in "Výpočty".
    if (QMenu *menu = host.menu(QStringLiteral("Vypocty"))) {
        auto *torvel = new QAction(QStringLiteral("Torvel 50"), menu);
        torvel->setObjectName(QStringLiteral("Torvel"));
        menu->addAction(torvel);
        QObject::connect(torvel, &QAction::triggered, &host, [&host] { runTorvelCommand(host); });
    }
}

} // namespace velmora
