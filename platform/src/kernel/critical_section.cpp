#include <mutex>

#include "winplat/sync.h"

namespace {
std::recursive_mutex& mutexOf(LPCRITICAL_SECTION section) { return *static_cast<std::recursive_mutex*>(section->impl); }
}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) { section->impl = new std::recursive_mutex; }

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    delete static_cast<std::recursive_mutex*>(section->impl);
    section->impl = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { mutexOf(section).lock(); }

void LeaveCriticalSection(LPCRITICAL_SECTION section) { mutexOf(section).unlock(); }

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) { return mutexOf(section).try_lock() ? TRUE : FALSE; }
