// The sound devices and the sound player on the virtual clock: what the devices are told (the
// virtual backend's log), looping within one tick of the end, the background sound that goes on
// across pages, precedence of the exclusive device, and the sound switches.
#include "page/sound_player.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media_test_support.h"
#include "page/mci_device.h"
#include "picture_test_support.h"
#include "store/document_paths.h"
#include "store/vazazi_file.h"
#include "winplat/mci.h"

namespace lect32 {
namespace {

using media_test::count;
using Strings = std::vector<std::string>;

class SoundPlayerTest : public media_test::MediaTest {
protected:
    void TearDown() override {
        player_.Close();
        MediaTest::TearDown();
    }
    SoundPlayer player_;
};

TEST_F(SoundPlayerTest, ADeviceOpensPlaysAndClosesItsFile) {
    const int16_t bell = sound("zvonek.wav", 500);
    MciDevice device(2);
    ASSERT_EQ(device.PlayMedia(bell, false, true), 1);
    EXPECT_TRUE(device.IsPlaying());
    EXPECT_EQ(device.mediaIndex(), bell);
    harness_.advance(200);
    device.Close();
    EXPECT_EQ(log(), (Strings{"open zvonek.wav 500", "play 0 500", "stop 200", "close"}));
    EXPECT_EQ(device.id(), 0u);
    EXPECT_EQ(device.mediaIndex(), -1);
}

TEST_F(SoundPlayerTest, TheSameEntryStartsOverWithoutOpeningAgain) {
    const int16_t bell = sound("zvonek.wav", 500);
    MciDevice device(2);
    ASSERT_EQ(device.PlayMedia(bell, false, true), 1);
    harness_.advance(300);
    ASSERT_EQ(device.PlayMedia(bell, false, true), 1);
    EXPECT_EQ(count(log(), "open"), 1);
    EXPECT_EQ(log().back(), "play 0 500") << "from the start again";
}

TEST_F(SoundPlayerTest, AMissingFileLeavesTheDeviceClosedAndSaysWhy) {
    winplat::testing::DebugCapture debug;
    std::string path = folder_.windows("chybi.wav");
    const auto missing = static_cast<int16_t>(soundFileNames().AddPath(path.data()));
    MciDevice device(2);
    EXPECT_EQ(device.PlayMedia(missing, false, true), 0);
    EXPECT_EQ(device.id(), 0u);
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(debug.contains("neither beside the document nor stored in it"));
    EXPECT_EQ(device.PlayMedia(77, false, true), 0) << "no such entry";
}

TEST_F(SoundPlayerTest, ALoopingBackgroundSoundRestartsWithinOneTickOfItsEnd) {
    const int16_t music = sound("hudba.wav", 1000);
    player_.PlayBackground(music, true);
    EXPECT_NE(player_.timer(), 0u);
    harness_.advance(990);
    EXPECT_EQ(count(log(), "play"), 1) << "still playing the first time";
    harness_.advance(10 + SoundPlayer::kTickMs);
    const Strings lines = log();
    EXPECT_EQ(count(lines, "play"), 2) << "started again within 110 ms of the end";
    EXPECT_EQ(lines.back(), "play 0 1000");
    EXPECT_EQ(count(lines, "open"), 1);
}

TEST_F(SoundPlayerTest, ASoundWithoutLoopEndsAndTheTimerStops) {
    const int16_t bell = sound("zvonek.wav", 300);
    EXPECT_EQ(player_.Play(bell), 1);
    EXPECT_NE(player_.timer(), 0u);
    harness_.advance(300 + SoundPlayer::kTickMs);
    EXPECT_EQ(player_.timer(), 0u);
    EXPECT_FALSE(player_.device(2).IsPlaying());
    EXPECT_EQ(count(log(), "play"), 1);
}

TEST_F(SoundPlayerTest, TheSameBackgroundFileGoesOnAcrossPages) {
    const int16_t music = sound("hudba.wav", 1000);
    const int16_t other = sound("jina.wav", 1000);
    player_.PlayBackground(music, true);
    harness_.advance(400);
    player_.PlayBackground(music, false);  // the next page names the same file
    EXPECT_EQ(count(log(), "open"), 1);
    EXPECT_EQ(count(log(), "play"), 1) << "not started again";
    EXPECT_FALSE(player_.device(3).looping()) << "it takes the new page's loop";
    player_.PlayBackground(other, true);
    EXPECT_EQ(count(log(), "open"), 2) << "another file replaces it";
    EXPECT_EQ(log().back(), "play 0 1000");
    player_.PlayBackground(-1, false);
    EXPECT_EQ(player_.device(3).id(), 0u);
    EXPECT_EQ(player_.timer(), 0u);
}

TEST_F(SoundPlayerTest, AnExclusiveSoundHoldsTheOthersUntilItEnds) {
    const int16_t speech = sound("rec.wav", 500);
    const int16_t bell = sound("zvonek.wav", 300);
    player_.PlayExclusive(speech);
    media_.clear();
    EXPECT_EQ(player_.Play(bell), 0) << "device 1 plays: device 2 waits";
    EXPECT_TRUE(player_.device(2).paused());
    EXPECT_EQ(count(log(), "play"), 0);
    harness_.advance(500 + SoundPlayer::kTickMs);
    EXPECT_EQ(count(log(), "play"), 1) << "the waiting sound plays once the first has ended";
    EXPECT_TRUE(player_.device(2).IsPlaying());
}

TEST_F(SoundPlayerTest, WithSoundsSwitchedOffDevicesOpenAndReportSuccessWithoutPlaying) {
    const int16_t bell = sound("zvonek.wav", 300);
    const int16_t music = sound("hudba.wav", 1000);
    GetSoundSwitches().sounds = false;
    EXPECT_EQ(player_.Play(bell), 1);
    EXPECT_EQ(count(log(), "open"), 1);
    EXPECT_EQ(count(log(), "play"), 0);
    GetSoundSwitches() = {true, false};
    player_.PlayBackground(music, true);
    EXPECT_EQ(count(log(), "play"), 0) << "background sounds are off";
    player_.ToggleSound(false, true);
    EXPECT_TRUE(GetSoundSwitches().background);
    EXPECT_EQ(count(log(), "play"), 1) << "switched on: the background sound resumes";
    player_.ToggleSound(true, false);
    EXPECT_FALSE(GetSoundSwitches().sounds);
    EXPECT_EQ(player_.timer(), 0u) << "switched off: everything pauses";
    EXPECT_TRUE(player_.device(3).paused());
}

TEST_F(SoundPlayerTest, StopKeepsOnlyTheBackgroundSound) {
    const int16_t bell = sound("zvonek.wav", 300);
    const int16_t music = sound("hudba.wav", 1000);
    player_.PlayBackground(music, true);
    player_.Play(bell);
    EXPECT_TRUE(player_.device(3).paused()) << "a sound holds the background";
    player_.Stop();
    EXPECT_EQ(player_.device(2).id(), 0u);
    EXPECT_TRUE(player_.device(3).IsPlaying()) << "the background sound resumes";
    EXPECT_NE(player_.timer(), 0u);
    player_.Close();
    EXPECT_EQ(player_.device(3).id(), 0u);
    EXPECT_EQ(player_.timer(), 0u);
}

// Background sounds stored in the document: each is written to the background device's slot, and
// a different stored sound replaces the one playing although both land in the same file.
TEST_F(SoundPlayerTest, StoredBackgroundSoundsAreToldApartByTheirStoredNames) {
    if (!page_test::pythonRuns()) GTEST_SKIP() << "python3 is missing: no document writer to test with";
    const std::filesystem::path where = folder_.host("doc");
    std::filesystem::create_directories(where);
    // The bodies' sources are named apart from the list's names: nothing of that name lies beside.
    vazazi_test::putFileBytes(where / "zdroj1.bin", wavetest::waveFile({.dataBytes = 8000}));
    vazazi_test::putFileBytes(where / "zdroj2.bin", wavetest::waveFile({.dataBytes = 4000}));
    ASSERT_TRUE(picture_test::buildDocument(
        "{\"name\": \"kniha\", \"embeddedFiles\": [{\"file\": \"zdroj1.bin\"}, {\"file\": \"zdroj2.bin\"}], "
        "\"sounds\": [{\"path\": \"c:\\\\nikde\\\\dlouha.wav\", \"tag\": 1}, "
        "{\"path\": \"c:\\\\nikde\\\\kratka.wav\", \"tag\": 2}]}",
        where));
    const std::string document = folder_.windows("doc/kniha.lcn");
    SetDocumentPathForPaths(document.c_str());
    VazaziFile file;
    ASSERT_EQ(file.Open(document.c_str(), false), 1);
    ASSERT_EQ(soundFileNames().LoadFromDocument(kSoundList, nullptr, &file), 1);
    player_.PlayBackground(0, true);
    ASSERT_EQ(count(log(), "open"), 1) << "the stored sound is written out and played";
    EXPECT_TRUE(log().front().ends_with(".wav 1000")) << log().front();
    EXPECT_EQ(std::string(TempSlotPath(MciDevice::kBackgroundKind)).empty(), false);
    player_.PlayBackground(0, true);
    EXPECT_EQ(count(log(), "open"), 1) << "the same stored sound goes on";
    player_.PlayBackground(1, true);
    EXPECT_EQ(count(log(), "open"), 2) << "another stored sound replaces it";
    EXPECT_TRUE(log()[log().size() - 2].ends_with(".wav 500")) << log()[log().size() - 2];
    player_.Close();
    SetDocumentPathForPaths(nullptr);
}

}  // namespace
}  // namespace lect32
