#include "formats/tiff_stream.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <string>

#include "winplat/debug.h"

namespace pixmill {
namespace {

void report(const char* kind, const char* module, const char* format, va_list arguments) {
    char message[512] = {};
    if (format) std::vsnprintf(message, sizeof message, format, arguments);
    const std::string line =
        std::string("PXL32: ") + (module && *module ? module : "TIFFLIB") + " " + kind + ": TIFF: " + message + "\n";
    OutputDebugStringA(line.c_str());
}

TiffWindow& windowOf(thandle_t handle) { return *static_cast<TiffWindow*>(handle); }

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size) { return windowOf(handle).read(buffer, size); }
tmsize_t writeProc(thandle_t handle, void* buffer, tmsize_t size) { return windowOf(handle).write(buffer, size); }
toff_t seekProc(thandle_t handle, toff_t offset, int whence) { return windowOf(handle).seek(offset, whence); }
int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t handle) { return windowOf(handle).size(); }
int mapProc(thandle_t, void**, toff_t*) { return 0; }
void unmapProc(thandle_t, void*, toff_t) {}

#if TIFFLIB_VERSION >= 20221213
// Per-handle handlers: a library user elsewhere in the process keeps its own.
int warningHandler(TIFF*, void*, const char* module, const char* format, va_list arguments) {
    report("Warning", module, format, arguments);
    return 1;
}
int errorHandler(TIFF*, void*, const char* module, const char* format, va_list arguments) {
    report("Error", module, format, arguments);
    return 1;
}

TIFF* openWindow(TiffWindow& window, const char* mode) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options, errorHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, warningHandler, nullptr);
    TIFF* tiff = TIFFClientOpenExt("picture", mode, &window, readProc, writeProc, seekProc, closeProc, sizeProc,
                                   mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    return tiff;
}
#else
// Older libraries have process-wide handlers only.
void warningHandler(const char* module, const char* format, va_list arguments) {
    report("Warning", module, format, arguments);
}
void errorHandler(const char* module, const char* format, va_list arguments) {
    report("Error", module, format, arguments);
}

TIFF* openWindow(TiffWindow& window, const char* mode) {
    TIFFSetErrorHandler(errorHandler);
    TIFFSetWarningHandler(warningHandler);
    return TIFFClientOpen("picture", mode, &window, readProc, writeProc, seekProc, closeProc, sizeProc, mapProc,
                          unmapProc);
}
#endif

}  // namespace

TIFF* TiffWindow::open(const char* mode) { return openWindow(*this, mode); }

tmsize_t TiffWindow::read(void* buffer, tmsize_t size) {
    if (size <= 0 || position_ >= end_) return 0;
    const int64_t count = std::min<int64_t>({size, end_ - position_, std::numeric_limits<uint32_t>::max()});
    if (!moveStreamTo(base_ + position_) || !stream_.read(buffer, static_cast<uint32_t>(count))) {
        streamAt_ = -1;
        return 0;
    }
    position_ += count;
    streamAt_ = base_ + position_;
    return static_cast<tmsize_t>(count);
}

tmsize_t TiffWindow::write(const void* buffer, tmsize_t size) {
    if (size < 0 || size > std::numeric_limits<uint32_t>::max()) return 0;
    if (!moveStreamTo(base_ + position_) || !stream_.write(buffer, static_cast<uint32_t>(size))) {
        streamAt_ = -1;
        return 0;
    }
    position_ += size;
    streamAt_ = base_ + position_;
    end_ = std::max(end_, position_);
    return size;
}

// Reads that follow each other need no seek, which would throw away what the file has buffered.
bool TiffWindow::moveStreamTo(int64_t at) {
    if (at == streamAt_) return true;
    streamAt_ = stream_.seek(at, SEEK_SET) ? at : -1;
    return streamAt_ == at;
}

toff_t TiffWindow::seek(toff_t offset, int whence) {
    constexpr toff_t kFailed = static_cast<toff_t>(-1);
    const int64_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? position_ : end_;
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return kFailed;
    // libtiff hands negative displacements as huge unsigned values; positions stay far from overflow.
    constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 2;
    const auto move = static_cast<int64_t>(offset);
    if (move > kLimit || from > kLimit || from + move < 0 || from + move > kLimit) return kFailed;
    position_ = from + move;
    return static_cast<toff_t>(position_);
}

}  // namespace pixmill
