// The LCNDOCUMENT window: the child in which a page window shows its page content. It only
// unpacks messages for the view whose pointer it keeps in its view word; it does not own the
// view. Messages that arrive before the view is set do nothing.
#include "page/document_view.h"
#include "page/window_class.h"
#include "page/rich_text_object.h"
#include "text/font_cache.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr char kClassName[] = "LCNDOCUMENT";
constexpr UINT kTooltipMessage = 27139;
constexpr UINT kPrivateFirst = 9000;
constexpr UINT kPrivateLast = 9099;

DocumentView* ViewOf(HWND window) { return reinterpret_cast<DocumentView*>(GetWindowLongPtrA(window, DocumentView::kViewWord)); }

int XOf(LPARAM lParam) { return static_cast<int16_t>(LOWORD(lParam)); }
int YOf(LPARAM lParam) { return static_cast<int16_t>(HIWORD(lParam)); }

// Input goes to the view's input layer; a plain view takes none of it. Answers whether the
// message was one of the input layer's.
bool RouteInput(RichTextObject* input, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_KEYDOWN:
            if (input) input->OnKeyDown(wParam);
            return true;
        case WM_COMMAND:
            if (input) input->OnCommand(LOWORD(wParam));
            return true;
        case WM_MOUSEMOVE:
            if (input) input->OnMouseMove(XOf(lParam), YOf(lParam), wParam);
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (input) input->OnLButtonDown(XOf(lParam), YOf(lParam));
            return true;
        case WM_LBUTTONUP:
            if (input) input->OnLButtonUp(XOf(lParam), YOf(lParam));
            return true;
        case WM_RBUTTONDOWN:
            if (input) input->OnRButtonDown();
            return true;
        case WM_SETCURSOR:
            // Outside the client area, or while the reader closes, the default cursor stays.
            if (!input || !input->OnSetCursor(LOWORD(lParam))) return false;
            result = TRUE;
            return true;
        case kTooltipMessage:
            if (input) result = static_cast<LRESULT>(input->ShowTooltip(static_cast<uint16_t>(wParam), XOf(lParam), YOf(lParam)));
            return true;
        default: return false;
    }
}

void VerticalScroll(DocumentView& view, HWND window, int code, int thumb) {
    switch (code) {
        case SB_LINEUP: view.LineUp(); break;
        case SB_LINEDOWN: view.LineDown(); break;
        case SB_PAGEUP: view.PageUp(); break;
        case SB_PAGEDOWN: view.PageDown(); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: view.ScrollTo(thumb * GetScrollScale(window)); break;
        default: break;
    }
}

void HorizontalScroll(DocumentView& view, int code, int thumb) {
    switch (code) {
        case SB_LINELEFT: view.ScrollLeft(8, 0); break;
        case SB_LINERIGHT: view.ScrollRight(8, 0); break;
        case SB_PAGELEFT: view.ScrollLeft(1, 0); break;
        case SB_PAGERIGHT: view.ScrollRight(1, 0); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: view.SetHorizontalPos(thumb); break;
        default: break;
    }
}

}  // namespace

bool RegisterDocumentWindowClass() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DocumentWndProc;
    wc.cbWndExtra = 8;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassOnce(wc);
}

namespace {

DocumentActivation& activation() {
    static DocumentActivation current;
    return current;
}

// Slot -1: the view belongs to no member in particular.
void PaintWithItsDocument(DocumentView& view) {
    const DocumentActivation& a = activation();
    const int8_t slot = view.DocumentSlot();
    const bool switches = slot != -1 && a.active && a.activate && slot != a.active();
    const int8_t previous = switches ? a.active() : int8_t{0};
    if (switches) a.activate(slot);
    view.OnPaint(nullptr);
    if (switches) a.activate(previous);
}

}  // namespace

void SetDocumentActivation(DocumentActivation a) { activation() = std::move(a); }

LRESULT CALLBACK DocumentWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kPrivateFirst && message <= kPrivateLast) return 0;
    if (message == WM_CREATE) {
        SetWindowLongPtrA(window, DocumentView::kViewWord, 0);
        return 0;
    }
    DocumentView* view = ViewOf(window);
    LRESULT result = 0;
    if (RouteInput(dynamic_cast<RichTextObject*>(view), message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_DESTROY:
        case WM_ERASEBKGND:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
            return 0;
        case WM_SIZE:
            if (view) view->OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_PAINT:
            // While a print job runs the formatter and the view belong to the printer.
            if (view && !view->Printing() && !GetPrintJobDevice()) PaintWithItsDocument(*view);
            else ValidateRect(window, nullptr);
            return 0;
        case WM_VSCROLL:
            if (view) VerticalScroll(*view, window, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
            return 0;
        case WM_HSCROLL:
            if (view) HorizontalScroll(*view, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
            return 0;
        case WM_MOUSEWHEEL:
            if (view) view->OnMouseWheel(static_cast<int16_t>(HIWORD(wParam)) < 0);
            return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace lect32
