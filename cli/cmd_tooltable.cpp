// velmora-cli tooltable: shows or edits the tools of a TNC 407/426 (.tnc) or iTNC 530 (.t) table.
#include "cli/cli.h"

#include "common/numbers.h"
#include "tooltables/logic/tablesession.h"
#include "tooltables/logic/tooltable.h"

namespace velmora::cli {
namespace {

QString withoutTrailingBlanks(QString s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ')
        --n;
    s.truncate(n);
    return s;
}

ToolTable readTable(const QString &path) {
    const ToolTableFile f = readToolTableFile(path);
    if (!f.readable)
        throw UsageError{QStringLiteral("%1: cannot read: %2").arg(path, f.readError)};
    if (f.problem == TableProblem::NotTable)
        throw UsageError{QStringLiteral("%1:1: not a tool table (the first line must begin with \"BEGIN\")").arg(path)};
    if (f.problem == TableProblem::TooShort)
        throw UsageError{QStringLiteral("%1: not a tool table: it has %2 lines, a table has %3")
                             .arg(path)
                             .arg(f.lines.size())
                             .arg(kToolTableLines)};
    if (f.problem == TableProblem::WrongColumns)
        throw UsageError{QStringLiteral("%1:%2").arg(path, columnMismatchText(columnMismatch(f.lines, f.kind)))};
    ToolTable t(f.kind);
    t.load(f.lines);
    return t;
}

int runShow(const Options &opts) {
    if (opts.positional().size() != 2)
        throw UsageError{QStringLiteral("show takes one tool table file")};
    const ToolTable t = readTable(opts.positional()[1]);
    QStringList out;
    for (int n = 1; n <= kMaxTools; ++n) {
        const int line = n + 2;
        QString row = QStringLiteral("%1\t%2\t%3")
                          .arg(n)
                          .arg(withoutTrailingBlanks(t.name(line)), withoutTrailingBlanks(t.radius(line)));
        if (t.kind() == ToolTableKind::Itnc530)
            row += t.isDrill(line) ? QStringLiteral("\tdrill") : QStringLiteral("\t-");
        out << row;
    }
    writeLines(out);
    return 0;
}

int runSet(const Options &opts) {
    if (opts.positional().size() != 2)
        throw UsageError{QStringLiteral("set takes one tool table file")};
    const QString path = opts.positional()[1];
    if (!opts.has(QStringLiteral("tool")))
        throw UsageError{QStringLiteral("set needs --tool N")};
    const QString toolText = opts.value(QStringLiteral("tool"));
    int n = 0;
    if (!tryParseInteger(toolText, n))
        throw UsageError{QStringLiteral("--tool: '%1' is not a valid integer value").arg(toolText)};
    if (checkToolNumber(n) != ToolNumberProblem::None)
        throw UsageError{QStringLiteral("--tool: %1 is not a tool number from 1 to 100").arg(n)};
    const bool fromName = opts.has(QStringLiteral("radius-from-name"));
    if (fromName && opts.has(QStringLiteral("radius")))
        throw UsageError{QStringLiteral("give either --radius or --radius-from-name")};
    bool drill = false;
    if (opts.has(QStringLiteral("drill"))) {
        const QString d = opts.value(QStringLiteral("drill"));
        if (d != QLatin1String("yes") && d != QLatin1String("no"))
            throw UsageError{QStringLiteral("--drill: '%1' is not one of yes, no").arg(d)};
        drill = d == QLatin1String("yes");
    }

    ToolTable t = readTable(path);
    if (opts.has(QStringLiteral("drill")) && t.kind() != ToolTableKind::Itnc530)
        throw UsageError{QStringLiteral("%1: --drill: a TNC 407/426 table has no drill column").arg(path)};
    const int line = n + 2;
    const ToolTableLayout &lay = t.layout();
    if (opts.has(QStringLiteral("name")) && t.setName(line, opts.value(QStringLiteral("name"))))
        writeError(QStringLiteral("%1: tool %2: the name is cut to %3 characters").arg(path).arg(n).arg(lay.nameWidth));
    QString radius;
    if (fromName) // from the whole name given, also when it did not fit the field
        radius = radiusTextFromName(opts.has(QStringLiteral("name")) ? opts.value(QStringLiteral("name"))
                                                                     : withoutTrailingBlanks(t.name(line)));
    else if (opts.has(QStringLiteral("radius")))
        radius = opts.value(QStringLiteral("radius"));
    if ((fromName || opts.has(QStringLiteral("radius"))) && t.setRadius(line, radius))
        writeError(
            QStringLiteral("%1: tool %2: the radius is cut to %3 characters").arg(path).arg(n).arg(lay.radiusWidth));
    if (opts.has(QStringLiteral("drill")))
        t.setDrill(line, drill);

    if (opts.has(QStringLiteral("in-place")))
        writeProgram(path, t.lines());
    else
        writeLines(t.lines());
    return 0;
}

int runToolTable(const QStringList &args) {
    const Options opts(args, {QStringLiteral("in-place"), QStringLiteral("radius-from-name")});
    if (opts.positional().isEmpty())
        throw UsageError{QStringLiteral("give show or set and a tool table file")};
    const QString sub = opts.positional().first();
    const QStringList allowed = sub == QLatin1String("set")
                                    ? QStringList{"tool", "name", "radius", "radius-from-name", "drill", "in-place"}
                                    : QStringList{};
    for (const QString &name : opts.names())
        if (!allowed.contains(name))
            throw UsageError{QStringLiteral("unknown option --%1").arg(name)};
    if (sub == QLatin1String("show"))
        return runShow(opts);
    if (sub == QLatin1String("set"))
        return runSet(opts);
    throw UsageError{QStringLiteral("'%1' is not one of show, set").arg(sub)};
}

} // namespace

VELMORA_CLI_COMMAND(
    "tooltable", "show or edit the tools of a Heidenhain tool table",
    "velmora-cli tooltable show FILE\n"
    "velmora-cli tooltable set FILE --tool N [--name TEXT] [--radius TEXT | --radius-from-name]\n"
    "                          [--drill yes|no] [--in-place]\n"
    "\n"
    "The format is told by the file's size, as Velmora does: 21120 to 21247 bytes\n"
    "is a TNC 407/426 table, any other size an iTNC 530 table. A table whose column\n"
    "headings (line 2) do not have NAME and R (and TT:R-OFFS) where the format has\n"
    "its fields is another layout: it is refused (exit status 2), never edited.\n"
    "\n"
    "show prints one line per tool 1 to 100: N<TAB>name<TAB>radius, the fields\n"
    "without trailing blanks; for an iTNC 530 table a fourth column \"drill\" or \"-\".\n"
    "\n"
    "set edits tool N (1 to 100) and prints the whole table; every character outside\n"
    "the edited fields stays as it was.\n"
    "  --name TEXT         the tool name (17 characters; a longer text is cut, with a\n"
    "                      warning on standard error)\n"
    "  --radius TEXT       the radius text as typed, e.g. +6,25 (12 characters)\n"
    "  --radius-from-name  \"+\" and half the diameter written in the (new) name\n"
    "  --drill yes|no      iTNC 530 only: TT:R-OFFS \"+0\" for a drill, \"R\" otherwise\n"
    "  --in-place          rewrite the file (atomically) instead of printing",
    runToolTable);

} // namespace velmora::cli
