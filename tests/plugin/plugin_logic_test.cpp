// The loader shared by the main window and velmora-cli, driven with real
// plug-in libraries copied into a scratch Plugin/ folder.
#include "common/codec.h"
#include "plugin/logic/linelist.h"
#include "plugin/logic/tplugin.h"
#include "tests/support/testutil.h"

#include <QDir>
#include <QFile>
#include <QLibrary>
#include <gtest/gtest.h>

using namespace velmora;
using Outcome = PluginFileReport::Outcome;

namespace {

struct PluginFolder {
    test::ScratchFolder scratch;
    QString dir = scratch.path() + QStringLiteral("Plugin/");

    // Copies a built test plug-in to Plugin/<name>.
    QString put(const char *built, const QString &name) const {
        const QString target = dir + name;
        QDir().mkpath(QFileInfo(target).path());
        EXPECT_TRUE(QFile::copy(QString::fromUtf8(built), target)) << qPrintable(target);
        return target;
    }
    void text(const QString &name, const QByteArray &bytes = "not a library\r\n") const {
        scratch.write(QStringLiteral("Plugin/") + name, bytes);
    }
};

// The calls a loaded test plug-in has seen ("I;R0,0;...;ProcA1;").
QString logOf(const QString &path) {
    QLibrary lib(path);
    auto log = reinterpret_cast<const char *(*)()>(lib.resolve("TestLog"));
    return log ? QString::fromLatin1(log()) : QStringLiteral("<no log>");
}

QStringList relative(const QStringList &paths, const QString &base) {
    QStringList out;
    for (const QString &p : paths)
        out.append(p.mid(base.size()));
    return out;
}

} // namespace

TEST(PluginSearch, TakesAnyNameHoldingTheSuffixAndSearchesSubfoldersAfterTheFolderOwnFiles) {
    PluginFolder f;
    for (const char *name : {"Sim.SO", "sim.so.bak", "x.soold", "readme.txt", ".hidden.so", "z.so", "notes.s0",
                             "A/inner.so", "A/B/deep.so", "C/c.so", "lib.so/in.so"})
        f.text(QString::fromLatin1(name));
    // A link back to the plug-in folder must not send the search round in circles.
    ASSERT_TRUE(QFile::link(f.dir, f.dir + QStringLiteral("A/loop")));

    const QStringList found = searchPluginFiles(f.dir, QStringLiteral(".so"));
    EXPECT_EQ(relative(found, f.dir),
              (QStringList{"Sim.SO", "sim.so.bak", "x.soold", "z.so", "A/inner.so", "A/B/deep.so", "C/c.so",
                           "lib.so/in.so"}));
}

TEST(PluginSearch, MissingFolderFindsNothing) {
    test::ScratchFolder scratch;
    TPlugIn plugin;
    plugin.LoadPlugins(scratch.path() + QStringLiteral("Plugin"));
    EXPECT_TRUE(plugin.Files.isEmpty());
    EXPECT_EQ(plugin.Count, 0);
    EXPECT_EQ(plugin.Directory, scratch.path() + QStringLiteral("Plugin/"));
}

TEST(PluginLoad, GlobalIndicesRunAcrossPluginsInLoadOrderAndChooseTheRightEntry) {
    PluginFolder f;
    const QString a = f.put(TP_TWO_PATH, QStringLiteral("a.so"));
    const QString b = f.put(TP_ONE_PATH, QStringLiteral("b.so"));

    TPlugIn plugin;
    QList<int> events;
    QStringList captions;
    plugin.OnLoadPlugin = [&](int index, const QVariant &, const TPluginProc &proc) {
        events.append(index);
        captions.append(decodeCp1250(proc.caption));
    };
    QList<TPluginError> errors;
    plugin.OnError = [&](TPluginError e) { errors.append(e); };
    plugin.LoadPlugins(f.dir);

    EXPECT_EQ(events, (QList<int>{0, 1, 2}));
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Kružnice A0"), QStringLiteral("Kružnice A1"),
                                     QStringLiteral("Kružnice B0")}));
    EXPECT_TRUE(errors.isEmpty());
    ASSERT_EQ(plugin.procedures().size(), 3);
    EXPECT_EQ(plugin.Count, 3);
    EXPECT_EQ(plugin.NextIndex, 3);
    EXPECT_EQ(plugin.ModuleCount, 2);
    const TPluginProc &p1 = plugin.procedures()[1];
    EXPECT_EQ(p1.entryName, "ProcA1");
    EXPECT_EQ(p1.hint, ""); // the plug-in gives no hint for it
    EXPECT_EQ(p1.version, "Version 1.1");
    EXPECT_EQ(plugin.procedures()[0].hint, "Hint A0");

    EXPECT_TRUE(plugin.Execute(2));
    EXPECT_TRUE(logOf(b).contains(QStringLiteral("ProcB0;")));
    EXPECT_FALSE(logOf(a).contains(QStringLiteral("Proc")));
    EXPECT_TRUE(plugin.Execute(1));
    EXPECT_TRUE(logOf(a).contains(QStringLiteral("ProcA1;")));
    EXPECT_FALSE(logOf(a).contains(QStringLiteral("ProcA0;")));

    const QString before = logOf(a) + logOf(b);
    EXPECT_FALSE(plugin.Execute(3));
    EXPECT_FALSE(plugin.Execute(-1));
    EXPECT_EQ(logOf(a) + logOf(b), before);

    QList<int> unloaded;
    plugin.OnUnloadPlugin = [&](int i) { unloaded.append(i); };
    plugin.UnloadPlugins();
    EXPECT_EQ(unloaded, (QList<int>{0, 1, 2}));
    EXPECT_EQ(plugin.Count, 0);
    // The libraries stay loaded: their code can still be called.
    EXPECT_TRUE(plugin.Execute(0));
}

TEST(PluginLoad, ThreeProceduresGetFifteenRegistrationCallsInOrder) {
    PluginFolder f;
    const QString c = f.put(TP_THREE_PATH, QStringLiteral("three.so"));
    TPlugIn plugin;
    plugin.LoadPlugins(f.dir);
    EXPECT_EQ(logOf(c), QStringLiteral("I;R0,0;R0,1;R0,2;R0,3;R0,4;R1,0;R1,1;R1,2;R1,3;R1,4;"
                                       "R2,0;R2,1;R2,2;R2,3;R2,4;"));
    EXPECT_EQ(plugin.Count, 3);
}

TEST(PluginLoad, PluginWithoutProceduresGetsNothingAndNoMessage) {
    PluginFolder f;
    const QString d = f.put(TP_NONE_PATH, QStringLiteral("none.so"));
    TPlugIn plugin;
    QStringList skipped;
    plugin.OnSkip = [&](const QString &path, const QString &) { skipped.append(path); };
    QList<TPluginError> errors;
    plugin.OnError = [&](TPluginError e) { errors.append(e); };
    plugin.LoadPlugins(f.dir);

    EXPECT_EQ(logOf(d), QStringLiteral("I;")); // initialised, never asked to register
    EXPECT_EQ(plugin.Count, 0);
    EXPECT_EQ(plugin.ModuleCount, 0);
    EXPECT_TRUE(plugin.modules().isEmpty());
    EXPECT_TRUE(skipped.isEmpty());
    EXPECT_EQ(errors, QList<TPluginError>{TPluginError::peNoProc});
    ASSERT_EQ(plugin.reports().size(), 1);
    EXPECT_EQ(plugin.reports()[0].outcome, Outcome::NoProcedures);
}

TEST(PluginLoad, BrokenLibrariesAreSkippedWithAReasonAndTheRestLoads) {
    PluginFolder f;
    f.text(QStringLiteral("a-text.so"));
    f.text(QStringLiteral("b-empty.so"), QByteArray());
    f.put(TP_NOINIT_PATH, QStringLiteral("c-noinit.so"));
    f.put(TP_NOREG_PATH, QStringLiteral("d-noreg.so"));
    const QString bad = f.put(TP_BADENTRY_PATH, QStringLiteral("e-badentry.so"));
    f.put(TP_FOREIGN_PATH, QStringLiteral("f-foreign.so"));
    f.put(TP_NULLREC_PATH, QStringLiteral("f1-nullrec.so"));
    const QString huge = f.put(TP_HUGE_PATH, QStringLiteral("f2-huge.so"));
    f.put(TP_ONE_PATH, QStringLiteral("g-good.so"));

    TPlugIn plugin;
    QStringList told;
    plugin.OnSkip = [&](const QString &path, const QString &reason) {
        told.append(QFileInfo(path).fileName() + QStringLiteral(": ") + reason);
    };
    QList<int> loaded;
    plugin.OnLoadPlugin = [&](int index, const QVariant &, const TPluginProc &) { loaded.append(index); };
    plugin.LoadPlugins(f.dir);

    const struct {
        const char *file;
        const char *reason;
    } expected[] = {
        {"a-text.so", "not a loadable library"},
        {"b-empty.so", "not a loadable library"},
        {"c-noinit.so", "does not export \"Initialize\""},
        {"d-noreg.so", "does not export \"RegisterProcs\""},
        {"e-badentry.so", "procedure 1 names the entry \"Missing\", which the library does not export"},
        {"f-foreign.so", "procedure 0 names the entry \"getpid\", which the library does not export"},
        {"f1-nullrec.so", "\"Initialize\" returned no registration record"},
        {"f2-huge.so", "reports 100000 procedures"},
    };
    ASSERT_EQ(told.size(), int(std::size(expected))) << qPrintable(told.join('\n'));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_TRUE(told[int(i)].startsWith(QString::fromLatin1(expected[i].file) + QStringLiteral(": ")));
        EXPECT_TRUE(told[int(i)].contains(QString::fromLatin1(expected[i].reason))) << qPrintable(told[int(i)]);
    }
    // The library with one good and one bad procedure registers neither.
    EXPECT_EQ(loaded, QList<int>{0});
    ASSERT_EQ(plugin.procedures().size(), 1);
    EXPECT_EQ(plugin.procedures()[0].entryName, "ProcB0");
    EXPECT_TRUE(logOf(bad).startsWith(QStringLiteral("I;R0,0;")));
    EXPECT_EQ(logOf(huge), QStringLiteral("I;")); // never asked for its procedures
    ASSERT_EQ(plugin.reports().size(), 9);
    EXPECT_EQ(plugin.reports()[8].outcome, Outcome::Loaded);
    EXPECT_EQ(plugin.reports()[8].firstIndex, 0);
}

TEST(PluginLoad, APathAlreadyLoadedIsNotLoadedAgain) {
    PluginFolder f;
    const QString a = f.put(TP_ONE_PATH, QStringLiteral("a.so"));
    const QString d = f.put(TP_NONE_PATH, QStringLiteral("d.so"));
    TPlugIn plugin;
    plugin.Files = QStringList{a, d, a, d};
    plugin.LoadFiles();
    EXPECT_EQ(logOf(a), QStringLiteral("I;R0,0;R0,1;R0,2;R0,3;R0,4;"));
    EXPECT_EQ(logOf(d), QStringLiteral("I;")); // no second Initialize either
    EXPECT_EQ(plugin.Count, 1);
    ASSERT_EQ(plugin.reports().size(), 4);
    EXPECT_EQ(plugin.reports()[2].outcome, Outcome::AlreadyLoaded);
    EXPECT_EQ(plugin.reports()[3].outcome, Outcome::AlreadyLoaded);
}

TEST(PluginLoad, LibrariesUnderAnyNameHoldingTheSuffixLoadAndSubfoldersComeLast) {
    PluginFolder f;
    f.put(TP_TWO_PATH, QStringLiteral("A/first.so"));
    f.put(TP_ONE_PATH, QStringLiteral("Sim.SO"));
    f.put(TP_THREE_PATH, QStringLiteral("sim.so.bak"));
    f.put(TP_ONE_PATH, QStringLiteral("readme.txt")); // a library, but not by its name
    TPlugIn plugin;
    plugin.LoadPlugins(f.dir);
    QStringList entries;
    for (const TPluginProc &p : plugin.procedures())
        entries.append(QString::fromLatin1(p.entryName));
    EXPECT_EQ(entries, (QStringList{"ProcB0", "ProcC0", "ProcC1", "ProcC2", "ProcA0", "ProcA1"}));
    EXPECT_EQ(relative(plugin.Files, f.dir), (QStringList{"Sim.SO", "sim.so.bak", "A/first.so"}));
}

TEST(LineList, CopiesEveryByteAcrossTheBoundary) {
    plugin::OwnedLineList source;
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    source.setLines({QByteArray("N10 G00"), QByteArray(), QByteArray("a\0b", 3), all});

    plugin::OwnedLineList target;
    target.append("old");
    target.list()->ops->clear(target.list());
    target.list()->ops->appendAll(target.list(), source.list());
    target.list()->ops->appendAll(target.list(), target.list()); // a list appended to itself doubles
    const QList<QByteArray> expect = source.lines() + source.lines();
    EXPECT_EQ(target.lines(), expect);
    EXPECT_EQ(plugin::decodeLines(source.list())[3], decodeCp1250(all));
    EXPECT_EQ(target.list()->ops->line(target.list(), 8, nullptr), nullptr);
    EXPECT_TRUE(plugin::copyLines(nullptr).isEmpty());
}
