// The one registry store of the process: the tree in memory and the file it mirrors.
//
// Queries read the tree as it is (no file access). A change takes the store's lock file, re-reads
// the file when another process has replaced it since, applies the change and writes the file
// anew; so values another process wrote are kept. A change that cannot be written is undone by
// reading the file again.
#ifndef WINPLAT_SRC_REGISTRY_REG_STORE_H
#define WINPLAT_SRC_REGISTRY_REG_STORE_H

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "registry/host_file.h"
#include "registry/reg_tree.h"
#include "winplat/types.h"

namespace winplat::registry {

class Store {
public:
    static Store& instance();

    // Runs the query on the tree under the store's mutex.
    template <class Query>
    auto read(Query&& query) {
        return readWithGeneration([&](const RegKey& top, uint64_t) { return query(top); });
    }

    // As read, with the tree's generation: it changes whenever the tree may have (a change, a
    // reload, a drop), so a node found in the tree stays valid while the generation is the same.
    template <class Query>
    auto readWithGeneration(Query&& query) {
        std::lock_guard lock(mutex_);
        refreshForFolder();
        return query(static_cast<const RegKey&>(top_), generation_);
    }

    // Runs the change on the latest tree; when it returns ERROR_SUCCESS and says it changed
    // something, the store is written (ERROR_CANTWRITE when that fails).
    using Change = std::function<LONG(RegKey& top, bool& changed)>;
    LONG change(const Change& change);

    // Forgets the tree: the next call reads the file again, as a new process would.
    void drop();

private:
    Store() = default;
    std::string storePath() const { return folder_ + "/registry.txt"; }
    void refreshForFolder();
    void load();
    bool write();

    std::mutex mutex_;
    bool loaded_ = false;
    std::string folder_;
    RegKey top_;
    uint64_t generation_ = 1;
    FileIdentity identity_;
};

}  // namespace winplat::registry

#endif
