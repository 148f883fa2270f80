// The flat exports: a load reads the bytes, parses them once and files the picture under a new
// id; a draw replays it.
#include "vexmill/vexmill.h"

#include <memory>

#include "file_window.h"
#include "metafile_parser.h"
#include "picture_table.h"
#include "player.h"

using namespace vexmill;

namespace {

uint16_t load(const char* path, int32_t offset, int32_t length, VXLLOADCALLBACK callback) {
    const auto bytes = readFileWindow(path, offset, length);
    if (!bytes) return 0;
    LoadProgress progress;
    if (callback) progress = [callback](int percent) { return callback(percent) == 0; };
    std::shared_ptr<const Picture> picture = parseMetafile(*bytes, progress);
    if (!picture) return 0;
    return PictureTable::instance().add(std::move(picture));
}

}  // namespace

extern "C" {

uint16_t VXLLoadImage(const char* path, VXLLOADCALLBACK callback) {
    return load(path, 0, 0, callback);
}

uint16_t VXLLoadImageOffset2(const char* path, int32_t offset, int32_t length, VXLLOADCALLBACK callback) {
    return load(path, offset, length, callback);
}

int16_t VXLWidth(uint16_t id) {
    const auto picture = PictureTable::instance().find(id);
    return picture ? picture->width : 0;
}

int16_t VXLHeight(uint16_t id) {
    const auto picture = PictureTable::instance().find(id);
    return picture ? picture->height : 0;
}

BOOL VXLStretchDraw(uint16_t id, HDC dc, int x, int y, int width, int height) {
    const auto picture = PictureTable::instance().find(id);
    if (!picture) return FALSE;
    return playPicture(*picture, dc, x, y, width, height) ? TRUE : FALSE;
}

BOOL VXLDeleteImage(uint16_t id) {
    return PictureTable::instance().remove(id) ? TRUE : FALSE;
}

}
