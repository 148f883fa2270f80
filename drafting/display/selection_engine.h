// The selection: one pass over the drawing list marks entities selected (or unselected) by a
// method — a window, the pick box, a crossing window, a fence, a Z range, a kind, the current
// layer or colour, the previous selection, the last entity, the newest n, or all — with optional
// filters, keeps the count and shows it. Run in pointing mode the same pass finds the entity under
// the cursor and offers its snap points.
#ifndef LINEWORK_DISPLAY_SELECTION_ENGINE_H
#define LINEWORK_DISPLAY_SELECTION_ENGINE_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/pick_tests.h"
#include "drawing/drawing.h"
#include "drawing/geometry.h"
#include "drawing/layer_table.h"
#include "drawing/selection_settings.h"

namespace linework {

// The method codes are the drawing settings' own.
namespace select_method = selection_method;

// The filters, with their buttons 71..76.
namespace select_filter {
inline constexpr int kZRange = 0;
inline constexpr int kKind = 1;
inline constexpr int kSameLayer = 2;
inline constexpr int kSameColour = 3;
inline constexpr int kSameLayerColour = 4;
inline constexpr int kPrevious = 5;
inline constexpr int kCount = 6;
}  // namespace select_filter

// The speed buttons the selection keeps up to date.
namespace select_button {
inline constexpr int kPick = 68;
inline constexpr int kFirstFilter = 71;
inline constexpr int kAdd = 78;
inline constexpr int kRemove = 79;
}  // namespace select_button

struct SelectionState {
    int method = select_method::kPick;
    bool addMode = true;
    std::array<bool, select_filter::kCount> filters{};
    // Kind nibble (1..15) and sub-kind (0: any).
    uint8_t kind = 0;
    uint8_t subKind = 0;
    float zLower = 0;
    float zUpper = 0;
    // The two corners as given (the fence runs from one to the other).
    Point cornerA;
    Point cornerB;
    int pickBoxSize = 3;  // half-size in pixels
    double count = 0;
    EntityHandle lastHit = 0;
    bool replacePick = false;
    int countLimit = 1;  // of the newest-n method
};

// What a pass tells the rest of the program: the quiet defaults suit a drawing without a window.
class SelectionOutput {
public:
    virtual ~SelectionOutput() = default;
    virtual void ShowReadout(std::string_view /*text*/) {}
    virtual void SetButtonDown(int /*n*/, bool /*down*/) {}
    // The entity's look changed with its selected bit.
    virtual void RedrawEntity(EntityHandle /*entity*/) {}
    // The entity picked (or found under the cursor) is described in the status bar.
    virtual void DescribeEntity(EntityHandle /*entity*/) {}
    virtual void HideCursor() {}
    virtual void ShowCursor() {}
    // Pointing mode: the entity offers its snap points; true when it had one.
    virtual bool OfferSnapPoints(EntityHandle /*entity*/) { return true; }
};

// What the colour and layer methods compare with.
struct CurrentLayerColour {
    uint8_t layer = 0;
    uint8_t colour = 0;
};

class SelectionEngineCore {
public:
    SelectionEngineCore(Drawing& drawing, const LayerTable& layers, SelectionOutput& output);

    SelectionState state;
    PickSettings pick;
    CurrentLayerColour current;

    // One pass with the state; the number of entities it changed (negative when removing).
    int SelectEntities();
    // Pointing mode over the pick box: entities offer their snap points, none is selected. With
    // 'underCursorSearch' the first entity that has a snap point becomes the drawing's entity
    // under the cursor when none is remembered. The entity that ended the pass, or 0.
    EntityHandle PointAt(bool underCursorSearch);

    // The pick box around a world point at 'scale' world units per pixel.
    void SetPickBox(Point at, double scale);
    void SetSelectionBox(Point a, Point b);
    Box OrderedBox() const;
    void SelectPickMethod();
    void ToggleFilter(int n);
    void ClearFilters();
    void SetAddMode(bool add);
    bool AnyFilterSet() const;
    void ClearSelection(bool keepAsPrevious);
    EntityHandle FirstSelected() const;
    void ShowSelectionCount();
    void AddToCount(double n) { state.count += n; }
    const PickStatistics& Statistics() const { return tester_.Statistics(); }

private:
    bool MethodPasses(const EntityRecord& entity, const PickRegion& region);
    bool FiltersPass(const EntityRecord& entity) const;
    bool KindPasses(const EntityRecord& entity) const;
    bool ColourPasses(const EntityRecord& entity) const;
    bool Eligible(const EntityRecord& entity) const;
    void UndoReplacedPick(EntityHandle entity, int& passCount);
    void Flip(EntityHandle entity);
    void FilterButton(int n) { output_.SetButtonDown(select_button::kFirstFilter + n, state.filters[static_cast<size_t>(n)]); }

    Drawing& drawing_;
    const LayerTable& layers_;
    SelectionOutput& output_;
    PickTester tester_;
};

// The readout after a pass: "+" or "-", the pass count, "=" and the rounded count.
std::string SelectionReadout(bool add, int passCount, double count);

}  // namespace linework

#endif
