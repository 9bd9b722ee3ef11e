// velmora-cli tools, tooltable and toolsheet, run as a script would run them.
#include "common/textfile.h"
#include "tests/support/testutil.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(VELMORA_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

QString fixture(const char *name) { return QStringLiteral(VELMORA_SOURCE_TESTS "/data/") + QLatin1String(name); }
QString built(const char *name) { return QStringLiteral(VELMORA_PROGRAM_DIR "/") + QLatin1String(name); }

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ToolTablesCli, ToolsPrintsTheToolListFile) {
    const CliRun r = cli({"tools", "--listing", "heidenhain", "--format17", fixture("dil4.h"), fixture("dil4.h")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // Windows-1250 bytes with CR LF, one tab per level; the second file adds no tool again.
    const QByteArray expected = test::cp1250Lines({QString::fromUtf8("Nástroje z programu Heidenhain :dil4.h"),
                                                   "\tT1 FREZA VALCOVA D20 ", "\tT12 VRTAK D8,5 *",
                                                   QString::fromUtf8("Nástroje z programu Heidenhain :dil4.h")});
    EXPECT_EQ(r.out, expected);

    const CliRun m = cli({"--utf8", "tools", "--listing", "mazak", fixture("dil_mazak.eia")});
    EXPECT_EQ(QString::fromUtf8(m.out).split('\n').value(1), "\tT01 FREZA D20" + QString(22, u' ') + "H01");

    EXPECT_EQ(cli({"tools", "--listing", "fanuc", fixture("dil4.h")}).code, 2);
    const CliRun missing = cli({"tools", "--listing", "mazak", "/nonexistent/x.eia"});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("/nonexistent/x.eia")) << missing.err.toStdString();
}

TEST(ToolTablesCli, SetEditsOnlyItsFieldsAndShowReadsThemBack) {
    test::ScratchFolder dir;
    const QByteArray original = fileBytes(built("0000.tnc"));
    dir.write("a.tnc", original);
    const CliRun set = cli({"tooltable", "set", dir.file("a.tnc"), "--tool", "7", "--name", "FREZA VALCOVA DLOUHA D20",
                            "--radius-from-name", "--in-place"});
    ASSERT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_TRUE(set.err.contains("cut to 17")) << set.err.toStdString();
    const QByteArray after = dir.read("a.tnc");
    ASSERT_EQ(after.size(), original.size());
    const qsizetype line9 = [&] {
        qsizetype at = 0;
        for (int i = 0; i < 9; ++i)
            at = original.indexOf('\n', at) + 1;
        return at;
    }();
    QByteArray expected = original;
    expected.replace(line9 + 5, 17, "FREZA VALCOVA DLO");
    expected.replace(line9 + 34, 12, QByteArray("+10").leftJustified(12));
    EXPECT_EQ(after, expected);

    const CliRun show = cli({"--utf8", "tooltable", "show", dir.file("a.tnc")});
    ASSERT_EQ(show.code, 0);
    const QStringList rows = QString::fromUtf8(show.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 100);
    EXPECT_EQ(rows[6], "7\tFREZA VALCOVA DLO\t+10");
    EXPECT_EQ(rows[0], "1\t\t+0");

    // The iTNC 530 table has its drill column.
    dir.write("b.t", fileBytes(built("tool.t")));
    ASSERT_EQ(cli({"tooltable", "set", dir.file("b.t"), "--tool", "100", "--drill", "yes", "--in-place"}).code, 0);
    const QStringList rows530 =
        QString::fromUtf8(cli({"--utf8", "tooltable", "show", dir.file("b.t")}).out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows530.size(), 100);
    EXPECT_EQ(rows530[99], "100\t\t+0\tdrill");
    EXPECT_EQ(rows530[98], "99\t\t+0\t-");

    const struct {
        QStringList args;
        const char *error;
    } bad[] = {
        {{"tooltable", "set", dir.file("a.tnc"), "--tool", "0"}, "1 to 100"},
        {{"tooltable", "set", dir.file("a.tnc"), "--tool", "x"}, "not a valid integer value"},
        {{"tooltable", "set", dir.file("a.tnc"), "--tool", "1", "--drill", "yes"}, "no drill column"},
        {{"tooltable", "set", dir.file("a.tnc"), "--tool", "1", "--radius", "+1", "--radius-from-name"}, "either"},
        {{"tooltable", "show", fixture("dil4.h")}, "not a tool table"},
        {{"toolsheet", dir.file("b.t")}, "not a TNC 407/426 table"},
        // A table of another layout (its radii one column to the left) is neither edited nor listed.
        {{"tooltable", "set", dir.file("other.tnc"), "--tool", "1", "--name", "X", "--in-place"},
         "line 2: no column heading \"R\" at column 35"},
        {{"toolsheet", dir.file("other.tnc")}, "no column heading \"R\""},
    };
    QByteArray other = fileBytes(built("0000.tnc"));
    ASSERT_TRUE(other.contains("NAME             L           R "));
    other.replace("NAME             L           R ", "NAME            L           R  ");
    dir.write("other.tnc", other);
    for (const auto &b : bad) {
        const CliRun r = cli(b.args);
        EXPECT_EQ(r.code, 2) << b.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(b.error)) << r.err.toStdString();
    }
    EXPECT_EQ(dir.read("a.tnc"), expected); // refused edits wrote nothing
    EXPECT_EQ(dir.read("other.tnc"), other);
}

TEST(ToolTablesCli, ToolSheet) {
    test::ScratchFolder dir;
    dir.write("a.tnc", fileBytes(built("0000.tnc")));
    ASSERT_EQ(cli({"tooltable", "set", dir.file("a.tnc"), "--tool", "3", "--name", "VRTAK 12,5", "--radius-from-name",
                   "--in-place"})
                  .code,
              0);
    const CliRun r = cli({"--utf8", "toolsheet", "--program", "DIL4.H", dir.file("a.tnc")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n');
    ASSERT_EQ(lines.size(), 12 + 4 + 1);
    EXPECT_EQ(lines[6], QString::fromUtf8("Č. výkresu :                         Č. tabulek  :0000.tnc"));
    EXPECT_EQ(lines[7], QString::fromUtf8("                                     Č. programu :DIL4.H"));
    EXPECT_EQ(lines[13], QString("  3    ").leftJustified(13) + QString("VRTAK 12,5").leftJustified(28) + "+6,25       ");
}
