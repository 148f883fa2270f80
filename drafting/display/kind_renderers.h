// The drawing routines of the kinds the dispatcher hands on: hatched polylines, polylines with
// end symbols, texts and attribute definitions, dimensions, block inserts, raster images and
// referenced drawings. Each is an interface that its own family fills; until then a placeholder
// draws nothing and says so once in the debug output.
#ifndef LINEWORK_DISPLAY_KIND_RENDERERS_H
#define LINEWORK_DISPLAY_KIND_RENDERERS_H

#include <array>
#include <string_view>

#include "drawing/entity_views.h"

namespace linework {

class EntityPainter;

// One text as the text routine takes it.
struct TextRequest {
    bool explode = false;
    bool showInsertionMark = false;
    int font = 0;
    std::string_view text;  // cp1250, at most 127 characters
    int justification = 0;  // 0 left, 1 centred, 2 right
    int verticalAlignment = 0;
    Point at;
    double height = 0, width = 0, angle = 0;
};

class HatchRenderer {
public:
    virtual ~HatchRenderer() = default;
    virtual void DrawHatchedPolyline(EntityPainter& painter, bool explode, const PolylineView& polyline) = 0;
};

class EndSymbolRenderer {
public:
    virtual ~EndSymbolRenderer() = default;
    virtual void DrawEndSymbolPolyline(EntityPainter& painter, bool explode, const PolylineView& polyline) = 0;
};

class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    virtual void DrawVectorText(EntityPainter& painter, const TextRequest& text) = 0;
};

class DimensionRenderer {
public:
    virtual ~DimensionRenderer() = default;
    virtual void DrawDimension(EntityPainter& painter, bool explode, const DimensionView& dimension) = 0;
};

class InsertRenderer {
public:
    virtual ~InsertRenderer() = default;
    virtual void DrawBlockInsert(EntityPainter& painter, bool explode, const InsertView& insert, int mode) = 0;
};

class RasterImageRenderer {
public:
    virtual ~RasterImageRenderer() = default;
    virtual void DrawRasterImage(EntityPainter& painter, const RasterImageView& image, int mode) = 0;
};

class ReferenceRenderer {
public:
    virtual ~ReferenceRenderer() = default;
    virtual void DrawReferencedDrawing(EntityPainter& painter, const ReferenceView& reference) = 0;
};

// Stands in for every family not built yet: draws nothing, and the first call of each family
// writes one line to the debug output naming it.
class PlaceholderRenderers final : public HatchRenderer,
                                   public EndSymbolRenderer,
                                   public TextRenderer,
                                   public DimensionRenderer,
                                   public InsertRenderer,
                                   public RasterImageRenderer,
                                   public ReferenceRenderer {
public:
    void DrawHatchedPolyline(EntityPainter&, bool, const PolylineView&) override { Tell(kHatch); }
    void DrawEndSymbolPolyline(EntityPainter&, bool, const PolylineView&) override { Tell(kEndSymbol); }
    void DrawVectorText(EntityPainter&, const TextRequest&) override { Tell(kText); }
    void DrawDimension(EntityPainter&, bool, const DimensionView&) override { Tell(kDimension); }
    void DrawBlockInsert(EntityPainter&, bool, const InsertView&, int) override { Tell(kInsert); }
    void DrawRasterImage(EntityPainter&, const RasterImageView&, int) override { Tell(kImage); }
    void DrawReferencedDrawing(EntityPainter&, const ReferenceView&) override { Tell(kReference); }

private:
    enum Family { kHatch, kEndSymbol, kText, kDimension, kInsert, kImage, kReference, kFamilies };
    void Tell(Family family);
    std::array<bool, kFamilies> told_{};
};

// The routines the dispatcher calls; every one must be set (the placeholders serve until the
// families exist).
struct KindRenderers {
    HatchRenderer* hatch;
    EndSymbolRenderer* endSymbol;
    TextRenderer* text;
    DimensionRenderer* dimension;
    InsertRenderer* insert;
    RasterImageRenderer* image;
    ReferenceRenderer* reference;

    static KindRenderers AllOf(PlaceholderRenderers& placeholders) {
        return {&placeholders, &placeholders, &placeholders, &placeholders,
                &placeholders, &placeholders, &placeholders};
    }
};

}  // namespace linework

#endif
