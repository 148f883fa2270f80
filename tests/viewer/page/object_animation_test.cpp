// Animated pictures on a page: the record made at preparation (only for an animated picture on an
// object that takes no mouse, with 9007 to the owner's parent), and the frames stepped by the
// 50 ms ticks at the picture's own delays until the repeats run out.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "page/animation_record.h"
#include "page/page.h"
#include "page_test_support.h"
#include "support/tool_runner.h"
#include "vazazi_test_support.h"
#include "winplat/user.h"
#include "winplat_harness/harness.h"

namespace lect32 {
namespace {

using page_test::join;
using page_test::object;
using page_test::slot;

constexpr UINT kAnimationPrepared = 9007;

LRESULT CALLBACK plainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class ObjectAnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no GIF writer to test with";
        // Three frames of 10, 15 and 0 hundredths, and a still picture.
        const std::string script =
            "import sys\n"
            "sys.path.insert(0, sys.argv[1])\n"
            "from lcnwriter import media\n"
            "open(sys.argv[2], 'wb').write(media.gif(4, 4, [(0, 0, 0), (255, 0, 0), (0, 255, 0)],\n"
            "    [[n] * 16 for n in range(3)], delays=[10, 15, 0]))\n"
            "open(sys.argv[3], 'wb').write(media.gif(4, 4, [(0, 0, 0), (255, 0, 0)], [[1] * 16]))\n";
        std::ofstream(folder_.host("make_gifs.py")) << script;
        const std::filesystem::path tools = std::filesystem::path(LCNWRITER_DIR).parent_path();
        ASSERT_TRUE(tool_runner::run(std::string(PYTHON_EXECUTABLE) + " -B " + tool_runner::quoted(folder_.host("make_gifs.py")) +
                                     " " + tool_runner::quoted(tools) + " " + tool_runner::quoted(folder_.host("anim.gif")) +
                                     " " + tool_runner::quoted(folder_.host("still.gif"))));
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainWindow;
        wc.lpszClassName = "AnimationParent";
        RegisterClassA(&wc);
        parent_ = CreateWindowExA(0, "AnimationParent", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        owner_ = CreateWindowExA(0, "AnimationParent", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 200, parent_, nullptr, nullptr, nullptr);
        harness_.logMessages(parent_);
        t_.page.SetOwner(owner_, 0);
    }
    void TearDown() override {
        if (parent_) DestroyWindow(parent_);
    }
    // A picture object of the file, prepared: its index.
    uint16_t add(const std::string& file, bool active) {
        std::string path = folder_.windows(file);
        PageObject o = object(static_cast<int16_t>(10 * t_.page.GetCount()), 0, 4, 4);
        o.picture = static_cast<int16_t>(t_.pictures.AddPath(path.data()));
        o.active = active ? 1 : 0;
        const int index = t_.page.InsertObject(o, join({slot(5, {})}));
        EXPECT_GE(index, 0);
        t_.page.LoadObjectPictures(static_cast<uint16_t>(index));
        return static_cast<uint16_t>(index);
    }
    std::optional<AnimationRecord> record(uint16_t i) { return AnimationRecord::Parse(t_.page.CopySlot(i, Slot::Animation)); }
    int prepared() {
        int n = 0;
        for (const auto& m : harness_.messages(parent_)) n += m.message == kAnimationPrepared;
        return n;
    }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    vazazi_test::ScratchFolder folder_;
    page_test::TestPage t_;
    HWND parent_ = nullptr;
    HWND owner_ = nullptr;
};

TEST_F(ObjectAnimationTest, OnlyAnAnimatedPictureThatTakesNoMouseIsAnimated) {
    const uint16_t animated = add("anim.gif", false);
    const uint16_t still = add("still.gif", false);
    const uint16_t active = add("anim.gif", true);
    EXPECT_TRUE(t_.page.PrepareAnimation(animated));
    EXPECT_FALSE(t_.page.PrepareAnimation(still)) << "one frame: nothing to animate";
    EXPECT_FALSE(t_.page.PrepareAnimation(active)) << "an object that takes the mouse shows its states";
    EXPECT_EQ(prepared(), 1) << "9007 for the animated picture alone";
    const auto made = record(animated);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->delays, (std::vector<uint16_t>{10, 15, 0}));
    EXPECT_EQ(made->current, 0);
    EXPECT_EQ(made->repeats, AnimationRecord::kEndless);
    EXPECT_TRUE(t_.page.CopySlot(still, Slot::Animation).empty());
    EXPECT_TRUE(t_.page.CopySlot(active, Slot::Animation).empty());
}

TEST_F(ObjectAnimationTest, TicksStepFramesAtThePicturesDelays) {
    const uint16_t animated = add("anim.gif", false);
    add("still.gif", false);
    ASSERT_TRUE(t_.page.PrepareAnimation(animated));
    // Frame 0 shows 2 ticks, frame 1 three, frame 2 (delay 0) one.
    const struct {
        uint16_t current, elapsed;
    } after[] = {{0, 5}, {1, 0}, {1, 5}, {1, 10}, {2, 0}, {0, 0}, {0, 5}};
    for (const auto& a : after) {
        EXPECT_TRUE(t_.page.AnimationTick());
        const auto now = record(animated);
        ASSERT_TRUE(now);
        EXPECT_EQ(now->current, a.current);
        EXPECT_EQ(now->elapsed, a.elapsed);
    }
    EXPECT_EQ(record(animated)->repeats, AnimationRecord::kEndless - 1);
}

TEST_F(ObjectAnimationTest, AnAnimationOutOfRepeatsStopsTheTicks) {
    const uint16_t animated = add("anim.gif", false);
    ASSERT_TRUE(t_.page.PrepareAnimation(animated));
    AnimationRecord last = *record(animated);
    last.repeats = 1;
    last.current = 2;
    ASSERT_TRUE(t_.page.SetSlot(animated, Slot::Animation, last.Bytes()));
    EXPECT_TRUE(t_.page.AnimationTick()) << "the tick that uses up the last repeat still ran";
    EXPECT_EQ(record(animated)->current, 2) << "stopped on its last frame";
    EXPECT_FALSE(t_.page.AnimationTick());
    EXPECT_FALSE(t_.page.AnimationTick());
}

TEST_F(ObjectAnimationTest, APageWithoutAnimationsDoesNotRun) {
    add("still.gif", false);
    EXPECT_FALSE(t_.page.AnimationTick());
    // A damaged record is left alone.
    const uint16_t animated = add("anim.gif", false);
    ASSERT_TRUE(t_.page.SetSlot(animated, Slot::Animation, std::vector<uint8_t>{3, 0, 0}));
    EXPECT_FALSE(t_.page.AnimationTick());
}

}  // namespace
}  // namespace lect32
