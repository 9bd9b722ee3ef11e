#pragma once
// velmora-cli: commands register themselves with VELMORA_CLI_COMMAND in their own source file.
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace velmora::cli {

// Parsed options of one command: "--name value", "--flag", "-o value", and the remaining files.
class Options {
public:
    // `flags` are the options that take no value; every other "--x" takes the next argument.
    Options(const QStringList &args, const QStringList &flags);
    bool has(const QString &name) const;
    QString value(const QString &name, const QString &def = QString()) const;
    // Numbers accept "." or "," as the decimal mark; on a bad value these print the
    // message and throw UsageError.
    double number(const QString &name, double def) const;
    int integer(const QString &name, int def) const;
    const QStringList &positional() const { return positional_; }
    QStringList names() const;

private:
    std::map<QString, QString> values_;
    QStringList positional_;
};

// Thrown for bad usage or bad input; main prints the message (UTF-8) and exits with 2.
struct UsageError {
    QString message;
};

// Output: program text goes to standard output as the program writes files
// (Windows-1250, CR LF), or as UTF-8 with LF when --utf8 was given.
bool utf8Output();
void setUtf8Output(bool on);
// Writes lines; throws UsageError naming the line when a character cannot be encoded.
void writeLines(const QStringList &lines);
void writeText(const QString &text);        // as writeLines, without splitting
void writeRaw(const QByteArray &bytes);      // bytes as they are
void writeError(const QString &message);     // one line on standard error, UTF-8

// Reads a program file (Windows-1250) into lines; throws UsageError naming the file.
QStringList readProgram(const QString &path);
// Writes a file atomically; throws UsageError naming the file.
void writeProgram(const QString &path, const QStringList &lines);

struct Command {
    QString name;
    QString summary;  // one line for the overview
    QString help;     // the full description of `velmora-cli NAME --help`
    std::function<int(const QStringList &args)> run;
};

std::map<QString, Command> &registry();

struct Registrar {
    explicit Registrar(Command c) { registry()[c.name] = std::move(c); }
};

} // namespace velmora::cli

#define VELMORA_CLI_CONCAT2(a, b) a##b
#define VELMORA_CLI_CONCAT(a, b) VELMORA_CLI_CONCAT2(a, b)
// VELMORA_CLI_COMMAND("name", "summary", "help", [](const QStringList &args) { ... return 0; });
#define VELMORA_CLI_COMMAND(...) \
    static const ::velmora::cli::Registrar VELMORA_CLI_CONCAT(velmoraCliCommand, __LINE__)(::velmora::cli::Command{__VA_ARGS__})
