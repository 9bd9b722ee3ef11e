// The shipped language files: both complete, and holding every text the program reads.
#include "common/ini.h"
#include "common/textfile.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace velmora {
namespace {

const QStringList kLanguages = {QStringLiteral("Cestina"), QStringLiteral("English")};

IniData languageFile(const QString &name) {
    const LoadResult r = loadTextFile(QStringLiteral(VELMORA_PROGRAM_DIR "/Language/") + name + QStringLiteral(".lng"));
    EXPECT_TRUE(r.ok) << name.toStdString() << ": " << r.error.toStdString();
    return IniData::parse(r.lines);
}

bool hasKey(const IniData &data, const QString &section, const QString &key) {
    const IniSection *s = data.section(section);
    if (!s)
        return false;
    for (const IniEntry &e : s->entries)
        if (e.key.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Every "section/key" of a file.
QSet<QString> keysOf(const IniData &data) {
    QSet<QString> out;
    for (const IniSection &s : data.sections)
        for (const IniEntry &e : s.entries)
            out.insert(s.name.toLower() + QLatin1Char('/') + e.key.toLower());
    return out;
}

TEST(LanguageFiles, EachNamesItsLanguageAndHoldsEveryMessage) {
    const QStringList messages = {
        "Untitled", "OpenTitle", "SaveTitle", "Save1", "Save3", "Save5", "NoTable", "ErrorLastOpen", "NoProgram", "Help",
        "Save6", "DelAll", "DelMachine", "ErrorComm", "NoComm", "NewPrj", "OpenTitlePrj", "SaveTitlePrj", "ErrorSavePrj", "Other"};
    for (const QString &lang : kLanguages) {
        const IniData data = languageFile(lang);
        EXPECT_TRUE(hasKey(data, "Language", "Language")) << lang.toStdString();
        for (const QString &key : messages)
            EXPECT_TRUE(hasKey(data, "Messages", key)) << lang.toStdString() << ": Messages/" << key.toStdString();
        // Sections are merged: each name appears once.
        QSet<QString> names;
        for (const IniSection &s : data.sections) {
            EXPECT_FALSE(names.contains(s.name.toLower())) << lang.toStdString() << ": " << s.name.toStdString();
            names.insert(s.name.toLower());
        }
    }
}

// The English file is a full translation: the same sections and keys as the Czech one.
TEST(LanguageFiles, EnglishTranslatesEveryCzechKey) {
    const QSet<QString> cs = keysOf(languageFile("Cestina"));
    const QSet<QString> en = keysOf(languageFile("English"));
    EXPECT_GT(cs.size(), 100);
    for (const QString &k : cs)
        EXPECT_TRUE(en.contains(k)) << "English lacks " << k.toStdString();
    for (const QString &k : en)
        EXPECT_TRUE(cs.contains(k)) << "Czech lacks " << k.toStdString();
}

// Every languageText("Section", "Key") the sources hold names a key of both files.
TEST(LanguageFiles, HoldEveryTextTheProgramReads) {
    const QRegularExpression call(QStringLiteral(
        R"re(languageText\(\s*(?:QStringLiteral\(|QLatin1String\(|u)?"([^"]+)"(?:_s)?\)?\s*,\s*(?:QStringLiteral\(|QLatin1String\(|u)?"([^"]+)")re"));
    QList<IniData> files;
    for (const QString &lang : kLanguages)
        files << languageFile(lang);
    int found = 0;
    const QString root = QStringLiteral(VELMORA_SOURCE_DIR);
    for (const char *dir : {"app", "cli", "common", "shell", "nctext", "tooltables", "comm", "calculators", "templates",
                            "projects", "plugin", "simulator"}) {
        QDirIterator it(root + QLatin1Char('/') + QLatin1String(dir), {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(f.readAll());
            for (auto m = call.globalMatch(text); m.hasNext();) {
                const auto match = m.next();
                ++found;
                for (int i = 0; i < files.size(); ++i)
                    EXPECT_TRUE(hasKey(files[i], match.captured(1), match.captured(2)))
                        << kLanguages[i].toStdString() << " lacks " << match.captured(1).toStdString() << "/"
                        << match.captured(2).toStdString() << " read in " << path.toStdString();
            }
        }
    }
    EXPECT_GT(found, 0); // the scan itself works
}

} // namespace
} // namespace velmora
