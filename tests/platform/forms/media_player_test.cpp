// The media player over the platform's waveaudio devices: a small WAV opened, played with a
// notification told through OnNotify, stopped, played again from the start once at the end.
#include <vector>

#include "../mci/wave_bytes.h"
#include "forms_fixture.h"
#include "host_file.h"

namespace {

using namespace winforms;
using formstest::FormsTest;

class MediaPlayers : public FormsTest {
protected:
    void SetUp() override {
        form = &plainForm();
        player = &form->Add<MediaPlayer>();
        player->SetName("MediaPlayer1");
        player->OnNotify = [this](Component& s) { told.push_back(static_cast<MediaPlayer&>(s).GetNotifyValue()); };
        player->SetFileName(folder.write("beep.wav", wavetest::waveFile({.dataBytes = 4000})));  // 500 ms
    }
    formstest::HostFolder folder;
    Form* form = nullptr;
    MediaPlayer* player = nullptr;
    std::vector<NotifyValue> told;
};

TEST_F(MediaPlayers, APlayWithNotifyIsToldWhenTheSoundEnds) {
    ASSERT_TRUE(player->Open());
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
    EXPECT_EQ(player->Length(), 500u);
    player->SetNotify(true);
    ASSERT_TRUE(player->Play());
    EXPECT_FALSE(player->Notify()) << "a notification is asked for one command at a time";
    h.advance(499);
    EXPECT_EQ(player->Mode(), MediaMode::Playing);
    EXPECT_TRUE(told.empty());
    h.advance(1);
    EXPECT_EQ(told, (std::vector<NotifyValue>{NotifyValue::Successful}));
    EXPECT_EQ(player->Mode(), MediaMode::Stopped);
    EXPECT_EQ(player->Position(), 500u);
}

TEST_F(MediaPlayers, AStopAbortsThePlaysNotificationAndAPlayAtTheEndStartsAgain) {
    ASSERT_TRUE(player->Open());
    player->SetNotify(true);
    ASSERT_TRUE(player->Play());
    h.advance(200);
    ASSERT_TRUE(player->Stop());
    h.pump();
    EXPECT_EQ(told, (std::vector<NotifyValue>{NotifyValue::Aborted}));
    EXPECT_EQ(player->Position(), 200u);
    player->SetWait(true);
    ASSERT_TRUE(player->Play());
    EXPECT_EQ(player->Position(), 500u) << "a waiting play returns at the end";
    player->SetWait(false);
    ASSERT_TRUE(player->Play());
    h.advance(100);
    EXPECT_EQ(player->Position(), 100u) << "from the start again";
    ASSERT_TRUE(player->Close());
    EXPECT_EQ(player->Mode(), MediaMode::NotReady);
}

TEST_F(MediaPlayers, AFileThatCannotOpenLeavesThePlayerClosedWithTheError) {
    winplat::testing::DebugCapture debug;
    player->SetFileName(folder.windows("missing.wav"));
    EXPECT_FALSE(player->Open());
    EXPECT_EQ(player->Error(), static_cast<MCIERROR>(MCIERR_FILE_NOT_FOUND));
    EXPECT_EQ(player->Mode(), MediaMode::NotReady);
    EXPECT_FALSE(player->Play());
    EXPECT_TRUE(debug.contains("no file is open"));
}

TEST_F(MediaPlayers, AFreedPlayerClosesItsDevice) {
    ASSERT_TRUE(player->Open());
    const MCIDEVICEID device = player->DeviceID();
    player->Free();
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_MODE;
    EXPECT_EQ(mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)),
              static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID));
}

}  // namespace
