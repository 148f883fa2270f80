// The rectangle arithmetic programs do on their own: no window is involved, so any thread may
// call it.
#include <algorithm>

#include "winplat/user.h"

namespace {

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

BOOL store(LPRECT to, const RECT& value) {
    *to = empty(value) ? RECT{0, 0, 0, 0} : value;
    return empty(value) ? FALSE : TRUE;
}

}  // namespace

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = {left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT to, const RECT* from) {
    if (!to || !from) return FALSE;
    *to = *from;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect) return FALSE;
    *rect = {rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect) return FALSE;
    *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || empty(*rect); }

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

BOOL IntersectRect(LPRECT to, const RECT* a, const RECT* b) {
    if (!to || !a || !b) return FALSE;
    if (empty(*a) || empty(*b)) return store(to, {});
    return store(to, {std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
                      std::min(a->bottom, b->bottom)});
}

BOOL UnionRect(LPRECT to, const RECT* a, const RECT* b) {
    if (!to || !a || !b) return FALSE;
    if (empty(*a)) return store(to, *b);
    if (empty(*b)) return store(to, *a);
    return store(to, {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                      std::max(a->bottom, b->bottom)});
}

BOOL SubtractRect(LPRECT to, const RECT* from, const RECT* cut) {
    if (!to || !from || !cut) return FALSE;
    RECT left = *from;
    RECT overlap{};
    if (!IntersectRect(&overlap, from, cut)) return store(to, left);
    const bool fullWidth = overlap.left == from->left && overlap.right == from->right;
    const bool fullHeight = overlap.top == from->top && overlap.bottom == from->bottom;
    if (fullWidth && fullHeight) return store(to, {});
    // Only a cut across a whole side leaves a rectangle; one in the middle leaves 'from'.
    if (fullWidth && overlap.top == from->top) left.top = overlap.bottom;
    else if (fullWidth && overlap.bottom == from->bottom) left.bottom = overlap.top;
    else if (fullHeight && overlap.left == from->left) left.left = overlap.right;
    else if (fullHeight && overlap.right == from->right) left.right = overlap.left;
    return store(to, left);
}
