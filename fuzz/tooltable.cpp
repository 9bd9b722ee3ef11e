// Both tool table readers (TNC 407/426 and iTNC 530, told apart by size) on any
// file: a table that opens keeps every line; editing a row changes only the
// name, radius and drill fields of that one line; inserting and deleting keep
// the line count; a saved table reads back line for line.
#include "fuzz/fuzz_check.h"
#include "tooltables/logic/tablesession.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool inside(int p, int start, int width) { return start >= 0 && p >= start && p < start + width; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    const int k = in.choice(ToolTableSession::kRows);
    const int position = in.byte();
    ToolTableSession::Row row;
    row.name = in.shortText(40);
    row.radius = in.shortText(20);
    row.drill = in.choice(2);
    const int tool = in.choice(kMaxTools) + 1;
    const int edit = in.choice(3);
    const ToolTableFile file = toolTableFromBytes(in.rest().toByteArray());
    FUZZ_CHECK(file.readable);
    if (!file.ok()) {
        FUZZ_CHECK(file.problem != TableProblem::None);
        return 0;
    }
    FUZZ_CHECK(file.lines.size() >= kToolTableLines);
    ToolTableSession session(file.kind);
    FUZZ_CHECK(session.open(file.lines) == TableProblem::None);
    FUZZ_CHECK(session.table().lines() == file.lines);
    FUZZ_CHECK(!session.isModified());
    session.track(position);
    const QStringList before = session.table().lines();
    const int line = session.firstLine() + k;
    FUZZ_CHECK(line >= kFirstToolLine && line <= kLastToolLine);

    session.storeRow(k, row);
    const QStringList after = session.table().lines();
    const ToolTableLayout &l = session.table().layout();
    FUZZ_CHECK(after.size() == before.size());
    for (int i = 0; i < after.size(); ++i)
        if (i != line)
            FUZZ_CHECK(after[i] == before[i]);
    const QString &was = before[line], &is = after[line];
    for (int p = 0; p < int(was.size()); ++p)
        if (!inside(p, l.nameStart, l.nameWidth) && !inside(p, l.radiusStart, l.radiusWidth) &&
            !inside(p, l.drillStart, l.drillWidth))
            FUZZ_CHECK(p < is.size() && is[p] == was[p]);
    for (int p = int(was.size()); p < int(is.size()); ++p)
        if (!inside(p, l.nameStart, l.nameWidth) && !inside(p, l.radiusStart, l.radiusWidth) &&
            !inside(p, l.drillStart, l.drillWidth))
            FUZZ_CHECK(is[p] == u' '); // padding up to a field
    FUZZ_CHECK(session.row(k).name == row.name.left(l.nameWidth).leftJustified(l.nameWidth, u' '));
    FUZZ_CHECK(session.row(k).radius == row.radius.left(l.radiusWidth).leftJustified(l.radiusWidth, u' '));
    if (l.drillStart >= 0)
        FUZZ_CHECK(session.row(k).drill == row.drill);
    FUZZ_CHECK(session.isModified() == (is != was));

    if (edit == 1)
        session.insertTool(tool);
    else if (edit == 2)
        session.deleteTool(tool);
    FUZZ_CHECK(session.table().lines().size() == before.size());
    if (edit)
        for (int i = 0; i < before.size(); ++i)
            if (i < kFirstToolLine || i > kLastToolLine)
                FUZZ_CHECK(session.table().lines()[i] == after[i]);

    static QTemporaryDir dir;
    const QString path = ToolTableSession::savePath(dir.filePath(QStringLiteral("FUZZ")), session.kind());
    const QStringList saved = [&] {
        ToolTableSession copy = session;
        const auto outcome = copy.save(path);
        FUZZ_CHECK(outcome.ok);
        FUZZ_CHECK(!copy.isModified());
        return copy.table().lines();
    }();
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::ReadOnly));
    const ToolTableFile back = toolTableFromBytes(f.readAll());
    // Saving may change the size so that it names the other format; the
    // headings then do not stand where that format has its fields, and the
    // file is refused rather than edited in the wrong columns.
    if (back.kind != session.kind() && back.problem == TableProblem::WrongColumns)
        return 0;
    FUZZ_CHECK(back.ok());
    FUZZ_CHECK(back.lines == saved);
    return 0;
}
