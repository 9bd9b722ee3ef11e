// Geometry files (.kge circle groups, .pge line groups) on any text: a tree read
// from a file saves back to lines that read as the same tree, and recalculating
// the loaded groups either reports a field error or brings the report up to date,
// with NC blocks whose numbers carry no exponent and no infinity.
#include "calculators/logic/circle.h"
#include "calculators/logic/geotree.h"
#include "calculators/logic/linepoints.h"
#include "common/numbers.h"
#include "fuzz/fuzz_check.h"

#include <QRegularExpression>

namespace {

void checkBlocks(const QStringList &blocks) {
    static const QRegularExpression bad(QStringLiteral("[0-9.][eE][-+]?[0-9]|nan|inf"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (int i = 1; i < blocks.size(); ++i)
        FUZZ_CHECK(!bad.match(blocks[i]).hasMatch());
}

int roots(const velmora::calc::GeoTree &tree) {
    int n = 0;
    for (const auto &node : tree)
        n += node.depth == 0;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    using namespace velmora::calc;
    FuzzInput in(data, size);
    const bool circle = in.choice(2);
    const QStringList lines = in.lines();
    const GeoTree tree = geoTreeFromLines(lines);
    FUZZ_CHECK(tree.size() == lines.size());
    int previous = -1;
    for (const GeoNode &n : tree) {
        FUZZ_CHECK(n.depth >= 0 && n.depth <= previous + 1);
        FUZZ_CHECK(!n.text.startsWith(u' ') && !n.text.startsWith(u'\t'));
        previous = n.depth;
    }
    FUZZ_CHECK(geoTreeFromLines(geoFileLines(tree)) == tree);
    if (roots(tree) > 3)
        return 0; // up to 10,000 holes a group: a few groups are enough

    const auto never = [] { return false; };
    if (circle) {
        CircleCalculator c(CircleTexts::czech());
        c.setTree(tree);
        FUZZ_CHECK(c.reportIsStale());
        try {
            c.recalculate(never);
        } catch (const ConversionError &) {
            return 0;
        }
        FUZZ_CHECK(!c.reportIsStale());
        checkBlocks(circleBlocks(c.report(), CircleTexts::czech(), QStringLiteral("N1")));
    } else {
        LineCalculator l(LineTexts::czech());
        l.setTree(tree);
        try {
            l.recalculate();
        } catch (const ConversionError &) {
            return 0;
        }
        FUZZ_CHECK(!l.reportIsStale());
        checkBlocks(lineBlocks(l.report(), LineTexts::czech(), QStringLiteral("N1")));
    }
    return 0;
}
