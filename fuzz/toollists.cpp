// The tool listings and the tool list file on any program: a Heidenhain listing
// never lists a tool twice, the quick tool-word set agrees with the word test,
// a tree saved to a tool list file reads back as the same tree, and moving the
// list into a table keeps the table's shape.
#include "fuzz/fuzz_check.h"
#include "tooltables/logic/toollists.h"
#include "tooltables/logic/tooltable.h"

namespace {

void checkToolWords(const QString &text) {
    QSet<QString> words;
    velmora::addToolWords(text, words);
    for (const QString &w : words)
        FUZZ_CHECK(velmora::nodeNamesTool(text, w));
    // Every "T" with the digits after it that the word test accepts is in the set.
    for (qsizetype at = text.indexOf(u'T'); at >= 0; at = text.indexOf(u'T', at + 1)) {
        qsizetype end = at + 1;
        while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
            ++end;
        const QString w = text.mid(at, end - at);
        if (velmora::nodeNamesTool(text, w))
            FUZZ_CHECK(words.contains(w));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    ToolListOptions o;
    o.lastLine = in.choice(2);
    o.format17 = in.choice(2);
    const bool asFile = in.choice(4) == 0;
    const QStringList lines = in.lines();

    if (asFile) {
        // The lines as a tool list file.
        QList<ToolListItem> items;
        QString error;
        if (!parseToolListFile(lines, items, &error)) {
            FUZZ_CHECK(error.startsWith(QStringLiteral("Invalid level (")));
            return 0;
        }
        int previous = -1;
        for (const ToolListItem &item : items) {
            FUZZ_CHECK(item.level >= 0 && item.level <= previous + 1);
            previous = item.level;
        }
        QList<ToolListItem> back;
        FUZZ_CHECK(parseToolListFile(toolListFileLines(items), back, &error));
        FUZZ_CHECK(back == items);
        return 0;
    }

    QList<ToolListItem> tree;
    appendListing(tree, mazakListing(lines, QStringLiteral("A.NC"), o));
    QSet<QString> listed;
    for (const ToolListItem &item : tree)
        addToolWords(item.text, listed);
    const ToolListing h = heidenhainListing(lines, QStringLiteral("B.H"), o,
                                            [&](const QString &w) { return listed.contains(w); });
    for (int i = 0; i < h.children.size(); ++i) {
        const QString &child = h.children[i];
        FUZZ_CHECK(child.startsWith(u'T'));
        const QString word = child.left(child.indexOf(u' '));
        FUZZ_CHECK(!treeNamesTool(tree, word));
        for (int j = 0; j < i; ++j)
            FUZZ_CHECK(!nodeNamesTool(h.children[j], word));
    }
    appendListing(tree, h);
    const ToolListing u = unformattedListing(lines, QStringLiteral("C.NC"));
    FUZZ_CHECK(u.children.size() <= 3 * lines.size());
    appendListing(tree, u);
    for (const ToolListItem &item : tree) {
        FUZZ_CHECK(!item.text.contains(u'\r') && !item.text.contains(u'\n'));
        checkToolWords(item.text);
    }

    // Saved and read back, the tree is the same.
    QList<ToolListItem> back;
    QString error;
    FUZZ_CHECK(parseToolListFile(toolListFileLines(tree), back, &error));
    FUZZ_CHECK(back == tree);

    // Moved into a new table: still a whole table, the header name set.
    QStringList table(kToolTableLines, QString(60, u' '));
    table[0] = QStringLiteral("BEGIN 0000     MM");
    ToolTable t(ToolTableKind::Tnc407);
    FUZZ_CHECK(t.load(table));
    QStringList texts;
    for (const ToolListItem &item : tree)
        texts << item.text;
    int cut = 0;
    moveToolListIntoTable(texts, t, &cut);
    FUZZ_CHECK(t.lines().size() == kToolTableLines);
    FUZZ_CHECK(cut >= 0 && cut <= kMaxTools);
    FUZZ_CHECK(t.lines()[1] == table[1] && t.lines()[kToolTableLines - 1] == table[kToolTableLines - 1]);
    return 0;
}
