// Saving a frame chain as an animated GIF (or, with flags 0x200, through another format's writer
// one frame after another), each frame with the smallest table its colours need and its own
// table only when its palette differs from the first frame's.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/frames/frame_chain.h"
#include "formats/image_save.h"
#include "winplat/refusal.h"

using namespace pixmill;

namespace {

constexpr winplat::Refuser refuse("PXL32: frame save");

constexpr int32_t kFramesInAnyFormat = 0x200;
constexpr int32_t kBitsPerFrame = 0x400;

// Bits for a number of colours: 2 -> 1, 4 -> 2, ... above 128 -> 8.
int bitsForColours(int colours) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < colours) ++bits;
    return bits;
}

// One frame as it is written: the image itself or its 8-bit copy.
struct SavedFrame {
    PxlImageId source = 0;     // the chain's frame
    PxlImageId converted = 0;  // its 8-bit copy, deleted afterwards; 0 none
    int colours = 0;           // 1 + the highest index in use
    int paletteSize = 0;
    bool ownPalette = false;
    PxlImageId written() const { return converted ? converted : source; }
};

// 1 + the highest palette index any pixel uses (2 at least).
int coloursInUse(PxlImageId id) {
    std::vector<uint8_t> rows(256 * 7);
    const int entries = PXLGenerateHistogramIndexImage(id, rows.data(), 0);
    int used = 2;
    for (int i = 0; i < entries; ++i) {
        const uint32_t count = uint32_t{rows[size_t(7 * i)]} | uint32_t{rows[size_t(7 * i + 1)]} << 8 |
                               uint32_t{rows[size_t(7 * i + 2)]} << 16 |
                               uint32_t{rows[size_t(7 * i + 3)]} << 24;
        if (count) used = std::max(used, i + 1);
    }
    return used;
}

std::vector<RGBQUAD> paletteOf(PxlImageId id) {
    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header || image->bitCount() > 8) return {};
    return std::vector<RGBQUAD>(image->colors(), image->colors() + paletteSizeForBits(image->bitCount()));
}

bool samePalette(const std::vector<RGBQUAD>& frame, const std::vector<RGBQUAD>& first) {
    if (frame.size() > first.size()) return false;
    return std::equal(frame.begin(), frame.end(), first.begin(), [](const RGBQUAD& a, const RGBQUAD& b) {
        return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
    });
}

class FrameSaver {
  public:
    FrameSaver(PxlImageId first, int16_t formatId, int32_t flags, int16_t option)
        : first_(first), formatId_(formatId), flags_(flags), option_(option) {}
    ~FrameSaver() {
        for (const SavedFrame& f : frames_) {
            if (f.converted) PXLDeleteImage(f.converted);
        }
    }
    FrameSaver(const FrameSaver&) = delete;
    FrameSaver& operator=(const FrameSaver&) = delete;

    bool prepare();
    int16_t write(ByteStream& stream, PxlFrameCallback callback, intptr_t user);

  private:
    void describe(size_t index, const ImageRecord& image, PxlCodecInfo& info) const;

    PxlImageId first_;
    int16_t formatId_;
    int32_t flags_;
    int16_t option_;
    std::vector<SavedFrame> frames_;
    int globalColours_ = 0;
    std::string titles_;
    int screenWidth_ = 0, screenHeight_ = 0;
};

bool FrameSaver::prepare() {
    std::vector<PxlImageId> chain;
    walkChain(first_, Access::Read, [&](const ImageRecord& frame) {
        chain.push_back(frame.id);
        titles_ += frame.title.value_or("") + "|";
        // A chain that never had a screen shows all its frames.
        screenWidth_ = std::max(screenWidth_, frame.left + frame.width());
        screenHeight_ = std::max(screenHeight_, frame.top + frame.height());
        return true;
    });
    if (chain.empty()) return false;
    std::vector<RGBQUAD> firstPalette;
    for (PxlImageId id : chain) {
        SavedFrame f;
        f.source = id;
        if (PXLbpp(id) > 8) {
            f.converted = PXLColorConvert(id, 8, 2, 1, 0, nullptr, nullptr);
            if (f.converted == 0) return false;
        }
        frames_.push_back(f);
        SavedFrame& saved = frames_.back();
        saved.colours = coloursInUse(saved.written());
        const std::vector<RGBQUAD> palette = paletteOf(saved.written());
        saved.paletteSize = static_cast<int>(palette.size());
        if (frames_.size() == 1) {
            firstPalette = palette;
        } else {
            saved.ownPalette = !samePalette(palette, firstPalette);
        }
        if (!saved.ownPalette) globalColours_ = std::max(globalColours_, saved.colours);
    }
    return true;
}

void FrameSaver::describe(size_t index, const ImageRecord& image, PxlCodecInfo& info) const {
    const SavedFrame& f = frames_[index];
    const bool last = index + 1 == frames_.size();
    ImageLock source = lockImage(f.source, Access::Read);
    ImageLock head = lockImage(first_, Access::Read);
    describeForSaving(image, formatId_, flags_, option_, 0, info);
    if (f.converted) {
        // The copy has the pixels; the frame keeps its texts and transparency.
        PxlCodecInfo own;
        describeForSaving(*source, formatId_, flags_, option_, 0, own);
        info.comment = own.comment;
        info.textBlock = own.textBlock;
        info.transparency = own.transparency;
    }
    if (flags_ & kBitsPerFrame) {
        info.bitsPerPixel = static_cast<int16_t>(bitsForColours(index == 0 ? globalColours_ : f.colours));
    }
    info.wantedFrame = static_cast<int16_t>(index);
    info.flags = last ? 0 : 1;
    info.whiteIndex = PXLGetNearestColorIndex(frames_.front().written(), RGB(255, 255, 255));
    info.screenWidth = static_cast<int16_t>(head->screenWidth > 0 ? head->screenWidth : screenWidth_);
    info.screenHeight = static_cast<int16_t>(head->screenHeight > 0 ? head->screenHeight : screenHeight_);
    info.frameLeft = static_cast<int16_t>(source->left);
    info.frameTop = static_cast<int16_t>(source->top);
    info.repeatCount = static_cast<int16_t>(head->repeatCount);
    info.frameDelay = static_cast<int16_t>(source->delay);
    info.controlWord = static_cast<int16_t>(source->disposal);
    info.gifWriterWord = f.ownPalette ? 1 : 0;
    info.gifFrameWord = 1;
    info.title = last ? std::optional<std::string>(titles_) : std::nullopt;
    info.text = last ? head->animationText : std::nullopt;
}

int16_t FrameSaver::write(ByteStream& stream, PxlFrameCallback callback, intptr_t user) {
    FrameAppendState append;
    for (size_t i = 0; i < frames_.size(); ++i) {
        {
            ImageLock image = lockImage(frames_[i].written(), Access::Write);
            if (!image || !image->header) return refuse(int16_t{kCodecWriteError}, "a frame's image is gone");
            PxlCodecInfo info;
            describe(i, *image, info);
            if (int16_t r = writeDescribedImage(*image, formatId_, stream, info, nullptr, nullptr, &append);
                r != kCodecOk) {
                return r;
            }
        }
        if (callback && callback(first_, static_cast<int>(i), user) == 1) return kCodecStopped;
    }
    return kCodecOk;
}

}  // namespace

int16_t PXLSaveImageFrames(PxlImageId id, const char* path, int16_t formatId, int32_t flags, int16_t option,
                           PxlFrameCallback callback, intptr_t user) {
    if (id == 0 || !path) return 0;
    if (formatId != PXL_FORMAT_GIF && !(flags & kFramesInAnyFormat)) {
        return PXLSaveImage(id, path, formatId, flags, option, nullptr);
    }
    FrameSaver saver(id, formatId, flags, option);
    if (!saver.prepare()) return 0;
    const int16_t result =
        writeBesideAndReplace(path, [&](ByteStream& file) { return saver.write(file, callback, user); });
    if (result == kCodecStopped) return -1;
    return result == kCodecOk ? 1 : 0;
}
