// A font file opened by FreeType at one pixel size, cell and synthetic style, with the glyphs it
// has rendered: every logical font of that file, size and style shares one, whatever its code
// page, underline or strike-out, so a font made again finds its glyphs ready.
//
// Thread safety: the FreeType face is used under the sized face's own mutex only. A rendered
// glyph never changes or moves once rendered(), so callers may keep pointers to it and read it
// without the lock for as long as they hold the sized face.
#ifndef WINPLAT_SRC_TEXT_GLYPH_CACHE_H
#define WINPLAT_SRC_TEXT_GLYPH_CACHE_H

#include <array>
#include <compare>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/face.h"
#include "text/face_metrics.h"
#include "text/face_source.h"
#include "text/font_file.h"
#include "text/ft_library.h"
#include "text/mono_ink.h"

namespace winplat::text {

struct SizedKey {
    FontFile file;
    int em = 0;
    bool syntheticBold = false;
    bool syntheticItalic = false;
    // The cell glyphs are cut to: rows [-ascent, descent) from the baseline.
    int ascent = 0;
    int descent = 0;
    auto operator<=>(const SizedKey&) const = default;
};

// A hinted bi-level glyph: its ABC widths, its ink and the rectangle the ink spans.
struct RenderedGlyph {
    ABC abc{};
    std::vector<InkBox> ink;
    InkBox bounds;
};

// The glyph each byte shows under one byte map.
using ByteGlyphs = std::array<FT_UInt, 256>;

class SizedFace {
  public:
    // The shared sized face of the key, opened when no font holds it; null when FreeType cannot
    // read the file or the face has no usable size (the reason is logged). 'design' holds the
    // metrics of the key's file.
    static std::shared_ptr<SizedFace> open(const SizedKey& key, const DesignMetrics& design);

    SizedFace(FaceOwner face, const DesignMetrics& design, const SizedKey& key);

    const DesignMetrics& design() const { return design_; }
    // Worked out on first use for each map, then kept.
    const ByteGlyphs& bytes(ByteMap map);
    // The glyph's advance in whole pixels: loaded on first use, then kept.
    int advance(FT_UInt glyph);
    // Rendered on first use, then kept.
    const RenderedGlyph& rendered(FT_UInt glyph);

  private:
    struct CachedGlyph {
        int advance = 0;
        bool rendered = false;
        RenderedGlyph image;
    };

    CachedGlyph& cached(FT_UInt glyph);
    bool load(FT_UInt glyph);
    // The advance of the glyph just loaded.
    int loadedAdvance() const;
    MonoImage cutToCell(MonoImage image) const;
    void findGlyphs(ByteMap map, std::array<FT_UInt, 256>& glyphs);
    FT_UInt glyphOf(FT_Encoding encoding, ByteMap map, uint8_t byte) const;

    std::mutex mutex_;
    FaceOwner face_;
    DesignMetrics design_;
    SizedKey key_;
    std::unordered_map<FT_UInt, CachedGlyph> glyphs_;  // nodes stay put as the map grows
    std::array<std::unique_ptr<ByteGlyphs>, 5> byteMaps_;
};

// How many glyphs FreeType has loaded in this process, for tests to see the cache at work.
uint64_t freeTypeGlyphLoads();

// Forgets the sized faces no face holds any more (see winplat::testing::dropUnusedFaces).
void dropUnusedSizedFaces();

}  // namespace winplat::text

#endif
