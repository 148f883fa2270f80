// Sized faces and their glyphs. Glyphs load hinted for bi-level output (FreeType's mono target),
// always from outlines so synthetic bold and oblique apply alike to every glyph; the advance is
// the hinted whole-pixel advance, one pixel more under synthetic bold as Windows does.
#include "text/glyph_cache.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <span>
#include <string>
#include <utility>

#include FT_OUTLINE_H

#include "text/byte_maps.h"
#include "text/design_metrics.h"
#include "text/mono_ink.h"
#include "text/shared_cache.h"
#include "winplat/refusal.h"

namespace winplat::text {
namespace {

constexpr Refuser refuse("winplat: fonts");
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP;
// Synthetic bold widens each stem by one pixel (26.6 units), keeping the left edge.
constexpr FT_Pos kEmbolden = 64;
// Synthetic oblique leans the glyph by about 12 degrees: x += tan(12 deg) * y, in 16.16.
constexpr FT_Fixed kObliqueShear = 0x0366A;
// The symbol area where symbol cmaps put the bytes of a symbol font.
constexpr FT_ULong kSymbolArea = 0xF000;

std::atomic<uint64_t> glyphLoads{0};

SharedCache<SizedKey, SizedFace>& sizedFaces() {
    // Fonts hold their sized faces; the cache of fonts keeps the recently dropped ones alive.
    static SharedCache<SizedKey, SizedFace> cache(0);
    return cache;
}

size_t mapSlot(ByteMap map) {
    return static_cast<size_t>(map);
}

ABC abcOf(const std::vector<InkBox>& ink, int advance) {
    if (ink.empty()) return ABC{0, static_cast<UINT>(std::max(0, advance)), 0};
    int left = INT_MAX;
    int right = INT_MIN;
    for (const InkBox& box : ink) {
        left = std::min(left, box.left);
        right = std::max(right, box.right);
    }
    return ABC{left, static_cast<UINT>(right - left), advance - right};
}

bool hasCharmap(FT_Face face, FT_Encoding encoding) {
    for (FT_Int i = 0; i < face->num_charmaps; ++i)
        if (face->charmaps[i]->encoding == encoding) return true;
    return false;
}

}  // namespace

uint64_t freeTypeGlyphLoads() {
    return glyphLoads.load();
}

std::shared_ptr<SizedFace> SizedFace::open(const SizedKey& key) {
    return sizedFaces().get(key, [&key]() -> std::shared_ptr<SizedFace> {
        const std::optional<DesignMetrics> design = designMetricsOf(key.file, key.index);
        if (!design) return nullptr;
        FaceOwner face = openFtFace(key.file, key.index);
        if (!face) return nullptr;
        if (const FT_Error error = FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(key.em)); error != 0) {
            refuse.log(key.file + " has no size of " + std::to_string(key.em) + " pixels (error " +
                       std::to_string(error) + ")");
            return nullptr;
        }
        return std::make_shared<SizedFace>(std::move(face), *design, key);
    });
}

SizedFace::SizedFace(FaceOwner face, const DesignMetrics& design, const SizedKey& key)
    : face_(std::move(face)), design_(design), key_(key) {}

bool SizedFace::load(FT_UInt glyph) {
    ++glyphLoads;
    return FT_Load_Glyph(face_.get(), glyph, kLoadFlags) == 0;
}

SizedFace::CachedGlyph& SizedFace::cached(FT_UInt glyph) {
    auto [it, inserted] = glyphs_.try_emplace(glyph);
    if (inserted && load(glyph)) {
        const FT_Pos advance = (face_->glyph->advance.x + 32) >> 6;
        it->second.advance = static_cast<int>(std::clamp<FT_Pos>(advance, 0, INT_MAX / 4)) + (key_.syntheticBold ? 1 : 0);
    }
    return it->second;
}

const RenderedGlyph& SizedFace::rendered(FT_UInt glyph) {
    std::lock_guard lock(mutex_);
    CachedGlyph& entry = cached(glyph);
    if (entry.rendered) return entry.image;
    entry.rendered = true;
    FT_GlyphSlot slot = face_->glyph;
    if (load(glyph) && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (key_.syntheticBold) FT_Outline_EmboldenXY(&slot->outline, kEmbolden, 0);
        if (key_.syntheticItalic) {
            FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        // Rendered images flow downwards (positive pitch); anything else is no ink we can read.
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 && bitmap.pixel_mode == FT_PIXEL_MODE_MONO &&
            bitmap.pitch > 0 && bitmap.buffer) {
            entry.image.ink = inkBoxes(MonoImage{bitmap.buffer, bitmap.pitch, static_cast<int>(bitmap.width),
                                                 static_cast<int>(bitmap.rows), slot->bitmap_left,
                                                 -slot->bitmap_top});
        }
    }
    entry.image.abc = abcOf(entry.image.ink, entry.advance);
    return entry.image;
}

const ByteGlyphs& SizedFace::bytes(ByteMap map) {
    std::lock_guard lock(mutex_);
    std::unique_ptr<ByteGlyphs>& slot = byteMaps_.at(mapSlot(map));
    if (slot) return *slot;
    auto table = std::make_unique<ByteGlyphs>();
    selectCharmapFor(map);
    for (int byte = 0; byte < 256; ++byte) {
        const auto b = static_cast<size_t>(byte);
        table->glyph[b] = glyphOf(map, static_cast<uint8_t>(byte));
        table->advance[b] = cached(table->glyph[b]).advance;
    }
    slot = std::move(table);
    return *slot;
}

// Symbol fonts: a symbol cmap, else the face's own (custom or built-in) encoding, else Unicode.
// Text: Unicode, else a symbol cmap, which holds the bytes of a symbol font whatever its charset.
void SizedFace::selectCharmapFor(ByteMap map) {
    FT_Face face = face_.get();
    const FT_Encoding textOrder[] = {FT_ENCODING_UNICODE, FT_ENCODING_MS_SYMBOL};
    const FT_Encoding symbolOrder[] = {FT_ENCODING_MS_SYMBOL, FT_ENCODING_ADOBE_CUSTOM, FT_ENCODING_UNICODE};
    selected_ = FT_ENCODING_NONE;
    const bool symbol = map == ByteMap::Symbol;
    for (FT_Encoding encoding : symbol ? std::span<const FT_Encoding>(symbolOrder) : std::span<const FT_Encoding>(textOrder)) {
        if (hasCharmap(face, encoding) && FT_Select_Charmap(face, encoding) == 0) {
            selected_ = encoding;
            return;
        }
    }
}

FT_UInt SizedFace::glyphOf(ByteMap map, uint8_t byte) const {
    FT_Face face = face_.get();
    switch (selected_) {
    case FT_ENCODING_MS_SYMBOL:
        if (const FT_UInt glyph = FT_Get_Char_Index(face, kSymbolArea + byte)) return glyph;
        return FT_Get_Char_Index(face, byte);
    case FT_ENCODING_ADOBE_CUSTOM:
        return FT_Get_Char_Index(face, byte);
    case FT_ENCODING_UNICODE: {
        if (map == ByteMap::Symbol) return FT_Get_Char_Index(face, byte);
        const char32_t c = characterOf(map, byte);
        return c ? FT_Get_Char_Index(face, c) : 0;
    }
    default:
        return 0;
    }
}

}  // namespace winplat::text
