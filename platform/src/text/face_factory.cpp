// Choosing between the synthetic test face and real fonts for each logical font.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/call_refusal.h"
#include "text/face_source.h"
#include "winplat/testing.h"

namespace winplat::text {
namespace {

// Set by a test's ScopedFontSource; otherwise WINPLAT_FONTS decides.
enum class Override : int { None, Test, System };
std::atomic<Override> fontOverride{Override::None};

bool useTestFace() {
    switch (fontOverride.load()) {
    case Override::Test:
        return true;
    case Override::System:
        return false;
    case Override::None:
        break;
    }
    const char* setting = std::getenv("WINPLAT_FONTS");
    return setting && std::strcmp(setting, "test") == 0;
}

}  // namespace

std::shared_ptr<const Face> makeFace(const LOGFONTA& font) {
    if (useTestFace()) return makeTestFace(font);
    constexpr Refuser refuse("winplat: fonts");
    const std::optional<FaceSource> source = findFace(font);
    if (!source) {
        refuse.log(std::string("no font file for \"") + font.lfFaceName + "\": drawn with the test face");
        return makeTestFace(font);
    }
    if (auto face = openFreeTypeFace(*source, font)) return face;
    refuse.log("FreeType cannot read " + source->file + ": drawn with the test face");
    return makeTestFace(font);
}

}  // namespace winplat::text

namespace winplat::testing {

ScopedFontSource::ScopedFontSource(FontSource source)
    : previous_(static_cast<int>(text::fontOverride.exchange(source == FontSource::Test
                                                                 ? text::Override::Test
                                                                 : text::Override::System))) {}

ScopedFontSource::~ScopedFontSource() {
    text::fontOverride.store(static_cast<text::Override>(previous_));
}

}  // namespace winplat::testing
