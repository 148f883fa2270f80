// Font files under fuzzing, as a document's embedded font reaches the layer: the bytes are written
// to a font file and added with AddFontResourceA; when the file registers, each family it names is
// made into a font of one of these, chosen by the input's length: a small or a large em, a cell
// height, bold, italic, underlined and struck-out, in every character set the layer draws (symbol
// included); the font is measured, drawn and listed as the reader does with its fonts. What the
// layer reports is checked where it must hold for any file: a cell is its ascent plus its descent,
// the ABC widths of a byte add up to its width, and an extent is the sum of the widths. The file
// is removed afterwards.
//
// Each input goes to a file of its own name: the layer keeps what it read of a font file by its
// path, so every input must be a new file to be read at all.
//
// Seeds: the tiny box fonts of tools/make_test_font.py (the seed files), and copies of installed
// fonts of the other outline formats: TrueType with hinting programs (Liberation Sans), CFF
// (Standard Symbols PS .otf) and Type 1 (Standard Symbols PS .t1).
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_entry.h"
#include "fuzz_quiet.h"
#include "fuzz_scratch.h"
#include "winplat/gdi.h"
#include "winplat/owners.h"
#include "winplat/testing.h"
#include "winplat/text.h"

namespace {

namespace fs = std::filesystem;
using winplat::GdiObject;
using winplat::MemoryDc;
using winplat::Selection;

void check(bool holds) {
    if (!holds) __builtin_trap();
}

// The font file of one input, removed with it.
class InputFile {
  public:
    explicit InputFile(const uint8_t* data, size_t size) {
        static unsigned long inputs = 0;
        path_ = fuzzScratchPath("font_fuzz", "." + std::to_string(inputs++) + ".ttf");
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        written_ = static_cast<bool>(out);
    }
    ~InputFile() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool written() const { return written_; }
    // The same file as a program names it: drive C: is the host root.
    std::string windowsPath() const {
        std::string path = "C:" + path_.string();
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

  private:
    fs::path path_;
    bool written_ = false;
};

// The font added for a scope; removing it must succeed.
class AddedFont {
  public:
    explicit AddedFont(std::string path) : path_(std::move(path)), added_(AddFontResourceA(path_.c_str()) > 0) {}
    ~AddedFont() {
        if (added_) check(RemoveFontResourceA(path_.c_str()) == TRUE);
    }
    AddedFont(const AddedFont&) = delete;
    AddedFont& operator=(const AddedFont&) = delete;

    bool added() const { return added_; }

  private:
    std::string path_;
    bool added_;
};

int collectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
    auto& families = *reinterpret_cast<std::vector<std::string>*>(names);
    if (families.empty() || families.back() != font->lfFaceName) families.push_back(font->lfFaceName);
    return 1;
}

// Every family EnumFontFamiliesExA lists, once each, in its order: the program's own fonts first.
std::vector<std::string> listedFamilies(HDC dc) {
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    std::vector<std::string> families;
    EnumFontFamiliesExA(dc, &all, collectFamily, reinterpret_cast<LPARAM>(&families), 0);
    return families;
}

// The families before any input is added.
const std::vector<std::string>& familiesBefore() {
    static const std::vector<std::string> families = [] {
        const MemoryDc dc(CreateCompatibleDC(nullptr));
        return listedFamilies(dc.get());
    }();
    return families;
}

// The families the added file names, as a program finds them through the public calls: the
// listing starts with them and goes on with the families listed before, less those of the same
// names. (A file whose families are exactly the first ones listed before goes unseen.)
std::vector<std::string> familiesAdded(HDC dc) {
    constexpr size_t kFamiliesTried = 2;
    const std::vector<std::string> now = listedFamilies(dc);
    const std::vector<std::string>& before = familiesBefore();
    for (size_t added = 0; added <= now.size(); ++added) {
        const std::vector<std::string> prefix(now.begin(), now.begin() + static_cast<long>(added));
        std::vector<std::string> rest;
        for (const std::string& family : before) {
            if (std::find(prefix.begin(), prefix.end(), family) == prefix.end()) rest.push_back(family);
        }
        if (std::equal(rest.begin(), rest.end(), now.begin() + static_cast<long>(added), now.end())) {
            return std::vector<std::string>(prefix.begin(), prefix.begin() + static_cast<long>(std::min(added, kFamiliesTried)));
        }
    }
    check(false);  // the listing lost families listed before
    return {};
}

struct FontCase {
    LONG height;
    LONG weight;
    BYTE italic;
    BYTE underline;
    BYTE strikeOut;
    BYTE charSet;
};

// Small and large ems, a cell height, the synthetic styles and every character set the layer has.
constexpr std::array<FontCase, 5> kFontCases = {{
    {-7, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET},
    {-40, FW_NORMAL, 0, 0, 0, EASTEUROPE_CHARSET},
    {16, FW_BOLD, 0, 0, 0, ANSI_CHARSET},
    {-13, FW_NORMAL, 1, 1, 0, RUSSIAN_CHARSET},
    {-12, FW_BOLD, 1, 0, 1, SYMBOL_CHARSET},
}};

LOGFONTA logFontOf(const std::string& family, const FontCase& c) {
    LOGFONTA font{};
    font.lfHeight = c.height;
    font.lfWeight = c.weight;
    font.lfItalic = c.italic;
    font.lfUnderline = c.underline;
    font.lfStrikeOut = c.strikeOut;
    font.lfCharSet = c.charSet;
    std::memcpy(font.lfFaceName, family.data(), family.size());
    return font;
}

// A memory DC holding a small DIB section of the depth, black on white, or white on black.
class Canvas {
  public:
    explicit Canvas(WORD bitsPerPixel) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = 64;
        info.header.biHeight = -24;
        info.header.biPlanes = 1;
        info.header.biBitCount = bitsPerPixel;
        info.header.biCompression = BI_RGB;
        info.colors[1] = RGBQUAD{255, 255, 255, 0};
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                       &bits, nullptr, 0));
        check(bitmap_ && bits);
        selected_.emplace(dc_.get(), bitmap_.get());
    }

    HDC dc() const { return dc_.get(); }

  private:
    MemoryDc dc_{CreateCompatibleDC(nullptr)};
    GdiObject<HBITMAP> bitmap_;
    std::optional<Selection> selected_;
};

std::array<char, 256> everyByte() {
    std::array<char, 256> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i);
    return bytes;
}

// Metrics and widths as the reader's text formatter reads them, of the added family's face; the
// widths of the 256 bytes.
std::array<int, 256> measure(HDC dc, const std::string& family) {
    TEXTMETRICA metrics{};
    check(GetTextMetricsA(dc, &metrics) == TRUE);
    check(metrics.tmHeight == metrics.tmAscent + metrics.tmDescent);
    std::array<int, 256> widths{};
    std::array<ABC, 256> abc{};
    check(GetCharWidth32A(dc, 0, 255, widths.data()) == TRUE);
    check(GetCharABCWidthsA(dc, 0, 255, abc.data()) == TRUE);
    int64_t sum = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        check(int64_t{abc[i].abcA} + abc[i].abcB + abc[i].abcC == widths[i]);
        sum += widths[i];
    }
    const std::array<char, 256> text = everyByte();
    SIZE extent{};
    check(GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent) == TRUE);
    check(extent.cx == std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX) && extent.cy == metrics.tmHeight);
    char face[LF_FACESIZE];
    check(GetTextFaceA(dc, LF_FACESIZE, face) > 0 && face == family);
    return widths;
}

// Every byte drawn from the left edge, from the right edge (so the end of the line shows) and
// with the widths as a dx array into an opaque, clipped rectangle.
void draw(HDC dc, const std::array<int, 256>& widths) {
    const std::array<char, 256> text = everyByte();
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, 1, 1, text.data(), static_cast<int>(text.size()));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    TextOutA(dc, 63, 16, text.data(), static_cast<int>(text.size()));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const RECT clip{2, 3, 50, 20};
    ExtTextOutA(dc, -3, 0, ETO_OPAQUE | ETO_CLIPPED, &clip, text.data(), static_cast<UINT>(text.size()),
                widths.data());
}

void exercise(const std::string& family, const FontCase& fontCase, const Canvas& colour, const Canvas& mono) {
    const LOGFONTA logFont = logFontOf(family, fontCase);
    const GdiObject<HFONT> font(CreateFontIndirectA(&logFont));
    check(static_cast<bool>(font));
    std::array<int, 256> widths{};
    {
        const Selection selected(colour.dc(), font.get());
        check(static_cast<bool>(selected));
        widths = measure(colour.dc(), family);
        draw(colour.dc(), widths);
    }
    const Selection selected(mono.dc(), font.get());
    check(static_cast<bool>(selected));
    draw(mono.dc(), widths);
}

int countListing(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return 1;
}

// The family as EnumFontFamiliesExA lists it: once per character set, and at least once, since
// the file is added and not hidden.
void list(HDC dc, const std::string& family) {
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(font.lfFaceName, family.data(), family.size());
    int count = 0;
    EnumFontFamiliesExA(dc, &font, countListing, reinterpret_cast<LPARAM>(&count), 0);
    check(count >= 1);
}

// Real fonts, and of the installed ones the Liberation faces alone: the stand-ins for Arial, Times
// New Roman and Courier New, which an added family may clash with. Finding a family and listing
// them all then cost little for every input. A WINPLAT_FONTS the run sets is kept.
void useRealFonts() {
    static const bool confined = setenv("WINPLAT_FONTS", "/usr/share/fonts/truetype/liberation2", 0) == 0;
    static const winplat::testing::ScopedFontSource realFonts(winplat::testing::FontSource::System);
    check(confined);
}

// An input ends with the faces it made gone, not kept ready for fonts to come: what an input
// allocates it frees again, or libFuzzer runs it twice to look for a leak.
struct FacesDropped {
    FacesDropped() = default;
    FacesDropped(const FacesDropped&) = delete;
    FacesDropped& operator=(const FacesDropped&) = delete;
    ~FacesDropped() { winplat::testing::dropUnusedFaces(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    useRealFonts();
    const QuietInput quiet;  // the layer's refusals of damaged files
    const FacesDropped facesDropped;
    familiesBefore();
    const InputFile input(data, size);
    if (!input.written()) return 0;
    const AddedFont added(input.windowsPath());
    if (!added.added()) return 0;
    const Canvas colour(32);
    const Canvas mono(1);
    // One font case an input, chosen by its length: every glyph is rendered afresh for each size
    // of a new file, and the cases between them would cost five times that for every input.
    const FontCase& fontCase = kFontCases[size % kFontCases.size()];
    for (const std::string& family : familiesAdded(colour.dc())) {
        exercise(family, fontCase, colour, mono);
        list(colour.dc(), family);
    }
    return 0;
}

// Copies of installed fonts at their Debian paths; a missing one is left out with a message.
std::vector<FuzzBytes> fuzzSeeds() {
    static const std::array<std::pair<const char*, const char*>, 3> kFiles = {{
        {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", "fonts-liberation2"},
        {"/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf", "fonts-urw-base35"},
        {"/usr/share/fonts/type1/urw-base35/StandardSymbolsPS.t1", "fonts-urw-base35"},
    }};
    std::vector<FuzzBytes> seeds;
    for (const auto& [file, package] : kFiles) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "font_file_fuzz: no seed %s: it is not installed (%s)\n", file, package);
            continue;
        }
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}
