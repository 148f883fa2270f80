#include "formats/png_codec.h"

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/library_state.h"
#include "formats/bgr_rows.h"
#include "resources/pixmill_ids.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: PNG");

constexpr int32_t kInterlaceOption = 0x80;

void report(const char* kind, png_const_charp message) {
    const std::string line = std::string("PXL32: PNG ") + kind + ": " + (message ? message : "") + "\n";
    OutputDebugStringA(line.c_str());
}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    report("error", message);
    png_longjmp(png, 1);
}

// libpng warns about much that other programs accept (a known incorrect sRGB profile, an unknown
// chunk, a bad checksum on an ancillary chunk): the warning is logged and the work goes on.
void onWarning(png_structp, png_const_charp message) { report("warning", message); }

void readBytes(png_structp png, png_bytep data, size_t length) {
    auto* stream = static_cast<ByteStream*>(png_get_io_ptr(png));
    if (length > UINT32_MAX || !stream->read(data, static_cast<uint32_t>(length))) {
        png_error(png, "unexpected end of the file");
    }
}

void writeBytes(png_structp png, png_bytep data, size_t length) {
    auto* stream = static_cast<ByteStream*>(png_get_io_ptr(png));
    if (length > UINT32_MAX || !stream->write(data, static_cast<uint32_t>(length))) png_error(png, "write error");
}

void flushNothing(png_structp) {}

// Runs step with libpng's recovery point armed: false when libpng reported an error inside it.
// Nothing between the recovery point and the failing library call owns anything to destroy.
template <class Step>
bool guardedPng(png_structp png, Step&& step) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    step();
    return true;
}

struct Reader {
    png_structp png = nullptr;
    png_infop info = nullptr;

    Reader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~Reader() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
    bool ready() const { return png && info; }
};

struct Writer {
    png_structp png = nullptr;
    png_infop info = nullptr;

    Writer() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png) info = png_create_info_struct(png);
    }
    ~Writer() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
    bool ready() const { return png && info; }
};

// What the header says, as libpng reports it before any transformation.
struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int channels = 0;
    bool interlaced = false;
};

Header headerOf(Reader& r) {
    Header h;
    h.width = png_get_image_width(r.png, r.info);
    h.height = png_get_image_height(r.png, r.info);
    h.bitDepth = png_get_bit_depth(r.png, r.info);
    h.colourType = png_get_color_type(r.png, r.info);
    h.channels = png_get_channels(r.png, r.info);
    h.interlaced = png_get_interlace_type(r.png, r.info) != PNG_INTERLACE_NONE;
    return h;
}

bool validSide(png_uint_32 side) { return side > 0 && side <= static_cast<png_uint_32>(kMaxCodecSide); }

// Opens the file at the call's offset and reads up to the image data; false on a libpng error.
bool readHeader(CodecCall& call, Reader& r) {
    return guardedPng(r.png, [&] {
        png_set_read_fn(r.png, &call.stream, readBytes);
        png_read_info(r.png, r.info);
    });
}

// The image depth: 2-bit and 16-bit pictures, and any of 16 bits a pixel, become 24-bit colour or
// 8-bit grey; grey with alpha becomes grey; colour with alpha becomes 24-bit.
int bitsPerPixelOf(const Header& h, bool& greyRamp) {
    int bits = h.bitDepth * h.channels;
    greyRamp = h.colourType == PNG_COLOR_TYPE_GRAY;
    if (h.bitDepth == 16 || h.bitDepth == 2 || bits == 16) bits = greyRamp ? 8 : 24;
    if ((h.bitDepth == 8 || h.bitDepth == 16) && h.channels == 2) {
        bits = 8;
        greyRamp = true;
    }
    if ((h.bitDepth == 8 || h.bitDepth == 16) && h.channels == 4) bits = 24;
    return std::min(bits, 24);
}

// Grey levels spread evenly from black to white over the entries the depth can index.
void fillGreyRamp(PxlCodecInfo& record, int bits) {
    const int entries = paletteSizeForBits(bits);
    for (int i = 0; i < entries; ++i) {
        const auto v = static_cast<uint8_t>(i * 255 / (entries - 1));
        record.setPaletteEntry(i, v, v, v);
    }
}

int16_t info(CodecCall& call) {
    PxlCodecInfo& record = call.info;
    const int64_t length = call.stream.fileLength();
    if (!call.stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecCannotOpen, "the picture's start cannot be reached");
    }
    Reader r;
    if (!r.ready() || !readHeader(call, r)) return refuse(kCodecBadFormat, "libpng cannot read the header");
    const Header h = headerOf(r);
    if (!validSide(h.width) || !validSide(h.height)) {
        return refuse(kCodecBadFormat, "a size outside 1 to 32767");
    }
    record.width = static_cast<int16_t>(h.width);
    record.height = static_cast<int16_t>(h.height);
    record.imageBytes = 0;
    record.frameCount = 1;
    record.fileSize = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
    bool greyRamp = false;
    record.bitsPerPixel = static_cast<int16_t>(bitsPerPixelOf(h, greyRamp));
    record.flags = h.interlaced ? kFlagNotScalable : 0;
    record.setDetail(descriptionText(h.interlaced ? res::kDetailLzwInterlaced : res::kDetailLzwCompression));
    record.palette.fill(0);
    if (greyRamp && record.bitsPerPixel <= 8) {
        fillGreyRamp(record, record.bitsPerPixel);
    } else if (h.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(r.png, r.info, &entries, &count) && entries) {
            for (int i = 0; i < std::min(count, 256); ++i) {
                record.setPaletteEntry(i, entries[i].red, entries[i].green, entries[i].blue);
            }
        }
    }
    return kCodecOk;
}

// Asks libpng for rows of the image's depth: 2-bit pictures expanded, 16-bit samples cut to their
// high byte, colour in blue-green-red order. Returns the number of interlace passes.
int setTransforms(Reader& r, const Header& h) {
    if (h.bitDepth == 2) {
        png_set_expand(r.png);
        if (h.colourType == PNG_COLOR_TYPE_PALETTE) png_set_bgr(r.png);
    }
    if (h.bitDepth == 16) png_set_strip_16(r.png);
    if (h.colourType == PNG_COLOR_TYPE_RGB || h.colourType == PNG_COLOR_TYPE_RGB_ALPHA) png_set_bgr(r.png);
    const int passes = png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    return passes;
}

// Drops the last byte of each pixel (the alpha) of a row of 'channels' bytes a pixel.
void dropAlpha(const uint8_t* in, uint8_t* out, int width, int channels) {
    const int kept = channels - 1;
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < kept; ++c) out[kept * x + c] = in[channels * x + c];
    }
}

int16_t load(CodecCall& call) {
    const RowLayout layout = prepareRowTransfer(call.info);
    if (!call.stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecCannotOpen, "the picture's start cannot be reached");
    }
    Reader r;
    if (!r.ready() || !readHeader(call, r)) return refuse(kCodecBadFormat, "libpng cannot read the header");
    const Header h = headerOf(r);
    if (static_cast<int>(h.width) != layout.width || static_cast<int>(h.height) != layout.height) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    int passes = 1;
    if (!guardedPng(r.png, [&] { passes = setTransforms(r, h); })) {
        return refuse(kCodecBadFormat, "libpng refused the transformations");
    }

    // The rows libpng will deliver must be rows of the image once alpha is dropped, and no longer
    // than the image's: the file decides what libpng delivers, the info call decided the image.
    const int depth = png_get_bit_depth(r.png, r.info);
    const int channels = png_get_channels(r.png, r.info);
    const size_t rowBytes = png_get_rowbytes(r.png, r.info);
    const bool alpha = depth == 8 && (channels == 2 || channels == 4);
    const int delivered = depth * (alpha ? channels - 1 : channels);
    const uint64_t neededBytes = (uint64_t{h.width} * static_cast<uint64_t>(delivered) + 7) / 8;
    if (delivered != layout.depth || neededBytes > layout.stride ||
        (!alpha && rowBytes > layout.stride) || rowBytes == 0) {
        return refuse(kCodecBadFormat, "libpng would deliver rows the image cannot take");
    }

    const int width = layout.width;
    const int height = layout.height;
    std::vector<uint8_t> out(layout.stride);
    // Interlaced pictures are complete only after the last pass, so they are decoded whole first.
    const size_t decodedRows = passes > 1 ? static_cast<size_t>(height) : 1;
    const size_t decodedStride = std::max<size_t>(rowBytes, layout.stride);
    // calloc: fresh zeroed pages, touched only as rows arrive, so a damaged file that claims a huge
    // picture costs little before it fails.
    const std::unique_ptr<uint8_t, decltype(&std::free)> decoded(
        static_cast<uint8_t*>(std::calloc(decodedRows, decodedStride)), &std::free);
    if (!decoded) return refuse(kCodecNoMemory, "no memory for the decoded rows");
    // A picture read in one pass goes straight into the rows the sink lends, when it lends them:
    // rows with alpha lose it on the way there.
    auto lent = [&](int j, size_t bytes) { return passes == 1 ? call.sink->rowTarget(j, bytes) : nullptr; };
    auto rowAt = [&](int j) -> uint8_t* {
        if (passes > 1) return decoded.get() + static_cast<size_t>(j) * decodedStride;
        uint8_t* target = alpha ? nullptr : lent(j, rowBytes);
        return target ? target : decoded.get();
    };
    auto deliver = [&](int j, const uint8_t* row) {
        if (alpha) {
            uint8_t* target = lent(j, static_cast<size_t>(neededBytes));
            if (!target) target = out.data();
            dropAlpha(row, target, width, channels);
            row = target;
        }
        return call.sink->putRow(row, j) == kCodecOk;
    };

    bool stopped = false;
    const bool read = guardedPng(r.png, [&] {
        for (int pass = 0; pass < passes; ++pass) {
            for (int j = 0; j < height; ++j) {
                uint8_t* row = rowAt(j);
                png_read_row(r.png, row, nullptr);
                if (j % passes == pass) {
                    call.tick();
                    if (!loadContinues()) {
                        stopped = true;
                        return;
                    }
                }
                if (passes == 1 && !deliver(j, row)) {
                    stopped = true;
                    return;
                }
            }
        }
        png_read_end(r.png, nullptr);
    });
    if (!read) return refuse(kCodecBadFormat, "libpng failed while decoding");
    if (stopped) return kCodecStopped;
    for (int j = 0; passes > 1 && j < height; ++j) {
        if (!deliver(j, rowAt(j))) return kCodecStopped;
    }
    return kCodecOk;
}

int16_t save(CodecCall& call) {
    const PxlCodecInfo& record = call.info;
    const int width = record.width;
    const int height = record.height;
    if (width <= 0 || height <= 0 || width > kMaxCodecSide || height > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "a size outside 1 to 32767");
    }
    const int sourceBits = record.bitsPerPixel == 16 ? 16 : normalizeBitsPerPixel(record.bitsPerPixel);
    const bool palette = sourceBits <= 8;
    const bool interlaced = (record.option1 & kInterlaceOption) != 0;

    std::vector<uint8_t> source(widestSourceRow(width));
    std::vector<uint8_t> converted(3 * static_cast<size_t>(width));
    std::vector<png_color> entries(palette ? static_cast<size_t>(paletteSizeForBits(sourceBits)) : 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i] = png_color{record.palette[3 * i], record.palette[3 * i + 1], record.palette[3 * i + 2]};
    }
    auto rowFor = [&]() -> png_bytep {
        if (palette || sourceBits == 24) return source.data();
        sourceRowToBgr(source.data(), sourceBits, width, record, converted.data());
        return converted.data();
    };

    Writer w;
    if (!w.ready()) return refuse(kCodecWriteError, "libpng cannot start writing");
    const bool written = guardedPng(w.png, [&] {
        png_set_write_fn(w.png, &call.stream, writeBytes, flushNothing);
        png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     palette ? sourceBits : 8, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
                     interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        if (palette) png_set_PLTE(w.png, w.info, entries.data(), static_cast<int>(entries.size()));
        png_write_info(w.png, w.info);
        if (!palette) png_set_bgr(w.png);
        const int passes = interlaced ? png_set_interlace_handling(w.png) : 1;
        for (int pass = 0; pass < passes; ++pass) {
            for (int j = 0; j < height; ++j) {
                call.source->getRow(source.data(), j);
                png_write_row(w.png, rowFor());
                if (j % passes == pass) call.tick();
            }
        }
        png_write_end(w.png, nullptr);
    });
    if (!written) return refuse(kCodecWriteError, "libpng or a write failed");
    if (call.stream.isFile() && !call.stream.seek(0, SEEK_CUR)) {
        return refuse(kCodecWriteError, "the written bytes could not be pushed out");
    }
    return kCodecOk;
}

bool recognise(const ContentProbe& probe) { return std::memcmp(probe.bytes, "\x89PNG\r\n\x1A\n", 8) == 0; }

}  // namespace

constexpr FormatCodec pngCodec{refuse, recognise, Recognition::Signature, info, load, save, FileNeed::ToRead};

}  // namespace pixmill
