// Dialog templates under fuzzing, as a module's resources and DialogBoxIndirectParamA hand them to
// the layer: each input is read with its size known, then (when that read accepts it) as a template
// whose size nobody gave, which must stop at the same end and read the same; some templates of a
// few items are then made into a dialog (hidden), its tab and group order walked, and destroyed.
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
#include "program_resources.h"
#include "winplat/dialogs.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

using winplat::dialogs::DialogItem;
using winplat::dialogs::DialogTemplate;

// Making a dialog costs as much as twenty reads of its template, so only templates whose length is
// a multiple of kMadeOneIn are made (mutations mostly keep a length, so the corpus keeps such inputs
// coming), and templates of more items are only read: hundreds of windows per input would slow the
// run more than they find.
constexpr size_t kMadeOneIn = 64;
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
        return setenv("WINPLAT_HOST", "headless", 1) == 0;
    }();
    static winplat::testing::ScopedFontSource testFace(winplat::testing::FontSource::Test);
    static winplat::testing::ScopedDebugAsserts refusedOnly(false);
    check(done);
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

// What destroying the dialog posted, so the queue does not grow from one input to the next.
void dispatchSome() {
    MSG message;
    for (int i = 0; i < kDispatched && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        DispatchMessageA(&message);
    }
}

void make(std::vector<uint8_t> bytes) {
    bytes[3] = static_cast<uint8_t>(bytes[3] & ~(WS_VISIBLE >> 24));  // made hidden: nothing is painted
    const auto* dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(bytes.data());
    const HWND dialog = CreateDialogIndirectParamA(nullptr, dialogTemplate, nullptr, quietProcedure, 0);
    if (!dialog) return;
    walkOrder(dialog);
    SendMessageA(dialog, DM_GETDEFID, 0, 0);
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
    const auto unbounded = winplat::dialogs::readDialogTemplateUnbounded(bytes.data(), why);
    check(unbounded && same(*bounded, *unbounded));
    if (bounded->items.size() <= kMadeItems && bytes.size() % kMadeOneIn == 0) make(bytes);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds = programResources({5});  // RT_DIALOG
    for (const auto& made : {winplat::commdlg::fileDialogTemplate("Otev\xF8\xEDt"), winplat::commdlg::colourDialogTemplate(),
                             winplat::commdlg::printDialogTemplate(), winplat::commdlg::printSetupTemplate()}) {
        seeds.push_back(made.bytes());
    }
    // Each also padded with zeros to a length that is made into a dialog; what follows the last
    // item is not read.
    const size_t read = seeds.size();
    for (size_t i = 0; i < read; ++i) {
        FuzzBytes padded = seeds[i];
        padded.resize((padded.size() + kMadeOneIn - 1) / kMadeOneIn * kMadeOneIn);
        seeds.push_back(padded);
    }
    return seeds;
}
