// The LZW decoder of GIF image data: variable-width codes read least significant bit first across
// the data sub-blocks, with clear and end codes, a 4096-entry table that stays full until the next
// clear (deferred clear), interlaced row order, and rows packed for the depth the image keeps.
#ifndef PIXMILL_FORMATS_GIF_LZW_DECODER_H
#define PIXMILL_FORMATS_GIF_LZW_DECODER_H

#include <cstdint>

#include "formats/codec.h"

namespace pixmill {

// The frame as its descriptor gives it, and the rows the sink takes.
struct GifImageShape {
    int width = 0;   // from the descriptor
    int height = 0;
    bool interlaced = false;
    RowLayout out;   // depth, stride and size of the rows handed over
    int whiteIndex = 0;  // fills the padding nibbles of 4-bit rows
};

struct GifDecodeResult {
    int16_t code = kCodecOk;   // 0 at the end code or once every row is out; 2 bad or missing data;
                               // 3 the file ended inside the data; 8 the sink asked to stop
    bool terminatorRead = false;  // the zero-length sub-block that ends the data was consumed
};

// Decodes one image's data sub-blocks from the stream's position (just after the minimum code
// size byte) and hands each row inside out.height to the sink (progress first). Rows of the frame
// beyond out.height and pixels beyond out.width are dropped. Throws std::bad_alloc when the string
// table cannot be had (the codec's caller turns that into kCodecNoMemory).
GifDecodeResult decodeGifImage(ByteStream& stream, int minimumCodeSize, const GifImageShape& shape, RowSink& sink,
                               PxlProgressFn progress);

}  // namespace pixmill

#endif
