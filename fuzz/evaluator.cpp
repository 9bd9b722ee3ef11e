// The expression evaluator on any text: the error is one of its codes, the value is
// never NaN, and a text without clock or random names gives the same value and
// error each time. A text that evaluates without error keeps its value when blanks
// are added around it.
#include "fuzz/fuzz_check.h"
#include "simulator/logic/evaluator.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using velmora::sim::TEvaluator;
    FuzzInput in(data, size);
    const QString text = in.text(size);
    TEvaluator ev;
    int messages = 0;
    ev.onMessage = [&](const QString &) { ++messages; };
    const double v = ev.Evaluate(text);
    FUZZ_CHECK(ev.error() >= 0 && ev.error() <= 8);
    FUZZ_CHECK(!std::isnan(v));
    if (QString(text).remove(QLatin1Char(' ')).isEmpty())
        FUZZ_CHECK(ev.error() == TEvaluator::ERR_EMPTY_STRING);

    const QString upper = text.toUpper();
    static const char *const moving[] = {"RANDOM", "YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
    bool stable = true;
    for (const char *m : moving)
        stable = stable && !upper.contains(QLatin1String(m));
    if (stable) {
        TEvaluator again;
        const double w = again.Evaluate(text);
        FUZZ_CHECK(again.error() == ev.error());
        FUZZ_CHECK(w == v || (std::isnan(w) && std::isnan(v)));
        if (ev.error() == TEvaluator::ERR_NONE) {
            TEvaluator padded;
            const double p = padded.Evaluate(QStringLiteral("  ") + text + QStringLiteral(" "));
            FUZZ_CHECK(padded.error() == TEvaluator::ERR_NONE);
            FUZZ_CHECK(p == v);
        }
    }
    return 0;
}
