// libtiff on a window of a codec's byte stream, with the codec's message handlers.
//
// libtiff addresses a file from its first byte; a TIFF picture stored inside a larger file starts
// at the call's offset instead. The window makes that offset position 0 of what libtiff sees, so
// an embedded picture reads as if it were a file of its own.
#ifndef PIXMILL_FORMATS_TIFF_STREAM_H
#define PIXMILL_FORMATS_TIFF_STREAM_H

#include <tiffio.h>

#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

class TiffWindow {
public:
    // base: where the picture starts in the stream; length: the bytes from there on that belong to
    // it (reading), or 0 for a picture being written.
    TiffWindow(ByteStream& stream, int64_t base, int64_t length) : stream_(stream), base_(base), end_(length) {}
    TiffWindow(const TiffWindow&) = delete;
    TiffWindow& operator=(const TiffWindow&) = delete;

    // Opens libtiff on the window ("r" or "w"); the handle is closed with the returned holder.
    // Warnings and errors of the library go to the debug output as "PXL32: TIFFLIB Warning: TIFF:
    // ..." and "PXL32: TIFFLIB Error: TIFF: ..." (the module libtiff names instead of TIFFLIB when
    // it names one); no message reaches the user interface.
    TIFF* open(const char* mode);

    tmsize_t read(void* buffer, tmsize_t size);
    tmsize_t write(const void* buffer, tmsize_t size);
    toff_t seek(toff_t offset, int whence);
    toff_t size() const { return static_cast<toff_t>(end_); }

private:
    bool moveStreamTo(int64_t at);

    ByteStream& stream_;
    int64_t base_;
    int64_t end_;
    int64_t position_ = 0;
    int64_t streamAt_ = -1;  // where the stream stands, -1 when unknown
};

// Closes a libtiff handle on every path.
class TiffHandle {
public:
    explicit TiffHandle(TIFF* tiff) : tiff_(tiff) {}
    ~TiffHandle() {
        if (tiff_) TIFFClose(tiff_);
    }
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;
    TIFF* get() const { return tiff_; }
    explicit operator bool() const { return tiff_ != nullptr; }

private:
    TIFF* tiff_;
};

}  // namespace pixmill

#endif
