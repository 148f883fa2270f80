// Faces read by FreeType: a logical font's metrics, its bytes' glyphs and their advances over the
// shared sized face of its file, size and synthetic style.
//
// Identical logical fonts share one face object: fonts made again and again (a document's font
// cache dropping and recreating them) find it in a process-wide cache that keeps the last few
// alive after their fonts are deleted. Making a face loads no glyph: a page makes many fonts and
// measures few of their characters. A byte's advance is loaded on first use and then kept in the
// face, so measuring is a table read; a glyph's ink and ABC widths are rendered on first use and
// then found through a per-byte pointer.
#include <array>
#include <atomic>
#include <compare>
#include <memory>
#include <string>

#include "text/design_metrics.h"
#include "text/face_metrics.h"
#include "text/face_source.h"
#include "text/glyph_cache.h"
#include "text/shared_cache.h"
#include "winplat/refusal.h"
#include "winplat/testing.h"

namespace winplat::text {
namespace {

// "MS Sans Serif" at 8 points is drawn at the em the classic font's glyphs had.
constexpr int kClassicDialogEm = 11;
// How many faces no font holds any more stay ready for the next font that asks for them.
constexpr size_t kFacesKept = 32;

// Everything that tells one face object from another.
struct FaceKey {
    FontFile file;
    std::string family;
    ByteMap bytes = ByteMap::Cp1250;
    BYTE charSet = 0;
    bool syntheticBold = false;
    bool syntheticItalic = false;
    bool classicDialogMetrics = false;
    LONG height = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    auto operator<=>(const FaceKey&) const = default;
};

FaceKey keyOf(const FontFile& file, const FaceSource& source, const LOGFONTA& font) {
    return FaceKey{file,
                   source.family,
                   source.bytes,
                   source.charSet,
                   source.syntheticBold,
                   source.syntheticItalic,
                   source.classicDialogMetrics,
                   font.lfHeight,
                   font.lfWeight >= FW_SEMIBOLD,
                   font.lfItalic != 0,
                   font.lfUnderline != 0,
                   font.lfStrikeOut != 0};
}

class FreeTypeFace final : public Face {
  public:
    FreeTypeFace(std::shared_ptr<SizedFace> sized, const FaceMetrics& metrics, std::string name, ByteMap map)
        : sized_(std::move(sized)), metrics_(metrics), name_(std::move(name)), glyphs_(sized_->bytes(map)) {
        for (std::atomic<int>& advance : advances_) advance.store(kUnmeasured, std::memory_order_relaxed);
    }

    const FaceMetrics& metrics() const override { return metrics_; }
    const std::string& name() const override { return name_; }
    int advance(uint8_t byte) const override {
        const int known = advances_[byte].load(std::memory_order_relaxed);
        return known != kUnmeasured ? known : measure(byte);
    }
    ABC abc(uint8_t byte) const override { return glyph(byte).abc; }
    GlyphInk glyphInk(uint8_t byte) const override {
        const RenderedGlyph& rendered = glyph(byte);
        return GlyphInk{rendered.ink, rendered.bounds};
    }

  private:
    // No advance is negative.
    static constexpr int kUnmeasured = -1;

    // Two threads may measure the same byte at once; both find the same advance.
    [[gnu::noinline]] int measure(uint8_t byte) const {
        const int advance = sized_->advance(glyphs_[byte]);
        advances_[byte].store(advance, std::memory_order_relaxed);
        return advance;
    }

    // Two threads may render the same byte at once; the sized face hands both the same glyph.
    const RenderedGlyph& glyph(uint8_t byte) const {
        std::atomic<const RenderedGlyph*>& known = rendered_[byte];
        const RenderedGlyph* glyph = known.load(std::memory_order_acquire);
        if (!glyph) {
            glyph = &sized_->rendered(glyphs_[byte]);
            known.store(glyph, std::memory_order_release);
        }
        return *glyph;
    }

    std::shared_ptr<SizedFace> sized_;
    FaceMetrics metrics_;
    std::string name_;
    ByteGlyphs glyphs_{};
    mutable std::array<std::atomic<int>, 256> advances_;
    mutable std::array<std::atomic<const RenderedGlyph*>, 256> rendered_{};
};

SharedCache<FaceKey, const FreeTypeFace>& faces() {
    static SharedCache<FaceKey, const FreeTypeFace> cache(kFacesKept);
    return cache;
}

std::optional<CellScale> scaleFor(const DesignMetrics& design, const FaceSource& source, const LOGFONTA& font) {
    if (source.classicDialogMetrics)
        return CellScale{kClassicDialogEm, design.unitsPerEm, kClassicDialogEm, false};
    return cellScale(design, font.lfHeight);
}

}  // namespace

std::shared_ptr<const Face> openFreeTypeFace(const FaceSource& source, const LOGFONTA& font) {
    constexpr Refuser refuse("winplat: fonts");
    const std::optional<FontFile> file = fontFileAt(source.file, source.index);
    if (!file) return refuse(nullptr, "the font file " + source.file + " is gone");
    const std::optional<DesignMetrics> design = designMetricsOf(*file);
    if (!design) return nullptr;
    const std::optional<CellScale> scale = scaleFor(*design, source, font);
    if (!scale) {
        return refuse(nullptr, source.file + " has no size for a height of " + std::to_string(font.lfHeight));
    }
    return faces().get(keyOf(*file, source, font), [&]() -> std::shared_ptr<const FreeTypeFace> {
        const FaceMetrics metrics = scaledMetrics(*design, *scale, font, source);
        auto sized = SizedFace::open(SizedKey{*file, scale->em, source.syntheticBold,
                                              source.syntheticItalic, metrics.text.tmAscent,
                                              metrics.text.tmDescent},
                                     *design);
        if (!sized) return nullptr;
        return std::make_shared<const FreeTypeFace>(std::move(sized), metrics, source.family, source.bytes);
    });
}

}  // namespace winplat::text

namespace winplat::testing {

// The faces first: they hold their sized faces.
void dropUnusedFaces() {
    text::faces().dropUnused();
    text::dropUnusedSizedFaces();
    text::forgetDesignMetrics();
}

}  // namespace winplat::testing
