// DrawEdge and DrawFrameControl: the frame's own drawing, open to programs.
#include <string>

#include "base/call_refusal.h"
#include "user/edge_drawing.h"

namespace winplat::user {
namespace {

constexpr UINT kEdgeFlags = BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST;

bool frameGlyph(UINT type, UINT kind, Glyph& glyph) {
    static constexpr Glyph kCaption[] = {Glyph::Close, Glyph::Minimise, Glyph::Maximise, Glyph::Restore};
    static constexpr Glyph kScroll[] = {Glyph::Up, Glyph::Down, Glyph::Left, Glyph::Right};
    if (kind > 3) return false;
    if (type == DFC_CAPTION) {
        glyph = kCaption[kind];
        return true;
    }
    if (type == DFC_SCROLL) {
        glyph = kScroll[kind];
        return true;
    }
    return false;
}

}  // namespace
}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

// BF_SOFT only rounds the corners of the look this layer does not copy: it is taken and ignored.
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    constexpr CallRefuser refuse("winplat: DrawEdge");
    if (!rect) return refuse(FALSE, "no rectangle");
    if (flags & ~kEdgeFlags) return refuse.unsupported(FALSE, "flags " + std::to_string(flags));
    if (edge & ~static_cast<UINT>(BDR_OUTER | BDR_INNER)) return refuse.unsupported(FALSE, "edge " + std::to_string(edge));
    if (!dc) return refuse(FALSE, "no DC");
    drawEdges(dc, *rect, edge, flags);
    return TRUE;
}

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    constexpr CallRefuser refuse("winplat: DrawFrameControl");
    if (!rect) return refuse(FALSE, "no rectangle");
    if (!dc) return refuse(FALSE, "no DC");
    constexpr UINT kStates = DFCS_INACTIVE | DFCS_PUSHED;
    Glyph glyph{};
    if ((state & ~(kStates | 0xFFu)) || !frameGlyph(type, state & 0xFF, glyph)) {
        return refuse.unsupported(FALSE, "type " + std::to_string(type) + " state " + std::to_string(state));
    }
    drawButton(dc, *rect, glyph, (state & DFCS_PUSHED) != 0, (state & DFCS_INACTIVE) != 0);
    return TRUE;
}
