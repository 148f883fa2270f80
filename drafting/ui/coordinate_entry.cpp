#include "ui/coordinate_entry.h"

#include <cmath>
#include <string>

#include "drawing/angles.h"
#include "drawing/entity_views.h"
#include "winplat/cp1250.h"

namespace linework {
namespace {

using Kind = EntryResult::Kind;

char UpperOf(char c) { return static_cast<char>(winplat::cp1250::toUpper(static_cast<uint8_t>(c))); }
bool SameLetter(char a, char b) { return UpperOf(a) == UpperOf(b); }

std::optional<double> Number(std::string_view text, const EntryContext& context) {
    return EvaluateNumberInput(text, context.grammar);
}

EntryResult PointResult(Point p, bool threeD = false) { return {Kind::Point, p, 0, threeD}; }

// Three numbers: the part after the first "," split at its own first ",".
EntryResult ThreeNumbers(double x, std::string_view rest, const EntryContext& context) {
    size_t comma = rest.find(',');
    if (comma == std::string_view::npos || !context.project) return {};
    std::optional<double> y = Number(rest.substr(0, comma), context);
    std::optional<double> z = Number(rest.substr(comma + 1), context);
    if (!y || !z) return {};
    Point at;
    if (!context.project(x, *y, *z, at)) return {};
    return PointResult(at, true);
}

}  // namespace

void SetCoordinateEntryDefaults(SystemVariableImage& image) {
    image.SetInteger(entry_variable::kPolarSeparator, '<');
    image.SetInteger(entry_variable::kRelativePrefix, 'R');
    image.SetInteger(entry_variable::kObjectPrefix, '$');
}

EntryContext EntryContextFrom(const SystemVariableImage& image) {
    using namespace entry_variable;
    EntryContext context;
    context.polarSeparator = static_cast<char>(image.Integer(kPolarSeparator));
    context.relativePrefix = static_cast<char>(image.Integer(kRelativePrefix));
    context.objectPrefix = static_cast<char>(image.Integer(kObjectPrefix));
    context.negateX = image.Byte(kNegateX) != 0;
    context.negateY = image.Byte(kNegateY) != 0;
    context.swapXY = image.Byte(kSwapXY) != 0;
    context.relativeToLast = image.Byte(kRelativeToLast) != 0;
    context.lastPoint = {image.Double(kLastPointX), image.Double(kLastPointX + 1)};
    return context;
}

EntryResult InterpretEntry(std::string_view text, const EntryContext& context) {
    if (text.empty()) return {};
    bool relative = false;
    if (SameLetter(text[0], context.relativePrefix)) {
        relative = true;
        text.remove_prefix(1);
    } else if (SameLetter(text[0], context.objectPrefix)) {
        text.remove_prefix(1);
        if (!context.findText) return {};
        std::optional<Point> at = context.findText(text);
        return at ? PointResult(*at) : EntryResult{};
    }
    enum class Form { Cartesian, Polar, Distance } form = Form::Cartesian;
    size_t separator = text.find(',');
    if (separator == std::string_view::npos) {
        form = Form::Polar;
        separator = text.find(context.polarSeparator);
        if (separator == std::string_view::npos) separator = text.find(UpperOf(context.polarSeparator));
    }
    if (separator == std::string_view::npos) {
        if (context.acceptsValue) {
            if (std::optional<double> value = Number(text, context)) return {Kind::Value, {}, *value, false};
        }
        if (!context.bandDirection) return {};
        form = Form::Distance;
    }
    std::optional<double> x = Number(form == Form::Distance ? text : text.substr(0, separator), context);
    if (!x) return {};
    double y = 0;
    if (form != Form::Distance) {
        std::string_view rest = text.substr(separator + 1);
        std::optional<double> second = Number(rest, context);
        if (!second) return form == Form::Cartesian ? ThreeNumbers(*x, rest, context) : EntryResult{};
        y = *second;
    }
    Point p{*x, y};
    if (form == Form::Cartesian) {
        if (context.swapXY) std::swap(p.x, p.y);
        if (context.negateX) p.x = -p.x;
        if (context.negateY) p.y = -p.y;
    } else {
        double angle = form == Form::Distance ? *context.bandDirection
                                              : UserAngleToRadians(context.grammar.angleMode, y);
        if (form == Form::Polar) {
            angle = std::fmod(angle, kTwoPi);
            if (angle < 0) angle += kTwoPi;
        }
        double d = *x;
        p = {d * std::cos(angle), d * std::sin(angle)};
    }
    if (relative || form == Form::Distance) {
        p.x += context.basePoint.x;
        p.y += context.basePoint.y;
    } else if (context.relativeToLast) {
        p.x += context.lastPoint.x;
        p.y += context.lastPoint.y;
    }
    return PointResult(p);
}

std::optional<Point> FindTextInsertion(const Drawing& drawing, const LayerTable& layers, std::string_view text) {
    for (EntityHandle at = drawing.head; at != 0; at = drawing[at].Next()) {
        const EntityRecord& entity = drawing[at];
        if (entity.Kind() != EntityKind::Text || entity.Erased()) continue;
        if (layers.Has(entity.Layer(), layer_flag::kNotDrawn)) continue;
        TextView view(entity);
        if (view.Text() == text) return view.Insertion();
    }
    return std::nullopt;
}

}  // namespace linework
