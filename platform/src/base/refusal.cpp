#include "winplat/refusal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "winplat/host.h"
#include "winplat/testing.h"

namespace winplat {
namespace {

#ifdef NDEBUG
constexpr bool kDebugBuild = false;
#else
constexpr bool kDebugBuild = true;
#endif

std::atomic<bool> assertsEnabled{kDebugBuild};

std::string describe(const Refusal& refusal) {
    std::string_view file = refusal.where.file;
    if (const auto slash = file.find_last_of('/'); slash != std::string_view::npos) file.remove_prefix(slash + 1);
    std::string text;
    text.append(refusal.who).append(": refused: ").append(refusal.why);
    text.append(" [").append(file).append(":").append(std::to_string(refusal.where.line)).append("]\n");
    return text;
}

}  // namespace

void logRefusal(const Refusal& refusal) { host::log(describe(refusal)); }

bool debugAssertsEnabled() { return assertsEnabled.load(); }

void reportUnsupported(const Refusal& refusal) {
    const std::string text = describe(refusal);
    host::log(text);
    if (!assertsEnabled.load()) return;
    // The assertion speaks even when the debug output is silent.
    std::fputs(("winplat: unsupported request: " + text).c_str(), stderr);
    std::abort();
}

namespace testing {

ScopedDebugAsserts::ScopedDebugAsserts(bool enabled) : previous_(assertsEnabled.exchange(enabled)) {}

ScopedDebugAsserts::~ScopedDebugAsserts() { assertsEnabled.store(previous_); }

}  // namespace testing
}  // namespace winplat
