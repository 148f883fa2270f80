// Painting as the window manager's observer and message source: what moving, showing, hiding,
// restacking and destroying windows uncovers is invalidated, and windows with something to
// paint get WM_PAINT when a retrieval finds no posted message and no input.
//
// A window that moves or changes size is repainted whole (its pixels are not carried along);
// what it leaves, and what a hidden, destroyed or lowered window leaves, is invalidated exactly in
// the windows that now show there. SWP_NOREDRAW leaves the window itself alone; what it uncovers
// is still repainted.
#ifndef WINPLAT_SRC_USER_PAINTING_H
#define WINPLAT_SRC_USER_PAINTING_H

namespace winplat::user {

// Installs the observer, the paint source and the window DC hook; the desktop, as it is made,
// calls it once.
void installPainting();

}  // namespace winplat::user

#endif
