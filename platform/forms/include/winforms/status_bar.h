// A status bar without a window: panels of given widths along the bottom of its parent, each
// with a text, drawn sunken; the last panel reaches the right edge.
#ifndef WINFORMS_STATUS_BAR_H
#define WINFORMS_STATUS_BAR_H

#include <string>
#include <vector>

#include "winforms/control.h"

namespace winforms {

struct StatusPanel {
    std::string text;
    int width = 50;
    Alignment alignment = Alignment::LeftJustify;
};

class WINFORMS_API StatusBar : public GraphicControl {
public:
    explicit StatusBar(Component* owner);
    size_t PanelCount() const { return panels_.size(); }
    StatusPanel& Panels(size_t index) { return panels_.at(index); }
    const StatusPanel& Panels(size_t index) const { return panels_.at(index); }
    StatusPanel& AddPanel(int width, std::string text = {});
    // Changes a panel's text and redraws it; an index beyond the panels is refused.
    void SetPanelText(size_t index, const std::string& text);
    void SetPanelWidth(size_t index, int width);
    // The panel under a point of the bar (x from its left edge), or -1 beyond the last.
    int PanelAt(int x) const;
    // A panel's rectangle in the bar's coordinates.
    RECT PanelRect(size_t index) const;
    void Paint(Canvas& canvas) override;

private:
    std::vector<StatusPanel> panels_;
};

}  // namespace winforms

#endif
