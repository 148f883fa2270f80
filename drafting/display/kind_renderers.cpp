#include "display/kind_renderers.h"

#include "winplat/debug.h"

namespace linework {

void PlaceholderRenderers::Tell(Family family) {
    static constexpr const char* kNames[kFamilies] = {
        "hatched polylines", "polylines with end symbols", "texts", "dimensions",
        "block inserts",     "raster images",              "referenced drawings",
    };
    if (told_[family]) return;
    told_[family] = true;
    std::string line = "Linework: ";
    line += kNames[family];
    line += " are not drawn yet\n";
    OutputDebugStringA(line.c_str());
}

}  // namespace linework
