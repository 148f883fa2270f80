#include "host/key_names.h"

#include <array>
#include <string>

#include "winplat/cp1250.h"
#include "winplat/user.h"

namespace winplat::host {
namespace {

struct NamedKey {
    std::string_view name;  // lower case
    UINT key;
};

constexpr std::array kNamedKeys{
    NamedKey{"enter", VK_RETURN},    NamedKey{"return", VK_RETURN},  NamedKey{"escape", VK_ESCAPE},
    NamedKey{"esc", VK_ESCAPE},      NamedKey{"tab", VK_TAB},        NamedKey{"space", VK_SPACE},
    NamedKey{"backspace", VK_BACK},  NamedKey{"delete", VK_DELETE},  NamedKey{"insert", VK_INSERT},
    NamedKey{"home", VK_HOME},       NamedKey{"end", VK_END},        NamedKey{"pageup", VK_PRIOR},
    NamedKey{"pagedown", VK_NEXT},   NamedKey{"left", VK_LEFT},      NamedKey{"right", VK_RIGHT},
    NamedKey{"up", VK_UP},           NamedKey{"down", VK_DOWN},      NamedKey{"ctrl", VK_CONTROL},
    NamedKey{"shift", VK_SHIFT},     NamedKey{"alt", VK_MENU},       NamedKey{"num+", VK_ADD},
    NamedKey{"num-", VK_SUBTRACT},   NamedKey{"num*", VK_MULTIPLY},  NamedKey{"num/", VK_DIVIDE},
    NamedKey{"num.", VK_DECIMAL},    NamedKey{"pause", VK_PAUSE},    NamedKey{"capslock", VK_CAPITAL},
};

std::optional<UINT> functionKey(std::string_view name) {
    if (name.size() < 2 || name.size() > 3 || name[0] != 'f') return std::nullopt;
    int number = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number < 1 || number > 12) return std::nullopt;
    return static_cast<UINT>(VK_F1 + number - 1);
}

std::optional<UINT> numberPadKey(std::string_view name) {
    if (name.size() != 4 || name.substr(0, 3) != "num" || name[3] < '0' || name[3] > '9') return std::nullopt;
    return static_cast<UINT>(VK_NUMPAD0 + (name[3] - '0'));
}

bool isModifier(UINT key) { return key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU; }

}  // namespace

std::optional<UINT> keyByName(std::string_view name) {
    const std::string lower = cp1250::lowerAscii(name);
    if (lower.size() == 1) {
        const char c = lower[0];
        if (c >= 'a' && c <= 'z') return static_cast<UINT>(c - 'a' + 'A');  // letters: their capitals
        if (c >= '0' && c <= '9') return static_cast<UINT>(c);
    }
    for (const NamedKey& named : kNamedKeys) {
        if (named.name == lower) return named.key;
    }
    if (auto key = functionKey(lower)) return key;
    return numberPadKey(lower);
}

std::optional<KeyChord> parseChord(std::string_view text) {
    KeyChord chord;
    for (;;) {
        // A '+' at the very end is the key itself ("num+", "ctrl+num+").
        size_t plus = text.find('+');
        while (plus != std::string_view::npos && plus + 1 == text.size()) plus = std::string_view::npos;
        const std::string_view part = text.substr(0, plus);
        const auto key = keyByName(part);
        if (!key) return std::nullopt;
        if (plus == std::string_view::npos) {
            chord.key = *key;
            return chord;
        }
        if (!isModifier(*key)) return std::nullopt;
        chord.modifiers.push_back(*key);
        text.remove_prefix(plus + 1);
    }
}

}  // namespace winplat::host
