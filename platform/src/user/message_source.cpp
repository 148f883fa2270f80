#include "user/message_source.h"

#include <utility>

#include "user/tree.h"
#include "user/window.h"

namespace winplat::user {
namespace {
MessageSource* inputSource = nullptr;
MessageSource* paintSource = nullptr;
}  // namespace

bool MessageFilter::matchesWindow(HWND target) const {
    if (!window) return true;
    if (window == reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1))) return target == nullptr;
    if (target == window) return true;
    const WindowRef filterWindow = findWindow(window);
    const WindowRef targetWindow = findWindow(target);
    return filterWindow && targetWindow && isAncestor(*filterWindow, *targetWindow);
}

MessageSource* setMessageSource(SourceKind kind, MessageSource* source) {
    return std::exchange(kind == SourceKind::Input ? inputSource : paintSource, source);
}

MessageSource* messageSource(SourceKind kind) { return kind == SourceKind::Input ? inputSource : paintSource; }

}  // namespace winplat::user
