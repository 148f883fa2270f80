#include "text/ft_library.h"

#include <string>

#include "winplat/refusal.h"

namespace winplat::text {
namespace {

constexpr Refuser refuse("winplat: FreeType");

std::shared_ptr<FtLibrary> startLibrary() {
    FT_Library library = nullptr;
    if (const FT_Error error = FT_Init_FreeType(&library); error != 0) {
        refuse.log("FreeType does not start (error " + std::to_string(error) + ")");
        return nullptr;
    }
    return std::make_shared<FtLibrary>(std::unique_ptr<FT_LibraryRec_, LibraryCloser>(library));
}

}  // namespace

void LibraryCloser::operator()(FT_Library library) const {
    FT_Done_FreeType(library);
}

FtLibrary::FtLibrary(std::unique_ptr<FT_LibraryRec_, LibraryCloser> library) : library_(std::move(library)) {}

std::shared_ptr<FtLibrary> FtLibrary::instance() {
    static const std::shared_ptr<FtLibrary> library = startLibrary();
    return library;
}

void FaceCloser::operator()(FT_Face face) const {
    std::lock_guard lock(library->mutex());
    FT_Done_Face(face);
}

FaceOwner openFtFace(const std::string& file, long index) {
    std::shared_ptr<FtLibrary> library = FtLibrary::instance();
    if (!library) return FaceOwner(nullptr, FaceCloser{});
    FT_Face face = nullptr;
    FT_Error error = 0;
    {
        std::lock_guard lock(library->mutex());
        error = FT_New_Face(library->get(), file.c_str(), index, &face);
    }
    if (error != 0) {
        refuse.log("cannot read " + file + " (error " + std::to_string(error) + ")");
        return FaceOwner(nullptr, FaceCloser{});
    }
    return FaceOwner(face, FaceCloser{std::move(library)});
}

}  // namespace winplat::text
