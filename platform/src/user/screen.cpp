#include "user/screen.h"

#include <atomic>

namespace winplat::user {
namespace {
std::atomic<LONG> screenWidth{1024};
std::atomic<LONG> screenHeight{768};
}  // namespace

SIZE screenSize() { return {screenWidth.load(), screenHeight.load()}; }

void setScreenSize(SIZE size) {
    screenWidth = size.cx;
    screenHeight = size.cy;
}

}  // namespace winplat::user
