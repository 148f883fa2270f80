// Task memory: blocks a call hands to its caller to free, and the allocator object behind them.
#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "winplat/shell.h"

namespace winplat::ole {
namespace {

// The process's one task allocator; counting references would only hide misuse, so AddRef and
// Release keep it alive for ever.
class TaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(const IID&, void** object) override {
        if (!object) return E_POINTER;
        *object = this;
        return S_OK;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    void* Alloc(SIZE_T size) override { return CoTaskMemAlloc(size); }
    void* Realloc(void* block, SIZE_T size) override { return CoTaskMemRealloc(block, size); }
    void Free(void* block) override { CoTaskMemFree(block); }
    SIZE_T GetSize(void* block) override { return block ? malloc_usable_size(block) : static_cast<SIZE_T>(-1); }
    int DidAlloc(void* block) override { return block ? -1 : 0; }  // cannot tell
    void HeapMinimize() override {}
};

}  // namespace
}  // namespace winplat::ole

HRESULT SHGetMalloc(IMalloc** allocator) {
    if (!allocator) return E_INVALIDARG;
    static winplat::ole::TaskAllocator* const instance = new winplat::ole::TaskAllocator;
    *allocator = instance;
    return S_OK;
}

// The C heap: a zero size still gives a block of its own, as the task allocator's callers expect.
LPVOID CoTaskMemAlloc(SIZE_T size) { return std::malloc(size ? size : 1); }

LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size) { return std::realloc(block, size ? size : 1); }

void CoTaskMemFree(LPVOID block) { std::free(block); }
