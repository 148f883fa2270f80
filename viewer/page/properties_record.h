// The open document's properties record as one piece: the properties, the document's id list
// stored at the record's end, and the record file they are read from and written back to. The id
// list's editing operations store the whole record again through it.
#ifndef LECT32_PAGE_PROPERTIES_RECORD_H
#define LECT32_PAGE_PROPERTIES_RECORD_H

#include "page/document_properties.h"
#include "store/id_list.h"

namespace lect32 {

class VazaziFile;

class PropertiesRecord : public PropertiesIdList, public IdListOwner {
public:
    // Binds the list to this record (its owner) for as long as the record lives.
    PropertiesRecord(DocumentProperties& properties, IdList& ids, VazaziFile& document);
    ~PropertiesRecord() override;
    PropertiesRecord(const PropertiesRecord&) = delete;
    PropertiesRecord& operator=(const PropertiesRecord&) = delete;

    // Record 3 of the document into the properties and the list.
    void Read();

    // The list as the properties record reads and writes it.
    void Load(MemReader& reader) override;
    void Save(MemWriter& writer) const override;
    void Clear() override;

    VazaziFile& Document() override { return document_; }
    int RewriteRecord() override;

private:
    DocumentProperties& properties_;
    IdList& ids_;
    VazaziFile& document_;
};

}  // namespace lect32

#endif
