// The script command that labels the main menu, until the user-interface commands come whole:
//
//     pdmenu TOP ITEM set "caption"
//
// TOP 1..12 names a top item ("a".."l"), ITEM 0 that top item itself and 1..32 its items. The
// item takes the caption ("-" a separator line) and shows; an empty caption hides it. A number
// outside its range stops the script with "Invalid menu item".
#ifndef LINEWORK_UI_MENU_COMMANDS_H
#define LINEWORK_UI_MENU_COMMANDS_H

namespace linework {

class MainForm;

void AddMenuCommands(MainForm& form);

}  // namespace linework

#endif
