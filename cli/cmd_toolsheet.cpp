// velmora-cli toolsheet: the tool sheet of a TNC 407/426 table, as "Tisk TNC tabulek" prepares it.
#include "cli/cli.h"

#include "tooltables/logic/tablesession.h"
#include "tooltables/logic/toolsheet.h"

namespace velmora::cli {
namespace {

int runToolSheet(const QStringList &args) {
    const Options opts(args, {});
    for (const QString &n : opts.names())
        if (n != QLatin1String("program"))
            throw UsageError{QStringLiteral("unknown option --%1").arg(n)};
    if (opts.positional().size() != 1)
        throw UsageError{QStringLiteral("give one TNC 407/426 tool table file")};
    const QString path = opts.positional().first();
    const ToolTableFile f = readToolTableFile(path);
    if (!f.readable)
        throw UsageError{QStringLiteral("%1: cannot read: %2").arg(path, f.readError)};
    if (f.kind != ToolTableKind::Tnc407)
        throw UsageError{QStringLiteral("%1: not a TNC 407/426 table (such a table has 21120 to 21247 bytes)").arg(path)};
    if (f.problem == TableProblem::WrongColumns)
        throw UsageError{QStringLiteral("%1:%2").arg(path, columnMismatchText(columnMismatch(f.lines, f.kind)))};
    ToolTableSession s(ToolTableKind::Tnc407);
    if (s.open(f.lines) != TableProblem::None)
        throw UsageError{QStringLiteral("%1:1: not a tool table (the first line must begin with \"BEGIN\")").arg(path)};
    writeLines(toolSheet(s.table(), s.tableName(), opts.value(QStringLiteral("program"))).lines);
    return 0;
}

} // namespace

VELMORA_CLI_COMMAND("toolsheet", "print the tool sheet text of a TNC 407/426 table",
                    "velmora-cli toolsheet [--program TEXT] FILE\n"
                    "\n"
                    "Prints the tool sheet of the table as the print preview of \"Tisk TNC tabulek\"\n"
                    "shows it: the heading with the table name from the first line, then one block\n"
                    "per tool whose name has no blank in its first three characters.\n"
                    "  --program TEXT  the text after \"Č. programu :\" (the program's tab caption\n"
                    "                  in Velmora; empty by default)",
                    runToolSheet);

} // namespace velmora::cli
