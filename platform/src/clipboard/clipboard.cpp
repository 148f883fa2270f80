// The process-wide clipboard. Window handles are only compared as owner values: no window
// manager exists to ask about them.
//
// CF_DIB and CF_BITMAP stand in for each other: the one that was not set is made from the other on
// first request and kept (owned by the clipboard) until the data changes.
#include <map>
#include <mutex>
#include <string>

#include "gdi/objects.h"
#include "winplat/base.h"
#include "winplat/clipboard.h"
#include "winplat/gdi.h"
#include "winplat/handles.h"
#include "winplat/host.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace winplat {
namespace {

constexpr DWORD kErrorClipboardNotOpen = 1418;

struct Clipboard {
    std::mutex mutex;
    bool open = false;
    HWND opener = nullptr;
    std::map<UINT, HANDLE> data;
    HANDLE madeBitmap = nullptr;  // from CF_DIB
    HANDLE madeDib = nullptr;     // from CF_BITMAP
};

Clipboard& clipboard() {
    static Clipboard* board = new Clipboard;  // outlives static destructors that may still copy
    return *board;
}

HandleType kindOf(HANDLE data) {
    return handleTypeOf(handleValue(data));
}

// Whether the clipboard knows how to free this handle when its time comes.
bool acceptable(UINT format, HANDLE data) {
    const HandleType kind = kindOf(data);
    if (format == CF_BITMAP) return kind == HandleType::Bitmap && GetObjectA(data, 0, nullptr) != 0;
    if (kind == HandleType::Bitmap || kind == HandleType::Palette) return GetObjectA(data, 0, nullptr) != 0;
    return kind == HandleType::GlobalMemory &&
           !(GlobalFlags(static_cast<HGLOBAL>(data)) & GMEM_INVALID_HANDLE);
}

void release(HANDLE data) {
    if (!data) return;
    const HandleType kind = kindOf(data);
    if (kind == HandleType::Bitmap || kind == HandleType::Palette) {
        if (!DeleteObject(data))
            host::log("winplat: clipboard could not delete a bitmap still selected into a DC\n");
    } else if (GlobalFree(static_cast<HGLOBAL>(data))) {
        host::log("winplat: clipboard could not free its data\n");
    }
}

void dropMade(Clipboard& board) {
    release(board.madeBitmap);
    release(board.madeDib);
    board.madeBitmap = nullptr;
    board.madeDib = nullptr;
}

void releaseAll(Clipboard& board) {
    for (auto& [format, data] : board.data) release(data);
    board.data.clear();
    dropMade(board);
}

HANDLE stored(const Clipboard& board, UINT format) {
    auto found = board.data.find(format);
    return found == board.data.end() ? nullptr : found->second;
}

HANDLE makeBitmapFromDib(HANDLE dib) {
    auto block = static_cast<HGLOBAL>(dib);
    const SIZE_T size = GlobalSize(block);
    const void* data = GlobalLock(block);
    if (!data) return nullptr;
    HBITMAP bitmap = gdi::bitmapFromPackedDib(data, size);
    GlobalUnlock(block);
    return bitmap;
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
        host::log("winplat: SetClipboardData refuses delayed rendering (NULL data)\n");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (format == 0 || !acceptable(format, data)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    for (const auto& [other, held] : board.data) {
        if (held == data && other != format) {  // one handle under two formats would be freed twice
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    if (format == CF_BITMAP || format == CF_DIB) {
        // Whatever was made from the old picture no longer matches; a made handle passed back in
        // becomes ordinary data instead of being freed under the caller.
        if (data == board.madeBitmap) board.madeBitmap = nullptr;
        if (data == board.madeDib) board.madeDib = nullptr;
        dropMade(board);
    }
    HANDLE& slot = board.data[format];
    if (slot != data) release(slot);
    slot = data;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    if (refuseUnlessOpen(board)) return nullptr;
    if (HANDLE data = stored(board, format)) return data;
    if (format == CF_BITMAP) {
        HANDLE dib = stored(board, CF_DIB);
        if (dib && !board.madeBitmap) board.madeBitmap = makeBitmapFromDib(dib);
        return dib ? board.madeBitmap : nullptr;
    }
    if (format == CF_DIB) {
        HANDLE bitmap = stored(board, CF_BITMAP);
        if (bitmap && !board.madeDib) board.madeDib = gdi::packBitmap(static_cast<HBITMAP>(bitmap));
        return bitmap ? board.madeDib : nullptr;
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
