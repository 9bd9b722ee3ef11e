// velmora-cli COMMAND [options] FILE...: the program's own logic on files.
#include "cli/cli.h"

#include "common/programfolder.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

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

// A program of a million lines is a million small strings: with the allocator on
// transparent huge pages the kernel maps them in large pieces instead of one page
// fault per 4 KiB, which halves the time of a whole-file command. The allocator
// reads the setting only when a process starts, so the tool starts itself once more
// with it; when that fails it simply goes on.
static void useHugePages(char **argv) {
    if (std::getenv("VELMORA_CLI_RESTARTED"))
        return;
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb"))
        return;
    std::string value = tunables && *tunables ? std::string(tunables) + ":glibc.malloc.hugetlb=1" : "glibc.malloc.hugetlb=1";
    setenv("GLIBC_TUNABLES", value.c_str(), 1);
    setenv("VELMORA_CLI_RESTARTED", "1", 1);
    execv("/proc/self/exe", argv);
    // Still here: the restart failed; the settings of this process stay as they were.
    if (tunables)
        setenv("GLIBC_TUNABLES", tunables, 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

int main(int argc, char **argv) {
    useHugePages(argv);
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
