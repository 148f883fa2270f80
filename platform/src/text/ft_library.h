// The process's FreeType library and the owners of what it opens.
//
// One library serves every thread. FreeType lets threads share it as long as faces are created
// and destroyed one at a time, so opening and closing a face take the library's mutex; everything
// done with one face is its owner's to serialise.
#ifndef WINPLAT_SRC_TEXT_FT_LIBRARY_H
#define WINPLAT_SRC_TEXT_FT_LIBRARY_H

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <mutex>
#include <string>

namespace winplat::text {

struct LibraryCloser {
    void operator()(FT_Library library) const;
};

class FtLibrary {
  public:
    explicit FtLibrary(std::unique_ptr<FT_LibraryRec_, LibraryCloser> library);

    // Made on first use; null when FreeType cannot start. Every face holds the library it was
    // opened with, so the library outlives the process's last face whatever the order of exit.
    static std::shared_ptr<FtLibrary> instance();

    FT_Library get() const { return library_.get(); }
    std::mutex& mutex() { return mutex_; }

  private:
    std::unique_ptr<FT_LibraryRec_, LibraryCloser> library_;
    std::mutex mutex_;
};

// Closes a face under its library's mutex.
struct FaceCloser {
    std::shared_ptr<FtLibrary> library;
    void operator()(FT_Face face) const;
};
using FaceOwner = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// The face 'index' of a font file (UTF-8 path); null, with the reason logged, when FreeType
// cannot read it.
FaceOwner openFtFace(const std::string& file, long index);

}  // namespace winplat::text

#endif
