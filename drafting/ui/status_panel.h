// The top panel's status fields (the drawing's scale, the current colour, width, end symbol,
// line type and layer) and the ten stored-view buttons, refreshed from the drawing's settings.
#ifndef LINEWORK_UI_STATUS_PANEL_H
#define LINEWORK_UI_STATUS_PANEL_H

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "display/colour_table.h"
#include "drawing/system_variable_image.h"
#include "drawing/view_transform.h"
#include "winforms/forms.h"

namespace linework {

inline constexpr int kLayerCaptionMessage = 39;
// The width pictures are numbered 1..kLargestWidthPicture; a wider pen shows the largest.
inline constexpr int kLargestWidthPicture = 10;
inline constexpr int kViewButtons = 10;

struct StatusPanelParts {
    winforms::Label* scale = nullptr;
    winforms::Panel* swatch = nullptr;
    winforms::Image* width = nullptr;
    winforms::Image* endSymbol = nullptr;
    winforms::Image* lineType = nullptr;
    winforms::Label* layer = nullptr;
    std::string programFolder;  // Windows form, ending in "\"
    std::function<std::string()> layerCaption;  // the message table's layer caption
    std::function<std::string()> drawingFile;  // the current drawing's name, for its layer names
};

using ViewButtons = std::array<winforms::SpeedButton*, kViewButtons>;

// The picture numbers shown now; a picture is loaded again only when its number changes.
struct StatusPanelState {
    int width = -1, endSymbol = -1, lineType = -1;
};

// "1:" and 1/s for a scale below 1, else s and ":1"; "." as the decimal separator.
std::string ScaleCaption(double scale);
// "BMP\<stem><number>.BMP".
std::string StatusPictureName(std::string_view stem, int number);
// The layer caption, the number, a line break and the name, the name shortened a character at a
// time until 'textWidth' of the whole is at most 'available' - 4 pixels.
std::string FitLayerText(std::string_view caption, int layer, std::string name,
                         const std::function<int(std::string_view)>& textWidth, int available);

// The colour swatch shows the entry of 'colours' that entities of the current colour are drawn with.
void RefreshStatusPanel(const StatusPanelParts& parts, StatusPanelState& state, const SystemVariableImage& image,
                        const ColourTable& colours);
// A defined stored view (scale above 0) gets a group of its own and is down with a black bold
// caption when it equals the current view; an empty slot is up, grey and plain.
void RefreshViewButtons(const ViewButtons& buttons, const SystemVariableImage& image, const ViewTransform& current);

}  // namespace linework

#endif
