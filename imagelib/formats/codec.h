// The interface between the load/save front end and every image codec.
//
// A codec is a set of plain functions (info, load, save; for BMP and BMI also stream forms) that
// exchange everything through a CodecCall: the record of facts and options (PxlCodecInfo), the
// byte stream, and the row callbacks. All state of one load or save lives in its CodecCall, so
// codecs can run on several threads at once; only the load-continue flag that PXLBreakLoad clears
// is process-wide.
#ifndef PIXMILL_FORMATS_CODEC_H
#define PIXMILL_FORMATS_CODEC_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "core/registry/image_record.h"
#include "formats/file_reader.h"
#include "pixmill/pixmill.h"
#include "winplat/ole.h"

namespace pixmill {

// Codec results.
enum CodecResult : int16_t {
    kCodecOk = 0,
    kCodecCannotOpen = 1,
    kCodecBadFormat = 2,
    kCodecReadError = 3,
    kCodecNoMemory = 4,
    kCodecCannotCreate = 5,
    kCodecWriteError = 6,
    kCodecStopped = 8,
};

// Codec flags.
constexpr int16_t kFlagCmykTiff = 0x0001;        // a separated TIFF (info); "more frames follow" (save)
constexpr int16_t kFlagNotScalable = 0x0040;     // rows cannot be scaled while they arrive
constexpr int16_t kFlagPaletteLate = 0x0080;     // the palette is known only after decoding

constexpr uint32_t kNoTransparency = 0xFF000000;
constexpr uint32_t kIndexTransparency = 0x01000000;  // + index << 16

// Widest and highest picture any codec accepts; files claiming more are refused as not this format.
constexpr int kMaxCodecSide = 32767;

// Facts about a picture and options for writing one, filled partly by the front end and partly by
// the codec.
struct PxlCodecInfo {
    char detailText[64] = {};
    int16_t frameLeft = 0;
    int16_t frameTop = 0;
    int16_t width = 0;
    int16_t height = 0;
    int16_t bitsPerPixel = 0;  // as stored in the file
    int16_t flags = 0;
    int32_t option1 = 0;
    int16_t option2 = 0;
    int16_t whiteIndex = 0;
    int32_t fileSize = 0;
    int32_t imageBytes = 0;
    std::array<uint8_t, 256 * 3> palette{};  // red, green, blue triplets
    int16_t gifWriterWord = 0;
    int16_t frameCount = 1;
    int16_t frameDelay = 100;
    int16_t repeatCount = -1;
    int16_t gifFrameWord = 1;
    std::optional<std::string> comment;
    std::optional<std::string> title;
    std::optional<std::string> text;
    std::optional<TextBlock> textBlock;
    uint32_t transparency = kNoTransparency;
    int16_t screenWidth = 0;
    int16_t screenHeight = 0;
    int16_t controlWord = 0;
    int16_t wantedFrame = 0;
    int16_t rotationAngle = 0;
    int16_t sourceBitsPerPixel = 0;

    void setDetail(const char* text);
    void setPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue);
};

// How an info record counts the bytes of a picture's pixels (PxlFileInfo passes it on).
enum class ImageBytesRule {
    AlignedRows,  // the rows as an image holds them, each rounded up to 4 bytes
    // The older formats' count (BMP, GIF, Targa, WPG, MacPaint): the width in whole bytes times
    // the depth times the height. Not what an image takes, but what those readers always said.
    LegacyByteColumns,
};

// The bytes of a picture's pixels counted by the rule (negative sides and depths count as 0).
uint64_t imageByteCount(int width, int height, int bits, ImageBytesRule rule);

// The image bytes a codec's record reports: the count, or 0, which leaves the count to the front
// end, when it would not fit the record's 32-bit field.
int32_t reportedImageBytes(int width, int height, int bits, ImageBytesRule rule);

// How rows travel between a codec and an image: the depth rows have on the way (1, 4, 8, 24 or
// 32) and their stride, 4-byte aligned. Strides are 32-bit; pictures wider than kMaxCodecSide are
// refused before a layout is made.
struct RowLayout {
    int depth = 0;
    uint32_t stride = 0;
    int width = 0;
    int height = 0;
};

// The row layout for a codec record's width and depth.
RowLayout prepareRowTransfer(const PxlCodecInfo& info);

// Receives decoded rows. Returns kCodecOk to go on, kCodecStopped to stop.
//
// A sink that stores whole rows may lend a codec the storage of a row, so a decoder writes the
// row there instead of into a buffer of its own that putRow then copies: the codec asks
// rowTarget for a row of at least `bytes` bytes, decodes into it, and hands the same pointer to
// putRow, which then only counts the row as delivered. Bytes of the row past those the codec
// wrote keep what the sink had there. Sinks that resample or inspect rows lend nothing.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual int16_t putRow(const uint8_t* row, int indexFromTop) = 0;
    // The storage of row indexFromTop when it holds `bytes` bytes; null when the sink lends none.
    virtual uint8_t* rowTarget(int /*indexFromTop*/, size_t /*bytes*/) { return nullptr; }
};

// Delivers rows to a writer.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual void getRow(uint8_t* row, int indexFromTop) = 0;
};

// One state of one file: which file it is (device, inode) and its size and times. A file written
// to or replaced in between shows a different identity.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The byte stream of one call: a file opened by the codec, an IStream or a callback record.
class ByteStream {
public:
    ByteStream() = default;
    explicit ByteStream(IStream* stream) : ole_(stream) {}
    explicit ByteStream(PxlStreamCallbacks* callbacks) : callbacks_(callbacks) {}
    ~ByteStream() { close(); }
    ByteStream(const ByteStream&) = delete;
    ByteStream& operator=(const ByteStream&) = delete;

    // Opens a file by its Windows path ("rb" or "wb").
    bool openFile(const char* path, const char* mode);
    bool isFile() const { return file_ != nullptr; }
    bool isOle() const { return ole_ != nullptr; }
    bool bound() const { return file_ || ole_ || callbacks_; }
    // Closes a file stream; false when bytes still buffered could not be written.
    bool close();

    // All or nothing: the bytes asked for, or false.
    bool read(void* buffer, uint32_t count);
    bool write(const void* buffer, uint32_t count);
    // Origin 0 start, 1 current, 2 end.
    bool seek(int64_t offset, int origin);
    int64_t tell();
    // The length of a file stream; 0 for the other kinds. A regular file opened only for reading
    // is read through a FileReader, and its length is the one it had when it was opened.
    int64_t fileLength();
    // The open file's identity; none for the other kinds or when the system cannot say.
    std::optional<FileIdentity> fileIdentity() const;

private:
    FILE* file_ = nullptr;
    std::unique_ptr<FileReader> reader_;  // reads of a regular file opened only for reading
    IStream* ole_ = nullptr;
    PxlStreamCallbacks* callbacks_ = nullptr;
};

// Where a writer that can add frames to a picture it wrote (BMI) left its directory: kept by the
// caller from the first frame's save to the appended one's.
struct FrameAppendState {
    int64_t base = 0;           // where the picture starts
    int64_t directorySlot = 0;  // absolute position of the free directory entry; 0 none
    int64_t endOffset = 0;      // end of the picture's data, from its start; 0 none
    bool spareUsed = false;     // the one spare entry has taken an appended frame
};

class GifFrameIndex;
class GifBlockListing;

// Everything one codec call works with.
struct CodecCall {
    PxlCodecInfo& info;
    ByteStream& stream;
    RowSink* sink = nullptr;        // loads
    RowSource* source = nullptr;    // saves
    PxlProgressFn progress = nullptr;
    PxlTransparencyEntry* entries = nullptr;  // BMI: the image's transparency entries
    int32_t* entryCount = nullptr;
    int64_t offset = 0;             // file forms: where the picture starts
    PxlImageId imageId = 0;         // saves: the image written (0 when the rows come from elsewhere)
    const char* targetPath = nullptr;  // file saves: the path the file ends up at (the codec
                                       // writes a temporary file beside it)
    FrameAppendState* append = nullptr;  // saves of writers that can append frames
    GifFrameIndex* gifFrames = nullptr;  // GIF loads: where the file's frames start, kept between
                                         // the passes over one file (formats/gif_frame_index.h)
    GifBlockListing* gifListing = nullptr;  // GIF info reads that list every block (formats/gif_blocks.h)

    void tick() const {
        if (progress) progress();
    }
};

// The load-continue flag: set when a load starts, cleared by PXLBreakLoad.
void startLoad();
bool loadContinues();

}  // namespace pixmill

#endif
