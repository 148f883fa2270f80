// The two images behind a composed picture: the background image (the page as it looks under the
// object, 24 bits) and the work image the picture is composed into before it reaches the window.
// Also the default preparation of an object before its first paint: its pictures into the cache.
#include <algorithm>
#include <cstring>

#include "page/page.h"
#include "page/picture_loading.h"
#include "pixmill/pixmill.h"
#include "store/document_paths.h"
#include "store/file_name_table.h"
#include "text/colour_table.h"
#include "vexmill/vexmill.h"
#include "winplat/owners.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: page painting");

struct Size {
    int width = 0;
    int height = 0;
};

}  // namespace

bool ObjectPreparation::Prepare(Page& page, uint16_t index) {
    page.LoadObjectPictures(index);
    page.PrepareAnimation(index);
    return false;
}

// The cache entry of a picture of the picture table, with the picture loaded into it.
int16_t Page::cachePicture(int16_t picture, int16_t cacheIndex, int kind) {
    if (picture < 0) return cacheIndex;
    char path[std::max<size_t>(FileNameTable::kPathBuffer, kDocumentPathBuffer)] = "";
    pictures().GetPath(picture, path);
    if (cacheIndex < 0) {
        if (!path[0]) return refuse(cacheIndex, "the picture table has no path for the picture");
        const uint16_t entry = cache().AddPath(path);
        if (entry == 0xFFFF) return refuse(cacheIndex, "the picture cache takes no more paths");
        cacheIndex = static_cast<int16_t>(entry);
    }
    if (cache().GetImage(cacheIndex)) return cacheIndex;
    const uint16_t tag = pictures().GetTag(static_cast<uint16_t>(picture));
    const uint16_t image = LoadPicture(path, kind, tag == 0xFFFF ? uint16_t{0} : tag);
    if (image) cache().SetImage(static_cast<uint16_t>(cacheIndex), image);
    return cacheIndex;
}

void Page::LoadObjectPictures(uint16_t i) {
    if (!objects_.Contains(i)) return;
    changed_ = true;
    objects_[i].prepared = 1;
    if (objects_[i].Is(ObjectKind::Button)) {
        objects_[i].disabled = 0;
        ButtonRecord button = GetButton(i);
        for (int s = 0; s < ButtonRecord::kStates; ++s)
            button.cache[s] = cachePicture(button.pictures[s], button.cache[s], kRasterPicture);
        SetButton(i, button);
    } else if (objects_[i].IsPicture()) {
        const int kind = objects_[i].Is(ObjectKind::Picture) ? kRasterPicture : 2;
        const int16_t entry = cachePicture(objects_[i].picture, objects_[i].cacheIndex, kind);
        objects_[i].cacheIndex = entry;
    }
}

namespace {

// The size a composed picture is drawn at, and so the size of what lies behind it.
Size ComposedSize(const PageObject& o, const PlacementRecord& placement, uint16_t image, const RECT& box,
                  bool buttonPicture) {
    const auto id = static_cast<PxlImageId>(image);
    const int bw = box.right - box.left, bh = box.bottom - box.top;
    if (o.scroller) return {bw, bh};
    if (!buttonPicture && PXLGetImageFramesNum(id) > 1) return {PXLWidthFrameScreen(id), PXLHeightFrameScreen(id)};
    const int pw = PXLWidth(id), ph = PXLHeight(id);
    if (buttonPicture || placement.mode == 0) return {pw, ph};
    if (placement.mode == 2 && placement.zoom) return {placement.Zoomed(pw), placement.Zoomed(ph)};
    int w = bw, h = bh;
    if (!placement.freeProportions && pw > 0 && ph > 0) {
        const int64_t fitted = int64_t{pw} * bh / ph;
        if (fitted < bw) w = static_cast<int>(fitted);
        else if (bw < fitted) h = static_cast<int>(int64_t{ph} * bw / pw);
    }
    return {w, h};
}

}  // namespace

void Page::PrepareBackgroundImage(uint16_t i, PageObject& record, HDC dc, HBRUSH brush, const RECT& box) {
    const bool button = record.Is(ObjectKind::Button);
    uint16_t image = 0;
    if (button) {
        const ButtonRecord buttons = GetButton(i);
        for (int s = 0; s < ButtonRecord::kStates && !image; ++s) image = cachedImage(buttons.cache[s]);
    } else {
        image = cachedImage(record.cacheIndex);
    }
    if (!image) return refuse.log("the object's picture is not in the cache");
    const Size size = ComposedSize(record, button ? PlacementRecord{} : GetPlacement(i), image, box, button);
    if (size.width <= 0 || size.height <= 0) return refuse.log("the picture is drawn at no size");
    winplat::GdiObject<HBRUSH> own;
    if (!brush) {
        own.reset(CreateSolidBrush(paint_.colours ? paint_.colours->GetColour(area_.backColour) : RGB(255, 255, 255)));
        brush = own.get();
    }
    const winplat::MemoryDc behind(CreateCompatibleDC(dc));
    if (!behind) return refuse.log("no device to paint what lies behind the picture on");
    const auto made = static_cast<uint16_t>(PXLCreateImage(size.width, size.height, 24));
    if (!made) return refuse.log("no background image could be made");
    {
        // Painted straight into the image's own bitmap: a bitmap of the screen's depth painted
        // first and copied would come to the same 24-bit pixels at twice the cost.
        const winplat::Selection into(behind.get(), PXLGetBitmap(static_cast<PxlImageId>(made)));
        PaintBehindObject(i, behind.get(), brush, {0, 0, size.width, size.height}, false);
    }
    for (uint16_t* old : {&record.backgroundImage, &record.workImage}) {
        if (*old) PXLDeleteImage(static_cast<PxlImageId>(*old));
        *old = 0;
    }
    // The work image follows on its first use (RefreshWorkImage): a still picture at its own size
    // is composed straight into the background image and never needs one.
    record.backgroundImage = made;
    changed_ = true;
}

int Page::RefreshWorkImage(PageObject& record) {
    if (!record.backgroundImage) return 0;
    const auto back = static_cast<PxlImageId>(record.backgroundImage);
    if (!record.workImage) record.workImage = static_cast<uint16_t>(PXLCreateImageFrom(back, 0));
    const auto work = static_cast<PxlImageId>(record.workImage);
    if (!work) return refuse(0, "no work image could be made from the background image");
    const int32_t bytes = std::min(PXLSizeImage(back), PXLSizeImage(work));
    if (bytes > 0) std::memcpy(PXLGetBits(work), PXLGetBits(back), static_cast<size_t>(bytes));
    return 1;
}

}  // namespace lect32
