// The drafting program started under the harness: a program folder of its own (empty, or with
// the shipped kit copied in), the four forms made as the program makes them, the main form shown
// and its first timer tick run. A recording drawing side can stand in for the simple one.
#ifndef TESTS_DRAFTING_UI_MAIN_FORM_FIXTURE_H
#define TESTS_DRAFTING_UI_MAIN_FORM_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "drawing/view_transform.h"
#include "ui/close_query.h"
#include "ui/main_form.h"
#include "ui/picker_form.h"
#include "ui/program.h"
#include "ui/program_folder.h"
#include "winforms/forms.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace linework::test {

// What the form asked of the drawing side, in order.
struct RecordingDrafting : DraftingOperations {
    std::vector<std::string> calls;
    bool commandActive = false;
    bool commandCode = false;
    int storedView = 0;
    bool historyAvailable = true;

    void PopCommandState() override { calls.push_back("pop"); }
    bool CommandActive() const override { return commandActive; }
    bool HasActiveCommandCode() const override { return commandCode; }
    void SetPickWindowMode(int kind) override { calls.push_back("pick " + std::to_string(kind)); }
    void ToggleWindowSelection() override { calls.push_back("window selection"); }
    void ZoomByFactor(double factor) override { calls.push_back("zoom " + std::to_string(factor)); }
    void PanByScreenFraction(double dx, double dy) override {
        calls.push_back("pan " + std::to_string(dx) + " " + std::to_string(dy));
    }
    void ZoomExtents() override { calls.push_back("extents"); }
    bool StepViewHistory(int step) override {
        calls.push_back("history " + std::to_string(step));
        return historyAvailable;
    }
    void UseStoredView(int n) override {
        calls.push_back("stored view " + std::to_string(n));
        storedView = n;
    }
    int CurrentStoredView() const override { return storedView; }
    void CentreViewOnCursor(bool) override { calls.push_back("centre"); }
    void StartRealTimePan() override { calls.push_back("real-time pan"); }
    void AcceptPoint(winforms::MouseButton, bool) override { calls.push_back("accept point"); }
    bool modified = false;
    bool DrawingModified() const override { return modified; }
    bool SaveDrawing() override {
        calls.push_back("save");
        return false;
    }
};

inline winplat::test::Harness::Options LineworkScreen() {
    winplat::test::Harness::Options options;
    options.width = 800;
    options.height = 600;
    options.goldenFolder = DRAFTING_UI_GOLDEN_DIR;
    return options;
}

class MainFormTest : public ::testing::Test {
protected:
    winplat::test::Harness h{LineworkScreen()};
    TempFolder folder{"linework_ui"};
    std::optional<winforms::Application> app{std::in_place};
    MainForm* form = nullptr;
    PickerForm* picker = nullptr;

    void TearDown() override {
        form = nullptr;
        picker = nullptr;
        app.reset();
    }

    // Where a control lies on the screen, for cutting it out of a screenshot.
    static RECT ScreenRect(const winforms::Control& control) {
        const POINT origin = control.ClientToScreen({0, 0});
        return {origin.x, origin.y, origin.x + control.Width(), origin.y + control.Height()};
    }

    void CopyKit() { ASSERT_GT(InstallKit(LINEWORK_KIT_DIR, folder.path()), 0); }

    void WriteFile(const std::string& name, const std::string& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(folder.path() + "/" + name).parent_path());
        std::ofstream(folder.path() + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
    }

    // Makes the forms as the program does, shows the main form and lets the first tick run.
    void Start(DraftingOperations* drafting = nullptr) {
        app->SetTitle("Linework");
        form = &app->CreateForm<MainForm>(MainFormSetup{WindowsFolder(folder.path()), drafting});
        picker = &app->CreateForm<PickerForm>();
        winforms::Form& third = app->CreateForm<winforms::Form>();
        third.SetName("Form3");
        winforms::Form& fourth = app->CreateForm<winforms::Form>();
        fourth.SetName("Form4");
        form->SetPickerForm(*picker);
        form->ShowForm();
        h.pump();
        h.advance(20);
    }

    // Queues the answer to the next message box: the button pressed, what the box showed kept.
    struct BoxSeen {
        std::string caption, text;
        std::vector<std::string> buttons;
        int pictureWidth = 0;
    };
    void AnswerBox(int button, BoxSeen* seen = nullptr) {
        h.answer(winplat::host::ModalKind::Form, "Form2", [this, button, seen](const winplat::host::ModalLoop&)
                     -> std::optional<INT_PTR> {
            if (seen) {
                seen->caption = picker->Caption();
                seen->text = picker->Label1().Caption();
                for (int n = 1; n <= 3; ++n) {
                    if (picker->Buttons(n).Visible()) seen->buttons.push_back(picker->Buttons(n).Caption());
                }
                seen->pictureWidth = picker->Picture().Visible() ? picker->Picture().Picture().Width() : 0;
            }
            if (button == 0) {
                picker->Close();
            } else {
                picker->Buttons(button).Click();
            }
            return std::nullopt;
        });
    }
};

}  // namespace linework::test

#endif
