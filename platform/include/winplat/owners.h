// Owners for what our C++ code holds of the layer: a global block, a lock on one for a scope, a GDI
// object or memory DC, an object selected into a DC, a saved DC state, a session of the video
// drawing service. Each gives back exactly what it took, on every way out, so no code releases a
// handle by hand. The flat calls stay for code whose contract is written in their terms (a handle
// handed to a caller, a block a record keeps); an owner can take such a handle over or hand it on
// with release().
#ifndef WINPLAT_OWNERS_H
#define WINPLAT_OWNERS_H

#include <utility>

#include "winplat/clipboard.h"
#include "winplat/draw.h"
#include "winplat/drawdib.h"
#include "winplat/gdi.h"
#include "winplat/memory.h"
#include "winplat/region.h"
#include "winplat/user.h"

namespace winplat {

// A unique owner of one handle, freed through Free(handle) unless released first.
template <class Handle, auto Free>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Hands the handle on: the caller owns it now.
    [[nodiscard]] Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr) {
        if (Handle old = std::exchange(handle_, handle)) Free(old);
    }

private:
    Handle handle_ = nullptr;
};

namespace owners_detail {
inline void freeGlobal(HGLOBAL block) { GlobalFree(block); }
inline void deleteObject(HGDIOBJ object) { DeleteObject(object); }
inline void deleteDc(HDC dc) { DeleteDC(dc); }
inline void destroyMenu(HMENU menu) { DestroyMenu(menu); }
inline void destroyAccelerators(HACCEL table) { DestroyAcceleratorTable(table); }
inline void destroyCursor(HCURSOR cursor) { DestroyCursor(cursor); }
inline void closeDrawDib(HDRAWDIB session) {
    DrawDibEnd(session);
    DrawDibClose(session);
}
}  // namespace owners_detail

// A global memory block: freed when the owner goes.
using GlobalBlock = UniqueHandle<HGLOBAL, owners_detail::freeGlobal>;

// A GDI object (bitmap, palette, pen, brush, font, region): deleted when the owner goes. It must
// not be selected into a DC by then; a Selection made after it is undone first.
template <class Handle>
using GdiObject = UniqueHandle<Handle, owners_detail::deleteObject>;
using OwnedBitmap = GdiObject<HBITMAP>;
using OwnedPalette = GdiObject<HPALETTE>;
using OwnedRegion = GdiObject<HRGN>;

// A menu (with its sub-menus) or an accelerator table: destroyed when the owner goes.
using OwnedMenu = UniqueHandle<HMENU, owners_detail::destroyMenu>;
using OwnedAccelerators = UniqueHandle<HACCEL, owners_detail::destroyAccelerators>;

// A cursor: destroyed when the owner goes (a shared cursor of LoadCursorA outlives that harmlessly).
using OwnedCursor = UniqueHandle<HCURSOR, owners_detail::destroyCursor>;

// A memory DC from CreateCompatibleDC: deleted when the owner goes.
using MemoryDc = UniqueHandle<HDC, owners_detail::deleteDc>;

// A session of the video drawing service from DrawDibOpen: ended and closed when the owner goes.
using DrawDibSession = UniqueHandle<HDRAWDIB, owners_detail::closeDrawDib>;

// A global block locked for a scope: the data pointer while it lives, unlocked when it goes. A
// lock that outlives the scope (a pointer handed to a caller, a container locked until told
// otherwise) is moved into the owner that keeps it, or handed on with release() and taken back
// with adopt() when the caller gives it back.
class GlobalPin {
public:
    GlobalPin() = default;
    explicit GlobalPin(HGLOBAL block) : data_(block ? GlobalLock(block) : nullptr) {
        if (data_) block_ = block;
    }
    ~GlobalPin() { reset(); }
    GlobalPin(GlobalPin&& other) noexcept
        : block_(std::exchange(other.block_, nullptr)), data_(std::exchange(other.data_, nullptr)) {}
    GlobalPin& operator=(GlobalPin&& other) noexcept {
        if (this != &other) {
            reset();
            block_ = std::exchange(other.block_, nullptr);
            data_ = std::exchange(other.data_, nullptr);
        }
        return *this;
    }
    GlobalPin(const GlobalPin&) = delete;
    GlobalPin& operator=(const GlobalPin&) = delete;

    // Takes over one lock already held on the block (handed on by release()); data is the pointer
    // that lock gave, when the caller still has it.
    [[nodiscard]] static GlobalPin adopt(HGLOBAL block, void* data = nullptr) {
        GlobalPin pin;
        pin.block_ = block;
        pin.data_ = block ? data : nullptr;
        return pin;
    }

    // Whether a lock is held.
    explicit operator bool() const { return block_ != nullptr; }
    void* data() const { return data_; }
    template <class T>
    T* as() const {
        return static_cast<T*>(data_);
    }
    // Hands the lock on: the block stays locked and the data pointer is returned.
    [[nodiscard]] void* release() {
        block_ = nullptr;
        return std::exchange(data_, nullptr);
    }
    // Gives the lock back now.
    void reset() {
        if (HGLOBAL block = std::exchange(block_, nullptr)) GlobalUnlock(block);
        data_ = nullptr;
    }

private:
    HGLOBAL block_ = nullptr;  // null unless a lock is held
    void* data_ = nullptr;
};

// An object selected into a DC for a scope; the one it replaced goes back when the scope ends.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // False when the DC refused the object (nothing was selected).
    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A DC from GetDC (a window's or, for null, the screen's): released when the owner goes.
class BorrowedDc {
public:
    explicit BorrowedDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~BorrowedDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    BorrowedDc(const BorrowedDc&) = delete;
    BorrowedDc& operator=(const BorrowedDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// The clipboard opened for a scope (check it: another window may have it open) and closed when the
// scope ends.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A DC's state saved for a scope and restored when it ends.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

    explicit operator bool() const { return saved_ != 0; }

private:
    HDC dc_;
    int saved_;
};

}  // namespace winplat

#endif
