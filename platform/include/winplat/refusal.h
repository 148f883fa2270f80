// One way to say no. A call, a load or a parser that refuses says why: the reason, who refused
// and where in our code, written to the debug output (silent unless WINPLAT_DEBUG is set; tests
// capture it). A flag, style or mode that the layer does not support is a programming error of
// the caller: it also trips a debug assertion, which tests that probe such refusals switch off.
#ifndef WINPLAT_REFUSAL_H
#define WINPLAT_REFUSAL_H

#include <source_location>
#include <string_view>

#include "winplat/types.h"

namespace winplat {

// What one refusal says: the refusing party ("winplat: BitBlt", "lect32: record file"), the
// reason a person can read, and the place in our code that decided it.
struct Refusal {
    std::string_view who;
    std::string_view why;
    std::source_location where;
};

// Writes "<who>: refused: <why> [file:line]" to the debug output.
WINPLAT_API void logRefusal(const Refusal& refusal);

// Whether an unsupported flag aborts the process (debug builds, unless switched off) or is only
// logged (release builds).
WINPLAT_API bool debugAssertsEnabled();

// Logs the refusal and, while debug assertions are enabled, aborts: an unsupported flag, style
// or mode means the caller asked for something this layer was never built to do.
WINPLAT_API void reportUnsupported(const Refusal& refusal);

// A refusing party, named once per file: refuse(failureValue, "why") logs and returns the value.
class Refuser {
public:
    constexpr explicit Refuser(std::string_view who) : who_(who) {}

    template <class T>
    T operator()(T failure, std::string_view why,
                 std::source_location where = std::source_location::current()) const {
        logRefusal({who_, why, where});
        return failure;
    }

    // Logs only, for a refusal whose failure value the caller returns itself.
    void log(std::string_view why, std::source_location where = std::source_location::current()) const {
        logRefusal({who_, why, where});
    }

    template <class T>
    T unsupported(T failure, std::string_view what,
                  std::source_location where = std::source_location::current()) const {
        reportUnsupported({who_, what, where});
        return failure;
    }

    std::string_view who() const { return who_; }

private:
    std::string_view who_;
};

}  // namespace winplat

#endif
