#include "window_fixture.h"

namespace window_test {
namespace {

using ZOrderTest = WindowTest;

// Top-level windows from the top of the z-order down, named.
std::vector<std::string> stack(const std::map<HWND, std::string>& names, HWND parent = nullptr) {
    std::vector<std::string> out;
    for (HWND w = GetTopWindow(parent); w; w = GetWindow(w, GW_HWNDNEXT)) {
        const auto name = names.find(w);
        out.push_back(name != names.end() ? name->second : "?");
    }
    return out;
}

TEST_F(ZOrderTest, NewTopLevelWindowsGoOnTopAndChildrenBelowTheirSiblings) {
    HWND a = make(WS_POPUP, 0, 0, 10, 10);
    HWND b = make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(stack({{a, "a"}, {b, "b"}}), (std::vector<std::string>{"b", "a"}));
    HWND c1 = make(WS_CHILD, 0, 0, 1, 1, a);
    HWND c2 = make(WS_CHILD, 0, 0, 1, 1, a);
    EXPECT_EQ(stack({{c1, "c1"}, {c2, "c2"}}, a), (std::vector<std::string>{"c1", "c2"}))
        << "children keep their creation order, which dialogs tab through";
}

struct InsertCase {
    const char* name;
    const char* moved;        // which window moves
    const char* insertAfter;  // "TOP", "BOTTOM", "TOPMOST", "NOTOPMOST" or a window
    std::vector<std::string> expected;
};

class InsertAfterTest : public WindowTest, public ::testing::WithParamInterface<InsertCase> {};

// Start: t1 (top-most) above a, b, c, each created in that order: t1, c, b, a from the top.
const InsertCase kInsertCases[] = {
    {"topOfNormalBand", "a", "TOP", {"t1", "a", "c", "b"}},
    {"bottom", "c", "BOTTOM", {"t1", "b", "a", "c"}},
    {"afterSibling", "c", "b", {"t1", "b", "c", "a"}},
    {"afterLast", "c", "a", {"t1", "b", "a", "c"}},
    {"topmostJoinsBand", "a", "TOPMOST", {"a", "t1", "c", "b"}},
    {"notTopmostLeavesBand", "t1", "NOTOPMOST", {"t1", "c", "b", "a"}},
    {"notTopmostOnNormalIsNoMove", "a", "NOTOPMOST", {"t1", "c", "b", "a"}},
    {"topmostToBottomLosesBand", "t1", "BOTTOM", {"c", "b", "a", "t1"}},
    {"normalAfterTopmostStaysBelowBand", "a", "t1", {"t1", "a", "c", "b"}},
    {"topmostAfterNormalStaysInBand", "t1", "a", {"t1", "c", "b", "a"}},
    {"topOfTopmostBand", "t1", "TOP", {"t1", "c", "b", "a"}},
};

TEST_P(InsertAfterTest, SetWindowPosPlacesTheWindow) {
    const InsertCase& c = GetParam();
    std::map<std::string, HWND> byName;
    byName["a"] = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    byName["b"] = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    byName["c"] = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    byName["t1"] = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
    std::map<HWND, std::string> names;
    for (const auto& [name, w] : byName) names[w] = name;
    ASSERT_EQ(stack(names), (std::vector<std::string>{"t1", "c", "b", "a"}));
    const std::string after = c.insertAfter;
    HWND insertAfter = after == "TOP"         ? HWND_TOP
                       : after == "BOTTOM"    ? HWND_BOTTOM
                       : after == "TOPMOST"   ? HWND_TOPMOST
                       : after == "NOTOPMOST" ? HWND_NOTOPMOST
                                              : byName.at(after);
    ASSERT_TRUE(SetWindowPos(byName.at(c.moved), insertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(stack(names), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, InsertAfterTest, ::testing::ValuesIn(kInsertCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZOrderTest, TopMostFlagFollowsTheBand) {
    HWND a = make(WS_POPUP, 0, 0, 10, 10);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(ZOrderTest, OwnedPopupsStayAboveTheirOwner) {
    HWND owner = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND owned = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, owner);
    HWND other = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    const std::map<HWND, std::string> n{{owner, "owner"}, {owned, "owned"}, {other, "other"}};
    ASSERT_EQ(stack(n), (std::vector<std::string>{"other", "owned", "owner"}));
    SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(stack(n), (std::vector<std::string>{"owned", "owner", "other"})) << "the owned window comes along";
    SetWindowPos(owned, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(stack(n), (std::vector<std::string>{"owned", "owner", "other"})) << "never below its owner";
    SetWindowPos(owner, other, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(stack(n), (std::vector<std::string>{"other", "owned", "owner"}));
}

TEST_F(ZOrderTest, OwnedWindowOfATopMostOwnerIsTopMost) {
    HWND owner = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST);
    HWND owned = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, owner);
    HWND normal = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    EXPECT_TRUE(GetWindowLongA(owned, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(stack({{owner, "owner"}, {owned, "owned"}, {normal, "normal"}}),
              (std::vector<std::string>{"owned", "owner", "normal"}));
}

TEST_F(ZOrderTest, MinimisingTheOwnerHidesItsPopupsAndRestoringShowsThem) {
    HWND owner = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200);
    HWND popup = make(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, owner);
    HWND hiddenPopup = make(WS_POPUP, 0, 0, 10, 10, owner);
    ShowWindow(owner, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(owner));
    EXPECT_FALSE(IsWindowVisible(popup));
    ShowWindow(owner, SW_RESTORE);
    EXPECT_FALSE(IsIconic(owner));
    EXPECT_TRUE(IsWindowVisible(popup));
    EXPECT_FALSE(IsWindowVisible(hiddenPopup)) << "a pop-up hidden before stays hidden";
    const std::vector<UINT> shows = recorder().messagesOf(popup, true, {WM_SHOWWINDOW});
    EXPECT_EQ(shows.size(), 3u) << "shown at creation, then told of the owner closing and opening";
}

TEST_F(ZOrderTest, SetParentMovesAWindowIntoAnotherParent) {
    HWND main = make(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
    HWND popup = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND page = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, main);
    EXPECT_EQ(SetParent(page, popup), main);
    EXPECT_EQ(GetParent(page), popup);
    EXPECT_TRUE(IsChild(popup, page));
    EXPECT_FALSE(IsChild(main, page));
    RECT r{};
    GetWindowRect(page, &r);
    EXPECT_EQ(r.left, 110) << "coordinates stay relative to the parent";
    EXPECT_EQ(SetParent(popup, page), nullptr) << "no window goes under its own descendant";
    EXPECT_EQ(SetParent(page, nullptr), popup);
    EXPECT_EQ(GetParent(page), GetDesktopWindow()) << "a child style under the desktop reports it";
}

}  // namespace
}  // namespace window_test
