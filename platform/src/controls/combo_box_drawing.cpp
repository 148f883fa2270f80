// Painting a combo box: the sunken field with the selection (drawn here, or by the owner for
// owner-drawn drop-down lists) and the button that opens the list.
#include "controls/combo_box.h"
#include "controls/control_support.h"
#include "controls/list_box.h"
#include "winplat/owners.h"
#include "winplat/text.h"

namespace winplat::controls {
namespace {

constexpr int kTextIndent = 2;

}  // namespace

void ComboBox::paint() {
    PAINTSTRUCT ps{};
    const HDC dc = BeginPaint(window_, &ps);
    if (!dc) return;
    {
        RECT c{};
        GetClientRect(window_, &c);
        RECT field{0, 0, c.right, fieldHeight_};
        const HBRUSH background = parentColours(window_, dc, edit_ ? WM_CTLCOLOREDIT : WM_CTLCOLORLISTBOX);
        FillRect(dc, &field, background ? background : GetSysColorBrush(COLOR_WINDOW));
        DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT);
        if (kind() != CBS_SIMPLE) {
            RECT button = buttonRect();
            DrawFrameControl(dc, &button, DFC_SCROLL,
                             DFCS_SCROLLDOWN | (dropped_ ? DFCS_PUSHED : 0u) | (IsWindowEnabled(window_) ? 0u : DFCS_INACTIVE));
        }
        if (!edit_) {
            const RECT text = fieldRect();
            const RECT inner{text.left + 1, text.top + 1, text.right - 1, text.bottom - 1};
            const bool highlighted = focused_ && !dropped_;
            const auto shown = list();
            const int current = shown ? shown->current() : -1;
            if (ownerDraw()) {
                DRAWITEMSTRUCT d{};
                d.CtlType = ODT_COMBOBOX;
                d.CtlID = static_cast<UINT>(GetWindowLongA(window_, GWL_ID));
                d.itemID = static_cast<UINT>(current);
                d.itemAction = ODA_DRAWENTIRE;
                d.itemState = ODS_COMBOBOXEDIT | (highlighted ? ODS_SELECTED | ODS_FOCUS : 0u) |
                              (IsWindowEnabled(window_) ? 0u : ODS_DISABLED);
                d.hwndItem = window_;
                d.hDC = dc;
                d.rcItem = inner;
                d.itemData = current >= 0 ? shown->items().at(static_cast<size_t>(current)).data : 0;
                if (const HWND parent = GetParent(window_)) SendMessageA(parent, WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
            } else {
                const Selection font(dc, font_.get());
                if (highlighted) {
                    FillRect(dc, &inner, GetSysColorBrush(COLOR_HIGHLIGHT));
                    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                }
                if (!IsWindowEnabled(window_)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
                SetBkMode(dc, TRANSPARENT);
                const std::string shownText = selectedText();
                TEXTMETRICA metrics{};
                GetTextMetricsA(dc, &metrics);
                const int y = inner.top + (inner.bottom - inner.top - metrics.tmHeight) / 2;
                ExtTextOutA(dc, inner.left + kTextIndent, y, ETO_CLIPPED, &inner, shownText.data(),
                            static_cast<UINT>(shownText.size()), nullptr);
                if (highlighted) DrawFocusRect(dc, &inner);
            }
        }
    }
    EndPaint(window_, &ps);
}

}  // namespace winplat::controls
