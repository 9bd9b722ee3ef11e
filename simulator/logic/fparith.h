#pragma once
// Floating-point arithmetic that reports the faults a control program can run
// into (division by zero, overflow, invalid operation) instead of producing
// infinities and NaNs. Values that are already infinite pass through quietly,
// as on the FPU: only an operation that creates the fault raises it.
#include <cmath>

namespace velmora::sim {

enum class FpFault { ZeroDivide, Overflow, InvalidOp };

struct FpError {
    FpFault fault;
};

// The run-time message of a fault, as a block that fails on it shows it.
const char *fpFaultMessage(FpFault fault);

namespace fp {

[[noreturn]] inline void raise(FpFault f) { throw FpError{f}; }

inline double checked(double r, double a, double b) {
    if (std::isnan(r) && !std::isnan(a) && !std::isnan(b))
        raise(FpFault::InvalidOp);
    if (std::isinf(r) && std::isfinite(a) && std::isfinite(b))
        raise(FpFault::Overflow);
    return r;
}
inline double add(double a, double b) { return checked(a + b, a, b); }
inline double sub(double a, double b) { return checked(a - b, a, b); }
inline double mul(double a, double b) { return checked(a * b, a, b); }
inline double div(double a, double b) {
    if (b == 0) {
        if (a == 0 || std::isnan(a))
            raise(FpFault::InvalidOp);
        if (std::isfinite(a))
            raise(FpFault::ZeroDivide);
    }
    return checked(a / b, a, b);
}
// The result of a library function of finite arguments.
inline double result(double r) {
    if (std::isnan(r))
        raise(FpFault::InvalidOp);
    if (std::isinf(r))
        raise(FpFault::Overflow);
    return r;
}
inline double sqrt(double x) {
    if (x < 0)
        raise(FpFault::InvalidOp);
    return std::sqrt(x);
}
inline double ln(double x) {
    if (x == 0)
        raise(FpFault::ZeroDivide);
    if (x < 0 || std::isnan(x))
        raise(FpFault::InvalidOp);
    return std::log(x);
}
inline double log10(double x) {
    if (x == 0)
        raise(FpFault::ZeroDivide);
    if (x < 0 || std::isnan(x))
        raise(FpFault::InvalidOp);
    return std::log10(x);
}
inline double exp(double x) {
    if (std::isinf(x))
        return x > 0 ? x : 0.0;
    return result(std::exp(x));
}

} // namespace fp
} // namespace velmora::sim
