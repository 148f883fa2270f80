#include "navigate/linked_document_set.h"

#include <algorithm>
#include <cstring>

#include "winplat/base.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: linked documents");

// The add of a list item failed (limit, memory or lock).
constexpr uint16_t kFirstAddFailure = 0xFFFD;

}  // namespace

LinkedDocumentSet::LinkedDocumentSet(VazaziFile& openDocument, ActiveDocumentState* state)
    : openDocument_(openDocument), state_(state) {}

void LinkedDocumentSet::Clear() {
    members_.clear();
    linkMaps_.Clear();
    active_ = 0;
    openMember_ = kNoMember;
}

uint8_t LinkedDocumentSet::AddMember(const std::string& path, bool found) {
    const auto same = std::find_if(members_.begin(), members_.end(),
                                   [&](const Member& m) { return lstrcmpiA(m.path.c_str(), path.c_str()) == 0; });
    if (same != members_.end()) {
        same->found = found;
        return static_cast<uint8_t>(same - members_.begin());
    }
    if (members_.size() >= kMaxMembers) return refuse(kNoMember, "no member index left");
    if (linkMaps_.AppendItem(0) >= kFirstAddFailure) return refuse(kNoMember, "no room for the member's link map");
    members_.push_back({path, found});
    return static_cast<uint8_t>(members_.size() - 1);
}

int LinkedDocumentSet::SetLinkMap(uint8_t m, const std::vector<uint8_t>& targets) {
    if (m >= members_.size()) return refuse(0, "no such member");
    if (targets.size() > 0xFFFF) return refuse(0, "link map too long");
    if (!linkMaps_.ResizeItem(m, static_cast<uint16_t>(targets.size()))) return refuse(0, "no room for the link map");
    if (targets.empty()) return 1;
    uint8_t* map = linkMaps_.LockItem(m);
    if (!map) return refuse(0, "link map cannot be locked");
    std::memcpy(map, targets.data(), targets.size());
    linkMaps_.Unlock();
    return 1;
}

uint16_t LinkedDocumentSet::GetMemberPath(uint8_t n, char* buffer) const {
    buffer[0] = '\0';
    if (n >= members_.size()) return 0;
    const std::string& path = members_[n].path;
    const size_t length = std::min<size_t>(path.size(), MAX_PATH - 1);
    std::memcpy(buffer, path.data(), length);
    buffer[length] = '\0';
    return static_cast<uint16_t>(length);
}

bool LinkedDocumentSet::IsMemberPresent(int16_t n) const {
    return n >= 0 && static_cast<size_t>(n) < members_.size() && members_[static_cast<size_t>(n)].found;
}

uint8_t LinkedDocumentSet::ResolveLink(uint8_t m, uint8_t k) {
    if (k == 0 || m >= linkMaps_.GetCount()) return m;
    if (k > linkMaps_.GetItemSize(m)) return m;
    const uint8_t* map = linkMaps_.LockItem(m);
    if (!map) return refuse(m, "link map cannot be locked");
    const uint8_t target = map[k - 1];
    linkMaps_.Unlock();
    return target;
}

int LinkedDocumentSet::Activate(uint8_t n) {
    if (n == active_) return 1;
    char previous[MAX_PATH];
    openDocument_.GetPath(previous);
    char path[MAX_PATH];
    GetMemberPath(n, path);
    if (openDocument_.Open(path, openWritable_) != 1) {
        openDocument_.Open(previous, openWritable_);
        return refuse(0, "member cannot be opened; the previous document is open again");
    }
    if (state_) state_->Reload(openDocument_);
    active_ = n;
    return 1;
}

VazaziFile* LinkedDocumentSet::OpenMember(uint8_t n) {
    CloseMember();
    if (n == active_) return &openDocument_;
    if (n >= members_.size()) return refuse(nullptr, "no such member");
    if (memberFile_.Open(members_[n].path.c_str(), openWritable_) != 1) return refuse(nullptr, "member cannot be opened");
    openMember_ = n;
    return &memberFile_;
}

void LinkedDocumentSet::CloseMember() {
    if (openMember_ == kNoMember) return;
    memberFile_.Close();
    openMember_ = kNoMember;
}

}  // namespace lect32
