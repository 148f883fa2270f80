// libjpeg's data source and destination on a codec's byte stream, and its error manager.
//
// The library reports errors by calling error_exit, which must not return; ours jumps back to the
// recovery point the codec armed with guardedJpeg. Everything between the recovery point and the
// library call that failed is C code or frames without objects to destroy, which keeps the jump
// sound in C++.
#ifndef PIXMILL_FORMATS_JPEG_STREAM_H
#define PIXMILL_FORMATS_JPEG_STREAM_H

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "formats/codec.h"

namespace pixmill {

constexpr size_t kJpegBufferBytes = 65536;

struct JpegErrors {
    jpeg_error_mgr manager;  // first: the library sees only this part
    std::jmp_buf recovery;
    void (*standardEmit)(j_common_ptr, int) = nullptr;
};

// Initialises the manager with the library's defaults, then our error exit (jump to the recovery
// point) and message output (the debug output, lines beginning "PXL32: JPEG: ").
jpeg_error_mgr* installJpegErrors(JpegErrors& errors);

// Runs step with the recovery point armed: false when the library reported an error inside it.
template <class Step>
bool guardedJpeg(JpegErrors& errors, Step&& step) {
    if (setjmp(errors.recovery) != 0) return false;
    step();
    return true;
}

// Reads at most 'available' bytes of the stream from its position. At the end of the data it
// warns and hands the library an end-of-image marker, as the library's own file source does, and
// notes that the data ended.
//
// The library pads coded data that stop early with zeros, to the end of the scan: a few bytes
// could thus stand for a picture of any size. The source notes when coded data were missing
// (ranOut()), so the codec stops there instead: a Huffman-coded scan that needs bits past a marker
// (coded data never do; past a restart marker it is damage the library gets over, unless most
// intervals are so damaged), or any warning once the end marker was made up.
//
// A picture of several scans is read whole into the library's coefficient arrays before any row
// comes out, and a short scan would be padded there to its last block. The source therefore also
// watches that reading (the library's progress hook, called for every row of blocks): once coded
// data are missing, it ends the decoding through the error exit and notes stoppedAtEnd.
struct JpegStreamSource {
    jpeg_source_mgr manager;  // first
    jpeg_progress_mgr watch{};
    ByteStream* stream = nullptr;
    int64_t available = 0;
    bool ended = false;         // the end-of-image marker handed over was made up
    bool dataMissing = false;   // the decoder warned of missing coded data
    bool stoppedAtEnd = false;  // the watch ended the decoding there
    int64_t damagedIntervals = 0;  // restart intervals that needed bits past their marker
    JOCTET buffer[kJpegBufferBytes];

    // Arithmetic-coded scans pad silently at a marker, and may rightly leave their last bytes to
    // that padding, so for them only the end of the file tells.
    bool ranOut(const jpeg_decompress_struct& decoder) const {
        return dataMissing || (ended && decoder.arith_code);
    }
};
void attachJpegSource(j_decompress_ptr decoder, JpegStreamSource& source, ByteStream& stream, int64_t available);

// Writes through the stream; a failed write is the library's file-write error.
struct JpegStreamDestination {
    jpeg_destination_mgr manager;  // first
    ByteStream* stream = nullptr;
    JOCTET buffer[kJpegBufferBytes];
};
void attachJpegDestination(j_compress_ptr encoder, JpegStreamDestination& destination, ByteStream& stream);

}  // namespace pixmill

#endif
