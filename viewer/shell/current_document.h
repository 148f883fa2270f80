// Which member of the linked-document set the current page window shows. Navigation acts on the
// current page window; code that must know "the document on screen" (a document index of 255 in
// its arguments) asks here.
#ifndef LECT32_SHELL_CURRENT_DOCUMENT_H
#define LECT32_SHELL_CURRENT_DOCUMENT_H

#include <cstdint>

namespace lect32 {

// What the shell needs of the current page window: the member whose page it shows. The page
// window list reports its current window here as it changes.
class ShownDocument {
public:
    virtual ~ShownDocument() = default;
    virtual uint8_t ShownMember() const = 0;
};

// The current page window, or null when there is none. The object stays the caller's and must
// outlive its registration.
void SetCurrentPageWindow(const ShownDocument* window);

// The member shown in the current page window; 0 when there is none.
uint8_t GetCurrentDocumentIndex();

}  // namespace lect32

#endif
