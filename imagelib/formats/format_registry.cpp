#include "formats/format_registry.h"

#include <string>

#include "formats/format_table.h"
#include "winplat/cp1250.h"

namespace pixmill {
namespace {

constexpr winplat::Refuser refuse("PXL32: formats");

// The file-name part of a Windows path.
std::string_view fileName(std::string_view path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The first format whose content test holds: signatures first, then the tests that need the
// extension too, then the fallback. On a stream only the formats read from streams count.
int16_t recognise(const ContentProbe& probe) {
    using enum Recognition;
    for (const Recognition kind : {Signature, WithExtension, Fallback}) {
        for (const FormatTableRow& row : formatTable()) {
            const FormatCodec* codec = row.codec;
            if (!codec || !codec->recognises || codec->recognition != kind) continue;
            if (probe.onStream && !codec->readsStreams()) continue;
            if (codec->recognises(probe)) return static_cast<int16_t>(row.formatId);
        }
    }
    return 0;
}

int16_t run(int formatId, CodecCall& call, CodecStage stage) {
    const FormatCodec* codec = findCodec(formatId);
    if (!codec) {
        return refuse(int16_t{stage == CodecStage::Save ? kCodecCannotCreate : kCodecBadFormat},
                      "no codec reads the format");
    }
    return runCodecStage(*codec, stage, call);
}

}  // namespace

const FormatCodec* findCodec(int formatId) {
    for (const FormatTableRow& row : formatTable()) {
        if (row.formatId == formatId) return row.codec && row.codec->reads() ? row.codec : nullptr;
    }
    return nullptr;
}

int16_t formatFromExtension(const char* path) {
    if (!path) return 0;
    const std::string_view name = fileName(path);
    if (name == "*") return 0;
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string extension = winplat::cp1250::lower(name.substr(dot));
    int16_t id = 0;
    for (const FormatTableRow& row : formatTable()) {
        if (extension == row.extension) id = static_cast<int16_t>(row.formatId);
    }
    return id;
}

int16_t detectImageFormat(const char* path, int64_t offset) {
    ByteStream file;
    return detectImageFormat(path, offset, file);
}

int16_t detectImageFormat(const char* path, int64_t offset, ByteStream& file) {
    if (!path || fileName(path) == "*" || offset < 0) return 0;
    ContentProbe probe;
    probe.byExtension = formatFromExtension(path);
    probe.offset = offset;
    uint8_t bytes[kProbeBytes];
    if (!file.openFile(path, "rb") || !file.seek(offset, SEEK_SET) || !file.read(bytes, sizeof bytes)) return 0;
    probe.bytes = bytes;
    return recognise(probe);
}

int16_t detectStreamFormat(ByteStream& stream) {
    const int64_t start = stream.tell();
    uint8_t bytes[kProbeBytes];
    const bool read = stream.read(bytes, sizeof bytes);
    stream.seek(start, SEEK_SET);
    if (!read) return 0;
    ContentProbe probe;
    probe.bytes = bytes;
    probe.onStream = true;
    return recognise(probe);
}

int16_t runInfo(int formatId, CodecCall& call) { return run(formatId, call, CodecStage::Info); }

int16_t runLoad(int formatId, CodecCall& call) { return run(formatId, call, CodecStage::Load); }

int16_t runSave(int formatId, CodecCall& call) { return run(formatId, call, CodecStage::Save); }

}  // namespace pixmill
