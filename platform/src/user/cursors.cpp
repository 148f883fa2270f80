#include "user/cursors.h"

#include <map>
#include <utility>
#include <string>

#include "base/call_refusal.h"
#include "user/cursor_shapes.h"
#include "user/input_state.h"
#include "user/module_pictures.h"
#include "user/window.h"

namespace winplat::user {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// One pixel of the art: its mask bit and colour.
void paintPixel(CursorObject& cursor, size_t at, char art) {
    cursor.andMask[at] = (art == '#' || art == 'o') ? 0 : 1;
    cursor.xorColour[at] = (art == 'o' || art == '~') ? kWhite : kBlack;
}

std::shared_ptr<CursorObject> fromArt(const CursorArt& art) {
    auto cursor = std::make_shared<CursorObject>();
    cursor->width = kCursorSize;
    cursor->height = kCursorSize;
    cursor->hotSpot = art.hotSpot;
    cursor->shared = true;
    cursor->andMask.assign(kCursorSize * kCursorSize, 1);
    cursor->xorColour.assign(kCursorSize * kCursorSize, kBlack);
    for (size_t y = 0; y < art.rows.size() && art.rows[y]; ++y) {
        const std::string_view row = art.rows[y];
        for (size_t x = 0; x < row.size() && x < kCursorSize; ++x) paintPixel(*cursor, y * kCursorSize + x, row[x]);
    }
    return cursor;
}

bool isIntegerName(LPCSTR name) { return reinterpret_cast<ULONG_PTR>(name) < 0x10000; }

// Bit 'x' of a monochrome row (most significant bit first).
bool planeBit(const BYTE* plane, size_t rowBytes, int x, int y) {
    const BYTE byte = plane[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) / 8];
    return ((byte >> (7 - x % 8)) & 1) != 0;
}

}  // namespace

std::shared_ptr<CursorObject> findCursor(HCURSOR cursor) {
    if (!cursor) return nullptr;
    const DWORD saved = GetLastError();
    auto object = handleTable().getAs<CursorObject>(handleValue(cursor), HandleType::Cursor);
    SetLastError(saved);
    return object;
}

HCURSOR systemCursor(WORD id) {
    // Made once and never released: the handle table keeps them for the process.
    static const std::map<WORD, HCURSOR> cursors = [] {
        std::map<WORD, HCURSOR> made;
        for (const CursorArt& art : systemCursorArt()) made[art.id] = addCursor(fromArt(art));
        return made;
    }();
    const auto found = cursors.find(id);
    return found != cursors.end() ? found->second : nullptr;
}

HCURSOR addCursor(std::shared_ptr<CursorObject> cursor) {
    return makeHandle<HCURSOR>(handleTable().add(HandleType::Cursor, std::move(cursor)));
}

bool destroyCursorObject(HCURSOR cursor, const CallRefuser& refuse) {
    const auto object = findCursor(cursor);
    if (!object) return refuse(false, "not a cursor or icon handle");
    if (object->shared) return refuse(false, "a system or resource picture is shared and stays");
    if (inputState().cursorShape == cursor) inputState().cursorShape = nullptr;
    handleTable().remove(handleValue(cursor), HandleType::Cursor);
    return true;
}

}  // namespace winplat::user

using namespace winplat;
using namespace winplat::user;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    constexpr CallRefuser refuse("winplat: LoadCursorA", ERROR_RESOURCE_NAME_NOT_FOUND);
    if (!name) return refuse(HCURSOR{}, "no cursor name");
    if (instance) return sharedModulePicture(instance, name, PictureKind::Cursor, refuse);
    if (!isIntegerName(name)) return refuse(HCURSOR{}, "a system cursor is named by its IDC_ number");
    const auto id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    if (const HCURSOR cursor = systemCursor(id)) return cursor;
    return refuse(HCURSOR{}, "no system cursor " + std::to_string(id));
}

HCURSOR CreateCursor(HINSTANCE, int hotX, int hotY, int width, int height, const void* andPlane, const void* xorPlane) {
    constexpr CallRefuser refuse("winplat: CreateCursor");
    if (!andPlane || !xorPlane) return refuse(HCURSOR{}, "no mask planes");
    if (width < 1 || height < 1 || width > 256 || height > 256) return refuse(HCURSOR{}, "a cursor is 1 to 256 pixels a side");
    if (hotX < 0 || hotY < 0 || hotX >= width || hotY >= height) return refuse(HCURSOR{}, "the hot spot lies outside the cursor");
    // Monochrome planes: rows of whole 16-bit words, most significant bit first.
    const size_t rowBytes = static_cast<size_t>((width + 15) / 16 * 2);
    auto cursor = std::make_shared<CursorObject>();
    cursor->width = width;
    cursor->height = height;
    cursor->hotSpot = {hotX, hotY};
    cursor->andMask.resize(static_cast<size_t>(width * height));
    cursor->xorColour.resize(static_cast<size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto at = static_cast<size_t>(y * width + x);
            cursor->andMask[at] = planeBit(static_cast<const BYTE*>(andPlane), rowBytes, x, y) ? 1 : 0;
            cursor->xorColour[at] = planeBit(static_cast<const BYTE*>(xorPlane), rowBytes, x, y) ? kWhite : kBlack;
        }
    }
    const HCURSOR handle = addCursor(std::move(cursor));
    if (!handle) return refuse(HCURSOR{}, "the handle table is full");
    return handle;
}

BOOL DestroyCursor(HCURSOR cursor) {
    constexpr CallRefuser refuse("winplat: DestroyCursor", ERROR_INVALID_HANDLE);
    return destroyCursorObject(cursor, refuse) ? TRUE : FALSE;
}

HCURSOR SetCursor(HCURSOR cursor) {
    constexpr CallRefuser refuse("winplat: SetCursor", ERROR_INVALID_HANDLE);
    if (!uiThreadCall(refuse)) return nullptr;
    if (cursor && !findCursor(cursor)) return refuse(HCURSOR{}, "not a cursor handle");
    return std::exchange(inputState().cursorShape, cursor);
}

HCURSOR GetCursor(void) { return findCursor(inputState().cursorShape) ? inputState().cursorShape : nullptr; }

int ShowCursor(BOOL show) {
    int& count = inputState().cursorShowCount;
    count += show ? 1 : -1;
    return count;
}
