#include "registry/open_keys.h"

#include "winplat/handles.h"

namespace winplat::registry {

namespace {

class OpenKey final : public HandleObject {
public:
    explicit OpenKey(KeyPath keyPath) : path(std::move(keyPath)) {}
    const KeyPath path;
};

constexpr uintptr_t kFirstRoot = 0x80000000u;

bool isRootValue(uintptr_t value) { return value >= kFirstRoot && value < kFirstRoot + std::size(kRootNames); }

}  // namespace

std::optional<KeyPath> pathOf(HKEY key, LONG& error) {
    const auto value = reinterpret_cast<uintptr_t>(key);
    if (isRootValue(value)) {
        const size_t root = value - kFirstRoot;
        if (root == kPerformanceDataRoot) {
            error = ERROR_NOT_SUPPORTED;
            return std::nullopt;
        }
        return KeyPath{kRootNames[root]};
    }
    const auto open = handleTable().getAs<OpenKey>(handleValue(key), HandleType::RegistryKey);
    if (!open) {
        error = ERROR_INVALID_HANDLE;
        return std::nullopt;
    }
    return open->path;
}

HKEY openHandle(KeyPath path) {
    return makeHandle<HKEY>(handleTable().add(HandleType::RegistryKey, std::make_shared<OpenKey>(std::move(path))));
}

bool closeHandle(HKEY key) {
    if (isRootValue(reinterpret_cast<uintptr_t>(key))) return true;
    return handleTable().remove(handleValue(key), HandleType::RegistryKey) != nullptr;
}

}  // namespace winplat::registry
