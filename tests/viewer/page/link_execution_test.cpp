// The requests links make of the navigation window, by kind and by where they are followed.
#include "page/link_execution.h"

#include <gtest/gtest.h>

#include "store/navigation_requests.h"

namespace {

using lect32::LinkContext;
using lect32::LinkRecord;
using lect32::NavigationRequest;

LinkRecord Link(uint8_t kind, int16_t target, uint8_t linkNumber = 0, int16_t position = 0, int32_t program = 0) {
    LinkRecord link;
    link.kind = kind;
    link.target = target;
    link.linkNumber = linkNumber;
    link.position = position;
    link.program = program;
    return link;
}

WPARAM Signed(int value) { return static_cast<WPARAM>(static_cast<intptr_t>(value)); }

TEST(LinkExecutionTest, EveryKindMakesItsRequest) {
    struct Case {
        const char* name;
        LinkRecord link;
        LinkContext context;
        NavigationRequest request;
    };
    const LinkContext plain{};
    const LinkContext toolBar{true, false, 0};
    const LinkContext popup{false, true, 6};
    const Case cases[] = {
        {"page and position", Link(2, 12, 3, 7), plain, {7008, 12, (7 << 16) | 3}},
        {"page and position in a popup", Link(3, 12, 3, 7), plain, {7009, 12, (7 << 16) | 3}},
        {"page button", Link(4, 9), plain, {7010, 9, 0}},
        {"page button 100, below the object commands", Link(4, 100), plain, {7010, 100, 0}},
        {"page button 201, above them", Link(4, 201), plain, {7010, 201, 0}},
        {"program", Link(10, 0, 0, 0, 0x12345), plain, {7005, 10, 0x12345}},
        {"program from the tool bar", Link(10, 0, 0, 0, 5), toolBar, {7005, 10 + 4096, 5}},
        {"sound", Link(11, 4), plain, {7005, 11, 4}},
        {"video from the tool bar", Link(12, 4), toolBar, {7005, 12 + 4096, 4}},
        {"kind 13", Link(13, 8), plain, {7011, 8, 0}},
        {"kind 14", Link(14, 8), plain, {7012, 8, 0}},
        {"kind 15", Link(15, 8, 2, 40), plain, {7013, 8, (2 << 16) | 40}},
        {"plain page link", Link(0, 5), plain, {7001, 5, 0}},
        {"contents item", Link(1, -1), plain, {7002, Signed(-1), 0}},
        {"page link from a popup: the popup's document", Link(0, 5), popup, {7008, 5, 6}},
        {"page link from the tool bar: the main document", Link(0, 5), toolBar, {7008, 5, 0}},
        {"contents item from a popup: a page all the same", Link(1, 5), popup, {7008, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto request = lect32::RequestForLink(c.link, c.context);
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(request->message, c.request.message);
        EXPECT_EQ(request->wParam, c.request.wParam);
        EXPECT_EQ(request->lParam, c.request.lParam);
    }
}

TEST(LinkExecutionTest, ObjectCommandsAndAddressesMakeNoRequest) {
    for (const int16_t target : {101, 110, 200}) {
        SCOPED_TRACE(target);
        EXPECT_TRUE(lect32::IsObjectCommand(Link(4, target)));
        EXPECT_FALSE(lect32::RequestForLink(Link(4, target), {}).has_value());
    }
    for (const int16_t target : {100, 201}) EXPECT_FALSE(lect32::IsObjectCommand(Link(4, target))) << target;
    EXPECT_FALSE(lect32::IsObjectCommand(Link(2, 110)));
    EXPECT_FALSE(lect32::RequestForLink(Link(20, 0), {}).has_value());
    const char text[] = "www.x.cz";
    const NavigationRequest address = lect32::RequestForAddress(text);
    EXPECT_EQ(address.message, 7007u);
    EXPECT_EQ(address.wParam, 0u);
    EXPECT_EQ(address.lParam, reinterpret_cast<LPARAM>(text));
}

TEST(LinkExecutionTest, StoredTargetsMapOntoTheLinkRecord) {
    lect32::LinkTarget target;
    target.kind = 15;
    target.a = 300;
    target.b = 12;
    target.document = 4;
    target.d = 0xABCDEF;
    const LinkRecord link = lect32::LinkRecordOf(target);
    EXPECT_EQ(link.kind, 15);
    EXPECT_EQ(link.target, 300);
    EXPECT_EQ(link.position, 12);
    EXPECT_EQ(link.linkNumber, 4);
    EXPECT_EQ(link.program, 0xABCDEF);
    EXPECT_EQ(link.second, 0);
}

}  // namespace
