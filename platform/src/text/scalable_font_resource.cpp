// Writing and reading scalable font resource files.
#include "text/scalable_font_resource.h"

namespace winplat::text {
namespace {

constexpr std::string_view kHeader = "WINPLAT SCALABLE FONT RESOURCE 1\n";
constexpr std::string_view kHiddenKey = "hidden ";
constexpr std::string_view kFontKey = "font ";
constexpr size_t kMaxPath = 260;

// Takes the line "<key><value>\n" off the front of 'rest'; nothing when it is not there.
std::optional<std::string_view> takeLine(std::string_view& rest, std::string_view key) {
    const size_t end = rest.find('\n');
    if (end == std::string_view::npos || rest.substr(0, key.size()) != key) return std::nullopt;
    const std::string_view value = rest.substr(key.size(), end - key.size());
    rest.remove_prefix(end + 1);
    return value;
}

}  // namespace

bool isScalableFontResource(std::string_view bytes) {
    const std::string_view magic = kHeader.substr(0, kHeader.size() - 3);  // without the version
    return bytes.substr(0, magic.size()) == magic;
}

std::string formatScalableFontResource(const ScalableFontResource& resource) {
    return std::string(kHeader) + std::string(kHiddenKey) + (resource.hidden ? "1" : "0") + "\n" +
           std::string(kFontKey) + resource.fontFile + "\n";
}

std::optional<ScalableFontResource> parseScalableFontResource(std::string_view bytes, std::string& why) {
    if (bytes.size() > kMaxResourceBytes) {
        why = "a font resource file of more than " + std::to_string(kMaxResourceBytes) + " bytes";
        return std::nullopt;
    }
    if (bytes.substr(0, kHeader.size()) != kHeader) {
        why = "a font resource file of another version";
        return std::nullopt;
    }
    std::string_view rest = bytes.substr(kHeader.size());
    const std::optional<std::string_view> hidden = takeLine(rest, kHiddenKey);
    if (!hidden || (*hidden != "0" && *hidden != "1")) {
        why = "a font resource file without its hidden line";
        return std::nullopt;
    }
    const std::optional<std::string_view> font = takeLine(rest, kFontKey);
    if (!font || font->empty() || font->size() >= kMaxPath || font->find('\0') != std::string_view::npos) {
        why = "a font resource file without a font file";
        return std::nullopt;
    }
    if (!rest.empty()) {
        why = "bytes after the font resource's last line";
        return std::nullopt;
    }
    return ScalableFontResource{*hidden == "1", std::string(*font)};
}

}  // namespace winplat::text
