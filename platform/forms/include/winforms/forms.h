// The whole form library in one include.
#ifndef WINFORMS_FORMS_H
#define WINFORMS_FORMS_H

#include "winforms/application.h"
#include "winforms/bitmap.h"
#include "winforms/canvas.h"
#include "winforms/clipboard.h"
#include "winforms/component.h"
#include "winforms/containers.h"
#include "winforms/control.h"
#include "winforms/dialogs.h"
#include "winforms/form.h"
#include "winforms/graphic_controls.h"
#include "winforms/graphics.h"
#include "winforms/media_player.h"
#include "winforms/menus.h"
#include "winforms/printer.h"
#include "winforms/speed_button.h"
#include "winforms/status_bar.h"
#include "winforms/std_controls.h"
#include "winforms/timer.h"
#include "winforms/types.h"
#include "winforms/win_control.h"

#endif
