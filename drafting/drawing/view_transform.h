// The view: world coordinates (doubles, y upwards) to pixels of the paint box (rows downwards)
// and back, the values derived from it, the 64-entry history of views and the saved view.
// Pixels are rounded to nearest with ties to even; results beyond the integer range saturate.
//
// The current view lives in the system-variable image (doubles 585..594), where scripts and
// drawing files write it; UpdateViewTransform takes it from there, so the mappings and the
// derived values always belong to the same view.
#ifndef LINEWORK_DRAWING_VIEW_TRANSFORM_H
#define LINEWORK_DRAWING_VIEW_TRANSFORM_H

#include <array>
#include <cstdint>
#include <optional>

#include "drawing/geometry.h"
#include "drawing/layer_table.h"
#include "drawing/system_variable_image.h"

namespace linework {

// Ten doubles, copied whole and compared byte for byte; the layout of a view in the
// system-variable image and in drawing files.
struct ViewTransform {
    double scale = 1.0;  // world units per pixel
    double originX = 0;  // world x at the left pixel column
    double originY = 0;  // world y at the bottom pixel row
    double angle1 = 0, angle2 = 0, angle3 = 0;
    double distance = 0;  // > 0 switches perspective on
    double eyeX = 0, eyeY = 0, eyeZ = 0;
};
static_assert(sizeof(ViewTransform) == 80);

bool SameView(const ViewTransform& a, const ViewTransform& b);

// Double variables of the image that hold views: the current one, then stored views 1..10.
inline constexpr int32_t kCurrentViewDouble = 585;

// The view whose ten doubles begin at double variable 'first'; none when its scale is not a
// positive finite number (a drawing file can carry any bytes there).
std::optional<ViewTransform> ReadView(const SystemVariableImage& image, int32_t first);
void WriteView(SystemVariableImage& image, int32_t first, const ViewTransform& view);

struct PixelSize {
    int32_t width = 0;
    int32_t height = 0;
};

class ViewState {
public:
    static constexpr int32_t kHistorySize = 64;

    explicit ViewState(SystemVariableImage& image);

    // The four mappings of the current view.
    double ScreenToWorldX(int32_t column) const { return column * view_.scale + view_.originX; }
    double ScreenToWorldY(int32_t row) const { return (bottomPixel_ - row) * view_.scale + view_.originY; }
    int32_t WorldToScreenX(double x) const;
    int32_t WorldToScreenY(double y) const;

    // Takes the current view from the image and recomputes every derived value for the screen
    // and paint-box sizes, and the layers' scale flags. A view in the image whose scale is not a
    // positive finite number is refused: the view before it is written back.
    void UpdateViewTransform(PixelSize screen, PixelSize paintBox, LayerTable& layers,
                             const LayerScaleRanges& ranges);

    const ViewTransform& GetViewTransform() const { return view_; }
    // Makes the view current (in the image too) and sets the changed flag; the caller updates and
    // redraws. A view whose scale is not a positive finite number is refused (false, nothing
    // changed).
    bool SetViewTransform(const ViewTransform& view);

    // Whether a zoom by 'factor' stays within MinScale..MaxScale.
    bool ZoomAllowed(double factor) const;

    void PushViewHistory();
    // Moves the history position by 'step' and makes that entry current; false (nothing
    // changed) when the position would leave 0..HistoryCount().
    bool StepViewHistory(int32_t step);
    void RememberCurrentView();
    // The rotated and, with perspective on, projected point; false when it lies at or behind
    // the near limit.
    bool ProjectPoint3D(double x, double y, double z, Point& out) const;

    // Derived values.
    PixelSize Screen() const { return screen_; }
    int32_t RightPixel() const { return rightPixel_; }
    int32_t BottomPixel() const { return bottomPixel_; }
    double WorldRight() const { return worldRight_; }
    double WorldTop() const { return worldTop_; }
    double ScreenYOffset() const { return screenYOffset_; }
    double MaxScale() const { return maxScale_; }
    double MinScale() const { return minScale_; }
    bool Perspective() const { return perspective_; }
    double NearLimit() const { return nearLimit_; }
    int ViewKind() const { return viewKind_; }

    // History: entry 0 the newest; entries 0..HistoryCount() are valid.
    const ViewTransform& HistoryEntry(int32_t index) const { return history_.at(static_cast<size_t>(index)); }
    int32_t HistoryCount() const { return historyCount_; }
    int32_t historyPosition = 0;  // the entry shown while stepping through the history
    ViewTransform savedView;
    bool viewChanged = false;
    bool suppressRemember = false;  // set while a wheel zoom runs: remember once

private:
    SystemVariableImage& image_;
    ViewTransform view_;
    PixelSize screen_;
    int32_t rightPixel_ = 0, bottomPixel_ = 0;
    double worldRight_ = 0, worldTop_ = 0, screenYOffset_ = 0, maxScale_ = 0, minScale_ = 0;
    std::array<double, 6> cosSin_{1, 0, 1, 0, 1, 0};  // cos 1, sin 1, cos 2, sin 2, cos 3, sin 3
    bool perspective_ = false;
    double nearLimit_ = 0;
    int viewKind_ = 0;
    std::array<ViewTransform, kHistorySize> history_;
    int32_t historyCount_ = 0;
    bool rememberLatch_ = false;
};

// Round to nearest, ties to even, saturated to the 32-bit range; NaN gives 0.
int32_t RoundToPixel(double value);

}  // namespace linework

#endif
