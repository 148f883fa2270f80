// Drawing references are drawn on every repaint; their files rarely change. The cache keeps each
// referenced file parsed, keyed by its name, and reads it again only when its last-write time or
// size differs from what was parsed.
#ifndef LINEWORK_FILES_REFERENCE_CACHE_H
#define LINEWORK_FILES_REFERENCE_CACHE_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace linework {

// What tells one version of a file from another without reading it.
struct FileStamp {
    uint64_t lastWrite = 0;
    uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

// A referenced drawing as read: its blocks and entities in file order (the drawing list runs
// oldest first here), header block 3 and the status its reading left.
struct ParsedReference {
    Drawing drawing;
    std::vector<uint8_t> header3;
    int32_t status = 0;
};

class ReferenceCache {
public:
    // The parse of the file at that stamp, or none.
    std::shared_ptr<const ParsedReference> Find(const std::string& name, const FileStamp& stamp) const;
    void Keep(const std::string& name, const FileStamp& stamp, std::shared_ptr<const ParsedReference> parsed);
    size_t Size() const { return entries_.size(); }
    // Parses made since the cache began (each miss makes one); for tests.
    uint64_t Parses() const { return parses_; }

private:
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const ParsedReference> parsed;
    };
    std::map<std::string, Entry> entries_;
    uint64_t parses_ = 0;
};

}  // namespace linework

#endif
