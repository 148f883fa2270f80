#include "store/viewer_texts.h"

#include "resources/lect32_ids.h"
#include "winplat/module.h"

namespace lect32 {

std::string untitledDocumentText() {
    char text[150] = {};
    LoadStringA(GetModuleHandleA("lect32.exe"), res::kUntitledDocument, text, sizeof text);
    return text;
}

}  // namespace lect32
