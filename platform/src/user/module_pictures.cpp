#include "user/module_pictures.h"

#include <map>
#include <mutex>
#include <utility>

#include "winplat/byte_reader.h"
#include "winplat/handles.h"
#include "winplat/module.h"
#include "winplat/resources.h"

namespace winplat::user {
namespace {

// A picture made from a module's resource, and the module it was made for.
struct SharedPicture {
    HINSTANCE module;
    const ModuleResources* resources;  // what the module's handle stood for then
    HCURSOR handle;
};

struct SharedPictures {
    std::mutex mutex;
    // By where the resource's bytes lie and what they were read as: one entry per resource of
    // every module, whatever name (number, "#number" or text) found it.
    std::map<std::pair<const void*, PictureKind>, SharedPicture> made;
};

SharedPictures& sharedPictures() {
    static SharedPictures pictures;
    return pictures;
}

bool moduleStillThere(const SharedPicture& picture) {
    return moduleResources(picture.module) == picture.resources;
}

// The pictures of modules that have gone are destroyed: their handles go with the module, and a
// module loaded later whose bytes happen to lie at the same place gets pictures of its own.
void forgetGoneModules(SharedPictures& pictures) {
    std::erase_if(pictures.made, [](const auto& entry) {
        if (moduleStillThere(entry.second)) return false;
        handleTable().remove(handleValue(entry.second.handle), HandleType::Cursor);
        return true;
    });
}

CursorRead pictureFromResource(std::span<const uint8_t> bytes, PictureKind kind) {
    return kind == PictureKind::Icon ? iconFromResource(bytes) : cursorFromResource(bytes);
}

}  // namespace

CursorRead iconFromResource(std::span<const uint8_t> bytes) {
    CursorRead read = cursorFromBitmap(bytes);
    if (!read.cursor) return read;
    read.cursor->icon = true;
    // The centre is read before the call: the moved-from argument may be made first.
    const POINT centre{read.cursor->width / 2, read.cursor->height / 2};
    return withHotSpot(std::move(read), centre);
}

CursorRead cursorFromResource(std::span<const uint8_t> bytes) {
    ByteReader in(bytes);
    POINT hotSpot{};
    hotSpot.x = in.u16();
    hotSpot.y = in.u16();
    if (!in.ok()) return refusedRead("cursor hot spot cut short");
    return withHotSpot(cursorFromBitmap(bytes.subspan(in.position())), hotSpot);
}

std::optional<std::span<const uint8_t>> resourceBytes(HINSTANCE module, LPCSTR name, WORD type,
                                                      const CallRefuser& refuse) {
    const HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(type));
    if (!found) return refuse(std::nullopt, "the module has no such resource");
    const HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return refuse(std::nullopt, "the resource could not be loaded");
    const DWORD size = SizeofResource(module, found);
    if (size == 0) return std::span<const uint8_t>{};  // no picture: the reader says so
    const void* data = LockResource(loaded);
    if (!data) return refuse(std::nullopt, "the resource's bytes are missing");
    return std::span(static_cast<const uint8_t*>(data), size);
}

HCURSOR sharedModulePicture(HINSTANCE module, LPCSTR name, PictureKind kind, const CallRefuser& refuse) {
    const WORD type = kind == PictureKind::Icon ? 3 : 1;  // RT_ICON, RT_CURSOR
    const auto bytes = resourceBytes(module, name, type, refuse);
    if (!bytes) return nullptr;
    SharedPictures& pictures = sharedPictures();
    std::lock_guard lock(pictures.mutex);
    forgetGoneModules(pictures);
    const auto key = std::pair<const void*, PictureKind>(bytes->data(), kind);
    if (const auto known = pictures.made.find(key); known != pictures.made.end()) return known->second.handle;
    CursorRead read = pictureFromResource(*bytes, kind);
    if (!read.cursor) return CallRefuser(refuse.refuser().who(), read.error)(HCURSOR{}, read.why, read.where);
    read.cursor->shared = true;
    const HCURSOR handle = addCursor(read.cursor);
    if (!handle) return CallRefuser(refuse.refuser().who(), ERROR_NOT_ENOUGH_MEMORY)(HCURSOR{}, "the handle table is full");
    pictures.made.emplace(key, SharedPicture{module, moduleResources(module), handle});
    return handle;
}

HINSTANCE layerModule() { return GetModuleHandleA("user32.dll"); }

}  // namespace winplat::user
