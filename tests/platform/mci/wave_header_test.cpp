// The WAV header reader: what it takes from good files, and each damage it refuses with its reason,
// on both sides of every bound.
#include <gtest/gtest.h>

#include "mci/wave_header.h"
#include "wave_bytes.h"

namespace {

using winplat::mci::readWaveHeader;
using wavetest::WaveFields;
using wavetest::waveFile;

std::optional<winplat::mci::WaveInfo> read(const std::vector<uint8_t>& bytes, std::string* why = nullptr) {
    std::string reason;
    auto info = readWaveHeader(bytes, reason);
    if (why) *why = reason;
    return info;
}

TEST(WaveHeader, ReadsTheFormatAndTheDataLength) {
    const struct {
        const char* what;
        WaveFields fields;
        uint32_t duration;
    } cases[] = {
        {"one second of 8-bit mono", {}, 1000},
        {"16-bit stereo at 22050", {.channels = 2, .rate = 22050, .byteRate = 88200, .blockAlign = 4, .bits = 16,
                                    .dataBytes = 44100}, 500},
        {"data before the format, an odd chunk before both", {.dataBytes = 80, .dataFirst = true, .junk = "abc"}, 10},
        {"no samples", {.dataBytes = 0}, 0},
        {"one sample short of a millisecond", {.dataBytes = 7}, 0},
        {"exactly one millisecond", {.dataBytes = 8}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto info = read(waveFile(c.fields));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->channels, c.fields.channels);
        EXPECT_EQ(info->bitsPerSample, c.fields.bits);
        EXPECT_EQ(info->dataBytes, c.fields.dataBytes);
        EXPECT_EQ(info->durationMs(), c.duration);
    }
}

TEST(WaveHeader, ADataChunkClaimingMoreThanTheFileHoldsKeepsWhatIsThere) {
    const auto info = read(waveFile({.dataBytes = 400, .declaredData = 1000000}));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->dataBytes, 400u);
    EXPECT_EQ(info->durationMs(), 50u);
}

TEST(WaveHeader, RefusesWhatItDoesNotPlayAndSaysWhy) {
    const struct {
        const char* what;
        WaveFields fields;
        const char* reason;  // empty: accepted (the equal side of a bound)
    } cases[] = {
        {"not PCM", {.format = 3}, "not PCM"},
        {"no channels", {.channels = 0}, "channels outside"},
        {"nine channels", {.channels = 9, .byteRate = 72000, .blockAlign = 9}, "channels outside"},
        {"eight channels", {.channels = 8, .byteRate = 64000, .blockAlign = 8, .dataBytes = 64000}, ""},
        {"12-bit samples", {.bits = 12}, "neither 8 nor 16"},
        {"rate 0", {.rate = 0, .byteRate = 0}, "sample rate outside"},
        {"rate 1", {.rate = 1, .byteRate = 1, .dataBytes = 1}, ""},
        {"rate 384000", {.rate = 384000, .byteRate = 384000}, ""},
        {"rate 384001", {.rate = 384001, .byteRate = 384001}, "sample rate outside"},
        {"a block one byte long for 16 bits", {.byteRate = 8000, .blockAlign = 1, .bits = 16}, "block size"},
        {"a byte rate one off", {.byteRate = 8001}, "byte rate"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string why;
        const auto info = read(waveFile(c.fields), &why);
        if (*c.reason == '\0') {
            EXPECT_TRUE(info) << why;
        } else {
            EXPECT_FALSE(info);
            EXPECT_NE(why.find(c.reason), std::string::npos) << why;
        }
    }
}

TEST(WaveHeader, RefusesBrokenContainers) {
    const std::vector<uint8_t> good = waveFile();
    std::string why;
    // Every cut before the data chunk's header is complete fails; the header's last byte in place,
    // the data (none of it yet) is accepted as empty.
    const size_t dataHeaderEnd = 12 + 24 + 8;
    for (size_t cut = 0; cut < dataHeaderEnd; ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(read(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)), &why));
    }
    const auto empty = read(std::vector<uint8_t>(good.begin(), good.begin() + dataHeaderEnd));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->dataBytes, 0u);
    std::vector<uint8_t> wrong = good;
    wrong[8] = 'X';  // "XAVE"
    EXPECT_FALSE(read(wrong, &why));
    EXPECT_EQ(why, "no RIFF WAVE header");
    std::vector<uint8_t> shortFormat = good;
    shortFormat[16] = 15;  // the format chunk one byte too short
    EXPECT_FALSE(read(shortFormat, &why));
    EXPECT_NE(why.find("shorter than 16"), std::string::npos) << why;
}

}  // namespace
