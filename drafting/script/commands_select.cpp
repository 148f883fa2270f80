// "sel": the selection settings read and written as thirteen numbers, a selection pass by method
// number, and the one-character mode words. Method n (1..12) is code n + 34 of the selection
// engine (1 all, 2 window, 3 pick, 4 crossing, 5 fence, 6 Z range, 7 kind, 8 same layer, 9 same
// colour, 10 same layer and colour, 11 previous, 12 last); 14 is the newest-n method, code 49.
#include <array>

#include "drawing/selection_marks.h"
#include "script/script_commands.h"

namespace linework {
namespace {

using Result = CommandResult;
constexpr Result kNext = Result::Next;
constexpr int kSettingCount = 13;
constexpr int kFirstSettingWord = 2;
constexpr int32_t kNewestNumber = 14;
constexpr int32_t kMethodOffset = 34;

// The thirteen settings in their word order.
std::array<uint16_t*, kSettingCount> Settings(SelectionSettings& s) {
    return {&s.method,     &s.addMode,    &s.filters[0], &s.filters[1], &s.filters[2],
            &s.filters[3], &s.filters[4], &s.filters[5], &s.kind,       &s.subKind,
            &s.pickBox,    &s.replacePick, &s.allLayers};
}

Result Get(CommandContext& c) {
    auto settings = Settings(c.state.selection);
    for (int i = 0; i < kSettingCount && !c.engine.Failed(); ++i)
        c.engine.StoreTarget(kFirstSettingWord + i, *settings[static_cast<size_t>(i)]);
    return kNext;
}

// A setting changes only where its word's value is above 0; a value beyond 16 bits is refused.
Result Set(CommandContext& c) {
    auto settings = Settings(c.state.selection);
    for (int i = 0; i < kSettingCount; ++i) {
        const int k = kFirstSettingWord + i;
        if (!(c.Val(k) > 0)) continue;
        auto value = c.InRange(k, 1, 0xFFFF);
        if (!value) return Result::StopRun;
        *settings[static_cast<size_t>(i)] = static_cast<uint16_t>(*value);
    }
    c.Edits().SelectionSettingsChanged(c.state.selection);
    return kNext;
}

Result ModeWord(CommandContext& c, char mode) {
    SelectionSettings& s = c.state.selection;
    switch (mode) {
        case '+': s.addMode = 1; break;
        case '-': s.addMode = 0; break;
        case '!': {
            auto filter = c.InRange(2, 0, SelectionSettings::kFilterCount - 1);
            if (!filter) return Result::StopRun;
            s.ToggleFilter(*filter);
            break;
        }
        case '*': s.EnableAllFilters(); break;
        case '0': ClearSelection(c.adders, true); return kNext;
        case '^': c.Edits().SelectPickMethod(s); return kNext;
        default: return c.Fail(kValueOutOfRange);
    }
    c.Edits().SelectionSettingsChanged(s);
    return kNext;
}

Result Select(CommandContext& c) {
    const std::string_view word = c.Word(1).text;
    if (word == "get") return Get(c);
    if (word == "set") return Set(c);
    if (word.size() == 1 && std::string_view("+-!*0^").find(word[0]) != std::string_view::npos)
        return ModeWord(c, word[0]);
    auto number = c.InRange(1, 1, kNewestNumber);
    if (!number) return Result::StopRun;
    if (*number == kNewestNumber - 1) return c.Fail(kValueOutOfRange);
    SelectionSettings& s = c.state.selection;
    if (*number == kNewestNumber) {
        auto limit = c.InRange(2, 0, 0xFFFF);
        if (!limit) return Result::StopRun;
        s.method = selection_method::kNewest;
        s.countLimit = static_cast<uint16_t>(*limit);
    } else {
        s.method = static_cast<uint16_t>(*number + kMethodOffset);
    }
    if (s.method >= selection_method::kWindow && s.method <= selection_method::kFence) {
        s.x1 = c.Val(2);
        s.y1 = c.Val(3);
        s.x2 = c.Val(4);
        s.y2 = c.Val(5);
    } else if (s.method == selection_method::kZRange) {
        s.lowerLevel = static_cast<float>(c.Val(2));
        s.upperLevel = static_cast<float>(c.Val(3));
    }
    c.Edits().SelectEntities(s);
    return kNext;
}

constexpr CommandEntry kSelectionCommands[] = {{"sel", Select}};

}  // namespace

std::span<const CommandEntry> SelectionCommands() { return kSelectionCommands; }

}  // namespace linework
