#include "page/link_remap.h"

#include <gtest/gtest.h>

namespace {

class Shifted final : public lect32::LinkRemap {
public:
    uint8_t MapMember(uint8_t member) const override { return static_cast<uint8_t>(member + 10); }
    uint16_t MapPage(uint16_t page) const override { return static_cast<uint16_t>(page + 100); }
};

lect32::LinkTarget target(uint8_t kind) {
    lect32::LinkTarget link;
    link.kind = kind;
    link.a = 5;
    link.b = 6;
    link.c = 7;
    link.d = 0x01020304;
    link.document = 2;
    return link;
}

TEST(LinkRemapTest, EachKindTakesWhatItsDocumentChangeMeans) {
    struct Case {
        uint8_t kind;
        uint16_t a;
        uint8_t document;
    };
    const Case cases[] = {
        {0, 105, 2},  // a page of the same document: its new number
        {1, 5, 2},    // the word of kind 1 is no page of the document
        {2, 5, 12},   // page link into a member: the member's new index, page and position kept
        {3, 5, 12},
        {4, 5, 2},
        {10, 5, 2},   // the 32-bit value is copied
        {15, 5, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.kind));
        const lect32::LinkTarget mapped = lect32::RemapLinkTarget(target(c.kind), Shifted());
        EXPECT_EQ(mapped.kind, c.kind);
        EXPECT_EQ(mapped.a, c.a);
        EXPECT_EQ(mapped.b, 6);
        EXPECT_EQ(mapped.c, 7);
        EXPECT_EQ(mapped.d, 0x01020304u);
        EXPECT_EQ(mapped.document, c.document);
    }
}

}  // namespace
