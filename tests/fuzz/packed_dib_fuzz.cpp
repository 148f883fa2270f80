// Packed DIBs (header, masks or colour table, bits in one block) under fuzzing, as a program hands
// one over on the clipboard: each input is put there as CF_DIB, asked for as CF_BITMAP (the layer
// makes a bitmap of it) and taken by the image library as an image (PXLCreateImageFromClipboard).
//
// What must hold for any input: nothing reads outside the block (the sanitizers watch that); a
// bitmap or image that is made has a size; when both are made, it is the same size.
//
// Seeds: the image library's own blocks of new images at every depth, and the layer's CF_DIB of
// bitmaps at every depth (with bit fields at 16 and 32 bits).
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_entry.h"
#include "pixmill/pixmill.h"
#include "winplat/base.h"
#include "winplat/clipboard.h"
#include "winplat/gdi.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// A movable block of exactly the bytes, so a read past them is caught.
HGLOBAL blockOf(const uint8_t* data, size_t size) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return nullptr;
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

// The bitmap the layer makes of the clipboard's DIB: its size, or 0 x 0 when it made none.
SIZE bitmapOfClipboard() {
    const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    if (!bitmap) return {0, 0};
    BITMAP info{};
    check(GetObjectA(bitmap, sizeof info, &info) == static_cast<int>(sizeof info));
    check(info.bmWidth > 0 && info.bmHeight > 0);
    return {info.bmWidth, info.bmHeight};
}

std::vector<uint8_t> bytesOf(HGLOBAL block) {
    std::vector<uint8_t> bytes;
    if (!block) return bytes;
    const auto* data = static_cast<const uint8_t*>(GlobalLock(block));
    if (data) bytes.assign(data, data + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

// The layer's own packed DIB of a bitmap of that depth, as a program reading CF_DIB gets it.
std::vector<uint8_t> layerDib(int bitsPerPixel, DWORD compression) {
    // The header, then the masks (bit fields) or a colour table of grey levels.
    struct {
        BITMAPINFOHEADER header;
        DWORD table[256];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), 7, 5, 1, static_cast<WORD>(bitsPerPixel), compression, 0, 0, 0, 0, 0};
    for (DWORD i = 0; i < 256; ++i) info.table[i] = i * 0x010101u;
    if (compression == BI_BITFIELDS) {
        info.table[0] = bitsPerPixel == 16 ? 0x7C00 : 0xFF0000;
        info.table[1] = bitsPerPixel == 16 ? 0x03E0 : 0x00FF00;
        info.table[2] = bitsPerPixel == 16 ? 0x001F : 0x0000FF;
    }
    void* bits = nullptr;
    const HBITMAP bitmap =
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return {};
    const size_t stride = (static_cast<size_t>(info.header.biWidth) * bitsPerPixel + 31) / 32 * 4;
    std::memset(bits, 0x5A, stride * static_cast<size_t>(info.header.biHeight));
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    std::vector<uint8_t> bytes = bytesOf(static_cast<HGLOBAL>(GetClipboardData(CF_DIB)));
    EmptyClipboard();
    CloseClipboard();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static winplat::testing::DebugCapture quiet;  // the refusals of damaged DIBs
    // A depth or compression the layer does not draw yet is refused as the release build refuses
    // it (the block's data, not a fault).
    static winplat::testing::ScopedDebugAsserts refusedOnly(false);
    quiet.clear();
    if (size == 0) return 0;
    const HGLOBAL block = blockOf(data, size);
    check(OpenClipboard(nullptr) != FALSE);
    EmptyClipboard();
    SIZE made{0, 0};
    if (block && SetClipboardData(CF_DIB, block)) {
        made = bitmapOfClipboard();
    } else if (block) {
        GlobalFree(block);  // the clipboard did not take it
    }
    CloseClipboard();
    if (const PxlImageId image = PXLCreateImageFromClipboard(nullptr)) {
        check(PXLWidth(image) > 0 && PXLHeight(image) > 0);
        if (made.cx) check(PXLWidth(image) == made.cx && PXLHeight(image) == made.cy);
        PXLDeleteImage(image);
    }
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    std::vector<FuzzBytes> seeds;
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        const PxlImageId image = PXLCreateImage(9, 3, depth);
        if (!image) continue;
        const HGLOBAL block = PXLGetGlobalBlock(image);
        seeds.push_back(bytesOf(block));
        GlobalFree(block);
        PXLDeleteImage(image);
    }
    for (int depth : {1, 4, 8, 16, 24, 32}) seeds.push_back(layerDib(depth, BI_RGB));
    for (int depth : {16, 32}) seeds.push_back(layerDib(depth, BI_BITFIELDS));
    return seeds;
}
