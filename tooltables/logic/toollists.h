#pragma once
// Tool lists: the tools a program uses, gathered from its comments near the
// tool changes, as a tree of texts (one top-level node per listed program).
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

namespace velmora {

class ToolTable;

struct ToolListOptions {
    bool lastLine = false; // the last line of a run of comment lines names the tool (else the first)
    bool format17 = false; // Heidenhain: the description is characters 2-19 of the comment
};

// Reads the listing options from section "Format" of SetupCNC.ini
// ("Radek": 0 first line, 1 last line; "Pocet": 0 format to 17 characters, 1 do not).
ToolListOptions toolListOptionsFromSettings();

// One listing: the top-level node and its children.
struct ToolListing {
    QString top;
    QStringList children;
};

// Mazak EIA: comments in parentheses, tool changes "T", length offsets "G43 H",
// head changes M941/M942/M943.
ToolListing mazakListing(const QStringList &lines, const QString &fileName, const ToolListOptions &options);

// Heidenhain ISO: comments beginning with ";", tool changes "T". `listed` tells
// whether a tool word ("T12") is already in the tree; the children this listing
// adds count too.
ToolListing heidenhainListing(const QStringList &lines, const QString &fileName, const ToolListOptions &options,
                              const std::function<bool(const QString &toolWord)> &listed);

// Every comment of every line: ";" to the end (without the last character),
// "(...)" and "\"...\"".
ToolListing unformattedListing(const QStringList &lines, const QString &fileName);

// Whether a node text names the tool word: "T12" stands in it as a word of its
// own, so "T1" is not found in "T12 VRTAK" nor in "PART1".
bool nodeNamesTool(const QString &nodeText, const QString &toolWord);
// Every tool word that nodeNamesTool finds in the text, for quick look-ups.
void addToolWords(const QString &nodeText, QSet<QString> &words);

// A node of the tool list in tree order with its depth (0 for top-level nodes).
struct ToolListItem {
    int level = 0;
    QString text;
    bool operator==(const ToolListItem &o) const { return level == o.level && text == o.text; }
};

// The tree with a listing added: its top-level node and the children below it.
void appendListing(QList<ToolListItem> &items, const ToolListing &listing);
// Whether any node of the tree names the tool word (nodeNamesTool).
bool treeNamesTool(const QList<ToolListItem> &items, const QString &toolWord);

// The tool list file: one node per line, one tab per level in front of the text.
QStringList toolListFileLines(const QList<ToolListItem> &items);
// Reads the file's lines; the leading blanks and tabs give the level, and a line
// may go at most one level deeper than the line before it. Returns false with
// "Invalid level (%d) for item "%s"" in `error` otherwise. Empty lines are skipped.
bool parseToolListFile(const QStringList &lines, QList<ToolListItem> &items, QString *error);

// Moving a tool list into a 407/426 table: the table name from the first node
// (after its first ":" up to the next "." , with ".tnc"), and each further node
// up to tool 100 as a tool line (name without the first word and the last
// character, radius from the name). Returns the table name; `cutNames` counts
// the names longer than the name field.
QString moveToolListIntoTable(const QStringList &nodeTexts, ToolTable &table, int *cutNames = nullptr);

} // namespace velmora
