// Reading a FreeType face's design metrics from its tables.
#ifndef WINPLAT_SRC_TEXT_DESIGN_METRICS_H
#define WINPLAT_SRC_TEXT_DESIGN_METRICS_H

#include <optional>
#include <string>

#include "text/face_metrics.h"
#include "text/font_file.h"
#include "text/ft_library.h"

namespace winplat::text {

// The face's metrics; nullopt when it has no scalable outlines or no usable em or cell. Reads
// advances, so the caller must hold the face alone.
std::optional<DesignMetrics> readDesignMetrics(FT_Face face);

// The design metrics of a face of a font file, read once per file and kept; nullopt, with the
// reason logged, when FreeType cannot read the file or the face has no usable metrics.
std::optional<DesignMetrics> designMetricsOf(const FontFile& file);

// Forgets every file's metrics kept so far; they are read again when asked for (see
// winplat::testing::dropUnusedFaces).
void forgetDesignMetrics();

// The classic average of a face's lowercase letters and space, each weighted by how often it
// occurs in English text (the OS/2 rule of its versions 0 to 2), from the advances in design
// units; nullopt when the face lacks one of them.
std::optional<int> weightedAverageWidth(FT_Face face);

}  // namespace winplat::text

#endif
