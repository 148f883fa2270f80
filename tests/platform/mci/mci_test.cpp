// Waveaudio devices through mciSendCommandA: opened from a file on a drive, played on the virtual
// clock with its notification posted when the sound ends, stopped, asked for their mode, length
// and position, and closed; every refusal with its error code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../files/temp_drive.h"
#include "mci/media_backend.h"
#include "wave_bytes.h"
#include "winplat/mci.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::test::Harness;

LRESULT CALLBACK sink(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class Mci : public ::testing::Test {
protected:
    void SetUp() override {
        auto virtualBackend = std::make_unique<winplat::mci::VirtualMediaBackend>();
        backend = virtualBackend.get();
        winplat::mci::setMediaBackend(std::move(virtualBackend));
        drive.file("sound.wav", bytes(wavetest::waveFile()));                         // 1000 ms
        drive.file("short.wav", bytes(wavetest::waveFile({.dataBytes = 2000})));       // 250 ms
        drive.file("broken.wav", bytes(wavetest::waveFile({.format = 2})));
        drive.file("music.mid", "MThd");
        WNDCLASSA wc{};
        wc.lpfnWndProc = sink;
        wc.lpszClassName = "MciSink";
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "MciSink", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        h.logMessages(window);
    }
    void TearDown() override {
        for (MCIDEVICEID id : opened) mciSendCommandA(id, MCI_CLOSE, 0, 0);
        winplat::mci::setMediaBackend(nullptr);
    }

    static std::string bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

    MCIERROR open(const char* path, MCIDEVICEID* id, DWORD extra = 0, const char* type = nullptr) {
        MCI_OPEN_PARMSA parms{};
        parms.lpstrElementName = path;
        parms.lpstrDeviceType = type;
        const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | extra, reinterpret_cast<DWORD_PTR>(&parms));
        if (!error) opened.push_back(*id = parms.wDeviceID);
        return error;
    }
    DWORD status(MCIDEVICEID id, DWORD item) {
        MCI_STATUS_PARMS parms{};
        parms.dwItem = item;
        EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)), 0u);
        return static_cast<DWORD>(parms.dwReturn);
    }
    MCIERROR play(MCIDEVICEID id, DWORD flags, DWORD from = 0, DWORD to = 0) {
        MCI_PLAY_PARMS parms{reinterpret_cast<DWORD_PTR>(window), from, to};
        return mciSendCommandA(id, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parms));
    }
    // The notifications the window got since the last look: code and device.
    std::vector<std::pair<WPARAM, LPARAM>> notifications() {
        std::vector<std::pair<WPARAM, LPARAM>> out;
        for (const auto& m : h.messages(window)) {
            if (m.message == MM_MCINOTIFY) out.emplace_back(m.wParam, m.lParam);
        }
        h.clearLog();
        return out;
    }

    MCIERROR send(MCIDEVICEID id, UINT command, DWORD flags = 0) {
        MCI_GENERIC_PARMS parms{reinterpret_cast<DWORD_PTR>(window)};
        return mciSendCommandA(id, command, flags, reinterpret_cast<DWORD_PTR>(&parms));
    }
    MCIERROR seek(MCIDEVICEID id, DWORD flags, DWORD to = 0) {
        MCI_SEEK_PARMS parms{reinterpret_cast<DWORD_PTR>(window), to};
        return mciSendCommandA(id, MCI_SEEK, flags, reinterpret_cast<DWORD_PTR>(&parms));
    }
    DWORD mode(MCIDEVICEID id) { return status(id, MCI_STATUS_MODE); }

    Harness h;
    winplat::mci::VirtualMediaBackend* backend = nullptr;
    filetest::TempDrive drive;
    HWND window = nullptr;
    std::vector<MCIDEVICEID> opened;
};

TEST_F(Mci, AnOpenedWaveKnowsItsLengthAndStandsStill) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    EXPECT_EQ(id, 1u) << "device ids start at 1";
    EXPECT_EQ(status(id, MCI_STATUS_LENGTH), 1000u);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 0u);
    MCIDEVICEID second = 0;
    ASSERT_EQ(open("T:\\SHORT.WAV", &second, MCI_OPEN_TYPE, "WaveAudio"), 0u);
    EXPECT_EQ(second, 2u);
    EXPECT_EQ(status(second, MCI_STATUS_LENGTH), 250u);
}

TEST_F(Mci, APlayKeepsTimeAndNotifiesWhenTheSoundEnds) {
    winplat::testing::DebugCapture debug;
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    ASSERT_EQ(play(id, MCI_NOTIFY), 0u);
    EXPECT_TRUE(debug.contains("MCI play T:\\sound.wav 0..1000"));
    h.advance(400);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_PLAY));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 400u);
    EXPECT_TRUE(notifications().empty());
    h.advance(599);
    EXPECT_TRUE(notifications().empty()) << "one millisecond before the end";
    h.advance(1);
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_SUCCESSFUL, id}}));
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 1000u);
}

TEST_F(Mci, StopAbortsTheNotificationAndAnotherPlaySupersedesIt) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    ASSERT_EQ(play(id, MCI_NOTIFY | MCI_FROM, 100), 0u);
    h.advance(50);
    ASSERT_EQ(play(id, MCI_NOTIFY | MCI_FROM | MCI_TO, 200, 300), 0u);
    h.pump();
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_SUPERSEDED, id}}));
    h.advance(40);
    ASSERT_EQ(mciSendCommandA(id, MCI_STOP, 0, 0), 0u);
    h.pump();
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 240u);
    h.advance(1000);
    EXPECT_TRUE(notifications().empty()) << "the stopped play's timer is gone";
    // A play without MCI_FROM goes on from where the device stands.
    ASSERT_EQ(play(id, MCI_WAIT), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 1000u);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP)) << "a waiting play returns at its end";
}

TEST_F(Mci, PositionsBeyondTheSoundAreRefused) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\short.wav", &id), 0u);
    EXPECT_EQ(play(id, MCI_FROM, 251), static_cast<MCIERROR>(MCIERR_OUTOFRANGE));
    EXPECT_EQ(play(id, MCI_FROM | MCI_TO, 0, 251), static_cast<MCIERROR>(MCIERR_OUTOFRANGE));
    EXPECT_EQ(play(id, MCI_FROM | MCI_TO, 100, 99), static_cast<MCIERROR>(MCIERR_OUTOFRANGE));
    EXPECT_EQ(play(id, MCI_FROM | MCI_WAIT, 250), 0u) << "the end itself plays nothing";
    EXPECT_EQ(play(id, MCI_FROM | MCI_TO | MCI_WAIT, 100, 100), 0u);
}

TEST_F(Mci, RefusalsGiveTheirErrorCodes) {
    winplat::testing::DebugCapture debug;
    MCIDEVICEID id = 0;
    EXPECT_EQ(open("T:\\missing.wav", &id), static_cast<MCIERROR>(MCIERR_FILE_NOT_FOUND));
    EXPECT_EQ(open("T:\\broken.wav", &id), static_cast<MCIERROR>(MCIERR_INVALID_FILE));
    EXPECT_TRUE(debug.contains("not PCM"));
    EXPECT_EQ(open("T:\\music.mid", &id), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_NAME));
    EXPECT_EQ(open("T:\\sound.wav", &id, MCI_OPEN_TYPE, "sequencer"), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_NAME));
    MCI_OPEN_PARMSA noFile{};
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, 0, reinterpret_cast<DWORD_PTR>(&noFile)),
              static_cast<MCIERROR>(MCIERR_MISSING_PARAMETER));
    EXPECT_EQ(mciSendCommandA(7, MCI_PLAY, 0, 0), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID));
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    EXPECT_EQ(mciSendCommandA(id, 0x080F /* record */, 0, 0), static_cast<MCIERROR>(MCIERR_UNRECOGNIZED_COMMAND));
    MCI_STATUS_PARMS parms{};
    parms.dwItem = 3;  // tracks
    EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)),
              static_cast<MCIERROR>(MCIERR_UNSUPPORTED_FUNCTION));
    EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, 0, reinterpret_cast<DWORD_PTR>(&parms)),
              static_cast<MCIERROR>(MCIERR_MISSING_PARAMETER));
}

TEST_F(Mci, CloseAbortsAPlayAndFreesTheId) {
    MCIDEVICEID first = 0;
    MCIDEVICEID second = 0;
    ASSERT_EQ(open("T:\\sound.wav", &first), 0u);
    ASSERT_EQ(open("T:\\sound.wav", &second), 0u);
    ASSERT_EQ(play(first, MCI_NOTIFY), 0u);
    ASSERT_EQ(mciSendCommandA(first, MCI_CLOSE, 0, 0), 0u);
    opened.erase(opened.begin());
    h.pump();
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_ABORTED, first}}));
    EXPECT_EQ(mciSendCommandA(first, MCI_STOP, 0, 0), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID));
    MCIDEVICEID again = 0;
    ASSERT_EQ(open("T:\\short.wav", &again), 0u);
    EXPECT_EQ(again, first) << "the smallest free id";
    h.advance(2000);
    EXPECT_TRUE(notifications().empty());
}

TEST_F(Mci, APauseHoldsThePositionAndAResumeKeepsTheNotification) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    ASSERT_EQ(play(id, MCI_NOTIFY), 0u);
    h.advance(300);
    ASSERT_EQ(send(id, MCI_PAUSE), 0u);
    EXPECT_EQ(mode(id), static_cast<DWORD>(MCI_MODE_PAUSE));
    h.advance(5000);
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 300u) << "a paused device does not move";
    EXPECT_TRUE(notifications().empty()) << "a pause neither ends nor aborts the play's notification";
    ASSERT_EQ(send(id, MCI_RESUME), 0u);
    EXPECT_EQ(mode(id), static_cast<DWORD>(MCI_MODE_PLAY));
    h.advance(699);
    EXPECT_TRUE(notifications().empty()) << "one millisecond before the end";
    h.advance(1);
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_SUCCESSFUL, id}}));
    EXPECT_EQ(mode(id), static_cast<DWORD>(MCI_MODE_STOP));
    // Pausing a stopped device leaves it stopped.
    ASSERT_EQ(send(id, MCI_PAUSE), 0u);
    EXPECT_EQ(mode(id), static_cast<DWORD>(MCI_MODE_STOP));
}

TEST_F(Mci, ASeekMovesAStoppedDeviceAndAbortsAPlay) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\short.wav", &id), 0u);  // 250 ms
    ASSERT_EQ(play(id, MCI_NOTIFY), 0u);
    h.advance(100);
    ASSERT_EQ(seek(id, MCI_TO, 200), 0u);
    h.pump();
    EXPECT_EQ(notifications(), (std::vector<std::pair<WPARAM, LPARAM>>{{MCI_NOTIFY_ABORTED, id}}));
    EXPECT_EQ(mode(id), static_cast<DWORD>(MCI_MODE_STOP));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 200u);
    struct Case {
        DWORD flags;
        DWORD to;
        MCIERROR error;
        DWORD position;
    };
    const Case cases[] = {
        {MCI_SEEK_TO_END, 0, 0, 250},      {MCI_SEEK_TO_START, 0, 0, 0},
        {MCI_TO, 250, 0, 250},             {MCI_TO, 251, MCIERR_OUTOFRANGE, 250},
        {MCI_TO, 249, 0, 249},             {0, 0, MCIERR_MISSING_PARAMETER, 249},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(seek(id, c.flags, c.to), c.error) << c.flags << " " << c.to;
        EXPECT_EQ(status(id, MCI_STATUS_POSITION), c.position) << c.flags << " " << c.to;
    }
    // A play without MCI_FROM starts where the seek left the device.
    ASSERT_EQ(play(id, MCI_WAIT), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 250u);
}

TEST_F(Mci, TheBackendIsToldEveryCommand) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    ASSERT_EQ(play(id, MCI_FROM | MCI_TO, 100, 900), 0u);
    h.advance(250);
    ASSERT_EQ(send(id, MCI_PAUSE), 0u);
    ASSERT_EQ(send(id, MCI_RESUME), 0u);
    h.advance(50);
    ASSERT_EQ(send(id, MCI_STOP), 0u);
    ASSERT_EQ(seek(id, MCI_TO, 500), 0u);
    ASSERT_EQ(play(id, MCI_WAIT), 0u);
    EXPECT_EQ(play(id, MCI_FROM, 1001), static_cast<MCIERROR>(MCIERR_OUTOFRANGE)) << "a refused play is not passed on";
    ASSERT_EQ(send(id, MCI_CLOSE), 0u);
    opened.clear();
    EXPECT_EQ(backend->log(), (std::vector<std::string>{"open sound.wav 1000", "play 100 900", "pause 350", "play 350 900",
                                                        "stop 400", "stop 500", "play 500 1000", "finish", "close"}));
}

TEST_F(Mci, AWaveCountsTimeInMillisecondsOnly) {
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_FRAMES;
    EXPECT_EQ(mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)),
              static_cast<MCIERROR>(MCIERR_BAD_TIME_FORMAT));
    set.dwTimeFormat = 8;  // samples
    EXPECT_EQ(mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)),
              static_cast<MCIERROR>(MCIERR_BAD_TIME_FORMAT));
    set.dwTimeFormat = MCI_FORMAT_MILLISECONDS;
    EXPECT_EQ(mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set)), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_TIME_FORMAT), static_cast<DWORD>(MCI_FORMAT_MILLISECONDS));
    EXPECT_EQ(status(id, MCI_STATUS_LENGTH), 1000u);
}

TEST_F(Mci, PlaySoundPlaysOneSoundAtATime) {
    EXPECT_TRUE(PlaySoundA("T:\\short.wav", nullptr, SND_FILENAME | SND_SYNC));
    EXPECT_TRUE(PlaySoundA("T:\\sound.wav", nullptr, SND_FILENAME | SND_ASYNC));
    h.advance(100);
    EXPECT_TRUE(PlaySoundA("T:\\short.wav", nullptr, SND_FILENAME | SND_ASYNC)) << "ends the sound playing";
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
    EXPECT_EQ(backend->log(), (std::vector<std::string>{"open short.wav 250", "play 0 250", "finish", "close",
                                                        "open sound.wav 1000", "play 0 1000", "close",
                                                        "open short.wav 250", "play 0 250", "close"}));
    MCIDEVICEID id = 0;
    ASSERT_EQ(open("T:\\sound.wav", &id), 0u);
    EXPECT_EQ(id, 1u) << "a sound played out leaves no device open";
}

TEST_F(Mci, ASoundThatCannotPlayBeepsUnlessToldNotTo) {
    winplat::testing::BeepCounter beeps;
    EXPECT_FALSE(PlaySoundA("T:\\missing.wav", nullptr, SND_FILENAME));
    EXPECT_FALSE(PlaySoundA("T:\\broken.wav", nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_EQ(beeps.types(), (std::vector<UINT>{MB_OK, MB_OK}));
    EXPECT_FALSE(PlaySoundA("T:\\broken.wav", nullptr, SND_FILENAME | SND_NODEFAULT));
    EXPECT_EQ(beeps.count(), 2u);
    EXPECT_TRUE(backend->log().empty());
}

}  // namespace
