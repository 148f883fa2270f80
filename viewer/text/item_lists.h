// The stores the page machinery and the contents tree keep, each one segmented text store named
// for what it holds: a page's row records and texts, a view's per-row lists, and the contents
// tree's item store (its total item count is what the tree loader reads back).
#ifndef LECT32_TEXT_ITEM_LISTS_H
#define LECT32_TEXT_ITEM_LISTS_H

#include "text/text_store.h"

namespace lect32 {

class PageItemList : public TextStore {};

class ViewItemList : public TextStore {};

class BlockItemStore : public TextStore {};

}  // namespace lect32

#endif
