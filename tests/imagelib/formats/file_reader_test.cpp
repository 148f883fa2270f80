// The file reader behind byte streams opened for reading: every read and seek against the file's
// bytes, at the edges of its buffer and of the file.
#include "formats/file_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "bmp_test_support.h"

namespace {

using bmp_test::Bytes;
using bmp_test::TempFolder;

constexpr int64_t kLength = 40000;  // more than two of the reader's buffers

uint8_t byteAt(int64_t at) { return static_cast<uint8_t>(at * 7 + at / 251); }

Bytes pattern() {
    Bytes b(static_cast<size_t>(kLength));
    for (int64_t i = 0; i < kLength; ++i) b[static_cast<size_t>(i)] = byteAt(i);
    return b;
}

// The reader over a file of the pattern, with the descriptor it reads.
class FileReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        bmp_test::writeFile(folder_.file("bytes.bin"), pattern());
        descriptor_ = ::open(folder_.file("bytes.bin").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(descriptor_, 0);
        reader_.emplace(descriptor_, kLength);
    }
    void TearDown() override {
        reader_.reset();
        if (descriptor_ >= 0) ::close(descriptor_);
    }

    // Reads count bytes at the position and checks them against the pattern.
    void expectRead(uint32_t count, bool whole) {
        const int64_t from = reader_->tell();
        Bytes got(count, 0xEE);
        ASSERT_EQ(reader_->read(got.data(), count), whole);
        const int64_t available = std::max<int64_t>(0, std::min<int64_t>(count, kLength - from));
        EXPECT_EQ(reader_->tell(), from + available);
        for (int64_t i = 0; i < available; ++i) {
            ASSERT_EQ(got[static_cast<size_t>(i)], byteAt(from + i)) << "byte " << from + i;
        }
    }

    TempFolder folder_;
    int descriptor_ = -1;
    std::optional<pixmill::FileReader> reader_;
};

TEST_F(FileReaderTest, ReadsGiveTheFilesBytesWhereverTheyStartAndEnd) {
    struct Step {
        int64_t at;
        uint32_t count;
        bool whole;
    };
    const Step steps[] = {
        {0, 10, true},           // fills the buffer from the start
        {16380, 10, true},       // past the buffer's end: the rest from a fill there
        {3, 1, true},            // back before the buffer
        {100, 20000, true},      // longer than the buffer: straight into the caller's memory
        {kLength - 5, 5, true},  // up to the end exactly
        {kLength - 5, 6, false}, // one past the end: the five there, then a refusal
        {kLength, 1, false},
        {kLength + 10, 1, false},
        {kLength - 20000, 20000, true},  // a long read ending at the end
        {kLength - 19999, 20000, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.at) + " + " + std::to_string(step.count));
        ASSERT_TRUE(reader_->seek(step.at, SEEK_SET));
        expectRead(step.count, step.whole);
    }
}

TEST_F(FileReaderTest, SeeksMoveThePositionAndRefuseNegativeOnes) {
    struct Step {
        int64_t offset;
        int origin;
        bool accepted;
        int64_t position;  // after the step
    };
    const Step steps[] = {
        {100, SEEK_SET, true, 100},
        {-1, SEEK_SET, false, 100},
        {0, SEEK_SET, true, 0},
        {50, SEEK_CUR, true, 50},
        {-50, SEEK_CUR, true, 0},
        {-1, SEEK_CUR, false, 0},
        {0, SEEK_END, true, kLength},
        {-kLength, SEEK_END, true, 0},
        {-kLength - 1, SEEK_END, false, 0},
        {10, SEEK_END, true, kLength + 10},
        {INT64_MAX, SEEK_CUR, false, kLength + 10},
        {0, 3, false, kLength + 10},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::to_string(step.offset) + " from " + std::to_string(step.origin));
        EXPECT_EQ(reader_->seek(step.offset, step.origin), step.accepted);
        EXPECT_EQ(reader_->tell(), step.position);
    }
    Bytes one(1);
    EXPECT_FALSE(reader_->read(one.data(), 1));
    EXPECT_EQ(reader_->tell(), kLength + 10);
}

// The length is the one the file had when the reader was made, and bytes still buffered are not
// read again: a seek back within the buffer gives what was read before.
TEST_F(FileReaderTest, TheLengthAndTheBufferedBytesStayAsFirstRead) {
    Bytes first(8);
    ASSERT_TRUE(reader_->read(first.data(), 8));
    {
        std::FILE* f = std::fopen(folder_.file("bytes.bin").c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fputc(byteAt(0) ^ 0xFF, f);  // byte 0 changed
        std::fseek(f, 0, SEEK_END);
        std::fputs("more", f);
        std::fclose(f);
    }
    EXPECT_EQ(reader_->length(), kLength);
    ASSERT_TRUE(reader_->seek(0, SEEK_SET));
    Bytes again(8);
    ASSERT_TRUE(reader_->read(again.data(), 8));
    EXPECT_EQ(again, first);
    for (const uint32_t count : {1u, 2u, 20000u}) {  // into the bytes added, through the buffer or not
        SCOPED_TRACE(count);
        ASSERT_TRUE(reader_->seek(kLength - 1, SEEK_SET));
        Bytes across(count);
        EXPECT_EQ(reader_->read(across.data(), count), count == 1);
        EXPECT_EQ(reader_->tell(), kLength);
        EXPECT_EQ(across[0], byteAt(kLength - 1));
    }
}

TEST_F(FileReaderTest, AFileCutShortUnderTheReaderEndsItsReads) {
    ASSERT_EQ(::truncate(folder_.file("bytes.bin").c_str(), 1000), 0);
    ASSERT_TRUE(reader_->seek(990, SEEK_SET));
    Bytes got(20);
    EXPECT_FALSE(reader_->read(got.data(), 20));
    EXPECT_EQ(reader_->tell(), 1000);
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(got[i], byteAt(990 + static_cast<int64_t>(i)));
}

}  // namespace
