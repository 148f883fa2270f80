// Logical fonts and what a DC tells about its font: metrics, face name, character widths, extents,
// justification and text alignment.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "base/call_refusal.h"
#include "gdi/objects.h"
#include "text/face_source.h"
#include "winplat/base.h"
#include "winplat/text.h"

namespace winplat::gdi {
namespace {

// Heights beyond this are no text size: refused rather than drawn as boxes of millions of pixels.
constexpr LONG kMaxHeight = 16384;

bool supportedCharSet(BYTE charSet) {
    return charSet == ANSI_CHARSET || charSet == DEFAULT_CHARSET || charSet == SYMBOL_CHARSET ||
           charSet == RUSSIAN_CHARSET || charSet == EASTEUROPE_CHARSET;
}

HFONT createFont(const LOGFONTA& font) {
    constexpr CallRefuser refuse("winplat: CreateFontIndirectA");
    if (font.lfEscapement != 0 || font.lfOrientation != 0)
        return refuse.unsupported(HFONT{}, "rotated text (escapement " + std::to_string(font.lfEscapement) +
                                               ", orientation " + std::to_string(font.lfOrientation) + ")");
    if (font.lfWidth != 0)
        return refuse.unsupported(HFONT{}, "a character width of " + std::to_string(font.lfWidth));
    if (!supportedCharSet(font.lfCharSet))
        return refuse.unsupported(HFONT{}, "character set " + std::to_string(font.lfCharSet));
    if (font.lfHeight < -kMaxHeight || font.lfHeight > kMaxHeight)
        return refuse(HFONT{}, "a height of " + std::to_string(font.lfHeight) + " pixels");
    if (!std::memchr(font.lfFaceName, 0, LF_FACESIZE))
        return refuse(HFONT{}, "a face name without its terminating zero");
    auto object = std::make_shared<FontObject>();
    object->logFont = font;
    object->face = text::makeFace(font);
    const uint32_t handle = handleTable().add(HandleType::Font, std::move(object));
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return makeHandle<HFONT>(handle);
}

// Runs 'body' with the DC and the face of its font under the GDI lock.
template <class T, class Body>
T onFace(HDC dc, T failure, Body body) {
    return onDc(dc, failure, [&](DeviceContextObject& context) -> T {
        auto font = findFont(context.state.font);
        if (!font) return failure;
        return body(context, text::fontFace(*font));
    });
}

// The bytes first..last as a range a caller's array can take, or false.
bool byteRange(UINT first, UINT last, const void* out, const CallRefuser& refuse) {
    if (!out) return refuse(false, "no array for the widths");
    if (first > last || last > 0xFF)
        return refuse(false, "characters " + std::to_string(first) + " to " + std::to_string(last) +
                                 " of a single-byte font");
    return true;
}

BOOL charWidths(HDC dc, UINT first, UINT last, int* widths, const CallRefuser& refuse) {
    if (!byteRange(first, last, widths, refuse)) return FALSE;
    return onFace(dc, BOOL{FALSE}, [&](DeviceContextObject&, const text::Face& face) -> BOOL {
        for (UINT c = first; c <= last; ++c) widths[c - first] = face.advance(static_cast<uint8_t>(c));
        return TRUE;
    });
}

}  // namespace
}  // namespace winplat::gdi

namespace winplat::text {

const Face& fontFace(gdi::FontObject& font) {
    if (!font.face) font.face = makeFace(font.logFont);
    return *font.face;
}

}  // namespace winplat::text

using namespace winplat;
using namespace winplat::gdi;

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    if (!font) {
        constexpr CallRefuser refuse("winplat: CreateFontIndirectA");
        return refuse(HFONT{}, "no LOGFONTA");
    }
    return createFont(*font);
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfEscapement = escapement;
    font.lfOrientation = orientation;
    font.lfWeight = weight;
    font.lfItalic = static_cast<BYTE>(italic);
    font.lfUnderline = static_cast<BYTE>(underline);
    font.lfStrikeOut = static_cast<BYTE>(strikeOut);
    font.lfCharSet = static_cast<BYTE>(charSet);
    font.lfOutPrecision = static_cast<BYTE>(outPrecision);
    font.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    font.lfQuality = static_cast<BYTE>(quality);
    font.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName) {
        const size_t length = strnlen(faceName, LF_FACESIZE);
        if (length == LF_FACESIZE) {
            constexpr CallRefuser refuse("winplat: CreateFontA");
            return refuse(HFONT{}, "a face name longer than 31 bytes");
        }
        std::memcpy(font.lfFaceName, faceName, length);
    }
    return createFont(font);
}

BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    if (!metrics) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return onFace(dc, BOOL{FALSE}, [metrics](DeviceContextObject&, const text::Face& face) -> BOOL {
        *metrics = face.metrics().text;
        return TRUE;
    });
}

int GetTextFaceA(HDC dc, int count, LPSTR faceName) {
    return onFace(dc, 0, [&](DeviceContextObject&, const text::Face& face) -> int {
        const std::string& name = face.name();
        if (!faceName) return static_cast<int>(name.size()) + 1;
        if (count <= 0) {
            constexpr CallRefuser refuse("winplat: GetTextFaceA");
            return refuse(0, "a buffer of " + std::to_string(count) + " bytes");
        }
        const size_t copied = std::min(name.size(), static_cast<size_t>(count) - 1);
        std::memcpy(faceName, name.data(), copied);
        faceName[copied] = '\0';
        return static_cast<int>(copied) + 1;
    });
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size) {
    if (!size || count < 0 || (count > 0 && !text)) {
        constexpr CallRefuser refuse("winplat: GetTextExtentPoint32A");
        return refuse(BOOL{FALSE}, "no text or no SIZE for it");
    }
    return onFace(dc, BOOL{FALSE}, [&](DeviceContextObject& context, const text::Face& face) -> BOOL {
        const BYTE breakChar = face.metrics().text.tmBreakChar;
        int64_t width = 0;
        int breaks = 0;
        for (int i = 0; i < count; ++i) {
            const auto byte = static_cast<uint8_t>(text[i]);
            width += face.advance(byte);
            if (Justification::IsBreak(byte, breakChar)) width += context.state.justification.extraOf(breaks++);
        }
        size->cx = static_cast<LONG>(std::clamp<int64_t>(width, INT32_MIN, INT32_MAX));
        size->cy = face.metrics().text.tmHeight;
        return TRUE;
    });
}

BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) {
    constexpr CallRefuser refuse("winplat: GetCharWidthA");
    return charWidths(dc, first, last, widths, refuse);
}

BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, int* widths) {
    constexpr CallRefuser refuse("winplat: GetCharWidth32A");
    return charWidths(dc, first, last, widths, refuse);
}

BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, LPABC widths) {
    constexpr CallRefuser refuse("winplat: GetCharABCWidthsA");
    if (!byteRange(first, last, widths, refuse)) return FALSE;
    return onFace(dc, BOOL{FALSE}, [&](DeviceContextObject&, const text::Face& face) -> BOOL {
        for (UINT c = first; c <= last; ++c) widths[c - first] = face.abc(static_cast<uint8_t>(c));
        return TRUE;
    });
}

BOOL SetTextJustification(HDC dc, int extra, int count) {
    if (count < 0) {
        constexpr CallRefuser refuse("winplat: SetTextJustification");
        return refuse(BOOL{FALSE}, "a negative count of breaks");
    }
    return onDc(dc, BOOL{FALSE}, [&](DeviceContextObject& context) -> BOOL {
        context.state.justification =
            extra == 0 || count == 0 ? Justification{} : Justification{extra, count, 0};
        return TRUE;
    });
}

UINT SetTextAlign(HDC dc, UINT align) {
    constexpr UINT kHorizontal = TA_LEFT | TA_RIGHT | TA_CENTER;
    constexpr UINT kVertical = TA_TOP | TA_BOTTOM | TA_BASELINE;
    const UINT horizontal = align & kHorizontal;
    const UINT vertical = align & kVertical;
    constexpr CallRefuser refuse("winplat: SetTextAlign");
    if ((align & ~(kHorizontal | kVertical | TA_UPDATECP)) != 0 || horizontal == 4 || vertical == 16)
        return refuse.unsupported(UINT{GDI_ERROR}, "alignment " + std::to_string(align));
    if ((align & TA_UPDATECP) && horizontal != TA_LEFT)
        return refuse.unsupported(UINT{GDI_ERROR}, "TA_UPDATECP with centred or right-aligned text");
    return onDc(dc, UINT{GDI_ERROR}, [align](DeviceContextObject& context) {
        return std::exchange(context.state.textAlign, align);
    });
}

UINT GetTextAlign(HDC dc) {
    return onDc(dc, UINT{GDI_ERROR}, [](DeviceContextObject& context) { return context.state.textAlign; });
}
