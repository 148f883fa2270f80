// The process-wide clipboard. The opener is only compared as a value; the owner (the opener that
// emptied it) is told with WM_DESTROYCLIPBOARD when its data goes, if it is a window.
//
// CF_DIB and CF_BITMAP stand in for each other: the one that was not set is made from the other on
// first request and kept (owned by the clipboard) until the data changes.
//
// On a desktop (a host installed its DesktopClipboard), CF_TEXT is shared with the desktop's
// programs: a close after a change offers our text; an open, or a look for text while it is
// closed, takes the desktop's text in when it differs from what last went either way (someone
// copied elsewhere). That text then replaces all we held, as another program's EmptyClipboard
// would: the owner is told and none is left, the sequence number moves on.
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/call_refusal.h"
#include "clipboard/desktop_text.h"
#include "gdi/objects.h"
#include "winplat/base.h"
#include "winplat/clipboard.h"
#include "winplat/gdi.h"
#include "winplat/byte_reader.h"
#include "winplat/handles.h"
#include "winplat/host.h"
#include "winplat/locale.h"
#include "winplat/memory.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"
#include "winplat/testing.h"
#include "winplat/user.h"

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
    HWND owner = nullptr;  // who emptied it last; NULL for the desktop's text
    DWORD sequence = 0;    // moves on with every change
    bool changed = false;  // since it was opened
    // The desktop text that last went out or came in: the desktop holding other text means
    // someone copied there since.
    std::optional<std::string> exchanged;
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


// The owner whose data went is told, when it is a window.
void tellDestroyed(HWND owner) {
    if (owner && IsWindow(owner)) SendMessageA(owner, WM_DESTROYCLIPBOARD, 0, 0);
}

std::string_view textOf(const GlobalPin& pin, HGLOBAL block) {
    return pin ? std::string_view(pin.as<char>(), GlobalSize(block)) : std::string_view{};
}

// The LCID the text was written in; 0 when none (or no whole one) is held.
LCID heldLocale(const Clipboard& board) {
    auto block = static_cast<HGLOBAL>(stored(board, CF_LOCALE));
    const GlobalPin pin(block);
    if (!pin) return 0;
    ByteReader reader(pin.as<uint8_t>(), GlobalSize(block));
    const LCID locale = reader.u32();
    return reader.ok() ? locale : 0;
}

// Our text as the desktop's programs expect it.
std::string desktopTextOfHeld(const Clipboard& board) {
    constexpr Refuser refuse("winplat: clipboard to the desktop");
    const LCID locale = heldLocale(board);
    if (!desktop_text::writtenInCp1250(locale)) refuse.log("the text's locale writes another code page: it goes out as cp1250");
    auto block = static_cast<HGLOBAL>(stored(board, CF_TEXT));
    const GlobalPin pin(block);
    return desktop_text::desktopTextOf(textOf(pin, block));
}

HGLOBAL blockOf(std::string_view bytes) {
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    const GlobalPin pin(block.get());
    if (!pin) return nullptr;
    std::memcpy(pin.data(), bytes.data(), bytes.size());
    return block.release();
}

// Fills the emptied clipboard with the desktop's text and our locale; false when memory ran out.
bool holdDesktopText(Clipboard& board, std::string_view desktopText) {
    std::string text = desktop_text::clipboardTextOf(desktopText);
    text.push_back('\0');
    const LCID locale = GetThreadLocale();
    const char localeBytes[4] = {static_cast<char>(locale), static_cast<char>(locale >> 8),
                                 static_cast<char>(locale >> 16), static_cast<char>(locale >> 24)};
    ClipboardData textBlock(blockOf(text));
    ClipboardData localeBlock(blockOf(std::string_view(localeBytes, sizeof localeBytes)));
    if (!textBlock || !localeBlock) return false;
    board.data[CF_TEXT] = std::move(textBlock);
    board.data[CF_LOCALE] = std::move(localeBlock);
    return true;
}

// Takes the desktop's text in when someone copied there since it last changed hands.
void takeDesktopText(Clipboard& board) {
    host::DesktopClipboard* desktop = host::desktopClipboard();
    if (!desktop) return;
    std::optional<std::string> text = desktop->text();
    HWND replaced = nullptr;
    {
        std::lock_guard lock(board.mutex);
        if (!text || text->empty() || text == board.exchanged) return;
        replaced = board.owner;
        releaseAll(board);
        board.owner = nullptr;
        ++board.sequence;
        board.exchanged = std::move(text);
        constexpr Refuser refuse("winplat: clipboard from the desktop");
        if (!holdDesktopText(board, *board.exchanged)) {
            releaseAll(board);
            refuse.log("no memory for the desktop's text: the clipboard is left empty");
        }
    }
    tellDestroyed(replaced);
}

}  // namespace
}  // namespace winplat

using namespace winplat;

BOOL OpenClipboard(HWND owner) {
    Clipboard& board = clipboard();
    {
        std::lock_guard lock(board.mutex);
        if (board.open && board.opener != owner) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        const bool reopened = board.open;
        board.open = true;
        board.opener = owner;
        if (reopened) return TRUE;
        board.changed = false;
    }
    takeDesktopText(board);
    return TRUE;
}

BOOL CloseClipboard(void) {
    Clipboard& board = clipboard();
    host::DesktopClipboard* desktop = host::desktopClipboard();
    std::optional<std::string> offered;
    {
        std::lock_guard lock(board.mutex);
        if (refuseUnlessOpen(board)) return FALSE;
        // Whatever changed, the desktop pastes what we hold now: no text is empty text.
        if (desktop && board.changed) offered = board.exchanged = desktopTextOfHeld(board);
        board.open = false;
        board.opener = nullptr;
        board.changed = false;
    }
    if (offered) desktop->offer(*offered);
    return TRUE;
}

BOOL EmptyClipboard(void) {
    Clipboard& board = clipboard();
    HWND replaced = nullptr;
    {
        std::lock_guard lock(board.mutex);
        if (refuseUnlessOpen(board)) return FALSE;
        releaseAll(board);
        replaced = board.owner;
        board.owner = board.opener;
        ++board.sequence;
        board.changed = true;
    }
    tellDestroyed(replaced);
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
    ++board.sequence;
    board.changed = true;
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
    if (format == CF_TEXT || format == CF_LOCALE) {
        bool open = false;
        {
            std::lock_guard lock(board.mutex);
            open = board.open;
        }
        if (!open) takeDesktopText(board);  // while open, what the opener saw stays
    }
    std::lock_guard lock(board.mutex);
    if (stored(board, format)) return TRUE;
    if (format == CF_BITMAP) return stored(board, CF_DIB) ? TRUE : FALSE;
    if (format == CF_DIB) return stored(board, CF_BITMAP) ? TRUE : FALSE;
    return FALSE;
}

HWND GetClipboardOwner(void) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    return board.owner;
}

DWORD GetClipboardSequenceNumber(void) {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    return board.sequence;
}

namespace winplat::testing {

void resetClipboard() {
    Clipboard& board = clipboard();
    std::lock_guard lock(board.mutex);
    releaseAll(board);
    board.open = false;
    board.opener = nullptr;
    board.owner = nullptr;
    board.changed = false;
    board.exchanged.reset();
}

}  // namespace winplat::testing
