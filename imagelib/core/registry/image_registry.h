// The registry of image records by id, and the per-record locks every export works under.
//
// A record is held by any number of readers (drawing counts as reading) or by one writer. A thread
// that holds a record may lock it again in any mode at once, since exports call each other. A
// lock that cannot be had within the time limit fails; a record is never taken away from a live
// holder. Waiting happens with the registry's mutex released.
//
// A record being freed hands its linked images to a work list, released one after another once
// the mutex is let go, and the record itself is destroyed only after that too: nothing an owner
// in it gives up can call back into the registry while the mutex is held.
#ifndef PIXMILL_CORE_IMAGE_REGISTRY_H
#define PIXMILL_CORE_IMAGE_REGISTRY_H

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>

#include "core/registry/image_record.h"

namespace pixmill {

enum class Access { Read = 1, Write = 2, Draw = 4 };

// Holds one record in one mode until destroyed or released.
class ImageLock {
public:
    ImageLock() = default;
    ~ImageLock() { release(); }
    ImageLock(ImageLock&& other) noexcept;
    ImageLock& operator=(ImageLock&& other) noexcept;
    ImageLock(const ImageLock&) = delete;
    ImageLock& operator=(const ImageLock&) = delete;

    explicit operator bool() const { return record_ != nullptr; }
    ImageRecord* operator->() const { return record_.get(); }
    ImageRecord& operator*() const { return *record_; }
    ImageRecord* get() const { return record_.get(); }
    void release();

private:
    friend class ImageRegistry;
    ImageLock(std::shared_ptr<ImageRecord> record, Access mode) : record_(std::move(record)), mode_(mode) {}

    std::shared_ptr<ImageRecord> record_;
    Access mode_ = Access::Read;
};

// Takes the record of the id in the mode; empty for id 0, an unknown id, or when the time limit
// passes.
ImageLock lockImage(PxlImageId id, Access mode);

// Takes two records in ascending id order, so that two calls on the same pair in mirror order
// cannot deadlock; the same id twice is one nested lock. Both empty unless both were had.
std::pair<ImageLock, ImageLock> lockImages(PxlImageId a, Access modeA, PxlImageId b, Access modeB);

// A new record under the smallest free id, with every field at its default, returned locked for
// writing so that nobody sees it half made. Empty when all ids are in use or memory runs out.
ImageLock createImageRecord();

// Adds one reference to the id (sharing); false for an unknown id.
bool addImageReference(PxlImageId id);

// Gives up one reference. When none is left the record is freed with everything it owns (the DIB
// section too when deleteBitmap is set) and its linked images are released in turn; when some are
// left only the references that sharing added (the transparency image) are given up. Waits for
// other holders like a writer. Returns the references left (0 = freed), or nothing when the id is
// unknown or the record could not be had.
std::optional<int32_t> releaseImageRecord(PxlImageId id, bool deleteBitmap);

// Frees every record, whoever holds it (library end). Writes the count to the debugger.
void deleteAllImages();

size_t liveImageCount();

// How long a lock waits before it fails (tests shorten it).
std::chrono::milliseconds setLockTimeout(std::chrono::milliseconds timeout);

}  // namespace pixmill

#endif
