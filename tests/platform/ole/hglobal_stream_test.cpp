#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "winplat/memory.h"
#include "winplat/ole.h"
#include "winplat/testing.h"

namespace {

using winplat::testing::GlobalAllocFailure;
using winplat::testing::liveGlobalBlocks;

constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

LARGE_INTEGER moveBy(int64_t value) {
    LARGE_INTEGER result;
    result.QuadPart = value;
    return result;
}

ULARGE_INTEGER sizeOf(uint64_t value) {
    ULARGE_INTEGER result;
    result.QuadPart = value;
    return result;
}

uint64_t streamSize(IStream* stream) {
    STATSTG stat{};
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    return stat.cbSize.QuadPart;
}

uint64_t position(IStream* stream) {
    ULARGE_INTEGER at{};
    EXPECT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_CUR, &at), S_OK);
    return at.QuadPart;
}

// Everything in the stream, read from the start; leaves the position at the end.
std::string contents(IStream* stream) {
    std::string bytes(streamSize(stream), '\0');
    EXPECT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_SET, nullptr), S_OK);
    ULONG read = 0;
    EXPECT_EQ(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), S_OK);
    EXPECT_EQ(read, bytes.size());
    return bytes;
}

void write(IStream* stream, const std::string& bytes) {
    ULONG written = 0;
    ASSERT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written), S_OK);
    ASSERT_EQ(written, bytes.size());
}

std::string blockContents(HGLOBAL block) {
    const SIZE_T size = GlobalSize(block);
    if (size == 0) return {};
    std::string bytes(static_cast<const char*>(GlobalLock(block)), size);
    GlobalUnlock(block);
    return bytes;
}

HGLOBAL blockHolding(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

// Every test must leave as many global blocks alive as it found.
class HGlobalStream : public ::testing::Test {
protected:
    void SetUp() override { blocksBefore_ = liveGlobalBlocks(); }
    void TearDown() override { EXPECT_EQ(liveGlobalBlocks(), blocksBefore_) << "global blocks leaked"; }

    IStream* newStream() {
        IStream* stream = nullptr;
        EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
        return stream;
    }

    size_t blocksBefore_ = 0;
};

TEST_F(HGlobalStream, WritesInPiecesReadBackAcrossGrowth) {
    IStream* stream = newStream();
    ASSERT_TRUE(stream);
    EXPECT_EQ(streamSize(stream), 0u);

    std::string pattern(10000, '\0');
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 7 + i / 251);
    for (size_t at = 0, piece = 1; at < pattern.size(); at += piece, piece = piece % 97 + 13) {
        write(stream, pattern.substr(at, piece));
    }
    EXPECT_EQ(position(stream), pattern.size());

    STATSTG stat;
    std::memset(&stat, 0x5A, sizeof stat);
    ASSERT_EQ(stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
    EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
    EXPECT_EQ(stat.cbSize.QuadPart, pattern.size());
    EXPECT_EQ(stat.pwcsName, nullptr);

    ASSERT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_SET, nullptr), S_OK);
    std::string back;
    for (ULONG piece = 5;; piece = piece * 3 % 1000 + 1) {
        std::string chunk(piece, '\0');
        ULONG read = 0;
        ASSERT_EQ(stream->Read(chunk.data(), piece, &read), S_OK);
        if (read == 0) break;
        back += chunk.substr(0, read);
    }
    EXPECT_EQ(back, pattern);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST_F(HGlobalStream, CallerBlockStartsAtItsSizeAndSurvivesTheStream) {
    HGLOBAL block = blockHolding("abcdef");
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
    EXPECT_EQ(streamSize(stream), 6u);
    EXPECT_EQ(position(stream), 0u);

    char buffer[16] = {};
    ULONG read = 99;
    ASSERT_EQ(stream->Read(buffer, 4, &read), S_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");

    read = 99;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK) << "a short read is still a success";
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");

    read = 99;
    ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK) << "reading at the end";
    EXPECT_EQ(read, 0u);

    ASSERT_EQ(stream->Seek(moveBy(1), STREAM_SEEK_SET, nullptr), S_OK);
    ASSERT_EQ(stream->Read(buffer, 3, nullptr), S_OK) << "the count pointer may be null";
    EXPECT_EQ(std::string(buffer, 3), "bcd");
    EXPECT_EQ(position(stream), 4u);

    ASSERT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_END, nullptr), S_OK);
    write(stream, "XYZ");
    EXPECT_EQ(stream->Release(), 0u);

    ASSERT_EQ(GlobalFlags(block) & GMEM_INVALID_HANDLE, 0u) << "not the stream's to free";
    EXPECT_EQ(blockContents(block), "abcdefXYZ") << "the block holds the stream's bytes and no more";
    GlobalFree(block);
}

TEST_F(HGlobalStream, ReadingFarBeyondTheEndGivesNothing) {
    IStream* stream = newStream();
    write(stream, "abc");
    ASSERT_EQ(stream->Seek(moveBy(int64_t{1} << 40), STREAM_SEEK_SET, nullptr), S_OK);
    char buffer[4];
    ULONG read = 99;
    EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(read, 0u);
    stream->Release();
}

TEST_F(HGlobalStream, BlockFromStreamHoldsExactlyTheStream) {
    IStream* stream = newStream();
    const std::string first(1000, 'a');
    write(stream, first);
    write(stream, "b");  // makes the block grow past what the stream needs

    HGLOBAL block = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
    ASSERT_TRUE(block);
    EXPECT_EQ(blockContents(block), first + "b");

    write(stream, "cd");
    EXPECT_EQ(contents(stream), first + "bcd") << "the stream goes on after handing out its block";
    HGLOBAL again = nullptr;
    ASSERT_EQ(GetHGlobalFromStream(stream, &again), S_OK);
    EXPECT_EQ(again, block);
    EXPECT_EQ(GlobalSize(block), first.size() + 3);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST_F(HGlobalStream, SeekTable) {
    struct Case {
        const char* name;
        DWORD origin;
        int64_t move;
        HRESULT result;
        uint64_t position;  // where the stream is afterwards; every case starts at 4 of 10 bytes
    };
    const Case cases[] = {
        {"set", STREAM_SEEK_SET, 3, S_OK, 3},
        {"set to start", STREAM_SEEK_SET, 0, S_OK, 0},
        {"set before start", STREAM_SEEK_SET, -1, STG_E_INVALIDFUNCTION, 4},
        {"set beyond end", STREAM_SEEK_SET, int64_t{1} << 40, S_OK, uint64_t{1} << 40},
        {"cur forward", STREAM_SEEK_CUR, 2, S_OK, 6},
        {"cur back to start", STREAM_SEEK_CUR, -4, S_OK, 0},
        {"cur before start", STREAM_SEEK_CUR, -5, STG_E_INVALIDFUNCTION, 4},
        {"cur far before start", STREAM_SEEK_CUR, INT64_MIN, STG_E_INVALIDFUNCTION, 4},
        {"cur past the largest position", STREAM_SEEK_CUR, INT64_MAX, STG_E_INVALIDFUNCTION, 4},
        {"end", STREAM_SEEK_END, 0, S_OK, 10},
        {"end back to start", STREAM_SEEK_END, -10, S_OK, 0},
        {"end before start", STREAM_SEEK_END, -11, STG_E_INVALIDFUNCTION, 4},
        {"end beyond", STREAM_SEEK_END, 5, S_OK, 15},
        {"unknown origin", 3, 0, STG_E_INVALIDFUNCTION, 4},
    };
    IStream* stream = newStream();
    write(stream, "0123456789");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(stream->Seek(moveBy(4), STREAM_SEEK_SET, nullptr), S_OK);
        ULARGE_INTEGER reported = sizeOf(12345);
        EXPECT_EQ(stream->Seek(moveBy(c.move), c.origin, &reported), c.result);
        if (c.result == S_OK) {
            EXPECT_EQ(reported.QuadPart, c.position);
        }
        EXPECT_EQ(position(stream), c.position);
    }
    EXPECT_EQ(streamSize(stream), 10u) << "seeking never changes the size";
    stream->Release();
}

TEST_F(HGlobalStream, HolesReadAsZeros) {
    struct Case {
        const char* name;
        std::function<void(IStream*)> makeHole;
        std::string expected;
    };
    const std::string dirt(64, '\xEE');
    const Case cases[] = {
        {"write past the end of fresh memory",
         [](IStream* s) {
             write(s, "a");
             ASSERT_EQ(s->Seek(moveBy(50), STREAM_SEEK_SET, nullptr), S_OK);
             write(s, "b");
         },
         "a" + std::string(49, '\0') + "b"},
        {"write past an end cut back over old bytes",
         [&](IStream* s) {
             write(s, dirt);
             ASSERT_EQ(s->SetSize(sizeOf(4)), S_OK);
             ASSERT_EQ(s->Seek(moveBy(40), STREAM_SEEK_SET, nullptr), S_OK);
             write(s, "Q");
         },
         dirt.substr(0, 4) + std::string(36, '\0') + "Q"},
        {"size grown over old bytes",
         [&](IStream* s) {
             write(s, dirt);
             ASSERT_EQ(s->SetSize(sizeOf(4)), S_OK);
             ASSERT_EQ(s->SetSize(sizeOf(64)), S_OK);
         },
         dirt.substr(0, 4) + std::string(60, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IStream* stream = newStream();
        c.makeHole(stream);
        EXPECT_EQ(contents(stream), c.expected);
        stream->Release();
    }
}

TEST_F(HGlobalStream, SetSizeShrinksWithoutMovingThePosition) {
    IStream* stream = newStream();
    write(stream, "abcdefgh");
    ASSERT_EQ(stream->SetSize(sizeOf(3)), S_OK);
    EXPECT_EQ(streamSize(stream), 3u);
    EXPECT_EQ(position(stream), 8u);
    char buffer[8];
    ULONG read = 99;
    EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(contents(stream), "abc");

    ASSERT_EQ(stream->SetSize(sizeOf(0)), S_OK);
    EXPECT_EQ(contents(stream), "");
    write(stream, "again");
    EXPECT_EQ(contents(stream), "again") << "an emptied stream still grows";
    stream->Release();
}

TEST_F(HGlobalStream, CuttingBackLeavesTheOwnersLockedPointerGood) {
    HGLOBAL block = blockHolding("abcdefgh");
    auto* locked = static_cast<const char*>(GlobalLock(block));
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
    ASSERT_EQ(stream->SetSize(sizeOf(4)), S_OK);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(GlobalSize(block), 4u);
    EXPECT_EQ(std::string(locked, 4), "abcd");
    EXPECT_EQ(GlobalLock(block), locked);
    GlobalUnlock(block);
    GlobalUnlock(block);
    GlobalFree(block);
}

TEST_F(HGlobalStream, GrowthRefusedMeansMediumFullAndNothingWritten) {
    IStream* stream = newStream();
    {
        GlobalAllocFailure refuseAll(1, 1000);
        ULONG written = 77;
        EXPECT_EQ(stream->Write("hello", 5, &written), STG_E_MEDIUMFULL);
        EXPECT_EQ(written, 0u);
        EXPECT_GT(refuseAll.failures(), 0);
    }
    EXPECT_EQ(streamSize(stream), 0u);
    EXPECT_EQ(position(stream), 0u);

    write(stream, "0123456789");
    ASSERT_EQ(stream->Seek(moveBy(5), STREAM_SEEK_SET, nullptr), S_OK);
    {
        GlobalAllocFailure refuseAll(1, 1000);
        const std::string tooLong(20, 'x');
        ULONG written = 77;
        EXPECT_EQ(stream->Write(tooLong.data(), 20, &written), STG_E_MEDIUMFULL);
        EXPECT_EQ(written, 0u);
        EXPECT_EQ(position(stream), 5u);
        EXPECT_EQ(stream->SetSize(sizeOf(1000)), STG_E_MEDIUMFULL);
        EXPECT_EQ(streamSize(stream), 10u);

        const int refusedSoFar = refuseAll.failures();
        write(stream, "abc");
        EXPECT_EQ(refuseAll.failures(), refusedSoFar) << "a write that fits in the block needs no memory";
    }
    EXPECT_EQ(contents(stream), "01234abc89");
    stream->Release();
}

TEST_F(HGlobalStream, GrowthSettlesForExactlyWhatIsNeeded) {
    HGLOBAL block = blockHolding(std::string(100, 'a'));
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
    ASSERT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_END, nullptr), S_OK);
    {
        GlobalAllocFailure refuseFirst(1);
        write(stream, "b");
        EXPECT_EQ(refuseFirst.failures(), 1) << "the generous growth was asked for first";
    }
    EXPECT_EQ(contents(stream), std::string(100, 'a') + "b");
    stream->Release();
}

TEST_F(HGlobalStream, NoStreamReachesPastTheLargestBlock) {
    IStream* stream = newStream();
    ASSERT_EQ(stream->Seek(moveBy(0x7FFFFFFF), STREAM_SEEK_SET, nullptr), S_OK);
    ULONG written = 77;
    EXPECT_EQ(stream->Write("x", 1, &written), STG_E_MEDIUMFULL);
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(stream->SetSize(sizeOf(0x80000000)), STG_E_MEDIUMFULL);
    EXPECT_EQ(streamSize(stream), 0u);
    stream->Release();
}

TEST_F(HGlobalStream, ReferenceCountsDecideWhenTheBlockGoes) {
    for (BOOL deleteOnRelease : {TRUE, FALSE}) {
        SCOPED_TRACE(deleteOnRelease ? "deleteOnRelease" : "caller keeps the block");
        IStream* stream = nullptr;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, deleteOnRelease, &stream), S_OK);
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_ + 1);
        write(stream, "kept");
        HGLOBAL block = nullptr;
        ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);

        EXPECT_EQ(stream->AddRef(), 2u);
        EXPECT_EQ(stream->AddRef(), 3u);
        EXPECT_EQ(stream->Release(), 2u);
        EXPECT_EQ(stream->Release(), 1u);
        EXPECT_EQ(liveGlobalBlocks(), blocksBefore_ + 1) << "alive while referenced";
        EXPECT_EQ(stream->Release(), 0u);

        if (deleteOnRelease) {
            EXPECT_EQ(liveGlobalBlocks(), blocksBefore_);
        } else {
            EXPECT_EQ(liveGlobalBlocks(), blocksBefore_ + 1);
            EXPECT_EQ(blockContents(block), "kept");
            GlobalFree(block);
        }
    }
}

TEST_F(HGlobalStream, QueryInterfaceAnswersUnknownAndStreamOnly) {
    IID otherData1 = kIidStream;
    otherData1.Data1 = 0x0000000B;
    IID otherData2 = kIidStream;
    otherData2.Data2 = 1;
    IID otherData4 = kIidStream;
    otherData4.Data4[7] = 0x47;
    struct Case {
        const char* name;
        IID iid;
        HRESULT result;
    };
    const Case cases[] = {
        {"IUnknown", kIidUnknown, S_OK},
        {"IStream", kIidStream, S_OK},
        {"other first field", otherData1, E_NOINTERFACE},
        {"other second field", otherData2, E_NOINTERFACE},
        {"other last byte", otherData4, E_NOINTERFACE},
    };
    IStream* stream = newStream();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        void* object = &object;
        EXPECT_EQ(stream->QueryInterface(c.iid, &object), c.result);
        if (c.result == S_OK) {
            EXPECT_EQ(object, static_cast<void*>(stream));
            EXPECT_EQ(stream->Release(), 1u) << "the answer carried a reference";
        } else {
            EXPECT_EQ(object, nullptr);
            EXPECT_EQ(stream->AddRef(), 2u) << "a refusal carried no reference";
            stream->Release();
        }
    }
    EXPECT_EQ(stream->QueryInterface(kIidStream, nullptr), E_POINTER);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST_F(HGlobalStream, SlotsItDoesNotSupport) {
    IStream* stream = newStream();
    IStream* target = newStream();
    write(stream, "data");
    ULARGE_INTEGER read = sizeOf(9), written = sizeOf(9);
    EXPECT_EQ(stream->CopyTo(target, sizeOf(4), &read, &written), E_NOTIMPL);
    EXPECT_EQ(read.QuadPart, 0u);
    EXPECT_EQ(written.QuadPart, 0u);
    EXPECT_EQ(streamSize(target), 0u);
    EXPECT_EQ(stream->Commit(0), S_OK) << "a memory stream has nothing to commit";
    EXPECT_EQ(stream->Revert(), E_NOTIMPL);
    EXPECT_EQ(stream->LockRegion(sizeOf(0), sizeOf(1), 0), E_NOTIMPL);
    EXPECT_EQ(stream->UnlockRegion(sizeOf(0), sizeOf(1), 0), E_NOTIMPL);
    IStream* clone = stream;
    EXPECT_EQ(stream->Clone(&clone), E_NOTIMPL);
    EXPECT_EQ(clone, nullptr);
    EXPECT_EQ(contents(stream), "data");
    target->Release();
    stream->Release();
}

// Stands for a stream some other code made.
struct ForeignStream final : IStream {
    HRESULT QueryInterface(const IID&, void**) override { return E_NOTIMPL; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT Write(const void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT Commit(DWORD) override { return E_NOTIMPL; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT Clone(IStream**) override { return E_NOTIMPL; }
};

TEST_F(HGlobalStream, BadArguments) {
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);

    ForeignStream foreign;
    HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 4);
    GlobalFree(freed);
    IStream* stream = &foreign;
    EXPECT_EQ(CreateStreamOnHGlobal(freed, TRUE, &stream), E_INVALIDARG) << "not a live block";
    EXPECT_EQ(stream, nullptr);

    HGLOBAL block = freed;
    EXPECT_EQ(GetHGlobalFromStream(&foreign, &block), E_INVALIDARG);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(GetHGlobalFromStream(nullptr, &block), E_INVALIDARG);

    stream = newStream();
    EXPECT_EQ(GetHGlobalFromStream(stream, nullptr), E_INVALIDARG);
    ULONG count = 77;
    EXPECT_EQ(stream->Write(nullptr, 3, &count), STG_E_INVALIDPOINTER);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(streamSize(stream), 0u);
    write(stream, "abc");
    ASSERT_EQ(stream->Seek(moveBy(0), STREAM_SEEK_SET, nullptr), S_OK);
    count = 77;
    EXPECT_EQ(stream->Read(nullptr, 3, &count), STG_E_INVALIDPOINTER);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(position(stream), 0u);
    EXPECT_EQ(stream->Stat(nullptr, STATFLAG_NONAME), STG_E_INVALIDPOINTER);
    stream->Release();
}

}  // namespace
