#pragma once
// TEvaluator: the expression evaluator behind Q assignments ("Q1 = 2*SIN(PI/6)").
//
// Terms are summed from left to right, pieces of a term multiplied or divided
// into an accumulator, a piece may carry one power ("2^3"); numbers take "."
// or "," as the decimal mark; names are functions (with a bracketed
// argument), constants or variables. Failures never throw: they set `error`
// and the terms from the failing one on count 0, so the value is what was
// summed before the failure.
#include <QDateTime>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::sim {

class TEvaluator {
public:
    enum Error {
        ERR_NONE = 0,
        ERR_ZERO_DIVIDE = 1,
        ERR_OVERFLOW = 2,
        ERR_INVALID_OP = 3,
        ERR_DBL_POINT = 4,
        ERR_WRONG_SYNTAX = 5,
        ERR_WRONG_BRACKETS = 6,
        ERR_EMPTY_STRING = 7,
        ERR_OTHER = 8,
    };
    // "ERR_NONE" ... "ERR_OTHER"; empty for an unknown code.
    static const char *errorName(int code);

    QString expression;

    // Sets the error to ERR_NONE and returns the value of `expression`,
    // whatever the error (the partial value when there is one).
    double Evaluate();
    double Evaluate(const QString &text) {
        expression = text;
        return Evaluate();
    }
    int error() const { return error_; }

    // Named variables: names compared after upper-casing; false for a name
    // that is there already.
    bool addVariable(const QString &name, double value);

    // Shows the text of MSGBOX and MSGBOXCALC (caption "Message Box").
    std::function<void(const QString &text)> onMessage;
    // The clock behind YEAR ... MILLISECOND; the current local time when unset.
    std::function<QDateTime()> clock;

private:
    double evalText(std::u16string_view text);
    double term(std::u16string_view text);
    void signedFactor(std::u16string_view piece, char16_t &op, double &value);
    double primary(std::u16string_view text, size_t &used);
    double number(std::u16string_view text, size_t &used);
    double name(std::u16string_view text, size_t &used);
    double lookup(std::u16string_view name, bool hasArgument, double x, std::u16string_view argument);
    void fail(int code) {
        if (error_ == ERR_NONE)
            error_ = code;
    }

    int error_ = ERR_NONE;
    std::vector<std::pair<std::u16string, double>> variables_; // sorted by name
};

} // namespace velmora::sim
