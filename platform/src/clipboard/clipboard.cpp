// The process-wide clipboard. Window handles are only compared as owner values: no window
// manager exists to ask about them.
//
// CF_DIB and CF_BITMAP stand in for each other: the one that was not set is made from the other on
// first request and kept (owned by the clipboard) until the data changes.
#include <map>
#include <mutex>
#include <string>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "winplat/base.h"
#include "winplat/clipboard.h"
#include "winplat/gdi.h"
#include "winplat/handles.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/testing.h"

namespace winplat {
namespace {

constexpr DWORD kErrorClipboardNotOpen = 1418;

HandleType kindOf(HANDLE data) {
    return handleTypeOf(handleValue(data));
}

// Frees what the clipboard holds the way its kind is freed: GDI objects and global blocks.
void releaseData(HANDLE data) {
    constexpr Refuser refuse("winplat: clipboard");
    const HandleType kind = kindOf(data);
    if (kind == HandleType::Bitmap || kind == HandleType::Palette) {
        if (!DeleteObject(data)) refuse.log("deleting a bitmap still selected into a DC: it stays");
    } else if (GlobalFree(static_cast<HGLOBAL>(data))) {
        refuse.log("freeing its data, which was not a live global block");
    }
}

// Data the clipboard owns, of any kind it takes.
using ClipboardData = UniqueHandle<HANDLE, releaseData>;

struct Clipboard {
    std::mutex mutex;
    bool open = false;
    HWND opener = nullptr;
    std::map<UINT, ClipboardData> data;
    ClipboardData madeBitmap;  // from CF_DIB
    ClipboardData madeDib;     // from CF_BITMAP
};

Clipboard& clipboard() {
    static Clipboard* board = new Clipboard;  // outlives static destructors that may still copy
    return *board;
}

// Whether the clipboard knows how to free this handle when its time comes.
bool acceptable(UINT format, HANDLE data) {
    const HandleType kind = kindOf(data);
    if (format == CF_BITMAP) return kind == HandleType::Bitmap && GetObjectA(data, 0, nullptr) != 0;
    if (kind == HandleType::Bitmap || kind == HandleType::Palette) return GetObjectA(data, 0, nullptr) != 0;
    return kind == HandleType::GlobalMemory &&
           !(GlobalFlags(static_cast<HGLOBAL>(data)) & GMEM_INVALID_HANDLE);
}

void dropMade(Clipboard& board) {
    board.madeBitmap.reset();
    board.madeDib.reset();
}

void releaseAll(Clipboard& board) {
    board.data.clear();
    dropMade(board);
}

HANDLE stored(const Clipboard& board, UINT format) {
    auto found = board.data.find(format);
    return found == board.data.end() ? nullptr : found->second.get();
}

HANDLE makeBitmapFromDib(HANDLE dib) {
    auto block = static_cast<HGLOBAL>(dib);
    const GlobalPin pin(block);
    constexpr CallRefuser refuse("winplat: clipboard DIB");
    return pin ? gdi::bitmapFromPackedDib(pin.data(), GlobalSize(block), refuse) : nullptr;
}

bool refuseUnlessOpen(const Clipboard& board) {
    if (board.open) return false;
    SetLastError(kErrorClipboardNotOpen);
    return true;
}

}  // namespace
}  // namespace winplat

using namespace winplat;

BOOL OpenClipboard(HWND owner) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (board.open && board.opener != owner) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    board.open = true;
    board.opener = owner;
    return TRUE;
}

BOOL CloseClipboard(void) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (refuseUnlessOpen(board)) return FALSE;
    board.open = false;
    board.opener = nullptr;
    return TRUE;
}

BOOL EmptyClipboard(void) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (refuseUnlessOpen(board)) return FALSE;
    releaseAll(board);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (refuseUnlessOpen(board)) return nullptr;
    if (!data) {
        constexpr CallRefuser refuse("winplat: SetClipboardData");
        return refuse.unsupported(nullptr, "delayed rendering (NULL data)");
    }
    if (format == 0 || !acceptable(format, data)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    for (const auto& [other, held] : board.data) {
        if (held.get() == data && other != format) {  // one handle under two formats would be freed twice
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    if (format == CF_BITMAP || format == CF_DIB) {
        // Whatever was made from the old picture no longer matches; a made handle passed back in
        // becomes ordinary data instead of being freed under the caller.
        if (data == board.madeBitmap.get()) (void)board.madeBitmap.release();
        if (data == board.madeDib.get()) (void)board.madeDib.release();
        dropMade(board);
    }
    ClipboardData& slot = board.data[format];
    if (slot.get() != data) slot.reset(data);
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (refuseUnlessOpen(board)) return nullptr;
    if (HANDLE data = stored(board, format)) return data;
    if (format == CF_BITMAP) {
        HANDLE dib = stored(board, CF_DIB);
        if (dib && !board.madeBitmap) board.madeBitmap.reset(makeBitmapFromDib(dib));
        return dib ? board.madeBitmap.get() : nullptr;
    }
    if (format == CF_DIB) {
        HANDLE bitmap = stored(board, CF_BITMAP);
        if (bitmap && !board.madeDib) board.madeDib.reset(gdi::packBitmap(static_cast<HBITMAP>(bitmap)));
        return bitmap ? board.madeDib.get() : nullptr;
    }
    return nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (stored(board, format)) return TRUE;
    if (format == CF_BITMAP) return stored(board, CF_DIB) ? TRUE : FALSE;
    if (format == CF_DIB) return stored(board, CF_BITMAP) ? TRUE : FALSE;
    return FALSE;
}

namespace winplat::testing {

void resetClipboard() {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    releaseAll(board);
    board.open = false;
    board.opener = nullptr;
}

}  // namespace winplat::testing
