#include "ui/status_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/tracking_settings.h"
#include "drawing/layer_names.h"
#include "drawing/layer_table.h"

namespace linework {

namespace {

constexpr int kFitSpare = 4;
constexpr COLORREF kEmptyViewGrey = 0x808080;

std::string General(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

void LoadPicture(winforms::Image* image, int& shown, std::string_view stem, int number,
                 const std::string& programFolder) {
    if (!image || number == shown) return;
    // A missing picture leaves the old one; the number is tried again at the next change.
    if (!image->Picture().LoadFromFile(programFolder + StatusPictureName(stem, number))) return;
    image->PictureChanged();
    shown = number;
}

// Only a new text repaints the control.
void SetCaptionIfNew(winforms::Control& control, const std::string& caption) {
    if (control.Caption() != caption) control.SetCaption(caption);
}

}  // namespace

std::string ScaleCaption(double scale) {
    if (scale < 1 && scale > 0) return "1:" + General(1 / scale);
    return General(scale) + ":1";
}

std::string StatusPictureName(std::string_view stem, int number) {
    return "BMP\\" + std::string(stem) + std::to_string(number) + ".BMP";
}

std::string FitLayerText(std::string_view caption, int layer, std::string name,
                         const std::function<int(std::string_view)>& textWidth, int available) {
    const std::string head = std::string(caption) + std::to_string(layer) + "\n";
    while (!name.empty() && textWidth(head + name) > available - kFitSpare) name.pop_back();
    return head + name;
}

void RefreshStatusPanel(const StatusPanelParts& parts, StatusPanelState& state, const SystemVariableImage& image,
                        const ColourTable& colours) {
    CurrentProperties current(const_cast<SystemVariableImage&>(image));
    const LayerTable layers(const_cast<SystemVariableImage&>(image));
    if (parts.scale) SetCaptionIfNew(*parts.scale, ScaleCaption(image.Double(tracking_var::kDrawingScale)));
    const int layer = std::clamp(current.Get(CurrentProperties::Layer), 0, kLayerCount - 1);
    int colour = std::clamp(current.Get(CurrentProperties::Colour), 0, 255);
    if (colour == 0) colour = static_cast<int>(layers.Word(static_cast<uint8_t>(layer)) & 0xFF);
    if (parts.swatch) {
        const COLORREF shown = colours[static_cast<uint8_t>(colour)] & 0xFFFFFF;
        if (parts.swatch->Color() != shown) parts.swatch->SetColor(shown);
        SetCaptionIfNew(*parts.swatch, std::to_string(colour));
    }
    const int width = std::min(current.Get(CurrentProperties::Width), kLargestWidthPicture);
    LoadPicture(parts.width, state.width, "WIDTH", width, parts.programFolder);
    LoadPicture(parts.endSymbol, state.endSymbol, "SLINE", current.Get(CurrentProperties::EndSymbol),
                parts.programFolder);
    LoadPicture(parts.lineType, state.lineType, "TLINE", current.Get(CurrentProperties::LineType),
                parts.programFolder);
    if (!parts.layer) return;
    const std::string name =
        parts.drawingFile ? ReadLayerName(parts.drawingFile(), static_cast<uint8_t>(layer)) : std::string();
    winforms::Label& label = *parts.layer;
    winforms::Bitmap scratch(1, 1);
    winforms::Canvas& measure = scratch.GetCanvas();
    measure.SetFont(label.GetFont());
    auto textWidth = [&](std::string_view text) {
        // The widest line of the text.
        int widest = 0;
        for (size_t start = 0; start <= text.size();) {
            size_t end = std::min(text.find('\n', start), text.size());
            widest = std::max(widest, measure.TextWidth(text.substr(start, end - start)));
            start = end + 1;
        }
        return widest;
    };
        // The label grows with its text: the room it may take is the rest of its panel.
    const int room = label.Parent() ? label.Parent()->Width() - label.Left() : label.Width();
    SetCaptionIfNew(label, FitLayerText(parts.layerCaption ? parts.layerCaption() : std::string(), layer, name, textWidth, room));
    label.SetHint(std::to_string(layer) + " " + name);
    label.SetShowHint(true);
}

void RefreshViewButtons(const ViewButtons& buttons, const SystemVariableImage& image, const ViewTransform& current) {
    for (int n = 1; n <= kViewButtons; ++n) {
        winforms::SpeedButton* button = buttons[static_cast<size_t>(n - 1)];
        if (!button) continue;
        const std::optional<ViewTransform> stored = ReadView(image, kCurrentViewDouble + 10 * n);
        winforms::Font font = button->GetFont();
        if (stored) {
            if (button->GroupIndex() != n) button->SetGroupIndex(n);
            if (!button->AllowAllUp()) button->SetAllowAllUp(true);
            if (button->Down() != SameView(*stored, current)) button->SetDown(SameView(*stored, current));
            font.SetColor(RGB(0, 0, 0));
            font.SetStyle(winforms::FontBold);
        } else {
            if (button->Down()) button->SetDown(false);
            font.SetColor(kEmptyViewGrey);
            font.SetStyle(0);
        }
        if (!(font == button->GetFont())) button->SetFont(font);
    }
}

}  // namespace linework
