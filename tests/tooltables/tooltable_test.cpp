// Tool table files: the size rule, the header name, the fixed-width fields,
// inserting and deleting tools, names to radii.
#include "common/numbers.h"
#include "common/textfile.h"
#include "tests/support/testutil.h"
#include "tooltables/logic/tablesession.h"
#include "tooltables/logic/tooltable.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

QString builtFile(const QString &name) { return QStringLiteral(VELMORA_PROGRAM_DIR "/") + name; }

ToolTable builtTemplate(ToolTableKind kind) {
    const LoadResult r = loadTextFile(builtFile(kind == ToolTableKind::Tnc407 ? "0000.tnc" : "tool.t"));
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    ToolTable t(kind);
    EXPECT_TRUE(t.load(r.lines));
    return t;
}

// A table whose tool n is named "TOOL<n>" and has the radius "+<n>".
ToolTable numberedTable() {
    ToolTable t = builtTemplate(ToolTableKind::Tnc407);
    for (int n = 1; n <= 100; ++n) {
        t.setName(n + 2, QStringLiteral("TOOL%1").arg(n));
        t.setRadius(n + 2, QStringLiteral("+%1").arg(n));
    }
    return t;
}

// Everything of a line except the edited fields.
QString outsideFields(const ToolTable &t, int line) {
    QString l = t.line(line);
    const ToolTableLayout &lay = t.layout();
    l.replace(lay.nameStart, lay.nameWidth, QString(lay.nameWidth, u'#'));
    l.replace(lay.radiusStart, lay.radiusWidth, QString(lay.radiusWidth, u'#'));
    if (lay.drillStart >= 0)
        l.replace(lay.drillStart, lay.drillWidth, QString(lay.drillWidth, u'#'));
    return l;
}

} // namespace

TEST(ToolTableFile, SizeRuleDecidesTheFormat) {
    const struct {
        qint64 size;
        ToolTableKind kind;
    } cases[] = {
        {21119, ToolTableKind::Itnc530}, {21120, ToolTableKind::Tnc407}, {21247, ToolTableKind::Tnc407},
        {21248, ToolTableKind::Itnc530}, {0, ToolTableKind::Itnc530},
    };
    for (const auto &c : cases)
        EXPECT_EQ(toolTableKindForSize(c.size), c.kind) << c.size;
}

TEST(ToolTableFile, LineEndsCountAsCrLfForTheSizeRule) {
    QFile f(builtFile("0000.tnc"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray crlf = f.readAll();
    test::ScratchFolder dir;
    const struct {
        const char *name;
        QByteArray bytes;
        ToolTableKind kind;
        int lines;
    } cases[] = {
        {"crlf.t", crlf, ToolTableKind::Tnc407, 104},
        {"lf.t", QByteArray(crlf).replace("\r\n", "\n"), ToolTableKind::Tnc407, 104},
        {"cr.t", QByteArray(crlf).replace("\r\n", "\r"), ToolTableKind::Tnc407, 104},
        {"big.tnc", crlf + QByteArray(128, 'x'), ToolTableKind::Itnc530, 105},
    };
    for (const auto &c : cases) {
        dir.write(c.name, c.bytes);
        const ToolTableFile t = readToolTableFile(dir.file(c.name));
        EXPECT_TRUE(t.readable) << c.name;
        EXPECT_EQ(t.kind, c.kind) << c.name;
        EXPECT_EQ(t.lines.size(), c.lines) << c.name;
    }
    const ToolTableFile missing = readToolTableFile(dir.file("none.tnc"));
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.readError.isEmpty());
}

TEST(ToolTableFile, BuiltTemplatesHaveTheirLayouts) {
    // The build converts the templates to Windows-1250 with CR LF; the size
    // rule must still tell them apart.
    EXPECT_EQ(toolTableKindForSize(QFileInfo(builtFile("0000.tnc")).size()), ToolTableKind::Tnc407);
    EXPECT_EQ(toolTableKindForSize(QFileInfo(builtFile("tool.t")).size()), ToolTableKind::Itnc530);
    QFile f(builtFile("0000.tnc"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith("[END]\r\n"));

    const ToolTable t407 = builtTemplate(ToolTableKind::Tnc407);
    EXPECT_EQ(t407.lines().size(), kToolTableLines);
    EXPECT_EQ(t407.headerName(), "0000.tnc");
    const ToolTable t530 = builtTemplate(ToolTableKind::Itnc530);
    EXPECT_EQ(t530.headerName(), "TOOL.t");
    for (int n = 1; n <= 100; ++n) {
        EXPECT_EQ(t407.number(n + 2), QString::number(n).leftJustified(3)) << n;
        EXPECT_EQ(t407.radius(n + 2).trimmed(), "+0") << n;
        EXPECT_EQ(t530.radius(n + 2).trimmed(), "+0") << n;
        EXPECT_FALSE(t530.isDrill(n + 2)) << n;
    }
}

TEST(ToolTableFile, HeaderCheckAndName) {
    const struct {
        QString header;
        bool ok;
        QString name407;
        QString name530;
    } cases[] = {
        {"BEGIN TOOL    .TNC", true, "TOOL.tnc", "TOOL.t"},
        {"BEGIN ABCDEFGH.TNC", true, "ABCDEFGH.tnc", "ABCDEFGH.TNC.t"},
        {"BEGIN DIL    MM", true, "DIL.tnc", "DIL.t"},
        {"BEGIN", true, ".tnc", ".t"},
        {"XEGIN X", true, "X.tnc", "X.t"}, // "E" as the second character is enough
        {"XYZ", false, {}, {}},
        {"", false, {}, {}},
    };
    for (const auto &c : cases) {
        for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
            const QStringList body = builtTemplate(kind).lines().mid(1);
            ToolTable t(kind);
            TableProblem problem = TableProblem::TooShort;
            EXPECT_EQ(t.load(QStringList{c.header} + body, &problem), c.ok) << c.header.toStdString();
            if (c.ok) {
                EXPECT_EQ(t.headerName(), kind == ToolTableKind::Tnc407 ? c.name407 : c.name530);
            }
            EXPECT_EQ(problem, c.ok ? TableProblem::None : TableProblem::NotTable) << c.header.toStdString();
        }
    }
}

TEST(ToolTableFile, ColumnHeadingsMustStandOverTheFieldsTheProgramWrites) {
    const QStringList t407 = builtTemplate(ToolTableKind::Tnc407).lines();
    const QStringList t530 = builtTemplate(ToolTableKind::Itnc530).lines();
    const auto withHeading = [](QStringList lines, const QString &heading) {
        lines[1] = heading;
        return lines;
    };
    const struct {
        const char *what;
        ToolTableKind kind;
        QStringList lines;
        const char *heading; // the one found missing, or nullptr
        int column;
    } cases[] = {
        {"the shipped 407/426 template", ToolTableKind::Tnc407, t407, nullptr, 0},
        {"the shipped iTNC 530 template", ToolTableKind::Itnc530, t530, nullptr, 0},
        // Another control generation: names at 6-21, radii from column 34.
        {"radii from column 34", ToolTableKind::Tnc407,
         withHeading(t407, "T    NAME            L           R           R2          DL"), "R", 35},
        {"names from column 5", ToolTableKind::Tnc407, withHeading(t407, "T   NAME              L           R"), "NAME", 6},
        {"R2 where R belongs", ToolTableKind::Tnc407, withHeading(t407, "T    NAME             L           R2"), "R", 35},
        {"no headings at all", ToolTableKind::Tnc407, withHeading(t407, ""), "NAME", 6},
        {"an iTNC 530 table in the 407/426 layout", ToolTableKind::Itnc530, withHeading(t530, t407[1]), "NAME", 9},
        {"TT:R-OFFS elsewhere", ToolTableKind::Itnc530,
         withHeading(t530, QString(t530[1]).replace("TT:R-OFFS", "TT:R-OFF ")), "TT:R-OFFS", 187},
    };
    for (const auto &c : cases) {
        const ColumnMismatch m = columnMismatch(c.lines, c.kind);
        EXPECT_EQ(m.heading, c.heading ? QString::fromLatin1(c.heading) : QString()) << c.what;
        EXPECT_EQ(m.column, c.column) << c.what;
        const TableProblem expected = c.heading ? TableProblem::WrongColumns : TableProblem::None;
        EXPECT_EQ(checkToolTableFile(c.lines, c.kind), expected) << c.what;
        // An editing session refuses it and keeps what it had.
        ToolTableSession session(c.kind);
        EXPECT_EQ(session.open(c.lines), expected) << c.what;
        EXPECT_EQ(session.isLoaded(), c.heading == nullptr) << c.what;
    }
}

TEST(ToolTableFile, RefusedFileLeavesTheTableAsItWas) {
    ToolTable t = numberedTable();
    const QStringList before = t.lines();
    TableProblem problem = TableProblem::None;
    EXPECT_FALSE(t.load({"XYZ"}, &problem));
    EXPECT_EQ(problem, TableProblem::NotTable);
    // A table cut short would lose its tool lines on saving: refused too.
    EXPECT_FALSE(t.load(before.mid(0, 50), &problem));
    EXPECT_EQ(problem, TableProblem::TooShort);
    EXPECT_EQ(t.lines(), before);
}

TEST(ToolTableFields, FieldsKeepTheirWidthAndNeighbours) {
    for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
        ToolTable t = builtTemplate(kind);
        const QString outside = outsideFields(t, 7);
        const int length = int(t.line(7).size());
        EXPECT_FALSE(t.setName(7, "FREZA D20"));
        EXPECT_FALSE(t.setRadius(7, "+10"));
        EXPECT_EQ(t.name(7), "FREZA D20        ");
        EXPECT_EQ(t.radius(7), "+10         ");
        // Longer texts are cut to the field.
        EXPECT_TRUE(t.setName(7, "FREZA VALCOVA DLOUHA D20"));
        EXPECT_TRUE(t.setRadius(7, "+1234567890123"));
        EXPECT_EQ(t.name(7), "FREZA VALCOVA DLO");
        EXPECT_EQ(t.radius(7), "+12345678901");
        EXPECT_EQ(outsideFields(t, 7), outside);
        EXPECT_EQ(t.line(7).size(), length);
    }
}

TEST(ToolTableFields, DrillColumnOfTheItnc530) {
    ToolTable t = builtTemplate(ToolTableKind::Itnc530);
    const QString outside = outsideFields(t, 3);
    t.setDrill(3, true);
    EXPECT_EQ(t.line(3).mid(186, 12), "+0          ");
    EXPECT_TRUE(t.isDrill(3));
    t.setDrill(3, false);
    EXPECT_EQ(t.line(3).mid(186, 12), "R           ");
    EXPECT_FALSE(t.isDrill(3));
    EXPECT_EQ(outsideFields(t, 3), outside);
    // Any character but "R" at position 187 marks a drill.
    QStringList lines = t.lines();
    lines[4][186] = u'+';
    lines[5][186] = u'x';
    ASSERT_TRUE(t.load(lines));
    EXPECT_TRUE(t.isDrill(4));
    EXPECT_TRUE(t.isDrill(5));
    EXPECT_FALSE(t.isDrill(6));
}

TEST(ToolTableFields, ShortLinesArePaddedToTheField) {
    QStringList lines = builtTemplate(ToolTableKind::Itnc530).lines();
    lines[3] = "1       X";
    ToolTable t(ToolTableKind::Itnc530);
    ASSERT_TRUE(t.load(lines));
    EXPECT_TRUE(t.isDrill(3)); // no "R" at 187
    t.setDrill(3, false);
    // The short line keeps its characters and is padded up to the field.
    EXPECT_EQ(t.line(3), QString("1       X").leftJustified(186) + "R           ");
}

TEST(ToolTableFields, HeaderNameField) {
    ToolTable t = builtTemplate(ToolTableKind::Tnc407);
    EXPECT_FALSE(t.setHeaderName("DILNA1"));
    EXPECT_EQ(t.line(0), "BEGIN DILNA1  .TNC");
    EXPECT_EQ(t.headerName(), "DILNA1.tnc");
    EXPECT_TRUE(t.setHeaderName("DLOUHYNAZEV"));
    EXPECT_EQ(t.line(0), "BEGIN DLOUHYNA.TNC");

    ToolTable u = builtTemplate(ToolTableKind::Itnc530);
    EXPECT_FALSE(u.setHeaderName("DIL"));
    EXPECT_EQ(u.line(0), "BEGIN DIL     MM");
    EXPECT_EQ(u.headerName(), "DIL.t");
    EXPECT_TRUE(u.setHeaderName("ABCDEFGHIJ"));
    EXPECT_EQ(u.line(0), "BEGIN ABCDEFG MM");
}

TEST(ToolTableLines, InsertMovesToolsDown) {
    for (int n : {1, 10, 100}) {
        ToolTable t = numberedTable();
        const QStringList before = t.lines();
        t.insertTool(n);
        // The new line: a copy of the old tool n with blank name and "+0".
        EXPECT_EQ(t.number(n + 2), QString::number(n).leftJustified(3)) << n;
        EXPECT_EQ(t.name(n + 2), QString(17, u' ')) << n;
        EXPECT_EQ(t.radius(n + 2), QString("+0").leftJustified(12)) << n;
        for (int m = 1; m < n; ++m)
            ASSERT_EQ(t.line(m + 2), before[m + 2]) << n << " " << m;
        for (int m = n + 1; m <= 100; ++m) {
            ASSERT_EQ(t.number(m + 2), QString::number(m).leftJustified(3)) << n << " " << m;
            ASSERT_EQ(t.name(m + 2).trimmed(), QString("TOOL%1").arg(m - 1)) << n << " " << m;
        }
        EXPECT_EQ(t.line(103), before[103]);
        EXPECT_EQ(t.line(2), before[2]);
    }
}

TEST(ToolTableLines, DeleteMovesToolsUp) {
    for (int n : {1, 10, 100}) {
        ToolTable t = numberedTable();
        const QStringList before = t.lines();
        t.deleteTool(n);
        for (int m = 1; m < n; ++m)
            ASSERT_EQ(t.line(m + 2), before[m + 2]) << n << " " << m;
        for (int m = n; m < 100; ++m) {
            ASSERT_EQ(t.number(m + 2), QString::number(m).leftJustified(3)) << n << " " << m;
            ASSERT_EQ(t.name(m + 2).trimmed(), QString("TOOL%1").arg(m + 1)) << n << " " << m;
            ASSERT_EQ(t.radius(m + 2).trimmed(), QString("+%1").arg(m + 1)) << n << " " << m;
        }
        EXPECT_EQ(t.number(102), "100");
        EXPECT_EQ(t.name(102), QString(17, u' '));
        EXPECT_EQ(t.radius(102), QString("+0").leftJustified(12));
        EXPECT_EQ(t.line(103), before[103]);
    }
}

TEST(ToolTableLines, ToolNumberChecks) {
    EXPECT_EQ(checkToolNumber(0), ToolNumberProblem::NotPositive);
    EXPECT_EQ(checkToolNumber(-5), ToolNumberProblem::NotPositive);
    EXPECT_EQ(checkToolNumber(101), ToolNumberProblem::AboveHundred);
    EXPECT_EQ(checkToolNumber(1), ToolNumberProblem::None);
    EXPECT_EQ(checkToolNumber(100), ToolNumberProblem::None);
}

TEST(ToolNames, DiameterAndRadiusFromName) {
    const struct {
        const char *name;
        double diameter;
        const char *radius;
    } cases[] = {
        {"FREZA D20", 20, "+10"},     {"VRTAK 12.5", 12.5, "+6,25"}, {"VRTAK 12,5", 12.5, "+6,25"},
        {"R8", 8, "+4"},              {"FREZA", 0, "+0"},           {"", 0, "+0"},
        {"D6.5.1", 6.5, "+3,25"},     {"D.5", 5, "+2,5"},           {"D7. X", 7, "+3,5"},
        {"T1 FREZA D3", 1, "+0,5"},
        // Too many digits for a number: no diameter (it used to throw out of a drop).
        {"D1" "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "0000000000", 0, "+0"},
    };
    for (const auto &c : cases) {
        EXPECT_DOUBLE_EQ(DiameterFromName(QString::fromUtf8(c.name)), c.diameter) << c.name;
        EXPECT_EQ(radiusTextFromName(QString::fromUtf8(c.name)), QString::fromUtf8(c.radius)) << c.name;
    }
    EXPECT_EQ(radiusTextFromName("VRTAK 12,5", u'.'), "+6.25");
}

TEST(ToolNames, DroppedNodeText) {
    const struct {
        const char *node, *text;
    } cases[] = {
        // The first word goes with its blanks, also a comment's first word.
        {"T12 VRTAK D8", "VRTAK D8"}, {";FREZA D20 *", "D20 *"}, {"T1    X", "X"},
        {"FREZA D20", "FREZA D20"},   {"T12", ""},                      {"VERTIKÁLNÍ HLAVA ", "VERTIKÁLNÍ HLAVA "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(droppedToolText(QString::fromUtf8(c.node)), QString::fromUtf8(c.text)) << c.node;
}

// --- the table a panel edits -------------------------------------------------

TEST(ToolTableSession, OpenAndRefuse) {
    ToolTableSession s(ToolTableKind::Tnc407);
    QStringList lines = builtTemplate(ToolTableKind::Tnc407).lines();
    lines[0] = "BEGIN TOOL    .TNC";
    ASSERT_EQ(s.open(lines), TableProblem::None);
    EXPECT_TRUE(s.isLoaded());
    EXPECT_FALSE(s.isModified());
    EXPECT_EQ(s.tableName(), "TOOL.tnc");
    EXPECT_EQ(s.firstLine(), 3);
    EXPECT_EQ(s.row(0).number, "1  ");

    s.storeRow(0, {"", "FREZA D20", "+10", false});
    s.pageDown();
    EXPECT_TRUE(s.isModified());
    EXPECT_EQ(s.open({"XYZ"}), TableProblem::NotTable);
    // Nothing of the table or its state changed.
    EXPECT_EQ(s.tableName(), "TOOL.tnc");
    EXPECT_EQ(s.firstLine(), 4);
    EXPECT_TRUE(s.isModified());
    EXPECT_EQ(s.table().name(3), QString("FREZA D20").leftJustified(17));
}

TEST(ToolTableSession, StoringMarksOnlyRealChanges) {
    for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
        ToolTableSession s(kind);
        ASSERT_EQ(s.create(builtTemplate(kind).lines(), "X"), TableProblem::None);
        // Storing the rows as they are shown changes nothing.
        for (int k = 0; k < 10; ++k)
            EXPECT_FALSE(s.storeRow(k, s.row(k)).any());
        EXPECT_FALSE(s.isModified());
        ToolTableSession::Row r = s.row(9);
        r.name = "FREZA VALCOVA DLOUHA D20";
        const FieldCuts cuts = s.storeRow(9, r);
        EXPECT_TRUE(cuts.name);
        EXPECT_FALSE(cuts.radius);
        EXPECT_TRUE(s.isModified());
        EXPECT_EQ(s.table().name(12), "FREZA VALCOVA DLO");
    }
    // The drill box of the iTNC 530 is a change too.
    ToolTableSession s(ToolTableKind::Itnc530);
    s.create(builtTemplate(ToolTableKind::Itnc530).lines(), "TOOL");
    ToolTableSession::Row r = s.row(0);
    ASSERT_FALSE(r.drill);
    r.drill = true;
    s.storeRow(0, r);
    EXPECT_TRUE(s.isModified());
    EXPECT_TRUE(s.row(0).drill);
}

TEST(ToolTableSession, PagingStaysWithinTheTools) {
    ToolTableSession s(ToolTableKind::Tnc407);
    s.create(builtTemplate(ToolTableKind::Tnc407).lines(), "0000.tnc");
    EXPECT_FALSE(s.pageUp());
    EXPECT_EQ(s.firstLine(), 3);
    const struct {
        int position, first;
    } cases[] = {{1, 3}, {2, 3}, {3, 3}, {50, 50}, {93, 93}, {94, 93}, {100, 93}, {0, 3}};
    for (const auto &c : cases) {
        s.track(c.position);
        EXPECT_EQ(s.firstLine(), c.first) << c.position;
    }
    s.track(93);
    EXPECT_FALSE(s.pageDown());
    EXPECT_EQ(s.row(9).number, "100");
    EXPECT_TRUE(s.pageUp());
    EXPECT_EQ(s.row(0).number, "90 ");
}

TEST(ToolTableSession, SavePathTakesTheTableExtension) {
    const struct {
        const char *chosen;
        ToolTableKind kind;
        const char *path;
    } cases[] = {
        {"/d/DILNA1", ToolTableKind::Tnc407, "/d/DILNA1.tnc"},   {"/d/DILNA1.tnc", ToolTableKind::Tnc407, "/d/DILNA1.tnc"},
        {"/d/DILNA1.TNC", ToolTableKind::Tnc407, "/d/DILNA1.TNC"}, {"/d/DIL.txt", ToolTableKind::Tnc407, "/d/DIL.tnc"},
        {"/d/DIL", ToolTableKind::Itnc530, "/d/DIL.t"},           {"/d/DIL.tnc", ToolTableKind::Itnc530, "/d/DIL.t"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToolTableSession::savePath(c.chosen, c.kind), c.path) << c.chosen;
}

TEST(ToolTableSession, SaveWritesOnlyTheEditedFields) {
    test::ScratchFolder dir;
    for (ToolTableKind kind : {ToolTableKind::Tnc407, ToolTableKind::Itnc530}) {
        const bool t407 = kind == ToolTableKind::Tnc407;
        QFile f(builtFile(t407 ? "0000.tnc" : "tool.t"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        ToolTableSession s(kind);
        s.create(builtTemplate(kind).lines(), t407 ? "0000.tnc" : "TOOL");
        s.track(50);
        ToolTableSession::Row r = s.row(2); // tool 50
        r.name = "VRTAK 12,5";
        r.radius = "+6,25";
        r.drill = true;
        s.storeRow(2, r);

        const QString path = ToolTableSession::savePath(dir.file(t407 ? "DILNA1" : "DIL"), kind);
        const ToolTableSession::SaveOutcome out = s.save(path);
        ASSERT_TRUE(out.ok) << out.result.error.toStdString();
        EXPECT_FALSE(out.nameCut);
        EXPECT_FALSE(s.isModified());
        EXPECT_EQ(s.tableName(), t407 ? "DILNA1.tnc" : "DIL.t");
        EXPECT_EQ(s.savedPath(), path);

        // Byte for byte the template, except the header name and tool 50's fields.
        QByteArray expected = original;
        const int width = int(original.indexOf("\r\n"));
        expected.replace(0, width, t407 ? "BEGIN DILNA1  .TNC" : "BEGIN DIL     MM");
        const LoadResult template_ = loadTextFile(builtFile(t407 ? "0000.tnc" : "tool.t"));
        qsizetype at = 0;
        for (int i = 0; i < 52; ++i)
            at += template_.lines[i].size() + 2;
        const ToolTableLayout &lay = s.table().layout();
        expected.replace(at + lay.nameStart, 17, QByteArray("VRTAK 12,5").leftJustified(17));
        expected.replace(at + lay.radiusStart, 12, QByteArray("+6,25").leftJustified(12));
        if (!t407)
            expected.replace(at + lay.drillStart, 12, QByteArray("+0").leftJustified(12));
        EXPECT_EQ(dir.read(QFileInfo(path).fileName()), expected);

        // Reopened, the edits are there.
        ToolTableSession again(kind);
        ASSERT_EQ(again.open(loadTextFile(path).lines), TableProblem::None);
        EXPECT_EQ(again.tableName(), t407 ? "DILNA1.tnc" : "DIL.t");
        EXPECT_EQ(again.table().name(52).trimmed(), "VRTAK 12,5");
        EXPECT_EQ(again.table().isDrill(52), !t407);
    }
}

TEST(ToolTableSession, LongFileNameIsCutInTheHeader) {
    test::ScratchFolder dir;
    ToolTableSession s(ToolTableKind::Tnc407);
    s.create(builtTemplate(ToolTableKind::Tnc407).lines(), "0000.tnc");
    const ToolTableSession::SaveOutcome out = s.save(dir.file("DLOUHYNAZEV.tnc"));
    ASSERT_TRUE(out.ok);
    EXPECT_TRUE(out.nameCut);
    EXPECT_EQ(s.table().line(0), "BEGIN DLOUHYNA.TNC");
    EXPECT_EQ(s.tableName(), "DLOUHYNAZEV.tnc");
}

TEST(ToolTableSession, FailedSaveChangesNothing) {
    ToolTableSession s(ToolTableKind::Tnc407);
    s.create(builtTemplate(ToolTableKind::Tnc407).lines(), "0000.tnc");
    s.storeRow(0, {"", "FREZA D20", "+10", false});
    const QStringList before = s.table().lines();
    const ToolTableSession::SaveOutcome out = s.save("/nonexistent-folder/DILNA1.tnc");
    EXPECT_FALSE(out.ok);
    EXPECT_FALSE(out.result.error.isEmpty());
    EXPECT_EQ(s.table().lines(), before);
    EXPECT_EQ(s.tableName(), "0000.tnc");
    EXPECT_TRUE(s.isModified());
    EXPECT_TRUE(s.savedPath().isEmpty());

    // A character Windows-1250 cannot hold is refused with its line.
    s.storeRow(1, {"", QString::fromUtf8("FRÉZA 田"), "+1", false});
    test::ScratchFolder dir;
    const ToolTableSession::SaveOutcome bad = s.save(dir.file("X.tnc"));
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.result.badLine, 4);
    EXPECT_FALSE(QFileInfo::exists(dir.file("X.tnc")));
}
