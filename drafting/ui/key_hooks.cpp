#include "ui/key_hooks.h"

namespace linework {

namespace {
constexpr uint16_t kF1 = 112;
constexpr uint16_t kF12 = 123;
}  // namespace

std::string KeyHookPrefix(KeyModifiers held) {
    std::string prefix;
    if (held.alt) prefix += 'A';
    if (held.ctrl) prefix += 'C';
    if (held.shift) prefix += 'S';
    return prefix;
}

std::string KeyHookName(uint16_t key, KeyModifiers held) {
    std::string part;
    const bool digit = key >= '0' && key <= '9';
    const bool letter = key >= 'A' && key <= 'Z';
    if ((digit || letter) && (held.alt || held.ctrl)) {
        part = std::string(1, static_cast<char>(key));
    } else if (key >= kF1 && key <= kF12) {
        part = "F" + std::to_string(key - kF1 + 1);
    }
    if (part.empty()) return {};
    return KeyHookPrefix(held) + part;
}

}  // namespace linework
