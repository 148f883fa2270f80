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
// notes that the data ended; when the decoder then finds it short of coded data, the picture is
// cut off and ranOut() says so, so the codec stops instead of letting the library pad the rest.
struct JpegStreamSource {
    jpeg_source_mgr manager;  // first
    ByteStream* stream = nullptr;
    int64_t available = 0;
    bool ended = false;        // the end-of-image marker handed over was made up
    bool dataMissing = false;  // the decoder warned of missing data after that
    JOCTET buffer[kJpegBufferBytes];

    // Arithmetic-coded scans pad silently at a marker, so for them the end itself tells.
    bool ranOut(const jpeg_decompress_struct& decoder) const {
        return ended && (dataMissing || decoder.arith_code);
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
