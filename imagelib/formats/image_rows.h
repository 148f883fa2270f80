// The row callbacks of the load and save front end: rows into an image's bits, rows out of them,
// and rows resampled on the fly into a smaller preview.
#ifndef PIXMILL_FORMATS_IMAGE_ROWS_H
#define PIXMILL_FORMATS_IMAGE_ROWS_H

#include <vector>

#include "core/registry/image_record.h"
#include "formats/codec.h"

namespace pixmill {

// Stores each row in the image (bottom-up bits); stops the codec once the load is broken off.
// Lends the image's rows when the codec's rows have the image's depth.
class ImageRowSink final : public RowSink {
public:
    ImageRowSink(ImageRecord& image, const RowLayout& layout) : image_(image), layout_(layout) {}
    int16_t putRow(const uint8_t* row, int indexFromTop) override;
    uint8_t* rowTarget(int indexFromTop, size_t bytes) override;

private:
    ImageRecord& image_;
    RowLayout layout_;
};

// Hands out the image's rows, top row first by index.
class ImageRowSource final : public RowSource {
public:
    explicit ImageRowSource(const ImageRecord& image) : image_(image) {}
    void getRow(uint8_t* row, int indexFromTop) override;

private:
    const ImageRecord& image_;
};

// Resamples source rows into a smaller target image as they arrive, in whatever order: each
// target row takes the nearest source row, each target column the nearest source column.
class PreviewRowSink final : public RowSink {
public:
    PreviewRowSink(ImageRecord& target, const RowLayout& source);
    int16_t putRow(const uint8_t* row, int indexFromTop) override;

private:
    ImageRecord& target_;
    RowLayout source_;
    std::vector<int> columns_;  // source column of each target column
};

}  // namespace pixmill

#endif
