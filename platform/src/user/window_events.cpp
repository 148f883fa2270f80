#include "user/window_events.h"

#include <utility>

namespace winplat::user {
namespace {
WindowEvents* observer = nullptr;
}  // namespace

WindowEvents* setWindowEvents(WindowEvents* events) { return std::exchange(observer, events); }

WindowEvents* windowEvents() { return observer; }

}  // namespace winplat::user
