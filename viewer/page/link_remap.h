// A link target carried from one document into another (objects and text copied between the
// documents of a linked set): page links name their document by member, which the set maps;
// plain page links name a page of their own document, which a translation table maps; every
// other kind is kept as it stands.
#ifndef LECT32_PAGE_LINK_REMAP_H
#define LECT32_PAGE_LINK_REMAP_H

#include <cstdint>

#include "store/link_target.h"

namespace lect32 {

// What the documents' relation tells: a member document's index in the other document's set,
// and where a page of the source document went.
class LinkRemap {
public:
    virtual ~LinkRemap() = default;
    virtual uint8_t MapMember(uint8_t member) const = 0;
    virtual uint16_t MapPage(uint16_t page) const = 0;
};

// Kinds 2 and 3 keep page and position and map their member; kind 10 keeps its 32-bit value;
// kind 0 maps its page; the rest are copied.
LinkTarget RemapLinkTarget(const LinkTarget& link, const LinkRemap& remap);

}  // namespace lect32

#endif
