#include "winplat/handles.h"

#include <deque>
#include <mutex>
#include <vector>

#include "winplat/base.h"

namespace winplat {
namespace {

constexpr uint32_t kTypeShift = HandleTable::kSlotBits + HandleTable::kGenerationBits;
constexpr uint32_t kSlotMask = HandleTable::kMaxSlots - 1;
constexpr uint32_t kGenerationMask = (1u << HandleTable::kGenerationBits) - 1;

struct Slot {
    HandleType type = HandleType::None;
    uint8_t generation = 0;  // 1..127 once used; 0 never appears in a handle
    std::shared_ptr<HandleObject> object;
};

uint32_t encode(HandleType type, uint8_t generation, uint32_t slot) {
    return (static_cast<uint32_t>(type) << kTypeShift) | (uint32_t{generation} << HandleTable::kSlotBits) | slot;
}

}  // namespace

struct HandleTable::State {
    mutable std::mutex mutex;
    std::vector<Slot> slots;
    // Freed slots are reused oldest first, so a stale handle meets a new generation as late as possible.
    std::deque<uint32_t> freeSlots;

    // The slot a live handle of that type names, else null.
    Slot* find(uint32_t handle, HandleType type) {
        const uint32_t index = handle & kSlotMask;
        if ((handle >> kTypeShift) != static_cast<uint32_t>(type) || type == HandleType::None) return nullptr;
        if (index >= slots.size()) return nullptr;
        Slot& slot = slots[index];
        const uint8_t generation = static_cast<uint8_t>((handle >> kSlotBits) & kGenerationMask);
        if (slot.type != type || slot.generation != generation || !slot.object) return nullptr;
        return &slot;
    }
};

HandleTable::HandleTable() : state_(std::make_unique<State>()) {}
HandleTable::~HandleTable() = default;

uint32_t HandleTable::add(HandleType type, std::shared_ptr<HandleObject> object) {
    if (!object || type == HandleType::None) return 0;
    std::lock_guard lock(state_->mutex);
    uint32_t index;
    if (!state_->freeSlots.empty()) {
        index = state_->freeSlots.front();
        state_->freeSlots.pop_front();
    } else {
        if (state_->slots.size() >= kMaxSlots) return 0;
        index = static_cast<uint32_t>(state_->slots.size());
        state_->slots.emplace_back();
    }
    Slot& slot = state_->slots[index];
    slot.generation = static_cast<uint8_t>(slot.generation % kGenerationMask + 1);
    slot.type = type;
    slot.object = std::move(object);
    return encode(type, slot.generation, index);
}

std::shared_ptr<HandleObject> HandleTable::get(uint32_t handle, HandleType type) const {
    std::lock_guard lock(state_->mutex);
    if (Slot* slot = state_->find(handle, type)) return slot->object;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

std::shared_ptr<HandleObject> HandleTable::remove(uint32_t handle, HandleType type) {
    std::shared_ptr<HandleObject> object;
    {
        std::lock_guard lock(state_->mutex);
        Slot* slot = state_->find(handle, type);
        if (!slot) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        object = std::move(slot->object);
        slot->type = HandleType::None;
        state_->freeSlots.push_back(handle & kSlotMask);
    }
    // The object dies outside the lock, with its last owner.
    return object;
}

size_t HandleTable::count(HandleType type) const {
    std::lock_guard lock(state_->mutex);
    size_t n = 0;
    for (const Slot& slot : state_->slots) n += (slot.type == type && slot.object) ? 1 : 0;
    return n;
}

void HandleTable::forEach(HandleType type, const std::function<void(uint32_t, HandleObject&)>& visit) const {
    std::vector<std::pair<uint32_t, std::shared_ptr<HandleObject>>> live;
    {
        std::lock_guard lock(state_->mutex);
        for (uint32_t i = 0; i < state_->slots.size(); ++i) {
            const Slot& slot = state_->slots[i];
            if (slot.type == type && slot.object) live.emplace_back(encode(type, slot.generation, i), slot.object);
        }
    }
    for (auto& [handle, object] : live) visit(handle, *object);
}

HandleTable& handleTable() {
    // Never destroyed: libraries release their handles from their own destructors at unload,
    // which may run after this library's static objects would have gone.
    static HandleTable* table = new HandleTable;
    return *table;
}

}  // namespace winplat
