#include "text/font_cache.h"

#include <cstdlib>
#include <cstring>

#include "text/embedded_fonts.h"
#include "text/font_faces.h"
#include "winplat/base.h"
#include "winplat/draw.h"
#include "winplat/gdi.h"

namespace lect32 {
namespace {

int16_t g_resolution = 96;
HDC g_printDevice = nullptr;

constexpr int kDefaultResolution = 96;
constexpr uint16_t kPinnedUses = 0xFFFF;
// Fonts of the document's own files: clipped as embedded fonts and drawn at proof quality.
constexpr BYTE kClipEmbedded = 128;

// Raised and lowered text is smaller: a cell height of 8/10 (up to 11 points) or 7/10 of the
// character height, and below 8 points the size itself.
LONG ScriptHeight(int size, LONG height) {
    if (size < 8) return -size;
    const LONG magnitude = std::labs(height);
    return MulDiv(magnitude, size < 12 ? 8 : 7, 10);
}

// The start of the request of a font the document does not embed.
LOGFONTA PlainRequest(const CharFormat& format) {
    LOGFONTA request{};
    request.lfWeight = format.Weight();
    request.lfItalic = format.TestFlag(CharFormat::kItalic) ? 1 : 0;
    request.lfOutPrecision = OUT_TT_PRECIS;
    return request;
}

// The start of the request of an embedded font: as the document describes it.
LOGFONTA EmbeddedRequest(const EmbeddedFontEntry& entry) {
    LOGFONTA request{};
    request.lfWeight = entry.weightTenths * 10;
    request.lfItalic = entry.italic;
    request.lfCharSet = entry.charset;
    request.lfOutPrecision = entry.outPrecision;
    request.lfClipPrecision = kClipEmbedded;
    request.lfQuality = PROOF_QUALITY;
    request.lfPitchAndFamily = entry.pitchAndFamily;
    return request;
}

}  // namespace

int16_t GetTextResolution() { return g_resolution; }
void SetTextResolution(int16_t dotsPerInch) { g_resolution = dotsPerInch; }
void SetPrintJobDevice(HDC device) { g_printDevice = device; }
HDC GetPrintJobDevice() { return g_printDevice; }

LOGFONTA BuildFontRequest(const CharFormat& format, int resolution, const FontFaceList& faces,
                          const EmbeddedFontEntry* embedded) {
    if (resolution == 0) resolution = kDefaultResolution;
    LOGFONTA request = embedded ? EmbeddedRequest(*embedded) : PlainRequest(format);
    request.lfHeight = -MulDiv(format.size, resolution, 72);
    request.lfUnderline = format.TestFlag(CharFormat::kUnderline) ? 1 : 0;
    request.lfStrikeOut = format.TestFlag(CharFormat::kStrikeOut) ? 1 : 0;
    if (format.TestFlag(CharFormat::kRaised | CharFormat::kLowered)) {
        request.lfHeight = ScriptHeight(format.size, request.lfHeight);
    }
    const FontFace face = faces.GetFace(format.font);
    request.lfCharSet = face.charset;
    std::memcpy(request.lfFaceName, face.name.c_str(), std::min(face.name.size() + 1, sizeof request.lfFaceName));
    return request;
}

FontRef FontCache::GetFont(HDC device, const CharFormat& asked) {
    if (g_printDevice && device != g_printDevice) {
        static const FontRef system =
            std::make_shared<const CachedFont>(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), LOGFONTA{});
        return system;
    }
    CharFormat key = asked;
    if (key.TestFlag(CharFormat::kFlagsUnset)) key.flags = CharFormat::kFlagsUnset;
    const int16_t resolution = GetTextResolution();
    Slot* empty = nullptr;
    for (Slot& slot : slots_) {
        if (!slot.font) {
            if (!empty) empty = &slot;
            continue;
        }
        if (slot.key.font == key.font && slot.key.size == key.size && slot.key.weightClass == key.weightClass &&
            slot.key.flags == key.flags && slot.resolution == resolution) {
            if (static_cast<uint16_t>(slot.uses) != kPinnedUses) ++slot.uses;
            return slot.font;
        }
    }
    if (!empty) {
        Clear();  // held fonts live on through their holders' references
        empty = &slots_[0];
    }
    const FontFaceList& faces = faces_ == Faces::Main ? GetDocumentFonts().main : GetDocumentFonts().markers;
    const LOGFONTA request = BuildFontRequest(key, resolution, faces, GetEmbeddedFonts().Find(key));
    winplat::GdiObject<HFONT> font(CreateFontIndirectA(&request));
    if (!font) return nullptr;
    empty->font = std::make_shared<const CachedFont>(std::move(font), request);
    empty->key = key;
    empty->resolution = resolution;
    empty->uses = 1;
    return empty->font;
}

void FontCache::ReleaseFont(const FontRef& font) {
    for (Slot& slot : slots_) {
        if (slot.font && slot.font == font && slot.uses > 0) {
            --slot.uses;
            return;
        }
    }
}

void FontCache::Clear() {
    for (Slot& slot : slots_) slot = Slot{};
}

FontCache& GetTextFontCache() {
    static FontCache cache(FontCache::Faces::Main);
    return cache;
}

FontCache& GetMarkerFontCache() {
    static FontCache cache(FontCache::Faces::Markers);
    return cache;
}

}  // namespace lect32
