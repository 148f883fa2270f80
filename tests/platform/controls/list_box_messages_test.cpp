// The LB_ messages of a list box: items, item data, finding, selection and the answers of
// refused calls.
#include <climits>

#include "list_fixture.h"

namespace list_test {
namespace {

constexpr DWORD kSorted = LBS_SORT | LBS_HASSTRINGS | WS_BORDER;

TEST_F(ListTest, SortedAddingReturnsWhereEachWordWentInCzechOrder) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    EXPECT_EQ(add(list, "\x8E\xE1" "ba"), 0);  // Žába
    EXPECT_EQ(add(list, "d\xF9m"), 0);         // dům
    EXPECT_EQ(add(list, "\xE8\xE1p"), 0);      // čáp
    EXPECT_EQ(add(list, "cibule"), 0);
    EXPECT_EQ(add(list, "chata"), 0);          // ch among the c words
    EXPECT_EQ(add(list, "Cibule"), 2);         // after its small twin
    EXPECT_EQ(texts(list), (std::vector<std::string>{"chata", "cibule", "Cibule", "\xE8\xE1p", "d\xF9m", "\x8E\xE1" "ba"}));
    // Inserting never sorts; -1 appends.
    EXPECT_EQ(send(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zzz")), 0);
    EXPECT_EQ(send(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("aaa")), 7);
    EXPECT_EQ(send(list, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("x")), LB_ERR);  // beyond the end
    EXPECT_EQ(send(list, LB_INSERTSTRING, 8, reinterpret_cast<LPARAM>("end")), 8);      // at the end
    EXPECT_EQ(send(list, LB_GETCOUNT), 9);
    EXPECT_EQ(textAt(list, 0), "zzz");
    EXPECT_EQ(textAt(list, 8), "end");
    EXPECT_EQ(send(list, LB_GETTEXTLEN, 9), LB_ERR);
    EXPECT_EQ(send(list, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(std::string(16, '\0').data())), LB_ERR);
}

TEST_F(ListTest, ItemDataFollowsItsItemThroughInsertionsAndDeletions) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    const auto big = static_cast<LPARAM>(0x123456789ABCDEF0ll);
    send(list, LB_SETITEMDATA, static_cast<WPARAM>(add(list, "m")), big);
    send(list, LB_SETITEMDATA, static_cast<WPARAM>(add(list, "t")), 7);
    EXPECT_EQ(add(list, "a"), 0);  // moves both up by one
    EXPECT_EQ(send(list, LB_GETITEMDATA, 1), big);
    EXPECT_EQ(send(list, LB_GETITEMDATA, 2), 7);
    EXPECT_EQ(send(list, LB_GETITEMDATA, 0), 0);
    EXPECT_EQ(send(list, LB_DELETESTRING, 1), 2);  // the count left
    EXPECT_EQ(send(list, LB_GETITEMDATA, 1), 7);
    EXPECT_EQ(send(list, LB_GETITEMDATA, 2), LB_ERR);
    EXPECT_EQ(send(list, LB_SETITEMDATA, 2, 1), LB_ERR);
    EXPECT_EQ(send(list, LB_DELETESTRING, 2), LB_ERR);
    send(list, LB_RESETCONTENT);
    EXPECT_EQ(send(list, LB_GETCOUNT), 0);
    EXPECT_EQ(send(list, LB_GETITEMDATA, 0), LB_ERR);
}

TEST_F(ListTest, OwnerDrawnListWithoutStringsKeepsTheValueAsItsText) {
    HWND list = makeList(LBS_OWNERDRAWFIXED, 10, 10, 120, 100);
    EXPECT_EQ(send(list, LB_ADDSTRING, 0, 0x10005), 0);
    EXPECT_EQ(send(list, LB_ADDSTRING, 0, 0x10003), 1);  // not sorted: appended
    EXPECT_EQ(send(list, LB_GETITEMDATA, 1), 0x10003);
    EXPECT_EQ(send(list, LB_GETTEXTLEN, 0), static_cast<LRESULT>(sizeof(ULONG_PTR)));
    ULONG_PTR value = 0;
    EXPECT_EQ(send(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(&value)), static_cast<LRESULT>(sizeof value));
    EXPECT_EQ(value, 0x10005u);
    // Finding compares the values.
    EXPECT_EQ(send(list, LB_FINDSTRING, static_cast<WPARAM>(-1), 0x10003), 1);
    EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 0x10004), LB_ERR);
}

TEST_F(ListTest, SortedOwnerDrawnListAsksTheParentToCompare) {
    HWND list = makeList(LBS_OWNERDRAWFIXED | LBS_SORT, 10, 10, 120, 100, 42);
    EXPECT_EQ(send(list, LB_ADDSTRING, 0, 30), 0);
    EXPECT_EQ(send(list, LB_ADDSTRING, 0, 10), 0);
    EXPECT_EQ(send(list, LB_ADDSTRING, 0, 20), 1);
    EXPECT_EQ(send(list, LB_GETITEMDATA, 2), 30);
    ASSERT_FALSE(parentLog().compares.empty());
    const COMPAREITEMSTRUCT& c = parentLog().compares.back();
    EXPECT_EQ(c.CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(c.CtlID, 42u);
    EXPECT_EQ(c.hwndItem, list);
    EXPECT_EQ(c.itemData1, 20u);  // the new item first
}

struct FindCase {
    UINT message;
    int start;
    const char* text;
    LRESULT expected;
};

TEST_F(ListTest, FindingByPrefixOrWholeTextWrapsPastTheEnd) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    for (const char* word : {"ba", "Bab", "babka", "c", "\xE8" "ap"}) add(list, word);  // ba Bab babka c čap
    const FindCase cases[] = {
        {LB_FINDSTRING, -1, "BA", 0},          // from the first, case ignored
        {LB_FINDSTRING, 0, "ba", 1},           // after the start
        {LB_FINDSTRING, 2, "ba", 0},           // wrapped round
        {LB_FINDSTRING, 4, "bab", 1},
        {LB_FINDSTRING, -1, "c", 3},           // č is not c
        {LB_FINDSTRING, -1, "\xC8", 4},        // Č finds čap
        {LB_FINDSTRING, -1, "x", LB_ERR},
        {LB_FINDSTRING, 17, "babk", 2},        // a start past the end searches everything
        {LB_FINDSTRINGEXACT, -1, "bab", 1},
        {LB_FINDSTRINGEXACT, 1, "BAB", 1},     // the start itself comes last
        {LB_FINDSTRINGEXACT, -1, "babk", LB_ERR},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(send(list, c.message, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)), c.expected)
            << c.text << " from " << c.start;
    }
    EXPECT_EQ(send(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BABK")), 2);
    EXPECT_EQ(send(list, LB_GETCURSEL), 2);
    EXPECT_EQ(send(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("q")), LB_ERR);
    EXPECT_EQ(send(list, LB_GETCURSEL), 2);
}

TEST_F(ListTest, FindingInASortedListSkipsItemsLevelInLettersButNotMatching) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    // c ca cz ča d D ďb dc: ďb lies among the d items without starting with d.
    for (const char* word : {"dc", "D", "\xEF" "b", "d", "\xE8" "a", "cz", "ca", "c"}) add(list, word);
    ASSERT_EQ(textAt(list, 6), "\xEF" "b");
    const FindCase cases[] = {
        {LB_FINDSTRING, -1, "C", 0},
        {LB_FINDSTRING, 1, "ca", 1},           // only the start itself matches: found last
        {LB_FINDSTRING, -1, "cz", 2},
        {LB_FINDSTRING, -1, "\xE8", 3},
        {LB_FINDSTRING, 4, "d", 5},
        {LB_FINDSTRING, 5, "d", 7},            // past ďb
        {LB_FINDSTRING, 7, "d", 4},            // wrapped round to the first d
        {LB_FINDSTRING, -1, "\xCF", 6},        // Ď
        {LB_FINDSTRING, -1, "dd", LB_ERR},
        {LB_FINDSTRING, -1, "e", LB_ERR},      // past the last item
        {LB_FINDSTRING, -1, "", 0},            // an empty prefix matches every item
        {LB_FINDSTRINGEXACT, 4, "D", 5},
        {LB_FINDSTRINGEXACT, 5, "D", 4},
    };
    for (const FindCase& c : cases) {
        EXPECT_EQ(send(list, c.message, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)), c.expected)
            << c.text << " from " << c.start;
    }
}

TEST_F(ListTest, SingleSelectionFollowsDeletionsAndRefusesIndicesOutside) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    for (const char* word : {"a", "b", "c", "d"}) add(list, word);
    EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(send(list, LB_SETCURSEL, 2), 2);
    EXPECT_EQ(send(list, LB_SETCURSEL, 4), LB_ERR);  // one past the last
    EXPECT_EQ(send(list, LB_GETCURSEL), 2);
    EXPECT_GT(send(list, LB_GETSEL, 2), 0);
    EXPECT_EQ(send(list, LB_GETSEL, 1), 0);
    EXPECT_EQ(send(list, LB_GETSEL, 4), LB_ERR);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), LB_ERR);
    EXPECT_EQ(send(list, LB_SETSEL, TRUE, 1), LB_ERR);
    send(list, LB_DELETESTRING, 0);
    EXPECT_EQ(send(list, LB_GETCURSEL), 1);  // "c" moved up
    send(list, LB_DELETESTRING, 1);
    EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);  // "c" went
    send(list, LB_SETCURSEL, 0);
    EXPECT_EQ(send(list, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR);  // clears, and says LB_ERR
    EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);
    // Nothing here was the user's doing: no notifications.
    EXPECT_TRUE(codesFrom(list).empty());
}

TEST_F(ListTest, MultipleSelectionMarksAndListsItems) {
    HWND list = makeList(kSorted | LBS_MULTIPLESEL, 10, 10, 120, 100);
    for (const char* word : {"a", "b", "c", "d", "e"}) add(list, word);
    EXPECT_EQ(send(list, LB_SETSEL, TRUE, 3), LB_OKAY);
    EXPECT_EQ(send(list, LB_SETSEL, TRUE, 1), LB_OKAY);
    EXPECT_EQ(send(list, LB_SETSEL, TRUE, 5), LB_ERR);
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 2);
    int indices[4] = {-9, -9, -9, -9};
    EXPECT_EQ(send(list, LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(indices)), 1);  // room for one
    EXPECT_EQ(indices[0], 1);
    EXPECT_EQ(indices[1], -9);
    EXPECT_EQ(send(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(indices)), 2);
    EXPECT_EQ(indices[1], 3);
    EXPECT_EQ(send(list, LB_SETCURSEL, 1), LB_ERR);
    send(list, LB_SETSEL, TRUE, static_cast<LPARAM>(-1));
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 5);
    send(list, LB_SETSEL, FALSE, static_cast<LPARAM>(-1));
    EXPECT_EQ(send(list, LB_GETSELCOUNT), 0);
}

TEST_F(ListTest, InitStorageAndDialogCodeAnswerAsWindowsDoes) {
    HWND list = makeList(kSorted, 10, 10, 120, 100);
    add(list, "a");
    EXPECT_GE(send(list, LB_INITSTORAGE, 30000, 30000 * 16), 30001);
    EXPECT_EQ(send(list, WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

}  // namespace
}  // namespace list_test
