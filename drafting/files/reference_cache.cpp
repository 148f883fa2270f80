#include "files/reference_cache.h"

namespace linework {

std::shared_ptr<const ParsedReference> ReferenceCache::Find(const std::string& name, const FileStamp& stamp) const {
    auto found = entries_.find(name);
    if (found == entries_.end() || !(found->second.stamp == stamp)) return nullptr;
    return found->second.parsed;
}

void ReferenceCache::Keep(const std::string& name, const FileStamp& stamp,
                          std::shared_ptr<const ParsedReference> parsed) {
    ++parses_;
    entries_[name] = Entry{stamp, std::move(parsed)};
}

}  // namespace linework
