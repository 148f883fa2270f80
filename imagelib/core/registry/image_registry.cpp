#include "core/registry/image_registry.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <new>
#include <set>
#include <vector>

#include "winplat/debug.h"

namespace pixmill {
namespace {

constexpr int kMaxId = 32767;
constexpr std::chrono::milliseconds kDefaultLockTimeout{3000};

const char kPermissionDelete[] = "PXL32: PERMISSION!!! ->>> IODelete\n";
const char kPermissionDeleteAll[] = "PXL32: PERMISSION!!! ->>> IODeleteAll\n";

bool grantable(const RecordAccess& access, Access mode, std::thread::id self) {
    const bool writerFree = access.writerDepth == 0 || access.writer == self;
    if (mode != Access::Write) return writerFree;
    const bool onlySelfReads =
        std::all_of(access.readers.begin(), access.readers.end(), [&](const auto& r) { return r.first == self; });
    return writerFree && onlySelfReads;
}

void grant(RecordAccess& access, Access mode, std::thread::id self) {
    if (mode == Access::Write) {
        access.writer = self;
        ++access.writerDepth;
        return;
    }
    for (auto& reader : access.readers) {
        if (reader.first == self) {
            ++reader.second;
            return;
        }
    }
    access.readers.emplace_back(self, 1);
}

void ungrant(RecordAccess& access, Access mode, std::thread::id self) {
    if (mode == Access::Write) {
        if (access.writerDepth > 0 && --access.writerDepth == 0) access.writer = {};
        return;
    }
    auto reader = std::find_if(access.readers.begin(), access.readers.end(),
                               [&](const auto& r) { return r.first == self; });
    if (reader != access.readers.end() && --reader->second == 0) access.readers.erase(reader);
}

// The linked images of a record being freed, in the order the work list takes them over.
using Links = std::array<PxlImageId, 5>;

// Gives up everything a record owns except its linked images, which it hands back for the caller
// to release. Without deleteBitmap the DIB section is the detaching caller's from now on.
[[nodiscard]] Links freeRecordContents(ImageRecord& record, bool deleteBitmap) {
    const Links links{record.savedArea.release(), record.rotatedImage.release(),
                      record.transparencyImage.release(), record.mask.release(), record.nextFrame.release()};
    if (deleteBitmap) {
        record.bitmap.reset();
    } else {
        static_cast<void>(record.bitmap.release());
    }
    record.bits = nullptr;
    record.header.reset();
    record.headerSize = 0;
    record.comment.reset();
    record.title.reset();
    record.animationText.reset();
    record.textBlock.reset();
    record.freed = true;
    return links;
}

}  // namespace

class ImageRegistry {
public:
    ImageRegistry() : byId_(kMaxId + 1) {}

    ImageLock lock(PxlImageId id, Access mode);
    void unlock(ImageRecord& record, Access mode);
    ImageLock create();
    bool addReference(PxlImageId id);
    std::optional<int32_t> release(PxlImageId id, bool deleteBitmap);
    void deleteAll();
    size_t liveCount();
    std::chrono::milliseconds setTimeout(std::chrono::milliseconds timeout);

private:
    // A linked image to give up after a release; 'owner' names the record whose link to it goes
    // when that frees it (0: the owner is gone already).
    struct PendingRelease {
        PxlImageId id;
        PxlImageId owner;
    };
    std::optional<int32_t> releaseOne(PxlImageId id, bool deleteBitmap, std::vector<PendingRelease>& then,
                                      PxlImageId* chainHead = nullptr);
    void unlinkFrame(PxlImageId head, PxlImageId id);
    std::shared_ptr<ImageRecord> find(PxlImageId id) const { return id > 0 ? byId_[id] : nullptr; }
    // Waits for the record in the mode; false when it went away or the time ran out.
    bool acquire(std::unique_lock<std::mutex>& guard, const std::shared_ptr<ImageRecord>& record, Access mode);
    PxlImageId takeSmallestFreeId();
    void returnId(PxlImageId id);
    void remove(ImageRecord& record);

    std::mutex mutex_;
    std::condition_variable released_;
    std::vector<std::shared_ptr<ImageRecord>> byId_;  // index = id, so lookups cost the same at any count
    // Ids 1..topId_ are in use except those in freeIds_: the smallest free id is the first of
    // freeIds_, else topId_ + 1.
    std::set<PxlImageId> freeIds_;
    PxlImageId topId_ = 0;
    size_t live_ = 0;
    std::chrono::milliseconds timeout_ = kDefaultLockTimeout;
};

namespace {
ImageRegistry& registry() {
    // Never destroyed: the library's own destructor frees the images at unload.
    static ImageRegistry* instance = new ImageRegistry;
    return *instance;
}
}  // namespace

bool ImageRegistry::acquire(std::unique_lock<std::mutex>& guard, const std::shared_ptr<ImageRecord>& record,
                            Access mode) {
    const auto self = std::this_thread::get_id();
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    while (!record->freed && !grantable(record->access, mode, self)) {
        if (released_.wait_until(guard, deadline) == std::cv_status::timeout && !record->freed &&
            !grantable(record->access, mode, self)) {
            return false;
        }
    }
    if (record->freed) return false;
    grant(record->access, mode, self);
    return true;
}

ImageLock ImageRegistry::lock(PxlImageId id, Access mode) {
    std::shared_ptr<ImageRecord> record;  // a record freed meanwhile goes after the mutex
    std::unique_lock guard(mutex_);
    record = find(id);
    if (!record || !acquire(guard, record, mode)) return {};
    return ImageLock(std::move(record), mode);
}

void ImageRegistry::unlock(ImageRecord& record, Access mode) {
    {
        std::lock_guard guard(mutex_);
        ungrant(record.access, mode, std::this_thread::get_id());
    }
    released_.notify_all();
}

PxlImageId ImageRegistry::takeSmallestFreeId() {
    if (!freeIds_.empty()) {
        const PxlImageId id = *freeIds_.begin();
        freeIds_.erase(freeIds_.begin());
        return id;
    }
    if (topId_ >= kMaxId) return 0;
    return ++topId_;
}

void ImageRegistry::returnId(PxlImageId id) {
    freeIds_.insert(id);
    // Keep the free set to the gaps below the highest id in use.
    while (topId_ > 0 && !freeIds_.empty() && *freeIds_.rbegin() == topId_) {
        freeIds_.erase(std::prev(freeIds_.end()));
        --topId_;
    }
}

void ImageRegistry::remove(ImageRecord& record) {
    byId_[record.id].reset();
    returnId(record.id);
    --live_;
}

ImageLock ImageRegistry::create() {
    auto record = std::shared_ptr<ImageRecord>(new (std::nothrow) ImageRecord);
    if (!record) return {};
    std::lock_guard guard(mutex_);
    const PxlImageId id = takeSmallestFreeId();
    if (id == 0) return {};
    record->id = id;
    grant(record->access, Access::Write, std::this_thread::get_id());
    byId_[id] = record;
    ++live_;
    return ImageLock(std::move(record), Access::Write);
}

bool ImageRegistry::addReference(PxlImageId id) {
    std::lock_guard guard(mutex_);
    auto record = find(id);
    if (!record) return false;
    ++record->referenceCount;
    return true;
}

std::optional<int32_t> ImageRegistry::releaseOne(PxlImageId id, bool deleteBitmap, std::vector<PendingRelease>& then,
                                                 PxlImageId* chainHead) {
    int32_t left;
    std::shared_ptr<ImageRecord> record;  // a record freed here goes after the mutex
    {
        std::unique_lock guard(mutex_);
        record = find(id);
        if (!record || !acquire(guard, record, Access::Write)) {
            OutputDebugStringA(kPermissionDelete);
            return std::nullopt;
        }
        left = --record->referenceCount;
        if (left > 0) {
            // Sharing added one reference to the record and one to its transparency image; a
            // share given up returns exactly those. Frames, mask and rotated copy stay.
            if (record->transparencyImage) then.push_back({record->transparencyImage.get(), id});
        } else {
            if (chainHead) *chainHead = record->firstFrame;
            for (PxlImageId link : freeRecordContents(*record, deleteBitmap)) {
                if (link) then.push_back({link, 0});
            }
            remove(*record);
        }
        ungrant(record->access, Access::Write, std::this_thread::get_id());
    }
    released_.notify_all();
    return left;
}

// Linked images are released from a work list, not by recursion: a chain of thousands of frames
// must not run the stack out.
// A frame freed from inside a chain: the frame before it must not keep its id, which a new image
// could get and so join the chain unasked.
void ImageRegistry::unlinkFrame(PxlImageId head, PxlImageId id) {
    PxlImageId at = head;
    for (int steps = 0; at != 0 && at != id && steps <= kMaxId; ++steps) {
        ImageLock frame = lock(at, Access::Write);
        if (!frame) return;
        if (frame->nextFrame == id) {
            // The frame is being freed already: only the link goes.
            static_cast<void>(frame->nextFrame.release());
            return;
        }
        at = frame->nextFrame;
    }
}

std::optional<int32_t> ImageRegistry::release(PxlImageId id, bool deleteBitmap) {
    std::vector<PendingRelease> then;
    PxlImageId chainHead = 0;
    const auto left = releaseOne(id, deleteBitmap, then, &chainHead);
    if (left && *left == 0 && chainHead != 0 && chainHead != id) unlinkFrame(chainHead, id);
    while (!then.empty()) {
        const PendingRelease next = then.back();
        then.pop_back();
        const auto linkLeft = releaseOne(next.id, true, then);
        if (next.owner && linkLeft && *linkLeft == 0) {
            // The shared transparency image is gone: the surviving record must not name it.
            if (auto owner = lock(next.owner, Access::Write); owner && owner->transparencyImage == next.id) {
                static_cast<void>(owner->transparencyImage.release());
            }
        }
    }
    return left;
}

void ImageRegistry::deleteAll() {
    int freed = 0;
    PxlImageId lastFreed = 0;
    std::vector<std::shared_ptr<ImageRecord>> swept;  // they go after the mutex
    {
        std::lock_guard guard(mutex_);
        for (int id = topId_; id >= 1; --id) {
            if (!byId_[id]) continue;
            ImageRecord& record = *swept.emplace_back(std::move(byId_[id]));
            if (!record.access.idle()) OutputDebugStringA(kPermissionDeleteAll);
            // Its linked images are records of this same sweep.
            static_cast<void>(freeRecordContents(record, true));
            ++freed;
            lastFreed = static_cast<PxlImageId>(id);
        }
        freeIds_.clear();
        topId_ = 0;
        live_ = 0;
    }
    released_.notify_all();
    char text[64];
    std::snprintf(text, sizeof text, "PXL32: Free %d images ! [%d]\n", freed, lastFreed);
    OutputDebugStringA(text);
}

size_t ImageRegistry::liveCount() {
    std::lock_guard guard(mutex_);
    return live_;
}

std::chrono::milliseconds ImageRegistry::setTimeout(std::chrono::milliseconds timeout) {
    std::lock_guard guard(mutex_);
    return std::exchange(timeout_, timeout);
}

ImageLock::ImageLock(ImageLock&& other) noexcept
    : record_(std::move(other.record_)), mode_(other.mode_) {}

ImageLock& ImageLock::operator=(ImageLock&& other) noexcept {
    if (this != &other) {
        release();
        record_ = std::move(other.record_);
        mode_ = other.mode_;
    }
    return *this;
}

void ImageLock::release() {
    if (!record_) return;
    registry().unlock(*record_, mode_);
    record_.reset();
}

ImageLock lockImage(PxlImageId id, Access mode) { return registry().lock(id, mode); }

std::pair<ImageLock, ImageLock> lockImages(PxlImageId a, Access modeA, PxlImageId b, Access modeB) {
    const bool aFirst = a <= b;
    ImageLock first = lockImage(aFirst ? a : b, aFirst ? modeA : modeB);
    if (!first) return {};
    ImageLock second = lockImage(aFirst ? b : a, aFirst ? modeB : modeA);
    if (!second) return {};
    return aFirst ? std::pair{std::move(first), std::move(second)} : std::pair{std::move(second), std::move(first)};
}

ImageLock createImageRecord() { return registry().create(); }

bool addImageReference(PxlImageId id) { return registry().addReference(id); }

std::optional<int32_t> releaseImageRecord(PxlImageId id, bool deleteBitmap) {
    return registry().release(id, deleteBitmap);
}

void deleteAllImages() { registry().deleteAll(); }

size_t liveImageCount() { return registry().liveCount(); }

std::chrono::milliseconds setLockTimeout(std::chrono::milliseconds timeout) { return registry().setTimeout(timeout); }

}  // namespace pixmill
