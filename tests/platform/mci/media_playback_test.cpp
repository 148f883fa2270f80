// Real playback: files made at test time by sox and ffmpeg, opened through mciSendCommandA on the
// decoding backend (sound to SDL's dummy audio driver, so no sound card is needed), report their
// length and modes, and decode whole; files no decoder reads fail their open and use no id.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../files/temp_drive.h"
#include "mci/decoded_media.h"
#include "mci/media_backend.h"
#include "support/tool_runner.h"
#include "wave_bytes.h"
#include "winplat/mci.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace {

using winplat::mci::DecodeSinks;
using winplat::mci::DecodeTally;

struct Sample {
    const char* name;
    const char* tool;
    const char* command;  // %s is the output file
    uint32_t lengthMs;
    uint32_t lengthSlackMs;  // encoders pad compressed sound
    bool video;
    uint32_t frames;
    uint64_t samples;  // decoded sound samples per channel, 0 for none
    uint64_t samplesSlack;
};

// 1 s of 22050 Hz sound; 1.5 s of MP3 at 44100 Hz; 2 s of 64x48 pictures at 15 a second with sound,
// one key picture only, so a decode from the middle starts before it and must drop what precedes.
const Sample kSamples[] = {
    {"tone.wav", "sox", "sox -n -r 22050 -c 1 -b 16 %s synth 1.0 sine 440", 1000, 0, false, 0, 22050, 0},
    {"tone.mp3", "ffmpeg", "ffmpeg -v error -f lavfi -i sine=frequency=440:sample_rate=44100:duration=1.5 -c:a libmp3lame -b:a 64k %s",
     1500, 60, false, 0, 66150, 1152},
    {"clip.avi", "ffmpeg",
     "ffmpeg -v error -f lavfi -i testsrc=size=64x48:rate=15:duration=2 -f lavfi -i sine=sample_rate=22050:duration=2 "
     "-c:v mpeg4 -g 100 -c:a pcm_s16le -shortest %s",
     2000, 0, true, 30, 44100, 0},
};

std::string made(const Sample& sample, const filetest::TempDrive& drive) {
    std::string command = sample.command;
    command.replace(command.find("%s"), 2, "'" + drive.host(sample.name) + "'");
    return tool_runner::run(command) ? drive.host(sample.name) : std::string();
}

class MediaPlayback : public ::testing::TestWithParam<Sample> {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        winplat::mci::setMediaBackend(nullptr);
    }
    void TearDown() override {
        for (MCIDEVICEID id : opened) mciSendCommandA(id, MCI_CLOSE, 0, 0);
    }
    MCIERROR open(const std::string& path, MCIDEVICEID* id) {
        MCI_OPEN_PARMSA parms{};
        parms.lpstrElementName = path.c_str();
        const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms));
        if (!error) opened.push_back(*id = parms.wDeviceID);
        return error;
    }
    DWORD status(MCIDEVICEID id, DWORD item) {
        MCI_STATUS_PARMS parms{};
        parms.dwItem = item;
        EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&parms)), 0u);
        return static_cast<DWORD>(parms.dwReturn);
    }

    winplat::test::Harness h;
    filetest::TempDrive drive;
    std::vector<MCIDEVICEID> opened;
};

TEST_P(MediaPlayback, ReportsItsLengthAndModesThroughMci) {
    const Sample& sample = GetParam();
    if (!tool_runner::have(sample.tool)) GTEST_SKIP() << sample.tool << " is not installed";
    ASSERT_FALSE(made(sample, drive).empty()) << sample.command;
    MCIDEVICEID id = 0;
    ASSERT_EQ(open(std::string("T:\\") + sample.name, &id), 0u);
    EXPECT_NEAR(status(id, MCI_STATUS_LENGTH), sample.lengthMs, sample.lengthSlackMs);
    const DWORD length = status(id, MCI_STATUS_LENGTH);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP));
    MCI_PLAY_PARMS play{};
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, 0, reinterpret_cast<DWORD_PTR>(&play)), 0u);
    h.advance(length / 2);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_PLAY));
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), length / 2);
    ASSERT_EQ(mciSendCommandA(id, MCI_PAUSE, 0, 0), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_PAUSE));
    ASSERT_EQ(mciSendCommandA(id, MCI_STOP, 0, 0), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP));
    // A waiting play from the start returns at the end, the whole sound sent out.
    play.dwFrom = 0;
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_FROM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&play)), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), length);
    EXPECT_EQ(status(id, MCI_STATUS_MODE), static_cast<DWORD>(MCI_MODE_STOP));

    MCI_SET_PARMS set{};
    set.dwTimeFormat = MCI_FORMAT_FRAMES;
    const MCIERROR framed = mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, reinterpret_cast<DWORD_PTR>(&set));
    if (!sample.video) {
        EXPECT_EQ(framed, static_cast<MCIERROR>(MCIERR_BAD_TIME_FORMAT));
        return;
    }
    ASSERT_EQ(framed, 0u);
    EXPECT_EQ(status(id, MCI_STATUS_LENGTH), sample.frames);
    MCI_SEEK_PARMS seek{0, 5};
    ASSERT_EQ(mciSendCommandA(id, MCI_SEEK, MCI_TO, reinterpret_cast<DWORD_PTR>(&seek)), 0u);
    EXPECT_EQ(status(id, MCI_STATUS_POSITION), 5u);
    seek.dwTo = sample.frames + 1;
    EXPECT_EQ(mciSendCommandA(id, MCI_SEEK, MCI_TO, reinterpret_cast<DWORD_PTR>(&seek)),
              static_cast<MCIERROR>(MCIERR_OUTOFRANGE));
    seek.dwTo = sample.frames;
    EXPECT_EQ(mciSendCommandA(id, MCI_SEEK, MCI_TO, reinterpret_cast<DWORD_PTR>(&seek)), 0u);
}

TEST_P(MediaPlayback, DecodesWhole) {
    const Sample& sample = GetParam();
    if (!tool_runner::have(sample.tool)) GTEST_SKIP() << sample.tool << " is not installed";
    const std::string path = made(sample, drive);
    ASSERT_FALSE(path.empty()) << sample.command;
    std::string why;
    const auto info = winplat::mci::probeMedia(path, why);
    ASSERT_TRUE(info) << why;
    EXPECT_EQ(info->video, sample.video);
    EXPECT_EQ(info->frameCount, sample.frames);
    if (sample.video) {
        EXPECT_EQ(info->width, 64);
        EXPECT_EQ(info->height, 48);
    }
    struct Heard {
        uint64_t frames = 0;
    } heard;
    DecodeSinks sinks;
    sinks.context = &heard;
    sinks.sound = [](void* context, const int16_t*, size_t frames) { static_cast<Heard*>(context)->frames += frames; };
    DecodeTally tally;
    ASSERT_TRUE(winplat::mci::decodeRange(path, 0, info->lengthMs + 1000, sinks, tally, why)) << why;
    EXPECT_EQ(tally.videoFrames, sample.frames);
    EXPECT_NEAR(static_cast<double>(tally.audioSamples), static_cast<double>(sample.samples),
                static_cast<double>(sample.samplesSlack));
    // What reached the sink is the same sound at the sink's rate.
    const double seconds = static_cast<double>(tally.audioSamples) / tally.audioRate;
    EXPECT_NEAR(static_cast<double>(heard.frames), seconds * 44100, 64);
    // The first half alone, then the second: half the pictures each, and half the sound give or take
    // a decoded block (the range is cut at whole blocks; PCM comes in blocks of up to 4096 bytes).
    const double block = 2048;
    DecodeTally first;
    ASSERT_TRUE(winplat::mci::decodeRange(path, 0, info->lengthMs / 2, {}, first, why)) << why;
    EXPECT_EQ(first.videoFrames, sample.frames / 2);
    EXPECT_NEAR(static_cast<double>(first.audioSamples), static_cast<double>(sample.samples) / 2,
                static_cast<double>(sample.samplesSlack) + block);
    DecodeTally half;
    ASSERT_TRUE(winplat::mci::decodeRange(path, info->lengthMs / 2, info->lengthMs + 1000, {}, half, why)) << why;
    EXPECT_EQ(half.videoFrames, sample.frames / 2);
    EXPECT_NEAR(static_cast<double>(half.audioSamples), static_cast<double>(sample.samples) / 2,
                static_cast<double>(sample.samplesSlack) + block);
}

INSTANTIATE_TEST_SUITE_P(Files, MediaPlayback, ::testing::ValuesIn(kSamples),
                         [](const auto& info) { return std::string(info.param.tool) + std::to_string(info.index); });

TEST(MediaOpen, AFileNoDecoderReadsFailsItsOpenAndUsesNoId) {
    winplat::test::Harness h;
    filetest::TempDrive drive;
    winplat::mci::setMediaBackend(nullptr);
    drive.file("text.mp3", std::string(4000, 'x'));
    drive.file("empty.avi", "");
    drive.file("header.avi", std::string("RIFF\x10\0\0\0AVI LIST", 16));
    const std::vector<uint8_t> silent = wavetest::waveFile({.dataBytes = 0});
    drive.file("nothing.mp3", std::string(silent.begin(), silent.end()));  // sound of no length
    struct Case {
        const char* path;
        MCIERROR error;
    };
    const Case cases[] = {{"T:\\text.mp3", MCIERR_INVALID_FILE},
                          {"T:\\empty.avi", MCIERR_INVALID_FILE},
                          {"T:\\header.avi", MCIERR_INVALID_FILE},
                          {"T:\\nothing.mp3", MCIERR_INVALID_FILE},
                          {"T:\\missing.mpg", MCIERR_FILE_NOT_FOUND},
                          {"T:\\music.mid", MCIERR_INVALID_DEVICE_NAME}};
    for (const Case& c : cases) {
        winplat::testing::DebugCapture debug;
        MCI_OPEN_PARMSA parms{};
        parms.lpstrElementName = c.path;
        EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&parms)), c.error) << c.path;
        EXPECT_EQ(parms.wDeviceID, 0u) << c.path;
        EXPECT_EQ(mciSendCommandA(1, MCI_CLOSE, 0, 0), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_ID))
            << c.path << ": a failed open leaves no device";
    }
}

}  // namespace
