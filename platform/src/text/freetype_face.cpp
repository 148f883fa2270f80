// FreeType faces: not yet written.
#include "text/face_source.h"

namespace winplat::text {

std::shared_ptr<const Face> openFreeTypeFace(const FaceSource&, const LOGFONTA&) {
    return nullptr;
}

}  // namespace winplat::text
