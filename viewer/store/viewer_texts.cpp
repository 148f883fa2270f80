#include "store/viewer_texts.h"

#include "winplat/module.h"

namespace lect32 {
namespace {
constexpr UINT kUiTextBase = 3300;
constexpr UINT kUntitled = 8;
}  // namespace

std::string untitledDocumentText() {
    char text[150] = {};
    LoadStringA(GetModuleHandleA("lect32.exe"), kUiTextBase + kUntitled, text, sizeof text);
    return text;
}

}  // namespace lect32
