// The set of linked documents: the document that was opened (member 0) and the documents reachable
// from it through the link lists of record type 2. Exactly one member is the active document: its
// record file is the program's open document, and the per-document tables belong to it. Other
// members are opened one at a time in the set's own record file when something must be read from
// them without switching.
//
// Each member has a path and a found flag (its file was there when the set was built), and a link
// map in the link-map table (item m of a BlobList): byte k-1 is the member that link number k of
// member m names. Members are bytes: 255 means none, or the active member where a caller passes it.
#ifndef LECT32_NAVIGATE_LINKED_DOCUMENT_SET_H
#define LECT32_NAVIGATE_LINKED_DOCUMENT_SET_H

#include <cstdint>
#include <string>
#include <vector>

#include "store/blob_list.h"
#include "store/vazazi_file.h"

namespace lect32 {

// The per-document state that follows the active document (properties, styles, fonts, file-name
// tables, ...), reloaded from the newly active record file.
class ActiveDocumentState {
public:
    virtual ~ActiveDocumentState() = default;
    virtual void Reload(VazaziFile& document) = 0;
};

class LinkedDocumentSet {
public:
    static constexpr uint8_t kNoMember = 255;
    // Member indexes are bytes and 255 is taken.
    static constexpr uint16_t kMaxMembers = 255;

    // The open document is the active member's record file; 'state' is reloaded whenever another
    // member becomes active (none: nothing to reload).
    explicit LinkedDocumentSet(VazaziFile& openDocument, ActiveDocumentState* state = nullptr);
    LinkedDocumentSet(const LinkedDocumentSet&) = delete;
    LinkedDocumentSet& operator=(const LinkedDocumentSet&) = delete;

    // No members and no link maps; active member 0, no open member. The open document is left
    // as it is (the caller has opened member 0 there).
    void Clear();

    // Adds a member by path, or finds the one with that path (compared without regard to case),
    // and sets its found flag. A new member gets an empty link map. Its index, or kNoMember when
    // the set is full or memory runs out.
    uint8_t AddMember(const std::string& path, bool found);
    // Member m's link map becomes 'targets' (byte k-1 = the member of link number k). 1, or 0 for
    // an unknown member or without memory.
    int SetLinkMap(uint8_t m, const std::vector<uint8_t>& targets);

    uint16_t GetMemberCount() const { return static_cast<uint16_t>(members_.size()); }
    uint8_t GetActiveMember() const { return active_; }
    VazaziFile& openDocument() const { return openDocument_; }

    // Member n's path into buffer (MAX_PATH bytes) and its length; empty and 0 out of range.
    uint16_t GetMemberPath(uint8_t n, char* buffer) const;
    // n is a member whose file was found.
    bool IsMemberPresent(int16_t n) const;
    // The member that link number k of member m names: m itself for link 0, an unknown member or
    // a number past m's link map.
    uint8_t ResolveLink(uint8_t m, uint8_t k);

    // Makes member n the active document: the open document is reopened on its path and the
    // per-document state reloaded. 1 when done or already active; 0 when the member's file does
    // not open, with the previous document reopened and everything as it was.
    int Activate(uint8_t n);

    // The record file of member n: the open document when n is active, otherwise the set's own
    // file opened on the member's path (until CloseMember). None when it cannot be opened.
    VazaziFile* OpenMember(uint8_t n);
    void CloseMember();
    uint8_t openMember() const { return openMember_; }

private:
    struct Member {
        std::string path;
        bool found = false;
    };

    VazaziFile& openDocument_;
    ActiveDocumentState* state_;
    std::vector<Member> members_;
    BlobList linkMaps_;
    uint8_t active_ = 0;
    VazaziFile memberFile_;
    uint8_t openMember_ = kNoMember;
    bool openWritable_ = false;  // members are opened read-only
};

}  // namespace lect32

#endif
