#include "ui/real_time_pan.h"

#include <gtest/gtest.h>

#include <vector>

namespace linework {
namespace {

// The user's hand: each pass of the message pump brings the pointer, Shift and Ctrl of the next
// poll; when none is left the mouse button goes up.
struct ScriptedPan : PanSurface {
    struct Poll {
        POINT pointer;
        bool shift = false;
        bool ctrl = false;
    };
    ViewTransform view;
    std::vector<Poll> polls;
    size_t next = 0;
    Poll now{{100, 100}, true, false};
    int pushes = 0;
    int shown = 0;
    std::vector<double> zooms;
    std::vector<POINT> warps;
    RealTimePan* pan = nullptr;

    ViewTransform CurrentView() const override { return view; }
    void PushViewHistory() override { ++pushes; }
    void ShowView(const ViewTransform& next) override {
        view = next;
        ++shown;
    }
    void ZoomByFactor(double factor) override { zooms.push_back(factor); }
    POINT Pointer() const override { return now.pointer; }
    void MovePointer(POINT to) override {
        warps.push_back(to);
        now.pointer = to;
    }
    bool ShiftHeld() const override { return now.shift; }
    bool CtrlHeld() const override { return now.ctrl; }
    bool PumpMessages() override {
        if (next < polls.size()) {
            now = polls[next++];
        } else {
            pan->Stop();
        }
        return true;
    }
};

TEST(PanDivisorsTest, FromTheOptionBits) {
    struct Case {
        uint32_t options;
        double pan, zoom;
    };
    for (Case c : {Case{0x06000404, 5, 1280}, Case{0, 1, 256}, Case{0x0000FFFF, 256, 65536},
                   Case{0x10000101, -2, 512}, Case{0x20000101, 2, -512}}) {
        PanDivisors d = PanDivisorsFrom(c.options);
        EXPECT_EQ(d.pan, c.pan) << std::hex << c.options;
        EXPECT_EQ(d.zoom, c.zoom) << std::hex << c.options;
    }
}

struct RealTimePanTest : ::testing::Test {
    ScriptedPan surface;
    RealTimePan pan{surface};
    void SetUp() override {
        surface.pan = &pan;
        surface.view.scale = 2;
        surface.view.originX = 1000;
        surface.view.originY = 500;
    }
};

TEST_F(RealTimePanTest, MovesDragTheViewByTheDivisorAndPushItOnce) {
    // Divisor 4, scale 2: 10 pixels right and 5 down move the origin 5 right and 2.5 down.
    surface.polls = {{{110, 105}}, {{110, 105}}, {{120, 100}}};
    pan.Run(0x0403, {50, 50});
    EXPECT_EQ(surface.pushes, 1);
    EXPECT_EQ(surface.shown, 2);  // the pointer that did not move changes nothing
    EXPECT_DOUBLE_EQ(surface.view.originX, 1010);
    EXPECT_DOUBLE_EQ(surface.view.originY, 500);
    // A second pan from (120,100): 10 left and 5 down, on the history again.
    surface.polls = {{{110, 105}}};
    surface.next = 0;
    pan.Run(0x0403, {50, 50});
    EXPECT_DOUBLE_EQ(surface.view.originX, 1005);
    EXPECT_DOUBLE_EQ(surface.view.originY, 497.5);
    EXPECT_EQ(surface.pushes, 2);
    EXPECT_FALSE(pan.Running());
    EXPECT_TRUE(surface.warps.empty());  // bit 2 clear: the pointer stays where it was clicked
}

TEST_F(RealTimePanTest, CtrlZoomsAndRecentresThePointer) {
    surface.polls = {{{100, 110}, false, true}, {{50, 40}, false, true}};
    pan.Run(0x06000404 | pan_option::kPointerToCentre, {50, 50});
    ASSERT_GE(surface.warps.size(), 1u);
    EXPECT_EQ(surface.warps.front().x, 50);  // first to the paint box centre
    // From the centre (50,50) to (100,110): 60 down zooms by 1 - 60/1280; then back at the
    // centre, 10 up by 1 + 10/1280.
    ASSERT_EQ(surface.zooms.size(), 2u);
    EXPECT_DOUBLE_EQ(surface.zooms[0], 1 - 60 / 1280.0);
    EXPECT_DOUBLE_EQ(surface.zooms[1], 1 + 10 / 1280.0);
    EXPECT_EQ(surface.shown, 0);
    EXPECT_EQ(surface.pushes, 1);
}

TEST_F(RealTimePanTest, WithTheShiftBitThePanEndsWhenShiftIsLetGo) {
    surface.polls = {{{110, 100}, true}, {{120, 100}, false}, {{130, 100}, false}, {{140, 100}, true}};
    pan.Run(0x0403 | pan_option::kWhileShiftHeld, {50, 50});
    // The poll that found Shift up still moved; nothing after it.
    EXPECT_DOUBLE_EQ(surface.view.originX, 1010);
    EXPECT_EQ(surface.next, 2u);
}

TEST_F(RealTimePanTest, ASecondPanDoesNotStartInsideTheFirst) {
    struct Reentering : ScriptedPan {
        int nested = 0;
        bool PumpMessages() override {
            if (nested++ == 0) pan->Run(0, {0, 0});  // a click while the pan runs
            return ScriptedPan::PumpMessages();
        }
    } reentering;
    RealTimePan second{reentering};
    reentering.pan = &second;
    reentering.view.scale = 1;
    reentering.polls = {{{105, 100}}};
    second.Run(0, {0, 0});
    EXPECT_EQ(reentering.pushes, 1);
    EXPECT_DOUBLE_EQ(reentering.view.originX, 5.0);  // divisor 1
}

TEST(PanDisplaySwitches, APanSwitchesTheDisplayBytesOffAndGivesThemBack) {
    SystemVariableImage image;
    const std::vector<uint8_t> values{1, 2, 0, 7};
    auto set = [&] {
        for (size_t k = 0; k < values.size(); ++k) image.SetByte(PanDisplaySwitches::kSwitches[k], values[k]);
    };
    auto get = [&] {
        std::vector<uint8_t> now;
        for (int32_t n : PanDisplaySwitches::kSwitches) now.push_back(image.Byte(n));
        return now;
    };
    set();
    image.SetByte(33, 5);  // a neighbour that the pan leaves alone
    PanDisplaySwitches switches;
    EXPECT_FALSE(switches.Restore(image)) << "nothing to give back";
    switches.Suspend(image);
    EXPECT_EQ(get(), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(image.Byte(33), 5);
    switches.Suspend(image);  // a second start keeps what the first saved
    EXPECT_TRUE(switches.Restore(image));
    EXPECT_EQ(get(), values);
    EXPECT_FALSE(switches.Restore(image));
    // Byte 46 keeps them on through the pan.
    image.SetByte(PanDisplaySwitches::kKeepSwitches, 1);
    switches.Suspend(image);
    EXPECT_EQ(get(), values);
    EXPECT_FALSE(switches.Restore(image));
}

}  // namespace
}  // namespace linework
