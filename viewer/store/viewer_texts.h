// Built-in texts of the reader that the store needs before the language layer exists.
#ifndef LECT32_STORE_VIEWER_TEXTS_H
#define LECT32_STORE_VIEWER_TEXTS_H

#include <string>

namespace lect32 {

// The title of a document whose file name gives none ("Beze jména"), in cp1250.
std::string untitledDocumentText();

}  // namespace lect32

#endif
