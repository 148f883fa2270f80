// The set of linked documents: the open document is one member, the others are opened one at a
// time in the set's own record file when something must be read from them.
//
// Only what reading a member's page names needs is here so far (the member paths, the active
// member, opening and closing a member for one read); activation, link maps and the member name
// table come with navigation.
#ifndef LECT32_NAVIGATE_LINKED_DOCUMENT_SET_H
#define LECT32_NAVIGATE_LINKED_DOCUMENT_SET_H

#include <cstdint>
#include <string>
#include <vector>

#include "store/vazazi_file.h"

namespace lect32 {

class LinkedDocumentSet {
public:
    static constexpr uint8_t kNoMember = 255;

    // The open document is member 'active' of the members whose paths are given.
    LinkedDocumentSet(VazaziFile& openDocument, std::vector<std::string> memberPaths, uint8_t active);
    LinkedDocumentSet(const LinkedDocumentSet&) = delete;
    LinkedDocumentSet& operator=(const LinkedDocumentSet&) = delete;

    // The record file of member n: the open document when n is active, otherwise the set's own
    // file opened on the member's path (until CloseMember). None when it cannot be opened.
    VazaziFile* OpenMember(uint8_t n);
    void CloseMember();
    uint8_t openMember() const { return openMember_; }

private:
    VazaziFile& openDocument_;
    std::vector<std::string> memberPaths_;
    uint8_t active_;
    VazaziFile memberFile_;
    uint8_t openMember_ = kNoMember;
};

}  // namespace lect32

#endif
