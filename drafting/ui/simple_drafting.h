// The first version of the drawing side behind the main form: the paint box cleared to the
// background and every shown entity drawn; zoom and pan by the keyboard and the wheel about the
// paint box's centre; stored views and the view history. Command states, selection and the grid
// come with their own issues.
#ifndef LINEWORK_UI_SIMPLE_DRAFTING_H
#define LINEWORK_UI_SIMPLE_DRAFTING_H

#include <memory>

#include "display/display_modes.h"
#include "display/kind_renderers.h"
#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/view_transform.h"
#include "ui/drafting_operations.h"
#include "winforms/forms.h"

namespace linework {

class SimpleDrafting : public DraftingOperations {
public:
    SimpleDrafting(winforms::PaintBox& paintBox, SystemVariableImage& image, Drawing& drawing);

    void ZoomByFactor(double factor) override;
    void PanByScreenFraction(double dx, double dy) override;
    void ZoomExtents() override;
    void PreviousView() override;
    bool StepViewHistory(int step) override;
    void UseStoredView(int n) override;
    int CurrentStoredView() const override { return storedView_; }
    void UpdateViewTransform() override;
    void RegenerateDrawing() override;
    void PaintBackground() override;
    bool Regenerating() const override { return regenerating_; }

    ViewState& View() { return view_; }

private:
    void SetView(const ViewTransform& view);
    COLORREF Background() const;

    winforms::PaintBox& paintBox_;
    SystemVariableImage& image_;
    Drawing& drawing_;
    LayerTable layers_;
    LayerScaleRanges ranges_;
    ViewState view_;
    DisplaySettings settings_;
    PlaceholderRenderers placeholders_;
    int storedView_ = 0;
    bool regenerating_ = false;
};

}  // namespace linework

#endif
