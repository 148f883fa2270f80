#include "formats/tiff_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/rows/bitmap_math.h"
#include "core/registry/library_state.h"
#include "core/rows/pixel_rows.h"
#include "formats/bgr_rows.h"
#include "formats/tiff_stream.h"
#include "resources/pixmill_ids.h"
#include "winplat/debug.h"
#include "winplat/refusal.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: TIFF");

// Detail texts by the Compression tag; codes not listed leave the text empty.
struct CompressionText {
    uint16_t compression;
    int stringId;
};
constexpr std::array<CompressionText, 16> kCompressionTexts = {{
    {COMPRESSION_NONE, res::kDetailNoCompression},
    {COMPRESSION_CCITTRLE, res::kDetailCcittHuffmanRle},
    {COMPRESSION_CCITTFAX3, res::kDetailCcittFax3},
    {COMPRESSION_CCITTFAX4, res::kDetailCcittFax4},
    {COMPRESSION_LZW, res::kDetailLzwCompression},
    {COMPRESSION_OJPEG, res::kDetailOldJpeg},
    {COMPRESSION_JPEG, res::kDetailJpegDct},
    {COMPRESSION_NEXT, res::kDetailNextRle},
    {COMPRESSION_CCITTRLEW, res::kDetailCcittWordAligned},
    {COMPRESSION_PACKBITS, res::kDetailRleCompression},
    {COMPRESSION_THUNDERSCAN, res::kDetailThunderScanRle},
    {COMPRESSION_PIXARFILM, res::kDetailPixarFilm},
    {COMPRESSION_PIXARLOG, res::kDetailPixarLog},
    {COMPRESSION_DEFLATE, res::kDetailDeflate},
    {COMPRESSION_ADOBE_DEFLATE, res::kDetailDeflate},  // the registered code of the same Deflate compression
    {COMPRESSION_JBIG, res::kDetailJbig},
}};

constexpr int32_t kCompressionBits = 0x3F;
constexpr int32_t kCmykOption = 0x40;
constexpr float kDotsPerInch = 96.0f;
constexpr char kSoftware[] = "Tarvo Bitmap Library 32";

// Samples wider than this many a pixel are not a picture this codec reads.
constexpr uint16_t kMostSamples = 8;

// Where the high byte of a 16-bit sample stands: libtiff hands samples over in the host's order.
constexpr int kHighByte = std::endian::native == std::endian::little ? 1 : 0;

// How the rows of a strip become image rows.
enum class RowKind {
    Unsupported,
    AsStored,  // 1, 4 or 8 bits a pixel, as the image keeps them
    TwoBits,   // 2 bits a pixel, widened to 4
    GreyByte,  // one byte of each pixel: the grey byte, or the high byte of a 16-bit grey sample
    Rgb,       // 8 or 16 bits a sample, red first, into blue-green-red
    Cmyk,      // 8-bit inks into blue-green-red
};

struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerSample = 0;  // 0 when the tag is absent
    uint16_t samples = 1;
    uint16_t photometric = 0xFFFF;
    uint16_t compression = COMPRESSION_NONE;
    tmsize_t scanline = 0;
    RowKind kind = RowKind::Unsupported;
    int bits = 0;              // the image depth the rows are delivered in
    uint32_t pixelBytes = 0;   // GreyByte, Rgb, Cmyk: bytes of one stored pixel
    uint32_t sampleBytes = 1;  // Rgb
    uint32_t pickOffset = 0;   // GreyByte
};

bool simpleDepth(uint16_t bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

// The layout of the picture's rows, or Unsupported.
void classify(TIFF* tiff, Picture& p) {
    uint16_t planar = PLANARCONFIG_CONTIG, sampleFormat = SAMPLEFORMAT_UINT, inks = INKSET_CMYK;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inks);
    const uint16_t bits = p.bitsPerSample;
    const uint16_t samples = p.samples;
    p.kind = RowKind::Unsupported;
    p.scanline = TIFFScanlineSize(tiff);
    if (TIFFIsTiled(tiff) || (planar != PLANARCONFIG_CONTIG && samples > 1) || samples == 0 ||
        samples > kMostSamples || (sampleFormat != SAMPLEFORMAT_UINT && sampleFormat != SAMPLEFORMAT_VOID)) {
        return;
    }
    const bool wideSamples = bits == 8 || bits == 16;
    switch (p.photometric) {
        case PHOTOMETRIC_MINISWHITE:
        case PHOTOMETRIC_MINISBLACK:
            if (samples == 1 && simpleDepth(bits)) {
                p.kind = bits == 2 ? RowKind::TwoBits : RowKind::AsStored;
                p.bits = bits;
            } else if (wideSamples) {
                p.kind = RowKind::GreyByte;
                p.bits = 8;
                p.pixelBytes = samples * bits / 8u;
                p.pickOffset = bits == 16 ? kHighByte : 0;
            }
            break;
        case PHOTOMETRIC_PALETTE:
            if (samples == 1 && simpleDepth(bits)) {
                p.kind = bits == 2 ? RowKind::TwoBits : RowKind::AsStored;
                p.bits = bits;
            }
            break;
        case PHOTOMETRIC_YCBCR:
            // JPEG-compressed YCbCr, the usual form of JPEG in TIFF, is turned into RGB by libtiff.
            if (p.compression != COMPRESSION_JPEG || bits != 8 || samples != 3) break;
            TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            [[fallthrough]];
        case PHOTOMETRIC_RGB:
            if (samples >= 3 && wideSamples) {
                p.kind = RowKind::Rgb;
                p.bits = 24;
                p.sampleBytes = bits / 8u;
                p.pixelBytes = samples * p.sampleBytes;
            }
            break;
        case PHOTOMETRIC_SEPARATED:
            if (inks == INKSET_CMYK && samples >= 4 && bits == 8) {
                p.kind = RowKind::Cmyk;
                p.bits = 24;
                p.pixelBytes = samples;
            }
            break;
        default:
            break;
    }
    // Rows must be exactly the packed samples the layout expects (a colour mode changes them).
    p.scanline = TIFFScanlineSize(tiff);
    const uint64_t packed = (uint64_t{p.width} * samples * bits + 7) / 8;
    if (p.kind != RowKind::Unsupported && (p.scanline <= 0 || static_cast<uint64_t>(p.scanline) != packed)) {
        p.kind = RowKind::Unsupported;
    }
}

// Reads the tags both the info reader and the loader need. 2 for a picture with no rows to read.
int16_t readPicture(TIFF* tiff, Picture& p) {
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &p.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &p.height);
    if (!TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &p.bitsPerSample)) p.bitsPerSample = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &p.samples);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &p.photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &p.compression);
    if (p.width == 0 || p.height == 0 || p.width > static_cast<uint32_t>(kMaxCodecSide) ||
        p.height > static_cast<uint32_t>(kMaxCodecSide)) {
        return refuse(kCodecBadFormat, "an empty picture or one wider or higher than 32767");
    }
    classify(tiff, p);
    if (p.kind != RowKind::Unsupported) return kCodecOk;
    // A layout the loader refuses still gets a depth: bytes a pixel times the sample size.
    if (p.scanline <= 0) return refuse(kCodecBadFormat, "a layout whose rows have no size");
    const auto perPixel = static_cast<uint64_t>(p.scanline) / p.width;
    uint64_t bits = perPixel > 0 ? perPixel * p.bitsPerSample : p.bitsPerSample;
    if (bits == 0) bits = (uint64_t{p.width} + static_cast<uint64_t>(p.scanline) - 1) / static_cast<uint64_t>(p.scanline) / 8;
    if (bits > 8) bits = p.photometric == PHOTOMETRIC_PALETTE ? 8 : 24;
    p.bits = static_cast<int>(bits);
    return kCodecOk;
}

// Opens libtiff on the picture at the call's offset.
TIFF* openForReading(CodecCall& call, TiffWindow*& window, std::unique_ptr<TiffWindow>& holder) {
    const int64_t length = call.stream.fileLength();
    holder = std::make_unique<TiffWindow>(call.stream, call.offset, std::max<int64_t>(length - call.offset, 0));
    window = holder.get();
    return window->open("r");
}

void describe(PxlCodecInfo& record, const Picture& p) {
    record.detailText[0] = '\0';
    for (const CompressionText& c : kCompressionTexts) {
        if (c.compression == p.compression) record.setDetail(descriptionText(c.stringId));
    }
    int suffix = 0;
    switch (p.photometric) {
        case PHOTOMETRIC_MASK:
            suffix = res::kDetailMaskSuffix;
            break;
        case PHOTOMETRIC_SEPARATED:
            suffix = res::kDetailCmykSuffix;
            break;
        case PHOTOMETRIC_YCBCR:
            suffix = res::kDetailYCbCrSuffix;
            break;
        case PHOTOMETRIC_CIELAB:
            suffix = res::kDetailCieLabSuffix;
            break;
        default:
            break;
    }
    if (suffix) {
        const size_t used = std::strlen(record.detailText);
        std::strncat(record.detailText, descriptionText(suffix), sizeof record.detailText - 1 - used);
    }
}

// Grey levels from black to white (or white to black) over the entries 'bits' can index.
void fillGreyRamp(PxlCodecInfo& record, int bits, bool whiteIsZero) {
    const int entries = 1 << std::clamp(bits, 1, 8);
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / (entries - 1));
        const auto v = static_cast<uint8_t>(whiteIsZero ? 255 - level : level);
        record.setPaletteEntry(i, v, v, v);
    }
}

// The ColorMap: 16-bit values scaled to 8 bits, unless no value reaches 256 (maps written with
// 8-bit values), whose low bytes are taken as they are.
void readColourMap(TIFF* tiff, PxlCodecInfo& record, uint16_t bitsPerSample) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (bitsPerSample == 0 || bitsPerSample > 8 || !TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) ||
        !red || !green || !blue) {
        return;
    }
    const int entries = 1 << bitsPerSample;
    bool wide = false;
    for (int i = 0; i < entries; ++i) wide = wide || red[i] > 255 || green[i] > 255 || blue[i] > 255;
    auto eight = [&](uint16_t v) { return static_cast<uint8_t>(wide ? v * 255u / 65535u : v & 0xFF); };
    for (int i = 0; i < entries; ++i) record.setPaletteEntry(i, eight(red[i]), eight(green[i]), eight(blue[i]));
}

// Whether the strips of an uncompressed picture hold its rows inside the file: strips are read
// as they stand, so what they lack can be known before an image is made for them.
bool stripsCanFill(TIFF* tiff, const Picture& p, int64_t bytesInFile) {
    if (p.compression != COMPRESSION_NONE || TIFFIsTiled(tiff) || bytesInFile < 0) return true;
    const uint64_t needed = static_cast<uint64_t>(p.scanline) * p.height;
    const auto inFile = static_cast<uint64_t>(bytesInFile);
    uint64_t held = 0;
    const uint32_t strips = TIFFNumberOfStrips(tiff);
    for (uint32_t s = 0; s < strips && held < needed; ++s) {
        const uint64_t offset = TIFFGetStrileOffset(tiff, s);
        if (offset < inFile) held += std::min<uint64_t>(TIFFGetStrileByteCount(tiff, s), inFile - offset);
    }
    return held >= needed;
}

int16_t info(CodecCall& call) {
    PxlCodecInfo& record = call.info;
    TiffWindow* window = nullptr;
    std::unique_ptr<TiffWindow> holder;
    const TiffHandle tiff(openForReading(call, window, holder));
    if (!tiff) return refuse(kCodecCannotOpen, "libtiff cannot read the directory");
    Picture p;
    if (const int16_t result = readPicture(tiff.get(), p); result != kCodecOk) return result;
    if (p.kind != RowKind::Unsupported && !stripsCanFill(tiff.get(), p, call.stream.fileLength() - call.offset)) {
        return refuse(kCodecReadError, "the strips in the file hold fewer rows than the picture has");
    }
    record.frameCount = 1;
    record.flags = p.photometric == PHOTOMETRIC_SEPARATED ? kFlagCmykTiff : 0;
    record.width = static_cast<int16_t>(p.width);
    record.height = static_cast<int16_t>(p.height);
    record.bitsPerPixel = static_cast<int16_t>(p.bits);
    record.fileSize = static_cast<int32_t>(std::min<int64_t>(call.stream.fileLength(), INT32_MAX));
    record.imageBytes = reportedImageBytes(record.width, record.height, normalizeBitsPerPixel(p.bits),
                                           ImageBytesRule::AlignedRows);
    describe(record, p);
    record.palette.fill(0);
    if (p.photometric == PHOTOMETRIC_MINISWHITE || p.photometric == PHOTOMETRIC_MINISBLACK) {
        if (p.bits <= 8) fillGreyRamp(record, p.bits, p.photometric == PHOTOMETRIC_MINISWHITE);
    } else if (p.photometric == PHOTOMETRIC_PALETTE) {
        readColourMap(tiff.get(), record, p.bitsPerSample);
    }
    return kCodecOk;
}

// Inks to blue-green-red: each channel 255 - ink - black, never below 0.
uint8_t inkToChannel(int ink, int black) { return static_cast<uint8_t>(std::max(255 - ink - black, 0)); }

void convertRow(const Picture& p, const uint8_t* in, uint8_t* out) {
    const int width = static_cast<int>(p.width);
    switch (p.kind) {
        case RowKind::AsStored:
            std::memcpy(out, in, static_cast<size_t>(p.scanline));
            break;
        case RowKind::TwoBits:
            unpackTwoBitRow(in, width, out);
            break;
        case RowKind::GreyByte:
            for (int x = 0; x < width; ++x) out[x] = in[x * p.pixelBytes + p.pickOffset];
            break;
        case RowKind::Rgb: {
            if (p.pixelBytes == 3) {
                for (int x = 0; x < width; ++x) {
                    out[3 * x] = in[3 * x + 2];
                    out[3 * x + 1] = in[3 * x + 1];
                    out[3 * x + 2] = in[3 * x];
                }
                break;
            }
            const uint32_t high = p.sampleBytes == 2 ? kHighByte : 0;
            for (int x = 0; x < width; ++x) {
                const uint8_t* pixel = in + x * p.pixelBytes + high;
                out[3 * x] = pixel[2 * p.sampleBytes];
                out[3 * x + 1] = pixel[p.sampleBytes];
                out[3 * x + 2] = pixel[0];
            }
            break;
        }
        case RowKind::Cmyk:
            for (int x = 0; x < width; ++x) {
                const uint8_t* inks = in + x * p.pixelBytes;
                out[3 * x] = inkToChannel(inks[2], inks[3]);
                out[3 * x + 1] = inkToChannel(inks[1], inks[3]);
                out[3 * x + 2] = inkToChannel(inks[0], inks[3]);
            }
            break;
        case RowKind::Unsupported:
            break;
    }
}

int16_t load(CodecCall& call) {
    const RowLayout layout = prepareRowTransfer(call.info);
    TiffWindow* window = nullptr;
    std::unique_ptr<TiffWindow> holder;
    const TiffHandle tiff(openForReading(call, window, holder));
    if (!tiff) return refuse(kCodecCannotOpen, "libtiff cannot read the directory");
    Picture p;
    if (const int16_t result = readPicture(tiff.get(), p); result != kCodecOk) return result;
    if (p.kind == RowKind::Unsupported) return refuse(kCodecReadError, "a layout this library does not read");
    // The sink was shaped by the info call; a picture that does not fit it is refused.
    if (static_cast<int>(p.width) != layout.width || static_cast<int>(p.height) != layout.height ||
        normalizeBitsPerPixel(p.bits) != layout.depth) {
        return refuse(kCodecBadFormat, "the picture no longer matches the one its info read described");
    }
    // Row by row: libtiff reads a strip's stored bytes only as far as the file holds them and the
    // codec keeps one row, so a directory that claims huge strips costs no more than their data.
    std::vector<uint8_t> stored(static_cast<size_t>(p.scanline));
    std::vector<uint8_t> row(layout.stride);
    for (uint32_t y = 0; y < p.height; ++y) {
        // A row that does not decode would be a row of nothing: the picture is not whole.
        if (TIFFReadScanline(tiff.get(), stored.data(), y, 0) != 1) {
            return refuse(kCodecReadError, "a row does not decode");
        }
        convertRow(p, stored.data(), row.data());
        if (call.sink->putRow(row.data(), static_cast<int>(y)) != kCodecOk) return kCodecStopped;
        call.tick();
    }
    return kCodecOk;
}

// The Compression tag for the option bits and the picture's depth.
uint16_t compressionFor(int32_t option1, int bits) {
    switch (option1 & kCompressionBits) {
        case 1:
            return COMPRESSION_NONE;
        case 2:
            return COMPRESSION_PACKBITS;
        case 4:
            return COMPRESSION_LZW;
        case 8:
            return bits == 1 ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE;
        case 16:
            return bits > 8 ? COMPRESSION_JPEG : COMPRESSION_NONE;
        default:
            return COMPRESSION_LZW;
    }
}

// Sets the tags of the picture being written, in the order the file lists them.
void setTags(TIFF* tiff, const PxlCodecInfo& record, int bits, bool cmyk, uint16_t compression,
             std::vector<uint16_t>& colourMap) {
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(record.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(record.height));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (bits > 8) {
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, cmyk ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_RGB);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, cmyk ? 4 : 3);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    } else {
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
        colourMap.assign(3 * 256, 0);
        for (int i = 0; i < 256; ++i) {
            for (int c = 0; c < 3; ++c) colourMap[256 * c + i] = static_cast<uint16_t>(record.palette[3 * i + c] * 257);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, colourMap.data(), colourMap.data() + 256, colourMap.data() + 512);
    }
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_LZW) TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_NONE);
    if (compression == COMPRESSION_JPEG) {
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, static_cast<int>(record.option2));
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, kDotsPerInch);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, kDotsPerInch);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_SOFTWARE, kSoftware);
}

// One source row into the strip: palette rows as they are, true colour as red-green-blue or as
// CMYK with the black taken out of the three inks.
void storeRow(const uint8_t* source, int sourceBits, const PxlCodecInfo& record, bool cmyk, size_t scanline,
              std::vector<uint8_t>& bgr, uint8_t* out) {
    const int width = record.width;
    if (sourceBits <= 8) {
        std::memcpy(out, source, scanline);
        return;
    }
    const uint8_t* pixels = source;
    if (sourceBits != 24) {
        sourceRowToBgr(source, sourceBits, width, record, bgr.data());
        pixels = bgr.data();
    }
    for (int x = 0; x < width; ++x) {
        const uint8_t blue = pixels[3 * x], green = pixels[3 * x + 1], red = pixels[3 * x + 2];
        if (!cmyk) {
            out[3 * x] = red;
            out[3 * x + 1] = green;
            out[3 * x + 2] = blue;
            continue;
        }
        const auto cyan = static_cast<uint8_t>(255 - red);
        const auto magenta = static_cast<uint8_t>(255 - green);
        const auto yellow = static_cast<uint8_t>(255 - blue);
        const uint8_t black = std::min({cyan, magenta, yellow});
        out[4 * x] = static_cast<uint8_t>(cyan - black);
        out[4 * x + 1] = static_cast<uint8_t>(magenta - black);
        out[4 * x + 2] = static_cast<uint8_t>(yellow - black);
        out[4 * x + 3] = black;
    }
}

int16_t save(CodecCall& call) {
    const PxlCodecInfo& record = call.info;
    const int width = record.width;
    const int height = record.height;
    if (width <= 0 || height <= 0 || width > kMaxCodecSide || height > kMaxCodecSide) {
        return refuse(kCodecBadFormat, "a size outside 1 to 32767");
    }
    const int sourceBits = record.bitsPerPixel == 16 ? 16 : normalizeBitsPerPixel(record.bitsPerPixel);
    const int bits = sourceBits <= 8 ? sourceBits : 24;
    const bool cmyk = bits == 24 && (record.option1 & kCmykOption) != 0;

    TiffWindow window(call.stream, call.stream.tell(), 0);
    const TiffHandle tiff(window.open("w"));
    if (!tiff) return refuse(kCodecCannotCreate, "libtiff cannot start the file");
    std::vector<uint16_t> colourMap;
    setTags(tiff.get(), record, bits, cmyk, compressionFor(record.option1, bits), colourMap);

    const tmsize_t scanline = TIFFScanlineSize(tiff.get());
    uint32_t rowsPerStrip = 0;
    TIFFGetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, static_cast<uint32_t>(height));
    if (scanline <= 0) return refuse(kCodecWriteError, "libtiff gives the rows no size");
    std::vector<uint8_t> strip(static_cast<size_t>(scanline) * rowsPerStrip);
    std::vector<uint8_t> source(widestSourceRow(width));
    std::vector<uint8_t> bgr(3 * static_cast<size_t>(width));
    uint32_t stripIndex = 0;
    uint32_t rowsHeld = 0;
    for (int y = 0; y < height; ++y) {
        call.source->getRow(source.data(), y);
        storeRow(source.data(), sourceBits, record, cmyk, static_cast<size_t>(scanline), bgr,
                 strip.data() + size_t{rowsHeld} * static_cast<size_t>(scanline));
        call.tick();
        if (++rowsHeld == rowsPerStrip || y == height - 1) {
            const tmsize_t bytes = static_cast<tmsize_t>(rowsHeld) * scanline;
            if (TIFFWriteEncodedStrip(tiff.get(), stripIndex++, strip.data(), bytes) != bytes) {
                return refuse(kCodecWriteError, "a strip could not be written");
            }
            rowsHeld = 0;
        }
    }
    if (!TIFFFlush(tiff.get())) return refuse(kCodecWriteError, "the directory could not be written");
    // Bytes still in the file's buffer are pushed out now, so a full disk is reported here.
    if (call.stream.isFile() && !call.stream.seek(0, SEEK_CUR)) {
        return refuse(kCodecWriteError, "the written bytes could not be pushed out");
    }
    return kCodecOk;
}

// Either byte order's mark, and the first byte of the version word it is followed by.
bool recognise(const ContentProbe& probe) {
    return std::memcmp(probe.bytes, "II\x2A", 3) == 0 || std::memcmp(probe.bytes, "MM\0", 3) == 0;
}

}  // namespace

constexpr FormatCodec tiffCodec{refuse, recognise, Recognition::Signature, info, load, save,
                                FileNeed::ToRead};

}  // namespace pixmill
