// Drawing a parsed picture onto a DC, fitted into a destination rectangle.
#ifndef VEXMILL_PLAYER_H
#define VEXMILL_PLAYER_H

#include "picture.h"
#include "winplat/gdi.h"

namespace vexmill {

// Replays the picture's records with its frame fitted into (x, y, width, height) of the DC, in
// the DC's own coordinates; negative sides mirror. Drawing stays inside the rectangle, and the
// DC's objects, modes and clipping are as before afterwards. False when the DC refused to save
// its state (nothing is drawn then).
//
// Points go through the picture's mapping into device points and the shapes are drawn by the
// DC's own shape calls, so their fills follow the picture's mix mode and polygon fill mode (a
// picture starts in ALTERNATE); arcs sweep counter-clockwise as seen on the device.
bool playPicture(const Picture& picture, HDC dc, int x, int y, int width, int height);

}  // namespace vexmill

#endif
