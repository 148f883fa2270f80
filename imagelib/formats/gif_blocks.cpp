#include "formats/gif_blocks.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "winplat/byte_reader.h"

namespace pixmill {
namespace {

constexpr int kLabelPlainText = 0x01;
constexpr int kLabelGraphicControl = 0xF9;
constexpr int kLabelComment = 0xFE;
constexpr int kLabelApplication = 0xFF;

constexpr size_t kIdentifierSize = 11;
constexpr size_t kTextRecordSize = 85;   // frame-text fields, then 4 reserved bytes
constexpr size_t kListedComment = 45;    // longer comments are listed with ".." after this much

int32_t clampPosition(int64_t position) { return static_cast<int32_t>(std::clamp<int64_t>(position, 0, INT32_MAX)); }

std::string upperCase(const uint8_t* bytes, size_t count) {
    std::string s(reinterpret_cast<const char*>(bytes), count);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

}  // namespace

PxlGifBlockEntry* GifBlockListing::add(int32_t kind, int64_t start, int64_t end) {
    PxlGifBlockEntry* entry = count_ < capacity_ ? entries_ + count_ : nullptr;
    ++count_;
    if (!entry) return nullptr;
    entry->kind = kind;
    entry->start = clampPosition(start);
    entry->length = clampPosition(end - start);
    return entry;
}

int GifBlockReader::byte() {
    uint8_t b = 0;
    return stream_.read(&b, 1) ? b : -1;
}

bool GifBlockReader::skip(uint32_t count) {
    // Read rather than sought past: a seek beyond the end of a file would not say it is short.
    uint8_t buffer[768];
    while (count > 0) {
        const uint32_t part = std::min<uint32_t>(count, sizeof buffer);
        if (!stream_.read(buffer, part)) return false;
        count -= part;
    }
    return true;
}

bool GifBlockReader::forEachSubBlock(const std::function<void(const uint8_t*, size_t)>& each) {
    uint8_t block[255];
    for (;;) {
        const int length = byte();
        if (length < 0) return false;
        if (length == 0) return true;
        if (!stream_.read(block, static_cast<uint32_t>(length))) return false;
        each(block, static_cast<size_t>(length));
    }
}

PxlGifBlockEntry* GifBlockReader::list(int32_t kind, int64_t start) {
    const int64_t end = stream_.tell();
    listed = end;
    return listing_ ? listing_->add(kind, start, end) : nullptr;
}

void GifBlockReader::readExtension() {
    const int64_t start = listed;
    const int label = byte();
    switch (label) {
        case -1:
            return;  // the file ends; the block loop stops at its next byte
        case kLabelGraphicControl:
            graphicControl(start);
            break;
        case kLabelComment:
            comment(start);
            break;
        case kLabelApplication:
            application(start);
            break;
        case kLabelPlainText:
            plainText(start);
            break;
        default:
            otherExtension(start);
            break;
    }
}

// Size byte (4), packed byte, delay, transparent index; then the chain's terminator.
void GifBlockReader::graphicControl(int64_t start) {
    std::array<uint8_t, 4> fields{};
    bool first = true, whole = false;
    forEachSubBlock([&](const uint8_t* b, size_t n) {
        if (first && n >= fields.size()) {
            std::memcpy(fields.data(), b, fields.size());
            whole = true;
        }
        first = false;
    });
    int8_t packed = 0;
    if (whole) {
        winplat::ByteReader r(fields.data(), fields.size());
        packed = r.i8();
        state_.delay = static_cast<int16_t>(r.u16());
        const uint8_t index = r.u8();
        state_.transparency = (packed & 1) ? kIndexTransparency + uint32_t{index} * 0x10000 : kNoTransparency;
        state_.disposal = static_cast<int16_t>((static_cast<uint8_t>(packed) >> 2) & 7);
    }
    if (PxlGifBlockEntry* e = list(PXL_GIF_BLOCK_GRAPHIC_CONTROL, start)) e->value = packed;
}

void GifBlockReader::comment(int64_t start) {
    state_.comment.reset();
    const bool keep = state_.collectTexts || listing_;
    std::string text;
    forEachSubBlock([&](const uint8_t* b, size_t n) {
        if (keep) text.append(reinterpret_cast<const char*>(b), n);
    });
    if (keep) state_.comment = text;
    if (PxlGifBlockEntry* e = list(PXL_GIF_BLOCK_COMMENT, start)) {
        std::memset(e->text, 0, sizeof e->text);
        std::memcpy(e->text, text.data(), std::min(text.size(), sizeof e->text - 1));
        e->text[kListedComment] = '.';
        e->text[kListedComment + 1] = '.';
        e->text[kListedComment + 2] = '\0';
    }
    if (!state_.collectTexts) state_.comment.reset();
}

void GifBlockReader::application(int64_t start) {
    uint8_t identifier[kIdentifierSize] = {};
    const int size = byte();
    bool named = false;
    if (size == static_cast<int>(kIdentifierSize)) {
        named = read(identifier, kIdentifierSize);
    } else if (size > 0) {
        skip(static_cast<uint32_t>(size));
    }
    const std::string id = named ? upperCase(identifier, kIdentifierSize) : std::string();
    if (id == "NETSCAPE2.0") {
        forEachSubBlock([&](const uint8_t* b, size_t n) {
            if (n == 3) state_.repeatCount = static_cast<int16_t>(b[1] | b[2] << 8);
        });
    } else if (id == "KVATITLE4.0") {
        state_.title.reset();
        std::string title;
        forEachSubBlock([&](const uint8_t* b, size_t n) { title.append(reinterpret_cast<const char*>(b), n); });
        if (state_.collectTexts) state_.title = title;
    } else if (id == "KVATEXTI4.0") {
        state_.textBlock.reset();
        std::optional<TextBlock> block;
        forEachSubBlock([&](const uint8_t* b, size_t n) {
            if (!block) {
                block.emplace();
                const size_t fields = std::min(n, std::min(kTextRecordSize, block->parameters.size()));
                std::memcpy(block->parameters.data(), b, fields);
            } else {
                block->text.append(reinterpret_cast<const char*>(b), n);
            }
        });
        if (state_.collectTexts) state_.textBlock = std::move(block);
    } else {
        skipSubBlocks();
    }
    if (PxlGifBlockEntry* e = list(PXL_GIF_BLOCK_APPLICATION, start)) std::memcpy(e->text, identifier, kIdentifierSize);
}

// Size byte (12) and the text grid header, then the text's sub-blocks: skipped.
void GifBlockReader::plainText(int64_t start) {
    const int size = byte();
    if (size > 0) skip(static_cast<uint32_t>(size));
    if (size >= 0) skipSubBlocks();
    list(PXL_GIF_BLOCK_PLAIN_TEXT, start);
}

void GifBlockReader::otherExtension(int64_t start) {
    skipSubBlocks();
    list(PXL_GIF_BLOCK_OTHER, start);
}

}  // namespace pixmill
