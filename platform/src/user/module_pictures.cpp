#include "user/module_pictures.h"

#include <map>
#include <mutex>
#include <utility>

#include "winplat/byte_reader.h"
#include "winplat/module.h"

namespace winplat::user {
namespace {

struct SharedPictures {
    std::mutex mutex;
    // By where the resource's bytes lie: one entry per resource of every module, whatever name
    // (number, "#number" or text) found it.
    std::map<const void*, HCURSOR> made;
};

SharedPictures& sharedPictures() {
    static SharedPictures pictures;
    return pictures;
}

CursorRead pictureFromResource(std::span<const uint8_t> bytes, PictureKind kind) {
    return kind == PictureKind::Icon ? iconFromResource(bytes) : cursorFromResource(bytes);
}

}  // namespace

CursorRead iconFromResource(std::span<const uint8_t> bytes) {
    CursorRead read = cursorFromBitmap(bytes);
    if (!read.cursor) return read;
    read.cursor->icon = true;
    return withHotSpot(std::move(read), POINT{read.cursor->width / 2, read.cursor->height / 2});
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
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return refuse(std::nullopt, "the resource could not be loaded");
    return std::span(static_cast<const uint8_t*>(data), SizeofResource(module, found));
}

HCURSOR sharedModulePicture(HINSTANCE module, LPCSTR name, PictureKind kind, const CallRefuser& refuse) {
    const WORD type = kind == PictureKind::Icon ? 3 : 1;  // RT_ICON, RT_CURSOR
    const auto bytes = resourceBytes(module, name, type, refuse);
    if (!bytes) return nullptr;
    SharedPictures& pictures = sharedPictures();
    std::lock_guard lock(pictures.mutex);
    if (const auto known = pictures.made.find(bytes->data()); known != pictures.made.end()) return known->second;
    CursorRead read = pictureFromResource(*bytes, kind);
    if (!read.cursor) return CallRefuser(refuse.refuser().who(), read.error)(HCURSOR{}, read.why, read.where);
    read.cursor->shared = true;
    const HCURSOR handle = addCursor(read.cursor);
    if (!handle) return CallRefuser(refuse.refuser().who(), ERROR_NOT_ENOUGH_MEMORY)(HCURSOR{}, "the handle table is full");
    pictures.made.emplace(bytes->data(), handle);
    return handle;
}

HINSTANCE layerModule() { return GetModuleHandleA("user32.dll"); }

}  // namespace winplat::user
