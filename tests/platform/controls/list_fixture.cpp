#include "list_fixture.h"

namespace list_test {
namespace {

constexpr const char* kParentClass = "ListTestParent";

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentLog& log = parentLog();
    switch (message) {
        case WM_COMMAND:
            log.commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
            return 0;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            log.measures.push_back(*m);
            if (log.height) {
                if (const UINT height = log.height(*m)) m->itemHeight = height;
            }
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            log.draws.push_back(*d);
            // Selected items dark, the others light: enough for the pixels to tell them apart.
            const HBRUSH brush = GetSysColorBrush((d->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
            FillRect(d->hDC, &d->rcItem, brush);
            return TRUE;
        }
        case WM_COMPAREITEM: {
            // Owner-drawn sorted items compare by their values.
            const auto* c = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
            log.compares.push_back(*c);
            return c->itemData1 < c->itemData2 ? -1 : (c->itemData1 > c->itemData2 ? 1 : 0);
        }
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            log.keysAsked.push_back(wParam);
            return log.keyAnswer ? log.keyAnswer(message, LOWORD(wParam)) : -1;
        case WM_CTLCOLORLISTBOX:
            log.colourAsks.push_back(reinterpret_cast<HWND>(lParam));
            return reinterpret_cast<LRESULT>(log.listBrush);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

ParentLog& parentLog() {
    static ParentLog log;
    return log;
}

void ListTest::SetUp() {
    parentLog().clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = parentProcedure;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kParentClass;
    ASSERT_NE(RegisterClassA(&wc), 0);
    parent = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(parent, nullptr);
    h.pump();
}

HWND ListTest::make(const char* className, DWORD style, int x, int y, int width, int height, UINT id) const {
    HWND control = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(control, nullptr) << className;
    return control;
}

std::string ListTest::textAt(HWND list, int index, UINT getText, UINT getLength) {
    const LRESULT length = send(list, getLength, static_cast<WPARAM>(index));
    if (length < 0) return "<LB_ERR>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = send(list, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    EXPECT_EQ(copied, length);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<std::string> ListTest::texts(HWND list) {
    std::vector<std::string> out;
    const auto count = static_cast<int>(send(list, LB_GETCOUNT));
    for (int i = 0; i < count; ++i) out.push_back(textAt(list, i));
    return out;
}

std::vector<WORD> ListTest::codesFrom(HWND control) {
    std::vector<WORD> codes;
    for (const Command& c : parentLog().commands) {
        if (c.control == control) codes.push_back(c.code);
    }
    return codes;
}

POINT ListTest::onScreen(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

}  // namespace list_test
