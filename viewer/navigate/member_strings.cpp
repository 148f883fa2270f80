#include "navigate/member_strings.h"

#include "navigate/linked_document_set.h"
#include "store/doc_string_table.h"

namespace lect32 {

int ReadMemberString(DocStringTable& table, LinkedDocumentSet& set, int16_t n, char* buffer, uint8_t document) {
    buffer[0] = '\0';
    if (document == LinkedDocumentSet::kNoMember) return table.ReadString(n, buffer);
    VazaziFile* member = set.OpenMember(document);
    if (!member) return 0;
    VazaziFile& bound = table.container();
    table.SetContainer(*member);
    const int length = table.ReadString(n, buffer);
    table.SetContainer(bound);
    set.CloseMember();
    return length;
}

}  // namespace lect32
