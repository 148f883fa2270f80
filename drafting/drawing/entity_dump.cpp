#include "drawing/entity_dump.h"

#include <charconv>
#include <cstdio>
#include <initializer_list>

#include "drawing/block_definitions.h"
#include "winplat/byte_reader.h"

namespace linework {
namespace {

using namespace entity_field;

// Shortest text that reads back to the same value; a single as a single.
template <class Real>
std::string Number(Real value) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on chains of + around a std::string.
std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) out += part;
    return out;
}

std::string Quoted(std::string_view text) { return Joined({"\"", text, "\""}); }

std::string PointText(std::initializer_list<double> values) {
    std::string out = "(";
    for (double value : values) {
        if (out.size() > 1) out += ',';
        out += Number(value);
    }
    return out + ")";
}

class Line {
public:
    explicit Line(const EntityRecord& record) : record_(record) {}

    Line& Field(std::string_view name, std::string_view value) {
        text_ += " ";
        text_ += name;
        text_ += "=";
        text_ += value;
        return *this;
    }
    Line& Double(std::string_view name, size_t offset) { return Field(name, Number(record_.Double(offset))); }
    Line& Pair(std::string_view name, size_t offset) {
        return Field(name, PointText({record_.Double(offset), record_.Double(offset + 8)}));
    }
    Line& Byte(std::string_view name, size_t offset) { return Field(name, std::to_string(record_.Byte(offset))); }
    Line& Text(std::string_view name, size_t offset) { return Field(name, Quoted(record_.ShortString(offset))); }
    Line& Raw(std::string_view text) {
        text_ += text;
        return *this;
    }
    std::string Take() { return std::move(text_); }

private:
    const EntityRecord& record_;
    std::string text_;
};

std::string KindName(const EntityRecord& record) {
    switch (record.Kind()) {
        case EntityKind::Polyline: {
            int last = record.Byte(kLastVertex);
            return last == 0 ? "point" : last == 1 ? "line" : "polyline";
        }
        case EntityKind::Polyline3D: return "polyline3d";
        case EntityKind::Arc: return IsCircle(record) ? "circle" : "arc";
        case EntityKind::Text: return "text";
        case EntityKind::AttributeDefinition: return "attdef";
        case EntityKind::Dimension: return "dimension";
        case EntityKind::BlockInsert: return "insert";
        case EntityKind::DrawingReference: return "reference";
        case EntityKind::RasterImage: return "image";
    }
    return "unknown";
}

void Vertices(const EntityRecord& record, Line& line, int dimensions) {
    line.Field("aux", Number(record.Load<float>(kAuxiliarySize)));
    line.Byte("end", kEndSymbol).Byte("style", kStyle).Field("vertices", std::to_string(record.VertexCount()));
    size_t at = kVertices;
    for (int i = 0; i < record.VertexCount(); ++i) {
        line.Raw(" ");
        line.Raw(dimensions == 3 ? PointText({record.Double(at), record.Double(at + 8), record.Double(at + 16)})
                                 : PointText({record.Double(at), record.Double(at + 8)}));
        at += 8 * static_cast<size_t>(dimensions);
    }
}

void TextFields(Line& line) {
    line.Pair("at", kTextX).Double("height", kTextHeight).Double("charwidth", kCharWidth);
    line.Double("angle", kTextAngle).Byte("justify", kJustifyAndFont);
}

// The tag, default and prompt strings and the flag word, read within the record.
void AttributeFields(const EntityRecord& record, Line& line) {
    winplat::ByteReader reader(record.Bytes());
    reader.seek(kText);
    for (const char* name : {"tag", "default", "prompt"}) {
        auto text = reader.view(reader.u8());
        line.Field(name, Quoted({reinterpret_cast<const char*>(text.data()), text.size()}));
    }
    line.Field("flags", Hex(reader.u16(), 4));
}

void InsertFields(const Drawing& drawing, const EntityRecord& record, Line& line) {
    BlockHandle block = InsertedBlock(drawing, record);
    line.Field("block", block ? Quoted(drawing.Block(block).name) : "none");
    line.Pair("at", kInsertX).Pair("scale", kXScale).Double("angle", kRotation).Byte("display", kInsertDisplay);
    int count = record.Byte(kAttributeCount);
    line.Field("attributes", std::to_string(count));
    winplat::ByteReader reader(record.Bytes());
    reader.seek(kAttributePositions + 16 * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        line.Pair("position", kAttributePositions + 16 * static_cast<size_t>(i));
        auto text = reader.view(reader.u8());
        line.Raw(" ");
        line.Raw(Quoted({reinterpret_cast<const char*>(text.data()), text.size()}));
    }
}

void ImageFields(const EntityRecord& record, Line& line) {
    line.Pair("at", kImageX).Pair("pixel", kPixelWidth);
    line.Field("last", Joined({std::to_string(record.Load<int16_t>(kLastColumn)), ",",
                               std::to_string(record.Load<int16_t>(kLastRow))}));
    line.Field("flags", Hex(record.Load<uint16_t>(kImageFlags), 4)).Text("file", kImageName);
}

void Payload(const Drawing& drawing, const EntityRecord& record, Line& line) {
    switch (record.Kind()) {
        case EntityKind::Polyline: return Vertices(record, line, 2);
        case EntityKind::Polyline3D: return Vertices(record, line, 3);
        case EntityKind::Arc:
            line.Pair("centre", kCentre).Pair("start", kArcStart).Pair("end", kArcEnd).Byte("type", kArcLineType);
            return;
        case EntityKind::Text:
            TextFields(line);
            line.Text("text", kText);
            return;
        case EntityKind::AttributeDefinition:
            TextFields(line);
            return AttributeFields(record, line);
        case EntityKind::Dimension:
            for (size_t i = 0; i < 5; ++i) line.Pair(Joined({"p", std::to_string(i + 1)}), kDimensionPoints + 16 * i);
            line.Double("value", kDimensionValue).Byte("style", kDimensionStyle).Text("text", kDimensionText);
            return;
        case EntityKind::BlockInsert: return InsertFields(drawing, record, line);
        case EntityKind::DrawingReference:
            line.Pair("at", kReferenceX).Pair("scale", kXScale).Double("angle", kRotation).Text("file", kReferenceName);
            return;
        case EntityKind::RasterImage: return ImageFields(record, line);
    }
}

}  // namespace

std::string DumpEntity(const Drawing& drawing, const EntityRecord& record) {
    Line line(record);
    line.Raw(KindName(record));
    line.Field("flags", Hex(record.KindAndFlags() & 0x0F, 2));
    line.Byte("layer", kLayer).Byte("colour", kColour).Byte("width", kWidth);
    if (record.Level() != 0) line.Field("level", Number(record.Level()));
    Payload(drawing, record, line);
    return line.Take();
}

std::string DumpDrawing(const Drawing& drawing) {
    std::string out;
    ForEachBlock(drawing, [&](BlockHandle block) {
        const BlockDef& definition = drawing.Block(block);
        std::string base = PointText({definition.base.x, definition.base.y});
        out += Joined({"block ", Quoted(definition.name), " base=", base, "\n"});
        ForEachEntity(drawing, definition.head, [&](EntityHandle at) {
            out += Joined({"  ", DumpEntity(drawing, drawing[at]), "\n"});
        });
    });
    ForEachEntity(drawing, drawing.head, [&](EntityHandle at) {
        out += Joined({DumpEntity(drawing, drawing[at]), "\n"});
    });
    return out;
}

}  // namespace linework
