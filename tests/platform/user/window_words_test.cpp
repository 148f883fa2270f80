#include <cstring>
#include <string>

#include "window_fixture.h"

namespace window_test {
namespace {

using WindowWordsTest = WindowTest;

// The recording class declares 8 extra bytes, as the reader's "LCNDOCUMENT" does.
TEST_F(WindowWordsTest, PointerLivesInItsSlotWhileTheWordHoldsItsLowHalf) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    int object = 0;
    const auto pointer = reinterpret_cast<LONG_PTR>(&object);
    EXPECT_EQ(SetWindowLongPtrA(window, 0, pointer), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), pointer);
    EXPECT_EQ(GetWindowLongA(window, 0), static_cast<LONG>(static_cast<uint32_t>(pointer)));
    SetWindowWord(window, 4, 25);  // the scroll scale factor next to it leaves the pointer alone
    EXPECT_EQ(GetWindowLongPtrA(window, 0), pointer);
    EXPECT_EQ(GetWindowWord(window, 4), 25);
}

struct NarrowWrite {
    const char* name;
    int offset;
    bool isWord;
    bool dropsSlot;
};

class PointerSlotTest : public WindowTest, public ::testing::WithParamInterface<NarrowWrite> {};

const NarrowWrite kNarrowWrites[] = {
    {"longAtSlot", 0, false, true},  {"wordAtSlot", 0, true, true},   {"wordInSecondHalf", 2, true, true},
    {"longOverlapping", 2, false, true}, {"wordJustAfter", 4, true, false}, {"longJustAfter", 4, false, false},
};

TEST_P(PointerSlotTest, ANarrowerWriteTouchingTheWordDropsTheSlot) {
    const NarrowWrite& c = GetParam();
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    const LONG_PTR pointer = static_cast<LONG_PTR>(0x7F00123456789ABCull);
    SetWindowLongPtrA(window, 0, pointer);
    if (c.isWord) {
        SetWindowWord(window, c.offset, 0x1111);
    } else {
        SetWindowLongA(window, c.offset, 0x22222222);
    }
    if (c.dropsSlot) {
        EXPECT_EQ(GetWindowLongPtrA(window, 0), LONG_PTR{GetWindowLongA(window, 0)}) << "only the 4-byte word is left";
    } else {
        EXPECT_EQ(GetWindowLongPtrA(window, 0), pointer);
    }
}

INSTANTIATE_TEST_SUITE_P(Writes, PointerSlotTest, ::testing::ValuesIn(kNarrowWrites),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowWordsTest, OffsetsPastTheExtraBytesAreRefused) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    struct Case {
        int offset;
        int width;  // 2 word, 4 long, 8 pointer form
        bool fits;
    };
    const Case cases[] = {{6, 2, true}, {7, 2, false}, {4, 4, true}, {5, 4, false}, {4, 8, true},
                          {5, 8, false}, {8, 2, false}};
    for (const Case& c : cases) {
        SetLastError(0);
        if (c.width == 2) {
            SetWindowWord(window, c.offset, 0x1234);
            EXPECT_EQ(GetWindowWord(window, c.offset), c.fits ? 0x1234 : 0) << c.offset;
        } else if (c.width == 4) {
            SetWindowLongA(window, c.offset, 0x12345678);
            EXPECT_EQ(GetWindowLongA(window, c.offset), c.fits ? 0x12345678 : 0) << c.offset;
        } else {
            SetWindowLongPtrA(window, c.offset, 0x1234567890LL);
            EXPECT_EQ(GetWindowLongPtrA(window, c.offset), c.fits ? 0x1234567890LL : 0) << c.offset;
        }
        EXPECT_EQ(GetLastError(), c.fits ? 0u : static_cast<DWORD>(ERROR_INVALID_INDEX)) << c.offset;
    }
}

TEST_F(WindowWordsTest, NamedWordsReadAndWrite) {
    HWND parent = make(WS_POPUP, 0, 0, 10, 10);
    HWND child = make(WS_CHILD, 0, 0, 1, 1, parent, 0, "", 77);
    EXPECT_EQ(GetWindowLongA(child, GWL_ID), 77);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(parent));
    SetWindowLongPtrA(child, GWLP_USERDATA, static_cast<LONG_PTR>(0x1122334455667788ll));
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), static_cast<LONG_PTR>(0x1122334455667788ll));
    EXPECT_EQ(SetWindowLongA(child, GWL_STYLE, WS_CHILD | WS_VISIBLE), static_cast<LONG>(WS_CHILD));
    EXPECT_TRUE(IsWindowVisible(child) == FALSE) << "the parent is hidden";
    EXPECT_EQ(recorder().messagesOf(child, true, {WM_STYLECHANGING, WM_STYLECHANGED}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
}

LRESULT CALLBACK upperCaseText(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK countingText(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LONG previousUpper = 0;
LONG_PTR previousCounting = 0;
int settextCount = 0;

// The outer subclass, installed with the 32-bit call the way old programs do it.
LRESULT CALLBACK upperCaseText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam) {
        std::string text = reinterpret_cast<const char*>(lParam);
        for (char& ch : text) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
        return CallWindowProcA(reinterpret_cast<WNDPROC>(static_cast<LONG_PTR>(previousUpper)), window, message, wParam,
                               reinterpret_cast<LPARAM>(text.c_str()));
    }
    return CallWindowProcA(reinterpret_cast<WNDPROC>(static_cast<LONG_PTR>(previousUpper)), window, message, wParam, lParam);
}

// The inner subclass, installed with the pointer-sized call.
LRESULT CALLBACK countingText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) ++settextCount;
    return CallWindowProcA(reinterpret_cast<WNDPROC>(previousCounting), window, message, wParam, lParam);
}

TEST_F(WindowWordsTest, SubclassingChainsThroughCallWindowProc) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    settextCount = 0;
    previousCounting = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingText));
    EXPECT_EQ(previousCounting, reinterpret_cast<LONG_PTR>(recordingProcedure));
    const LONG token = GetWindowLongA(window, GWL_WNDPROC);
    EXPECT_NE(static_cast<LONG_PTR>(token), reinterpret_cast<LONG_PTR>(countingText)) << "a 32-bit stand-in";
    previousUpper = SetWindowLongA(window, GWL_WNDPROC, 0);
    EXPECT_EQ(previousUpper, 0) << "0 is no procedure: refused";
    // The stand-in of the new procedure comes from a read through the 32-bit call of another window.
    HWND helper = make(WS_POPUP, 0, 0, 1, 1);
    SetWindowLongPtrA(helper, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(upperCaseText));
    const LONG upperToken = GetWindowLongA(helper, GWL_WNDPROC);
    previousUpper = SetWindowLongA(window, GWL_WNDPROC, upperToken);
    EXPECT_EQ(previousUpper, token);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(upperCaseText));

    SetWindowTextA(window, "ahoj");
    char text[16] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "AHOJ");
    EXPECT_EQ(settextCount, 1);
    EXPECT_EQ(recorder().messagesOf(window, true, {WM_SETTEXT}).size(), 1u) << "the class procedure ends the chain";
    EXPECT_EQ(SetWindowLongA(window, GWL_WNDPROC, 0x12345), 0) << "a value no call handed out";
}

TEST_F(WindowWordsTest, TextIsTruncatedToTheBuffer) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10, nullptr, 0, "P\xF8\xEDli\xB9");  // "Příliš" in cp1250
    EXPECT_EQ(GetWindowTextLengthA(window), 6);
    char small[4] = "xxx";
    EXPECT_EQ(GetWindowTextA(window, small, sizeof small), 3);
    EXPECT_STREQ(small, "P\xF8\xED");
    char one[1] = {'x'};
    EXPECT_EQ(GetWindowTextA(window, one, 1), 0);
    EXPECT_EQ(one[0], '\0');
}

TEST_F(WindowWordsTest, PropertiesByNameAnyCaseAndByAtom) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    int a = 0;
    int b = 0;
    ASSERT_TRUE(SetPropA(window, "Stav", &a));
    ASSERT_TRUE(SetPropA(window, MAKEINTATOM(5), &b));
    EXPECT_EQ(GetPropA(window, "STAV"), &a);
    EXPECT_EQ(GetPropA(window, MAKEINTATOM(5)), &b);
    EXPECT_EQ(RemovePropA(window, "stav"), &a);
    EXPECT_EQ(GetPropA(window, "Stav"), nullptr);
}

TEST_F(WindowWordsTest, ClassesRegisterOnceByCaseInsensitiveName) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = recordingProcedure;
    wc.lpszClassName = "recordingwindow";
    SetLastError(0);
    EXPECT_EQ(RegisterClassA(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    WNDCLASSA info{};
    ASSERT_TRUE(GetClassInfoA(nullptr, "RECORDINGWINDOW", &info));
    EXPECT_EQ(info.cbWndExtra, 8) << "the first registration stays";
    EXPECT_STREQ(info.lpszClassName, kClass);

    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_FALSE(UnregisterClassA(kClass, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("recordingWINDOW", nullptr));
    EXPECT_FALSE(GetClassInfoA(nullptr, kClass, &info));
}

// The name as registered, cut to the buffer: the buffer one longer than the name holds all of it,
// the buffer the name's length holds one character less.
TEST_F(WindowWordsTest, ClassNameIsCutToTheBuffer) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    const std::string name = kClass;
    const int length = static_cast<int>(name.size());
    struct Case {
        int size;
        std::string expected;
    };
    const Case cases[] = {{256, name}, {length + 1, name}, {length, name.substr(0, name.size() - 1)}, {2, "R"}, {1, ""}};
    for (const Case& c : cases) {
        std::string buffer(static_cast<size_t>(c.size) + 1, '#');
        EXPECT_EQ(GetClassNameA(window, buffer.data(), c.size), static_cast<int>(c.expected.size())) << c.size;
        EXPECT_EQ(std::string(buffer.c_str()), c.expected) << c.size;
        EXPECT_EQ(buffer[static_cast<size_t>(c.size)], '#') << "nothing written past the buffer of " << c.size;
    }
    char untouched[4] = "abc";
    SetLastError(0);
    EXPECT_EQ(GetClassNameA(window, untouched, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(GetClassNameA(window, nullptr, 16), 0);
}

TEST_F(WindowWordsTest, ClassNameOfADeadWindowIsRefused) {
    HWND window = make(WS_POPUP, 0, 0, 10, 10);
    char name[32] = "stale";
    ASSERT_EQ(GetClassNameA(window, name, sizeof name), static_cast<int>(strlen(kClass)));
    DestroyWindow(window);
    SetLastError(0);
    EXPECT_EQ(GetClassNameA(window, name, sizeof name), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_STREQ(name, "") << "the buffer holds no name of a window that is gone";
    char builtin[16] = "";
    HWND button = CreateWindowExA(0, "button", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(button);
    EXPECT_EQ(GetClassNameA(button, builtin, sizeof builtin), 6);
    EXPECT_STREQ(builtin, "BUTTON") << "a built-in class keeps its registered case";
    DestroyWindow(button);
}

TEST_F(WindowWordsTest, ClassWordsAndExtraBytes) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = recordingProcedure;
    wc.cbClsExtra = 4;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<LONG_PTR>(15 + 1));  // system colour + 1
    wc.lpszClassName = "WithClassBytes";
    const ATOM atom = RegisterClassExA(&wc);
    ASSERT_NE(atom, 0);
    HWND window = CreateWindowExA(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window) << "a class is found by its atom too";
    EXPECT_EQ(GetClassLongA(window, GCL_HBRBACKGROUND), 16u);
    EXPECT_EQ(GetClassLongA(window, GCW_ATOM), atom);
    EXPECT_EQ(SetClassLongA(window, 0, 99), 0u);
    EXPECT_EQ(GetClassLongA(window, 0), 99u);
    SetLastError(0);
    EXPECT_EQ(GetClassLongA(window, 1), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX)) << "one byte past the four";
}

}  // namespace
}  // namespace window_test
