#include <zlib.h>

#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/disk_file.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "winplat/clipboard.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using lect32::DiskFile;
using lect32::MemReader;
using lect32::MemWriter;
using winplat::testing::GlobalAllocFailure;
using winplat::testing::liveGlobalBlocks;

constexpr lect32::BodyStamp kChunked{lect32::BodyForm::Chunked, 1};

// Text-like bytes that deflate packs to about a third: words from a small vocabulary.
Bytes textLike(size_t size, uint32_t seed = 1) {
    static const char* const words[] = {"kapitola ", "strana ", "obrazek ", "odkaz ", "text ", "\r\n", "dokument "};
    Bytes out;
    out.reserve(size);
    while (out.size() < size) {
        seed = seed * 1103515245u + 12345u;
        const char* word = words[(seed >> 16) % 7];
        for (const char* c = word; *c && out.size() < size; ++c) out.push_back(static_cast<uint8_t>(*c));
    }
    return out;
}

Bytes noise(size_t size, uint32_t seed = 7) {
    Bytes out(size);
    for (auto& b : out) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<uint8_t>(seed >> 24);
    }
    return out;
}

void putU16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

Bytes zlibPack(const uint8_t* data, size_t size) {
    uLongf packedSize = compressBound(size);
    Bytes packed(packedSize);
    EXPECT_EQ(compress(packed.data(), &packedSize, data, size), Z_OK);
    packed.resize(packedSize);
    return packed;
}

// A chunked body made with zlib here, independently of the writer: chunks of 64000 bytes, each
// packed, or stored when 'stored' says so for its index (stored chunks have no packed-length word).
Bytes chunkedBody(const Bytes& data, bool (*stored)(size_t index) = nullptr) {
    Bytes body;
    const size_t count = (data.size() + 63999) / 64000;
    putU16(body, static_cast<uint32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const size_t offset = i * 64000;
        const size_t length = std::min<size_t>(64000, data.size() - offset);
        if (stored && stored(i)) {
            body.push_back(0);
            putU16(body, static_cast<uint32_t>(length));
            body.insert(body.end(), data.begin() + static_cast<long>(offset), data.begin() + static_cast<long>(offset + length));
        } else {
            const Bytes packed = zlibPack(data.data() + offset, length);
            body.push_back(1);
            putU16(body, static_cast<uint32_t>(length));
            putU16(body, static_cast<uint32_t>(packed.size()));
            body.insert(body.end(), packed.begin(), packed.end());
        }
    }
    return body;
}

class TempFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "lect32-mem-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        host_ = pattern;
        blocksBefore_ = liveGlobalBlocks();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(host_, ignored);
    }
    std::string win(const std::string& name) const {
        std::string path = "C:" + (host_ / name).string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }
    void writeHost(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(host_ / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Bytes readHost(const std::string& name) const {
        std::ifstream in(host_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Puts the body in a file between foreign bytes and opens it at the body's start.
    void openBody(DiskFile& file, const Bytes& body) {
        Bytes contents(kLead + body.size() + kTail, 0xEE);
        std::fill_n(contents.begin(), kLead, 0xAA);
        std::copy(body.begin(), body.end(), contents.begin() + kLead);
        writeHost("body.bin", contents);
        ASSERT_EQ(file.Open(win("body.bin").c_str(), DiskFile::kRead), 1);
        file.Seek(kLead, DiskFile::kBegin);
    }
    static Bytes contents(const MemReader& reader) {
        return reader.size() ? Bytes(reader.data(), reader.data() + reader.size()) : Bytes{};
    }

    static constexpr uint32_t kLead = 7;
    static constexpr uint32_t kTail = 5;
    fs::path host_;
    size_t blocksBefore_ = 0;
};

// ---------------------------------------------------------------- MemWriter

TEST(MemWriter, TypedWritesAreLittleEndian) {
    MemWriter writer;
    writer.Begin();
    EXPECT_EQ(writer.WriteByte(0x12), 1);
    EXPECT_EQ(writer.WriteWord(0x3456), 1);
    EXPECT_EQ(writer.WriteDword(0x789ABCDE), 1);
    EXPECT_EQ(writer.WriteShort(-2), 1);
    EXPECT_EQ(writer.WriteLong(-3), 1);
    EXPECT_EQ(writer.WriteULong(0xCAFEBABE), 1);
    EXPECT_EQ(writer.WriteBytes("xyz", 3), 1);
    EXPECT_EQ(writer.WriteBytesLong("", 0), 1);
    EXPECT_EQ(writer.End(), 0);
    const Bytes expected = {0x12, 0x56, 0x34, 0xDE, 0xBC, 0x9A, 0x78, 0xFE, 0xFF, 0xFD, 0xFF,
                            0xFF, 0xFF, 0xBE, 0xBA, 0xFE, 0xCA, 'x',  'y',  'z'};
    ASSERT_EQ(writer.GetLength(), expected.size());
    Bytes copy(expected.size());
    EXPECT_EQ(writer.CopyTo(copy.data()), expected.size());
    EXPECT_EQ(copy, expected);

    HGLOBAL block = writer.DetachHandle();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), expected.size()) << "the block's size is the length written";
    EXPECT_EQ(std::memcmp(GlobalLock(block), expected.data(), expected.size()), 0);
    GlobalUnlock(block);
    EXPECT_EQ(writer.DetachHandle(), nullptr) << "the writer forgot the block";
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(MemWriter, ValuesAcrossTheFirstBlockEndStayWhole) {
    struct Case {
        uint32_t before;  // bytes written first
        int width;
    };
    const Case cases[] = {{63999, 1}, {64000, 1}, {63999, 2}, {63998, 4}, {63997, 4}, {63000, 65535}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " + " << c.width);
        const Bytes head = textLike(c.before);
        const Bytes tail = noise(static_cast<size_t>(c.width));
        MemWriter writer;
        writer.Begin();
        ASSERT_EQ(writer.WriteBytesLong(head.data(), c.before), 1);
        if (c.width == 1) {
            EXPECT_EQ(writer.WriteByte(tail[0]), 1);
        } else if (c.width == 2) {
            EXPECT_EQ(writer.WriteWord(static_cast<uint16_t>(tail[0] | tail[1] << 8)), 1);
        } else if (c.width == 4) {
            EXPECT_EQ(writer.WriteDword(static_cast<uint32_t>(tail[0] | tail[1] << 8 | tail[2] << 16) |
                                        static_cast<uint32_t>(tail[3]) << 24),
                      1);
        } else {
            // More than one growth step beyond the end: must still fit in one call.
            EXPECT_EQ(writer.WriteBytes(tail.data(), static_cast<uint16_t>(c.width)), 1);
        }
        ASSERT_EQ(writer.End(), 0);
        Bytes expected = head;
        expected.insert(expected.end(), tail.begin(), tail.end());
        Bytes copy(writer.GetLength());
        ASSERT_EQ(writer.CopyTo(copy.data()), expected.size());
        EXPECT_EQ(copy, expected);
    }
}

TEST(MemWriter, TenMegabytesByteByByteGrowGeometrically) {
    constexpr uint32_t kSize = 10'000'000;
    MemWriter writer;
    writer.Begin();
    // Growth in fixed 64000-byte steps would take 156 reallocations; geometric growth about a dozen.
    GlobalAllocFailure plan(40);
    uint32_t refused = 0;
    for (uint32_t i = 0; i < kSize; ++i) refused += writer.WriteByte(static_cast<uint8_t>(i % 251)) ? 0 : 1;
    EXPECT_EQ(refused, 0u);
    EXPECT_EQ(plan.failures(), 0);
    ASSERT_EQ(writer.End(), 0);
    ASSERT_EQ(writer.GetLength(), kSize);
    Bytes copy(kSize);
    writer.CopyTo(copy.data());
    for (uint32_t i = 0; i < kSize; i += 9973) ASSERT_EQ(copy[i], i % 251) << i;
    EXPECT_EQ(copy[kSize - 1], (kSize - 1) % 251);
}

TEST(MemWriter, FailedGrowthIsStickyAndReportedAtEnd) {
    const size_t blocksBefore = liveGlobalBlocks();
    {
        MemWriter writer;
        writer.Begin();
        const Bytes first = textLike(64000);
        ASSERT_EQ(writer.WriteBytesLong(first.data(), 64000), 1);
        {
            GlobalAllocFailure plan(1);
            EXPECT_EQ(writer.WriteByte(1), 0) << "the block is full and cannot grow";
            EXPECT_EQ(plan.failures(), 1);
        }
        EXPECT_EQ(writer.WriteByte(1), 0) << "memory is back, but the data already has a hole";
        EXPECT_EQ(writer.WriteDword(1), 0);
        EXPECT_EQ(writer.WriteBytes("ab", 2), 0);
        EXPECT_NE(writer.End(), 0);
        EXPECT_EQ(writer.GetLength(), 0u);
        uint8_t target[4] = {};
        EXPECT_EQ(writer.CopyTo(target), 0u);
        EXPECT_EQ(writer.DetachHandle(), nullptr);

        writer.Begin();
        EXPECT_EQ(writer.WriteByte(9), 1) << "Begin starts afresh";
        EXPECT_EQ(writer.End(), 0);
        EXPECT_EQ(writer.GetLength(), 1u);
    }
    {
        MemWriter writer;
        GlobalAllocFailure plan(1);
        writer.Begin();
        EXPECT_EQ(writer.WriteByte(1), 0) << "no block at all";
        EXPECT_NE(writer.End(), 0);
    }
    EXPECT_EQ(liveGlobalBlocks(), blocksBefore);
}

TEST(MemWriter, PutOnClipboardLeavesTheDataAndTheLocale) {
    winplat::testing::resetClipboard();
    const size_t blocksBefore = liveGlobalBlocks();
    {
        MemWriter writer;
        writer.Begin();
        writer.WriteBytes("Ahoj", 4);
        EXPECT_EQ(writer.PutOnClipboard(CF_TEXT), 0) << "the clipboard is not open";

        ASSERT_TRUE(OpenClipboard(nullptr));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_EQ(writer.PutOnClipboard(CF_TEXT), 1);
        EXPECT_EQ(writer.DetachHandle(), nullptr) << "the writer forgot the block";
    }
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_LOCALE));
    auto text = static_cast<HGLOBAL>(GetClipboardData(CF_TEXT));
    ASSERT_EQ(GlobalSize(text), 4u) << "shrunk to the bytes written";
    EXPECT_EQ(std::memcmp(GlobalLock(text), "Ahoj", 4), 0);
    GlobalUnlock(text);
    auto locale = static_cast<HGLOBAL>(GetClipboardData(CF_LOCALE));
    ASSERT_EQ(GlobalSize(locale), 4u);
    const Bytes czech = {0x05, 0x04, 0x00, 0x00};  // 1029
    EXPECT_EQ(std::memcmp(GlobalLock(locale), czech.data(), 4), 0);
    GlobalUnlock(locale);
    EXPECT_TRUE(CloseClipboard());

    EXPECT_EQ(liveGlobalBlocks(), blocksBefore + 2) << "the two blocks belong to the clipboard";
    winplat::testing::resetClipboard();
    EXPECT_EQ(liveGlobalBlocks(), blocksBefore);
}

// Checks the chunked form by expanding it with zlib here, not with the reader; 'flags' gets each
// chunk's flag (1 packed, 0 stored).
Bytes expandIndependently(const Bytes& body, std::vector<int>& flags) {
    Bytes out;
    flags.clear();
    const size_t chunks = body[0] | body[1] << 8;
    size_t at = 2;
    for (size_t i = 0; i < chunks && at + 3 <= body.size(); ++i) {
        const int flag = body[at];
        flags.push_back(flag);
        const size_t unpacked = body[at + 1] | body[at + 2] << 8;
        EXPECT_LE(unpacked, 64000u);
        if (flag == 0) {  // stored: the bytes themselves
            EXPECT_LE(at + 3 + unpacked, body.size());
            out.insert(out.end(), body.begin() + static_cast<long>(at + 3),
                       body.begin() + static_cast<long>(std::min(at + 3 + unpacked, body.size())));
            at += 3 + unpacked;
            continue;
        }
        EXPECT_EQ(flag, 1);
        const size_t packed = body[at + 3] | body[at + 4] << 8;
        EXPECT_LT(packed, unpacked) << "a chunk is packed only when that pays";
        Bytes chunk(unpacked);
        uLongf length = unpacked;
        EXPECT_EQ(uncompress(chunk.data(), &length, &body[at + 5], packed), Z_OK);
        EXPECT_EQ(length, unpacked);
        out.insert(out.end(), chunk.begin(), chunk.end());
        at += 5 + packed;
    }
    EXPECT_EQ(flags.size(), chunks);
    EXPECT_EQ(at, body.size()) << "nothing after the last chunk";
    return out;
}

TEST(MemWriter, CompressCutsIntoChunksOf64000) {
    struct Case {
        size_t size;
        size_t chunks;
    };
    const Case cases[] = {{0, 0}, {1000, 1}, {64000, 1}, {65000, 2}, {128000, 2}, {200000, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const Bytes data = textLike(c.size);
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(data.data(), static_cast<uint32_t>(data.size()));
        writer.End();
        ASSERT_TRUE(writer.Compress());
        EXPECT_TRUE(writer.compressed());
        Bytes body(writer.GetLength());
        writer.CopyTo(body.data());
        ASSERT_GE(body.size(), 2u);
        std::vector<int> flags;
        EXPECT_EQ(expandIndependently(body, flags), data);
        EXPECT_EQ(flags, std::vector<int>(c.chunks, 1)) << "text packs in every chunk";
        if (c.size == 0) {
            EXPECT_EQ(body, (Bytes{0, 0}));
        }
    }
}

// Data that does not shrink (random bytes, a chunk of one byte) is stored in its chunks as it is,
// the rest packed; the reader expands the result to the data. The output never needs more than
// the data, a chunk count and each chunk's header.
TEST_F(TempFiles, CompressStoresTheChunksThatDoNotShrink) {
    struct Case {
        const char* what;
        Bytes data;
        std::vector<int> flags;
    };
    Bytes noisyMiddle = textLike(192000);
    const Bytes loud = noise(64000);
    std::copy(loud.begin(), loud.end(), noisyMiddle.begin() + 64000);
    const Case cases[] = {{"1-byte last chunk", textLike(128001), {1, 1, 0}},
                          {"noise in the second chunk", noisyMiddle, {1, 0, 1}},
                          {"one byte", Bytes{'a'}, {0}},
                          {"1,000 random bytes", noise(1000), {0}},
                          {"63,999 random bytes", noise(63999), {0}},
                          {"64,000 random bytes", noise(64000), {0}},
                          {"64,001 random bytes", noise(64001), {0, 0}},
                          {"200,000 random bytes", noise(200000), {0, 0, 0, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t blocksBefore = liveGlobalBlocks();
        MemWriter writer;
        writer.Begin();
        writer.WriteBytesLong(c.data.data(), static_cast<uint32_t>(c.data.size()));
        writer.End();
        ASSERT_TRUE(writer.Compress());
        EXPECT_TRUE(writer.compressed());
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore + 1) << "the plain block went";
        Bytes body(writer.GetLength());
        writer.CopyTo(body.data());
        EXPECT_LE(body.size(), c.data.size() + 2 + 5 * c.flags.size());
        std::vector<int> flags;
        EXPECT_EQ(expandIndependently(body, flags), c.data);
        EXPECT_EQ(flags, c.flags);

        DiskFile file;
        ASSERT_EQ(file.Create(win("packed.bin").c_str(), DiskFile::kReadWrite), 1);
        ASSERT_EQ(writer.WriteToFile(file), 1);
        file.Seek(0, DiskFile::kBegin);
        MemReader reader;
        ASSERT_EQ(reader.LoadFromFile(file, writer.GetLength(), kChunked), 1);
        EXPECT_TRUE(contents(reader) == c.data);
        file.Close();
    }
}

TEST_F(TempFiles, WriterToFileAndBack) {
    const Bytes data = textLike(150000, 3);
    MemWriter writer;
    writer.Begin();
    writer.WriteBytesLong(data.data(), static_cast<uint32_t>(data.size()));
    writer.End();
    ASSERT_TRUE(writer.Compress());
    DiskFile file;
    ASSERT_EQ(file.Create(win("packed.bin").c_str(), DiskFile::kReadWrite), 1);
    EXPECT_EQ(writer.WriteToFile(file), 1);
    file.Close();
    EXPECT_EQ(fs::file_size(host_ / "packed.bin"), writer.GetLength());

    ASSERT_EQ(file.Open(win("packed.bin").c_str(), DiskFile::kRead), 1);
    MemReader reader;
    ASSERT_EQ(reader.LoadFromFile(file, writer.GetLength(), kChunked), 1);
    EXPECT_EQ(contents(reader), data);
    EXPECT_EQ(reader.form(), lect32::BodyForm::Chunked);
    // The form is the load's own: the same bytes loaded plain are the packed bytes as stored.
    file.Seek(0, DiskFile::kBegin);
    ASSERT_EQ(reader.LoadFromFile(file, writer.GetLength(), {lect32::BodyForm::Plain, 7}), 1);
    EXPECT_EQ(contents(reader), readHost("packed.bin"));
    EXPECT_EQ(reader.form(), lect32::BodyForm::Plain);
    EXPECT_EQ(reader.version(), 7);
    file.Seek(0, DiskFile::kBegin);
    ASSERT_EQ(reader.LoadFromFile(file, writer.GetLength(), kChunked), 1);

    ASSERT_EQ(file.Create(win("plain.bin").c_str(), DiskFile::kReadWrite), 1);
    EXPECT_EQ(reader.WriteToFile(file), 1);
    file.Close();
    EXPECT_EQ(readHost("plain.bin"), data);
}

// ---------------------------------------------------------------- MemReader loading

bool everySecond(size_t index) { return index % 2 == 1; }
bool everyFirst(size_t index) { return index % 2 == 0; }
bool everyOne(size_t) { return true; }

TEST_F(TempFiles, ChunkedBodiesExpandAtEverySize) {
    const size_t sizes[] = {0, 1, 63999, 64000, 64001, 128000, 128001, 1'000'000};
    // Stored chunks make bodies bigger than the block a reader takes from the file at once, so
    // chunks lie across the blocks' edges.
    bool (*const layouts[])(size_t) = {nullptr, everySecond, everyFirst, everyOne};
    for (size_t size : sizes) {
        for (auto* stored : layouts) {
            SCOPED_TRACE(testing::Message() << size << " bytes, stored chunks: "
                                            << (stored == nullptr       ? "none"
                                                : stored == everySecond ? "odd"
                                                : stored == everyFirst  ? "even"
                                                                        : "all"));
            const Bytes data = textLike(size, static_cast<uint32_t>(size));
            const Bytes body = chunkedBody(data, stored);
            DiskFile file;
            openBody(file, body);
            MemReader reader;
            reader.LoadFromMemory("old", 3);
            reader.Skip(5);
            ASSERT_EQ(reader.LoadFromFile(file, static_cast<uint32_t>(body.size()), kChunked), 1);
            EXPECT_EQ(reader.size(), size);
            EXPECT_TRUE(contents(reader) == data);
            EXPECT_EQ(reader.position(), 0u);
            EXPECT_FALSE(reader.overrun());
            EXPECT_EQ(file.Tell(), kLead + body.size()) << "nothing beyond the body is read";
            file.Close();
        }
    }
}

TEST_F(TempFiles, PlainBodiesLoadExactly) {
    const Bytes data = textLike(70000);
    DiskFile file;
    openBody(file, data);
    MemReader reader;
    ASSERT_EQ(reader.LoadFromFile(file, 70000), 1);
    EXPECT_EQ(contents(reader), data);
    EXPECT_EQ(file.Tell(), kLead + 70000);

    file.Seek(kLead, DiskFile::kBegin);
    EXPECT_EQ(reader.LoadFromFile(file, 70000 + kTail + 1), 0) << "longer than what the file holds";
    EXPECT_EQ(reader.size(), 0u);
    EXPECT_EQ(reader.LoadFromFile(file, 0), 1);
    EXPECT_EQ(reader.size(), 0u);
    file.Close();

    ASSERT_EQ(file.Open(win("body.bin").c_str(), DiskFile::kRead, kLead, 100), 1);
    EXPECT_EQ(reader.LoadFromFile(file, 101), 0) << "longer than the window";
    ASSERT_EQ(reader.LoadFromFile(file, 100), 1);
    EXPECT_EQ(contents(reader), Bytes(data.begin(), data.begin() + 100));
    file.Close();
}

void setU16(Bytes& body, size_t at, uint32_t value) {
    body[at] = static_cast<uint8_t>(value);
    body[at + 1] = static_cast<uint8_t>(value >> 8);
}

TEST_F(TempFiles, MalformedChunkedBodiesFailCleanly) {
    const Bytes small = textLike(1000);
    const Bytes good = chunkedBody(small);  // one packed chunk; the cases edit copies
    struct Case {
        const char* what;
        Bytes body;
        int64_t lengthDelta;  // the body length handed over, relative to the body's size
        const char* refusal;  // what the debug output names; null for a check without a report
    };
    std::vector<Case> cases;
    cases.push_back({"no chunk count", {0x01}, 0, "no chunk count"});
    {
        Bytes body = {0xFF, 0xFF};
        body.resize(200, 0);
        cases.push_back({"chunk count 65535", body, 0, "chunk count larger than the body"});
    }
    {
        Bytes body = good;
        setU16(body, 0, 2);
        body.resize(body.size() + 2, 0);  // less than a second chunk's header
        cases.push_back({"count above the chunks present", body, 0, "chunk header past the body"});
    }
    {
        Bytes body = {1, 0, 1};
        putU16(body, 1000);
        cases.push_back({"packed-length word missing", body, 0, "chunk header past the body"});
    }
    {
        Bytes body = {1, 0, 1};
        putU16(body, 64000);
        putU16(body, 64001);
        body.resize(body.size() + 64001, 0);
        cases.push_back({"packed length 64001", body, 0, "packed length above 64000"});
    }
    {
        Bytes body = good;
        setU16(body, 3, 64001);
        cases.push_back({"unpacked length 64001", body, 0, "unpacked length above 64000"});
    }
    {
        Bytes body = {1, 0, 0};
        putU16(body, 64001);
        body.resize(body.size() + 64001, 'x');
        cases.push_back({"stored chunk of 64001", body, 0, "unpacked length above 64000"});
    }
    {
        Bytes body = good;
        body.resize(body.size() - 1);
        cases.push_back({"packed data cut short", body, 0, "chunk data past the body"});
    }
    cases.push_back({"body length shorter than the chunks", good, -1, "chunk data past the body"});
    {
        Bytes body = {1, 0, 0};
        putU16(body, 10);
        body.resize(body.size() + 9, 'x');
        cases.push_back({"stored data cut short", body, 0, "chunk data past the body"});
    }
    {
        Bytes body = good;
        setU16(body, 3, 999);
        cases.push_back({"expands to more than its unpacked length", body, 0, "does not expand"});
    }
    {
        Bytes body = good;
        setU16(body, 3, 1001);
        cases.push_back({"expands to less than its unpacked length", body, 0, "does not expand"});
    }
    {
        Bytes body = good;
        body[body.size() - 1] ^= 0x55;  // the Adler-32 check
        cases.push_back({"damaged packed data", body, 0, "does not expand"});
    }
    {
        Bytes body = good;
        body[2] = 2;
        cases.push_back({"unknown chunk flag", body, 0, "unknown chunk flag"});
    }
    {
        Bytes body = {1, 0, 1};
        putU16(body, 64000);
        putU16(body, 20);
        body.resize(body.size() + 20, 0);
        cases.push_back({"more than deflate can expand to", body, 0, "beyond deflate's reach"});
    }
    {
        Bytes body = chunkedBody(textLike(64000 * 3));
        body[body.size() - 1] ^= 0x55;
        cases.push_back({"last chunk damaged after the others expanded", body, 0, "does not expand"});
    }
    cases.push_back({"body length beyond the file", good, kTail + 1, nullptr});
    // Bodies bigger than the block a reader takes at once: what lies beyond the first block is
    // checked as it comes, and a failure there keeps nothing either.
    const Bytes big = chunkedBody(textLike(64000 * 12), everySecond);
    const size_t lastHeader = big.size() - 64000 - 3;  // the last chunk is stored
    {
        Bytes body = big;
        body[lastHeader] = 2;
        cases.push_back({"unknown flag beyond the first block", body, 0, "unknown chunk flag"});
    }
    {
        Bytes body = big;
        setU16(body, lastHeader + 1, 64001);
        cases.push_back({"stored chunk of 64001 beyond the first block", body, 0, "unpacked length above 64000"});
    }
    cases.push_back({"big body cut short", big, -1, "chunk data past the body"});
    {
        Bytes body = big;
        body[lastHeader - 1] ^= 0x55;  // the Adler-32 check of the packed chunk before
        cases.push_back({"damaged packed data beyond the first block", body, 0, "does not expand"});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        winplat::testing::DebugCapture capture;
        DiskFile file;
        openBody(file, c.body);
        MemReader reader;
        reader.LoadFromMemory("stale", 5);
        const auto length = static_cast<uint32_t>(static_cast<int64_t>(c.body.size()) + c.lengthDelta);
        EXPECT_EQ(reader.LoadFromFile(file, length, kChunked), 0);
        EXPECT_EQ(reader.size(), 0u);
        EXPECT_EQ(reader.data(), nullptr);
        if (c.refusal) {
            EXPECT_TRUE(capture.contains(c.refusal)) << capture.text();
        }
        file.Close();
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_) << "nothing partial is kept";
    }
}

// A packed chunk of no bytes still has its stream checked, as zlib's one-shot call checks it:
// the stream may end having given one byte (into that call's spare byte), not more.
TEST_F(TempFiles, PackedChunksOfNoBytesHaveTheirStreamsChecked) {
    struct Case {
        Bytes packedFrom;
        int loaded;
    };
    const Case cases[] = {{{}, 1}, {{'a'}, 1}, {{'a', 'b'}, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packedFrom.size());
        const Bytes packed = zlibPack(c.packedFrom.data(), c.packedFrom.size());
        Bytes body = {1, 0, 1, 0, 0};
        putU16(body, static_cast<uint32_t>(packed.size()));
        body.insert(body.end(), packed.begin(), packed.end());
        DiskFile file;
        openBody(file, body);
        MemReader reader;
        EXPECT_EQ(reader.LoadFromFile(file, static_cast<uint32_t>(body.size()), kChunked), c.loaded);
        EXPECT_EQ(reader.size(), 0u);
        file.Close();
    }
}

TEST_F(TempFiles, ExpansionSurvivesAFailedGrowth) {
    // Packs tightly, so the first block is far smaller than the whole and must grow.
    const Bytes data(64000 * 5, 'z');
    const Bytes body = chunkedBody(data);
    for (int failing = 1; failing <= 4; ++failing) {
        SCOPED_TRACE(failing);
        DiskFile file;
        openBody(file, body);
        MemReader reader;
        GlobalAllocFailure plan(failing);
        EXPECT_EQ(reader.LoadFromFile(file, static_cast<uint32_t>(body.size()), kChunked), 0);
        EXPECT_EQ(plan.failures(), 1);
        EXPECT_EQ(reader.size(), 0u);
        file.Close();
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_);
    }
}

// ---------------------------------------------------------------- MemReader reading

TEST(MemReader, TypedReadsAreLittleEndian) {
    const Bytes bytes = {0x12, 0x34, 0x56, 0x78, 0xFE, 0xFF, 0xFF, 0xFF, 0xA1, 0xA2, 0xA3, 0x01, 0x02};
    MemReader reader;
    ASSERT_EQ(reader.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size())), 1);
    uint32_t dword = 0;
    int32_t signedLong = 0;
    uint8_t triple[3] = {};
    uint16_t word = 0;
    EXPECT_EQ(reader.ReadDword(dword), 1);
    EXPECT_EQ(dword, 0x78563412u);
    EXPECT_EQ(reader.ReadLong(signedLong), 1);
    EXPECT_EQ(signedLong, -2);
    EXPECT_EQ(reader.ReadTriple(triple), 1);
    EXPECT_EQ(Bytes(triple, triple + 3), (Bytes{0xA1, 0xA2, 0xA3}));
    EXPECT_EQ(reader.ReadWord(word), 1);
    EXPECT_EQ(word, 0x0201);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_FALSE(reader.overrun());
}

TEST(MemReader, ReadsPastTheEndYieldZeroAndStayPut) {
    struct Case {
        const char* what;
        uint32_t width;
        int (*read)(MemReader&, uint32_t& value);  // the value read, widened
    };
    const Case cases[] = {
        {"byte", 1, [](MemReader& r, uint32_t& v) { uint8_t x = 0xEE; int ok = r.ReadByte(x); v = x; return ok; }},
        {"word", 2, [](MemReader& r, uint32_t& v) { uint16_t x = 0xEEEE; int ok = r.ReadWord(x); v = x; return ok; }},
        {"dword", 4, [](MemReader& r, uint32_t& v) { v = 0xEEEEEEEE; return r.ReadDword(v); }},
        {"long", 4, [](MemReader& r, uint32_t& v) { int32_t x = -1; int ok = r.ReadLong(x); v = static_cast<uint32_t>(x); return ok; }},
        {"triple", 3, [](MemReader& r, uint32_t& v) {
             uint8_t x[3] = {0xEE, 0xEE, 0xEE};
             int ok = r.ReadTriple(x);
             v = x[0] | x[1] << 8 | x[2] << 16;
             return ok;
         }},
    };
    const Bytes bytes = {1, 2, 3, 4, 5, 6};
    for (const Case& c : cases) {
        for (uint32_t left = 0; left < c.width; ++left) {
            SCOPED_TRACE(testing::Message() << c.what << " with " << left << " bytes left");
            MemReader reader;
            reader.LoadFromMemory(bytes.data(), 6);
            ASSERT_EQ(reader.Skip(6 - left), 1);
            uint32_t value = 0;
            EXPECT_EQ(c.read(reader, value), 0);
            EXPECT_EQ(value, 0u);
            EXPECT_TRUE(reader.overrun());
            EXPECT_EQ(reader.position(), 6 - left) << "a failed read does not advance";
        }
    }
    MemReader empty;
    uint8_t byte = 0xEE;
    EXPECT_EQ(empty.ReadByte(byte), 0);
    EXPECT_EQ(byte, 0);
    EXPECT_TRUE(empty.overrun());
}

TEST(MemReader, ReadWordLowKeepsTheHighHalf) {
    const Bytes bytes = {0x12, 0x34, 0x56};
    MemReader reader;
    reader.LoadFromMemory(bytes.data(), 3);
    uint32_t target = 0xABCD1111;
    EXPECT_EQ(reader.ReadWordLow(target), 1);
    EXPECT_EQ(target, 0xABCD3412u);
    EXPECT_EQ(reader.ReadWordLow(target), 0) << "one byte left";
    EXPECT_EQ(target, 0xABCD0000u);
    EXPECT_TRUE(reader.overrun());
}

TEST(MemReader, ShortBlockReadsCopyNothing) {
    const Bytes bytes = {'a', 'b', 'c', 'd', 'e'};
    MemReader reader;
    reader.LoadFromMemory(bytes.data(), 5);
    reader.Skip(2);
    uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(reader.ReadBytes(out, 4), 0);
    EXPECT_EQ(Bytes(out, out + 4), Bytes(4, 0xEE));
    EXPECT_TRUE(reader.overrun());
    EXPECT_EQ(reader.position(), 2u);
    EXPECT_EQ(reader.ReadBytesLong(out, 0xFFFFFFFF), 0) << "no wrap-around of the length";
    EXPECT_EQ(Bytes(out, out + 4), Bytes(4, 0xEE));
    EXPECT_EQ(reader.ReadBytes(out, 3), 1);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{'c', 'd', 'e'}));
}

TEST(MemReader, SkipClampsAtTheEnd) {
    const Bytes bytes = {1, 2, 3};
    MemReader reader;
    reader.LoadFromMemory(bytes.data(), 3);
    EXPECT_EQ(reader.Skip(2), 1);
    EXPECT_EQ(reader.position(), 2u);
    EXPECT_FALSE(reader.overrun());
    EXPECT_EQ(reader.Skip(0xFFFFFFFF), 0);
    EXPECT_EQ(reader.position(), 3u);
    EXPECT_TRUE(reader.overrun());
    uint8_t byte = 0xEE;
    EXPECT_EQ(reader.ReadByte(byte), 0) << "nothing was left after the clamped skip";
    EXPECT_EQ(byte, 0);

    reader.LoadFromMemory(bytes.data(), 3);
    EXPECT_EQ(reader.position(), 0u);
    EXPECT_FALSE(reader.overrun()) << "a load starts afresh";
}

}  // namespace
