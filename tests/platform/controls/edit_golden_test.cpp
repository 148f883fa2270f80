// How EDIT controls look, in the test face: a focused single line with a selection and the caret,
// a multi-line control that wraps and keeps its selection shown, a password and a read-only one.
#include "edit_fixture.h"

namespace edit_test {
namespace {

using EditGoldenTest = EditTest;

TEST_F(EditGoldenTest, SingleAndMultiLineWithSelections) {
    HWND single = makeEdit(ES_AUTOHSCROLL, 10, 10, 200, 28, "Dobr\xFD den, sv\xECte", WS_EX_CLIENTEDGE);
    HWND multi = makeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_NOHIDESEL, 10, 50, 200, 100,
                          "Pozn\xE1mka se zalom\xED podle \x9A\xED\xF8ky okna.\r\nDruh\xFD odstavec.", WS_EX_CLIENTEDGE);
    makeEdit(ES_PASSWORD | ES_AUTOHSCROLL, 10, 160, 200, 28, "heslo", WS_EX_CLIENTEDGE);
    makeEdit(ES_READONLY | ES_AUTOHSCROLL | WS_BORDER, 10, 200, 200, 28, "jen ke \xE8ten\xED");
    send(multi, EM_SETSEL, 5, 30);
    SetFocus(single);
    send(single, EM_SETSEL, 6, 9);
    h_.pump();
    EXPECT_EQ(reinterpret_cast<HFONT>(send(single, WM_GETFONT)), font_.get());
    h_.expectImage(winplat::test::crop(h_.screenshot(), RECT{0, 0, 220, 240}), "edit_single_and_multi_line");
}

}  // namespace
}  // namespace edit_test
