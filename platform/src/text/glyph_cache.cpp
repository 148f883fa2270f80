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

ABC abcOf(const RenderedGlyph& glyph, int advance) {
    if (glyph.ink.empty()) return ABC{0, static_cast<UINT>(std::max(0, advance)), 0};
    const InkBox& ink = glyph.bounds;
    return ABC{ink.left, static_cast<UINT>(ink.right - ink.left), advance - ink.right};
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

void dropUnusedSizedFaces() {
    sizedFaces().dropUnused();
}

std::shared_ptr<SizedFace> SizedFace::open(const SizedKey& key, const DesignMetrics& design) {
    return sizedFaces().get(key, [&key, &design]() -> std::shared_ptr<SizedFace> {
        FaceOwner face = openFtFace(key.file.path, key.file.index);
        if (!face) return nullptr;
        if (const FT_Error error = FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(key.em)); error != 0) {
            refuse.log(key.file.path + " has no size of " + std::to_string(key.em) + " pixels (error " +
                       std::to_string(error) + ")");
            return nullptr;
        }
        return std::make_shared<SizedFace>(std::move(face), design, key);
    });
}

SizedFace::SizedFace(FaceOwner face, const DesignMetrics& design, const SizedKey& key)
    : face_(std::move(face)), design_(design), key_(key) {}

bool SizedFace::load(FT_UInt glyph) {
    ++glyphLoads;
    return FT_Load_Glyph(face_.get(), glyph, kLoadFlags) == 0;
}

int SizedFace::loadedAdvance() const {
    const FT_Pos advance = (face_->glyph->advance.x + 32) >> 6;
    return static_cast<int>(std::clamp<FT_Pos>(advance, 0, INT_MAX / 4)) + (key_.syntheticBold ? 1 : 0);
}

SizedFace::CachedGlyph& SizedFace::cached(FT_UInt glyph) {
    auto [it, inserted] = glyphs_.try_emplace(glyph);
    if (inserted && load(glyph)) it->second.advance = loadedAdvance();
    return it->second;
}

int SizedFace::advance(FT_UInt glyph) {
    std::lock_guard lock(mutex_);
    return cached(glyph).advance;
}

const RenderedGlyph& SizedFace::rendered(FT_UInt glyph) {
    std::lock_guard lock(mutex_);
    // A glyph rendered before it was measured is loaded once for both.
    auto [it, fresh] = glyphs_.try_emplace(glyph);
    CachedGlyph& entry = it->second;
    if (entry.rendered) return entry.image;
    entry.rendered = true;
    FT_GlyphSlot slot = face_->glyph;
    const bool loaded = load(glyph);
    if (fresh && loaded) entry.advance = loadedAdvance();
    if (loaded && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (key_.syntheticBold) FT_Outline_EmboldenXY(&slot->outline, kEmbolden, 0);
        if (key_.syntheticItalic) {
            FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
            FT_Outline_Transform(&slot->outline, &shear);
        }
        const FT_Bitmap& bitmap = slot->bitmap;
        // Rendered images flow downwards (positive pitch); anything else is no ink we can read.
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 && bitmap.pixel_mode == FT_PIXEL_MODE_MONO &&
            bitmap.pitch > 0 && bitmap.buffer) {
            entry.image.ink = inkBoxes(cutToCell(MonoImage{bitmap.buffer, bitmap.pitch,
                                                           static_cast<int>(bitmap.width),
                                                           static_cast<int>(bitmap.rows), slot->bitmap_left,
                                                           -slot->bitmap_top}));
        }
    }
    entry.image.bounds = inkBounds(entry.image.ink);
    entry.image.abc = abcOf(entry.image, entry.advance);
    return entry.image;
}

// Hinting can lift an accent above the Windows ascent by a row (Ž at 13 pixels): the rows outside
// the cell are dropped, so an opaque background, which fills the cell, always covers every glyph
// drawn before and lines of text never overlap.
MonoImage SizedFace::cutToCell(MonoImage image) const {
    const int skipped = std::clamp(-key_.ascent - image.top, 0, image.rows);
    image.bits += static_cast<ptrdiff_t>(skipped) * image.pitch;
    image.top += skipped;
    image.rows = std::clamp(key_.descent - image.top, 0, image.rows - skipped);
    return image;
}

const ByteGlyphs& SizedFace::bytes(ByteMap map) {
    std::lock_guard lock(mutex_);
    std::unique_ptr<ByteGlyphs>& slot = byteMaps_.at(mapSlot(map));
    if (slot) return *slot;
    auto table = std::make_unique<ByteGlyphs>();
    findGlyphs(map, *table);
    slot = std::move(table);
    return *slot;
}

// Text: the Unicode cmap, else a symbol cmap, which holds a symbol font's bytes whatever the
// charset asked for. Symbol fonts, byte by byte: the symbol cmap, else the face's own (custom or
// built-in) encoding, else the Unicode cmap at the byte itself, as faces converted from symbol
// fonts keep their bytes there.
void SizedFace::findGlyphs(ByteMap map, std::array<FT_UInt, 256>& glyphs) {
    static constexpr FT_Encoding kTextOrder[] = {FT_ENCODING_UNICODE, FT_ENCODING_MS_SYMBOL};
    static constexpr FT_Encoding kSymbolOrder[] = {FT_ENCODING_MS_SYMBOL, FT_ENCODING_ADOBE_CUSTOM,
                                                   FT_ENCODING_UNICODE};
    const bool symbol = map == ByteMap::Symbol;
    FT_Face face = face_.get();
    for (FT_Encoding encoding : symbol ? std::span<const FT_Encoding>(kSymbolOrder) : std::span<const FT_Encoding>(kTextOrder)) {
        if (!hasCharmap(face, encoding) || FT_Select_Charmap(face, encoding) != 0) continue;
        for (size_t byte = 0; byte < 256; ++byte)
            if (glyphs[byte] == 0) glyphs[byte] = glyphOf(encoding, map, static_cast<uint8_t>(byte));
        if (!symbol) return;
    }
}

FT_UInt SizedFace::glyphOf(FT_Encoding encoding, ByteMap map, uint8_t byte) const {
    FT_Face face = face_.get();
    if (encoding == FT_ENCODING_MS_SYMBOL) {
        if (const FT_UInt glyph = FT_Get_Char_Index(face, kSymbolArea + byte)) return glyph;
        return FT_Get_Char_Index(face, byte);
    }
    if (encoding != FT_ENCODING_UNICODE || map == ByteMap::Symbol) return FT_Get_Char_Index(face, byte);
    const char32_t c = characterOf(map, byte);
    return c ? FT_Get_Char_Index(face, c) : 0;
}

}  // namespace winplat::text
