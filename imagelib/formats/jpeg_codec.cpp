#include "formats/jpeg_codec.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/library_state.h"
#include "core/rows/pixel_rows.h"
#include "formats/bgr_rows.h"
#include "formats/jpeg_stream.h"
#include "resources/pixmill_ids.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: JPEG");

constexpr int kLowestQuality = 2;
constexpr int kHighestQuality = 100;

// A decompressor with its error manager and source; destroyed with the holder on every path.
// The source is left uncleared (make_unique_for_overwrite): attachJpegSource sets every field the
// library reads, and its 64 KiB input buffer is filled before any byte of it is read.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors{};
    JpegStreamSource source;
    bool created = false;

    ~Decoder() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

struct Encoder {
    jpeg_compress_struct cinfo{};
    JpegErrors errors{};
    JpegStreamDestination destination{};
    bool created = false;

    ~Encoder() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

// How decoded rows become the rows the sink takes.
enum class RowKind { Pass, Cmyk, None };

int detailFor(J_COLOR_SPACE space) {
    switch (space) {
        case JCS_GRAYSCALE:
            return res::kDetailJfifGrey;
        case JCS_RGB:
            return res::kDetailJfifRgb;
        case JCS_YCbCr:
            return res::kDetailJfifYCbCr;
        case JCS_CMYK:
            return res::kDetailJfifCmyk;
        case JCS_YCCK:
            return res::kDetailJfifYcck;
        default:
            return res::kDetailJfifUnknown;
    }
}

bool validSide(JDIMENSION side) { return side > 0 && side <= static_cast<JDIMENSION>(kMaxCodecSide); }

// Opens the decompressor on the stream's remaining bytes and reads the header; false on a
// library error.
bool readHeader(Decoder& d, ByteStream& stream, int64_t available) {
    d.cinfo.err = installJpegErrors(d.errors);
    return guardedJpeg(d.errors, [&] {
        d.created = true;
        jpeg_create_decompress(&d.cinfo);
        attachJpegSource(&d.cinfo, d.source, stream, available);
        jpeg_read_header(&d.cinfo, TRUE);
    });
}

// The bytes of the file from the call's offset on.
int64_t bytesAfterOffset(CodecCall& call) {
    return std::max<int64_t>(call.stream.fileLength() - call.offset, 0);
}

// The output colour space that gives the image's rows: grey as it is, every three-component space
// as blue-green-red, CMYK and YCCK as CMYK (converted here).
RowKind chooseOutput(jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            cinfo.out_color_space = JCS_GRAYSCALE;
            return RowKind::Pass;
        case JCS_RGB:
        case JCS_YCbCr:
            cinfo.out_color_space = JCS_EXT_BGR;
            return RowKind::Pass;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo.out_color_space = JCS_CMYK;
            return RowKind::Cmyk;
        default:
            // Components of unknown meaning: one or three are handed on as they are, like grey
            // and colour rows; other counts have no image depth to go to.
            return cinfo.num_components == 1 || cinfo.num_components == 3 ? RowKind::Pass : RowKind::None;
    }
}

// Adobe CMYK samples are stored inverted; the image gets 255 - min(ink + black, 255) per channel.
void cmykToBgr(const uint8_t* in, uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) {
        const int cyan = 255 - in[4 * x];
        const int magenta = 255 - in[4 * x + 1];
        const int yellow = 255 - in[4 * x + 2];
        const int black = 255 - in[4 * x + 3];
        out[3 * x] = static_cast<uint8_t>(255 - std::min(yellow + black, 255));
        out[3 * x + 1] = static_cast<uint8_t>(255 - std::min(magenta + black, 255));
        out[3 * x + 2] = static_cast<uint8_t>(255 - std::min(cyan + black, 255));
    }
}

// The rows one read asks the library for. The merged upsampler makes its rows in pairs; asked for
// one row it keeps the second in a spare row and copies it out on the next call, so rows are asked
// for as many at a time as the library makes them. They are decoded into rows of the group's own,
// which stay in the cache, and handed to the sink from there: the library's colour conversion
// storing straight into an image's rows made a 256 x 256 load half as slow again as these rows
// and the sink's copy together. CMYK rows are decoded into inks and converted into the group's rows.
class RowGroup {
public:
    RowGroup(const jpeg_decompress_struct& cinfo, RowKind kind, const RowLayout& layout)
        : size_(std::clamp(cinfo.rec_outbuf_height, 1, kMaxRows)),
          width_(layout.width),
          stride_(layout.stride),
          inkBytes_(kind == RowKind::Cmyk ? 4 * size_t{cinfo.output_width} : 0),
          rows_(stride_ * static_cast<size_t>(size_)),
          inks_(inkBytes_ * static_cast<size_t>(size_)) {
        for (int i = 0; i < size_; ++i) {
            const auto at = static_cast<size_t>(i);
            targets_[at] = inkBytes_ ? inks_.data() + at * inkBytes_ : rows_.data() + at * stride_;
        }
    }

    // How many rows to ask for when `left` remain.
    int count(int left) const { return std::min(size_, left); }
    JSAMPARRAY targets() { return targets_.data(); }
    // Row i of the last read, converted when it came as inks.
    const uint8_t* finished(int i) {
        uint8_t* row = rows_.data() + static_cast<size_t>(i) * stride_;
        if (inkBytes_) cmykToBgr(targets_[static_cast<size_t>(i)], row, width_);
        return row;
    }

private:
    static constexpr int kMaxRows = 4;
    int size_;
    int width_;
    size_t stride_;
    size_t inkBytes_;
    std::vector<uint8_t> rows_;
    std::vector<uint8_t> inks_;
    std::array<JSAMPROW, kMaxRows> targets_{};
};

int16_t reportCutOff() { return refuse(kCodecReadError, "the data ends before the picture does"); }

// A library error ends the load; the source's watch stopping at missing data is a cut-off picture.
int16_t decodingFailed(const Decoder& d) {
    if (d.source.stoppedAtEnd) return reportCutOff();
    return refuse(kCodecCannotOpen, "the library failed while decoding");
}

int16_t info(CodecCall& call) {
    PxlCodecInfo& record = call.info;
    const int64_t length = call.stream.fileLength();
    if (!call.stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecCannotOpen, "the picture's start cannot be reached");
    }
    auto d = std::make_unique_for_overwrite<Decoder>();
    if (!readHeader(*d, call.stream, bytesAfterOffset(call))) {
        return refuse(kCodecCannotOpen, "the library cannot read the header");
    }
    if (!validSide(d->cinfo.image_width) || !validSide(d->cinfo.image_height)) {
        return refuse(kCodecBadFormat, "a size outside 1 to 32767");
    }
    record.width = static_cast<int16_t>(d->cinfo.image_width);
    record.height = static_cast<int16_t>(d->cinfo.image_height);
    record.flags = 0;
    record.frameCount = 1;
    record.imageBytes = 0;
    record.fileSize = static_cast<int32_t>(std::min<int64_t>(length, INT32_MAX));
    record.setDetail(descriptionText(detailFor(d->cinfo.jpeg_color_space)));
    if (d->cinfo.num_components < 3) {
        record.bitsPerPixel = 8;
        for (int j = 0; j < 256; ++j) {
            const auto v = static_cast<uint8_t>(j);
            record.setPaletteEntry(j, v, v, v);
        }
    } else {
        record.bitsPerPixel = 24;
    }
    return kCodecOk;
}

int16_t load(CodecCall& call) {
    const RowLayout layout = prepareRowTransfer(call.info);
    if (!call.stream.seek(call.offset, SEEK_SET)) {
        return refuse(kCodecCannotOpen, "the picture's start cannot be reached");
    }
    auto d = std::make_unique_for_overwrite<Decoder>();
    if (!readHeader(*d, call.stream, bytesAfterOffset(call))) {
        return refuse(kCodecCannotOpen, "the library cannot read the header");
    }
    jpeg_decompress_struct& cinfo = d->cinfo;
    const RowKind kind = chooseOutput(cinfo);
    if (kind == RowKind::None) {
        return refuse(kCodecBadFormat, "components of unknown meaning that give no image rows");
    }
    cinfo.dct_method = JDCT_IFAST;
    cinfo.do_fancy_upsampling = FALSE;
    cinfo.do_block_smoothing = FALSE;
    // A picture of several scans is read whole by the start; one cut off there has no rows to
    // give, and the source's watch ends that reading as soon as the data run out.
    if (!guardedJpeg(d->errors, [&] { jpeg_start_decompress(&cinfo); })) return decodingFailed(*d);
    if (d->source.ranOut(cinfo)) return reportCutOff();

    // The sink was shaped by the info call; a picture that does not fit it is refused.
    const int delivered = kind == RowKind::Cmyk ? 24 : 8 * cinfo.output_components;
    if (static_cast<int>(cinfo.output_width) != layout.width ||
        static_cast<int>(cinfo.output_height) != layout.height || delivered != layout.depth) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    RowGroup rows(cinfo, kind, layout);
    bool stopped = false;
    bool stalled = false;
    bool cutOff = false;
    const bool decoded = guardedJpeg(d->errors, [&] {
        while (cinfo.output_scanline < cinfo.output_height) {
            const auto first = static_cast<int>(cinfo.output_scanline);
            const int wanted = rows.count(static_cast<int>(cinfo.output_height) - first);
            const auto got = static_cast<int>(
                jpeg_read_scanlines(&cinfo, rows.targets(), static_cast<JDIMENSION>(wanted)));
            if (got == 0) {
                stalled = true;
                return;
            }
            // The rows from here on would be made up: the load ends as a partial picture.
            if (d->source.ranOut(cinfo)) {
                cutOff = true;
                return;
            }
            for (int i = 0; i < got; ++i) {
                const uint8_t* row = rows.finished(i);
                call.tick();
                if (call.sink->putRow(row, first + i) != kCodecOk) {
                    stopped = true;
                    return;
                }
            }
        }
        jpeg_finish_decompress(&cinfo);
    });
    if (!decoded) return decodingFailed(*d);
    if (stopped) return kCodecStopped;
    if (cutOff) return reportCutOff();
    if (stalled) return refuse(kCodecReadError, "the library delivered no more rows");
    return kCodecOk;
}

int16_t save(CodecCall& call) {
    const PxlCodecInfo& record = call.info;
    const int width = record.width;
    const int height = record.height;
    if (width <= 0 || height <= 0 || width > kMaxCodecSide || height > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "a size outside 1 to 32767");
    }
    const bool grey = record.option1 == 1;
    const int quality = std::clamp<int>(record.option2, kLowestQuality, kHighestQuality);
    const int sourceBits = record.bitsPerPixel == 16 ? 16 : normalizeBitsPerPixel(record.bitsPerPixel);

    std::vector<uint8_t> source(widestSourceRow(width));
    std::vector<uint8_t> output(3 * static_cast<size_t>(width));
    const std::array<uint8_t, 256> greyOf = paletteGreyLevels(record);
    auto convert = [&]() -> JSAMPROW {
        if (!grey) {
            if (sourceBits == 24) return source.data();
            sourceRowToBgr(source.data(), sourceBits, width, record, output.data());
            return output.data();
        }
        if (sourceBits <= 8) {
            for (int x = 0; x < width; ++x) output[x] = greyOf[indexAt(source.data(), x, sourceBits)];
            return output.data();
        }
        const uint8_t* bgr = source.data();
        if (sourceBits != 24) {
            sourceRowToBgr(source.data(), sourceBits, width, record, output.data());
            bgr = output.data();
        }
        for (int x = 0; x < width; ++x) output[x] = greyLevel(bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x]);
        return output.data();
    };

    auto e = std::make_unique<Encoder>();
    jpeg_compress_struct& cinfo = e->cinfo;
    cinfo.err = installJpegErrors(e->errors);
    const bool written = guardedJpeg(e->errors, [&] {
        e->created = true;
        jpeg_create_compress(&cinfo);
        attachJpegDestination(&cinfo, e->destination, call.stream);
        cinfo.image_width = static_cast<JDIMENSION>(width);
        cinfo.image_height = static_cast<JDIMENSION>(height);
        cinfo.input_components = grey ? 1 : 3;
        cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            call.tick();
            call.source->getRow(source.data(), static_cast<int>(cinfo.next_scanline));
            JSAMPROW row = convert();
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
    });
    if (!written) return refuse(kCodecWriteError, "the library or a write failed");
    // Bytes still in the file's buffer are pushed out now, so a full disk is reported here.
    if (call.stream.isFile() && !call.stream.seek(0, SEEK_CUR)) {
        return refuse(kCodecWriteError, "the written bytes could not be pushed out");
    }
    return kCodecOk;
}

bool recognise(const ContentProbe& probe) { return std::memcmp(probe.bytes, "\xFF\xD8\xFF", 3) == 0; }

}  // namespace

constexpr FormatCodec jpegCodec{refuse, recognise, Recognition::Signature, info, load, save,
                                FileNeed::ToRead};

}  // namespace pixmill
