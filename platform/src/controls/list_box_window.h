// The list box's window procedure and the object behind a list box window, for the combo box,
// whose list is a list box of its own class.
#ifndef WINPLAT_SRC_CONTROLS_LIST_BOX_WINDOW_H
#define WINPLAT_SRC_CONTROLS_LIST_BOX_WINDOW_H

#include <memory>

#include "winplat/user.h"

namespace winplat::controls {

class ListBox;

LRESULT CALLBACK listBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The list box behind a window made by listBoxProcedure; null for any other window.
std::shared_ptr<ListBox> listBoxOf(HWND window);

}  // namespace winplat::controls

#endif
