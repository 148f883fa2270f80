// Pages loaded off-screen for their styles, and the one-entry style cache.
#include "page/offscreen_page_view.h"

#include <algorithm>

#include "page/page_style_form.h"

namespace lect32 {

bool OffscreenPageView::LoadPage(PageWindowHost& host, int16_t page, uint8_t document) {
    PageContent read;
    if (!host.ReadPage(page, document, read)) return false;
    name_ = read.name;
    own_ = read.style;
    winplat::ByteReader in(read.content);
    if (!DocumentView::LoadPage(in)) return false;
    defaults_ = host.DefaultStyle(document);
    merged_.SetDefaults();
    MergePageStyle(merged_, own_, defaults_);
    return true;
}

PageStyle FillFromDefaults(const PageStyle& own, const PageStyle& defaults) {
    PageStyle out = own;
    if (!(own.flags & PageStyle::kWidthGroup)) {
        out.width = defaults.width;
        out.layoutWord = defaults.layoutWord;
        out.margins = defaults.margins;
        out.widthMode = defaults.widthMode;
    }
    if (!(own.flags & PageStyle::kColourGroup)) out.backgroundColour = defaults.backgroundColour;
    if (!(own.flags & PageStyle::kPictureGroup)) {
        out.backgroundPicture = defaults.backgroundPicture;
        out.backgroundPictureMode = defaults.backgroundPictureMode;
    }
    if (!(own.flags & PageStyle::kGroup10)) std::copy(std::begin(defaults.group10), std::end(defaults.group10), out.group10);
    if (!(own.flags & PageStyle::kGroup20)) std::copy(std::begin(defaults.group20), std::end(defaults.group20), out.group20);
    if (!(own.flags & PageStyle::kGroup40)) {
        out.group40Word = defaults.group40Word;
        out.group40Byte = defaults.group40Byte;
    }
    return out;
}

void PageStyleCache::Reset() {
    page_ = kNoPage;
    variant_ = kNoVariant;
    copied_ = 0;
}

bool PageStyleCache::Get(PageWindowHost& host, int16_t page, uint8_t variant, uint8_t document, PageStyle& out,
                         Page* target, bool keepCopied) {
    if (page == kNoPage) {
        style_ = host.DefaultStyle(document);
        page_ = kNoPage;
    } else if (page != page_ || variant != variant_ || copied_ != 0) {
        OffscreenPageView view;
        ++loads_;
        if (!view.LoadPage(host, page, document)) {
            out.SetDefaults();
            copied_ = 0;
            return false;
        }
        style_ = FillFromDefaults(view.OwnStyle(), view.DefaultStyle());
        page_ = page;
        variant_ = variant;
        copied_ = 0;
        if (target && view.GetPage().GetCount() != 0) {
            target->CopyObjectsFrom(view.GetPage(), keepCopied, 0, Page::kAllObjects, false, 0);
            copied_ = view.GetPage().GetCount();
        }
    }
    out = style_;
    return true;
}

}  // namespace lect32
