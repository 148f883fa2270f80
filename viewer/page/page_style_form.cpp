#include "page/page_style_form.h"

#include "store/mem_writer.h"

namespace lect32 {

namespace {

// The contents-list bytes are stored as contentsList, param1, param3, param4, param2.
constexpr int kContentsStoredOrder[5] = {0, 1, 3, 4, 2};

constexpr uint8_t kAbsentInOldForm = 255;  // an old record's marker for "this part is not stored"

ShortRect ReadMargins(winplat::ByteReader& in) {
    ShortRect margins;  // stored left, right, top, bottom: see PageStyle's margin accessors
    margins.left = in.i16();
    margins.top = in.i16();
    margins.right = in.i16();
    margins.bottom = in.i16();
    return margins;
}

void ReadSize(winplat::ByteReader& in, PageStyle& style) {
    style.widthMode = in.u8();
    style.width = in.i16();
    style.layoutWord = in.i16();
    style.margins = ReadMargins(in);
}

// The four parameters that follow the contents-list byte.
void ReadContentsParams(winplat::ByteReader& in, PageStyle& style) {
    for (int member : kContentsStoredOrder) {
        if (member != 0) style.group10[member] = in.u8();
    }
}

void ReadOldForm(winplat::ByteReader& in, uint8_t version, PageStyle& style) {
    style.flags = 0;
    style.oldFormPresence = in.u8();
    if (style.oldFormPresence != 0) {
        ReadSize(in, style);
        style.backgroundColour = in.u8();
        style.flags |= PageStyle::kWidthGroup;
        if (style.backgroundColour != PageStyle::kUnsetColour) style.flags |= PageStyle::kColourGroup;
    } else {
        style.backgroundColour = PageStyle::kUnsetColour;
    }
    const uint8_t contentsList = in.u8();
    if (contentsList != kAbsentInOldForm) {
        style.group10[0] = contentsList;
        ReadContentsParams(in, style);
        style.flags |= PageStyle::kGroup10;
    }
    const uint8_t bannerOn = in.u8();
    if (bannerOn != kAbsentInOldForm) {
        style.group20[0] = bannerOn;
        style.group20[1] = in.u8();
        if (version == 1) {
            style.group40Word = in.i16();
            style.group40Byte = in.u8();
        }
        // A version-1 page names its own sound (or none), so the sound group is always its own;
        // a version-0 page has no sound, which must not let the document's default play.
        style.flags |= PageStyle::kGroup40 | PageStyle::kGroup20;
    }
    style.flags |= PageStyle::kPictureGroup;  // the background fields keep their defaults
    style.trailingId = -1;
}

void ReadGroups4And5(winplat::ByteReader& in, uint8_t version, PageStyle& style) {
    const uint16_t flags = style.flags;
    if (flags & PageStyle::kGroup100) style.group100Byte = in.u8();
    if (flags & PageStyle::kGroup200) {
        style.group200Byte = in.u8();
        style.group200Words[0] = in.i16();
        style.group200Words[1] = in.i16();
    }
    if (flags & PageStyle::kGroup400) {
        style.group400Byte = in.u8();
        style.group400Words[0] = in.i16();
        style.group400Words[1] = in.i16();
    }
    if (flags & PageStyle::kGroup800) {
        style.group800Bytes[0] = in.u8();
        style.group800Bytes[1] = version >= 5 ? in.u8() : 1;
        style.group800Word = version >= 5 ? in.i16() : 0;
    }
    if (flags & PageStyle::kLinkGroup) {
        for (PageStyleLink& link : style.links) {
            link.id = in.i16();
            link.value = in.u8();
        }
    }
    if (flags & PageStyle::kGroup2000) {
        style.group2000Word1 = in.i16();
        style.group2000Byte = in.u8();
        style.group2000Word2 = in.i16();
    }
}

void ReadFlagForm(winplat::ByteReader& in, uint8_t version, PageStyle& style) {
    style.flags = in.u16();
    const uint16_t flags = style.flags;
    if (flags & PageStyle::kWidthGroup) ReadSize(in, style);
    style.backgroundColour = (flags & PageStyle::kColourGroup) ? in.u8() : PageStyle::kUnsetColour;
    if (flags & PageStyle::kPictureGroup) {
        style.backgroundPicture = in.i16();
        style.backgroundPictureMode = in.u8();
    }
    if (flags & PageStyle::kGroup10) {
        style.group10[0] = in.u8();
        ReadContentsParams(in, style);
    }
    if (flags & PageStyle::kGroup20) {
        style.group20[0] = in.u8();
        style.group20[1] = in.u8();
    }
    if (flags & PageStyle::kGroup40) {
        style.group40Word = in.i16();
        style.group40Byte = in.u8();
    }
    if (version >= 3 && (flags & PageStyle::kGroup80)) style.group80Byte = in.u8();
    if (version >= 4) ReadGroups4And5(in, version, style);
    // Set with its flag in every version, so a style written again reads back the same.
    style.group2000Present = (flags & PageStyle::kGroup2000) ? 1 : 0;
    style.trailingId = (flags & PageStyle::kTrailingIdAbsent) ? int16_t{-1} : in.i16();
}

void WriteGroups4And5(MemWriter& out, const PageStyle& style) {
    const uint16_t flags = style.flags;
    if (flags & PageStyle::kGroup100) out.WriteByte(style.group100Byte);
    if (flags & PageStyle::kGroup200) {
        out.WriteByte(style.group200Byte);
        out.WriteShort(style.group200Words[0]);
        out.WriteShort(style.group200Words[1]);
    }
    if (flags & PageStyle::kGroup400) {
        out.WriteByte(style.group400Byte);
        out.WriteShort(style.group400Words[0]);
        out.WriteShort(style.group400Words[1]);
    }
    if (flags & PageStyle::kGroup800) {
        out.WriteByte(style.group800Bytes[0]);
        out.WriteByte(style.group800Bytes[1]);
        out.WriteShort(style.group800Word);
    }
    if (flags & PageStyle::kLinkGroup) {
        for (const PageStyleLink& link : style.links) {
            out.WriteShort(link.id);
            out.WriteByte(link.value);
        }
    }
    if (flags & PageStyle::kGroup2000) {
        out.WriteShort(style.group2000Word1);
        out.WriteByte(style.group2000Byte);
        out.WriteShort(style.group2000Word2);
    }
}

}  // namespace

PageStyleRead ReadPageStyle(winplat::ByteReader& in, PageStyle& style) {
    PageStyle read;
    const uint8_t version = in.u8();
    if (version <= 1) {
        ReadOldForm(in, version, read);
    } else {
        ReadFlagForm(in, version, read);
    }
    if (!in.ok()) return PageStyleRead::Truncated;
    style = read;
    return PageStyleRead::Ok;
}

bool WritePageStyle(MemWriter& out, const PageStyle& style) {
    const uint16_t flags = style.flags;
    out.WriteByte(kPageStyleVersion);
    out.WriteWord(flags);
    if (flags & PageStyle::kWidthGroup) {
        out.WriteByte(style.widthMode);
        out.WriteShort(style.width);
        out.WriteShort(style.layoutWord);
        out.WriteShort(style.margins.left);
        out.WriteShort(style.margins.top);
        out.WriteShort(style.margins.right);
        out.WriteShort(style.margins.bottom);
    }
    if (flags & PageStyle::kColourGroup) out.WriteByte(style.backgroundColour);
    if (flags & PageStyle::kPictureGroup) {
        out.WriteShort(style.backgroundPicture);
        out.WriteByte(style.backgroundPictureMode);
    }
    if (flags & PageStyle::kGroup10) {
        for (int member : kContentsStoredOrder) out.WriteByte(style.group10[member]);
    }
    if (flags & PageStyle::kGroup20) {
        out.WriteByte(style.group20[0]);
        out.WriteByte(style.group20[1]);
    }
    if (flags & PageStyle::kGroup40) {
        out.WriteShort(style.group40Word);
        out.WriteByte(style.group40Byte);
    }
    if (flags & PageStyle::kGroup80) out.WriteByte(style.group80Byte);
    WriteGroups4And5(out, style);
    if (!(flags & PageStyle::kTrailingIdAbsent)) out.WriteShort(style.trailingId);
    return !out.error();
}

void MergePageStyle(PageStyle& target, const PageStyle& page, const PageStyle& defaults) {
    PageStyle merged = MergeWithDefaults(page, defaults);
    merged.flags = target.flags;
    merged.trailingId = target.trailingId;
    merged.oldFormPresence = target.oldFormPresence;
    target = merged;
}

}  // namespace lect32
