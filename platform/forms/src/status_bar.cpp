#include "winforms/status_bar.h"

#include "painting.h"
#include "winforms/canvas.h"
#include "winplat/draw.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {
constexpr winplat::Refuser refuse("winforms: StatusBar");
}  // namespace

StatusBar::StatusBar(Component* owner) : GraphicControl(owner) {
    bounds_ = {0, 0, 200, 19};
    SetAlign(Align::Bottom);
}

StatusPanel& StatusBar::AddPanel(int width, std::string text) {
    panels_.push_back({std::move(text), width, Alignment::LeftJustify});
    Invalidate();
    return panels_.back();
}

void StatusBar::SetPanelText(size_t index, const std::string& text) {
    if (index >= panels_.size()) {
        refuse.log("no such panel");
        return;
    }
    panels_[index].text = text;
    Invalidate();
}

void StatusBar::SetPanelWidth(size_t index, int width) {
    if (index >= panels_.size()) {
        refuse.log("no such panel");
        return;
    }
    panels_[index].width = width;
    Invalidate();
}

RECT StatusBar::PanelRect(size_t index) const {
    int left = 0;
    for (size_t i = 0; i < index && i < panels_.size(); ++i) left += panels_[i].width;
    const bool last = index + 1 >= panels_.size();
    const int right = last ? std::max(left, Width()) : left + panels_[index].width;
    return {left, 0, right, Height()};
}

int StatusBar::PanelAt(int x) const {
    if (x < 0 || x >= Width()) return -1;
    for (size_t i = 0; i < panels_.size(); ++i) {
        const RECT r = PanelRect(i);
        if (x >= r.left && x < r.right) return static_cast<int>(i);
    }
    return -1;
}

void StatusBar::Paint(Canvas& canvas) {
    HDC dc = canvas.Handle();
    fillRect(dc, {0, 0, Width(), Height()}, Color());
    for (size_t i = 0; i < panels_.size(); ++i) {
        RECT r = PanelRect(i);
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&r, -2, -1);
        drawText(dc, GetFont(), panels_[i].text, r,
                 alignmentFormat(panels_[i].alignment) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

}  // namespace winforms
