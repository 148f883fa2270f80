#include "navigate/member_strings.h"

#include <cstring>

#include "navigate/linked_document_set.h"
#include "store/doc_string_table.h"
#include "store/text_slots.h"

namespace lect32 {

namespace {

// The resource text that stands in for the name of page -1 (no page).
constexpr int kNoPageText = 15;

}  // namespace

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

int LoadDocumentString(LinkedDocumentSet& set, char* buffer, int16_t n, uint8_t document) {
    if (n == -1) {
        // A text slot holds at most 149 bytes, well inside the caller's buffer.
        std::strcpy(buffer, LoadResourceText(kNoPageText));
        return static_cast<int>(std::strlen(buffer));
    }
    set.Activate(document);
    DocStringTable table(set.openDocument());
    return table.ReadString(n, buffer);
}

}  // namespace lect32
