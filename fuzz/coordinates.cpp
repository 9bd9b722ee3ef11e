// The coordinate check and the coordinate edit on any program: findings lie on
// real lines in order, name a letter the line really holds, and an edit changes
// only the one word it is asked to change.
#include "common/numbers.h"
#include "fuzz/fuzz_check.h"
#include "nctext/logic/coordinates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace velmora;
    FuzzInput in(data, size);
    const int column = in.byte();
    const bool blankSeparated = in.choice(2);
    const QString amount = in.choice(2) ? in.shortText(6) : QString::number(int(in.byte()) - 128) + QStringLiteral(",5");
    const QStringList lines = in.lines();

    const QList<CoordinateFinding> findings = checkCoordinates(lines);
    int previous = -1;
    for (const CoordinateFinding &f : findings) {
        FUZZ_CHECK(f.line >= previous && f.line < lines.size());
        FUZZ_CHECK(QStringLiteral("XYZRIJK").contains(f.letter));
        FUZZ_CHECK(lines[f.line].contains(f.letter));
        previous = f.line;
    }

    for (const QString &line : lines) {
        const QString word = wordAt(line, column, blankSeparated);
        if (word.isEmpty())
            continue;
        FUZZ_CHECK(line.contains(word));
        QString edited;
        try {
            edited = editCoordinate(line, word, amount);
        } catch (const ConversionError &) {
            continue;
        }
        // Only the first letter+number run is rewritten: the text before it stays.
        const QString old = QString(word.at(0)) + NumberAfter(word, 1);
        const qsizetype at = line.indexOf(old);
        FUZZ_CHECK(at >= 0);
        FUZZ_CHECK(edited.left(at) == line.left(at));
        FUZZ_CHECK(edited.mid(edited.size() - (line.size() - at - old.size())) == line.mid(at + old.size()));
        // Numbers in NC words never carry an exponent.
        const QString written = edited.mid(at + 1, edited.size() - line.size() + old.size() - 1);
        FUZZ_CHECK(!written.contains(QLatin1Char('e')) && !written.contains(QLatin1Char('E')));
    }
    return 0;
}
