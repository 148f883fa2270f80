#include "page/picture_store.h"

#include <cstring>

#include "store/companion_files.h"
#include "store/document_paths.h"
#include "store/vazazi_file.h"
#include "winplat/refusal.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: picture store");

// The body of picture 'number' in an open store, and the store's path when it is there.
uint32_t locate(VazaziFile& store, uint16_t number, uint32_t* length, const char* path, char* storePath) {
    uint32_t size = 0;
    const uint32_t offset = store.LocateRecordBody(static_cast<int16_t>(number - 1), &size, 2);
    store.Close();
    if (!offset) return refuse(0u, "the picture store has no such picture");
    if (std::strlen(path) >= kDocumentPathBuffer) return refuse(0u, "the store's path is too long to hand on");
    *length = size;
    std::strcpy(storePath, path);
    return offset;
}

}  // namespace

uint32_t OpenPictureStore(uint16_t number, uint32_t* length, char* storePath) {
    uint32_t unused = 0;
    if (!length) length = &unused;
    *length = 0;
    // Record indexes are 16-bit and signed: pictures 1 to 32768 can be stored.
    if (number == 0 || number > 0x8000 || !storePath) return 0;
    const char* document = GetDocumentPathForPaths();
    char beside[kDocumentPathBuffer];
    if (!MakeCompanionPath(document, "lpx", beside)) return 0;
    VazaziFile store;
    if (store.Open(beside, false)) return locate(store, number, length, beside, storePath);
    uint32_t base = 0, size = 0;
    if (!FindCompanionInDocument(kPictureStoreCompanion, &base, &size)) return 0;
    if (!store.Open(document, false, base, size)) return refuse(0u, "the store inside the document is no record file");
    return locate(store, number, length, document, storePath);
}

}  // namespace lect32
