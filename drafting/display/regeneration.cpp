#include "display/regeneration.h"

#include <cstring>
#include <span>

#include "display/backdrop.h"
#include "display/entity_painter.h"
#include "drawing/block_definitions.h"

namespace linework {

namespace {

// FNV-1a over bytes.
class Digest {
public:
    void Add(std::span<const uint8_t> bytes) {
        for (uint8_t b : bytes) value_ = (value_ ^ b) * 0x100000001B3ull;
    }
    template <class T>
    void AddValue(const T& value) {
        Add(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(&value), sizeof value));
    }
    uint64_t Value() const { return value_; }

private:
    uint64_t value_ = 0xCBF29CE484222325ull;
};

bool ResizeTo(winforms::Bitmap& bitmap, SIZE box) {
    if (bitmap.Width() == box.cx && bitmap.Height() == box.cy) return true;
    return bitmap.SetSize(box.cx, box.cy);
}

}  // namespace

EntityHandle FindForegroundMark(const Drawing& drawing) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (entity.Kind() != EntityKind::BlockInsert || entity.Erased()) continue;
        const BlockHandle block = InsertedBlock(drawing, entity);
        if (block != 0 && drawing.Block(block).head == 0 && drawing.Block(block).name == kForegroundMarkName) return at;
    }
    return 0;
}

Regenerator::Regenerator(const ViewState& view, const LayerTable& layers, const DisplaySettings& settings,
                         KindRenderers renderers)
    : view_(view), layers_(layers), settings_(settings), renderers_(renderers) {}

size_t Regenerator::DrawRun(winforms::Canvas& canvas, const Drawing& drawing, EntityHandle from, EntityHandle stop) {
    EntityPainter painter(&canvas, view_, layers_, settings_, renderers_);
    painter.modes = modes;
    size_t count = 0;
    for (EntityHandle at = from; at != 0 && at != stop; at = drawing[at].Next()) {
        painter.DrawEntityIfShown(drawing[at], 0, at);
        ++count;
    }
    return count;
}

uint64_t Regenerator::BackgroundDigest(SIZE box, const Drawing& drawing, EntityHandle mark, COLORREF background) const {
    Digest digest;
    digest.AddValue(view_.GetViewTransform());
    digest.AddValue(box);
    digest.AddValue(background);
    digest.AddValue(options.backdropMode);
    for (int layer = 0; layer < kLayerCount; ++layer) digest.AddValue(layers_.Word(static_cast<uint8_t>(layer)));
    digest.AddValue(settings_.colours);
    for (EntityHandle at = drawing[mark].Next(); at != 0; at = drawing[at].Next()) {
        digest.AddValue(at);
        digest.Add(drawing[at].Bytes());
    }
    return digest.Value();
}

RegenerationResult Regenerator::Regenerate(winforms::Canvas& target, SIZE box, const Drawing& drawing,
                                           COLORREF background, const winforms::Bitmap* backdrop, bool viewChanged,
                                           const std::function<void(winforms::Canvas&)>& finish) {
    RegenerationResult result;
    if (suspended) {
        pending = true;
        return result;
    }
    pending = false;
    result.drawn = true;
    if (box.cx <= 0 || box.cy <= 0) return result;
    winforms::Canvas* canvas = &target;
    if (options.doubleBuffer && ResizeTo(buffer_, box)) canvas = &buffer_.GetCanvas();
    PaintBackdrop(*canvas, box, background, backdrop, options.backdropMode);
    if (options.drawingOn) {
        const EntityHandle mark = options.foregroundCache ? FindForegroundMark(drawing) : 0;
        EntityHandle start = drawing.head;
        if (mark != 0) {
            const uint64_t digest = BackgroundDigest(box, drawing, mark, background);
            if (!viewChanged && cacheValid_ && digest == cacheDigest_) {
                canvas->CopyRect({0, 0, box.cx, box.cy}, cache_.GetCanvas(), {0, 0, box.cx, box.cy});
                result.fromCache = true;
            } else {
                result.entities += DrawRun(*canvas, drawing, drawing[mark].Next(), 0);
                cacheValid_ = ResizeTo(cache_, box);
                if (cacheValid_) cache_.GetCanvas().CopyRect({0, 0, box.cx, box.cy}, *canvas, {0, 0, box.cx, box.cy});
                cacheDigest_ = digest;
            }
            result.entities += DrawRun(*canvas, drawing, start, mark);
        } else {
            result.entities += DrawRun(*canvas, drawing, start, 0);
        }
    }
    if (finish) finish(*canvas);
    if (canvas != &target) target.CopyRect({0, 0, box.cx, box.cy}, *canvas, {0, 0, box.cx, box.cy});
    return result;
}

}  // namespace linework
