#pragma once
// A simulator on a program given as lines, with every message it shows recorded.
#include "simulator/logic/interpreter.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace velmora::sim::test {

// Program lines from UTF-8 literals.
inline QStringList lines(std::initializer_list<const char *> l) {
    QStringList out;
    for (const char *s : l)
        out << QString::fromUtf8(s);
    return out;
}

struct Message {
    MessageKind kind;
    int line;
    QString text;
};

class Recorder final : public SimMessages {
public:
    void show(MessageKind kind, int line, const QString &text) override { messages.push_back({kind, line, text}); }
    QStringList texts() const {
        QStringList out;
        for (const Message &m : messages)
            out << m.text;
        return out;
    }
    std::vector<Message> messages;
};

class Marks final : public RunHooks {
public:
    std::set<int> lines;
    int inputChecks = 0;
    bool stopMarkAt(int line) override { return lines.count(line) != 0; }
    void letInputThrough() override { ++inputChecks; }
};

// The program's first line is the "%" header, so blocks start on line 2.
struct Sim {
    explicit Sim(const QStringList &blocks, bool header = true)
        : program(header ? QStringList{QStringLiteral("%TEST G71 *")} + blocks : blocks), sim(module, program, &recorder) {
        sim.reset();
    }
    // Executes every block of the program by single steps.
    void stepAll() {
        while (sim.caret() < program.lineCount())
            sim.step();
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i)
            sim.step();
    }
    const TSouradnice &c() const { return module.state.c; }
    InterpreterState &state() { return module.state; }

    SimModule module;
    Recorder recorder;
    StringListProgram program;
    Simulation sim;
};

} // namespace velmora::sim::test
