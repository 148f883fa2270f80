// The record behind an image id.
#ifndef PIXMILL_CORE_IMAGE_RECORD_H
#define PIXMILL_CORE_IMAGE_RECORD_H

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "pixmill/pixmill.h"
#include "winplat/owners.h"

namespace pixmill {

constexpr int kMaxTransparencyEntries = 10;

// A GIF text-extension block: 81 bytes of plain-text parameters and the text they frame.
struct TextBlock {
    std::array<uint8_t, 81> parameters{};
    std::string text;
};

// A linked image a record owns (its next frame, mask, transparency image, turned copy or saved
// area): one reference to the id, given up through PXLDeleteImage when the owner resets it or goes.
// It reads as the id it names; taking, handing on and dropping are spelled out. A record being
// freed hands its links to the registry's work list with release(), so that no release runs
// inside another one (a chain of thousands of frames would run the stack out).
class OwnedImageId {
public:
    OwnedImageId() = default;
    explicit OwnedImageId(PxlImageId id) : id_(id) {}
    ~OwnedImageId() { reset(); }
    OwnedImageId(OwnedImageId&& other) noexcept : id_(other.release()) {}
    OwnedImageId& operator=(OwnedImageId&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    OwnedImageId(const OwnedImageId&) = delete;
    OwnedImageId& operator=(const OwnedImageId&) = delete;

    operator PxlImageId() const { return id_; }
    PxlImageId get() const { return id_; }
    // Hands the reference on: the caller owns it now.
    [[nodiscard]] PxlImageId release() { return std::exchange(id_, PxlImageId{0}); }
    // Takes 'id' over and gives up the one held before, after the field no longer names it.
    void reset(PxlImageId id = 0) {
        if (const PxlImageId old = std::exchange(id_, id)) PXLDeleteImage(old);
    }

private:
    PxlImageId id_ = 0;
};

// Who holds a record: any number of readers (drawing counts as reading) or one writer. The holder
// thread may lock again in any mode (nested calls are normal inside the library).
struct RecordAccess {
    std::thread::id writer;
    int writerDepth = 0;
    std::vector<std::pair<std::thread::id, int>> readers;  // per thread, its nesting depth

    bool idle() const { return writerDepth == 0 && readers.empty(); }
};

struct ImageRecord {
    PxlImageId id = 0;

    // Pixels: a DIB section (handed to the caller when the image is detached), the owned copy of
    // its BITMAPINFO (header, colour table or bit-field masks) and the section's bits.
    winplat::OwnedBitmap bitmap;
    int32_t headerSize = 0;
    std::unique_ptr<uint8_t[]> header;
    uint8_t* bits = nullptr;

    // Animation frame chain.
    OwnedImageId nextFrame;
    int32_t frameFlag = 0;
    PxlImageId firstFrame = 0;  // refers back only
    int32_t delay = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t disposal = 0;
    int32_t repeatCount = -1;

    // Transparency.
    std::array<PxlTransparencyEntry, kMaxTransparencyEntries> entries{};
    int32_t entryCount = 0;
    OwnedImageId mask;
    OwnedImageId transparencyImage;

    std::optional<std::string> comment;
    std::optional<std::string> title;
    std::optional<std::string> animationText;
    std::optional<TextBlock> textBlock;

    // Composition state kept on the first frame.
    int32_t lastDisposal = 0;
    std::array<int32_t, 4> lastArea{};
    OwnedImageId savedArea;

    int32_t rotateAngle = 0;
    // The copy turned by rotateAngle; for an unrotated image (a mask or transparency image of a
    // rotated picture) its copy turned by turnedAngle.
    OwnedImageId rotatedImage;
    int32_t turnedAngle = 0;

    int32_t referenceCount = 1;

    // Guarded by the registry's mutex.
    RecordAccess access;
    bool freed = false;

    BITMAPINFO* info() const { return reinterpret_cast<BITMAPINFO*>(header.get()); }
    BITMAPINFOHEADER& infoHeader() const { return info()->bmiHeader; }
    int width() const { return infoHeader().biWidth; }
    int height() const { return infoHeader().biHeight; }
    int bitCount() const { return infoHeader().biBitCount; }
    // The colour table (palette images only), blue-green-red order.
    RGBQUAD* colors() const { return info()->bmiColors; }
};

}  // namespace pixmill

#endif
