// How the layer's calls refuse: the line in the debug output, the error left for GetLastError, and
// which refusals are unsupported requests (a debug assertion) and which are refusals of data or
// state (never one).
#include "base/call_refusal.h"

#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "../gdi/dib_helpers.h"
#include "winplat/clipboard.h"
#include "winplat/draw.h"
#include "winplat/files.h"
#include "winplat/gdi.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/testing.h"

namespace {

constexpr winplat::CallRefuser refuse("winplat-test: Call");
constexpr winplat::CallRefuser refuseMissing("winplat-test: Find", ERROR_PATH_NOT_FOUND);

constexpr int kRefusingLine = __LINE__ + 1;
HANDLE refuseAHandle() { return refuse(HANDLE{}, "a bad handle"); }

TEST(CallRefusal, LogsWhoWhyAndWhereAndLeavesTheCallsError) {
    winplat::testing::DebugCapture capture;
    SetLastError(0);
    EXPECT_EQ(refuseAHandle(), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(capture.text(), "winplat-test: Call: refused: a bad handle [call_refusal_test.cpp:" +
                                  std::to_string(kRefusingLine) + "]\n");

    EXPECT_EQ(refuseMissing(0, "no such drive"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    SetLastError(0);
    refuse.log("going on without it");
    EXPECT_EQ(GetLastError(), 0u) << "a logged refusal leaves the error alone";
    EXPECT_TRUE(capture.contains("winplat-test: Call: refused: going on without it"));
}

TEST(CallRefusal, UnsupportedIsLoggedWithTheErrorWhileAssertsAreOff) {
    winplat::testing::ScopedDebugAsserts off(false);
    winplat::testing::DebugCapture capture;
    SetLastError(0);
    EXPECT_EQ(refuseMissing.unsupported(-1, "mode 7"), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(capture.contains("winplat-test: Find: refused: mode 7"));
}

// Flags, styles and modes the layer does not support: each trips the assertion.
TEST(CallRefusalDeathTest, UnsupportedRequestsOfTheCallsTripTheAssertion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const dibtest::DibInfo info = dibtest::makeInfo(4, 4, 8);
    const dibtest::DibInfo rle = dibtest::makeInfo(4, 4, 8, BI_RLE8);
    const uint8_t bits[64] = {};
    const struct {
        const char* message;
        std::function<void()> call;
    } cases[] = {
        {"CreatePen: refused: style 99", [] { CreatePen(99, 1, 0); }},
        {"CreateHatchBrush: refused: hatch style 6", [] { CreateHatchBrush(6, 0); }},
        {"SetROP2: refused: mode 17", [] { SetROP2(CreateCompatibleDC(nullptr), 17); }},
        {"GlobalAlloc: refused: flags 65536", [] { GlobalAlloc(0x10000, 8); }},
        {"CreateDIBSection: refused: DIB_PAL_COLORS",
         [&] {
             void* out = nullptr;
             CreateDIBSection(nullptr, info.info(), DIB_PAL_COLORS, &out, nullptr, 0);
         }},
        {"SetDIBitsToDevice: refused: DIB compression 1",
         [&] { SetDIBitsToDevice(CreateCompatibleDC(nullptr), 0, 0, 4, 4, 0, 0, 0, 4, bits, rle.info(), 0); }},
        {"MoveFileExA: refused: flags 16", [] { MoveFileExA("C:\\a", "C:\\b", 0x10); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_DEATH(
            {
                winplat::testing::ScopedDebugAsserts on(true);
                c.call();
            },
            std::string("unsupported request: winplat: ") + c.message);
    }
}

// What a caller's data or the state of an object makes impossible is refused, asserts or not.
TEST(CallRefusal, RefusalsOfDataAndStateNeverAssert) {
    winplat::testing::ScopedDebugAsserts on(true);
    winplat::testing::DebugCapture capture;
    winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    EXPECT_FALSE(Rectangle(dc.get(), 0, 0, 1 << 28, 4));
    EXPECT_TRUE(capture.contains("winplat: Rectangle: refused: coordinates beyond 2^27"));

    dibtest::DibInfo damaged = dibtest::makeInfo(4, 4, 7);
    void* out = nullptr;
    EXPECT_EQ(CreateDIBSection(nullptr, damaged.info(), DIB_RGB_COLORS, &out, nullptr, 0), nullptr);
    EXPECT_TRUE(capture.contains("winplat: CreateDIBSection: refused: a damaged DIB header"));

    EXPECT_EQ(GetFileAttributesA("\\\\server\\share\\x.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(capture.contains("network path"));

    // A DIB on the clipboard is data: one the layer cannot read gives no bitmap, and no assertion.
    const dibtest::DibInfo rle = dibtest::makeInfo(4, 4, 8, BI_RLE8);
    winplat::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, sizeof rle.header + 64));
    {
        const winplat::GlobalPin pin(block.get());
        ASSERT_TRUE(pin);
        std::memcpy(pin.data(), &rle.header, sizeof rle.header);
    }
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_EQ(SetClipboardData(CF_DIB, block.get()), block.get());
    (void)block.release();  // the clipboard's now
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    EXPECT_TRUE(capture.contains("winplat: clipboard DIB: refused: DIB compression 1 at 8 bits per pixel"));
    winplat::testing::resetClipboard();
}

}  // namespace
