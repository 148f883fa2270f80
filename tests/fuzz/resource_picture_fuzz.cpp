// Icons, cursors and bitmaps kept in a module's resources, under fuzzing: each input becomes the
// bytes of a module's RT_ICON, RT_CURSOR and RT_BITMAP 1, loaded with LoadIconA, LoadCursorA and
// LoadBitmapA. What must hold for any input: what makes no picture leaves ERROR_INVALID_DATA;
// an icon or cursor that is made draws, and is shared (DestroyIcon leaves it); a bitmap that is
// made has a size and is deleted.
//
// Seeds: pictures of the cursor tests' writer at every depth, as icons (a bitmap of double
// height) and as cursors (their hot spot before it).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_entry.h"
#include "platform/user/cursor_file_writer.h"
#include "winplat/base.h"
#include "winplat/gdi.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"
#include "winplat/user.h"

namespace {

void check(bool holds) {
    if (!holds) __builtin_trap();
}

void checkIconOrCursor(HICON picture, HDC dc) {
    if (!picture) {
        check(GetLastError() == ERROR_INVALID_DATA);
        return;
    }
    check(DrawIconEx(dc, 0, 0, picture, 0, 0, 0, nullptr, DI_NORMAL) != FALSE);
    check(DrawIconEx(dc, 0, 0, picture, 3, 5, 0, nullptr, DI_MASK) != FALSE);
    check(DestroyIcon(picture) == FALSE);
}

void checkBitmap(HBITMAP bitmap) {
    if (!bitmap) {
        check(GetLastError() == ERROR_INVALID_DATA);
        return;
    }
    BITMAP info{};
    check(GetObjectA(bitmap, sizeof info, &info) == static_cast<int>(sizeof info));
    check(info.bmWidth > 0 && info.bmHeight > 0);
    check(DeleteObject(bitmap) != FALSE);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input, so a read past it is caught.
    const std::vector<uint8_t> bytes(data, data + size);
    const auto length = static_cast<uint32_t>(bytes.size());
    const winplat::BinaryResource table[] = {
        {1, 1, nullptr, bytes.data(), length},  // RT_CURSOR
        {2, 1, nullptr, bytes.data(), length},  // RT_BITMAP
        {3, 1, nullptr, bytes.data(), length},  // RT_ICON
    };
    const winplat::ModuleResources resources{"fuzzed.dll", false, nullptr, 0, table, 3};
    const HINSTANCE module = winplat::registerModule(resources, &resources);
    check(module != nullptr);
    const HDC dc = winplat::testing::createDisplayDc(8, 8, 32);
    checkIconOrCursor(LoadIconA(module, MAKEINTRESOURCEA(1)), dc);
    checkIconOrCursor(LoadCursorA(module, MAKEINTRESOURCEA(1)), dc);
    checkBitmap(LoadBitmapA(module, MAKEINTRESOURCEA(1)));
    DeleteDC(dc);
    winplat::unregisterModule(module);
    return 0;
}

std::vector<FuzzBytes> fuzzSeeds() {
    using cursor_file::plainPicture;
    cursor_file::Picture indexed = plainPicture(9, 7, 4, 1);
    indexed.mask[3] = 1;
    std::vector<FuzzBytes> seeds;
    for (const cursor_file::Picture& picture :
         {plainPicture(16, 16, 1, 1), indexed, plainPicture(8, 8, 8, 0), plainPicture(5, 3, 24, 0x00FF8000u),
          plainPicture(6, 6, 32, 0x80FF0000u)}) {
        const FuzzBytes bitmap = cursor_file::bitmapOf(picture);
        seeds.push_back(bitmap);
        FuzzBytes cursor;
        cursor_file::put16(cursor, static_cast<unsigned>(picture.width - 1));  // the hot spot
        cursor_file::put16(cursor, static_cast<unsigned>(picture.height - 1));
        cursor.insert(cursor.end(), bitmap.begin(), bitmap.end());
        seeds.push_back(cursor);
    }
    return seeds;
}
