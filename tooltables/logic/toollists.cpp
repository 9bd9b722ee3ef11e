#include "tooltables/logic/toollists.h"

#include "common/ini.h"
#include "common/numbers.h"
#include "common/programfolder.h"
#include "tooltables/logic/tooltable.h"

namespace velmora {

ToolListOptions toolListOptionsFromSettings() {
    const IniFile ini(setupIniPath());
    ToolListOptions o;
    o.lastLine = ini.readInteger(QStringLiteral("Format"), QStringLiteral("Radek"), 0) == 1;
    o.format17 = ini.readInteger(QStringLiteral("Format"), QStringLiteral("Pocet"), 1) == 0;
    return o;
}

namespace {

// The number after the first occurrence of `letter` (NumberAfter counts the
// letter's 1-based position; a missing letter reads from the start).
QString numberAfterLetter(const QString &text, QChar letter) {
    return NumberAfter(text, int(text.indexOf(letter)) + 1);
}

void removeFirst(QString &text, QChar c) {
    const qsizetype i = text.indexOf(c);
    if (i >= 0)
        text.remove(i, 1);
}

// After a run of comment lines that begin with `mark` starting at i: the index
// of the first line after the run (may be n).
int afterCommentRun(const QStringList &lines, int i, QChar mark) {
    do
        ++i;
    while (i < lines.size() && lines[i].startsWith(mark));
    return i;
}

} // namespace

ToolListing mazakListing(const QStringList &lines, const QString &fileName, const ToolListOptions &options) {
    ToolListing out;
    out.top = QStringLiteral("Nástroje z programu MAZAK :") + fileName;
    const int n = int(lines.size());
    bool head45 = false;
    // The last line never starts a search.
    for (int i = 0; i < n - 1; ++i) {
        const QString s = lines[i];
        if (s.isEmpty())
            continue;
        if (s.contains(QLatin1String("M941"))) {
            out.children << QStringLiteral("VERTIKÁLNÍ HLAVA ");
            head45 = false;
        }
        if (s.contains(QLatin1String("M942"))) {
            out.children << QStringLiteral("HORIZONTALNI HLAVA ");
            head45 = false;
        }
        if (s.contains(QLatin1String("M943"))) {
            out.children << QStringLiteral("ŠIKMÁ HLAVA 45°");
            head45 = true;
        }
        if (!s.startsWith(u'('))
            continue;
        QString comment = s;
        if (options.lastLine) {
            i = afterCommentRun(lines, i, u'(');
            comment = lines[i - 1];
        }
        QString tfield, hfield;
        bool found = false, withH = false;
        // The window around i; i grows when a tool or an offset is found, and
        // the rest of the window follows it.
        for (int w = -1; w <= 7; ++w) {
            const int k = w + 2;
            if (i + w < 0 || i + k > n - 1)
                break;
            const QString t = lines[i + w];
            if (t.isEmpty() || t.startsWith(u'('))
                continue;
            if (t.contains(u'T')) {
                tfield = QStringLiteral("T") + numberAfterLetter(t, u'T');
                tfield = tfield.leftJustified(4, u' ');
                removeFirst(comment, u'(');
                removeFirst(comment, u')');
                found = true;
                i += k;
            }
            if (t.contains(QLatin1String("G43"))) {
                hfield = QStringLiteral("H") + numberAfterLetter(t, u'H');
                const int blanks = 35 - int(tfield.size() + comment.size());
                if (blanks > 0)
                    hfield.prepend(QString(blanks, u' '));
                removeFirst(comment, u'(');
                removeFirst(comment, u')');
                withH = !head45;
                i += k;
            }
        }
        if (found)
            out.children << (withH ? tfield + comment + hfield : tfield + comment);
        // The search goes on after the lines used.
        if (i >= n - 1)
            break;
    }
    return out;
}

bool nodeNamesTool(const QString &nodeText, const QString &toolWord) {
    if (toolWord.isEmpty())
        return false;
    for (qsizetype at = nodeText.indexOf(toolWord); at >= 0; at = nodeText.indexOf(toolWord, at + 1)) {
        const bool startsWord = at == 0 || !nodeText[at - 1].isLetterOrNumber();
        const qsizetype end = at + toolWord.size();
        const bool endsNumber = end >= nodeText.size() || !nodeText[end].isDigit();
        if (startsWord && endsNumber)
            return true;
    }
    return false;
}

void addToolWords(const QString &nodeText, QSet<QString> &words) {
    const auto numberChar = [](QChar c) { return c == u'+' || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9'); };
    for (qsizetype at = nodeText.indexOf(u'T'); at >= 0; at = nodeText.indexOf(u'T', at + 1)) {
        if (at > 0 && nodeText[at - 1].isLetterOrNumber())
            continue;
        // "T" with each part of the number run after it that no digit follows.
        qsizetype end = at + 1;
        while (true) {
            if (end >= nodeText.size() || !nodeText[end].isDigit())
                words.insert(nodeText.mid(at, end - at));
            if (end >= nodeText.size() || !numberChar(nodeText[end]))
                break;
            ++end;
        }
    }
}

ToolListing heidenhainListing(const QStringList &lines, const QString &fileName, const ToolListOptions &options,
                              const std::function<bool(const QString &)> &listed) {
    ToolListing out;
    out.top = QStringLiteral("Nástroje z programu Heidenhain :") + fileName;
    const int n = int(lines.size());
    // The tool words of this listing's nodes, kept as they are added.
    QSet<QString> own;
    addToolWords(out.top, own);
    auto alreadyListed = [&](const QString &word) {
        if (own.contains(word))
            return true;
        return listed && listed(word);
    };
    for (int i = 0; i < n - 1; ++i) {
        QString cm = lines[i];
        if (!cm.startsWith(u';'))
            continue;
        if (options.lastLine) {
            i = afterCommentRun(lines, i, u';');
            cm = lines[i - 1];
        }
        for (int w = -4; w <= 3; ++w) {
            const int k = w + 5;
            if (i + w < 0 || i + k > n - 1)
                break;
            const QString t = lines[i + w];
            if (t.isEmpty() || t.startsWith(u';') || !t.contains(u'T'))
                continue;
            const QString word = QStringLiteral("T") + numberAfterLetter(t, u'T');
            if (alreadyListed(word))
                break;
            const QString description = options.format17 ? cm.mid(1, 18) : cm;
            out.children << word + u' ' + description;
            addToolWords(out.children.last(), own);
            i += k;
            break;
        }
        if (i >= n - 1)
            break;
    }
    return out;
}

ToolListing unformattedListing(const QStringList &lines, const QString &fileName) {
    ToolListing out;
    out.top = QStringLiteral("Neformát. nástroje z programu :") + fileName;
    // A node cannot begin with a blank or a tab: the tool list file reads those
    // as its level, so "(  VRTAK)" would come back as a node two levels deeper
    // (and the file would not load at all).
    const auto add = [&out](QString text) {
        qsizetype k = 0;
        while (k < text.size() && (text[k] == u' ' || text[k] == u'\t'))
            ++k;
        out.children << text.mid(k);
    };
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const qsizetype semi = line.indexOf(u';');
        if (semi >= 0)
            add(line.mid(semi, line.size() - 1 - semi));
        const qsizetype open = line.indexOf(u'(');
        if (open >= 0) {
            const qsizetype close = line.indexOf(u')', open + 1);
            add(line.mid(open + 1, close < 0 ? -1 : close - open - 1));
        }
        const qsizetype quote = line.indexOf(u'"');
        if (quote >= 0) {
            const qsizetype end = line.indexOf(u'"', quote + 1);
            add(line.mid(quote + 1, end < 0 ? -1 : end - quote - 1));
        }
    }
    return out;
}

void appendListing(QList<ToolListItem> &items, const ToolListing &listing) {
    items.append({0, listing.top});
    for (const QString &child : listing.children)
        items.append({1, child});
}

bool treeNamesTool(const QList<ToolListItem> &items, const QString &toolWord) {
    for (const ToolListItem &item : items)
        if (nodeNamesTool(item.text, toolWord))
            return true;
    return false;
}

QStringList toolListFileLines(const QList<ToolListItem> &items) {
    QStringList out;
    out.reserve(items.size());
    for (const ToolListItem &item : items)
        out << QString(item.level, u'\t') + item.text;
    return out;
}

bool parseToolListFile(const QStringList &lines, QList<ToolListItem> &items, QString *error) {
    QList<ToolListItem> result;
    int previous = -1;
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        int level = 0;
        while (level < line.size() && (line[level] == u' ' || line[level] == u'\t'))
            ++level;
        const QString text = line.mid(level);
        if (level > previous + 1) {
            if (error)
                *error = QStringLiteral("Invalid level (%1) for item \"%2\"").arg(level).arg(text);
            return false;
        }
        result.append({level, text});
        previous = level;
    }
    items = result;
    return true;
}

QString moveToolListIntoTable(const QStringList &nodeTexts, ToolTable &table, int *cutNames) {
    QString tableName;
    if (!nodeTexts.isEmpty()) {
        const QString first = nodeTexts.first();
        tableName = first.mid(first.indexOf(u':') + 1);
        const qsizetype dot = tableName.indexOf(u'.');
        if (dot >= 0)
            tableName.truncate(dot);
    }
    int cut = 0;
    for (int j = 1; j < nodeTexts.size() && j <= kMaxTools; ++j) {
        const QString text = nodeTexts[j];
        QString name;
        qsizetype at = text.indexOf(u' ');
        if (at >= 0) {
            while (at < text.size() && text[at] == u' ')
                ++at;
            name = text.mid(at);
        }
        // Heidenhain comment lines end with the block end character.
        name.chop(1);
        const int line = j + 2;
        if (table.setName(line, name))
            ++cut;
        table.setRadius(line, radiusTextFromName(name));
    }
    if (cutNames)
        *cutNames = cut;
    return tableName + QStringLiteral(".tnc");
}

} // namespace velmora
