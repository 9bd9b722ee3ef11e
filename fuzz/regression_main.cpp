// Runs every fuzz target over its kept inputs (fuzz/regressions/<target>/*).
#include "fuzz_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

class FuzzRegression : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzRegression, KeptInputsPass) {
    const FuzzTarget t = GetParam();
    const QDir dir(QStringLiteral(VELMORA_FUZZ_REGRESSIONS "/") + QLatin1String(t.name));
    int count = 0;
    for (const QString &f : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(f));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(f);
        const QByteArray data = file.readAll();
        SCOPED_TRACE(qPrintable(f));
        t.run(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()));
        ++count;
    }
    // Targets abort on a broken property, so reaching here means every kept input passed.
    RecordProperty("inputs", count);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression, ::testing::ValuesIn(kTargets),
                         [](const auto &info) { return std::string(info.param.name); });

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
