// Reading a metafile (placeable or plain) into a Picture, once, at load.
//
// Every record is bounded by its declared size and the file; counts and points are checked
// against the record before anything is allocated for them. A record that breaks those bounds
// ends the picture there: it keeps what came before. A record the player does not draw is
// skipped, said once per kind in the debug output. Values the platform would refuse (a raster
// operation or style outside its range) are said and skipped too, so a draw never asks for them.
#ifndef VEXMILL_METAFILE_PARSER_H
#define VEXMILL_METAFILE_PARSER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "picture.h"

namespace vexmill {

// Told how far the reading has come (0-100); returns false to abandon the load.
using LoadProgress = std::function<bool(int percent)>;

// Null when the bytes hold no metafile header or the load was abandoned (the reason goes to the
// debug output).
std::unique_ptr<Picture> parseMetafile(std::span<const uint8_t> file, const LoadProgress& progress = {});

}  // namespace vexmill

#endif
