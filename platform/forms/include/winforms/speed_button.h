// A flat tool button without a window: a glyph and a caption, pressed while the left button is
// held on it. Buttons of one parent with the same group index form a group, of which one at most
// is down; with AllowAllUp a click on the down button lets it up.
#ifndef WINFORMS_SPEED_BUTTON_H
#define WINFORMS_SPEED_BUTTON_H

#include "winforms/bitmap.h"
#include "winforms/control.h"

namespace winforms {

class WINFORMS_API SpeedButton : public GraphicControl {
public:
    explicit SpeedButton(Component* owner);
    // 0: not grouped (the button never stays down).
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool Down() const { return down_; }
    // Down releases the other buttons of the group; up is refused while the group needs one down.
    void SetDown(bool down);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);
    // The picture drawn left of the caption (centred without one); its bottom-left pixel's colour
    // is transparent.
    Bitmap& Glyph() { return glyph_; }
    void GlyphChanged() { Invalidate(); }
    void Paint(Canvas& canvas) override;
    void Click() override;
    void MouseDown(MouseButton button, ShiftState shift, int x, int y) override;
    void MouseUp(MouseButton button, ShiftState shift, int x, int y) override;

private:
    void ReleaseOthers();
    Bitmap glyph_;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool pressed_ = false;  // the left button is held on it
};

}  // namespace winforms

#endif
