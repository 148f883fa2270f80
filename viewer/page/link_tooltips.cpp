#include "page/link_tooltips.h"

#include <algorithm>
#include <cstring>

#include "winplat/memory.h"

namespace lect32 {
namespace {

constexpr int16_t kFirstMediaButton = 101;
constexpr int16_t kLastMediaButton = 199;
constexpr int16_t kMediaButtonShift = 78;

}  // namespace

UINT PageButtonStringId(int16_t target) {
    if (target >= kFirstMediaButton && target <= kLastMediaButton) {
        return kPageButtonStrings + static_cast<UINT>(target - kMediaButtonShift);
    }
    return static_cast<UINT>(static_cast<int>(kPageButtonStrings) + target);
}

int16_t PageButtonOfString(int16_t number) {
    if (number >= kFirstMediaButton - kMediaButtonShift && number <= 116 - kMediaButtonShift) {
        return static_cast<int16_t>(number + kMediaButtonShift);
    }
    return number;
}

std::optional<std::string> TooltipOfPageName(std::string_view name) {
    if (!name.starts_with(kTooltipPrefix)) return std::nullopt;
    return std::string(name.substr(kTooltipPrefix.size()));
}

HGLOBAL MakeTooltipBlock(uint16_t id, std::string_view text) {
    if (text.empty()) return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kTooltipBlockSize);
    if (!block) return nullptr;
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return nullptr;
    }
    bytes[0] = static_cast<uint8_t>(id);
    bytes[1] = static_cast<uint8_t>(id >> 8);
    std::memcpy(bytes + 2, text.data(), std::min(text.size(), kMaxTooltipText));
    GlobalUnlock(block);
    return block;
}

}  // namespace lect32
