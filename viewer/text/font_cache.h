// The fonts of character formats: 20 recently used fonts keyed by format and resolution, made
// from the document's face lists. Fonts are shared: a caller holds a FontRef, and a cache that
// empties itself drops only its own reference, so a font still in use stays valid.
#ifndef LECT32_TEXT_FONT_CACHE_H
#define LECT32_TEXT_FONT_CACHE_H

#include <array>
#include <cstdint>
#include <memory>

#include "text/char_format.h"
#include "winplat/owners.h"
#include "winplat/text.h"
#include "winplat/types.h"

namespace lect32 {

class FontFaceList;

// A font and the request it was made from. A stock font is borrowed, never deleted.
class CachedFont {
public:
    CachedFont(winplat::GdiObject<HFONT> font, const LOGFONTA& request)
        : owned_(std::move(font)), font_(owned_.get()), request_(request) {}
    CachedFont(HFONT stock, const LOGFONTA& request) : font_(stock), request_(request) {}

    HFONT get() const { return font_; }
    const LOGFONTA& request() const { return request_; }

private:
    winplat::GdiObject<HFONT> owned_;
    HFONT font_;
    LOGFONTA request_;
};

using FontRef = std::shared_ptr<const CachedFont>;

// The vertical pixels per inch that text is drawn on or measured for (96 when set to 0).
int16_t GetTextResolution();
void SetTextResolution(int16_t dotsPerInch);

// While a document prints, fonts are made for its device only; others get the system font.
void SetPrintJobDevice(HDC device);
HDC GetPrintJobDevice();

struct EmbeddedFontEntry;

// The font request of a format, with the face and charset of the list's entry; a font the
// document embeds for the format gives its own weight, italic, precision and pitch.
LOGFONTA BuildFontRequest(const CharFormat& format, int resolution, const FontFaceList& faces,
                          const EmbeddedFontEntry* embedded = nullptr);

class FontCache {
public:
    static constexpr int kSlots = 20;
    enum class Faces : uint8_t { Main, Markers };

    explicit FontCache(Faces faces) : faces_(faces) {}

    FontRef GetFont(HDC device, const CharFormat& format);
    FontRef GetFont(HDC device, uint8_t font, int16_t size, uint8_t weightClass, uint8_t flags) {
        return GetFont(device, CharFormat{font, size, weightClass, flags});
    }
    // Lowers the use count of the slot holding the font, not below 0.
    void ReleaseFont(const FontRef& font);
    void Clear();

    int UseCount(int slot) const { return slots_[slot].uses; }
    const FontRef& SlotFont(int slot) const { return slots_[slot].font; }

private:
    struct Slot {
        FontRef font;
        int16_t uses = 0;
        CharFormat key;
        int16_t resolution = 0;
    };

    std::array<Slot, kSlots> slots_;
    Faces faces_;
};

FontCache& GetTextFontCache();
FontCache& GetMarkerFontCache();

}  // namespace lect32

#endif
