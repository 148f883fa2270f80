#include "shell/shown_page_window.h"

#include <memory>

namespace lect32 {
namespace {

std::unique_ptr<ShownPageWindow>& shown() {
    static std::unique_ptr<ShownPageWindow> current;
    return current;
}

}  // namespace

void SetShownPageWindow(const PageWindow* window) {
    // Unregistered before it is replaced: the old adapter must not be asked once it is gone.
    SetCurrentPageWindow(nullptr);
    shown() = window ? std::make_unique<ShownPageWindow>(*window) : nullptr;
    SetCurrentPageWindow(shown().get());
}

void ForgetShownPageWindow(const PageWindow& window) {
    if (shown() && &shown()->Window() == &window) SetShownPageWindow(nullptr);
}

}  // namespace lect32
