// Drawing a picture through its mask, and optionally an alpha image, into a caller's 24-bit DIB.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/transparency/transparent_blit.h"

#include "core/edit/image_resize.h"
#include "core/edit/resize_samples.h"
#include "core/registry/image_create.h"
#include "core/registry/image_registry.h"
#include "core/rows/bitmap_math.h"
#include "core/rows/pixel_rows.h"
#include "core/transparency/masked_copy.h"
#include "core/transparency/resampled_rows.h"
#include "winplat/owners.h"

using namespace pixmill;

namespace {

struct Destination {
    uint8_t* bits = nullptr;
    size_t stride = 0;
    int width = 0;
    int height = 0;

    uint8_t* rowFromTop(int y) const { return bits + static_cast<size_t>(height - 1 - y) * stride; }
};

// The caller's header is all we know of its buffer, so anything but a plain bottom-up 24-bit DIB
// is refused before a byte is written.
bool describeDestination(const BITMAPINFOHEADER* header, uint8_t* bits, Destination& out) {
    if (!header || !bits) return false;
    if (header->biBitCount != 24 || header->biCompression != BI_RGB) return false;
    if (header->biWidth <= 0 || header->biHeight <= 0) return false;  // top-down rows run the other way
    const uint64_t stride = (uint64_t{static_cast<uint32_t>(header->biWidth)} * 24 + 31) / 32 * 4;
    const uint64_t bytes = stride * static_cast<uint32_t>(header->biHeight);
    if (header->biSizeImage != 0 && header->biSizeImage < bytes) return false;
    out.bits = bits;
    out.stride = static_cast<size_t>(stride);
    out.width = header->biWidth;
    out.height = header->biHeight;
    return true;
}

// Images made during one call, deleted on every way out.
class Scratch {
public:
    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() {
        for (PxlImageId id : ids_) PXLDeleteImage(id);
    }
    PxlImageId keep(PxlImageId id) {
        if (id) ids_.push_back(id);
        return id;
    }

private:
    std::vector<PxlImageId> ids_;
};

// The three layers locked for reading; the alpha may be missing.
struct Layers {
    ImageLock picture;
    ImageLock mask;
    ImageLock alpha;
};

struct Area {
    int64_t left;
    int64_t top;
    int64_t right;  // exclusive
    int64_t bottom;
};

inline bool maskSet(const uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

// 8-bit pictures: d + (s - d) * (255 - a) / 255 per channel, so alpha 0 gives the picture's colour
// exactly. The result lies between d and s and needs no clamping.
inline void blendDivided(uint8_t* d, const uint8_t* s, int a) {
    if (a == 0) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        return;
    }
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(d[c] + (s[c] - d[c]) * (255 - a) / 255);
}

// The bytes an image's pixels occupy, as addresses.
struct Span {
    uintptr_t from;
    uintptr_t to;  // exclusive
};

Span spanOf(const ImageRecord& image) {
    const auto from = reinterpret_cast<uintptr_t>(image.bits);
    return {from, from + static_cast<uintptr_t>(scanBytesForWidth(image.width(), image.bitCount())) *
                             static_cast<uintptr_t>(image.height())};
}

// Whether the rows may be drawn from the bottom up. Layers and destination are all stored bottom
// up, so that order reads and writes memory forwards, row after row, and the hardware prefetchers
// keep pace across rows; drawn from the top, every row starts with a run of cache misses, which
// halved the speed of large blits. A destination sharing memory with a layer keeps the top-down
// order it always had, since there the order decides which pixels are read after being written.
bool rowsMayGoUpwards(const ImageRecord& picture, const ImageRecord& mask, const ImageRecord* alpha,
                      const Destination& dest) {
    const auto first = reinterpret_cast<uintptr_t>(dest.bits);
    const Span out{first, first + dest.stride * static_cast<uintptr_t>(dest.height)};
    auto apart = [&](const ImageRecord& layer) {
        const Span in = spanOf(layer);
        return in.to <= out.from || out.to <= in.from;
    };
    return apart(picture) && apart(mask) && (!alpha || apart(*alpha));
}

// The picture's colours as blue, green, red triplets, by index (palette pictures only).
using RowPalette = std::array<std::array<uint8_t, 3>, 256>;

template <int Bits>
RowPalette rowPalette(const ImageRecord& picture) {
    RowPalette palette{};
    if (Bits <= 8) {
        for (int i = 0; i < paletteSizeForBits(Bits); ++i) {
            const RGBQUAD& c = picture.colors()[i];
            palette[i] = {c.rgbBlue, c.rgbGreen, c.rgbRed};
        }
    }
    return palette;
}

// Composes pixels [sx, sx + w) of one row of each layer onto out, the destination pixel of sx.
template <int Bits, bool WithAlpha>
void composeRow(const RowPalette& palette, const uint8_t* in, const uint8_t* maskRow, const uint8_t* alphaRow,
                int sx, int w, uint8_t* out) {
    if (Bits == 24) {
        if (WithAlpha) {
            blendUnmasked24(in, maskRow, alphaRow, sx, w, out);
        } else {
            copyUnmasked24(in, maskRow, sx, w, out);
        }
        return;
    }
    for (int c = 0; c < w; ++c, out += 3) {
        const int x = sx + c;
        const uint8_t* s = Bits == 24 ? in + 3 * x : palette[indexAt(in, x, Bits)].data();
        if (WithAlpha && Bits != 8) {
            // d + ((s - d) * (255 - a) >> 8) as blendUnmasked24 does for 24-bit pictures, which
            // can end one short of s at alpha 0 and stays between d and s. A masked pixel weighs
            // nothing, which leaves d as it is: no branch to mispredict on scattered masks.
            const int weight = maskSet(maskRow, x) ? 0 : 255 - alphaRow[x];
            for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>(out[k] + (((s[k] - out[k]) * weight) >> 8));
            continue;
        }
        if (maskSet(maskRow, x)) continue;
        if (WithAlpha) {
            blendDivided(out, s, alphaRow[x]);
        } else {
            out[0] = s[0];
            out[1] = s[1];
            out[2] = s[2];
        }
    }
}

// Composes w x h pixels of the layers from (sx, sy) at (dx, dy) of the destination. The callers
// keep every coordinate inside the images and the destination.
template <int Bits, bool WithAlpha>
void composeRows(const ImageRecord& picture, const ImageRecord& mask, const ImageRecord* alpha, int sx,
                 int sy, int w, int h, const Destination& dest, int dx, int dy) {
    const RowPalette palette = rowPalette<Bits>(picture);
    const bool upwards = rowsMayGoUpwards(picture, mask, alpha, dest);
    for (int step = 0; step < h; ++step) {
        const int r = upwards ? h - 1 - step : step;
        const uint8_t* in = rowFromTop(picture, sy + r);
        const uint8_t* maskRow = rowFromTop(mask, sy + r);
        const uint8_t* alphaRow = WithAlpha ? rowFromTop(*alpha, sy + r) : nullptr;
        uint8_t* out = dest.rowFromTop(dy + r) + 3 * static_cast<size_t>(dx);
        composeRow<Bits, WithAlpha>(palette, in, maskRow, alphaRow, sx, w, out);
    }
}

template <int Bits>
void composeDepth(const ImageRecord& picture, const ImageRecord& mask, const ImageRecord* alpha, int sx,
                  int sy, int w, int h, const Destination& dest, int dx, int dy) {
    if (alpha) {
        composeRows<Bits, true>(picture, mask, alpha, sx, sy, w, h, dest, dx, dy);
    } else {
        composeRows<Bits, false>(picture, mask, alpha, sx, sy, w, h, dest, dx, dy);
    }
}

bool composableDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 24;
}

// Whether the picture can be composed through this mask and alpha: a 1-bit mask and an 8-bit
// alpha, both of the picture's size.
bool layersAgree(const Layers& l) {
    const ImageRecord& p = *l.picture;
    if (!composableDepth(p.bitCount())) return false;
    if (l.mask->bitCount() != 1 || l.mask->width() != p.width() || l.mask->height() != p.height())
        return false;
    return !l.alpha ||
           (l.alpha->bitCount() == 8 && l.alpha->width() == p.width() && l.alpha->height() == p.height());
}

// Whether the layers agree, and w x h from (sx, sy) lies inside them and from (dx, dy) inside the
// destination.
bool fits(const Layers& l, int sx, int sy, int w, int h, const Destination& dest, int dx, int dy) {
    if (!layersAgree(l)) return false;
    const ImageRecord& p = *l.picture;
    if (w <= 0 || h <= 0 || sx < 0 || sy < 0 || sx + w > p.width() || sy + h > p.height()) return false;
    return dx >= 0 && dy >= 0 && int64_t{dx} + w <= dest.width && int64_t{dy} + h <= dest.height;
}

bool compose(const Layers& l, int sx, int sy, int w, int h, const Destination& dest, int dx, int dy) {
    if (!fits(l, sx, sy, w, h, dest, dx, dy)) return false;
    const ImageRecord* alpha = l.alpha ? l.alpha.get() : nullptr;
    switch (l.picture->bitCount()) {
        case 1:
            composeDepth<1>(*l.picture, *l.mask, alpha, sx, sy, w, h, dest, dx, dy);
            break;
        case 4:
            composeDepth<4>(*l.picture, *l.mask, alpha, sx, sy, w, h, dest, dx, dy);
            break;
        case 8:
            composeDepth<8>(*l.picture, *l.mask, alpha, sx, sy, w, h, dest, dx, dy);
            break;
        default:
            composeDepth<24>(*l.picture, *l.mask, alpha, sx, sy, w, h, dest, dx, dy);
            break;
    }
    return true;
}

// Locks the three layers for reading; false unless each that is named could be had.
bool lockLayers(PxlImageId picture, PxlImageId mask, PxlImageId alpha, Layers& out) {
    out.picture = lockImage(picture, Access::Read);
    out.mask = lockImage(mask, Access::Read);
    if (alpha) out.alpha = lockImage(alpha, Access::Read);
    return out.picture && out.picture->header && out.mask && out.mask->header &&
           (!alpha || (out.alpha && out.alpha->header));
}

// New images of every layer resized to w x h (after an optional crop), kept in scratch.
bool scaledLayers(PxlImageId picture, PxlImageId mask, PxlImageId alpha, const Area* crop, int w, int h,
                  Scratch& scratch, Layers& out) {
    PxlImageId ids[3] = {picture, mask, alpha};
    for (PxlImageId& id : ids) {
        if (id == 0) continue;
        if (crop) {
            id = scratch.keep(PXLCropImage(id, static_cast<int32_t>(crop->left), static_cast<int32_t>(crop->top),
                                           static_cast<int32_t>(crop->right), static_cast<int32_t>(crop->bottom)));
            if (id == 0) return false;
        }
        // Resized as the display draws it; a part one pixel wide is still drawn.
        id = scratch.keep(drawResized(id, w, h));
        if (id == 0) return false;
    }
    return lockLayers(ids[0], ids[1], ids[2], out);
}

// Composes the layers, from (originX, originY) on, at the pixels the samples give them, each
// destination row from rows of the layers resampled on the fly; a source row shown on several
// destination rows is resampled once. Bottom up: layers and destination are stored so, and the
// callers make sure nothing read here is written.
template <int Bits, bool WithAlpha>
void composeResampledRows(const Layers& l, const ResizeSamples& samples, int originX, int originY,
                          const Destination& dest, int dx, int dy) {
    std::vector<int> columns = samples.columns;
    for (int& c : columns)
        if (c >= 0) c += originX;
    const int w = static_cast<int>(columns.size());
    ResampledRows rows(std::move(columns), l.picture->width(), Bits, WithAlpha);
    const RowPalette palette = rowPalette<Bits>(*l.picture);
    const ImageRecord* alpha = WithAlpha ? l.alpha.get() : nullptr;
    for (int r = static_cast<int>(samples.rows.size()) - 1; r >= 0; --r) {
        const int y = samples.rows[static_cast<size_t>(r)];
        rows.build(*l.picture, *l.mask, alpha, y < 0 ? -1 : y + originY);
        uint8_t* out = dest.rowFromTop(dy + r) + 3 * static_cast<size_t>(dx);
        composeRow<Bits, WithAlpha>(palette, rows.picture(), rows.mask(), rows.alpha(), 0, w, out);
    }
}

template <int Bits>
void composeResampledDepth(const Layers& l, const ResizeSamples& samples, int originX, int originY,
                           const Destination& dest, int dx, int dy) {
    if (l.alpha) {
        composeResampledRows<Bits, true>(l, samples, originX, originY, dest, dx, dy);
    } else {
        composeResampledRows<Bits, false>(l, samples, originX, originY, dest, dx, dy);
    }
}

// The layers (their part 'crop', or all of them) as resized to w x h, composed at (dx, dy).
void composeResampled(const Layers& l, const Area* crop, int w, int h, const Destination& dest, int dx, int dy) {
    const Area whole{0, 0, l.picture->width() - 1, l.picture->height() - 1};
    const Area& part = crop ? *crop : whole;
    const ResizeSamples samples = drawnResizeSamples(w, h, static_cast<int>(part.right - part.left + 1),
                                                     static_cast<int>(part.bottom - part.top + 1));
    const int x = static_cast<int>(part.left), y = static_cast<int>(part.top);
    switch (l.picture->bitCount()) {
        case 1:
            composeResampledDepth<1>(l, samples, x, y, dest, dx, dy);
            break;
        case 4:
            composeResampledDepth<4>(l, samples, x, y, dest, dx, dy);
            break;
        case 8:
            composeResampledDepth<8>(l, samples, x, y, dest, dx, dy);
            break;
        default:
            composeResampledDepth<24>(l, samples, x, y, dest, dx, dy);
            break;
    }
}

// Whether the bitmap's own colour table, which drawing reads, is the image's colour table.
bool bitmapHoldsColours(const ImageRecord& image) {
    const int size = paletteSizeForBits(image.bitCount());
    const winplat::MemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    const winplat::Selection selected(dc.get(), image.bitmap.get());
    std::array<RGBQUAD, 256> table{};
    if (!selected || GetDIBColorTable(dc.get(), 0, static_cast<UINT>(size), table.data()) != UINT(size)) return false;
    for (int i = 0; i < size; ++i) {
        const RGBQUAD& a = table[static_cast<size_t>(i)];
        const RGBQUAD& b = image.colors()[i];
        if (a.rgbRed != b.rgbRed || a.rgbGreen != b.rgbGreen || a.rgbBlue != b.rgbBlue) return false;
    }
    return true;
}

// Whether a resized copy of the layer holds its values and, for a picture, its colours: a copy's
// colour table takes only the colours the layer says it uses (the rest are the defaults); a
// copy drawn straight from the layer (not from a crop) keeps the values of an indexed layer
// only when the layer's bitmap has the table the copy gets; a turned layer draws a placeholder.
bool copyKeepsValues(const ImageRecord& layer, bool isPicture, bool cropped) {
    if (layer.rotateAngle != 0) return false;
    const int bits = layer.bitCount();
    if (bits > 8 || (bits == 1 && !isPicture) || (cropped && !isPicture)) return true;
    const DWORD used = layer.infoHeader().biClrUsed;
    if (used != 0 && used < static_cast<DWORD>(paletteSizeForBits(bits))) return false;
    return cropped || bits == 1 || bitmapHoldsColours(layer);
}

// Whether composing row by row gives the pixels the resized copies give: the copies could be made
// (the old way fails where they cannot), no layer shares memory with the destination (the copies
// were all read before a byte was written), and every copy would keep its layer's values.
bool rowsKeepPixels(const Layers& l, bool cropped, int w, int h, const Destination& dest) {
    const int64_t copyBytes = int64_t{scanBytesForWidth(w, 24)} * h;
    if (w > kMaxImageSide || h > kMaxImageSide || copyBytes > INT32_MAX) return false;
    const ImageRecord* alpha = l.alpha ? l.alpha.get() : nullptr;
    if (!rowsMayGoUpwards(*l.picture, *l.mask, alpha, dest)) return false;
    return copyKeepsValues(*l.picture, true, cropped) && copyKeepsValues(*l.mask, false, cropped) &&
           (!alpha || copyKeepsValues(*alpha, false, cropped));
}

// The layers resized to w x h (after an optional crop) composed at (dx, dy), by the route asked
// for where it keeps the pixels.
int16_t composeStretched(const Layers& layers, const PxlImageId (&ids)[3], const Area* crop, int w, int h,
                         const Destination& dest, int dx, int dy, StretchRoute route, StretchRoute* taken,
                         Scratch& scratch) {
    const bool byRows = route == StretchRoute::Rows && rowsKeepPixels(layers, crop != nullptr, w, h, dest);
    if (taken) *taken = byRows ? StretchRoute::Rows : StretchRoute::ResizedCopies;
    if (byRows) {
        composeResampled(layers, crop, w, h, dest, dx, dy);
        return 1;
    }
    Layers scaled;
    if (!scaledLayers(ids[0], ids[1], ids[2], crop, w, h, scratch, scaled)) return 0;
    return compose(scaled, 0, 0, w, h, dest, dx, dy) ? 1 : 0;
}

}  // namespace

namespace pixmill {

int16_t stretchBltTransparent(const BITMAPINFOHEADER* destHeader, uint8_t* destBits, int left, int top, int right,
                              int bottom, PxlImageId id, int16_t useTransparencyImage, PxlImageId alphaId,
                              PxlImageId maskId, int16_t plate, int16_t keep, StretchRoute route,
                              StretchRoute* taken) {
    int64_t l = std::min(left, right), r = std::max(left, right);
    int64_t t = std::min(top, bottom), b = std::max(top, bottom);
    Destination dest;
    if (l == r || t == b || id == 0 || !describeDestination(destHeader, destBits, dest)) return 0;
    if (l >= dest.width || t >= dest.height || r <= 0 || b <= 0) return 0;  // nothing of it is visible
    // 0 and 1 draw the picture itself; 2..5 a plate; other numbers name no plate at all.
    if (plate < 0 || plate > PXL_PLATE_BLACK) return 0;

    // The rotated copy and the mask first, with nothing locked: both are made on demand and kept
    // with the image. A rotated picture's mask is turned with it.
    Scratch scratch;
    PXLGetImageRotateImage(id);
    const PxlImageId mask =
        scratch.keep(maskId ? PXLCreateImageFrom(maskId, 1) : PXLGetImageTransparentImage(id));
    if (mask == 0) return 0;  // only pictures with transparency are drawn here

    ImageLock image = lockImage(id, Access::Read);
    if (!image || !image->header) return 0;
    const int angle = image->rotateAngle;
    PxlImageId picture = angle ? image->rotatedImage : id;  // alive while the image is locked
    if (picture == 0) return 0;
    if (plate >= PXL_PLATE_CYAN) {
        picture = scratch.keep(PXLCreateImageSeparateColor(picture, plate, keep));
        if (picture == 0) return 0;
    }
    // The image's own transparency image is an alpha only when it has 8 bits; a 1-bit one is a
    // mask, and reaches the drawing through the combined mask.
    PxlImageId alpha = alphaId;
    if (alpha == 0 && useTransparencyImage && image->transparencyImage &&
        PXLbpp(image->transparencyImage) == 8) {
        // Alive while the image is locked, as is its turned copy.
        alpha = angle ? PXLGetImageRotateImageMask(image->transparencyImage, angle) : image->transparencyImage;
        if (alpha == 0) return 0;
    }

    Layers layers;
    if (!lockLayers(picture, mask, alpha, layers) || !layersAgree(layers)) return 0;
    const int pictureWidth = layers.picture->width();
    const int pictureHeight = layers.picture->height();
    const int64_t width = r - l;
    const int64_t height = b - t;
    const double scaleX = static_cast<double>(width) / pictureWidth;
    const double scaleY = static_cast<double>(height) / pictureHeight;
    const bool unscaled = width == pictureWidth && height == pictureHeight;

    const PxlImageId ids[3] = {picture, mask, alpha};
    if (l >= 0 && t >= 0 && r <= dest.width && b <= dest.height) {
        if (unscaled) return compose(layers, 0, 0, pictureWidth, pictureHeight, dest, int(l), int(t)) ? 1 : 0;
        return composeStretched(layers, ids, nullptr, int(width), int(height), dest, int(l), int(t), route, taken,
                                scratch);
    }

    // The visible part, in the rectangle's own coordinates.
    Area part{0, 0, width, height};
    if (l < 0) part.left = -l;
    if (t < 0) part.top = -t;
    if (r > dest.width) part.right = dest.width - l;
    if (b > dest.height) part.bottom = dest.height - t;
    const int dx = static_cast<int>(std::max<int64_t>(l, 0));
    const int dy = static_cast<int>(std::max<int64_t>(t, 0));
    const int partWidth = static_cast<int>(part.right - part.left);
    const int partHeight = static_cast<int>(part.bottom - part.top);
    if (partWidth <= 0 || partHeight <= 0) return 0;
    if (unscaled) {
        return compose(layers, int(part.left), int(part.top), partWidth, partHeight, dest, dx, dy) ? 1 : 0;
    }

    // Each edge of the part in picture pixels, rounded as the rest of the library rounds it; a part
    // narrower than one picture pixel still shows the pixel it lies on.
    auto toPicture = [](int64_t v, double scale) { return static_cast<int64_t>((v + 0.4999) / scale); };
    Area crop{toPicture(part.left, scaleX), toPicture(part.top, scaleY), toPicture(part.right, scaleX) - 1,
              toPicture(part.bottom, scaleY) - 1};
    crop.left = std::clamp<int64_t>(crop.left, 0, pictureWidth - 1);
    crop.top = std::clamp<int64_t>(crop.top, 0, pictureHeight - 1);
    crop.right = std::clamp<int64_t>(crop.right, crop.left, pictureWidth - 1);
    crop.bottom = std::clamp<int64_t>(crop.bottom, crop.top, pictureHeight - 1);
    return composeStretched(layers, ids, &crop, partWidth, partHeight, dest, dx, dy, route, taken, scratch);
}

}  // namespace pixmill

int16_t PXLStretchBltTransparent(HDC /*ignored*/, const BITMAPINFOHEADER* destHeader, uint8_t* destBits,
                                 int left, int top, int right, int bottom, PxlImageId id,
                                 int16_t useTransparencyImage, PxlImageId alphaId, PxlImageId maskId,
                                 int16_t plate, int16_t keep) {
    return stretchBltTransparent(destHeader, destBits, left, top, right, bottom, id, useTransparencyImage, alphaId,
                                 maskId, plate, keep, StretchRoute::Rows);
}
