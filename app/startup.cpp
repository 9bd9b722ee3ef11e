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

int runVelmora(int argc, char **argv) {
    QApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);

    // 1. The splash window, drawn at once.
    QPointer<TFShow> splash = new TFShow;
    splash->show();
    QCoreApplication::processEvents();

    // 2. The application title.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));

    // 3. The main window and what its creation loads.
    TFEditor window;
    window.setSplash(splash);
    Host &host = window.host();
    installPlugin(host);           // the plug-ins of Plugin/ and the "Simulace" menu
    installLanguageMenu(host);     // the "Jazyk" menu
    QCoreApplication::processEvents();
    window.splashStep();
    installHighlighting(host);     // keyword lists of the highlighters
    window.splashStep();
    window.splashStep();
    window.checkRequiredFiles();
    window.buildTemplatePanel();   // one tab per template set
    window.splashPauses(int(files.size()));
    window.applyStoredLayout();    // settings, folders, recent files, file browser
    installComm(host);             // the machine list of the "RS 232" tab
    installToolTables(host);       // the tool table panels, collapsed and hidden
    window.openStartupFiles(files);
    window.finishStartup();

    // 4. The other windows.
    installNcText(host);
    installCalculators(host);
    installTemplates(host);
    installProjects(host);

    // 5. The chosen language file.
    applyStartupLanguage(host);

    // 6. The event loop.
    window.show();
    if (splash)
        splash->raise();
    return app.exec();
}

} // namespace velmora
