// The module registry: every program and library registers the descriptor its resource compiler
// generated when it is loaded, and gets an HINSTANCE for it. String resources, module handles by
// name and module file names are answered from here.
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/drive_path.h"
#include "kernel/resource_handles.h"
#include "winplat/base.h"
#include "winplat/cp1250.h"
#include "winplat/handles.h"
#include "winplat/module.h"
#include "winplat/resources.h"
#include "winplat/testing.h"

namespace winplat {
namespace {

struct Module final : HandleObject {
    Module(const ModuleResources& r, std::string path) : resources(&r), hostPath(std::move(path)) {}
    const ModuleResources* resources;
    std::string hostPath;  // UTF-8, absolute
};

struct Entry {
    const ModuleResources* resources;
    uint32_t handle;
};

struct Registry {
    std::mutex mutex;
    std::vector<Entry> entries;  // in registration order
    // Test overrides of GetModuleFileNameA by handle value; 0 is the running program.
    std::map<uint32_t, std::string> pathOverrides;

    // The first registered program module, 0 when none is.
    uint32_t programHandle() const {
        for (const Entry& e : entries)
            if (e.resources->isProgram) return e.handle;
        return 0;
    }

    // NULL and the program's own handle name the same module.
    uint32_t overrideKey(uint32_t handle) const { return handle == programHandle() ? 0 : handle; }
};

Registry& registry() {
    // Never destroyed: modules unregister from their own static destructors, which may run after
    // this library's would have.
    static Registry* instance = new Registry;
    return *instance;
}

std::string programPath() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < path.size()) {
            path.resize(static_cast<size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The file the anchor address was loaded from.
std::string modulePath(const ModuleResources& resources, const void* anchor) {
    if (resources.isProgram) return programPath();
    Dl_info info{};
    link_map* map = nullptr;
    if (!anchor || !dladdr1(anchor, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map ||
        !map->l_name || !*map->l_name) {
        // The main program has no name in its link map; /proc knows it absolutely.
        return programPath();
    }
    std::string path = map->l_name;
    if (path.front() != '/') {
        // A library opened by a relative name: relative to the folder current when it was loaded.
        std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), &free);
        if (cwd) path = std::string(cwd.get()) + "/" + path;
    }
    return path;
}

std::shared_ptr<Module> findModule(HINSTANCE instance) {
    auto module = handleTable().getAs<Module>(handleValue(instance), HandleType::Module);
    if (!module) SetLastError(ERROR_INVALID_HANDLE);
    return module;
}

// The name GetModuleHandleA looks for: without its folder, lower case, and with ".dll" when it
// has no extension at all (a trailing '.' says "no extension" and is dropped).
std::string lookupName(std::string_view name) {
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    std::string wanted = cp1250::lower(name);
    if (wanted.find('.') == std::string::npos)
        wanted += ".dll";
    else if (wanted.back() == '.')
        wanted.pop_back();
    return wanted;
}

}  // namespace

HINSTANCE registerModule(const ModuleResources& resources, const void* anchor) {
    // Found before taking the lock: dladdr takes the loader's lock, which a library being loaded
    // on another thread holds while it registers.
    std::string path = modulePath(resources, anchor);

    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (const Entry& e : r.entries)
        if (e.resources == &resources) return makeHandle<HINSTANCE>(e.handle);
    const uint32_t handle = handleTable().add(HandleType::Module, std::make_shared<Module>(resources, std::move(path)));
    if (handle == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    r.entries.push_back({&resources, handle});
    return makeHandle<HINSTANCE>(handle);
}

void unregisterModule(HINSTANCE module) {
    const uint32_t handle = handleValue(module);
    std::shared_ptr<HandleObject> object;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = std::find_if(r.entries.begin(), r.entries.end(), [&](const Entry& e) { return e.handle == handle; });
        if (it == r.entries.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return;
        }
        // The program's override stays: it names the running program, registered or not.
        if (handle != r.programHandle()) r.pathOverrides.erase(handle);
        r.entries.erase(it);
        object = handleTable().remove(handle, HandleType::Module);
    }
    kernel::forgetResourceHandles(module);
}

const ModuleResources* moduleResources(HINSTANCE module) {
    auto found = findModule(module);
    return found ? found->resources : nullptr;
}

namespace testing {

void setModulePath(HMODULE module, std::string windowsPath) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.pathOverrides[r.overrideKey(handleValue(module))] = std::move(windowsPath);
}

void clearModulePaths() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.pathOverrides.clear();
}

}  // namespace testing
}  // namespace winplat

using namespace winplat;

HMODULE GetModuleHandleA(LPCSTR name) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (!name) {
        if (const uint32_t program = r.programHandle()) return makeHandle<HMODULE>(program);
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const std::string wanted = lookupName(name);
    for (const Entry& e : r.entries)
        if (cp1250::lower(e.resources->fileName) == wanted) return makeHandle<HMODULE>(e.handle);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
    auto module = findModule(instance);
    if (!module) return 0;
    if (!buffer || size <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const ModuleResources& resources = *module->resources;
    const StringResource* end = resources.strings + resources.stringCount;
    const StringResource* found = std::lower_bound(resources.strings, end, id,
                                                   [](const StringResource& s, UINT wanted) { return s.id < wanted; });
    if (found == end || found->id != id) {
        // Callers that ignore the result still see an empty text rather than stale bytes.
        buffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const size_t copied = std::min<size_t>(found->length, static_cast<size_t>(size) - 1);
    std::memcpy(buffer, found->text, copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    std::shared_ptr<Module> found;
    std::optional<std::string> path;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        uint32_t handle = handleValue(module);
        if (handle == 0) handle = r.programHandle();
        if (handle != 0 && !(found = findModule(makeHandle<HMODULE>(handle)))) return 0;
        if (auto it = r.pathOverrides.find(r.overrideKey(handle)); it != r.pathOverrides.end()) path = it->second;
    }
    if (!path) {
        const std::string hostPath = found ? found->hostPath : programPath();
        if (hostPath.empty()) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
        path = drivePathFromHost(hostPath);
    }
    if (size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (!buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t copied = std::min<size_t>(path->size(), size - 1);
    std::memcpy(buffer, path->data(), copied);
    buffer[copied] = '\0';
    if (copied < path->size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return static_cast<DWORD>(copied);
}
