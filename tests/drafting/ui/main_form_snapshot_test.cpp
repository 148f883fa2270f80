// The started program with the shipped kit, as the screen shows it (test face, headless).
#include "ui/main_form_fixture.h"

namespace linework::test {
namespace {

TEST_F(MainFormTest, TheStartedProgramWithTheKitLooksAsItsGolden) {
    CopyKit();
    Start();
    h.pump();
    EXPECT_TRUE(h.expectImage(h.screenshot(), "linework_started"));
}

}  // namespace
}  // namespace linework::test
