// A saved list of string (page) numbers with a current entry, kept in the document properties
// record: u16 count, u16 current id (-1 = none), count x u16 ids.
#ifndef LECT32_STORE_ID_LIST_H
#define LECT32_STORE_ID_LIST_H

#include <cstdint>

#include "store/record_array.h"

namespace lect32 {

class MemReader;
class MemWriter;
class VazaziFile;

// What the list's editing operations need of the document that keeps it: the record file whose
// strings name the ids, and a way to store the list again (it is saved inside another record).
class IdListOwner {
public:
    virtual ~IdListOwner() = default;
    virtual VazaziFile& Document() = 0;
    // Stores the record that holds the list; nonzero on success.
    virtual int RewriteRecord() = 0;
};

class IdList {
public:
    static constexpr int16_t kNone = -1;
    // A map of string numbers: one byte for each of 0 .. 32767.
    static constexpr uint32_t kMapSize = 32768;

    void Clear();
    uint16_t GetCount() const { return ids_.GetCount(); }
    int16_t GetAt(uint16_t i);
    int16_t GetCurrent() const { return current_; }
    // 0 when absent, 2 when the id is the first of the list, 1 when it is elsewhere.
    int Contains(int16_t id);
    // Sets map[id] = 1 for every id that is a string number (0 .. 32767); map has kMapSize bytes.
    void MarkInMap(uint8_t* map);
    // 1, or 0 with the list empty when the stored list is short or too long for the array.
    int Load(MemReader& reader);
    int Save(MemWriter& writer);

    // Editing; each change is stored at once through the owner (none: the changes fail).
    void SetOwner(IdListOwner* owner) { owner_ = owner; }
    // The index of an id already in the list; otherwise appends it and returns the store's
    // result. -1 for an id that is not a string number (0 .. 32767) or when the list is full.
    int Add(int16_t id);
    // -1 when the id is absent; otherwise removes it and returns the store's result.
    int Remove(int16_t id);
    // Sets the current id, in the list or not, and returns the store's result.
    int SetCurrent(int16_t id);
    // The first id whose string in the owner's document equals text exactly, else -1.
    int16_t FindByName(const char* text);

private:
    int rewrite();

    WordArray ids_;
    int16_t current_ = kNone;
    IdListOwner* owner_ = nullptr;
};

}  // namespace lect32

#endif
