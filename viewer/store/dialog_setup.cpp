#include "store/dialog_setup.h"

#include <array>
#include <string_view>

#include "winplat/dialogs.h"

namespace lect32 {
namespace {

// cp1250 bytes of the Czech and Slovak captions and of the one the reader shows instead.
constexpr std::string_view kCzechCancel = "Zru\x9Ait";
constexpr std::string_view kSlovakCancel = "Zru\x9Ai\x9D";
constexpr const char* kCancelCaption = "Storno";
constexpr int kCaptionRoom = 100;

}  // namespace

void NormalizeCancelButtonText(HWND dialog) {
    std::array<char, kCaptionRoom + 1> text{};
    GetDlgItemTextA(dialog, IDCANCEL, text.data(), static_cast<int>(text.size()));
    const std::string_view caption(text.data());
    if (caption == kCzechCancel || caption == kSlovakCancel) SetDlgItemTextA(dialog, IDCANCEL, kCancelCaption);
}

void CenterWindowOnScreen(HWND window) {
    RECT frame{};
    if (!GetWindowRect(window, &frame)) return;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MoveWindow(window, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               width, height, TRUE);
}

void NotifyDialogShown(HWND) {}

void NotifyDialogClosed(HWND) {}

}  // namespace lect32
