// velmora-cli simulate, run as a script would run it.
#include "tests/support/testutil.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using velmora::test::cp1250Lines;

namespace {

struct CliRun {
    int code = -1;
    QByteArray out;
    QString err;
};

CliRun cli(const QStringList &args, const QString &program = QStringLiteral(VELMORA_CLI)) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

class SimulateCli : public ::testing::Test {
protected:
    QString write(const QString &name, const QStringList &lines) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp1250Lines(lines));
        return path;
    }
    QJsonObject simulate(const QStringList &args) {
        const CliRun r = cli(QStringList{QStringLiteral("simulate")} + args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        QJsonParseError e;
        const QJsonDocument d = QJsonDocument::fromJson(r.out, &e);
        EXPECT_EQ(e.error, QJsonParseError::NoError) << e.errorString().toStdString() << r.out.left(200).toStdString();
        return d.object();
    }
    QTemporaryDir dir;
};

// Numbers equal within a relative 1e-6 (the points are single precision); everything else exactly.
bool sameJson(const QJsonValue &a, const QJsonValue &b, QString path, QString &why) {
    if (a.isDouble() && b.isDouble()) {
        const double x = a.toDouble(), y = b.toDouble();
        if (std::fabs(x - y) <= 1e-6 * std::max(1.0, std::fabs(y)))
            return true;
        why = QStringLiteral("%1: %2 vs %3").arg(path).arg(x, 0, 'g', 17).arg(y, 0, 'g', 17);
        return false;
    }
    if (a.type() != b.type()) {
        why = path + QStringLiteral(": different types");
        return false;
    }
    if (a.isArray()) {
        const QJsonArray x = a.toArray(), y = b.toArray();
        if (x.size() != y.size()) {
            why = QStringLiteral("%1: %2 elements vs %3").arg(path).arg(x.size()).arg(y.size());
            return false;
        }
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!sameJson(x[i], y[i], path + QStringLiteral("[%1]").arg(i), why))
                return false;
        return true;
    }
    if (a.isObject()) {
        const QJsonObject x = a.toObject(), y = b.toObject();
        if (x.keys() != y.keys()) {
            why = path + QStringLiteral(": keys ") + x.keys().join(',') + QStringLiteral(" vs ") + y.keys().join(',');
            return false;
        }
        for (const QString &k : x.keys())
            if (!sameJson(x[k], y[k], path + QLatin1Char('.') + k, why))
                return false;
        return true;
    }
    if (a != b) {
        why = path + QStringLiteral(": ") + a.toVariant().toString() + QStringLiteral(" vs ") + b.toVariant().toString();
        return false;
    }
    return true;
}

TEST_F(SimulateCli, WholeProgramsGiveTheirJson) {
    const struct {
        const char *program;
        QStringList args;
    } cases[] = {
        {"drilling.nc", {QStringLiteral("--run")}},
        {"subprogram.nc", {QStringLiteral("--run")}},
        {"polar.nc", {QStringLiteral("--steps"), QStringLiteral("12"), QStringLiteral("--a-diameter"), QStringLiteral("40")}},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromLatin1(c.program);
        const QJsonObject got = simulate(c.args + QStringList{QStringLiteral(SIM_DATA "/") + name});
        QFile f(QStringLiteral(SIM_DATA "/") + QString(name).replace(QStringLiteral(".nc"), QStringLiteral(".json")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.program;
        const QJsonObject expected = QJsonDocument::fromJson(f.readAll()).object();
        ASSERT_FALSE(expected.isEmpty()) << c.program;
        QString why;
        EXPECT_TRUE(sameJson(got, expected, name, why)) << why.toStdString();
    }
}

TEST_F(SimulateCli, SummaryStepsCaretAndStopMarks) {
    QStringList prog{QStringLiteral("%P G71 *")};
    for (int i = 2; i <= 10; ++i)
        prog << QStringLiteral("N%1 G91 G01 X1 F100").arg(i);
    const QString file = write(QStringLiteral("p.nc"), prog);

    QJsonObject o = simulate({QStringLiteral("--run"), QStringLiteral("--summary"), file});
    EXPECT_EQ(o[QStringLiteral("caret")].toInt(), 9);
    EXPECT_EQ(o[QStringLiteral("segment_count")].toInt(), 8);
    EXPECT_FALSE(o.contains(QStringLiteral("segments")));
    EXPECT_DOUBLE_EQ(o[QStringLiteral("position")].toObject()[QStringLiteral("x")].toDouble(), 8);
    EXPECT_NEAR(o[QStringLiteral("time")].toDouble(), 0.08, 1e-12);
    EXPECT_TRUE(o[QStringLiteral("box")].isNull());

    o = simulate({QStringLiteral("--steps"), QStringLiteral("2"), QStringLiteral("--caret"), QStringLiteral("5"), file});
    EXPECT_EQ(o[QStringLiteral("caret")].toInt(), 7);
    EXPECT_EQ(o[QStringLiteral("segments")].toArray().size(), 2);
    EXPECT_EQ(o[QStringLiteral("segments")].toArray()[0].toObject()[QStringLiteral("line")].toInt(), 6);

    o = simulate({QStringLiteral("--run"), QStringLiteral("--stop-at"), QStringLiteral("4,7"), file});
    EXPECT_EQ(o[QStringLiteral("caret")].toInt(), 4);
}

TEST_F(SimulateCli, BlockLimitEndsAnEndlessLoop) {
    const QString file = write(QStringLiteral("loop.nc"),
                               {QStringLiteral("%L G71 *"), QStringLiteral("N10 G98 L1"), QStringLiteral("N20 G91 X1"),
                                QStringLiteral("N30 D09 P01 0 P02 0 P03 1"), QStringLiteral("N40 M30"), QStringLiteral("%L G71 *")});
    const QJsonObject o = simulate({QStringLiteral("--run"), QStringLiteral("--max-blocks"), QStringLiteral("5000"), file});
    const QJsonArray events = o[QStringLiteral("events")].toArray();
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].toObject()[QStringLiteral("kind")].toString(), "info");
    EXPECT_TRUE(events[0].toObject()[QStringLiteral("text")].toString().contains(QStringLiteral("5000")));
    // Line 2 once, then lines 3 and 4 in turn: 2500 moves of line 3.
    EXPECT_EQ(o[QStringLiteral("segments")].toArray().size(), 2501);
    EXPECT_DOUBLE_EQ(o[QStringLiteral("position")].toObject()[QStringLiteral("x")].toDouble(), 2500);
}

TEST_F(SimulateCli, EventsCarryTheBlocksLine) {
    const QString file = write(QStringLiteral("e.nc"), {QStringLiteral("%E G71 *"), QStringLiteral("N10 G90 X1.2.3"),
                                                          QStringLiteral("N20 Q1 = 2 + 3 * 4"), QStringLiteral("N30 G1 GQ"),
                                                          QStringLiteral("N40 M30"), QStringLiteral("N50 G0 X0")});
    const QJsonObject o = simulate({QStringLiteral("--steps"), QStringLiteral("4"), file});
    const QJsonArray events = o[QStringLiteral("events")].toArray();
    // Line 4 fails twice: in the preview after the step of line 3, and when it runs.
    ASSERT_EQ(events.size(), 6);
    const struct {
        int line;
        const char *kind, *text;
    } expected[] = {{2, "error", "'1,2,3' is not a valid floating point value"},
                    {4, "error", "Chyba funkce."},
                    {4, "error", "'' is not a valid integer value"},
                    {4, "error", "Chyba funkce."},
                    {4, "error", "'' is not a valid integer value"},
                    {5, "info", "Ok"}};
    for (int i = 0; i < 6; ++i) {
        const QJsonObject e = events[i].toObject();
        EXPECT_EQ(e[QStringLiteral("line")].toInt(), expected[i].line);
        EXPECT_EQ(e[QStringLiteral("kind")].toString(), QLatin1String(expected[i].kind));
        EXPECT_EQ(e[QStringLiteral("text")].toString(), QString::fromUtf8(expected[i].text));
    }
    EXPECT_DOUBLE_EQ(o[QStringLiteral("q")].toObject()[QStringLiteral("1")].toDouble(), 14);
    EXPECT_EQ(o[QStringLiteral("q")].toObject().size(), 1);
}

TEST_F(SimulateCli, SettingsComeFromTheProgramFolderUnlessGiven) {
    // A copy of the tool in a program folder of its own, with its Plugin/Simdra.ini.
    QDir(dir.path()).mkpath(QStringLiteral("folder/Plugin"));
    const QString tool = dir.filePath(QStringLiteral("folder/velmora-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_CLI), tool));
    QFile ini(dir.filePath(QStringLiteral("folder/Plugin/Simdra.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Heidenhain]\r\nRapidMaschine=5000\r\nToolChange=1,5\r\nRapid=clLime\r\n");
    ini.close();
    const QString file = write(QStringLiteral("s.nc"), {QStringLiteral("%S G71 *"), QStringLiteral("G90 G17 T1"),
                                                          QStringLiteral("G90 G00 X100"), QStringLiteral("M30"),
                                                          QStringLiteral("%S G71 *")});
    auto run = [&](const QStringList &extra) {
        const CliRun r = cli(QStringList{QStringLiteral("simulate"), QStringLiteral("--run")} + extra + QStringList{file}, tool);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    };
    QJsonObject o = run({});
    EXPECT_NEAR(o[QStringLiteral("time")].toDouble(), 1.5 + 100.0 / 5000, 1e-12);
    EXPECT_DOUBLE_EQ(o[QStringLiteral("tool_change_time")].toDouble(), 1.5);
    EXPECT_EQ(o[QStringLiteral("tools")].toInt(), 1);
    EXPECT_EQ(o[QStringLiteral("segments")].toArray()[0].toObject()[QStringLiteral("colour")].toString(), "clLime");
    o = run({QStringLiteral("--rapid"), QStringLiteral("20000"), QStringLiteral("--tool-change"), QStringLiteral("0.25")});
    EXPECT_NEAR(o[QStringLiteral("time")].toDouble(), 0.25 + 100.0 / 20000, 1e-12);

    // Without the file: 10000 and 0,5.
    o = simulate({QStringLiteral("--run"), file});
    EXPECT_NEAR(o[QStringLiteral("time")].toDouble(), 0.5 + 0.01, 1e-12);
    EXPECT_EQ(o[QStringLiteral("segments")].toArray()[0].toObject()[QStringLiteral("colour")].toString(), "clWhite");
}

TEST_F(SimulateCli, BadUsage) {
    const QString file = write(QStringLiteral("u.nc"), {QStringLiteral("%U G71 *"), QStringLiteral("G0 X1")});
    const QStringList bad[] = {
        {QStringLiteral("simulate")},
        {QStringLiteral("simulate"), QStringLiteral("--bogus"), file},
        {QStringLiteral("simulate"), QStringLiteral("--caret"), QStringLiteral("9"), file},
        {QStringLiteral("simulate"), QStringLiteral("--steps"), QStringLiteral("-1"), file},
        {QStringLiteral("simulate"), QStringLiteral("--rapid"), QStringLiteral("fast"), file},
        {QStringLiteral("simulate"), QStringLiteral("--stop-at"), QStringLiteral("x"), file},
        {QStringLiteral("simulate"), dir.filePath(QStringLiteral("missing.nc"))},
    };
    for (const QStringList &args : bad) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(r.err.isEmpty());
    }
}

} // namespace
