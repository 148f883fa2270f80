// A page loaded without a window, to learn its merged page style, and the one-entry cache of page
// styles the page window asks when it shows, changes or refreshes a page: loading a page costs a
// record read and a parse, and the same page is asked for again and again.
#ifndef LECT32_PAGE_OFFSCREEN_PAGE_VIEW_H
#define LECT32_PAGE_OFFSCREEN_PAGE_VIEW_H

#include <cstdint>
#include <string>

#include "page/page_style.h"
#include "page/page_window.h"
#include "page/rich_text_object.h"

namespace lect32 {

class OffscreenPageView : public RichTextObject {
public:
    using RichTextObject::RichTextObject;

    // Page 'page' of member document 'document': its name, rows and objects, own style, and the
    // style merged with the document's defaults. False when the page cannot be read or its
    // content is damaged.
    bool LoadPage(PageWindowHost& host, int16_t page, uint8_t document);

    const std::string& Name() const { return name_; }
    const PageStyle& MergedStyle() const { return merged_; }
    const PageStyle& OwnStyle() const { return own_; }
    const PageStyle& DefaultStyle() const { return defaults_; }

private:
    std::string name_;
    PageStyle merged_;
    PageStyle own_;
    PageStyle defaults_;
};

// What the cache keeps of a page's style: the groups of widths and margins, colour, picture and
// groups 0x10 to 0x40 come from the document's defaults where the page's own style leaves them
// unset; the other groups are the page's own.
PageStyle FillFromDefaults(const PageStyle& own, const PageStyle& defaults);

class PageStyleCache {
public:
    static constexpr int16_t kNoPage = -1;
    static constexpr uint8_t kNoVariant = 255;

    // The page's style into 'out'. A page other than the cached one (or any page after a call
    // that copied objects) is loaded off-screen; with a target page, the loaded page's objects
    // are copied into it ('keepCopied' as the copy's flag). kNoPage gives the document's
    // defaults. False, with the style's defaults in 'out' and the cache's key kept, when the
    // page cannot be loaded.
    bool Get(PageWindowHost& host, int16_t page, uint8_t variant, uint8_t document, PageStyle& out,
             Page* target = nullptr, bool keepCopied = false);
    void Reset();
    // Pages loaded since the cache was made.
    int Loads() const { return loads_; }

private:
    PageStyle style_;
    int16_t page_ = kNoPage;
    uint8_t variant_ = kNoVariant;
    uint16_t copied_ = 0;
    int loads_ = 0;
};

}  // namespace lect32

#endif
