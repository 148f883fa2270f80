// What each codec gives the format table, and the one place where a codec's entry points run.
//
// A codec file defines one FormatCodec: the name it refuses under, the test that recognises its
// pictures by their first bytes, its info reader, loader and writer, and which of them need a
// file. The entry points only do the format's work; runCodecStage checks the call against what
// the stage needs (a stream, a file, a row sink or source) and turns running out of memory into
// kCodecNoMemory, so that every codec refuses the same condition with the same code and says why.
#ifndef PIXMILL_FORMATS_FORMAT_CODEC_H
#define PIXMILL_FORMATS_FORMAT_CODEC_H

#include <cstddef>
#include <cstdint>

#include "formats/codec.h"
#include "winplat/refusal.h"

namespace pixmill {

using CodecFn = int16_t (*)(CodecCall&);

// How many first bytes of a picture its content test sees.
constexpr size_t kProbeBytes = 10;

// What recognising a picture may look at.
struct ContentProbe {
    const uint8_t* bytes = nullptr;  // the picture's first kProbeBytes bytes
    int16_t byExtension = 0;         // the format the file's extension names; 0 none
    int64_t offset = 0;              // where the picture starts inside its file
    bool onStream = false;           // an IStream or callback stream rather than a file
};

using ContentTest = bool (*)(const ContentProbe&);

// How much a content test needs. The tests of one kind never hold for the same bytes, so the
// order of the table decides nothing within a kind; a signature always wins over an extension.
enum class Recognition : uint8_t {
    Signature,      // the first bytes alone
    WithExtension,  // a weak signature or none: the file's extension must name the format too
    Fallback,       // whatever nothing else recognised (Targa, which has no signature)
};

// Which entry points need the call's stream to be a file.
enum class FileNeed : uint8_t {
    None,     // reads and writes IStreams and callback streams as well
    ToRead,   // the writer takes any stream; the readers need a file
    Always,   // files only
};

enum class CodecStage : uint8_t { Info, Load, Save };

struct FormatCodec {
    winplat::Refuser refuse;  // "PXL32: <format>", for the codec's own refusals too
    ContentTest recognises = nullptr;
    Recognition recognition = Recognition::Signature;
    CodecFn info = nullptr;  // null: the format is recognised but not read
    CodecFn load = nullptr;
    CodecFn save = nullptr;  // null: read only
    FileNeed fileNeed = FileNeed::Always;

    bool readsStreams() const { return fileNeed == FileNeed::None; }
    bool reads() const { return info && load; }
};

// Runs one entry point of a codec on a call. A missing entry point, a call without a bound
// stream, a stream that is not a file where the stage needs one and a load without a sink or a
// save without a source are refused before the codec sees the call: kCodecBadFormat for reading
// and for a missing sink or source, kCodecCannotCreate for a writer that is missing or needs a
// file. Running out of memory inside the codec is kCodecNoMemory.
int16_t runCodecStage(const FormatCodec& codec, CodecStage stage, CodecCall& call);

// One stage of one codec as a plain function, for callers that hold a codec by its functions.
template <const FormatCodec& Codec, CodecStage Stage>
int16_t codecEntry(CodecCall& call) {
    return runCodecStage(Codec, Stage, call);
}

}  // namespace pixmill

#endif
