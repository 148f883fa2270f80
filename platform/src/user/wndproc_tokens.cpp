#include "user/wndproc_tokens.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace winplat::user {
namespace {

constexpr DWORD kFirstToken = 0xFFFF0000u;
constexpr size_t kMaxTokens = 0xFFFF;

struct TokenTable {
    std::mutex mutex;
    std::vector<WNDPROC> procedures;  // index = token - kFirstToken - 1
    std::unordered_map<WNDPROC, DWORD> tokens;
};

TokenTable& table() {
    static auto* instance = new TokenTable;
    return *instance;
}

}  // namespace

DWORD procedureToken(WNDPROC procedure) {
    if (!procedure) return 0;
    TokenTable& t = table();
    std::lock_guard lock(t.mutex);
    if (const auto known = t.tokens.find(procedure); known != t.tokens.end()) return known->second;
    if (t.procedures.size() >= kMaxTokens) return 0;
    t.procedures.push_back(procedure);
    const DWORD token = kFirstToken + static_cast<DWORD>(t.procedures.size());
    t.tokens.emplace(procedure, token);
    return token;
}

WNDPROC procedureFromToken(DWORD token) {
    if (token <= kFirstToken) return nullptr;
    TokenTable& t = table();
    std::lock_guard lock(t.mutex);
    const size_t index = token - kFirstToken - 1;
    return index < t.procedures.size() ? t.procedures[index] : nullptr;
}

WNDPROC resolveProcedure(WNDPROC procedure) {
    const auto bits = reinterpret_cast<uintptr_t>(procedure);
    const auto high = static_cast<uint32_t>(bits >> 32);
    if (high != 0 && high != 0xFFFFFFFFu) return procedure;
    if (WNDPROC known = procedureFromToken(static_cast<DWORD>(bits))) return known;
    return procedure;
}

}  // namespace winplat::user
