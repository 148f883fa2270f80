#include <zlib.h>

#include "pixmill/pixmill.h"

namespace {

// zlib measures lengths in uLongf, wider than the 32-bit length of the exports, so the length
// travels through a local of zlib's width in both directions.
template <typename ZlibCall>
int16_t runWholeBuffer(ZlibCall call, uint8_t* dest, uint32_t* destLen, const uint8_t* source,
                       uint32_t sourceLen) {
    if (!dest || !destLen || !source) return Z_STREAM_ERROR;
    uLongf length = *destLen;
    const int result = call(dest, &length, source, sourceLen);
    *destLen = static_cast<uint32_t>(length);
    return static_cast<int16_t>(result);
}

}  // namespace

extern "C" {

PXL_API int16_t PXLcompress(uint8_t* dest, uint32_t* destLen, const uint8_t* source, uint32_t sourceLen) {
    return runWholeBuffer(
        [](Bytef* d, uLongf* dl, const Bytef* s, uLong sl) { return compress(d, dl, s, sl); }, dest, destLen,
        source, sourceLen);
}

PXL_API int16_t PXLdecompress(uint8_t* dest, uint32_t* destLen, const uint8_t* source, uint32_t sourceLen) {
    return runWholeBuffer(
        [](Bytef* d, uLongf* dl, const Bytef* s, uLong sl) { return uncompress(d, dl, s, sl); }, dest,
        destLen, source, sourceLen);
}

}  // extern "C"
