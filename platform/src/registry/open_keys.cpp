#include "registry/open_keys.h"

#include "winplat/handles.h"

namespace winplat::registry {

class OpenKey final : public HandleObject {
public:
    explicit OpenKey(KeyPath keyPath) : path(std::move(keyPath)) {}
    const KeyPath path;

    // The node the path named in the tree of 'generation' (0: none found yet); see HandleKey.
    mutable const RegKey* node = nullptr;
    mutable uint64_t generation = 0;
};

namespace {

constexpr uintptr_t kFirstRoot = 0x80000000u;

bool isRootValue(uintptr_t value) { return value >= kFirstRoot && value < kFirstRoot + std::size(kRootNames); }

}  // namespace

const RegKey* HandleKey::find(const RegKey& top, uint64_t generation) const {
    if (!open_) return top.findSubKey(kRootNames[root_]);
    if (open_->generation != generation) {
        open_->node = findKey(top, open_->path);
        open_->generation = generation;
    }
    return open_->node;
}

std::optional<HandleKey> keyOf(HKEY key, LONG& error) {
    const auto value = reinterpret_cast<uintptr_t>(key);
    if (isRootValue(value)) {
        const size_t root = value - kFirstRoot;
        if (root == kPerformanceDataRoot) {
            error = ERROR_NOT_SUPPORTED;
            return std::nullopt;
        }
        return HandleKey(root, nullptr);
    }
    auto open = handleTable().getAs<OpenKey>(handleValue(key), HandleType::RegistryKey);
    if (!open) {
        error = ERROR_INVALID_HANDLE;
        return std::nullopt;
    }
    return HandleKey(0, std::move(open));
}

const char* whyNoKey(LONG error) {
    return error == ERROR_NOT_SUPPORTED ? "the performance data root is not offered" : "not a registry key handle";
}

KeyPath HandleKey::path() const { return open_ ? open_->path : KeyPath{kRootNames[root_]}; }

std::optional<KeyPath> pathOf(HKEY key, LONG& error) {
    const auto found = keyOf(key, error);
    return found ? std::optional<KeyPath>(found->path()) : std::nullopt;
}

HKEY openHandle(KeyPath path) {
    return makeHandle<HKEY>(handleTable().add(HandleType::RegistryKey, std::make_shared<OpenKey>(std::move(path))));
}

bool closeHandle(HKEY key) {
    if (isRootValue(reinterpret_cast<uintptr_t>(key))) return true;
    return handleTable().remove(handleValue(key), HandleType::RegistryKey) != nullptr;
}

}  // namespace winplat::registry
