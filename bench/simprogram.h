#pragma once
// The generated programs of the simulator benchmarks: a 1,000,000-line Heidenhain
// ISO program (rapid and feed moves, arcs, Q assignments, D functions, a counted
// loop in every group of 13 lines) and its RS274NGC twin.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora::bench {

constexpr int kGroupLines = 14;

// Where group g stands: one workpiece of about 330 x 210 mm, the groups 3 mm
// apart in rows of 100, the rows 2 mm apart, each group 30 x 10 mm: dense, as the
// paths of a program of a million blocks are.
inline int groupX(int g) { return (g % 100) * 3; }
inline int groupY(int g) { return (g / 100) % 100 * 2; }
// Groups in a program of about `lines` lines (a header, the end block and the end line besides).
inline int groupCount(int lines) { return (lines - 3) / kGroupLines; }

// One group: its datum shift, then a counted loop of three passes over a line, two
// arcs and a Q assignment.
inline QStringList heidenhainProgram(int lines) {
    QStringList out;
    out.reserve(lines + 2);
    out << QStringLiteral("%BENCH G71 *");
    int n = 10;
    // An assignment has no block end "*": the evaluator would read it as a missing factor.
    auto block = [&](const QString &text) {
        out << (text.contains(QLatin1Char('=')) ? QStringLiteral("N%1 %2") : QStringLiteral("N%1 %2 *")).arg(n).arg(text);
        n += 10;
    };
    for (int g = 1; g <= groupCount(lines); ++g) {
        block(QStringLiteral("G54 X+%1 Y+%2").arg(groupX(g)).arg(groupY(g)));
        block(QStringLiteral("G00 G90 G17 X0 Y0 Z5"));
        block(QStringLiteral("G01 Z-1 F300"));
        block(QStringLiteral("D00 Q10 P01 +0"));
        block(QStringLiteral("G98 L%1").arg(g));
        block(QStringLiteral("D01 Q10 P01 +Q10 P02 +1"));
        block(QStringLiteral("Q11 = Q10 * 10"));
        block(QStringLiteral("G01 X+Q11 Y+0"));
        block(QStringLiteral("G02 X+Q11 Y+10 I+Q11 J+5"));
        block(QStringLiteral("G03 X+Q11 Y+0 I+Q11 J+5"));
        block(QStringLiteral("D12 P01 +Q10 P02 +3 P03 %1").arg(g));
        block(QStringLiteral("G00 Z5"));
        block(QStringLiteral("D03 Q12 P01 +Q10 P02 +2"));
        block(QStringLiteral("G01 X0 Y0 F500"));
    }
    block(QStringLiteral("G00 Z100 M30"));
    out << QStringLiteral("N99999999 %BENCH G71 *");
    return out;
}

// The same moves, assignments and loops in RS274NGC, group for group.
inline QByteArray ngcTwin(int lines) {
    QByteArray out;
    out.reserve(lines * 24);
    out += "G21 G17 G90\n";
    for (int g = 1; g <= groupCount(lines); ++g) {
        out += "#20 = " + QByteArray::number(groupX(g)) + "\n#21 = " + QByteArray::number(groupY(g)) + "\n";
        out += "G0 G90 G17 X#20 Y#21 Z5\nG1 Z-1 F300\n#10 = 0\n";
        out += "o" + QByteArray::number(g) + " while [#10 LT 3]\n";
        out += "#10 = [#10 + 1]\n#11 = [#10 * 10 + #20]\nG1 X#11 Y#21\nG2 X#11 Y[#21 + 10] I0 J5\n"
               "G3 X#11 Y#21 I0 J-5\n";
        out += "o" + QByteArray::number(g) + " endwhile\n";
        out += "G0 Z5\n#12 = [#10 * 2]\nG1 X#20 Y#21 F500\n";
    }
    out += "G0 Z100\nM2\n";
    return out;
}

} // namespace velmora::bench
