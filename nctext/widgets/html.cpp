#include "nctext/widgets/html.h"

#include "common/language.h"
#include "common/textfile.h"
#include "nctext/logic/html.h"
#include "nctext/widgets/lexers.h"
#include "shell/logic/userio.h"
#include "shell/widgets/document.h"
#include "shell/widgets/host.h"

#include <QAction>

namespace velmora {

QString exportDocumentToHtml(Document &doc, UserIO &io) {
    const QString chosen = io.saveFileName(QStringLiteral("Uložit HTML do ..."),
                                           QStringLiteral("HTML Document (*.htm,*.html)|*.htm;*.html"));
    if (chosen.isEmpty())
        return QString();
    const QString path = htmlFileName(chosen);
    HtmlExportOptions o;
    o.syntax = syntaxOf(doc.highlighter());
    o.style = highlighterStyle(doc.highlighter());
    o.lists = keywordListsFor(o.syntax);
    QString error;
    if (!saveBytesAtomically(path, exportHtml(doc.lines(), o), &error)) {
        QString text = languageText(QStringLiteral("Messages"), QStringLiteral("ErrorExport"));
        if (text.contains(QLatin1String("%s")))
            text.replace(QLatin1String("%s"), path);
        else
            text += QLatin1Char(' ') + path;
        if (!error.isEmpty())
            text += QLatin1Char('\n') + error;
        io.error(text);
        return QString();
    }
    return path;
}

void installHtmlExport(Host &host) {
    QAction *action = host.action(QStringLiteral("MExportToHTML"));
    if (!action)
        return;
    QObject::connect(action, &QAction::triggered, &host, [&host] {
        host.runCommand([&host] {
            if (Document *doc = host.requireDocument())
                exportDocumentToHtml(*doc, host.userIO());
        });
    });
    action->setEnabled(true);
}

} // namespace velmora
