// The frame indexes (gif_frame_index.h) of the GIF files loaded last, kept between loads: a caller
// that loads an animation's frames one call at a time then finds each frame where the first call
// recorded it, instead of parsing every frame before it again.
//
// A load borrows the index kept for its path and offset (or an empty one) and gives it back when
// it ends. Borrowed, the index is that load's alone; kept, it is only ever followed when it
// describes the file as it is at that load (device, inode, size and times), so a file rewritten or
// replaced at the same path is parsed afresh. That check fails only for a change that leaves every
// part of the identity as it was: a write of the same length within one tick of the file times,
// which the system takes from a coarse clock (two seconds on FAT). So an index is kept only when
// its file had last changed kSettleNs before the borrowing load looked at it; the file times of
// any later change then differ from the recorded ones.
//
// Memory stays bounded: the kMostKept indexes given back last, each of at most kMostFrames frames.
// The library empties the store when it shuts down.
#ifndef PIXMILL_FORMATS_GIF_KEPT_FRAMES_H
#define PIXMILL_FORMATS_GIF_KEPT_FRAMES_H

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "formats/gif_frame_index.h"

namespace pixmill {

class KeptGifFrames {
public:
    // Nanoseconds since the epoch on the system's real-time clock, which file times follow.
    using Clock = int64_t (*)();
    static int64_t systemClock();

    static constexpr size_t kMostKept = 4;
    // Every frame a 16-bit frame number can name; an index of a longer file is not kept.
    static constexpr int kMostFrames = 32768;
    static constexpr int64_t kSettleNs = 2'000'000'000;

    explicit KeptGifFrames(Clock clock = systemClock) : clock_(clock) {}

    int64_t now() const;
    // Tests move the clock to see files as settled; the previous clock.
    Clock setClock(Clock clock);

    // The index kept for the picture at the path and offset, taken out of the store, or an empty
    // one when none is kept.
    GifFrameIndex take(const std::string& path, int64_t offset);
    // Keeps the index for the picture, ahead of the others, when it holds a whole pass over a file
    // that had changed last at least kSettleNs before 'lentAt' (a reading of now() from before the
    // borrowing load opened the file); drops the one used longest ago when the store is full.
    void giveBack(const std::string& path, int64_t offset, GifFrameIndex index, int64_t lentAt);
    void clear();

    bool holds(const std::string& path, int64_t offset) const;
    size_t count() const;

private:
    struct Entry {
        std::string path;
        int64_t offset;
        GifFrameIndex index;
    };
    bool worthKeeping(const GifFrameIndex& index, int64_t lentAt) const;

    mutable std::mutex lock_;
    Clock clock_;
    std::vector<Entry> entries_;  // the one given back last first
};

// The library's store.
KeptGifFrames& keptGifFrames();

// An index borrowed from a store for the time of one load (or one chain load).
class BorrowedGifFrames {
public:
    BorrowedGifFrames(const char* path, int64_t offset, KeptGifFrames& store = keptGifFrames());
    ~BorrowedGifFrames();
    BorrowedGifFrames(const BorrowedGifFrames&) = delete;
    BorrowedGifFrames& operator=(const BorrowedGifFrames&) = delete;

    GifFrameIndex* get() { return &index_; }

private:
    KeptGifFrames& store_;
    std::string path_;
    int64_t offset_;
    int64_t lentAt_;
    GifFrameIndex index_;
};

}  // namespace pixmill

#endif
