#include "app/startup.h"

#include "calculators/widgets/install.h"
#include "comm/widgets/install.h"
#include "nctext/widgets/install.h"
#include "nctext/widgets/lexers.h"
#include "plugin/widgets/install.h"
#include "projects/widgets/install.h"
#include "shell/widgets/languagemenu.h"
#include "shell/widgets/tfeditor.h"
#include "shell/widgets/tfshow.h"
#include "templates/widgets/install.h"
#include "tooltables/widgets/install.h"

#include <QApplication>
#include <QPointer>

namespace velmora {

std::unique_ptr<TFEditor> startVelmora(const QStringList &files, UserIO *io) {
    // 0. The language in force, so that every message of the start-up has its text.
    chooseStartupLanguage();

    // 1. The splash window, drawn at once.
    QPointer<TFShow> splash = new TFShow;
    splash->show();
    QCoreApplication::processEvents();

    // 2. The application title.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));

    // 3. The main window and what its creation loads.
    auto window = std::make_unique<TFEditor>(io);
    window->setSplash(splash);
    Host &host = window->host();
    installPlugin(host);           // the plug-ins of Plugin/ and the "Simulace" menu
    installLanguageMenu(host);     // the "Jazyk" menu
    QCoreApplication::processEvents();
    window->splashStep();
    installHighlighting(host);     // keyword lists of the highlighters
    window->splashStep();
    window->splashStep();
    window->checkRequiredFiles();
    window->buildTemplatePanel();  // one tab per template set
    window->splashPauses(int(files.size()));
    window->applyStoredLayout();   // settings, folders, recent files, file browser
    installComm(host);             // the machine list of the "RS 232" tab
    installToolTables(host);       // the tool table panels, collapsed and hidden
    window->openStartupFiles(files);
    window->finishStartup();

    // 4. The other windows.
    installNcText(host);
    installCalculators(host);
    installTemplates(host);
    installProjects(host);

    // 5. The captions of the language file in force.
    applyStartupLanguage(host);
    return window;
}

int runVelmora(int argc, char **argv) {
    QApplication app(argc, argv);
    const std::unique_ptr<TFEditor> window = startVelmora(app.arguments().mid(1));
    // 6. The event loop.
    window->show();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<TFShow *>(w) && w->isVisible())
            w->raise();
    return app.exec();
}

} // namespace velmora
