#include "text/code_edits.h"

#include "text/char_format.h"
#include "text/control_codes.h"
#include "text/font_faces.h"
#include "text/format_parts.h"

namespace lect32 {

uint16_t ValidateControlCodes(std::span<uint8_t> text) {
    for (size_t at = 0; at < text.size();) {
        if (!IsControlCode(text[at])) {
            ++at;
            continue;
        }
        const size_t length = SequenceLength(text, at);
        if (length == 0) return kCodeUnclosed;
        if (text[at] == kCodeCharFormat) {
            CharFormat format;
            if (!ValidateCharFormatPayload(&text[at + 1], GetDocumentFonts().main.GetCount(), format))
                return kCodeBadPayload;
        } else if (text[at] == kCodeShadow) {
            winplat::ByteReader payload(text.subspan(at + 1, Shadow::kStoredSize));
            if (!Shadow::Read(payload).IsValid()) return kCodeBadPayload;
        }
        at += length;
    }
    return kCodesSound;
}

void ScaleControlCodes(std::span<uint8_t> text, int zoom) {
    ForEachSequence(text, [&](size_t at, size_t length) {
        winplat::ByteReader payload(text.subspan(at + 1, length - 2));
        if (text[at] == kCodeCharFormat) {
            CharFormat format = CharFormat::Read(payload);
            format.ScaleSize(zoom);
            format.Write(&text[at + 1]);
        } else if (text[at] == kCodeShadow) {
            Shadow shadow = Shadow::Read(payload);
            shadow.Scale(zoom);
            shadow.Write(&text[at + 1]);
        }
    });
}

size_t StripControlCodes(std::span<uint8_t> text, bool alsoTabs) {
    size_t kept = 0;
    for (size_t at = 0; at < text.size();) {
        const uint8_t byte = text[at];
        if (byte == '\n' || (alsoTabs && byte == '\t')) {
            ++at;
        } else if (IsControlCode(byte)) {
            const size_t length = SequenceLength(text, at);
            at += length == 0 ? 1 : length;
        } else {
            text[kept++] = text[at++];
        }
    }
    return kept;
}

}  // namespace lect32
