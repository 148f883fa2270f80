// Our scalable font resource files (what CreateScalableFontResourceA writes and AddFontResourceA
// follows): three text lines,
//
//     WINPLAT SCALABLE FONT RESOURCE 1
//     hidden 0            (or 1: the font is not listed by EnumFontFamiliesExA)
//     font C:\FONTS\X.TTF (the font file's full Windows path, cp1250)
//
// each ended by a line feed, nothing before, between or after.
#ifndef WINPLAT_SRC_TEXT_SCALABLE_FONT_RESOURCE_H
#define WINPLAT_SRC_TEXT_SCALABLE_FONT_RESOURCE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace winplat::text {

struct ScalableFontResource {
    bool hidden = false;
    std::string fontFile;  // full Windows path
};

// No resource file is longer: the three lines with the longest Windows path.
constexpr size_t kMaxResourceBytes = 512;

// Whether the bytes begin as a resource file does (the rest may still be damaged).
bool isScalableFontResource(std::string_view bytes);

std::string formatScalableFontResource(const ScalableFontResource& resource);

// The resource the bytes hold; nothing, with the reason in 'why', for damaged bytes.
std::optional<ScalableFontResource> parseScalableFontResource(std::string_view bytes, std::string& why);

}  // namespace winplat::text

#endif
