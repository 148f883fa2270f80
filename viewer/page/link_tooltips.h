// Tooltips of links: the page buttons' strings and the page names that carry a tooltip of their
// own, packed in the block the tool tip window takes.
#ifndef LECT32_PAGE_LINK_TOOLTIPS_H
#define LECT32_PAGE_LINK_TOOLTIPS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "winplat/types.h"

namespace lect32 {

inline constexpr UINT kPageButtonStrings = 3900;
inline constexpr size_t kTooltipBlockSize = 255;
inline constexpr size_t kMaxTooltipText = 250;
inline constexpr std::string_view kTooltipPrefix = "#TOOLTIP#";
// What ShowTooltip answers when the tooltip asked about already shows.
inline constexpr uintptr_t kTooltipShown = 0xFFFF;

// The string of page button 'target': 3900 + target, buttons 101-199 at 3900 + target - 78.
UINT PageButtonStringId(int16_t target);
// The button a string 3923-3938 names (23-38 give 101-116); other numbers are their own.
int16_t PageButtonOfString(int16_t number);

// The tooltip a page's name gives links to it: the text after the prefix; none without it.
std::optional<std::string> TooltipOfPageName(std::string_view name);

// A movable block of kTooltipBlockSize zeroed bytes: u16 id, then the text (cut to
// kMaxTooltipText) and its zero. Null when the text is empty or no memory can be had.
HGLOBAL MakeTooltipBlock(uint16_t id, std::string_view text);

}  // namespace lect32

#endif
