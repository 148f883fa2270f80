// Addresses in running text framed as links, and the text a followed address link hands on.
#include "page/url_marking.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kFrame = {20, 5, 20, 5, 20};
const Bytes kEnd = {21, 21};

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The row with each address frame shown as '<' and each link end as '>'.
std::string Shown(const Bytes& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.size() - i >= kFrame.size() && std::equal(kFrame.begin(), kFrame.end(), text.begin() + static_cast<std::ptrdiff_t>(i))) {
            out += '<';
            i += kFrame.size();
        } else if (text.size() - i >= 2 && text[i] == 21 && text[i + 1] == 21) {
            out += '>';
            i += 2;
        } else {
            out += static_cast<char>(text[i++]);
        }
    }
    return out;
}

TEST(UrlMarkingTest, AddressesAreFramedWithoutTrailingPunctuation) {
    struct Case {
        const char* text;
        const char* marked;
        size_t count;
    };
    const Case cases[] = {
        {"see www.x.cz. now", "see <www.x.cz>. now", 1},
        {"WWW.X.CZ", "<WWW.X.CZ>", 1},
        {"Http://a.cz/b/ and ftp:x", "<Http://a.cz/b/> and <ftp:x>", 2},
        {"gopher:old, new", "<gopher:old>, new", 1},
        {"mail me@x.cz!", "mail <me@x.cz>!", 1},
        {"(www.a.cz)", "(<www.a.cz>)", 1},
        {"tab\twww.a\nwww.b", "tab\t<www.a>\n<www.b>", 2},
        {"@start and end@ and a@b", "@start and end@ and <a@b>", 1},
        {"www", "www", 0},
        {"wwwx.cz http", "wwwx.cz http", 0},
        {"www.a\xA0x", "<www.a>\xA0x", 1},
        {"", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes text = Text(c.text);
        EXPECT_EQ(lect32::MarkUrlsInRow(text), c.count);
        EXPECT_EQ(Shown(text), c.marked);
    }
}

TEST(UrlMarkingTest, LinksAndControlCodesArePassedOver) {
    // An existing page link around an address, then a character format whose payload holds '@'.
    Bytes text = {20, 8, 2, 1, 0, 0, 0, 0, 8, 20};
    for (const uint8_t b : Text("www.in.link")) text.push_back(b);
    text.insert(text.end(), {21, 21, ' ', 1, '@', '@', '@', '@', '@', 1});
    for (const uint8_t b : Text(" www.out")) text.push_back(b);
    const Bytes before = text;
    EXPECT_EQ(lect32::MarkUrlsInRow(text), 1u);
    Bytes expected = before;
    expected.erase(expected.end() - 7, expected.end());
    expected.insert(expected.end(), kFrame.begin(), kFrame.end());
    for (const uint8_t b : Text("www.out")) expected.push_back(b);
    expected.insert(expected.end(), kEnd.begin(), kEnd.end());
    EXPECT_EQ(text, expected);
}

TEST(UrlMarkingTest, TheStopMarkEndsTheRow) {
    Bytes text = Text("www.a ");
    text.insert(text.end(), {160, 32, 160, 32, 160});
    for (const uint8_t b : Text(" www.b")) text.push_back(b);
    EXPECT_EQ(lect32::MarkUrlsInRow(text), 1u);
    EXPECT_EQ(Shown(text), "<www.a> \xA0 \xA0 \xA0 www.b");
    // Four bytes of it do not stop the scan.
    Bytes four = Text("x ");
    four.insert(four.end(), {160, 32, 160, 32});
    for (const uint8_t b : Text("www.b")) four.push_back(b);
    EXPECT_EQ(lect32::MarkUrlsInRow(four), 1u);
}

TEST(UrlMarkingTest, AFullRowKeepsWhatFitsAndStops) {
    const std::string address = " www.a";
    for (const size_t room : {size_t{6}, size_t{7}, size_t{8}}) {
        SCOPED_TRACE(room);
        // Filler, then one address, then a second one: exactly 'room' bytes left after the first
        // is framed.
        Bytes text(lect32::kMaxRowText - room - 7 - 2 * address.size(), 'x');
        for (int i = 0; i < 2; ++i) {
            for (const uint8_t b : Text(address)) text.push_back(b);
        }
        const size_t marked = lect32::MarkUrlsInRow(text);
        EXPECT_EQ(marked, room >= 7 ? 2u : 1u);
        EXPECT_LE(text.size(), lect32::kMaxRowText);
    }
}

TEST(UrlMarkingTest, LinkTextIsTrimmedAndCut) {
    Bytes text = kFrame;
    for (const uint8_t b : Text("  www.x")) text.push_back(b);
    text.insert(text.end(), {1, 0, 0, 0, 0, 0, 1});
    for (const uint8_t b : Text(".cz ")) text.push_back(b);
    text.insert(text.end(), kEnd.begin(), kEnd.end());
    EXPECT_EQ(lect32::LinkText(text, 0), "www.x.cz");
    for (const size_t length : {998u, 999u, 1000u}) {
        Bytes longer = kFrame;
        longer.insert(longer.end(), length, 'a');
        longer.insert(longer.end(), kEnd.begin(), kEnd.end());
        EXPECT_EQ(lect32::LinkText(longer, 0).size(), std::min<size_t>(length, 999)) << length;
    }
}

}  // namespace
