#pragma once
// The INI reading and writing rule shared by every INI file of the program
// (SetupCNC.ini, stroje.ini, language files, Plugin/Simdra.ini, ...).
//
// Reading: section and key names are found without regard to letter case; the
// first section and the first key of a name count. A value is the text after
// the first "=", with blanks at both ends removed and one pair of enclosing
// quotes removed; at most 2047 characters are read. A default given for a
// missing key loses its trailing blanks too. Booleans are true for any integer
// other than 0.
//
// Writing puts the value after "=" unchanged, creates the file, the section or
// the key when missing, and saves the file atomically in Windows-1250 with
// CR LF line ends.
//
// The file is opened, read or written and closed at each call: nothing is cached.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace velmora {

struct IniEntry {
    QString key;
    QString value; // value after the reading rule
};

struct IniSection {
    QString name;
    QList<IniEntry> entries; // in file order, duplicates kept
};

// A parsed INI text, every section and key in file order.
struct IniData {
    QList<IniSection> sections;
    static IniData parse(const QStringList &lines);
    const IniSection *section(const QString &name) const; // first of that name, any case
};

// The reading rule applied to the raw text after "=".
QString iniValue(QStringView raw);

class IniFile {
public:
    explicit IniFile(QString path);

    const QString &path() const { return path_; }

    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;
    bool hasKey(const QString &section, const QString &key) const;

    QStringList sections() const;                       // in file order, first of each name
    QStringList keys(const QString &section) const;     // in file order
    IniData read() const;                               // the whole file

    // Writing returns false (with a reason in lastError()) when the file cannot be written.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);
    bool eraseSection(const QString &section);
    bool deleteKey(const QString &section, const QString &key);
    // Writes several keys of one section with a single rewrite of the file.
    bool writeSection(const QString &section, const QList<QPair<QString, QString>> &values);

    QString lastError() const { return error_; }

private:
    QStringList lines() const;
    bool store(const QStringList &lines);
    QString path_;
    QString error_;
};

// Parses an integer as the settings do: optional blanks and sign, decimal
// digits or "$"/"0x" followed by hexadecimal digits.
bool parseIniInteger(QStringView text, int &value);

} // namespace velmora
