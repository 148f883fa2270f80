#include "store/link_target.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using lect32::LinkTarget;

// Link number 0 leads to the source itself; other numbers to a document named by both.
class FakeResolver : public lect32::LinkResolver {
public:
    uint8_t current = 7;
    mutable int sourceAsked = -1;
    uint8_t CurrentDocumentIndex() const override { return current; }
    uint8_t ResolveLink(uint8_t source, uint8_t linkNumber) const override {
        sourceAsked = source;
        return linkNumber == 0 ? source : static_cast<uint8_t>(source * 16 + linkNumber);
    }
};

LinkTarget sample(uint8_t kind) {
    LinkTarget target;
    target.kind = kind;
    target.a = 0x1234;
    target.b = 0x5678;
    target.c = 0x9ABC;
    target.d = 0xDEADBEEF;
    target.document = 0x03;
    return target;
}

Bytes encode(const LinkTarget& target, bool framed) {
    Bytes out(LinkTarget::kMaxEncoded);
    out.resize(target.Encode(out, framed));
    return out;
}

struct KindCase {
    uint8_t kind;
    Bytes body;  // after the kind byte
    uint8_t frameLength;
};

const Bytes kWordA = {0x34, 0x12};
const Bytes kNone = {};
const Bytes kPage = {0x34, 0x12, 0x78, 0x56, 0x03};

const KindCase kKinds[] = {
    {0, kWordA, 5},  {1, kWordA, 5},  {2, kPage, 8},  {3, kPage, 8},  {4, kWordA, 5},
    {5, kNone, 2},   {6, kNone, 2},   {7, kNone, 2},  {8, kNone, 2},  {9, kNone, 2},
    {10, {0xEF, 0xBE, 0xAD, 0xDE}, 7},
    {11, kWordA, 5}, {12, kWordA, 5}, {13, kWordA, 5}, {14, kWordA, 5},
    {15, {0x34, 0x12, 0x78, 0x56, 0xBC, 0x9A, 0x03}, 10},
    {16, kNone, 2},  {17, kNone, 2},  {18, kNone, 2}, {19, kNone, 2},
    {20, kNone, 5},  // the frame says 3 body bytes where there is 1: kept as stored documents have it
};

TEST(LinkTargetTest, EncodesEveryKindPlainAndFramed) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(int(c.kind));
        Bytes plain = {c.kind};
        plain.insert(plain.end(), c.body.begin(), c.body.end());
        EXPECT_EQ(encode(sample(c.kind), false), plain);
        EXPECT_EQ(lect32::LinkBodyLength(c.kind), plain.size());

        Bytes framed = {20, c.frameLength};
        framed.insert(framed.end(), plain.begin(), plain.end());
        framed.insert(framed.end(), {c.frameLength, 20});
        EXPECT_EQ(encode(sample(c.kind), true), framed);
    }
}

TEST(LinkTargetTest, KindsPastTheTableHaveNoBodyAndFrameLengthTwo) {
    EXPECT_EQ(encode(sample(200), true), (Bytes{20, 2, 200, 2, 20}));
}

TEST(LinkTargetTest, DecodesEveryKindBackPlainAndFramed) {
    FakeResolver resolver;
    for (const KindCase& c : kKinds) {
        for (bool framed : {false, true}) {
            SCOPED_TRACE(testing::Message() << int(c.kind) << (framed ? " framed" : " plain"));
            const LinkTarget written = sample(c.kind);
            LinkTarget read;
            read.b = 0xEEEE;  // decoding clears B and the document for every kind
            read.document = 0xEE;
            ASSERT_EQ(read.Decode(encode(written, framed), framed, 1, false, resolver), c.kind);
            const bool page = c.kind == 2 || c.kind == 3;
            const bool wordA = !c.body.empty() && c.kind != 10;
            EXPECT_EQ(read.a, wordA ? written.a : 0);
            EXPECT_EQ(read.b, page || c.kind == 15 ? written.b : 0);
            EXPECT_EQ(read.c, c.kind == 15 ? written.c : 0);
            EXPECT_EQ(read.d, c.kind == 10 ? written.d : 0u);
            // Page links resolve link number 3 of source document 1; kind 15 keeps its byte.
            EXPECT_EQ(read.document, page ? 0x13 : c.kind == 15 ? 0x03 : 0);
        }
    }
}

TEST(LinkTargetTest, LinkNumberZeroIsTheSourceDocument) {
    FakeResolver resolver;
    LinkTarget target = sample(2);
    target.document = 0;
    LinkTarget read;
    read.Decode(encode(target, false), false, 5, false, resolver);
    EXPECT_EQ(read.document, 5);
}

TEST(LinkTargetTest, MainDocumentSourceDependsOnTheOwner) {
    FakeResolver resolver;
    LinkTarget target = sample(3);
    target.document = 0;
    const Bytes stored = encode(target, false);
    LinkTarget read;
    read.Decode(stored, false, 0xFF, true, resolver);
    EXPECT_EQ(resolver.sourceAsked, 0);
    read.Decode(stored, false, 0xFF, false, resolver);
    EXPECT_EQ(resolver.sourceAsked, 7);
    EXPECT_EQ(read.document, 7);
}

TEST(LinkTargetTest, FramedPageLinkIsTenBytes) {
    const Bytes framed = encode(sample(2), true);
    ASSERT_EQ(framed.size(), 10u);
    EXPECT_EQ(framed.front(), 20);
    EXPECT_EQ(framed[1], 8);
    EXPECT_EQ(framed[8], 8);
    EXPECT_EQ(framed.back(), 20);
}

TEST(LinkTargetTest, ShortInputIsRefusedAndLeavesTheTarget) {
    FakeResolver resolver;
    for (const KindCase& c : kKinds) {
        for (bool framed : {false, true}) {
            SCOPED_TRACE(testing::Message() << int(c.kind) << (framed ? " framed" : " plain"));
            Bytes stored = encode(sample(c.kind), framed);
            const size_t needed = (framed ? 2 : 0) + lect32::LinkBodyLength(c.kind);
            stored.resize(needed - 1);
            LinkTarget read = sample(99);
            EXPECT_EQ(read.Decode(stored, framed, 1, false, resolver), -1);
            EXPECT_EQ(read.kind, 99);
            EXPECT_EQ(read.b, 0x5678);
            // The whole body, without the trailing frame bytes, is enough.
            stored = encode(sample(c.kind), framed);
            stored.resize(needed);
            EXPECT_EQ(read.Decode(stored, framed, 1, false, resolver), c.kind);
        }
    }
}

TEST(LinkTargetTest, FrameCutBeforeTheKindIsRefused) {
    FakeResolver resolver;
    LinkTarget read = sample(4);
    for (const Bytes& stored : {Bytes{}, Bytes{5}, Bytes{20, 2}}) {
        EXPECT_EQ(read.Decode(stored, true, 1, false, resolver), -1) << stored.size();
        EXPECT_EQ(read.kind, 4);
    }
    EXPECT_EQ(read.Decode(Bytes{}, false, 1, false, resolver), -1);
}

TEST(LinkTargetTest, EncodeRefusesAShortBuffer) {
    Bytes out(9);
    EXPECT_EQ(sample(2).Encode(out, true), 0u);
    out.resize(10);
    EXPECT_EQ(sample(2).Encode(out, true), 10u);
}

}  // namespace
