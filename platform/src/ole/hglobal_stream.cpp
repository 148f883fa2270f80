// A stream over a global memory block.
//
// The stream keeps its own size: the block may hold more than that while the stream is written,
// because the block grows geometrically so that writing an image in small pieces does not copy it
// over and over (an unlocked moveable block really moves on every reallocation here). The block is
// cut back to the stream's size whenever it is handed out (GetHGlobalFromStream, and the last
// Release of a stream that leaves the block to its caller), so whoever reads GlobalSize of it sees
// the stream's bytes and no more.
//
// Like any memory stream, one object is meant for one thread at a time; only the reference count
// is safe to touch from several.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "winplat/memory.h"
#include "winplat/ole.h"
#include "winplat/owners.h"

namespace winplat {
namespace {

// The largest block global memory hands out, so the furthest a stream can reach.
constexpr uint64_t kMaxStreamSize = 0x7FFFFFFF;

constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIidStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool sameIid(const IID& a, const IID& b) {
    return a.Data1 == b.Data1 && a.Data2 == b.Data2 && a.Data3 == b.Data3 &&
           std::memcmp(a.Data4, b.Data4, sizeof a.Data4) == 0;
}

class HGlobalStream final : public IStream {
public:
  // With deleteOnRelease the stream owns the block and frees it with itself.
  HGlobalStream(HGLOBAL block, bool deleteOnRelease)
      : owned_(deleteOnRelease ? block : nullptr), block_(block), size_(GlobalSize(block)) {}

  HGLOBAL block() {
      trimBlock();
      return block_;
  }

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object) return E_POINTER;
        if (sameIid(iid, kIidUnknown) || sameIid(iid, kIidStream)) {
            AddRef();
            *object = static_cast<IStream*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override { return ++references_; }

    ULONG Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
        if (read) *read = 0;
        if (count == 0) return S_OK;
        if (!buffer) return STG_E_INVALIDPOINTER;
        // Bounded by the block too, so a block shrunk behind the stream's back is never overrun.
        const uint64_t end = std::min<uint64_t>(size_, GlobalSize(block_));
        if (position_ >= end) return S_OK;
        const ULONG n = static_cast<ULONG>(std::min<uint64_t>(count, end - position_));
        const GlobalPin pin(block_);  // none when the block was discarded
        if (!pin) return S_OK;
        std::memcpy(buffer, pin.as<std::byte>() + position_, n);
        position_ += n;
        if (read) *read = n;
        return S_OK;
    }

    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
        if (written) *written = 0;
        if (count == 0) return S_OK;
        if (!buffer) return STG_E_INVALIDPOINTER;
        const uint64_t end = position_ + count;  // no overflow: positions stay below 2^63
        if (!reserve(end)) return STG_E_MEDIUMFULL;
        const GlobalPin pin(block_);
        if (!pin) return STG_E_MEDIUMFULL;
        // Bytes between the old end and a write past it were never written: they read as zeros,
        // whatever the block held there before.
        if (position_ > size_) std::memset(pin.as<std::byte>() + size_, 0, position_ - size_);
        std::memcpy(pin.as<std::byte>() + position_, buffer, count);
        position_ = end;
        size_ = std::max(size_, end);
        if (written) *written = count;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
        int64_t base = 0;
        switch (origin) {
            case STREAM_SEEK_SET:
                base = 0;
                break;
            case STREAM_SEEK_CUR:
                base = static_cast<int64_t>(position_);
                break;
            case STREAM_SEEK_END:
                base = static_cast<int64_t>(size_);
                break;
            default:
                return STG_E_INVALIDFUNCTION;
        }
        int64_t target = 0;
        if (__builtin_add_overflow(base, move.QuadPart, &target) || target < 0) return STG_E_INVALIDFUNCTION;
        position_ = static_cast<uint64_t>(target);
        if (newPosition) newPosition->QuadPart = position_;
        return S_OK;
    }

    HRESULT SetSize(ULARGE_INTEGER newSize) override {
        const uint64_t wanted = newSize.QuadPart;
        if (wanted > kMaxStreamSize) return STG_E_MEDIUMFULL;
        if (wanted <= size_) {
            size_ = wanted;
            trimBlock();  // the caller asked for a smaller stream: give the memory back
            return S_OK;
        }
        // Exactly the size asked for: a caller sizing the stream ahead knows what it needs.
        if (GlobalSize(block_) < wanted && !GlobalReAlloc(block_, wanted, GMEM_MOVEABLE))
            return STG_E_MEDIUMFULL;
        const GlobalPin pin(block_);
        if (!pin) return STG_E_MEDIUMFULL;
        std::memset(pin.as<std::byte>() + size_, 0, wanted - size_);
        size_ = wanted;
        return S_OK;
    }

    HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER* read, ULARGE_INTEGER* written) override {
        if (read) read->QuadPart = 0;
        if (written) written->QuadPart = 0;
        return E_NOTIMPL;
    }

    // Memory holds every write the moment it is made, so there is never anything to commit;
    // callers that commit after writing must not see that as a failure.
    HRESULT Commit(DWORD) override { return S_OK; }
    HRESULT Revert() override { return E_NOTIMPL; }
    HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }

    // The stream has no name, so the flags change nothing.
    HRESULT Stat(STATSTG* stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = size_;
        return S_OK;
    }

    HRESULT Clone(IStream** clone) override {
        if (clone) *clone = nullptr;
        return E_NOTIMPL;
    }

private:
    ~HGlobalStream() override {
        if (!owned_) trimBlock();  // the caller's block goes back holding the stream's bytes
    }

    // Makes the block hold at least 'bytes', growing it generously and settling for exactly
    // 'bytes' when the generous size cannot be had.
    bool reserve(uint64_t bytes) {
        if (bytes > kMaxStreamSize) return false;
        const uint64_t have = GlobalSize(block_);
        if (have >= bytes) return true;
        const uint64_t generous = std::min(std::max(bytes, have * 2), kMaxStreamSize);
        if (GlobalReAlloc(block_, generous, GMEM_MOVEABLE)) return true;
        return generous > bytes && GlobalReAlloc(block_, bytes, GMEM_MOVEABLE);
    }

    // Cuts the block back to the stream's size. Without GMEM_MOVEABLE a block locked by its owner
    // shrinks where it is, so pointers the owner holds stay good; a failure leaves the block larger,
    // which costs only memory.
    void trimBlock() {
        if (GlobalSize(block_) > size_) GlobalReAlloc(block_, size_, 0);
    }

    std::atomic<ULONG> references_{1};
    GlobalBlock owned_;
    HGLOBAL block_;
    uint64_t size_;
    uint64_t position_ = 0;
};

}  // namespace
}  // namespace winplat

using namespace winplat;

HRESULT CreateStreamOnHGlobal(HGLOBAL block, BOOL deleteOnRelease, IStream** stream) {
    if (!stream) return E_INVALIDARG;
    *stream = nullptr;
    if (block && (GlobalFlags(block) & GMEM_INVALID_HANDLE)) return E_INVALIDARG;
    // A block made here is freed if the stream cannot be made; a caller's block stays the caller's.
    GlobalBlock made;
    if (!block) {
        made.reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD | GMEM_SHARE, 0));
        if (!made) return E_OUTOFMEMORY;
        block = made.get();
    }
    auto* created = new (std::nothrow) HGlobalStream(block, deleteOnRelease != FALSE);
    if (!created) return E_OUTOFMEMORY;
    (void)made.release();  // the stream frees it, or GetHGlobalFromStream hands it on
    *stream = created;
    return S_OK;
}

HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* block) {
    if (!block) return E_INVALIDARG;
    *block = nullptr;
    auto* ours = dynamic_cast<HGlobalStream*>(stream);
    if (!ours) return E_INVALIDARG;
    *block = ours->block();
    return S_OK;
}
