// velmora-cli COMMAND [options] FILE...: the program's own logic on files.
#include "cli/cli.h"

#include "common/programfolder.h"

#include <QCoreApplication>
#include <cstdio>

using namespace velmora;

static void printOverview() {
    QString text = QStringLiteral(
        "usage: velmora-cli COMMAND [options] FILE...\n"
        "       velmora-cli COMMAND --help\n\n"
        "Runs Velmora's own logic on NC programs and tool tables, for scripts and batch work.\n"
        "Program text goes to standard output in Windows-1250 with CR LF, as Velmora saves files;\n"
        "--utf8 prints UTF-8 with LF instead. Numbers in options accept \".\" or \",\".\n"
        "Exit status: 0 all well; 1 the command found something; 2 bad usage or bad input.\n\n"
        "Commands:\n");
    for (const auto &kv : cli::registry())
        text += QStringLiteral("  %1%2\n").arg(kv.first, -16).arg(kv.second.summary);
    if (cli::registry().empty())
        text += QStringLiteral("  (none yet)\n");
    const QByteArray b = text.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
}

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.removeAll(QStringLiteral("--utf8")) > 0)
        cli::setUtf8Output(true);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h") ||
        args.first() == QLatin1String("help")) {
        printOverview();
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    auto it = cli::registry().find(name);
    if (it == cli::registry().end()) {
        cli::writeError(QStringLiteral("velmora-cli: unknown command '%1' (see velmora-cli --help)").arg(name));
        return 2;
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        const QByteArray b = (it->second.help + QLatin1Char('\n')).toUtf8();
        std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
        return 0;
    }
    try {
        return it->second.run(args);
    } catch (const cli::UsageError &e) {
        cli::writeError(QStringLiteral("velmora-cli %1: %2").arg(name, e.message));
        return 2;
    }
}
