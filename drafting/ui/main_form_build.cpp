// The main form's component tree, made in loops under the names the program's scripts and
// message table use.
#include <type_traits>

#include "ui/command_buttons.h"
#include "ui/main_form.h"
#include "ui/form_layout.h"

namespace linework {

namespace {

constexpr int kTopPanelHeight = 20;
constexpr int kBottomPanelHeight = 24;
constexpr int kLeftPanelWidth = 97;
constexpr int kRightPanelWidth = 122;
constexpr int kButtonSize = 24;
constexpr int kLeftColumns = 4;
constexpr int kRightIconGroup = 38;
constexpr int kLeftIconGroup = 39;

template <class T>
T& Made(winforms::Component& owner, winforms::WinControl* parent, const std::string& name) {
    T& made = owner.Add<T>();
    made.SetName(name);
    if constexpr (std::is_base_of_v<winforms::Control, T>) {
        if (parent) made.SetParent(parent);
    }
    return made;
}

winforms::Panel& MadePanel(winforms::Form& form, const std::string& name, winforms::Align align, int size) {
    winforms::Panel& panel = Made<winforms::Panel>(form, &form, name);
    panel.SetAlign(align);
    if (align == winforms::Align::Top || align == winforms::Align::Bottom) {
        panel.SetHeight(size);
    } else {
        panel.SetWidth(size);
    }
    return panel;
}

}  // namespace

void MainForm::BuildTopPanel() {
    topPanel_ = &MadePanel(*this, "HorniPanel", winforms::Align::Top, kTopPanelHeight);
    struct Part {
        const char* name;
        const char* caption;
        int width;
        bool image;
    };
    // In the order of their hints in the message table (Label1, the command prompt, is first).
    static const Part parts[] = {
        {"Label2", "1:?", 64, false}, {"Label3", "Barva", 40, false},  {"Panel1", "", 18, false},
        {"Label4", "Tlou\x9a\x9dka", 56, false}, {"Image1", "", 24, true}, {"Label5", "Styl", 30, false},
        {"Image2", "", 24, true},    {"Label6", "Typ", 26, false},    {"Image3", "", 24, true},
    };
    int left = 4;
    for (const Part& part : parts) {
        winforms::Control* control = nullptr;
        if (part.image) {
            control = &Made<winforms::Image>(*this, topPanel_, part.name);
        } else if (std::string_view(part.name) == "Panel1") {
            winforms::Panel& swatch = Made<winforms::Panel>(*this, topPanel_, part.name);
            swatch.SetBevelOuter(winforms::BevelCut::Lowered);
            control = &swatch;
        } else {
            winforms::Label& label = Made<winforms::Label>(*this, topPanel_, part.name);
            label.SetTransparent(true);
            label.SetCaption(part.caption);
            control = &label;
        }
        control->SetBounds(left, 3, part.width, kTopPanelHeight - 6);
        if (winforms::Label* label = dynamic_cast<winforms::Label*>(control)) label->SetAutoSize(false);
        topPanelHinted_.push_back(control);
        left += part.width + 4;
    }
    winforms::Label& layer = Made<winforms::Label>(*this, topPanel_, "Label7");
    layer.SetTransparent(true);
    layer.SetCaption("Vrstva");
    layer.SetBounds(left + 8, 3, layer.Width(), kTopPanelHeight - 6);
}

void MainForm::BuildBottomPanel() {
    bottomPanel_ = &MadePanel(*this, "DolniPanel", winforms::Align::Bottom, kBottomPanelHeight);
    bottomPanel_->SetBevelOuter(winforms::BevelCut::None);
    label1_ = &Made<winforms::Label>(*this, bottomPanel_, "Label1");
    label1_->SetTransparent(true);
    label1_->SetBounds(2, 4, 0, kBottomPanelHeight - 8);
    label1_->SetVisible(false);
    edit1_ = &Made<winforms::Edit>(*this, bottomPanel_, "Edit1");
    edit1_->SetBounds(0, 1, 640, kBottomPanelHeight - 2);
    edit1_->SetTabStop(true);
    // Label1 is the first of the top panel's hinted controls, in front of Label2.
    topPanelHinted_.insert(topPanelHinted_.begin(), label1_);
}

void MainForm::BuildLeftPanel() {
    leftPanel_ = &MadePanel(*this, "LevyPanel", winforms::Align::Left, kLeftPanelWidth);
    for (int k = 0; k < kLeftIcons; ++k) {
        winforms::SpeedButton& button =
            Made<winforms::SpeedButton>(*this, leftPanel_, "SpeedButton" + std::to_string(141 + k));
        button.SetBounds(1 + (k % kLeftColumns) * kButtonSize, 1 + (k / kLeftColumns) * kButtonSize, kButtonSize,
                         kButtonSize);
        button.SetGroupIndex(kLeftIconGroup);
        button.SetAllowAllUp(true);
        // An icon button shows once a script gives it its picture.
        button.SetVisible(false);
        button.OnClick = [this, k](winforms::Component&) { RunIconLine(kRightIcons + k + 1); };
        speedButtons_[static_cast<size_t>(140 + k)] = &button;
    }
}

void MainForm::BuildRightPanel() {
    rightPanel_ = &MadePanel(*this, "PravyPanel", winforms::Align::Right, kRightPanelWidth);
    for (int n = 1; n <= kToolButtons; ++n) {
        winforms::SpeedButton& button =
            Made<winforms::SpeedButton>(*this, rightPanel_, "SpeedButton" + std::to_string(n));
        button.SetCaption(std::to_string(n));
        button.SetShowHint(true);
        if (CommandButtonOf(n)) button.OnClick = [this, n](winforms::Component&) { CommandButtonClick(n); };
        speedButtons_[static_cast<size_t>(n - 1)] = &button;
    }
    for (int k = 0; k < kRightIcons; ++k) {
        winforms::SpeedButton& button =
            Made<winforms::SpeedButton>(*this, rightPanel_, "SpeedButton" + std::to_string(81 + k));
        button.SetGroupIndex(kRightIconGroup);
        button.SetAllowAllUp(true);
        button.SetVisible(false);
        button.OnClick = [this, k](winforms::Component&) { RunIconLine(k + 1); };
        speedButtons_[static_cast<size_t>(80 + k)] = &button;
    }
    // The panel controls a script shows: 16 of each kind, in this child order.
    auto panelClick = [this](winforms::Component& sender) {
        RunPanelLine(static_cast<winforms::Control&>(sender).ChildIndex());
    };
    const char* kinds[] = {"PanelBevel", "PanelLabel", "PanelEdit", "PanelButton", "PanelCheckBox", "PanelComboBox"};
    for (const char* kind : kinds) {
        for (int i = 1; i <= kPanelControlsEach; ++i) {
            const std::string name = kind + std::to_string(i);
            winforms::Control* control = nullptr;
            const std::string_view k(kind);
            if (k == "PanelBevel") control = &Made<winforms::Bevel>(*this, rightPanel_, name);
            if (k == "PanelLabel") control = &Made<winforms::Label>(*this, rightPanel_, name);
            if (k == "PanelEdit") control = &Made<winforms::Edit>(*this, rightPanel_, name);
            if (k == "PanelButton") control = &Made<winforms::Button>(*this, rightPanel_, name);
            if (k == "PanelCheckBox") control = &Made<winforms::CheckBox>(*this, rightPanel_, name);
            if (k == "PanelComboBox") control = &Made<winforms::ComboBox>(*this, rightPanel_, name);
            control->SetVisible(false);
            if (k != "PanelBevel" && k != "PanelComboBox") control->OnClick = panelClick;
        }
    }
    Made<winforms::MediaPlayer>(*this, nullptr, "MediaPlayer2");
}

void MainForm::LayOutRightButtons() {
    // The icon buttons follow the tool buttons; those a script has shown count in the fit.
    int shownIcons = 0;
    for (int k = 1; k <= kRightIcons; ++k) {
        if (SpeedButton(kToolButtons + k).Visible()) shownIcons = k;
    }
    const RECT area = rightPanel_->ClientRect();
    const int margin = 1;
    const ButtonGrid grid = FitButtons(kToolButtons + shownIcons, area.right - 2 * margin, area.bottom - 2 * margin);
    for (int k = 0; k < kToolButtons + kRightIcons; ++k) {
        SpeedButton(k + 1).SetBounds(margin + (k % grid.columns) * grid.pitch, margin + (k / grid.columns) * grid.pitch,
                                     grid.pitch, grid.pitch);
    }
}

void MainForm::BuildMenus() {
    mainMenu_ = &Made<winforms::MainMenu>(*this, nullptr, "MainMenu1");
    for (int top = 0; top < kTopMenus; ++top) {
        const char letter = static_cast<char>('a' + top);
        winforms::MenuItem& head = Made<winforms::MenuItem>(*this, nullptr, std::string("mm") + letter);
        head.SetCaption(std::string(1, letter));
        mainMenu_->Items().Add(head);
        topMenus_.push_back(&head);
        for (int item = 0; item < kMenuItems; ++item) {
            const int i = top * kMenuItems + item + 1;
            winforms::MenuItem& entry = Made<winforms::MenuItem>(*this, nullptr, "mm" + std::to_string(i));
            // An item shows once a script gives it a caption.
            entry.SetVisible(false);
            entry.OnClick = [this, top, item](winforms::Component&) { RunMenuLine(top, item); };
            head.Add(entry);
            menuItems_.push_back(&entry);
        }
    }
    SetMenu(mainMenu_);
    popupMenu_ = &Made<winforms::PopupMenu>(*this, nullptr, "PopupMenu1");
    for (int i = 1; i <= kPopupItems; ++i) {
        winforms::MenuItem& entry = Made<winforms::MenuItem>(*this, nullptr, "ppm" + std::to_string(i));
        entry.SetVisible(false);
        entry.OnClick = [this, i](winforms::Component&) { popupAnswer_ = i; };
        popupMenu_->Items().Add(entry);
        popupItems_.push_back(&entry);
    }
}

void MainForm::BuildNonVisual() {
    timer1_ = &Made<winforms::Timer>(*this, nullptr, "Timer1");
    timer1_->SetEnabled(false);
    timer1_->SetInterval(1);
    timer1_->SetOnTimer([this](winforms::Component&) { Timer1Timer(); });
    timer2_ = &Made<winforms::Timer>(*this, nullptr, "Timer2");
    timer2_->SetEnabled(false);
    timer2_->SetInterval(0);
    timer2_->SetOnTimer([this](winforms::Component&) { Timer2Timer(); });
    Made<winforms::MediaPlayer>(*this, nullptr, "MediaPlayer1");
    Made<winforms::MediaPlayer>(*this, nullptr, "MediaPlayer3");
    soundPlayer_ = &Made<winforms::MediaPlayer>(*this, nullptr, "PromptSoundPlayer");
    openDialog_ = &Made<winforms::OpenDialog>(*this, nullptr, "OpenDialog1");
    saveDialog_ = &Made<winforms::SaveDialog>(*this, nullptr, "SaveDialog1");
    Made<winforms::PrintDialog>(*this, nullptr, "PrintDialog1");
    Made<winforms::PrinterSetupDialog>(*this, nullptr, "PrinterSetupDialog1");
}

void MainForm::ApplyHints() {
    edit1_->SetHint(texts_.ControlHint(0));
    for (size_t k = 0; k < topPanelHinted_.size(); ++k) {
        topPanelHinted_[k]->SetHint(texts_.ControlHint(static_cast<int>(k + 1)));
    }
    for (int n = 1; n <= kToolButtons; ++n) SpeedButton(n).SetHint(texts_.ToolButtonHint(n));
}

}  // namespace linework
