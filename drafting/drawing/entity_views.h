// Typed views over a stored entity record: each kind's fields by name, read from the record's
// bytes through the record's checked accessors. A view borrows the record and never outlives it;
// the record stays the one image of the entity (its bytes are what a drawing file holds).
//
// visitEntity is the one switch on the kind: code that acts per kind passes an overload set and
// gets the matching view. Counts that index into a record (vertices, attribute values) are kept
// within the record's own size, so a view of a record made too short for its count shows fewer
// elements instead of reading past the record.
#ifndef LINEWORK_DRAWING_ENTITY_VIEWS_H
#define LINEWORK_DRAWING_ENTITY_VIEWS_H

#include <cstdint>
#include <string_view>
#include <utility>

#include "drawing/drawing.h"
#include "drawing/entity_record.h"
#include "drawing/geometry.h"

namespace linework {

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// What every kind shares: the head.
class EntityView {
public:
    explicit EntityView(const EntityRecord& record) : record_(&record) {}
    const EntityRecord& Record() const { return *record_; }
    EntityKind Kind() const { return record_->Kind(); }
    bool Selected() const { return (record_->KindAndFlags() & entity_flag::kSelected) != 0; }
    bool Erased() const { return record_->Erased(); }
    uint8_t Layer() const { return record_->Layer(); }
    uint8_t Colour() const { return record_->Colour(); }
    uint8_t Width() const { return record_->Width(); }

protected:
    Point PointAt(size_t offset) const { return {record_->Double(offset), record_->Double(offset + 8)}; }

    const EntityRecord* record_;
};

// Kind 0x10: a point (one vertex), a line (two) or a polyline.
class PolylineView : public EntityView {
public:
    using EntityView::EntityView;
    // Vertices minus one, kept within the record: the segment count.
    int SegmentCount() const;
    int VertexCount() const { return SegmentCount() + 1; }
    Point Vertex(int index) const { return PointAt(entity_field::kVertices + 16 * static_cast<size_t>(index)); }
    bool IsPoint() const { return SegmentCount() == 0; }
    float AuxiliarySize() const { return record_->Load<float>(entity_field::kAuxiliarySize); }
    uint8_t EndSymbol() const { return record_->Byte(entity_field::kEndSymbol); }
    // Of a point: the marker style bits. Otherwise bits 0-2 the line type, 3-7 the pattern number.
    uint8_t Style() const { return record_->Byte(entity_field::kStyle); }
    uint8_t LineType() const { return Style() & 7; }
    uint8_t PatternNumber() const { return Style() >> 3; }
};

// Kind 0x70: a polyline of 3-D vertices.
class Polyline3DView : public EntityView {
public:
    using EntityView::EntityView;
    int SegmentCount() const;
    int VertexCount() const { return SegmentCount() + 1; }
    Point3 Vertex(int index) const;
    uint8_t Style() const { return record_->Byte(entity_field::kStyle); }
    uint8_t LineType() const { return Style() & 7; }
};

// Kind 0x20: an arc from its start point counter-clockwise to its end point, or a circle when
// the two points are the same bytes.
class ArcView : public EntityView {
public:
    using EntityView::EntityView;
    Point Centre() const { return PointAt(entity_field::kCentre); }
    Point Start() const { return PointAt(entity_field::kArcStart); }
    Point End() const { return PointAt(entity_field::kArcEnd); }
    double Radius() const;
    bool IsCircle() const { return linework::IsCircle(*record_); }
    uint8_t LineType() const { return record_->Byte(entity_field::kArcLineType); }
};

// The fields texts and attribute definitions share.
class TextFieldsView : public EntityView {
public:
    using EntityView::EntityView;
    Point Insertion() const { return PointAt(entity_field::kTextX); }
    double Height() const { return record_->Double(entity_field::kTextHeight); }
    double CharWidth() const { return record_->Double(entity_field::kCharWidth); }
    double Angle() const { return record_->Double(entity_field::kTextAngle); }
    uint8_t JustifyAndFont() const { return record_->Byte(entity_field::kJustifyAndFont); }
    int Font() const { return JustifyAndFont() >> 4; }
    int Justification() const { return JustifyAndFont() & 3; }
    int VerticalAlignment() const { return (JustifyAndFont() >> 2) & 3; }
};

// Kind 0x30.
class TextView : public TextFieldsView {
public:
    using TextFieldsView::TextFieldsView;
    std::string_view Text() const { return record_->ShortString(entity_field::kText); }
};

// Kind 0x50: the tag, the default value, the prompt and the flag word after the text fields.
class AttributeDefinitionView : public TextFieldsView {
public:
    using TextFieldsView::TextFieldsView;
    std::string_view Tag() const { return String(0); }
    std::string_view Default() const { return String(1); }
    std::string_view Prompt() const { return String(2); }
    // 0 when the record ends before its flag word.
    uint16_t Flags() const;
    bool Invisible() const { return (Flags() & 0x80) != 0; }
    bool TakesValue() const { return (Flags() & 0x7F) != 0; }

private:
    std::string_view String(int index) const;
};

// Kind 0x40: five points, the measured value, the style byte and the text.
class DimensionView : public EntityView {
public:
    using EntityView::EntityView;
    static constexpr int kPointCount = 5;
    Point DimensionPoint(int index) const {
        return PointAt(entity_field::kDimensionPoints + 16 * static_cast<size_t>(index));
    }
    double Value() const { return record_->Double(entity_field::kDimensionValue); }
    uint8_t Style() const { return record_->Byte(entity_field::kDimensionStyle); }
    std::string_view Text() const { return record_->ShortString(entity_field::kDimensionText); }
};

// Kind 0xA0.
class InsertView : public EntityView {
public:
    using EntityView::EntityView;
    double XScale() const { return record_->Double(entity_field::kXScale); }
    double YScale() const { return record_->Double(entity_field::kYScale); }
    double Rotation() const { return record_->Double(entity_field::kRotation); }
    BlockHandle Block() const { return record_->Load<uint32_t>(entity_field::kBlock); }
    uint8_t Display() const { return record_->Byte(entity_field::kInsertDisplay); }
    Point Insertion() const { return PointAt(entity_field::kInsertX); }
    // The attribute count, kept to 16 and to the positions the record holds.
    int AttributeCount() const;
    Point AttributePosition(int index) const {
        return PointAt(entity_field::kAttributePositions + 16 * static_cast<size_t>(index));
    }
    // Value i (0-based), empty when the record ends before it.
    std::string_view AttributeValue(int index) const;
};

// Kind 0xE0.
class ReferenceView : public EntityView {
public:
    using EntityView::EntityView;
    double XScale() const { return record_->Double(entity_field::kXScale); }
    double YScale() const { return record_->Double(entity_field::kYScale); }
    double Rotation() const { return record_->Double(entity_field::kRotation); }
    Point Insertion() const { return PointAt(entity_field::kReferenceX); }
    std::string_view FileName() const { return record_->ShortString(entity_field::kReferenceName); }
};

// Kind 0xF0.
class RasterImageView : public EntityView {
public:
    using EntityView::EntityView;
    RowTableHandle RowTable() const { return record_->Load<uint32_t>(entity_field::kRowTable); }
    int LastColumn() const { return record_->Load<int16_t>(entity_field::kLastColumn); }
    int LastRow() const { return record_->Load<int16_t>(entity_field::kLastRow); }
    uint16_t Flags() const { return record_->Load<uint16_t>(entity_field::kImageFlags); }
    // The low byte's format bits and the high byte's display bits.
    uint8_t Format() const { return static_cast<uint8_t>(Flags() & 0xFF); }
    uint8_t Display() const { return static_cast<uint8_t>(Flags() >> 8); }
    Point TopLeft() const { return PointAt(entity_field::kImageX); }
    double PixelWidth() const { return record_->Double(entity_field::kPixelWidth); }
    double PixelHeight() const { return record_->Double(entity_field::kPixelHeight); }
    std::string_view FileName() const { return record_->ShortString(entity_field::kImageName); }
    double RightX() const { return TopLeft().x + LastColumn() * PixelWidth(); }
    double BottomY() const { return TopLeft().y - LastRow() * PixelHeight(); }
};

// A record of no kind records are made of (never made; a view for completeness of the visit).
class UnknownEntityView : public EntityView {
public:
    using EntityView::EntityView;
};

// Calls visitor with the view of the record's kind and returns what it returns.
template <class Visitor>
decltype(auto) visitEntity(const EntityRecord& record, Visitor&& visitor) {
    switch (record.Kind()) {
        case EntityKind::Polyline: return std::forward<Visitor>(visitor)(PolylineView(record));
        case EntityKind::Polyline3D: return std::forward<Visitor>(visitor)(Polyline3DView(record));
        case EntityKind::Arc: return std::forward<Visitor>(visitor)(ArcView(record));
        case EntityKind::Text: return std::forward<Visitor>(visitor)(TextView(record));
        case EntityKind::AttributeDefinition: return std::forward<Visitor>(visitor)(AttributeDefinitionView(record));
        case EntityKind::Dimension: return std::forward<Visitor>(visitor)(DimensionView(record));
        case EntityKind::BlockInsert: return std::forward<Visitor>(visitor)(InsertView(record));
        case EntityKind::DrawingReference: return std::forward<Visitor>(visitor)(ReferenceView(record));
        case EntityKind::RasterImage: return std::forward<Visitor>(visitor)(RasterImageView(record));
    }
    return std::forward<Visitor>(visitor)(UnknownEntityView(record));
}

// An overload set from lambdas, for visitEntity.
template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

}  // namespace linework

#endif
