// The current page window as the shown document: the page-window list reports its current window
// here, and GetCurrentDocumentIndex then answers with the member that window shows.
#ifndef LECT32_SHELL_SHOWN_PAGE_WINDOW_H
#define LECT32_SHELL_SHOWN_PAGE_WINDOW_H

#include "page/page_window.h"
#include "shell/current_document.h"

namespace lect32 {

class ShownPageWindow final : public ShownDocument {
public:
    explicit ShownPageWindow(const PageWindow& window) : window_(window) {}
    uint8_t ShownMember() const override { return window_.Document(); }
    const PageWindow& Window() const { return window_; }

private:
    const PageWindow& window_;
};

// Makes 'window' the current page window (null: none).
void SetShownPageWindow(const PageWindow* window);
// Forgets 'window' when it is the current one (a page window being destroyed).
void ForgetShownPageWindow(const PageWindow& window);

}  // namespace lect32

#endif
