// The simple controls without a window that their parent draws: label, bevel, image and paint box.
#ifndef WINFORMS_GRAPHIC_CONTROLS_H
#define WINFORMS_GRAPHIC_CONTROLS_H

#include <memory>
#include <string>

#include "winforms/bitmap.h"
#include "winforms/canvas.h"
#include "winforms/control.h"

namespace winforms {

class WINFORMS_API Label : public GraphicControl {
public:
    explicit Label(Component* owner);
    Alignment GetAlignment() const { return alignment_; }
    void SetAlignment(Alignment alignment);
    // The label's size follows its text (set on each caption or font change).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Without it the label fills its bounds with its colour first.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    void Paint(Canvas& canvas) override;

protected:
    void CaptionChanged() override;
    void FontChanged() override;

private:
    void FitText();
    Alignment alignment_ = Alignment::LeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
};

enum class BevelShape : uint8_t { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class BevelStyle : uint8_t { Lowered, Raised };

class WINFORMS_API Bevel : public GraphicControl {
public:
    explicit Bevel(Component* owner);
    BevelShape Shape() const { return shape_; }
    void SetShape(BevelShape shape);
    BevelStyle Style() const { return style_; }
    void SetStyle(BevelStyle style);
    void Paint(Canvas& canvas) override;

private:
    BevelShape shape_ = BevelShape::Box;
    BevelStyle style_ = BevelStyle::Lowered;
};

class WINFORMS_API Image : public GraphicControl {
public:
    explicit Image(Component* owner);
    // The picture shown (empty: nothing, the parent shows through).
    Bitmap& Picture() { return picture_; }
    // Call after drawing on the picture or loading it.
    void PictureChanged() { Invalidate(); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);
    void Paint(Canvas& canvas) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
    bool center_ = false;
};

// A control the program draws itself, in OnPaint, on the paint box's canvas. The canvas also
// draws outside a paint, straight onto the screen (an overlay drawn twice with a not-xor pen
// leaves no trace).
class WINFORMS_API PaintBox : public GraphicControl {
public:
    explicit PaintBox(Component* owner);
    ~PaintBox() override;
    // During OnPaint: the paint's DC. Otherwise a DC of the parent window moved to the paint
    // box's corner and clipped to it; null without a parent.
    Canvas& GetCanvas();
    void Paint(Canvas& canvas) override;
    NotifyEvent OnPaint;

protected:
    void ParentChanged() override;

private:
    void ReleaseWindowDc();
    Canvas canvas_;
    Canvas* painting_ = nullptr;  // the parent's paint canvas while OnPaint runs
    HWND dcWindow_ = nullptr;
    HDC windowDc_ = nullptr;
};

}  // namespace winforms

#endif
