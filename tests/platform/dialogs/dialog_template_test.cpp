// Dialog templates: what the resource compiler wrote (templates_test.rsrc, compiled into this
// program) read back field by field, damaged templates refused, and the corners of the stored
// form built by hand.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/dialog_template.h"
#include "resources/winplat_tests_ids.h"
#include "winplat/base.h"
#include "winplat/controls.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/user.h"

namespace {

using winplat::dialogs::DialogItem;
using winplat::dialogs::DialogTemplate;
using winplat::dialogs::readDialogTemplate;
using winplat::dialogs::readDialogTemplateUnbounded;
using winplat::dialogs::TemplateName;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
static_assert(winplat_tests::res::kPasswordEdit == 101);

std::vector<uint8_t> resourceBytes(LPCSTR name) {
    const auto bytes = winplat::resourceBytes(nullptr, name, RT_DIALOG);
    EXPECT_TRUE(bytes) << GetLastError();
    return bytes ? std::vector<uint8_t>(bytes->begin(), bytes->end()) : std::vector<uint8_t>{};
}

struct ExpectedItem {
    std::string className;
    WORD id;
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    std::string text;
    std::optional<WORD> textId;
};

void expectItem(const DialogItem& item, const ExpectedItem& e) {
    SCOPED_TRACE("item " + std::to_string(e.id));
    EXPECT_EQ(item.className, e.className);
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.x, e.x);
    EXPECT_EQ(item.y, e.y);
    EXPECT_EQ(item.cx, e.cx);
    EXPECT_EQ(item.cy, e.cy);
    EXPECT_EQ(item.style, e.style) << std::hex << item.style << " " << e.style;
    EXPECT_EQ(item.exStyle, e.exStyle);
    EXPECT_EQ(item.text, e.text);
    EXPECT_EQ(item.textId, e.textId);
    EXPECT_TRUE(item.creationData.empty());
}

TEST(DialogTemplate, EveryFieldTheCompilerWroteReadsBack) {
    const std::vector<uint8_t> bytes = resourceBytes("TestDialog");
    std::string why;
    const auto dialog = readDialogTemplate(bytes, why);
    ASSERT_TRUE(dialog) << why;
    EXPECT_EQ(dialog->style,
              WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_CONTEXTHELP | DS_SETFONT);
    EXPECT_EQ(dialog->exStyle, WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW | 0x40000u);
    EXPECT_EQ(dialog->x, -5);
    EXPECT_EQ(dialog->y, 10);
    EXPECT_EQ(dialog->cx, 186);
    EXPECT_EQ(dialog->cy, 64);
    EXPECT_EQ(dialog->menu, (TemplateName{7, {}}));
    EXPECT_EQ(dialog->className, "PXLDIALOG");
    EXPECT_EQ(dialog->caption, "Heslo pro \xE8ten\xED");  // "čtení" in cp1250
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->faceName, "MS Sans Serif");

    const ExpectedItem expected[] = {
        {"STATIC", 0xFFFF, 7, 7, 172, 8, kChild | SS_LEFT, 0, "Zadejte heslo:", {}},
        {"EDIT", winplat_tests::res::kPasswordEdit, 7, 18, 172, 12, kChild | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP, 0, "", {}},
        {"BUTTON", 1, 75, 40, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, "OK", {}},
        {"PXLPREVIEW", 300, -32768, 0, -1, 32767, WS_CHILD | 0x1, WS_EX_CLIENTEDGE, "N\xE1hled", {}},
        {"STATIC", 301, 1, 2, 3, 4, kChild | SS_ICON | SS_CENTERIMAGE, 0, "", 11001},
        {"msctls_trackbar32", 302, 1, 2, 3, 4, kChild | TBS_AUTOTICKS | TBS_VERT | TBS_BOTH | WS_TABSTOP, 0, "", {}},
        {"msctls_updown32", 303, 1, 2, 3, 4, kChild | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, "", {}},
        {"COMBOBOX", 304, 1, 2, 3, 4, kChild | CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL, 0, "", {}},
        {"LISTBOX", 305, 1, 2, 3, 4, kChild | WS_BORDER | LBS_SORT, 0, "", {}},
        {"BUTTON", 306, 1, 2, 3, 4, kChild | BS_AUTORADIOBUTTON | WS_GROUP, 0, "", {}},
        {"SCROLLBAR", 0xFFFF, 1, 2, 3, 4, kChild | SBS_VERT, 0, "", {}},
    };
    ASSERT_EQ(dialog->items.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) expectItem(dialog->items[i], expected[i]);
}

TEST(DialogTemplate, LeastDialogHasTheDefaultStyleAndNoFont) {
    const std::vector<uint8_t> bytes = resourceBytes(MAKEINTRESOURCEA(200));
    std::string why;
    const auto dialog = readDialogTemplate(bytes, why);
    ASSERT_TRUE(dialog) << why;
    EXPECT_EQ(dialog->style, WS_POPUP | WS_BORDER | WS_SYSMENU);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->menu, (TemplateName{{}, "MAINMENU"}));
    EXPECT_EQ(dialog->className, "");
    EXPECT_EQ(dialog->caption, "");
    EXPECT_EQ(dialog->pointSize, 0);
    EXPECT_EQ(dialog->faceName, "");
    EXPECT_TRUE(dialog->items.empty());
}

TEST(DialogTemplate, TemplateCutAnywhereIsRefused) {
    for (LPCSTR name : {static_cast<LPCSTR>("TESTDIALOG"), static_cast<LPCSTR>(MAKEINTRESOURCEA(200))}) {
        const std::vector<uint8_t> bytes = resourceBytes(name);
        ASSERT_FALSE(bytes.empty());
        for (size_t size = 0; size < bytes.size(); ++size) {
            // A buffer of exactly the cut size, so a read past it is caught.
            const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
            std::string why;
            EXPECT_FALSE(readDialogTemplate(cut, why)) << "cut at " << size;
            EXPECT_FALSE(why.empty()) << "cut at " << size;
        }
    }
}

TEST(DialogTemplate, UnboundedReadStopsAtTheLastItem) {
    const std::vector<uint8_t> bytes = resourceBytes("TESTDIALOG");
    // On the heap with nothing after it: reading past the end would be caught.
    std::string why;
    const auto unbounded = readDialogTemplateUnbounded(bytes.data(), why);
    ASSERT_TRUE(unbounded) << why;
    const auto bounded = readDialogTemplate(bytes, why);
    ASSERT_TRUE(bounded);
    EXPECT_EQ(unbounded->items.size(), bounded->items.size());
    EXPECT_EQ(unbounded->items.back().id, bounded->items.back().id);
    EXPECT_FALSE(readDialogTemplateUnbounded(nullptr, why));
    EXPECT_EQ(why, "no template");
}

// Builds templates by hand for the corners the compiler never writes.
struct Builder {
    std::vector<uint8_t> bytes;

    Builder& word(WORD w) {
        bytes.push_back(static_cast<uint8_t>(w));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
        return *this;
    }
    Builder& dword(DWORD d) { return word(static_cast<WORD>(d)).word(static_cast<WORD>(d >> 16)); }
    Builder& text(std::u16string_view units) {
        for (char16_t u : units) word(u);
        return word(0);
    }
    Builder& align() {
        while (bytes.size() % 4) bytes.push_back(0);
        return *this;
    }
    // Style, no extended style, 'count' items, a 1 x 2 x 3 x 4 rectangle.
    Builder& header(DWORD style, WORD count) { return dword(style).dword(0).word(count).word(1).word(2).word(3).word(4); }
    Builder& item(WORD id) { return align().dword(kChild).dword(0).word(0).word(0).word(10).word(10).word(id); }
};

TEST(DialogTemplate, CreationDataIsKeptAndTheNextItemAligned) {
    Builder b;
    b.header(0, 2).word(0).word(0xFFFF).word(32770).text(u"");  // class by atom
    b.item(1).word(0xFFFF).word(0x80).text(u"A").word(3);
    b.bytes.insert(b.bytes.end(), {0xAA, 0xBB, 0xCC});
    b.item(2).text(u"MyClass").word(0xFFFF).word(5).word(0);
    std::string why;
    const auto dialog = readDialogTemplate(b.bytes, why);
    ASSERT_TRUE(dialog) << why;
    EXPECT_EQ(dialog->className, "#32770");
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[0].creationData, (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));
    EXPECT_EQ(dialog->items[1].id, 2);
    EXPECT_EQ(dialog->items[1].className, "MyClass");
    EXPECT_EQ(dialog->items[1].textId, 5);
}

TEST(DialogTemplate, CharactersCp1250CannotHoldBecomeOneQuestionMarkEach) {
    Builder b;
    // 'A', a surrogate pair (one character), 'B', Cyrillic Zhe, a lone low surrogate, 'C', 'č'.
    b.header(0, 0).word(0).word(0).text(u"A\xD83D\xDE00" u"B\x0416\xDC00" u"C\x010D");
    std::string why;
    const auto dialog = readDialogTemplate(b.bytes, why);
    ASSERT_TRUE(dialog) << why;
    EXPECT_EQ(dialog->caption, "A?B??C\xE8");
}

TEST(DialogTemplate, DamagedFieldsAreRefusedWithTheReason) {
    struct Case {
        const char* what;
        Builder build;
        const char* reason;
    };
    Builder atom;
    atom.header(0, 1).word(0).word(0).text(u"").item(1).word(0xFFFF).word(0x86).text(u"").word(0);
    Builder atomBelow;
    atomBelow.header(0, 1).word(0).word(0).text(u"").item(1).word(0xFFFF).word(0x7F).text(u"").word(0);
    Builder data;
    data.header(0, 1).word(0).word(0).text(u"").item(1).word(0xFFFF).word(0x80).text(u"").word(3).word(0);
    Builder count;  // says two items, holds one
    count.header(0, 2).word(0).word(0).text(u"").item(1).word(0xFFFF).word(0x80).text(u"").word(0);
    Builder font;  // DS_SETFONT without the font
    font.header(DS_SETFONT, 0).word(0).word(0).text(u"");
    const Case cases[] = {
        {"class atom past the predefined ones", atom, "names no predefined class"},
        {"class atom before the predefined ones", atomBelow, "names no predefined class"},
        {"creation data longer than the rest", data, "creation data of item 0 runs past"},
        {"fewer items than counted", count, "ends before item 1"},
        {"font announced, not there", font, "inside the font"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string why;
        EXPECT_FALSE(readDialogTemplate(c.build.bytes, why));
        EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    }
}

TEST(DialogTemplate, TextsAreBoundedAt32767Characters) {
    for (const size_t length : {size_t{32767}, size_t{32768}}) {
        SCOPED_TRACE(length);
        Builder b;
        b.header(0, 0).word(0).word(0).text(std::u16string(length, u'x'));
        std::string why;
        const auto dialog = readDialogTemplate(b.bytes, why);
        if (length == 32767) {
            ASSERT_TRUE(dialog) << why;
            EXPECT_EQ(dialog->caption.size(), length);
        } else {
            EXPECT_FALSE(dialog);
            EXPECT_NE(why.find("runs on past"), std::string::npos) << why;
        }
    }
}

}  // namespace
