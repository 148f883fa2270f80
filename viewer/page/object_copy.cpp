// Objects copied onto a page from another page (a template page's objects under the page's own),
// their removal, and the document files the objects name.
#include <algorithm>

#include "page/page.h"
#include "store/file_name_table.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: object copy");

// The entry of 'from' entry 'index' names in 'to', added when missing; -1 when none.
int16_t samePicture(FileNameTable& from, FileNameTable& to, int16_t index) {
    if (index < 0) return -1;
    char path[FileNameTable::kPathBuffer];
    from.GetPath(index, path);
    if (!path[0]) return -1;
    const uint16_t found = to.AddPath(path);
    return found == 0xFFFF ? int16_t{-1} : static_cast<int16_t>(found);
}

}  // namespace

void Page::CopyObjectsFrom(Page& other, bool keepCopied, uint16_t first, uint16_t last, bool remap, int32_t yOffset) {
    if (&other == this) return refuse.log("a page cannot copy its own objects");
    const uint16_t count = other.GetCount();
    const uint32_t end = last == kAllObjects ? count : std::min<uint32_t>(uint32_t{last} + 1, count);
    for (uint32_t j = first; j < end; ++j) {
        const auto from = static_cast<uint16_t>(j);
        PageObject copy = other.Object(from);
        copy.ClearRunTimeState();
        copy.copied = 1;
        if (copy.anchoring != 0) copy.y += yOffset;
        if (remap) copy.picture = samePicture(other.pictures(), pictures(), copy.picture);
        const int at = addObject(copy, other.CopyAttributes(from), other.CopySecondText(from));
        if (at == kNone || !remap || !copy.Is(ObjectKind::Button)) continue;
        ButtonRecord button = GetButton(static_cast<uint16_t>(at));
        for (int16_t& picture : button.pictures) picture = samePicture(other.pictures(), pictures(), picture);
        SetButton(static_cast<uint16_t>(at), button);
    }
    for (PageObject& o : objects_.All()) {
        if (!o.copied) o.z = static_cast<int16_t>(o.z + count);
        if (!keepCopied) o.copied = 0;
    }
}

void Page::DeleteCopiedObjects() {
    for (uint16_t i = GetCount(); i-- > 0;) {
        if (objects_[i].copied) removeObject(i);
    }
}

void Page::UseObjectFiles(ObjectFileUse& use) {
    for (uint16_t i = 0; i < GetCount(); ++i) {
        const PageObject& o = objects_[i];
        if (o.picture >= 0) {
            if (o.Is(ObjectKind::Video)) use.UseVideo(o.picture);
            if (o.Is(ObjectKind::Sound)) use.UseSound(o.picture);
            if (o.IsPicture() || o.Is(ObjectKind::Button)) use.UsePicture(o.picture);
        }
        if (!o.Is(ObjectKind::Button)) continue;
        for (int16_t picture : GetButton(i).pictures) {
            if (picture >= 0) use.UsePicture(picture);
        }
    }
}

}  // namespace lect32
