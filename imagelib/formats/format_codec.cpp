#include "formats/format_codec.h"

#include <new>

namespace pixmill {
namespace {

CodecFn entryOf(const FormatCodec& codec, CodecStage stage) {
    switch (stage) {
        case CodecStage::Info: return codec.info;
        case CodecStage::Load: return codec.load;
        case CodecStage::Save: return codec.save;
    }
    return nullptr;
}

bool needsFile(const FormatCodec& codec, CodecStage stage) {
    if (codec.fileNeed == FileNeed::Always) return true;
    return codec.fileNeed == FileNeed::ToRead && stage != CodecStage::Save;
}

// kCodecOk when the call may go on, else the refusal code, logged.
int16_t checkCodecCall(const FormatCodec& codec, CodecStage stage, const CodecCall& call) {
    const bool saving = stage == CodecStage::Save;
    const int16_t unable = saving ? kCodecCannotCreate : kCodecBadFormat;
    if (!entryOf(codec, stage)) {
        return codec.refuse(unable, saving ? "the format is read only" : "the format is not read");
    }
    if (!call.stream.bound()) return codec.refuse(int16_t{kCodecBadFormat}, "the call has no stream");
    if (needsFile(codec, stage) && !call.stream.isFile()) {
        return codec.refuse(unable, "the codec needs a file, not an IStream or a callback stream");
    }
    if (stage == CodecStage::Load && !call.sink) {
        return codec.refuse(int16_t{kCodecBadFormat}, "a load without a row sink");
    }
    if (saving && !call.source) return codec.refuse(int16_t{kCodecBadFormat}, "a save without a row source");
    return kCodecOk;
}

}  // namespace

int16_t runCodecStage(const FormatCodec& codec, CodecStage stage, CodecCall& call) {
    if (const int16_t refused = checkCodecCall(codec, stage, call); refused != kCodecOk) return refused;
    try {
        return entryOf(codec, stage)(call);
    } catch (const std::bad_alloc&) {
        return codec.refuse(int16_t{kCodecNoMemory}, "out of memory");
    }
}

}  // namespace pixmill
