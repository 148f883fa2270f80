// The font catalogue: not yet written; no file is known, so every font gets the test face.
#include "text/face_source.h"

namespace winplat::text {

std::optional<FaceSource> findFace(const LOGFONTA&) {
    return std::nullopt;
}

}  // namespace winplat::text
