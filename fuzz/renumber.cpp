// Renumbering and spacing on any program: the line count never changes, a
// field error leaves every line as it was, lines outside the chosen range stay,
// renumbering twice gives what renumbering once gave, and spacing changes blanks only.
#include "common/numbers.h"
#include "fuzz/fuzz_check.h"
#include "nctext/logic/coordinates.h"
#include "nctext/logic/renumber.h"

#include <algorithm>

namespace {

QString field(FuzzInput &in) {
    // Mostly small numbers, sometimes anything.
    switch (in.choice(4)) {
    case 0: return in.shortText(6);
    case 1: return QString::number(in.byte() - 20);
    default: return QString::number(in.byte() % 50 + 1);
    }
}

QString withoutBlanks(QStringList lines) {
    QString all = lines.join(QLatin1Char('\n'));
    all.remove(QLatin1Char(' '));
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    RenumberOptions o;
    o.style = RenumberStyle(in.choice(3));
    o.page = RenumberPage(in.choice(3));
    o.to = EndMarker(in.choice(3));
    o.variant = HeidenhainVariant(in.choice(2));
    o.first = field(in);
    o.step = field(in);
    o.max = field(in);
    const int from = in.choice(8), to = in.choice(8) - 1;
    const QString blanks = field(in);
    const QStringList original = in.lines();

    QStringList once = original;
    bool failed = false;
    try {
        renumber(once, o, from, to);
    } catch (const ConversionError &) {
        failed = true;
    }
    FUZZ_CHECK(once.size() == original.size());
    if (failed) {
        FUZZ_CHECK(once == original);
    } else {
        if (o.page != RenumberPage::Heidenhain) {
            const int last = to < 0 ? int(original.size()) - 1 : to;
            for (int i = 0; i < original.size(); ++i)
                if (i < std::min(from, last) || i > std::max(from, last))
                    FUZZ_CHECK(once[i] == original[i]);
        }
        // Removing takes only a block number and the blanks after it from the front of a line.
        if (o.style == RenumberStyle::Remove && o.page != RenumberPage::Heidenhain)
            for (int i = 0; i < original.size(); ++i)
                FUZZ_CHECK(original[i].endsWith(once[i]));
        // Renumbering settles: a second run changes nothing. (Creating puts a
        // number in front of every block each time, and removing may uncover
        // another number, as in "N60 :80". The first block gets the first
        // number as typed, so it settles only when that text reads back as
        // the number it is: "+$0" is 0, but the scan reads "+" from "N+$0".)
        const QString first = o.first.trimmed();
        const bool firstReadsBack = !first.isEmpty() && NumberAfter(first, 0) == first;
        if ((o.style == RenumberStyle::Renumber && firstReadsBack) || o.page == RenumberPage::Heidenhain) {
            QStringList twice = once;
            renumber(twice, o, from, to);
            FUZZ_CHECK(twice == once);
        }
    }

    QStringList spaced = original;
    failed = false;
    try {
        applySpacing(spaced, blanks, o.to);
    } catch (const ConversionError &) {
        failed = true;
    }
    FUZZ_CHECK(spaced.size() == original.size());
    if (failed)
        FUZZ_CHECK(spaced == original);
    else
        FUZZ_CHECK(withoutBlanks(spaced) == withoutBlanks(original));
    return 0;
}
