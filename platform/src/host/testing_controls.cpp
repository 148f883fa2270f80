// Test controls over the host services: the virtual clock and the capture of debug output.
#include "winplat/testing.h"

namespace winplat::testing {

VirtualClock::VirtualClock(uint64_t startMs) : now_(startMs), previous_(host::setClock(this)) {}

VirtualClock::~VirtualClock() { host::setClock(previous_); }

DebugCapture::DebugCapture() : previous_(host::setLogSink(this)) {}

DebugCapture::~DebugCapture() { host::setLogSink(previous_); }

void DebugCapture::write(std::string_view text) {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(text);
}

std::vector<std::string> DebugCapture::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::string DebugCapture::text() const {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const std::string& m : messages_) all += m;
    return all;
}

bool DebugCapture::contains(std::string_view fragment) const { return text().find(fragment) != std::string::npos; }

void DebugCapture::clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

}  // namespace winplat::testing

namespace winplat::testing {

BeepCounter::BeepCounter() : previous_(host::setBeeper(this)) {}

BeepCounter::~BeepCounter() { host::setBeeper(previous_); }

void BeepCounter::beep(UINT type) {
    std::lock_guard lock(mutex_);
    types_.push_back(type);
}

size_t BeepCounter::count() const {
    std::lock_guard lock(mutex_);
    return types_.size();
}

std::vector<UINT> BeepCounter::types() const {
    std::lock_guard lock(mutex_);
    return types_;
}

}  // namespace winplat::testing
