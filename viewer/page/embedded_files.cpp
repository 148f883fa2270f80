#include "page/embedded_files.h"

#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "page/private_temp_folder.h"
#include "store/companion_files.h"
#include "store/document_file_tables.h"
#include "store/document_paths.h"
#include "store/document_tables.h"
#include "store/vazazi_file.h"
#include "winplat/files.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: embedded files");
constexpr uint16_t kNotStoredBit = 0x8000;

MediaFileExtractor& extractor() {
    static MediaFileExtractor installed;
    return installed;
}

std::array<std::string, kTempSlots>& slots() {
    static std::array<std::string, kTempSlots> paths;
    return paths;
}

// The container beside the document, else companion 'container' inside the document's file.
bool openContainer(const char* document, int container, VazaziFile& out) {
    char beside[kDocumentPathBuffer];
    if (!MakeCompanionPath(document, "lnx", beside)) return false;
    if (out.Open(beside, false)) return true;
    VazaziFile own;
    if (!own.Open(document, false)) return refuse(false, "the document cannot be read for its embedded files");
    CompanionTable table;
    table.Load(own);
    own.Close();
    const std::optional<CompanionPlace> place = table.Find(container);
    if (!place) return refuse(false, "the document has no embedded files beside it or inside it");
    if (!out.Open(document, false, place->base, place->size)) return refuse(false, "the container inside the document is no record file");
    return true;
}

// The file the copy goes to: the slot's own (made on first use), or a new one for slot 0.
bool targetFor(int slot, const char* storedName, std::string& path, bool& made) {
    made = false;
    if (slot > 0 && !slots()[static_cast<size_t>(slot - 1)].empty()) {
        path = slots()[static_cast<size_t>(slot - 1)];
        return true;
    }
    char created[kDocumentPathBuffer];
    if (!CreatePrivateTempFile(SafeExtension(storedName), created)) return false;
    path = created;
    made = true;
    if (slot > 0) slots()[static_cast<size_t>(slot - 1)] = path;
    return true;
}

FileNameTable* tableOf(int kind) {
    if (kind == kAssociatedFiles) return &GetDocumentFileTables().associated();
    if (kind == kPictureFiles || kind == kSoundFiles || kind == kVideoFiles) return mediaList(kind);
    return nullptr;
}

int extractFromStore(int kind, uint16_t id, char* path, int slot) {
    FileNameTable* table = tableOf(kind);
    if (!table) return refuse(0, "no table of embedded files of that kind");
    char name[FileNameTable::kPathBuffer];
    if (!table->GetPath(id, name)) return refuse(0, "the table has no such entry");
    const uint16_t number = table->GetTag(id);
    if (number == 0 || number == 0xFFFF) return refuse(0, "the entry's file is not stored in the document");
    if (std::strlen(name) >= kDocumentPathBuffer) return refuse(0, "the stored name is too long");
    const int container = kind == kPictureFiles ? kPictureStoreCompanion : kEmbeddedFilesCompanion;
    char extracted[kDocumentPathBuffer];
    std::memcpy(extracted, name, std::strlen(name) + 1);
    if (!ExtractEmbeddedFile(slot < 0 ? kind + 1 : slot, extracted, static_cast<uint16_t>(number - 1), container, nullptr)) return 0;
    std::memcpy(path, extracted, std::strlen(extracted) + 1);
    return 1;
}

}  // namespace

int ExtractEmbeddedFile(int slot, char* name, uint16_t record, int container, const char* documentPath) {
    if (!name) return refuse(0, "no buffer for the temporary path");
    if (record & kNotStoredBit) return 0;
    if (slot < 0 || slot > kTempSlots) return refuse(0, "no such temporary slot");
    const char* document = documentPath && *documentPath ? documentPath : GetDocumentPathForPaths();
    if (!*document) return refuse(0, "no document is open");
    VazaziFile store;
    if (!openContainer(document, container, store)) return 0;
    if (!store.HasRecord(static_cast<int16_t>(record))) return refuse(0, "the container has no such file");
    std::string path;
    bool made = false;
    if (!targetFor(slot, name, path, made)) return 0;
    if (!store.ExportRecordToFile(static_cast<int16_t>(record), path.c_str())) {
        // A slot keeps its file for the next extraction; a caller's file is not left behind.
        if (made && slot == 0) DeleteFileA(path.c_str());
        return refuse(0, "the file could not be copied out");
    }
    std::memcpy(name, path.c_str(), path.size() + 1);
    return 1;
}

int ExtractMediaFile(int kind, uint16_t id, char* path, int slot) {
    if (!path) return refuse(0, "no buffer for the temporary path");
    if (extractor()) return extractor()(kind, id, path, slot) ? 1 : 0;
    return extractFromStore(kind, id, path, slot);
}

const char* TempSlotPath(int slot) {
    if (slot < 1 || slot > kTempSlots) return "";
    return slots()[static_cast<size_t>(slot - 1)].c_str();
}

void DeleteTempFiles() {
    for (std::string& path : slots()) {
        if (!path.empty()) DeleteFileA(path.c_str());
        path.clear();
    }
    RemovePrivateTempFolder();
}

void SetMediaFileExtractor(MediaFileExtractor replacement) { extractor() = std::move(replacement); }

}  // namespace lect32
