// The single media player on the virtual clock: selecting does not play, a started play is polled
// by timer 101 of the main window, looping reopens the file within one tick of its end, and a
// play without loop closes and clears its selection.
#include "page/single_media_player.h"

#include <gtest/gtest.h>

#include "media_test_support.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

using media_test::count;

LRESULT CALLBACK plainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class SingleMediaPlayerTest : public media_test::MediaTest {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainWindow;
        wc.lpszClassName = "PlayerMain";
        RegisterClassA(&wc);
        main_ = CreateWindowExA(0, "PlayerMain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        player_.SetWindow(main_);
    }
    void TearDown() override {
        player_.Reset();
        DestroyWindow(main_);
        MediaTest::TearDown();
    }
    // Whether timer 101 of the main window is set: killing it again tells.
    bool timerSet() { return KillTimer(main_, SingleMediaPlayer::kTimerId) != FALSE; }

    HWND main_ = nullptr;
    // The program's own: timer 101 polls that one.
    SingleMediaPlayer& player_ = GetSingleMediaPlayer();
};

TEST_F(SingleMediaPlayerTest, ClearingTheSelectionOfAClosedPlayerSendsNothing) {
    EXPECT_EQ(player_.Select(-1, false), 0);
    EXPECT_TRUE(log().empty());
    const int16_t tune = sound("melodie.wav", 400);
    EXPECT_EQ(player_.Select(tune, false), 1);
    EXPECT_TRUE(log().empty()) << "selecting does not play";
    EXPECT_EQ(player_.selected(), tune);
}

TEST_F(SingleMediaPlayerTest, ALoopingPlayReopensWithinOneTickOfItsEnd) {
    const int16_t tune = sound("melodie.wav", 400);
    player_.Select(tune, true);
    player_.Start();
    EXPECT_EQ(player_.mode(), SingleMediaPlayer::kStartedMode);
    EXPECT_TRUE(player_.timerRunning());
    player_.Start();
    EXPECT_EQ(count(log(), "open"), 1) << "a started play is not opened twice";
    harness_.advance(390);
    EXPECT_EQ(count(log(), "open"), 1);
    harness_.advance(10 + SingleMediaPlayer::kTickMs);
    EXPECT_EQ(count(log(), "open"), 2);
    EXPECT_EQ(count(log(), "close"), 1);
    EXPECT_EQ(log().back(), "play 0 400");
    EXPECT_EQ(player_.selected(), tune);
}

TEST_F(SingleMediaPlayerTest, APlayWithoutLoopClosesClearsItsSelectionAndItsTimer) {
    const int16_t tune = sound("melodie.wav", 400);
    player_.Select(tune, false);
    player_.Start();
    harness_.advance(400 + SingleMediaPlayer::kTickMs);
    EXPECT_EQ(player_.mode(), 0);
    EXPECT_EQ(player_.selected(), -1);
    EXPECT_FALSE(player_.timerRunning());
    EXPECT_FALSE(timerSet()) << "timer 101 is killed";
    EXPECT_EQ(count(log(), "open"), 1);
    EXPECT_EQ(count(log(), "close"), 1);
}

TEST_F(SingleMediaPlayerTest, SelectingAnotherEntryClosesTheStartedPlay) {
    const int16_t tune = sound("melodie.wav", 400);
    const int16_t other = sound("jina.wav", 400);
    player_.Select(tune, false);
    player_.Start();
    EXPECT_EQ(player_.Select(other, false), 1);
    EXPECT_EQ(player_.mode(), 0);
    EXPECT_EQ(count(log(), "close"), 1);
    EXPECT_EQ(player_.Select(-1, false), 0);
    EXPECT_EQ(player_.selected(), -1);
}

TEST_F(SingleMediaPlayerTest, AFileThatIsNotThereLeavesThePlayerClosed) {
    std::string path = folder_.windows("chybi.wav");
    const auto missing = static_cast<int16_t>(soundFileNames().AddPath(path.data()));
    player_.Select(missing, true);
    player_.Start();
    EXPECT_EQ(player_.mode(), 0);
    EXPECT_FALSE(player_.timerRunning());
    EXPECT_TRUE(log().empty());
}

}  // namespace
}  // namespace lect32
