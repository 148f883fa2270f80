// Dialog templates under fuzzing, as a module's resources and DialogBoxIndirectParamA hand them to
// the layer: each input is read with its size known, then (when that read accepts it) as a template
// whose size nobody gave, which must stop at the same end and read the same; a template of a few
// items is then made into a dialog, its tab and group order walked, its first messages dispatched
// (so its controls paint) and destroyed.
//
// What must hold for any input: nothing reads outside the input (the sanitizers watch that); a
// refusal says why; both reads agree.
//
// Seeds: the dialogs the resource compiler wrote (the layer tests' templates and the image
// library's effect dialogs, compiled into this program) and the layer's own common dialogs.
#include <cstdlib>
#include <string>
#include <vector>

#include "commdlg/colour_dialog.h"
#include "commdlg/file_dialog.h"
#include "commdlg/print_dialog.h"
#include "dialogs/dialog_template.h"
#include "fuzz_entry.h"
#include "winplat/dialogs.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

using winplat::dialogs::DialogItem;
using winplat::dialogs::DialogTemplate;

// Templates of more items are only read: making hundreds of windows per input would slow the run
// more than it finds.
constexpr size_t kMadeItems = 24;
constexpr int kDispatched = 64;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

bool sameItem(const DialogItem& a, const DialogItem& b) {
    return a.style == b.style && a.exStyle == b.exStyle && a.x == b.x && a.y == b.y && a.cx == b.cx &&
           a.cy == b.cy && a.id == b.id && a.className == b.className && a.text == b.text && a.textId == b.textId &&
           a.creationData == b.creationData;
}

bool same(const DialogTemplate& a, const DialogTemplate& b) {
    if (a.style != b.style || a.exStyle != b.exStyle || a.x != b.x || a.y != b.y || a.cx != b.cx || a.cy != b.cy ||
        !(a.menu == b.menu) || a.className != b.className || a.caption != b.caption ||
        a.pointSize != b.pointSize || a.faceName != b.faceName || a.items.size() != b.items.size()) {
        return false;
    }
    for (size_t i = 0; i < a.items.size(); ++i) {
        if (!sameItem(a.items[i], b.items[i])) return false;
    }
    return true;
}

INT_PTR CALLBACK quietProcedure(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Windows without a display, the synthetic face for every font a template names, and a style the
// layer does not do yet refused as the release build refuses it (a template's data, not a fault).
void setUpOnce() {
    static const bool done = [] {
        setenv("WINPLAT_HOST", "headless", 1);
        return true;
    }();
    static winplat::testing::ScopedFontSource testFace(winplat::testing::FontSource::Test);
    static winplat::testing::ScopedDebugAsserts refusedOnly(false);
    static_cast<void>(done);
}

void walkOrder(HWND dialog) {
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    HWND at = first;
    for (int step = 0; at && step < static_cast<int>(kMadeItems) + 2; ++step) {
        at = GetNextDlgTabItem(dialog, at, FALSE);
        GetNextDlgGroupItem(dialog, at, TRUE);
    }
    if (first) check(GetNextDlgTabItem(dialog, GetNextDlgTabItem(dialog, first, TRUE), FALSE) != nullptr);
}

void dispatchSome() {
    MSG message;
    for (int i = 0; i < kDispatched && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        DispatchMessageA(&message);
    }
}

void make(const std::vector<uint8_t>& bytes) {
    const auto* dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(bytes.data());
    const HWND dialog = CreateDialogIndirectParamA(nullptr, dialogTemplate, nullptr, quietProcedure, 0);
    if (!dialog) return;
    walkOrder(dialog);
    SendMessageA(dialog, DM_GETDEFID, 0, 0);
    dispatchSome();
    check(DestroyWindow(dialog) != FALSE);
    dispatchSome();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winplat::testing::DebugCapture quiet;  // the layer's refusals of damaged templates
    quiet.clear();
    setUpOnce();
    // A copy of exactly the input, so a read past it is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    std::string why;
    const auto bounded = winplat::dialogs::readDialogTemplate(bytes, why);
    if (!bounded) {
        check(!why.empty());
        return 0;
    }
    if (bytes.empty()) return 0;
    const auto unbounded = winplat::dialogs::readDialogTemplateUnbounded(bytes.data(), why);
    check(unbounded && same(*bounded, *unbounded));
    if (bounded->items.size() <= kMadeItems) make(bytes);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    const winplat::ModuleResources* program = winplat::moduleResources(GetModuleHandleA(nullptr));
    for (size_t i = 0; program && i < program->resourceCount; ++i) {
        const winplat::BinaryResource& resource = program->resources[i];
        if (resource.type == 5) seeds.emplace_back(resource.data, resource.data + resource.size);  // RT_DIALOG
    }
    for (const auto& made : {winplat::commdlg::fileDialogTemplate("Otev\xF8\xEDt"), winplat::commdlg::colourDialogTemplate(),
                             winplat::commdlg::printDialogTemplate(), winplat::commdlg::printSetupTemplate()}) {
        seeds.push_back(made.bytes());
    }
    return seeds;
}
