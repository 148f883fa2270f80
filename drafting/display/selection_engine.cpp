#include "display/selection_engine.h"

#include <cmath>
#include <cstdlib>

#include "drawing/entity_views.h"

namespace linework {
namespace {

bool IsSelected(const EntityRecord& entity) { return (entity.KindAndFlags() & entity_flag::kSelected) != 0; }
bool IsPrevious(const EntityRecord& entity) {
    return (entity.KindAndFlags() & entity_flag::kPreviousSelection) != 0;
}
void SetFlag(EntityRecord& entity, uint8_t flag, bool on) {
    uint8_t byte = entity.KindAndFlags();
    entity.SetByte(entity_field::kKindAndFlags, static_cast<uint8_t>(on ? byte | flag : byte & ~flag));
}

bool EndsAtFirstHit(int method) { return method == select_method::kPick || method == select_method::kLast; }

PickRule RuleOf(int method) {
    switch (method) {
        case select_method::kWindow: return PickRule::Window;
        case select_method::kFence: return PickRule::Fence;
        default: return PickRule::Crossing;
    }
}

// The sub-kind of a polyline, as the kind filter names them.
uint8_t PolylineSubKind(const EntityRecord& entity) {
    PolylineView view(entity);
    const bool symbol = view.EndSymbol() != 0;
    if (view.IsPoint()) return 1;
    if (view.Style() >= 8) return symbol ? 7 : 6;
    if (view.VertexCount() == 2) return symbol ? 3 : 2;
    return symbol ? 5 : 4;
}

}  // namespace

std::string SelectionReadout(bool add, int passCount, double count) {
    return std::string(add ? "+" : "-") + std::to_string(std::abs(passCount)) + "=" +
           std::to_string(std::llround(count));
}

SelectionEngineCore::SelectionEngineCore(Drawing& drawing, const LayerTable& layers, SelectionOutput& output)
    : drawing_(drawing), layers_(layers), output_(output), tester_(drawing, layers, pick) {}

Box SelectionEngineCore::OrderedBox() const {
    Box box{state.cornerA.x, state.cornerA.y, state.cornerB.x, state.cornerB.y};
    NormalizeBox(box);
    return box;
}

void SelectionEngineCore::SetPickBox(Point at, double scale) {
    double half = state.pickBoxSize * scale;
    state.cornerA = {at.x - half, at.y - half};
    state.cornerB = {at.x + half, at.y + half};
}

void SelectionEngineCore::SetSelectionBox(Point a, Point b) {
    state.cornerA = a;
    state.cornerB = b;
}

bool SelectionEngineCore::KindPasses(const EntityRecord& entity) const {
    if ((entity.KindAndFlags() >> 4) != state.kind) return false;
    if (state.subKind == 0) return true;
    switch (entity.Kind()) {
        case EntityKind::Polyline: return PolylineSubKind(entity) == state.subKind;
        case EntityKind::Arc: return (IsCircle(entity) ? 1 : 2) == state.subKind;
        default: return true;
    }
}

bool SelectionEngineCore::ColourPasses(const EntityRecord& entity) const {
    uint8_t colour = entity.Colour();
    if (colour == 0 && current.colour != 0 && entity.Kind() != EntityKind::BlockInsert)
        colour = static_cast<uint8_t>(layers_.Word(entity.Layer()));
    return colour == current.colour;
}

bool SelectionEngineCore::MethodPasses(const EntityRecord& entity, const PickRegion& region) {
    switch (state.method) {
        case select_method::kWindow:
        case select_method::kPick:
        case select_method::kCrossing:
        case select_method::kFence: return tester_.Passes(entity, region);
        case select_method::kZRange: return entity.Level() >= state.zLower && entity.Level() <= state.zUpper;
        case select_method::kKind: return KindPasses(entity);
        case select_method::kLayer: return entity.Layer() == current.layer;
        case select_method::kColour: return ColourPasses(entity);
        case select_method::kLayerColour: return entity.Layer() == current.layer && ColourPasses(entity);
        case select_method::kPrevious: return IsPrevious(entity);
        default: return true;
    }
}

bool SelectionEngineCore::FiltersPass(const EntityRecord& entity) const {
    const auto& f = state.filters;
    using namespace select_filter;
    if (f[kZRange] && !(entity.Level() >= state.zLower && entity.Level() <= state.zUpper)) return false;
    if (f[kKind] && !KindPasses(entity)) return false;
    if ((f[kSameLayer] || f[kSameLayerColour]) && entity.Layer() != current.layer) return false;
    if ((f[kSameColour] || f[kSameLayerColour]) && !ColourPasses(entity)) return false;
    if (f[kPrevious] && !IsPrevious(entity)) return false;
    return true;
}

bool SelectionEngineCore::Eligible(const EntityRecord& entity) const {
    if (entity.Erased()) return false;
    if (IsSelected(entity) == state.addMode) return false;
    return pick.allLayers || !layers_.Has(entity.Layer(), layer_flag::kInactive);
}

void SelectionEngineCore::Flip(EntityHandle entity) {
    EntityRecord& record = drawing_[entity];
    SetFlag(record, entity_flag::kSelected, !IsSelected(record));
    output_.RedrawEntity(entity);
}

void SelectionEngineCore::UndoReplacedPick(EntityHandle entity, int& passCount) {
    EntityHandle previous = drawing_.picked;
    if (previous != 0 && previous != entity && drawing_.entities.Holds(previous) && !drawing_[previous].Erased()) {
        Flip(previous);
        passCount += state.addMode ? -1 : 1;
    }
    drawing_.picked = entity;
    output_.DescribeEntity(entity);
}

int SelectionEngineCore::SelectEntities() {
    PickRegion region{RuleOf(state.method), OrderedBox(), state.cornerA, state.cornerB, false};
    output_.HideCursor();
    if (EndsAtFirstHit(state.method)) {
        state.lastHit = 0;
    } else if (state.replacePick) {
        drawing_.picked = 0;
        output_.SetButtonDown(select_button::kPick, true);
    }
    const bool filtered = AnyFilterSet();
    int passCount = 0;
    // Returns true when the pass ends at this entity.
    auto visit = [&](EntityHandle handle) {
        const EntityRecord& entity = drawing_[handle];
        if (!Eligible(entity) || !MethodPasses(entity, region)) return false;
        if (filtered && !FiltersPass(entity)) return false;
        if (state.replacePick) UndoReplacedPick(handle, passCount);
        Flip(handle);
        passCount += state.addMode ? 1 : -1;
        if (state.method == select_method::kNewest) return std::abs(passCount) == state.countLimit;
        if (EndsAtFirstHit(state.method)) {
            state.lastHit = handle;
            return true;
        }
        return false;
    };
    // From the picked entity on, then from the head up to it: a repeated pick finds the entities
    // behind the last one first.
    EntityHandle start = drawing_.entities.Holds(drawing_.picked) ? drawing_.picked : drawing_.head;
    bool ended = false;
    for (EntityHandle at = start; at != 0 && !ended; at = drawing_[at].Next()) ended = visit(at);
    if (start != drawing_.head)
        for (EntityHandle at = drawing_.head; at != 0 && at != start && !ended; at = drawing_[at].Next())
            ended = visit(at);
    state.count += passCount;
    output_.ShowReadout(SelectionReadout(state.addMode, passCount, state.count));
    output_.ShowCursor();
    return passCount;
}

EntityHandle SelectionEngineCore::PointAt(bool underCursorSearch) {
    PickRegion region{RuleOf(state.method), OrderedBox(), state.cornerA, state.cornerB, true};
    for (EntityHandle at = drawing_.head; at != 0; at = drawing_[at].Next()) {
        const EntityRecord& entity = drawing_[at];
        // Locked layers are still found: a snap to them is allowed.
        if (entity.Erased() || layers_.Has(entity.Layer(), layer_flag::kNotDrawn)) continue;
        if (!MethodPasses(entity, region)) continue;
        bool snapped = output_.OfferSnapPoints(at);
        if (!snapped || !EndsAtFirstHit(state.method)) continue;
        if (underCursorSearch && drawing_.underCursor == 0) {
            drawing_.underCursor = at;
            output_.DescribeEntity(at);
        }
        return at;
    }
    return 0;
}

void SelectionEngineCore::SelectPickMethod() {
    state.method = select_method::kPick;
    output_.SetButtonDown(select_button::kPick, true);
    if (state.replacePick) output_.SetButtonDown(select_button::kPick, false);
}

void SelectionEngineCore::ToggleFilter(int n) {
    using namespace select_filter;
    if (n < 0 || n >= kCount) return;
    auto& f = state.filters;
    f[static_cast<size_t>(n)] = !f[static_cast<size_t>(n)];
    FilterButton(n);
    if (n == kSameLayer || n == kSameColour) {
        f[kSameLayerColour] = f[kSameLayer] && f[kSameColour];
        FilterButton(kSameLayerColour);
    } else if (n == kSameLayerColour) {
        f[kSameLayer] = f[kSameColour] = f[kSameLayerColour];
        FilterButton(kSameLayer);
        FilterButton(kSameColour);
    }
}

void SelectionEngineCore::ClearFilters() {
    for (int n = 0; n < select_filter::kCount; ++n) {
        state.filters[static_cast<size_t>(n)] = false;
        FilterButton(n);
    }
    SetAddMode(true);
}

void SelectionEngineCore::SetAddMode(bool add) {
    drawing_.picked = 0;
    state.addMode = add;
    output_.SetButtonDown(add ? select_button::kAdd : select_button::kRemove, true);
    output_.SetButtonDown(add ? select_button::kRemove : select_button::kAdd, false);
}

bool SelectionEngineCore::AnyFilterSet() const {
    for (bool on : state.filters)
        if (on) return true;
    return false;
}

void SelectionEngineCore::ClearSelection(bool keepAsPrevious) {
    for (EntityHandle at = drawing_.head; at != 0; at = drawing_[at].Next()) {
        EntityRecord& entity = drawing_[at];
        if (IsSelected(entity)) {
            SetFlag(entity, entity_flag::kSelected, false);
            if (keepAsPrevious) SetFlag(entity, entity_flag::kPreviousSelection, true);
            output_.RedrawEntity(at);
        } else if (keepAsPrevious) {
            SetFlag(entity, entity_flag::kPreviousSelection, false);
        }
    }
    state.count = 0;
    output_.ShowCursor();
}

EntityHandle SelectionEngineCore::FirstSelected() const {
    for (EntityHandle at = drawing_.head; at != 0; at = drawing_[at].Next())
        if (IsSelected(drawing_[at])) return at;
    return 0;
}

void SelectionEngineCore::ShowSelectionCount() {
    output_.ShowReadout("=" + std::to_string(std::llround(state.count)));
}

}  // namespace linework
