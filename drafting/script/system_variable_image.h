// The memory image lies in the drawing layer, whose layer table, current properties and view are
// slices of it; this name stays for the script layer's includes.
#include "drawing/system_variable_image.h"
