// A hyperlink's target: in memory a LinkTarget, stored as a kind byte and a body whose fields
// depend on the kind, either plain (inside page objects) or framed by 20, L ... L, 20 (inside the
// text of text objects). Page links store a link number of their source document, which decoding
// resolves to a document index through the linked-document set.
#ifndef LECT32_STORE_LINK_TARGET_H
#define LECT32_STORE_LINK_TARGET_H

#include <cstddef>
#include <cstdint>
#include <span>

namespace lect32 {

// What decoding a page link asks of the reader around it: the document of the current page
// window, and the document index a source document's link number leads to.
class LinkResolver {
public:
    virtual ~LinkResolver() = default;
    virtual uint8_t CurrentDocumentIndex() const = 0;
    virtual uint8_t ResolveLink(uint8_t sourceDocument, uint8_t linkNumber) const = 0;
};

struct LinkTarget {
    static constexpr uint8_t kFrameByte = 20;
    static constexpr size_t kMaxEncoded = 8 + 4;  // the longest body, framed
    static constexpr uint8_t kMainDocumentSource = 0xFF;

    uint8_t kind = 0;
    uint16_t a = 0;
    uint8_t document = 0;
    uint16_t b = 0;
    uint16_t c = 0;
    uint32_t d = 0;

    // Writes the stored body (framed when asked) and returns its length; for page links the
    // document byte is the in-memory document index as it stands (the caller puts a link number
    // there when the target must decode to itself). 0 when 'out' is too short.
    size_t Encode(std::span<uint8_t> out, bool framed) const;

    // Reads a stored target; 'sourceDocument' 0xFF stands for document 0 when the owner is the
    // main page window, else for the current page window's document. Returns the kind, or -1
    // (the target unchanged) when the bytes end before the kind's body does.
    int Decode(std::span<const uint8_t> stored, bool framed, uint8_t sourceDocument,
               bool ownerIsMainPageWindow, const LinkResolver& resolver);
};

// Length of a kind's stored body, the kind byte included.
uint8_t LinkBodyLength(uint8_t kind);
// The L byte a frame around a target of this kind carries. Stored documents carry exactly these
// values, which do not match the body for kinds 5-9 and 20, so L must never be used to skip a frame.
uint8_t LinkFrameLength(uint8_t kind);

}  // namespace lect32

#endif
