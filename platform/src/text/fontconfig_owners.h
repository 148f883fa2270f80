// Owners of fontconfig's objects: each is destroyed when its owner goes.
#ifndef WINPLAT_SRC_TEXT_FONTCONFIG_OWNERS_H
#define WINPLAT_SRC_TEXT_FONTCONFIG_OWNERS_H

#include <fontconfig/fontconfig.h>

#include <memory>

namespace winplat::text {

struct FcConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FcObjectSetDeleter {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct FcFontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

using FcConfigOwner = std::unique_ptr<FcConfig, FcConfigDeleter>;
using FcPatternOwner = std::unique_ptr<FcPattern, FcPatternDeleter>;
using FcObjectSetOwner = std::unique_ptr<FcObjectSet, FcObjectSetDeleter>;
using FcFontSetOwner = std::unique_ptr<FcFontSet, FcFontSetDeleter>;

}  // namespace winplat::text

#endif
