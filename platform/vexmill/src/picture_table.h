// The loaded pictures by id: 16-bit ids from 1, each new picture taking the smallest free one.
// Safe from several threads; a picture being drawn stays alive until the draw ends, even when its
// id is deleted meanwhile.
#ifndef VEXMILL_PICTURE_TABLE_H
#define VEXMILL_PICTURE_TABLE_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "picture.h"

namespace vexmill {

class PictureTable {
  public:
    static PictureTable& instance();

    // The picture's new id; 0 when every id is taken.
    uint16_t add(std::shared_ptr<const Picture> picture);
    // Null for an unknown id (0 included).
    std::shared_ptr<const Picture> find(uint16_t id) const;
    bool remove(uint16_t id);

  private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<const Picture>> slots_;  // slot i holds id i + 1
};

}  // namespace vexmill

#endif
