// Saving a container as one typed record of a document.
#ifndef LECT32_STORE_TYPED_RECORD_H
#define LECT32_STORE_TYPED_RECORD_H

#include "store/mem_writer.h"
#include "store/vazazi_file.h"

namespace lect32 {

// Writes what 'fill' puts into a fresh writer as the document's record of that type; 1 when the
// whole record was written, 0 otherwise (no document, a fill or write that failed).
template <class Fill>
int writeTypedRecord(VazaziFile* document, int type, Fill fill) {
    if (!document) return 0;
    MemWriter record;
    record.Begin();
    const int filled = fill(record);
    if (record.End() != 0 || !filled) return 0;
    return document->WriteRecordByType(type, 0, record) == 1 ? 1 : 0;
}

}  // namespace lect32

#endif
