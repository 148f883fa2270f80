// TForm1, the drafting program's main form: the paint box with the drawing, the top panel, the
// command line, the left and right panels with their tool, icon and panel controls, the status
// bar, the main menu of 12 x 32 items and the popup menu, two timers, media players and common
// dialogs. Everything the user does arrives here and is handed on: menu items, icon buttons and
// panel controls run a line of their menu file, keys and clicks run hook scripts, the rest goes
// to the drawing side (DraftingOperations).
#ifndef LINEWORK_UI_MAIN_FORM_H
#define LINEWORK_UI_MAIN_FORM_H

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "script/script_commands.h"
#include "script/script_engine.h"
#include "script/script_functions.h"
#include "script/script_services.h"
#include "ui/drafting_operations.h"
#include "ui/hot_keys.h"
#include "ui/message_boxes.h"
#include "ui/message_table.h"
#include "ui/prompt_line.h"
#include "winforms/forms.h"

namespace linework {

class FormCommandLine;
class FormCommandSurface;
class FormScriptServices;
class PickerForm;
class SimpleDrafting;

// The numbers of the main form's parts.
inline constexpr int kTopMenus = 12;
inline constexpr int kMenuItems = 32;
inline constexpr int kPopupItems = 32;
inline constexpr int kToolButtons = 80;
inline constexpr int kRightIcons = 60;
inline constexpr int kLeftIcons = 108;
inline constexpr int kPanelControlsEach = 16;
inline constexpr int kFirstPanelLabelChild = 156;  // right panel child index of PanelLabel1
inline constexpr int kLastPanelClickChild = 219;   // ... of PanelCheckBox16

inline constexpr int kIdlePromptMessage = 8;
inline constexpr int kNoFurtherViewMessage = 33;
inline constexpr int32_t kInputOptions = 365;      // integer: input option bits
inline constexpr int32_t kHotKeyEscape = 305;      // integer: the hot-key escape character
inline constexpr int32_t kFirstToggleKey = 306;    // integers 306..311: mode toggle keys
inline constexpr int32_t kKeysSwallowed = 50;      // byte: keys do nothing while no command is active
inline constexpr int32_t kRightButtonEnter = 49;   // byte
inline constexpr int32_t kHideLeftPanel = 45;      // byte: an icon line of the left panel hides it

struct MainFormSetup {
    std::string programFolder;          // Windows path ending in "\"
    DraftingOperations* drafting = nullptr;  // null: the simple drawing side
};

class MainForm : public winforms::Form, private ScriptHost, private SystemVariableEffects {
public:
    MainForm(winforms::Component* owner, MainFormSetup setup);
    ~MainForm() override;

    // The program block hands over the message box's form once it has made it.
    void SetPickerForm(PickerForm& picker);

    // --- the parts other code and tests reach by their program names
    winforms::PaintBox& PaintBox1() { return *paintBox_; }
    winforms::Edit& Edit1() { return *edit1_; }
    winforms::Label& Label1() { return *label1_; }
    winforms::StatusBar& StatusBar1() { return *statusBar_; }
    winforms::MenuItem& TopMenu(int top) { return *topMenus_.at(static_cast<size_t>(top)); }
    winforms::MenuItem& MenuItemAt(int top, int item) { return *menuItems_.at(static_cast<size_t>(top * kMenuItems + item)); }
    winforms::SpeedButton& SpeedButton(int n) { return *speedButtons_.at(static_cast<size_t>(n - 1)); }
    winforms::Panel& RightPanel() { return *rightPanel_; }
    winforms::Panel& LeftPanel() { return *leftPanel_; }
    winforms::Panel& TopPanel() { return *topPanel_; }
    winforms::Panel& BottomPanel() { return *bottomPanel_; }
    winforms::Timer& Timer1() { return *timer1_; }
    winforms::Timer& Timer2() { return *timer2_; }
    winforms::Control& PanelControl(int childIndex) { return rightPanel_->Controls(static_cast<size_t>(childIndex)); }
    winforms::OpenDialog& OpenDialog1() { return *openDialog_; }
    winforms::SaveDialog& SaveDialog1() { return *saveDialog_; }
    winforms::PopupMenu& PopupMenu1() { return *popupMenu_; }
    // Popup item i (1..32).
    winforms::MenuItem& PopupItem(int i) { return *popupItems_.at(static_cast<size_t>(i - 1)); }

    ScriptEngine& Engine() { return *engine_; }
    const MessageTable& Texts() const { return texts_; }
    MessageBoxes& Boxes() { return *boxes_; }
    PromptLine& Prompts() { return *prompts_; }
    // Null when another drawing side takes the input.
    FormCommandLine* CommandLineInput() { return commandLine_.get(); }
    HotKeyTable& HotKeys() { return hotKeys_; }
    DraftingOperations& Drafting() { return *drafting_; }
    // The simple drawing side when it takes the input, else null.
    SimpleDrafting* SimpleSide() { return simpleDrafting_.get(); }
    const std::string& ProgramFolder() const { return programFolder_; }

    // --- the form's entries
    bool RunScriptFile(std::string_view name);
    // Asks message n with a preset answer; the answer (1 yes).
    int AskQuestion(int message, int preset);
    void ShowScriptStatus(bool running);
    void EnableMenusAndIcons(bool on);
    void RunMenuLine(int top, int item);
    void RunIconLine(int line);
    void RunPanelLine(int childIndex);
    // A tool button that starts an interactive command (main_form_command_buttons.cpp).
    void CommandButtonClick(int n);
    // The popup item chosen last (1..32), read by scripts.
    int PopupAnswer() const { return popupAnswer_; }
    void ClearPopupAnswer() { popupAnswer_ = 0; }
    // The key pressed last on the command line; taking it clears it.
    WORD LastKey() const { return lastKey_; }
    WORD TakeLastKey() { return std::exchange(lastKey_, WORD{0}); }
    int LastPanelButton() const { return lastPanelButton_; }
    bool TimerHookSwitch() const { return timerHookSwitch_; }
    bool FirstPaintPending() const { return firstPaint_; }
    bool Closing() const { return closing_; }
    // Whether keys, menus and the mouse were enabled last (EnableMenusAndIcons).
    bool MenusEnabled() const { return menusEnabled_; }

private:
    // Building the component tree (main_form_build.cpp).
    void BuildTopPanel();
    void BuildBottomPanel();
    void BuildLeftPanel();
    void BuildRightPanel();
    void BuildMenus();
    // Sizes the right panel's tool and icon buttons so that every one shows in the panel.
    void LayOutRightButtons();
    void BuildNonVisual();
    void ApplyHints();

    // Start-up and timers (main_form.cpp).
    void FormCreate();
    void FormPaint();
    void Timer1Timer();
    void Timer2Timer();
    void FormResize();
    bool FormCloseQuery();
    void HandleApplicationMessage(MSG& message, bool& handled);
    void FormMouseWheel(winforms::ShiftState shift, int delta, bool& handled);
    void RunAndRestore(const std::function<void()>& run);
    void ConnectDrawingSide();

    // Keys and the mouse (main_form_input.cpp).
    void Edit1KeyDown(WORD& key, winforms::ShiftState shift);
    void Edit1KeyPress(char& key);
    void Edit1KeyUp(WORD key);
    void ModeToggleKeys(WORD key);
    bool SelectionStepKeys(WORD key, winforms::ShiftState shift);
    bool PickWindowKeys(WORD key);
    void NavigationKeys(WORD key, winforms::ShiftState shift);
    void StepStoredViews(int step);
    void PaintBox1MouseDown(winforms::MouseButton button, winforms::ShiftState shift, int x, int y);
    void PaintBox1MouseUp();
    void WheelZoom(int delta, bool ctrl);
    bool RunPickListHook(const char* hook);

    // ScriptHost.
    void ShowError(std::string_view text) override;
    void ShowInfo(std::string_view text) override;
    void ShowPrompt(std::string_view text) override;
    bool PumpMessages() override;
    void SetMenusEnabled(bool on) override { EnableMenusAndIcons(on); }
    void SetCommandText(std::string_view text) override;
    void ResetCommandState() override { drafting_->ResetCommandState(); }
    void QuitProgram() override { quitAfterRun_ = true; }
    std::optional<Point> RunInsertStep(std::string_view block, double xScale, double yScale, double angle) override;
    bool WaitForCommandStep() override;

    // SystemVariableEffects.
    void TimerChanged(int timer, bool enabled, uint32_t intervalMs) override;
    void Changed(SystemVariableEffect effect) override;

    std::string programFolder_;
    MessageTable texts_;
    HotKeyTable hotKeys_;
    std::unique_ptr<ScriptEngine> engine_;
    // The script functions, with the form's dialogs, pop-up menu and key waits.
    std::unique_ptr<FormScriptServices> scriptServices_;
    std::unique_ptr<ScriptFunctions> functions_;
    // The drawing commands; they draw nothing and select nothing yet, until the drawing side
    // lends them its draw hook and selection engine.
    std::unique_ptr<ScriptCommands> commands_;
    std::unique_ptr<FormCommandSurface> commandSurface_;
    std::unique_ptr<SimpleDrafting> simpleDrafting_;
    // The command line's Enter and Esc, with the simple drawing side's steps.
    std::unique_ptr<FormCommandLine> commandLine_;
    DraftingOperations* drafting_ = nullptr;
    std::unique_ptr<PromptLine> prompts_;
    std::unique_ptr<MessageBoxes> boxes_;
    PickerForm* picker_ = nullptr;

    winforms::PaintBox* paintBox_ = nullptr;
    winforms::Panel* topPanel_ = nullptr;
    winforms::Panel* bottomPanel_ = nullptr;
    winforms::Panel* leftPanel_ = nullptr;
    winforms::Panel* rightPanel_ = nullptr;
    winforms::Label* label1_ = nullptr;
    winforms::Edit* edit1_ = nullptr;
    winforms::StatusBar* statusBar_ = nullptr;
    std::vector<winforms::Control*> topPanelHinted_;  // Label1..Image3 in the message table's order
    std::vector<winforms::SpeedButton*> speedButtons_;  // SpeedButton1..248
    std::vector<winforms::MenuItem*> topMenus_;
    std::vector<winforms::MenuItem*> menuItems_;
    std::vector<winforms::MenuItem*> popupItems_;
    winforms::MainMenu* mainMenu_ = nullptr;
    winforms::PopupMenu* popupMenu_ = nullptr;
    winforms::OpenDialog* openDialog_ = nullptr;
    winforms::SaveDialog* saveDialog_ = nullptr;
    winforms::Timer* timer1_ = nullptr;
    winforms::Timer* timer2_ = nullptr;
    winforms::MediaPlayer* soundPlayer_ = nullptr;

    bool firstPaint_ = true;
    bool timerHookSwitch_ = false;
    bool keyConsumed_ = false;
    bool ctrlHeld_ = false;
    bool menusEnabled_ = true;
    bool blinkPhase_ = false;
    bool closing_ = false;
    bool quitAfterRun_ = false;
    bool pickListOpen_ = false;
    bool fineZoom_ = false;
    int popupAnswer_ = 0;
    int lastPanelButton_ = 0;
    WORD lastKey_ = 0;
    uint64_t startTimeMs_ = 0;
};

}  // namespace linework

#endif
