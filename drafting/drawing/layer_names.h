// Layer names kept beside a drawing in "<drawing>.LKL": record n (at byte n x 128) names layer n
// with the first 127 of its 128 bytes; the 128th byte must be 0, else the name is empty.
// Characters of code 32 or less are dropped from both ends.
#ifndef LINEWORK_DRAWING_LAYER_NAMES_H
#define LINEWORK_DRAWING_LAYER_NAMES_H

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace linework {

inline constexpr size_t kLayerNameRecordSize = 128;

// The side file's name: the drawing's with the extension ".LKL".
std::string LayerNamesFileName(std::string_view drawingFile);

// The name one record holds (cp1250).
std::string LayerNameFromRecord(std::span<const uint8_t, kLayerNameRecordSize> record);

// The name of the layer from the drawing's side file; empty when the file or the record cannot
// be read.
std::string ReadLayerName(std::string_view drawingFile, uint8_t layer);

// Writes all 256 names (each cut to 127 characters) to a temporary file beside the side file
// and renames it over the side file, so a failed write leaves the old names whole. False when
// the temporary file cannot be written or renamed.
bool SaveLayerNames(std::string_view drawingFile, const std::array<std::string, 256>& names);

}  // namespace linework

#endif
