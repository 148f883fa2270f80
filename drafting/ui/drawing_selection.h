// The selection engine behind the command steps: the drawing's selection with its method, pick
// box, count and buttons, shown through the form's readout and speed buttons.
#ifndef LINEWORK_UI_DRAWING_SELECTION_H
#define LINEWORK_UI_DRAWING_SELECTION_H

#include <functional>
#include <string>

#include "display/selection_engine.h"
#include "drawing/drawing.h"
#include "drawing/layer_table.h"
#include "drawing/system_variable_image.h"
#include "ui/command_step_ports.h"

namespace linework {

class DrawingSelection final : public SelectionEngine, private SelectionOutput {
public:
    // 'scale' gives the view's world units per pixel; 'redraw' shows a changed entity.
    DrawingSelection(Drawing& drawing, SystemVariableImage& image, CommandSurface& surface,
                     std::function<double()> scale, std::function<void(EntityHandle)> redraw = {});

    int Method() const override { return core_.state.method; }
    void SetMethod(int code) override { core_.state.method = code; }
    void SelectPickMethod() override { core_.SelectPickMethod(); }
    bool ReplacePick() const override { return core_.state.replacePick; }
    void SetReplacePick(bool on) override { core_.state.replacePick = on; }
    void SetPickBoxAround(Point at) override;
    void SetSelectionBox(Point a, Point b) override { core_.SetSelectionBox(a, b); }
    bool SelectEntities() override;
    void ClearSelection(bool keepAsPrevious) override { core_.ClearSelection(keepAsPrevious); }
    double Count() const override { return core_.state.count; }
    void ShowSelectionCount() override { core_.ShowSelectionCount(); }
    // The picked entity stays selected; the next pick no longer replaces it.
    void AcceptPick() override { drawing_.picked = 0; }
    void ForgetPickedEntity() override { drawing_.picked = 0; }
    void UnpickLast() override;

    SelectionEngineCore& Core() { return core_; }
    // The selection's last readout: the cursor tracking shows it again while a selection waits.
    const std::string& ReadoutText() const { return readout_; }

private:
    // SelectionOutput.
    void ShowReadout(std::string_view text) override {
        readout_ = text;
        surface_.ShowReadout(text);
    }
    void SetButtonDown(int n, bool down) override { surface_.SetButtonDown(n, down); }
    void RedrawEntity(EntityHandle entity) override {
        if (redraw_) redraw_(entity);
    }

    Drawing& drawing_;
    SystemVariableImage& image_;
    CommandSurface& surface_;
    std::function<double()> scale_;
    std::function<void(EntityHandle)> redraw_;
    LayerTable layers_;
    SelectionEngineCore core_;
    std::string readout_;
};

}  // namespace linework

#endif
