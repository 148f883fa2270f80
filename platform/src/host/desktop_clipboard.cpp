#include <atomic>

#include "winplat/host.h"

namespace winplat::host {
namespace {
std::atomic<DesktopClipboard*> installed{nullptr};
}  // namespace

DesktopClipboard* setDesktopClipboard(DesktopClipboard* desktop) { return installed.exchange(desktop); }

DesktopClipboard* desktopClipboard() { return installed.load(); }

}  // namespace winplat::host
