// velmora-cli html, run as a script would run it.
#include "tests/support/testutil.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST(HtmlCli, WritesTheColouredPage) {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("p.nc"));
    {
        QFile f(program);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(velmora::test::cp1250Lines({QStringLiteral("N10 G01 X5 (čára)"), QStringLiteral("M30")}));
    }
    // To standard output, with the shipped keyword lists: G01 is a Key (bold), M30 a Second key.
    const CliRun r = cli({QStringLiteral("html"), QStringLiteral("--syntax"), QStringLiteral("iso"), program});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString html = QString::fromUtf8(r.out);
    EXPECT_TRUE(html.startsWith(QLatin1String("<html>\r\n")));
    EXPECT_TRUE(html.contains(QStringLiteral("<i>(čára)</i>")));
    EXPECT_TRUE(html.contains(QLatin1String("<b>G01</b>")));
    EXPECT_TRUE(html.contains(QLatin1String("<font color=\"#0000FF\"><b>M30</b></font>")));

    // To a file: ".html" is appended to a name without an extension.
    const CliRun w = cli({QStringLiteral("html"), QStringLiteral("--syntax"), QStringLiteral("none"), program,
                          QStringLiteral("-o"), dir.filePath(QStringLiteral("out"))});
    ASSERT_EQ(w.code, 0) << w.err.toStdString();
    EXPECT_TRUE(w.out.isEmpty());
    QFile out(dir.filePath(QStringLiteral("out.html")));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString file = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(file.contains(QStringLiteral("N10 G01 X5 (čára)\r\nM30\r\n")));
    EXPECT_FALSE(file.contains(QLatin1String("<b>")));
}

TEST(HtmlCli, BadUsageAndInput) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.nc"));
    const struct {
        QStringList args;
        const char *inMessage;
    } cases[] = {
        {{QStringLiteral("html"), QStringLiteral("--syntax"), QStringLiteral("mazak"), missing}, "mazak"},
        {{QStringLiteral("html"), missing}, "none.nc"},
        {{QStringLiteral("html")}, "one program file"},
        {{QStringLiteral("html"), QStringLiteral(VELMORA_CLI), QStringLiteral("-o"), dir.filePath(QStringLiteral("no/such/dir/x"))}, "x.html"},
    };
    for (const auto &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.code, 2) << c.inMessage;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.inMessage))) << r.err.toStdString();
    }
}

} // namespace
