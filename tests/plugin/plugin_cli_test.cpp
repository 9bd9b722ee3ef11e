// velmora-cli plugins on a plug-in folder, run as a separate process.
#include "tests/support/testutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(VELMORA_CLI), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void put(const velmora::test::ScratchFolder &s, const char *built, const QString &name) {
    const QString target = s.path() + QStringLiteral("Plugin/") + name;
    QDir().mkpath(QFileInfo(target).path());
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(built), target));
}

} // namespace

TEST(PluginsCommand, ListsProceduresInLoadOrderAndWhatWasSkippedAndWhy) {
    velmora::test::ScratchFolder s;
    put(s, TP_TWO_PATH, QStringLiteral("a.so"));
    put(s, TP_NONE_PATH, QStringLiteral("b-none.so"));
    put(s, TP_NOREG_PATH, QStringLiteral("c-noreg.so"));
    s.write(QStringLiteral("Plugin/d.so.txt"), "text\r\n");
    s.write(QStringLiteral("Plugin/readme.txt"), "text\r\n");
    put(s, TP_ONE_PATH, QStringLiteral("Sub/one.SO"));

    const CliRun r = cli({QStringLiteral("--utf8"), QStringLiteral("plugins"), QStringLiteral("--folder"), s.path()});
    EXPECT_EQ(r.code, 1) << qPrintable(r.err); // something was skipped
    QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.takeFirst(), QStringLiteral("Plug-in folder %1Plugin/").arg(s.path()));
    ASSERT_EQ(lines.size(), 9) << qPrintable(r.out);
    EXPECT_EQ(lines[0], QStringLiteral("a.so: 2 procedure(s)"));
    EXPECT_EQ(lines[1], QStringLiteral("  0\tProcA0\tKružnice A0\tHint A0\tVersion 1.0"));
    EXPECT_EQ(lines[2], QStringLiteral("  1\tProcA1\tKružnice A1\t\tVersion 1.1"));
    EXPECT_EQ(lines[3], QStringLiteral("b-none.so: no procedures (no menu item)"));
    EXPECT_EQ(lines[4], QStringLiteral("c-noreg.so: skipped: does not export \"RegisterProcs\""));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("d.so.txt: skipped: not a loadable library"))) << qPrintable(lines[5]);
    EXPECT_EQ(lines[6], QStringLiteral("Sub/one.SO: 1 procedure(s)"));
    EXPECT_EQ(lines[7], QStringLiteral("  2\tProcB0\tKružnice B0\tHint B0\tVersion 1.0"));
    EXPECT_EQ(lines[8], QString()); // the last line end
}

TEST(PluginsCommand, FolderWithoutPluginsAndBadUsage) {
    velmora::test::ScratchFolder s;
    CliRun r = cli({QStringLiteral("--utf8"), QStringLiteral("plugins"), QStringLiteral("--folder"), s.path()});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("%1Plugin/: no plug-in folder\n").arg(s.path()));

    QDir().mkpath(s.path() + QStringLiteral("PLUGIN")); // found whatever its letter case
    r = cli({QStringLiteral("--utf8"), QStringLiteral("plugins"), QStringLiteral("--folder"), s.path()});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("PLUGIN/\nno library files\n"))) << qPrintable(r.out);

    r = cli({QStringLiteral("plugins"), QStringLiteral("--folder"), s.path() + QStringLiteral("missing")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no such folder")));
    r = cli({QStringLiteral("plugins"), QStringLiteral("x.nc")});
    EXPECT_EQ(r.code, 2);
}
