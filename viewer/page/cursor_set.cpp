#include "page/cursor_set.h"

#include <array>
#include <cstring>

#include "page/embedded_files.h"
#include "store/disk_file.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: cursors");

// The path of the entry when it fits the path buffers of the document's files.
bool entryPath(int16_t fileId, std::array<char, kDocumentPathBuffer>& path) {
    std::array<char, FileNameTable::kPathBuffer> stored{};
    documentFileNames().GetPath(fileId, stored.data());
    const size_t length = strnlen(stored.data(), stored.size());
    if (length == 0 || length >= path.size()) return false;
    std::memcpy(path.data(), stored.data(), length + 1);
    return true;
}

}  // namespace

int CursorSet::Init(HINSTANCE instance, HWND window) {
    if (initialised_) return 1;
    initialised_ = true;
    instance_ = instance;
    window_ = window;
    fillBuiltIns();
    return 1;
}

int CursorSet::LoadDocumentCursors(int16_t normalId, int16_t linkId, int16_t zoomId) {
    DestroyAll();
    slots_[kNormalCursor].reset(LoadDocumentCursor(normalId));
    slots_[kSecondNormalCursor].reset(LoadDocumentCursor(normalId));
    slots_[kLinkCursor].reset(LoadDocumentCursor(linkId));
    slots_[kZoomCursor].reset(LoadDocumentCursor(zoomId));
    fillBuiltIns();
    return 1;
}

void CursorSet::DestroyAll() {
    for (winplat::OwnedCursor& slot : slots_) slot.reset();
}

void CursorSet::Set(size_t slot, HCURSOR cursor) {
    if (slot < kSlotCount) slots_[slot].reset(cursor);
}

HCURSOR CursorSet::builtIn(size_t slot) const {
    switch (slot) {
        case kLinkCursor: return LoadCursorA(instance_, "hand");
        case kZoomCursor: return LoadCursorA(instance_, "MAGNIFY_1");
        default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

void CursorSet::fillBuiltIns() {
    for (size_t slot = 0; slot < kFirstFurtherCursor; ++slot) {
        if (!slots_[slot]) slots_[slot].reset(builtIn(slot));
    }
}

CursorSet& Cursors() {
    static CursorSet set;
    return set;
}

HCURSOR LoadDocumentCursor(int16_t fileId) {
    if (fileId == CursorSet::kNoCursorFile) return nullptr;
    std::array<char, kDocumentPathBuffer> path{};
    if (!entryPath(fileId, path)) return refuse(nullptr, "the file-name table has no such entry");
    if (ResolveDocumentFile(path.data())) return LoadCursorFromFileA(path.data());
    if (!ExtractMediaFile(kPictureFiles, static_cast<uint16_t>(fileId), path.data(), 0)) {
        return refuse(nullptr, "the cursor file is neither beside the document nor carried by it");
    }
    const HCURSOR cursor = LoadCursorFromFileA(path.data());
    // The temporary copy is ours and no longer needed: the cursor is held in memory.
    DeleteDiskFile(path.data());
    return cursor;
}

}  // namespace lect32
