#include "user/menu_layout.h"

#include <algorithm>

#include "winplat/cp1250.h"
#include "winplat/text.h"

namespace winplat::user {
namespace {

constexpr int kCheckColumn = 16;   // the check mark's room left of the labels
constexpr int kArrowColumn = 16;   // the sub-menu arrow's room right of the key texts
constexpr int kKeyGap = 12;        // between the widest label and the key texts
constexpr int kSeparatorHeight = 8;
constexpr int kRowPadding = 5;     // above and below the font's line

int textWidth(HDC dc, std::string_view text, bool prefixes) {
    if (text.empty()) return 0;
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text.data(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0u : static_cast<UINT>(DT_NOPREFIX)));
    return r.right - r.left;
}

bool startsColumn(const MenuItem& item) { return (item.flags & (MF_MENUBREAK | MF_MENUBARBREAK)) != 0; }

}  // namespace

GdiObject<HFONT> makeMenuFont() {
    return GdiObject<HFONT>(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                        "MS Sans Serif"));
}

std::string_view labelOf(std::string_view text) { return text.substr(0, text.find('\t')); }

std::string_view keyTextOf(std::string_view text) {
    const size_t tab = text.find('\t');
    return tab == std::string_view::npos ? std::string_view{} : text.substr(tab + 1);
}

std::string withoutPrefixes(std::string_view label) {
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) ++i;
        out.push_back(label[i]);
    }
    return out;
}

char mnemonicOf(std::string_view text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(cp1250::toLower(static_cast<uint8_t>(text[i + 1])));
        ++i;  // "&&" is a plain '&'
    }
    return 0;
}

PopupLayout layOutPopup(HDC dc, const MenuObject& menu) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int rowHeight = std::max<int>(metrics.tmHeight + kRowPadding, 16);
    PopupLayout layout;
    layout.items.resize(menu.items.size());
    layout.keyColumn.resize(menu.items.size());
    int left = kMenuBorder;
    int bottom = kMenuBorder;
    size_t first = 0;
    while (first < menu.items.size() || (first == 0 && menu.items.empty())) {
        // One column: its items up to the next break.
        size_t end = first + 1;
        while (end < menu.items.size() && !startsColumn(menu.items[end])) ++end;
        end = std::min(end, menu.items.size());
        int labels = 0;
        int keys = 0;
        int top = kMenuBorder;
        for (size_t i = first; i < end; ++i) {
            const MenuItem& item = menu.items[i];
            const int height = item.separator() ? kSeparatorHeight : rowHeight;
            layout.items[i] = {left, top, left, top + height};
            top += height;
            labels = std::max(labels, textWidth(dc, labelOf(item.text), true));
            keys = std::max(keys, textWidth(dc, keyTextOf(item.text), false));
        }
        const int width = kCheckColumn + labels + (keys ? kKeyGap + keys : 0) + kArrowColumn;
        for (size_t i = first; i < end; ++i) {
            layout.items[i].right = left + width;
            layout.keyColumn[i] = left + kCheckColumn + labels + kKeyGap;
        }
        left += width;
        bottom = std::max(bottom, top);
        if (menu.items.empty()) break;
        first = end;
    }
    layout.size = {left + kMenuBorder, bottom + kMenuBorder};
    return layout;
}

int itemAt(const PopupLayout& layout, POINT point) {
    for (size_t i = 0; i < layout.items.size(); ++i) {
        const RECT& r = layout.items[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace winplat::user
