// A process-wide cache of shared objects by key: a lookup finds the object while anyone still
// holds it, and the last few used stay alive a while after their last holder lets go, so an
// object dropped and asked for again soon (a font recreated by a document's font cache) is found,
// not rebuilt.
#ifndef WINPLAT_SRC_TEXT_SHARED_CACHE_H
#define WINPLAT_SRC_TEXT_SHARED_CACHE_H

#include <algorithm>
#include <cstddef>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace winplat::text {

template <class Key, class Value>
class SharedCache {
  public:
    explicit SharedCache(size_t kept) : kept_(kept) {}

    // The object of the key, or the one make() builds (under the cache's lock, so one key is
    // built once); a null result is not kept.
    template <class Make>
    std::shared_ptr<Value> get(const Key& key, Make make) {
        std::lock_guard lock(mutex_);
        auto found = entries_.find(key);
        std::shared_ptr<Value> value = found != entries_.end() ? found->second.lock() : nullptr;
        if (!value) {
            value = make();
            if (!value) return nullptr;
            dropExpired();
            entries_[key] = value;
        }
        keep(value);
        return value;
    }

    // Lets go at once of the objects no one else holds, however recently used. They end outside
    // the cache's lock, as when their last holder lets go.
    void dropUnused() {
        std::vector<std::shared_ptr<Value>> unused;
        {
            std::lock_guard lock(mutex_);
            unused.assign(std::make_move_iterator(recent_.begin()), std::make_move_iterator(recent_.end()));
            recent_.clear();
        }
        unused.clear();
        std::lock_guard lock(mutex_);
        dropExpired();
    }

  private:
    void dropExpired() {
        std::erase_if(entries_, [](const auto& entry) { return entry.second.expired(); });
    }

    // Moves the object to the front of the recently used, dropping the oldest beyond 'kept_'.
    void keep(const std::shared_ptr<Value>& value) {
        if (kept_ == 0) return;
        auto it = std::find(recent_.begin(), recent_.end(), value);
        if (it != recent_.end()) recent_.erase(it);
        recent_.push_front(value);
        if (recent_.size() > kept_) recent_.pop_back();
    }

    std::mutex mutex_;
    std::map<Key, std::weak_ptr<Value>> entries_;
    std::deque<std::shared_ptr<Value>> recent_;
    size_t kept_;
};

}  // namespace winplat::text

#endif
