// velmora-cli html: the HTML export of a program.
#include "cli/cli.h"

#include "common/ini.h"
#include "common/programfolder.h"
#include "common/textfile.h"
#include "nctext/logic/html.h"

#include <QFileInfo>

namespace velmora::cli {
namespace {

Syntax syntaxFromOption(const QString &name) {
    if (name == QLatin1String("iso"))
        return Syntax::ISO;
    if (name == QLatin1String("iso2"))
        return Syntax::ISO2;
    if (name == QLatin1String("dialog"))
        return Syntax::Dialog;
    if (name == QLatin1String("none"))
        return Syntax::None;
    throw UsageError{QStringLiteral("--syntax: '%1' is not one of iso, iso2, dialog, none").arg(name)};
}

// The highlighter new documents get (Editor/Prirazeni: 0 ISO, 1 ISO2, 2 Dialog, 3 none).
Syntax syntaxFromSettings() {
    switch (IniFile(setupIniPath()).readInteger(QStringLiteral("Editor"), QStringLiteral("Prirazeni"), 3)) {
    case 0: return Syntax::ISO;
    case 1: return Syntax::ISO2;
    case 2: return Syntax::Dialog;
    default: return Syntax::None;
    }
}

int runHtml(const QStringList &args) {
    const Options opts(args, {});
    if (opts.positional().size() != 1)
        throw UsageError{QStringLiteral("html: give exactly one program file")};
    const Syntax syntax = opts.has(QStringLiteral("syntax")) ? syntaxFromOption(opts.value(QStringLiteral("syntax")))
                                                             : syntaxFromSettings();
    if (syntax == Syntax::ISO || syntax == Syntax::Dialog) {
        for (const QString &missing : loadKeywordLists())
            writeError(QStringLiteral("warning: keyword list %1 cannot be read; the built-in words are used").arg(missing));
    }
    const QStringList lines = readProgram(opts.positional().constFirst());
    const QByteArray html = exportHtml(lines, htmlOptionsFor(syntax));
    if (opts.has(QStringLiteral("o"))) {
        const QString out = htmlFileName(opts.value(QStringLiteral("o")));
        QString error;
        if (!saveBytesAtomically(out, html, &error))
            throw UsageError{QStringLiteral("%1: cannot be written: %2").arg(out, error)};
    } else {
        writeRaw(html); // UTF-8, as the file's head declares
    }
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND(
    "html", "export a program as coloured HTML",
    "velmora-cli html [--syntax iso|iso2|dialog|none] FILE [-o OUT]\n"
    "\n"
    "Writes the program as an HTML page coloured by a highlighter: the token\n"
    "colours and styles of the editor (the user's colours of SetupCNC.ini\n"
    "sections Color and Color2 for ISO and ISO2), in a <pre> block.\n"
    "\n"
    "  --syntax NAME  iso, iso2, dialog or none; default: the highlighter that\n"
    "                 new documents get (SetupCNC.ini, Editor/Prirazeni)\n"
    "  -o OUT         write the file OUT (\".html\" is appended when OUT has no\n"
    "                 extension); default: standard output\n"
    "\n"
    "The HTML is UTF-8, as its head declares; every character of the program\n"
    "is written as itself, only \" & < > become entities.",
    runHtml);

} // namespace velmora::cli
