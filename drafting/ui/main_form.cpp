// The main form's start-up, timers, resizing, closing and the hooks into the script engine.
#include "ui/main_form.h"

#include "drawing/layer_table.h"
#include "ui/close_query.h"
#include "ui/form_command_line.h"
#include "ui/form_command_surface.h"
#include "ui/form_layout.h"
#include "ui/form_script_services.h"
#include "ui/menu_commands.h"
#include "ui/picker_form.h"
#include "ui/screen_factor.h"
#include "ui/simple_drafting.h"
#include "winplat/debug.h"
#include "winplat/host.h"

namespace linework {

namespace {

constexpr int kDesignWidth = 640;
constexpr int kDesignHeight = 480;
constexpr COLORREF kFormGrey = RGB(192, 192, 192);
constexpr int kStatusPanelWidths[] = {400, 42, 175, 0};
constexpr int kModeButtonFirst = 56;
constexpr int kModeButtonLast = 64;
constexpr int kTraceColumns = 8;
constexpr size_t kReadoutPanel = 2;

// The close questions as the form answers them.
class FormCloseQuestions : public CloseQuestions {
public:
    explicit FormCloseQuestions(MainForm& form) : form_(form) {}
    int Ask(int message, int preset) override { return form_.AskQuestion(message, preset); }
    bool ScriptRunning() const override { return form_.Engine().Running(); }
    bool DrawingModified() const override { return form_.Drafting().DrawingModified(); }
    bool SaveDrawing() override { return form_.Drafting().SaveDrawing(); }
    void ShowNotSaved() override { form_.Boxes().ShowErrorMessage(form_.Texts().Message(kDrawingNotSavedMessage)); }

private:
    MainForm& form_;
};

}  // namespace

MainForm::MainForm(winforms::Component* owner, MainFormSetup setup)
    : winforms::Form(owner), programFolder_(std::move(setup.programFolder)) {
    SetName("Form1");
    SetCaption("Linework");
    SetColor(kFormGrey);
    SetPosition(winforms::Position::ScreenCenter);
    SetBounds(0, 0, kDesignWidth, kDesignHeight);
    speedButtons_.resize(kToolButtons + kRightIcons + kLeftIcons);
    BuildTopPanel();
    statusBar_ = &Add<winforms::StatusBar>();
    statusBar_->SetName("StatusBar1");
    statusBar_->SetParent(this);
    statusBar_->SetAlign(winforms::Align::Bottom);
    for (int width : kStatusPanelWidths) statusBar_->AddPanel(width);
    BuildBottomPanel();
    BuildLeftPanel();
    BuildRightPanel();
    paintBox_ = &Add<winforms::PaintBox>();
    paintBox_->SetName("PaintBox1");
    paintBox_->SetParent(this);
    paintBox_->SetAlign(winforms::Align::Client);
    paintBox_->SetCursor(winforms::Cursor::Cross);
    paintBox_->OnPaint = [this](winforms::Component&) { FormPaint(); };
    paintBox_->OnMouseDown = [this](winforms::Component&, winforms::MouseButton button, winforms::ShiftState shift,
                                    int x, int y) { PaintBox1MouseDown(button, shift, x, y); };
    paintBox_->OnMouseUp = [this](winforms::Component&, winforms::MouseButton, winforms::ShiftState, int, int) {
        PaintBox1MouseUp();
    };
    paintBox_->OnMouseMove = [this](winforms::Component&, winforms::ShiftState, int x, int y) {
        drafting_->TrackMouse(x, y);
    };
    BuildMenus();
    BuildNonVisual();
    edit1_->OnKeyDown = [this](winforms::Component&, WORD& key, winforms::ShiftState shift) { Edit1KeyDown(key, shift); };
    edit1_->OnKeyPress = [this](winforms::Component&, char& key) { Edit1KeyPress(key); };
    edit1_->OnKeyUp = [this](winforms::Component&, WORD& key, winforms::ShiftState) { Edit1KeyUp(key); };
    OnResize = [this](winforms::Component&) { FormResize(); };
    OnMouseWheel = [this](winforms::Component&, winforms::ShiftState shift, int delta, POINT, bool& handled) {
        FormMouseWheel(shift, delta, handled);
    };
    OnCloseQuery = [this](winforms::Component&, bool& canClose) { canClose = FormCloseQuery(); };
    engine_ = std::make_unique<ScriptEngine>(static_cast<ScriptHost&>(*this), static_cast<SystemVariableEffects&>(*this),
                                             programFolder_);
    scriptServices_ = std::make_unique<FormScriptServices>(*this);
    functions_ = std::make_unique<ScriptFunctions>(*engine_, *scriptServices_);
    commands_ = std::make_unique<ScriptCommands>(*engine_);
    prompts_ = std::make_unique<PromptLine>(CommandLineParts{*statusBar_, *bottomPanel_, *label1_, *edit1_, *soundPlayer_},
                                            engine_->image, programFolder_);
    AddMenuCommands(*this);
    if (setup.drafting) {
        drafting_ = setup.drafting;
    } else {
        commandSurface_ = std::make_unique<FormCommandSurface>(*this);
        simpleDrafting_ = std::make_unique<SimpleDrafting>(*paintBox_, engine_->image, engine_->drawing,
                                                           *commandSurface_, engine_->numberInput.grammar);
        drafting_ = simpleDrafting_.get();
        commands_->SetDrawHook(simpleDrafting_->ScreenDrawHook());
        ConnectDrawingSide();
        commandLine_ = std::make_unique<FormCommandLine>(*this, *simpleDrafting_, *commandSurface_);
    }
    FormCreate();
}

MainForm::~MainForm() {
    // The form's own destruction still sends messages (the menu goes, the size changes): none of
    // them may reach the handlers of a form that is half gone.
    if (winforms::Application::Exists()) winforms::Application::Current().OnMessage = nullptr;
    OnResize = nullptr;
    OnMouseWheel = nullptr;
    OnCloseQuery = nullptr;
    paintBox_->OnPaint = nullptr;
    paintBox_->OnMouseDown = nullptr;
    paintBox_->OnMouseUp = nullptr;
    paintBox_->OnMouseMove = nullptr;
    edit1_->OnKeyDown = nullptr;
    edit1_->OnKeyPress = nullptr;
    edit1_->OnKeyUp = nullptr;
    timer1_->SetOnTimer(nullptr);
    timer2_->SetOnTimer(nullptr);
}

void MainForm::FormCreate() {
    winforms::Application::Current().OnMessage = [this](MSG& message, bool& handled) {
        HandleApplicationMessage(message, handled);
    };
    SystemVariableImage& image = engine_->image;
    ResetDrawingSettings(image);
    SetCoordinateEntryDefaults(image);
    for (int k = 0; k < 6; ++k) image.SetInteger(kFirstToggleKey + k, VK_F4 + k);
    image.SetInteger(kInputOptions, 0x06000404);
    image.SetInteger(kBoxPositionPair, -1);
    image.SetInteger(kBoxPositionPair + 1, -1);
    image.SetByte(kBeepSwitch, 1);
    const LoadTextsResult loaded = LoadTexts(texts_, programFolder_);
    image.SetByte(5, texts_.Mismatch() ? 1 : 0);
    engine_->runtime.NoteIoResult(loaded.ioResult);
    engine_->runtime.CheckIOResult();
    ApplyHints();
    FormResize();
}

// The drawing side's messages, readout, panels and view buttons go through the form.
void MainForm::ConnectDrawingSide() {
    DraftingFormHooks& hooks = simpleDrafting_->hooks;
    hooks.showMessage = [this](int message) {
        if (boxes_) boxes_->ShowInfoMessage(texts_.Message(message));
    };
    hooks.askQuestion = [this](int message) { return AskQuestion(message, 1); };
    hooks.messageText = [this](int message) { return std::string(texts_.Message(message)); };
    hooks.setReadout = [this](std::string_view text) {
        if (statusBar_->PanelCount() > kReadoutPanel && statusBar_->Panels(kReadoutPanel).text != text) {
            statusBar_->SetPanelText(kReadoutPanel, std::string(text));
        }
    };
    hooks.angleUnit = [this] { return engine_->numberInput.grammar.angleMode; };
    hooks.releaseButton = [this](int n) { SpeedButton(n).SetDown(false); };
    hooks.acceptPoint = [this](Point at, bool replace) {
        if (commandLine_) {
            commandLine_->Line().AcceptPoint(at, replace);
        } else {
            simpleDrafting_->Commands().AcceptPoint(at, replace);
        }
    };
    StatusPanelParts parts;
    auto part = [this](const char* name) { return FindComponent(name); };
    parts.scale = dynamic_cast<winforms::Label*>(part("Label2"));
    parts.swatch = dynamic_cast<winforms::Panel*>(part("Panel1"));
    parts.width = dynamic_cast<winforms::Image*>(part("Image1"));
    parts.endSymbol = dynamic_cast<winforms::Image*>(part("Image2"));
    parts.lineType = dynamic_cast<winforms::Image*>(part("Image3"));
    parts.layer = dynamic_cast<winforms::Label*>(part("Label7"));
    parts.programFolder = programFolder_;
    parts.layerCaption = [this] { return std::string(texts_.Message(kLayerCaptionMessage)); };
    ViewButtons buttons{};
    for (int n = 1; n <= kViewButtons; ++n) buttons[static_cast<size_t>(n - 1)] = &SpeedButton(n);
    simpleDrafting_->SetPanels(std::move(parts), buttons);
}

void MainForm::SetPickerForm(PickerForm& picker) {
    picker_ = &picker;
    boxes_ = std::make_unique<MessageBoxes>(picker, texts_, engine_->image, programFolder_);
    boxes_->defaultCaption = Caption();
    boxes_->onOpenChanged = [this](bool open) {
        static bool savedSwitch = false;
        if (open) {
            savedSwitch = timerHookSwitch_;
            timerHookSwitch_ = false;
        } else {
            timerHookSwitch_ = savedSwitch;
        }
    };
}

void MainForm::FormPaint() {
    prompts_->FocusCommandLine();
    if (firstPaint_ && !timer1_->Enabled()) {
        drafting_->UpdateViewTransform();
        startTimeMs_ = winplat::host::clock().nowMs();
        timerHookSwitch_ = true;
        timer1_->SetInterval(1);
        timer1_->SetEnabled(true);
    }
    if (!drafting_->Regenerating()) drafting_->RegenerateDrawing();
}

void MainForm::Timer1Timer() {
    if (firstPaint_) {
        firstPaint_ = false;
        timer1_->SetEnabled(false);
        // Without a start-up script the stack is popped once: the idle prompt shows and the idle
        // hook runs.
        if (!RunScriptFile("LK")) drafting_->PopCommandState();
        if (!drafting_->CommandActive() && label1_->Caption().empty()) {
            prompts_->SetCommandPrompt(texts_.Message(kIdlePromptMessage));
        }
        return;
    }
    if (timerHookSwitch_) RunScriptFile("TIMER");
}

void MainForm::Timer2Timer() {
    blinkPhase_ = !blinkPhase_;
    drafting_->UpdateViewTransform();
    drafting_->BlinkInserts(blinkPhase_);
}

void MainForm::FormResize() {
    if (!statusBar_ || !edit1_) return;
    PanelExtents panels;
    panels.left = leftPanel_->Visible() ? leftPanel_->Width() : 0;
    panels.right = rightPanel_->Visible() ? rightPanel_->Width() : 0;
    panels.top = topPanel_->Visible() ? topPanel_->Height() : 0;
    panels.commandLine = bottomPanel_->Height();
    panels.statusBar = statusBar_->Visible() ? statusBar_->Height() : 0;
    const ClientSize least = MinimumClientSize(panels);
    if (ClientWidth() < least.width) SetClientWidth(least.width);
    if (ClientHeight() < least.height) SetClientHeight(least.height);
    edit1_->SetWidth(std::max(0, bottomPanel_->ClientRect().right - edit1_->Left()));
    const std::array<int, 3> widths =
        StatusPanelWidths(Width(), GetWindowState() == winforms::WindowState::Maximized, ScreenFactor());
    for (size_t k = 0; k < widths.size(); ++k) statusBar_->SetPanelWidth(k, widths[k]);
    LayOutRightButtons();
    if (drafting_) drafting_->UpdateViewTransform();
}

bool MainForm::FormCloseQuery() {
    FormCloseQuestions questions(*this);
    if (!linework::FormCloseQuery(questions)) return false;
    engine_->runtime.CloseAllScriptFiles();
    closing_ = true;
    return true;
}

void MainForm::HandleApplicationMessage(MSG& message, bool& handled) {
    // Messages of other kinds are the concern of later issues (the pointer hidden while drawing).
    (void)message;
    (void)handled;
}

void MainForm::FormMouseWheel(winforms::ShiftState shift, int delta, bool& handled) {
    if (drafting_->RealTimePanning() || engine_->Running() || (boxes_ && boxes_->Open()) || pickListOpen_) return;
    WheelZoom(delta, shift.has(winforms::Shift::Ctrl));
    handled = true;
}

void MainForm::RunAndRestore(const std::function<void()>& run) {
    timerHookSwitch_ = false;
    ShowScriptStatus(true);
    // The commands the script starts stack above those that wait already.
    drafting_->SetCommandBottomMark(drafting_->CommandDepth());
    run();
    drafting_->SetCommandBottomMark(0);
    ShowScriptStatus(false);
    timerHookSwitch_ = true;
    if (quitAfterRun_) {
        quitAfterRun_ = false;
        Close();
    }
}

bool MainForm::RunScriptFile(std::string_view name) {
    if (engine_->Running()) return false;
    bool ran = false;
    RunAndRestore([&] { ran = engine_->RunHookScript(name); });
    return ran;
}

int MainForm::AskQuestion(int message, int preset) {
    soundPlayer_->Stop();
    if (!boxes_) return preset;
    return boxes_->AskConfirmation(texts_.Message(message), Caption());
}

void MainForm::ShowScriptStatus(bool running) {
    if (statusBar_->PanelCount() < 2) return;
    if (running) {
        std::string text = ":";
        if (engine_->Running() && engine_->image.Byte(sysvar::kStepMode) != 0) {
            text = (":" + std::to_string(engine_->store.currentLine)).substr(0, kTraceColumns);
            prompts_->ShowPromptText(prompts_->RememberedPrompt());
        }
        if (statusBar_->Panels(1).text != text) statusBar_->SetPanelText(1, text);
        return;
    }
    prompts_->RestorePrompt();
    const std::string idle = engine_->Running() ? "LKP" : "";
    if (statusBar_->Panels(1).text != idle) statusBar_->SetPanelText(1, idle);
}

void MainForm::EnableMenusAndIcons(bool on) {
    if (on == menusEnabled_) return;
    menusEnabled_ = on;
    for (winforms::MenuItem* top : topMenus_) top->SetEnabled(on);
    for (int n = kModeButtonFirst; n <= kModeButtonLast; ++n) SpeedButton(n).SetEnabled(on);
    for (int n = kToolButtons + 1; n <= kToolButtons + kRightIcons + kLeftIcons; ++n) SpeedButton(n).SetEnabled(on);
}

void MainForm::RunMenuLine(int top, int item) {
    if (engine_->Running()) return;
    const int line = kMenuItems * top + item + 1;
    RunAndRestore([&] {
        if (engine_->LoadTextTable(LoadMode::OneLine, line, "PDMENU.LKM")) {
            if (commandLine_) commandLine_->NoteMenuLine(top, item);
            engine_->RunProgram();
        }
    });
}

void MainForm::RunIconLine(int line) {
    if (engine_->Running()) return;
    winforms::SpeedButton& button = SpeedButton(kToolButtons + line);
    if (button.Down()) button.SetDown(false);
    if (line > kRightIcons && engine_->image.Byte(kHideLeftPanel) != 0) leftPanel_->SetVisible(false);
    RunAndRestore([&] {
        if (engine_->LoadTextTable(LoadMode::OneLine, line, "ICONMENU.LKM")) engine_->RunProgram();
    });
}

void MainForm::RunPanelLine(int childIndex) {
    if (engine_->Running()) return;
    if (childIndex < kFirstPanelLabelChild || childIndex > kLastPanelClickChild) return;
    const int firstButton = kFirstPanelLabelChild + 2 * kPanelControlsEach;
    if (childIndex >= firstButton && childIndex < firstButton + kPanelControlsEach) {
        lastPanelButton_ = childIndex - firstButton + 1;
    }
    RunAndRestore([&] {
        if (engine_->LoadTextTable(LoadMode::OneLine, childIndex - 140, "PNL.LKM")) engine_->RunProgram();
    });
}

// --- ScriptHost

void MainForm::ShowError(std::string_view text) {
    if (boxes_) boxes_->ShowErrorMessage(text);
}

void MainForm::ShowInfo(std::string_view text) {
    if (boxes_) boxes_->ShowInfoMessage(text);
}

void MainForm::ShowPrompt(std::string_view text) { prompts_->SetPrompt(text); }

bool MainForm::PumpMessages() {
    winforms::Application::Current().ProcessMessages();
    return false;
}

void MainForm::SetCommandText(std::string_view text) { prompts_->SetCommandEditText(text); }

// The block goes where the user clicks; its scales and angle wait for the add that follows.
std::optional<Point> MainForm::RunInsertStep(std::string_view /*block*/, double /*xScale*/, double /*yScale*/,
                                             double /*angle*/) {
    return scriptServices_->RunInsertStep();
}

bool MainForm::WaitForCommandStep() { return scriptServices_->WaitForCommandStep(); }

// --- SystemVariableEffects

void MainForm::TimerChanged(int timer, bool enabled, uint32_t intervalMs) {
    winforms::Timer* target = timer == 1 ? timer1_ : timer2_;
    if (!target) return;
    target->SetInterval(intervalMs);
    target->SetEnabled(enabled);
}

void MainForm::Changed(SystemVariableEffect effect) {
    switch (effect) {
        case SystemVariableEffect::ScriptStatus:
            ShowScriptStatus(true);
            break;
        case SystemVariableEffect::View:
            drafting_->UpdateViewTransform();
            break;
        case SystemVariableEffect::Background:
            paintBox_->Invalidate();
            break;
        case SystemVariableEffect::SoundStop:
            soundPlayer_->Stop();
            break;
        default:
            break;
    }
}

}  // namespace linework
