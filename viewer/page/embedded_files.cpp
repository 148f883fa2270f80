#include "page/embedded_files.h"

#include <utility>

#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: embedded files");

MediaFileExtractor& extractor() {
    static MediaFileExtractor installed;
    return installed;
}

}  // namespace

int ExtractMediaFile(int kind, uint16_t id, char* path, int slot) {
    if (!path) return refuse(0, "no buffer for the temporary path");
    if (!extractor()) return refuse(0, "no store of embedded files to extract from");
    return extractor()(kind, id, path, slot) ? 1 : 0;
}

void SetMediaFileExtractor(MediaFileExtractor replacement) { extractor() = std::move(replacement); }

}  // namespace lect32
