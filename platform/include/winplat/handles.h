// The layer's one table of handles (C++ only, for the layer's own areas).
//
// A handle value packs type tag, generation and slot index into 32 bits:
//   bits 27..31 type (never 0), bits 20..26 generation (never 0), bits 0..19 slot.
// A freed slot gets a new generation, so a stale handle is refused instead of reaching the object
// that now lives in its slot; a handle of the wrong type is refused the same way.
#ifndef WINPLAT_HANDLES_H
#define WINPLAT_HANDLES_H

#include <cstdint>
#include <functional>
#include <memory>

#include "winplat/types.h"

namespace winplat {

enum class HandleType : uint8_t {
    None = 0,
    GlobalMemory = 1,
    Module = 2,
    Bitmap = 3,
    Palette = 4,
    DeviceContext = 5,
    File = 6,
    Pen = 7,
    Brush = 8,
    DrawDib = 9,
    Font = 10,
    Region = 11,
    Window = 12,
    Cursor = 13,  // icons too: an icon is a cursor without hot spot
    RegistryKey = 20,
    Menu = 21,
    Accelerator = 22,
    Resource = 23,  // a module's binary resource (HRSRC, and the HGLOBAL LoadResource gives)
    Process = 24,   // a started program (CreateProcessA)
    Thread = 25,    // its first thread, which ends with it
    // Later areas add their kinds here; values are never reused.
};

// Base of every object that lives behind a handle.
class WINPLAT_API HandleObject {
public:
    virtual ~HandleObject() = default;
};

class WINPLAT_API HandleTable {
public:
    static constexpr uint32_t kSlotBits = 20;
    static constexpr uint32_t kGenerationBits = 7;
    static constexpr uint32_t kMaxSlots = 1u << kSlotBits;

    // Stores the object and returns its handle value, or 0 when the table is full.
    uint32_t add(HandleType type, std::shared_ptr<HandleObject> object);

    // The object behind a live handle of that type, else null with ERROR_INVALID_HANDLE.
    std::shared_ptr<HandleObject> get(uint32_t handle, HandleType type) const;

    template <class T>
    std::shared_ptr<T> getAs(uint32_t handle, HandleType type) const {
        return std::static_pointer_cast<T>(get(handle, type));
    }

    // Takes the object out of the table; null (ERROR_INVALID_HANDLE) when the handle is not live.
    std::shared_ptr<HandleObject> remove(uint32_t handle, HandleType type);

    size_t count(HandleType type) const;
    void forEach(HandleType type, const std::function<void(uint32_t, HandleObject&)>& visit) const;

    HandleTable();
    ~HandleTable();
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

WINPLAT_API HandleTable& handleTable();

inline uint32_t handleValue(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

template <class H>
inline H makeHandle(uint32_t value) {
    return reinterpret_cast<H>(static_cast<uintptr_t>(value));
}

// The kind a handle value is tagged with, for calls taking several kinds (HGDIOBJ); says nothing
// about whether the handle is live.
inline HandleType handleTypeOf(uint32_t value) {
    return static_cast<HandleType>(value >> (HandleTable::kSlotBits + HandleTable::kGenerationBits));
}

}  // namespace winplat

#endif
