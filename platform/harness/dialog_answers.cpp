// Answers to dialogs and message boxes, acting through the dialog's own keyboard interface.
#include <gtest/gtest.h>

#include "winplat/commdlg.h"
#include "winplat/dialogs.h"
#include "winplat/dlgs.h"
#include "winplat/testing.h"
#include "hooks.h"
#include "winplat_harness/harness.h"

namespace winplat::test {
namespace {

// Far more than any step causes: a message that keeps posting itself ends the delivery.
constexpr int kMostMessages = 10000;

// Dispatches what is queued as the dialog's loop would, through IsDialogMessageA.
void deliver(HWND dialog) {
    MSG message{};
    for (int count = 0; count < kMostMessages && testing::takeReadyMessage(&message); ++count) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND controlOf(HWND dialog, int id, const char* step) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) ADD_FAILURE() << step << ": the dialog has no control " << id;
    return control;
}

void focus(HWND dialog, HWND control) {
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void pressKey(HWND dialog, UINT virtualKey, unsigned modifiers) {
    queueKey(virtualKey, modifiers);
    deliver(dialog);
}

void pressButton(HWND dialog, int id) {
    const HWND button = controlOf(dialog, id, "press");
    if (!button) return;
    if (!IsWindowEnabled(button)) {
        ADD_FAILURE() << "press: control " << id << " is disabled";
        return;
    }
    focus(dialog, button);
    pressKey(dialog, VK_SPACE, kNoModifiers);
}

Harness::Action runSteps(std::shared_ptr<std::vector<DialogAnswer::Step>> steps) {
    return [steps](const host::ModalLoop& loop) -> std::optional<INT_PTR> {
        for (const DialogAnswer::Step& step : *steps) step(loop.window);
        return std::nullopt;
    };
}

}  // namespace

DialogAnswer& DialogAnswer::type(int id, std::string_view cp1250) {
    steps_->push_back([id, text = std::string(cp1250)](HWND dialog) {
        const HWND control = controlOf(dialog, id, "type");
        if (!control) return;
        focus(dialog, control);
        for (const char c : text) testing::typeCharacter(c);
        deliver(dialog);
    });
    return *this;
}

DialogAnswer& DialogAnswer::check(int id, bool checked) {
    steps_->push_back([id, checked](HWND dialog) {
        const HWND control = controlOf(dialog, id, "check");
        if (!control) return;
        const LRESULT wanted = checked ? BST_CHECKED : BST_UNCHECKED;
        // A 3-state box may take two presses to get there.
        for (int press = 0; press < 3 && SendMessageA(control, BM_GETCHECK, 0, 0) != wanted; ++press) {
            focus(dialog, control);
            pressKey(dialog, VK_SPACE, kNoModifiers);
        }
        if (SendMessageA(control, BM_GETCHECK, 0, 0) != wanted) {
            ADD_FAILURE() << "check: control " << id << " does not come to " << (checked ? "checked" : "unchecked");
        }
    });
    return *this;
}

DialogAnswer& DialogAnswer::press(int id) {
    steps_->push_back([id](HWND dialog) { pressButton(dialog, id); });
    return *this;
}

DialogAnswer& DialogAnswer::key(UINT virtualKey, unsigned modifiers) {
    steps_->push_back([virtualKey, modifiers](HWND dialog) { pressKey(dialog, virtualKey, modifiers); });
    return *this;
}

DialogAnswer& DialogAnswer::call(Step step) {
    steps_->push_back([step = std::move(step)](HWND dialog) {
        step(dialog);
        deliver(dialog);
    });
    return *this;
}

DialogAnswer Harness::expectDialog(std::string name) {
    auto steps = std::make_shared<std::vector<DialogAnswer::Step>>();
    answer(host::ModalKind::Dialog, std::move(name), runSteps(steps));
    return DialogAnswer(steps);
}

DialogAnswer Harness::expectCommonDialog(std::string name) {
    auto steps = std::make_shared<std::vector<DialogAnswer::Step>>();
    answer(host::ModalKind::CommonDialog, std::move(name), runSteps(steps));
    return DialogAnswer(steps);
}

void Harness::answerOpenFile(std::string path) { expectCommonDialog("GetOpenFileName").type(edt1, path).press(IDOK); }

void Harness::answerSaveFile(std::string path) { expectCommonDialog("GetSaveFileName").type(edt1, path).press(IDOK); }

void Harness::answerFolder(std::string path) { expectCommonDialog("SHBrowseForFolder").type(edt1, path).press(IDOK); }

void Harness::answerColour(COLORREF colour) {
    expectCommonDialog("ChooseColor")
        .call([](HWND dialog) {
            const HWND mix = GetDlgItem(dialog, COLOR_MIX);
            if (mix && IsWindowEnabled(mix)) SendMessageA(mix, BM_CLICK, 0, 0);
        })
        .type(COLOR_RED, std::to_string(GetRValue(colour)))
        .type(COLOR_GREEN, std::to_string(GetGValue(colour)))
        .type(COLOR_BLUE, std::to_string(GetBValue(colour)))
        .press(IDOK);
}

void Harness::answerPrint(PrintChoice choice) {
    DialogAnswer answer = expectCommonDialog("PrintDlg");
    if (!choice.printer.empty()) {
        answer.call([printer = choice.printer](HWND dialog) {
            const LRESULT index = SendDlgItemMessageA(dialog, cmb4, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(printer.c_str()));
            EXPECT_NE(index, CB_ERR) << "no printer " << printer << " in the print dialog";
        });
    }
    if (choice.fromPage > 0) {
        answer.type(edt1, std::to_string(choice.fromPage)).type(edt2, std::to_string(choice.toPage));
    }
    answer.press(IDOK);
}

void Harness::answerMessageBox(int buttonId) {
    auto steps = std::make_shared<std::vector<DialogAnswer::Step>>();
    DialogAnswer(steps).press(buttonId);
    answer(host::ModalKind::MessageBox, [](std::string_view) { return true; }, runSteps(steps));
}

void Harness::answerMessageBox(std::string text, int buttonId) {
    auto steps = std::make_shared<std::vector<DialogAnswer::Step>>();
    DialogAnswer(steps).press(buttonId);
    answer(host::ModalKind::MessageBox, std::move(text), runSteps(steps));
}

}  // namespace winplat::test
