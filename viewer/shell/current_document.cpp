#include "shell/current_document.h"

namespace lect32 {

namespace {

const ShownDocument*& currentPageWindow() {
    static const ShownDocument* window = nullptr;
    return window;
}

}  // namespace

void SetCurrentPageWindow(const ShownDocument* window) { currentPageWindow() = window; }

uint8_t GetCurrentDocumentIndex() {
    const ShownDocument* window = currentPageWindow();
    return window ? window->ShownMember() : 0;
}

}  // namespace lect32
