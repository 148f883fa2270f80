#include "page/picture_loading.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "page/picture_store.h"
#include "pixmill/pixmill.h"
#include "pixmill/pixmill_frames.h"
#include "store/document_paths.h"
#include "vexmill/vexmill.h"
#include "winplat/refusal.h"
#include "winplat/stdio_bridge.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: pictures");

// The wait cursor for a scope: shown while it lives, the previous cursor back when it goes.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) { ShowCursor(TRUE); }
    ~WaitCursor() {
        ShowCursor(FALSE);
        SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

uint16_t loadFile(const char* path, int kind) {
    if (kind == kRasterPicture) {
        const PxlImageId id = PXLLoadImageFramesOffset(path, 0, nullptr, 0);
        return id > 0 ? static_cast<uint16_t>(id) : 0;
    }
    return VXLLoadImage(path, VectorLoadCallback);
}

bool opensForReading(const char* path) {
    FILE* file = winplat_fopen(path, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

uint16_t loadStored(uint16_t number, int kind) {
    char storePath[kDocumentPathBuffer];
    uint32_t length = 0;
    const uint32_t offset = OpenPictureStore(number, &length, storePath);
    if (!offset) return 0;
    if (!opensForReading(storePath)) return refuse(uint16_t{0}, "the picture store cannot be opened for reading");
    if (offset > 0x7FFFFFFFu || length > 0x7FFFFFFFu) return refuse(uint16_t{0}, "the picture lies beyond 2 GB");
    const auto at = static_cast<int32_t>(offset);
    if (kind == kRasterPicture) {
        const PxlImageId id = PXLLoadImageFramesOffset(storePath, at, nullptr, 0);
        return id > 0 ? static_cast<uint16_t>(id) : 0;
    }
    return VXLLoadImageOffset2(storePath, at, static_cast<int32_t>(length), VectorLoadCallback);
}

// A picture that does not load is asked for again at every preparation of its page: it is said
// the first time only.
void reportOnce(const char* path, int kind, uint16_t number) {
    static std::mutex guard;
    static std::set<std::string> said;
    const std::string key = std::to_string(kind == kRasterPicture) + ":" + std::to_string(number) + ":" + path;
    const std::lock_guard<std::mutex> lock(guard);
    if (!said.insert(key).second) return;
    const std::string why = "the picture \"" + std::string(path) + "\" (stored as " + std::to_string(number) +
                            ") cannot be loaded; its object stays empty";
    refuse.log(why);
}

}  // namespace

int VectorLoadCallback(int) { return 0; }

uint16_t LoadPicture(char* path, int kind, uint16_t number) {
    const WaitCursor wait;
    const std::string asked = path ? path : "";
    uint16_t id = 0;
    if (path && ResolveDocumentFile(path)) id = loadFile(path, kind);
    else if (number != 0) id = loadStored(number, kind);
    if (!id) reportOnce(asked.c_str(), kind, number);
    return id;
}

}  // namespace lect32
