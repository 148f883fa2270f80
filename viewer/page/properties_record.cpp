#include "page/properties_record.h"

#include "store/vazazi_file.h"

namespace lect32 {

PropertiesRecord::PropertiesRecord(DocumentProperties& properties, IdList& ids, VazaziFile& document)
    : properties_(properties), ids_(ids), document_(document) {
    ids_.SetOwner(this);
}

PropertiesRecord::~PropertiesRecord() { ids_.SetOwner(nullptr); }

void PropertiesRecord::Read() { properties_.Read(document_, document_.formatVersion(), *this); }

// A list the record holds but the list refuses (short, or longer than it can hold) stays empty.
void PropertiesRecord::Load(MemReader& reader) { ids_.Load(reader); }

// IdList::Save does not change the list; it is not const because reading the ids locks the array.
void PropertiesRecord::Save(MemWriter& writer) const { ids_.Save(writer); }

void PropertiesRecord::Clear() { ids_.Clear(); }

int PropertiesRecord::RewriteRecord() { return properties_.Write(document_, *this); }

}  // namespace lect32
