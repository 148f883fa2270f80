#include "navigate/member_documents.h"

#include "navigate/linked_document_set.h"
#include "shell/current_document.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: member documents");

}  // namespace

uint16_t GetMainDocumentPath(const LinkedDocumentSet& set, char* buffer) { return set.GetMemberPath(0, buffer); }

int DocumentHasNumberedRecord(LinkedDocumentSet& set, int16_t record, uint8_t document) {
    const uint8_t shown = GetCurrentDocumentIndex();
    if (document == LinkedDocumentSet::kNoMember) document = shown;
    if (document != shown && !set.IsMemberPresent(document)) return refuse(0, "no such document in the set");
    // Answering for whichever document stayed open would be answering the wrong question.
    if (!set.Activate(document)) return refuse(0, "the document cannot be made active");
    return set.openDocument().HasRecord(record) ? 1 : 0;
}

}  // namespace lect32
