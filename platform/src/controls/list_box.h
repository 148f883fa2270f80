// A list box window: its items (ListItems), selection, scrolling, drawing and input; one object
// per window, kept with the window (user/window_state.h).
//
// The same object serves the list of a combo box: its notifications (WM_COMMAND) then go to the
// combo box, and the owner-draw and colour messages to the combo box's parent, naming the combo
// box as the control.
#ifndef WINPLAT_SRC_CONTROLS_LIST_BOX_H
#define WINPLAT_SRC_CONTROLS_LIST_BOX_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/kept_font.h"
#include "controls/list_items.h"
#include "winplat/controls.h"

namespace winplat::controls {

class ListBox {
public:
    ListBox(HWND window, const CREATESTRUCTA& create);

    // The procedure's answer to one message; none: DefWindowProcA's.
    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam);

    // The list box messages (LB_...), shared with the combo box that forwards its CB_ ones.
    LRESULT listMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int count() const { return static_cast<int>(items_.size()); }
    int current() const { return multiple() ? caret_ : selected_; }
    const ListItems& items() const { return items_; }
    bool hasStrings() const;

    // For the combo box's drop-down: moves the selection (single selection) to an index, scrolled
    // into view; -1 clears it. Notifies nothing.
    void select(int index);
    // The item under a client point, clamped to the items shown; -1 for an empty list.
    int itemAtPoint(POINT point) const;
    // The letter search of a typed character: the item it leads to, -1 when none.
    int searchTyped(char typed);
    // The height the list needs for 'visible' items from the top (the drop-down's size).
    int heightOf(int visible) const;
    int itemHeight(int index) const;

private:
    // --- items (list_box_items.cpp)
    LRESULT addString(LPARAM value);
    LRESULT insertString(WPARAM index, LPARAM value);
    LRESULT insertAt(size_t position, LPARAM value);
    LRESULT deleteString(WPARAM index);
    LRESULT resetContent();
    LRESULT getText(WPARAM index, LPARAM buffer) const;
    LRESULT getTextLength(WPARAM index) const;
    LRESULT find(WPARAM start, LPARAM value, bool exact) const;
    size_t sortedPosition(LPARAM value) const;
    int compareOwnerItems(const ListItem& added, const ListItem& listed) const;
    UINT measure(int index, ULONG_PTR data) const;

    // --- selection (list_box_selection.cpp)
    LRESULT setCurrent(WPARAM index);
    LRESULT setSelected(WPARAM select, LPARAM index);
    LRESULT selectedCount() const;
    LRESULT selectedItems(WPARAM room, LPARAM out) const;
    LRESULT selectString(WPARAM start, LPARAM value);
    void selectRange(int from, int to, bool only);
    void moveCaret(int index, bool notifyChange);
    void toggle(int index);
    std::vector<int> selection() const;
    bool multiple() const { return (style_ & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
    bool extended() const { return (style_ & LBS_EXTENDEDSEL) != 0; }

    // --- geometry and scrolling (list_box_layout.cpp)
    bool ownerDraw() const { return (style_ & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
    bool variable() const { return (style_ & LBS_OWNERDRAWVARIABLE) != 0; }
    RECT client() const;
    RECT itemRect(int index) const;
    int pageCount() const;  // items wholly shown from the top
    int lastTop() const;    // the highest top index that still fills the page
    void setTop(int index);
    void ensureVisible(int index);
    void scrollVertically(WORD code);
    void scrollHorizontally(WORD code);
    void updateScrollBars();
    void keepIntegralHeight();
    LRESULT itemFromPoint(LPARAM point) const;
    LRESULT setItemHeight(WPARAM index, LPARAM height);

    // --- drawing (list_box_drawing.cpp)
    void paint();
    HBRUSH colours(HDC dc) const;
    void drawItem(HDC dc, int index, const RECT& r, HBRUSH background);
    void drawOwnerItem(HDC dc, int index, const RECT& r, UINT action);
    void invalidateItem(int index);
    void invalidate();

    // --- input (list_box_input.cpp)
    bool ownerTakesKey(UINT message, WORD key);
    void keyDown(UINT key);
    void character(char typed);
    void buttonDown(POINT point, WPARAM keys, bool doubleClick);
    void mouseMove(POINT point);
    void buttonUp();
    void focusChanged(bool focused);

    void notify(int code) const;
    HWND ownerDrawTarget() const;

    HWND window_;
    HWND combo_ = nullptr;  // the combo box this list belongs to, if any
    DWORD style_;
    ListItems items_;
    KeptFont font_;
    int selected_ = -1;     // single selection
    int caret_ = 0;         // the item with the focus frame
    int anchor_ = 0;        // where a shift-extended range starts
    int top_ = 0;
    int horizontalOffset_ = 0;
    int horizontalExtent_ = 0;
    int itemHeight_ = 0;    // every item's, unless variable
    bool redraw_ = true;
    bool focused_ = false;
    bool tracking_ = false;  // the button is down in the list
    bool resizing_ = false;  // integral height or scroll bars in progress
    std::vector<int> selectionAtPress_;
    std::string typed_;      // the letter search's prefix
    uint64_t typedAt_ = 0;   // host clock of its last character
};

}  // namespace winplat::controls

#endif
