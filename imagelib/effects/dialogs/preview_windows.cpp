#include "effects/dialogs/preview_windows.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/registry/library_state.h"
#include "effects/dialogs/effect_dialog_layout.h"
#include "effects/dialogs/effect_dialog_session.h"
#include "winplat/dialogs.h"
#include "winplat/owners.h"

namespace pixmill::effects {

namespace {

// Global, redrawn whole when its size changes either way.
constexpr UINT kClassStyle = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
constexpr int kRampBands = 128;

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() {
        if (dc_) EndPaint(window_, &paint_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

std::string_view textOf(HWND window, std::array<char, 8>& buffer) {
    const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<size_t>(std::max(length, 0))};
}

// The sunken frame round the client area: shadow on the left and top, highlight on the right and
// bottom. Returns the rectangle inside it.
RECT drawSunkenFrame(HDC dc, HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    const HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    const RECT left{client.left, client.top, client.left + 1, client.bottom};
    const RECT top{client.left, client.top, client.right, client.top + 1};
    const RECT right{client.right - 1, client.top, client.right, client.bottom};
    const RECT bottom{client.left, client.bottom - 1, client.right, client.bottom};
    FillRect(dc, &left, shadow);
    FillRect(dc, &top, shadow);
    FillRect(dc, &right, highlight);
    FillRect(dc, &bottom, highlight);
    return {client.left + 1, client.top + 1, std::max(client.left + 1, client.right - 1),
            std::max(client.top + 1, client.bottom - 1)};
}

void fillSolid(HDC dc, const RECT& area, COLORREF colour) {
    const winplat::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    if (brush) FillRect(dc, &area, brush.get());
}

// The image 1:1 from the inside's top-left corner, clipped to the inside; false when there is
// none to draw.
bool drawImage(HDC dc, const RECT& inside, PxlImageId image) {
    const HBITMAP bitmap = image ? PXLGetBitmap(image) : nullptr;
    if (!bitmap) return false;
    const winplat::MemoryDc source(CreateCompatibleDC(dc));
    if (!source) return false;
    const winplat::Selection selected(source.get(), bitmap);
    if (!selected) return false;
    const int width = std::min<int>(PXLWidth(image), inside.right - inside.left);
    const int height = std::min<int>(PXLHeight(image), inside.bottom - inside.top);
    return BitBlt(dc, inside.left, inside.top, width, height, source.get(), 0, 0, SRCCOPY) != FALSE;
}

void paintPreview(HWND window) {
    const PaintScope paint(window);
    if (!paint.dc()) return;
    const RECT inside = drawSunkenFrame(paint.dc(), window);
    const EffectDialogController* dialog = effectDialogOf(GetParent(window));
    std::array<char, 8> text{};
    PxlImageId image = 0;
    if (dialog) image = textOf(window, text) == "Orig" ? dialog->originalPreview() : dialog->editedPreview();
    if (!drawImage(paint.dc(), inside, image)) FillRect(paint.dc(), &inside, GetSysColorBrush(COLOR_BTNFACE));
}

// A click toggles the detail view around the point; the dialog then recomputes what it shows.
void previewClicked(HWND window, LPARAM point) {
    const HWND dialogWindow = GetParent(window);
    EffectDialogController* dialog = effectDialogOf(dialogWindow);
    if (!dialog) return;
    dialog->previewClicked(static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)));
    PostMessageA(dialogWindow, WM_COMMAND, kCommandPreviewClicked, 0);
}

// 128 bands from left to right: the shade ramp at half its resolution.
void paintRamp(HDC dc, const RECT& inside, COLORREF colour) {
    const int width = inside.right - inside.left;
    for (int band = 0; band < kRampBands; ++band) {
        const RECT area{inside.left + band * width / kRampBands, inside.top,
                        inside.left + (band + 1) * width / kRampBands, inside.bottom};
        if (area.right > area.left) fillSolid(dc, area, shadeRampBand(colour, band));
    }
}

void paintSwatch(HWND window) {
    const PaintScope paint(window);
    if (!paint.dc()) return;
    const RECT inside = drawSunkenFrame(paint.dc(), window);
    SwatchColours colours;
    const HWND dialogWindow = GetParent(window);
    if (const EffectDialogController* dialog = effectDialogOf(dialogWindow)) {
        colours = swatchColours(dialog->layout().dialogId, dialog->settings());
    }
    std::array<char, 8> text{};
    const std::string_view shown = textOf(window, text);
    if (shown == "Fill") paintRamp(paint.dc(), inside, colours.first);
    else fillSolid(paint.dc(), inside, shown == "2" ? colours.second : colours.first);
}

void registerClass(const char* name, WNDPROC procedure, LPCSTR cursor) {
    WNDCLASSA preview{};
    preview.style = kClassStyle;
    preview.lpfnWndProc = procedure;
    preview.hInstance = libraryInstance();
    preview.hCursor = LoadCursorA(nullptr, cursor);
    preview.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    preview.lpszClassName = name;
    // A second registration fails and leaves the first in place, which is all we need.
    RegisterClassA(&preview);
}

}  // namespace

void RegisterPreviewClasses() {
    registerClass(kPreviewClass, PreviewWndProc, IDC_CROSS);
    registerClass(kColourPreviewClass, ColorPreviewWndProc, IDC_ARROW);
}

void unregisterPreviewClasses() {
    UnregisterClassA(kPreviewClass, libraryInstance());
    UnregisterClassA(kColourPreviewClass, libraryInstance());
}

LRESULT CALLBACK PreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: paintPreview(window); return 0;
        case WM_LBUTTONDOWN: previewClicked(window, lParam); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ColorPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paintSwatch(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace pixmill::effects
