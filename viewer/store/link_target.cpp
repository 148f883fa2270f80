#include "store/link_target.h"

#include <array>

#include "winplat/byte_reader.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: link target");

// Body lengths without the kind byte, as the frame's L byte has always counted them; kinds past
// the table count 0.
constexpr std::array<uint8_t, 21> kFrameTable = {3, 3, 6, 6, 3, 0, 0, 0, 0, 0, 5,
                                                 3, 3, 3, 3, 8, 0, 0, 0, 0, 3};

bool IsPageLink(uint8_t kind) { return kind == 2 || kind == 3; }
bool HasNoBody(uint8_t kind) { return (kind >= 5 && kind <= 9) || kind >= 16; }

class Sink {
public:
    explicit Sink(std::span<uint8_t> out) : out_(out) {}
    void u8(uint8_t value) { out_[at_++] = value; }
    void u16(uint16_t value) {
        u8(static_cast<uint8_t>(value));
        u8(static_cast<uint8_t>(value >> 8));
    }
    void u32(uint32_t value) {
        u16(static_cast<uint16_t>(value));
        u16(static_cast<uint16_t>(value >> 16));
    }
    size_t written() const { return at_; }

private:
    std::span<uint8_t> out_;
    size_t at_ = 0;
};

}  // namespace

uint8_t LinkBodyLength(uint8_t kind) {
    if (IsPageLink(kind)) return 6;
    if (kind == 10) return 5;
    if (kind == 15) return 8;
    if (HasNoBody(kind)) return 1;
    return 3;
}

uint8_t LinkFrameLength(uint8_t kind) {
    const uint8_t entry = kind < kFrameTable.size() ? kFrameTable[kind] : 0;
    return static_cast<uint8_t>(entry + 2);
}

size_t LinkTarget::Encode(std::span<uint8_t> out, bool framed) const {
    const size_t total = LinkBodyLength(kind) + (framed ? 4 : 0);
    if (out.size() < total) return refuse(size_t{0}, "the buffer is shorter than the stored target");
    Sink sink(out);
    if (framed) {
        sink.u8(kFrameByte);
        sink.u8(LinkFrameLength(kind));
    }
    sink.u8(kind);
    if (IsPageLink(kind)) {
        sink.u16(a);
        sink.u16(b);
        sink.u8(document);
    } else if (kind == 10) {
        sink.u32(d);
    } else if (kind == 15) {
        sink.u16(a);
        sink.u16(b);
        sink.u16(c);
        sink.u8(document);
    } else if (!HasNoBody(kind)) {
        sink.u16(a);
    }
    if (framed) {
        sink.u8(LinkFrameLength(kind));
        sink.u8(kFrameByte);
    }
    return sink.written();
}

int LinkTarget::Decode(std::span<const uint8_t> stored, bool framed, uint8_t sourceDocument,
                       bool ownerIsMainPageWindow, const LinkResolver& resolver) {
    winplat::ByteReader reader(stored);
    if (framed && !reader.skip(2)) return refuse(-1, "the frame ends before the kind");
    if (!reader.has(1)) return refuse(-1, "no kind byte");
    const uint8_t storedKind = stored[reader.position()];
    // The trailing frame bytes are not read: only the body must be there.
    if (!reader.has(LinkBodyLength(storedKind))) return refuse(-1, "the body ends early");

    kind = reader.u8();
    b = 0;
    document = 0;
    if (IsPageLink(kind)) {
        a = reader.u16();
        b = reader.u16();
        const uint8_t linkNumber = reader.u8();
        uint8_t source = sourceDocument;
        if (source == kMainDocumentSource) source = ownerIsMainPageWindow ? 0 : resolver.CurrentDocumentIndex();
        document = resolver.ResolveLink(source, linkNumber);
    } else if (kind == 10) {
        d = reader.u32();
    } else if (kind == 15) {
        a = reader.u16();
        b = reader.u16();
        c = reader.u16();
        document = reader.u8();
    } else if (!HasNoBody(kind)) {
        a = reader.u16();
    }
    return kind;
}

}  // namespace lect32
