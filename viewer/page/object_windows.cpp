// The child windows of media objects (children of the page's owner window) kept on their
// objects' content boxes as the view scrolls, with what they uncover or leave repainted.
#include "page/page.h"
#include "winplat/owners.h"
#include "winplat/region.h"
#include "winplat/user.h"

namespace lect32 {

namespace {

// The window's rectangle in its owner's client coordinates.
RECT placeInOwner(HWND window, HWND owner) {
    RECT rect{};
    GetWindowRect(window, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    MapWindowPoints(nullptr, owner, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// Invalidates (with erasing) the part of 'before' that 'after' does not cover.
void invalidateUncovered(HWND owner, const RECT& before, const RECT& after) {
    winplat::OwnedRegion uncovered(CreateRectRgnIndirect(&before));
    winplat::OwnedRegion now(CreateRectRgnIndirect(&after));
    if (!uncovered || !now) return;
    if (CombineRgn(uncovered.get(), uncovered.get(), now.get(), RGN_DIFF) != NULLREGION) {
        InvalidateRgn(owner, uncovered.get(), TRUE);
    }
}

}  // namespace

void Page::moveWindowTo(uint16_t i, bool repaint) {
    const RECT box = ContentBox(i);
    MoveWindow(objects_[i].Window(), box.left, box.top, box.right - box.left, box.bottom - box.top, repaint ? TRUE : FALSE);
}

void Page::MoveObjectWindows() {
    if (!owner_) return;
    for (uint16_t i = 0; i < GetCount(); ++i) {
        const HWND window = objects_[i].Window();
        if (!window) continue;
        const RECT before = placeInOwner(window, owner_);
        const RECT box = ContentBox(i);
        if (before.left == box.left && before.top == box.top) continue;
        moveWindowTo(i, false);
        invalidateUncovered(owner_, before, box);
        RefreshBelowWindow(i);
    }
}

void Page::MoveObjectWindow(uint16_t i) {
    if (!objects_.Contains(i) || !objects_[i].window) return;
    moveWindowTo(i, true);
    InvalidateRect(objects_[i].Window(), nullptr, TRUE);
    RefreshBelowWindow(i);
}

// What lies under the object's window repaints: the owner and every child window over that box.
void Page::RefreshBelowWindow(uint16_t i) {
    if (!owner_ || !objects_.Contains(i)) return;
    const RECT box = ContentBox(i);
    RedrawWindow(owner_, &box, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace lect32
