// The reader's one block of window and chrome settings: window size and state, caption, menu bar,
// chapter bar, tool bar, splitter, dock, display requirements, window title, switches and cursor
// ids. A global copy holds the defaults from start-up until a document's own block replaces it.
// Documents store the block (inside record type 12), so its 520 bytes and their offsets are a file
// format: packed, little-endian, the offsets static-asserted below.
#ifndef LECT32_SHELL_VIEW_SETTINGS_H
#define LECT32_SHELL_VIEW_SETTINGS_H

#include <cstddef>
#include <cstdint>

namespace lect32 {

#pragma pack(push, 1)

// A font choice of the chrome: index -1 is the default font.
struct ViewFont {
    static constexpr uint8_t kItalic = 0x02;
    static constexpr uint8_t kScaleByScreen = 0x04;  // else sized for 96 dots per inch

    int16_t index = -1;
    int16_t size = 0;
    int16_t weight = 0;
    uint8_t flags = 0;
};

struct ViewSettings {
    static constexpr uint32_t kSystemColour = 0x40000000;  // the system's or built-in colour
    static constexpr uint16_t kNoId = 0xFFFF;
    static constexpr size_t kTitleSize = 256;
    static constexpr size_t kCaptionColours = 8;
    static constexpr size_t kMenuColours = 6;
    static constexpr size_t kChapterColours = 4;
    static constexpr size_t kDockFonts = 8;
    static constexpr size_t kDockColours = 13;

    // windowFlags
    static constexpr uint8_t kStartMaximised = 0x01;
    static constexpr uint8_t kFixedWindow = 0x02;
    static constexpr uint8_t kRaisedBorder = 0x04;
    static constexpr uint8_t kFlatBorder = 0x08;
    static constexpr uint8_t kCaptionShown = 0x10;
    static constexpr uint8_t kNoCaptionButtons = 0x20;
    static constexpr uint8_t kBlackBackground = 0x40;
    // switches
    static constexpr uint8_t kFixedResolution = 0x01;  // 96 dots per inch, text zoom 100
    static constexpr uint8_t kNoExitSplash = 0x20;

    ViewSettings();  // the defaults

    uint8_t windowFlags = kRaisedBorder | kCaptionShown | kStartMaximised;
    uint16_t width = 640;
    uint16_t height = 480;
    uint8_t frameBand = 2;
    int16_t captionPicture = -1;
    ViewFont captionFont;
    uint32_t captionColours[kCaptionColours];
    uint8_t menuFlags = 3;
    uint8_t menuBorder = 1;
    ViewFont menuFont;
    uint32_t menuColours[kMenuColours];
    uint8_t chapterFlags = 3;
    ViewFont chapterFont;
    ViewFont chapterPathFont;
    uint32_t chapterColours[kChapterColours];
    uint8_t toolbarFlags = 5;
    uint8_t toolbarSpacing = 3;
    uint16_t userToolbarPage = kNoId;
    uint32_t toolbarColour = kSystemColour;
    uint8_t splitterFlags = 9;
    uint8_t splitterMargin = 2;
    uint8_t splitterWidth = 3;
    uint16_t splitterPosition = 30;
    uint32_t splitterColour = kSystemColour;
    uint32_t dockFrameColour = kSystemColour;
    uint8_t dockFlags = 31;
    uint8_t dockGap = 3;
    int16_t treePicture = -1;
    ViewFont dockFonts[kDockFonts];  // two dock captions, five contents-tree levels, the tree font
    uint32_t dockColours[kDockColours];
    uint8_t displayRequirements = 9;
    char title[kTitleSize] = {};  // cp1250, zero-terminated; when not empty it replaces the caption
    uint8_t switches = 0x16;
    uint32_t highlightColour = kSystemColour;
    uint16_t userToolbarThickness = 150;
    // The language of the user interface, as a Windows language id: the language file loaded with
    // each document is chosen by it; 0 keeps the built-in Czech texts. The chrome has no other use
    // for these bytes.
    uint16_t languageId = 0;
    uint32_t backgroundColour = 0;  // of the black full-screen background
    uint16_t cursorIds[3] = {kNoId, kNoId, kNoId};
};

#pragma pack(pop)

static_assert(sizeof(ViewFont) == 7);
static_assert(sizeof(ViewSettings) == 520);
static_assert(offsetof(ViewSettings, captionFont) == 8);
static_assert(offsetof(ViewSettings, captionColours) == 15);
static_assert(offsetof(ViewSettings, menuFlags) == 47);
static_assert(offsetof(ViewSettings, menuFont) == 49);
static_assert(offsetof(ViewSettings, menuColours) == 56);
static_assert(offsetof(ViewSettings, chapterFlags) == 80);
static_assert(offsetof(ViewSettings, chapterPathFont) == 88);
static_assert(offsetof(ViewSettings, chapterColours) == 95);
static_assert(offsetof(ViewSettings, toolbarFlags) == 111);
static_assert(offsetof(ViewSettings, userToolbarPage) == 113);
static_assert(offsetof(ViewSettings, toolbarColour) == 115);
static_assert(offsetof(ViewSettings, splitterFlags) == 119);
static_assert(offsetof(ViewSettings, splitterPosition) == 122);
static_assert(offsetof(ViewSettings, splitterColour) == 124);
static_assert(offsetof(ViewSettings, dockFrameColour) == 128);
static_assert(offsetof(ViewSettings, dockFlags) == 132);
static_assert(offsetof(ViewSettings, treePicture) == 134);
static_assert(offsetof(ViewSettings, dockFonts) == 136);
static_assert(offsetof(ViewSettings, dockColours) == 192);
static_assert(offsetof(ViewSettings, displayRequirements) == 244);
static_assert(offsetof(ViewSettings, title) == 245);
static_assert(offsetof(ViewSettings, switches) == 501);
static_assert(offsetof(ViewSettings, highlightColour) == 502);
static_assert(offsetof(ViewSettings, userToolbarThickness) == 506);
static_assert(offsetof(ViewSettings, languageId) == 508);
static_assert(offsetof(ViewSettings, backgroundColour) == 510);
static_assert(offsetof(ViewSettings, cursorIds) == 514);

// Writes the defaults into the block, or into the global one when none is given.
void ResetViewSettings(ViewSettings* settings = nullptr);

// Copies the 520 bytes of the global block out.
void GetViewSettings(ViewSettings& out);

// Copies a block in as the global one, without applying it to the windows: what a document's
// record type 12 brings, before the chrome takes it.
void StoreViewSettings(const ViewSettings& settings);

}  // namespace lect32

#endif
