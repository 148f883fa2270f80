// The strip at the top of a page window that shows the page's title as one paragraph in the style
// the page style names. The page window owns the banner, hands it the text, the style fields, the
// width and the zoom, asks it for its height and places its BANNER window above the view.
#ifndef LECT32_PAGE_BANNER_H
#define LECT32_PAGE_BANNER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/laid_out_line.h"
#include "text/text_format.h"
#include "winplat/types.h"

namespace lect32 {

class ColourTable;
class StyleSheet;
struct PageStyle;

struct BannerServices {
    const StyleSheet* styles = nullptr;    // null: the document's
    const ColourTable* colours = nullptr;  // null: an empty table
};

// A found word in the title: byte offsets, end exclusive.
struct FoundRange {
    uint16_t start = 0;
    uint16_t end = 0;
    bool operator==(const FoundRange&) const = default;
};

// Finds query word 'word' in 'text' from offset 'from'; nothing when it is not there. The page
// window supplies the search of its query (plain or stemmed matching, word by word).
using BannerWordFinder = std::function<std::optional<FoundRange>(size_t word, std::span<const uint8_t> text, size_t from)>;

class Banner {
public:
    static constexpr size_t kMaxText = 255;
    static constexpr uint8_t kNoStyle = 255;
    static constexpr int kWindowWord = 0;  // of the BANNER class: the banner object, or 0

    explicit Banner(BannerServices services = {});

    // Empty text, banner off, height 0, no zoom, no found words.
    void Reset();
    void SetWindow(HWND window) { window_ = window; }
    // Longer texts are cut to kMaxText bytes.
    void SetText(std::string_view text);
    void SetWidth(int16_t width) { width_ = width; }
    void SetZoom(int16_t numerator, int16_t denominator);
    // Takes the banner switch, the banner style and the page background colour.
    void SetStyle(const PageStyle& style);

    // Lays the title out at the width on the device (null: the window's) and keeps and returns
    // the height; 0 when the banner is off, has no style or no text.
    int16_t Measure(HDC device = nullptr);
    // Paints at (x, y) on the device, or into the window between BeginPaint and EndPaint when
    // there is none.
    void Paint(HDC device, int x, int y);
    // Finds each of 'words' query words in the title, every place of each, for painting inverted.
    void MarkFoundWords(size_t words, const BannerWordFinder& find);

    const std::string& Text() const { return text_; }
    int16_t Height() const { return height_; }
    int16_t Width() const { return width_; }
    HWND Window() const { return window_; }
    const std::vector<FoundRange>& FoundWords() const { return found_; }
    bool Shown() const { return bannerOn_ != 0 && bannerStyle_ != kNoStyle && !text_.empty(); }

private:
    // Where the paragraph's lines go inside the banner, from its format.
    struct Box {
        int left = 0;       // from the banner's left edge
        int top = 0;        // from its top edge
        int available = 0;  // the width lines break at
        int frameHeight = 0;  // what top and bottom frame sides add
        int leading = 0;
    };

    TextFormat format() const;
    Box boxOf(const TextFormat& format) const;
    // Lays out each line in turn and hands it to 'each' with the offset it starts at; returns the
    // lines' total height.
    int forEachLine(const TextFormat& format, const Box& box,
                    const std::function<void(LaidOutLine&, size_t start, int top)>& each) const;
    void paintFrame(HDC device, const TextFormat& format, int x, int y) const;
    void invertFound(LaidOutLine& line, size_t start, int x, int top, int leading) const;
    const StyleSheet& styles() const;
    const ColourTable& colours() const;

    BannerServices services_;
    std::string text_;
    uint8_t bannerOn_ = 0;
    uint8_t bannerStyle_ = 0;
    int16_t width_ = 0;
    int16_t height_ = 0;
    uint8_t backColour_ = 15;
    int16_t zoomNumerator_ = 0;
    int16_t zoomDenominator_ = 0;
    HWND window_ = nullptr;
    std::vector<FoundRange> found_;
};

// Asked by the BANNER window before it paints: while the viewer is closing it only validates.
using ViewerClosingQuery = bool (*)();
void SetBannerClosingQuery(ViewerClosingQuery query);

// Registers the BANNER window class (once per process); false when it cannot.
bool RegisterBannerWindowClass();
LRESULT CALLBACK BannerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lect32

#endif
