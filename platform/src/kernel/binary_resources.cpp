// FindResourceA, LoadResource, LockResource, SizeofResource and FreeResource over the binary
// resources a module registered.
//
// One handle stands for a resource: FindResourceA gives it as HRSRC and LoadResource as HGLOBAL,
// since the bytes stay in the module and there is nothing to load. It is made on first use and
// kept until the module unregisters, so asking again gives the same handle.
#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "base/call_refusal.h"
#include "kernel/resource_handles.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/handles.h"
#include "winplat/module.h"
#include "winplat/resources.h"

namespace winplat {
namespace {

struct LoadedResource final : HandleObject {
    LoadedResource(HINSTANCE m, const BinaryResource& e) : module(m), entry(&e) {}
    HINSTANCE module;
    const BinaryResource* entry;
};

struct HandleCache {
    std::mutex mutex;
    std::map<std::pair<uint32_t, const BinaryResource*>, uint32_t> handles;  // (module, entry)
};

HandleCache& handleCache() {
    // Never destroyed: modules unregister from their own static destructors.
    static HandleCache* cache = new HandleCache;
    return *cache;
}

uint32_t handleFor(HINSTANCE module, const BinaryResource& entry) {
    HandleCache& cache = handleCache();
    std::lock_guard lock(cache.mutex);
    const std::pair key(handleValue(module), &entry);
    if (auto it = cache.handles.find(key); it != cache.handles.end()) return it->second;
    const uint32_t handle = handleTable().add(HandleType::Resource, std::make_shared<LoadedResource>(module, entry));
    if (handle != 0) cache.handles.emplace(key, handle);
    return handle;
}

std::shared_ptr<LoadedResource> findLoaded(const void* handle) {
    return handleTable().getAs<LoadedResource>(handleValue(handle), HandleType::Resource);
}

// A name or type as the caller gave it: a number, or a text compared in upper case.
struct Asked {
    bool named = false;
    uint16_t id = 0;
    std::string name;
};

// "#123" names the number 123, as MAKEINTRESOURCEA(123) does.
Asked askedFrom(LPCSTR given) {
    if (IS_INTRESOURCE(given)) return {false, static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(given)), {}};
    const std::string_view text(given);
    if (text.size() > 1 && text.front() == '#') {
        uint16_t id = 0;
        const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), id);
        if (error == std::errc() && end == text.data() + text.size()) return {false, id, {}};
    }
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(cp1250::toUpper(static_cast<uint8_t>(c)));
    return {true, 0, std::move(upper)};
}

// The order the resource compiler sorts a table in.
using SortKey = std::tuple<uint16_t, bool, uint16_t, std::string_view>;

SortKey keyOf(const BinaryResource& r) {
    return r.name ? SortKey(r.type, true, 0, r.name) : SortKey(r.type, false, r.id, {});
}

SortKey keyOf(uint16_t type, const Asked& name) {
    return name.named ? SortKey(type, true, 0, name.name) : SortKey(type, false, name.id, {});
}

}  // namespace

std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE module, LPCSTR name, LPCSTR type) {
    const HRSRC found = FindResourceA(module, name, type);
    if (!found) return std::nullopt;
    const auto loaded = findLoaded(found);
    if (!loaded) return std::nullopt;
    return std::span<const uint8_t>(loaded->entry->data, loaded->entry->size);
}

namespace kernel {

void forgetResourceHandles(HINSTANCE module) {
    HandleCache& cache = handleCache();
    std::lock_guard lock(cache.mutex);
    const uint32_t value = handleValue(module);
    auto first = cache.handles.lower_bound({value, nullptr});
    auto last = first;
    for (; last != cache.handles.end() && last->first.first == value; ++last)
        static_cast<void>(handleTable().remove(last->second, HandleType::Resource));
    cache.handles.erase(first, last);
}

}  // namespace kernel
}  // namespace winplat

using namespace winplat;

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    static constexpr CallRefuser refuse("winplat: FindResourceA", ERROR_RESOURCE_NAME_NOT_FOUND);
    static constexpr CallRefuser refuseType("winplat: FindResourceA", ERROR_RESOURCE_TYPE_NOT_FOUND);
    static constexpr CallRefuser refuseFull("winplat: FindResourceA", ERROR_NOT_ENOUGH_MEMORY);
    if (!module && !(module = GetModuleHandleA(nullptr))) return HRSRC{};  // ERROR_MOD_NOT_FOUND set
    const ModuleResources* resources = moduleResources(module);
    if (!resources) return HRSRC{};  // ERROR_INVALID_HANDLE set
    const Asked asked = askedFrom(type);
    if (asked.named) return refuseType(HRSRC{}, "resource types are numbers; no type has a text name");

    const std::span<const BinaryResource> table(resources->resources, resources->resourceCount);
    const Asked askedName = askedFrom(name);
    const SortKey wanted = keyOf(asked.id, askedName);
    const auto found = std::lower_bound(table.begin(), table.end(), wanted,
                                        [](const BinaryResource& r, const SortKey& k) { return keyOf(r) < k; });
    if (found == table.end() || keyOf(*found) != wanted) {
        const bool typeKnown = found != table.end() && found->type == asked.id;
        if (!typeKnown && (found == table.begin() || std::prev(found)->type != asked.id))
            return refuseType(HRSRC{}, "the module holds no resource of that type");
        return refuse(HRSRC{}, "the module holds no resource of that name and type");
    }
    const uint32_t handle = handleFor(module, *found);
    if (handle == 0) return refuseFull(HRSRC{}, "the handle table is full");
    return makeHandle<HRSRC>(handle);
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
    static constexpr CallRefuser refuse("winplat: LoadResource", ERROR_INVALID_HANDLE);
    const auto loaded = findLoaded(resource);
    if (!loaded) return refuse(HGLOBAL{}, "not a resource FindResourceA gave");
    if (module && module != loaded->module) return refuse(HGLOBAL{}, "the resource belongs to another module");
    return makeHandle<HGLOBAL>(handleValue(resource));
}

LPVOID LockResource(HGLOBAL loaded) {
    static constexpr CallRefuser refuse("winplat: LockResource", ERROR_INVALID_HANDLE);
    const auto found = findLoaded(loaded);
    if (!found) return refuse(LPVOID{}, "not a resource LoadResource gave");
    // Windows hands out resource bytes writable; ours are constant and callers only read them.
    return const_cast<unsigned char*>(found->entry->data);
}

DWORD SizeofResource(HMODULE module, HRSRC resource) {
    static constexpr CallRefuser refuse("winplat: SizeofResource", ERROR_INVALID_HANDLE);
    const auto loaded = findLoaded(resource);
    if (!loaded) return refuse(DWORD{0}, "not a resource FindResourceA gave");
    if (module && module != loaded->module) return refuse(DWORD{0}, "the resource belongs to another module");
    return loaded->entry->size;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}
