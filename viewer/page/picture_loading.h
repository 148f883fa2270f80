// Pictures of page objects, backgrounds and enlargements, named by a file path or by a number in
// the document's picture store, loaded into an image id: of the image library for raster
// pictures, of the vector-picture library for vector pictures.
#ifndef LECT32_PAGE_PICTURE_LOADING_H
#define LECT32_PAGE_PICTURE_LOADING_H

#include <cstdint>

namespace lect32 {

inline constexpr int kRasterPicture = 1;

// Loads a picture under the wait cursor. 'path' (kDocumentPathBuffer bytes) is tried first, as
// the document names its files (it is rewritten to the file found); when it names no file and
// 'number' is not 0, picture 'number' of the picture store. kind 1: a raster picture, every frame
// of an animation as a frame chain; any other kind: a vector picture. Returns the image id, 0
// when nothing loads; a failure is said once in the debug output, however often it is asked.
uint16_t LoadPicture(char* path, int kind, uint16_t number);

// The progress callback vector pictures load with: never breaks a load off.
int VectorLoadCallback(int percent);

}  // namespace lect32

#endif
