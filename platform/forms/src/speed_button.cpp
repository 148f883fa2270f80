#include "winforms/speed_button.h"

#include "painting.h"
#include "winforms/application.h"
#include "winforms/win_control.h"
#include "winplat/draw.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {
constexpr winplat::Refuser refuse("winforms: SpeedButton");
}  // namespace

SpeedButton::SpeedButton(Component* owner) : GraphicControl(owner) {
    bounds_ = {0, 0, 23, 22};
    glyph_.SetTransparent(true);
}

void SpeedButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (groupIndex_ == 0 && down_) {
        down_ = false;
        Invalidate();
    }
}

void SpeedButton::SetAllowAllUp(bool allow) {
    allowAllUp_ = allow;
    if (!Parent() || groupIndex_ == 0) return;
    // The group shares the setting.
    for (size_t i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<SpeedButton*>(&Parent()->Controls(i));
        if (other && other->groupIndex_ == groupIndex_) other->allowAllUp_ = allow;
    }
}

void SpeedButton::SetDown(bool down) {
    if (down == down_) return;
    if (down && groupIndex_ == 0) {
        refuse.log("a button of no group cannot stay down");
        return;
    }
    if (!down && !allowAllUp_) {
        refuse.log("the group keeps one button down unless it allows all up");
        return;
    }
    down_ = down;
    if (down_) ReleaseOthers();
    Invalidate();
}

void SpeedButton::ReleaseOthers() {
    if (!Parent()) return;
    for (size_t i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<SpeedButton*>(&Parent()->Controls(i));
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
            other->down_ = false;
            other->Invalidate();
        }
    }
}

void SpeedButton::MouseDown(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::Left) {
        pressed_ = true;
        Invalidate();
    }
    GraphicControl::MouseDown(button, shift, x, y);
}

void SpeedButton::MouseUp(MouseButton button, ShiftState shift, int x, int y) {
    if (button == MouseButton::Left && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    GraphicControl::MouseUp(button, shift, x, y);
}

void SpeedButton::Click() {
    Application::EventScope scope;
    if (groupIndex_ != 0) {
        if (!down_) {
            down_ = true;
            ReleaseOthers();
            Invalidate();
        } else if (allowAllUp_) {
            down_ = false;
            Invalidate();
        }
    }
    GraphicControl::Click();
}

void SpeedButton::Paint(Canvas& canvas) {
    HDC dc = canvas.Handle();
    RECT r{0, 0, Width(), Height()};
    fillRect(dc, r, Color());
    const bool sunk = down_ || pressed_;
    DrawEdge(dc, &r, sunk ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const int shiftBy = sunk ? 1 : 0;
    const SIZE text = caption_.empty() ? SIZE{0, 0} : textExtent(dc, GetFont(), caption_);
    const int glyphWidth = glyph_.Empty() ? 0 : glyph_.Width();
    const int gap = glyphWidth && text.cx ? 4 : 0;
    const int x = (Width() - glyphWidth - gap - static_cast<int>(text.cx)) / 2 + shiftBy;
    if (glyphWidth) canvas.Draw(x, (Height() - glyph_.Height()) / 2 + shiftBy, glyph_);
    if (text.cx) {
        const int tx = x + glyphWidth + gap;
        const int ty = (Height() - static_cast<int>(text.cy)) / 2 + shiftBy;
        drawText(dc, GetFont(), caption_, {tx, ty, tx + static_cast<int>(text.cx), ty + static_cast<int>(text.cy)},
                 DT_LEFT | DT_SINGLELINE | DT_NOPREFIX, Enabled() ? CLR_INVALID : GetSysColor(COLOR_GRAYTEXT));
    }
}

}  // namespace winforms
