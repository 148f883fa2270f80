// Pieces of the media tests: a headless desktop with its virtual clock, MCI devices that only log
// what they are told (winplat::testing::VirtualMedia), and WAV files of a chosen length in a
// scratch folder, entered in the document's sound list.
#ifndef LECT32_TESTS_MEDIA_TEST_SUPPORT_H
#define LECT32_TESTS_MEDIA_TEST_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "page/embedded_files.h"
#include "page/mci_device.h"
#include "platform/mci/wave_bytes.h"
#include "store/document_tables.h"
#include "vazazi_test_support.h"
#include "winplat/testing.h"
#include "winplat_harness/harness.h"

namespace media_test {

// The log's lines that start with 'word' ("open", "play", "stop", "close", ...).
inline int count(const std::vector<std::string>& log, std::string_view word) {
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.starts_with(word) && (line.size() == word.size() || line[word.size()] == ' ');
    }));
}

class MediaTest : public ::testing::Test {
protected:
    void TearDown() override {
        lect32::soundFileNames().Clear();
        lect32::soundFileNames().folders().Clear();
        lect32::GetSoundSwitches() = {};
        lect32::DeleteTempFiles();
    }
    // A WAV file of 'ms' milliseconds of silence, entered in the sound list: its index.
    int16_t sound(const std::string& name, uint32_t ms) {
        vazazi_test::putFileBytes(folder_.host(name), wavetest::waveFile({.dataBytes = ms * 8}));
        std::string path = folder_.windows(name);
        const uint16_t index = lect32::soundFileNames().AddPath(path.data());
        EXPECT_LT(index, 0xFFFD);
        return static_cast<int16_t>(index);
    }
    std::vector<std::string> log() const { return media_.log(); }

    winplat::test::Harness harness_{{.width = 320, .height = 240, .goldenFolder = "", .diffFolder = "", .startMs = 1000}};
    winplat::testing::VirtualMedia media_;
    vazazi_test::ScratchFolder folder_;
};

}  // namespace media_test

#endif
