#include "navigate/linked_document_set.h"

#include <utility>

#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: linked documents");

}  // namespace

LinkedDocumentSet::LinkedDocumentSet(VazaziFile& openDocument, std::vector<std::string> memberPaths, uint8_t active)
    : openDocument_(openDocument), memberPaths_(std::move(memberPaths)), active_(active) {}

VazaziFile* LinkedDocumentSet::OpenMember(uint8_t n) {
    CloseMember();
    if (n == active_) return &openDocument_;
    if (n >= memberPaths_.size()) return refuse(nullptr, "no such member");
    if (memberFile_.Open(memberPaths_[n].c_str(), false) != 1) return refuse(nullptr, "member cannot be opened");
    openMember_ = n;
    return &memberFile_;
}

void LinkedDocumentSet::CloseMember() {
    if (openMember_ == kNoMember) return;
    memberFile_.Close();
    openMember_ = kNoMember;
}

}  // namespace lect32
