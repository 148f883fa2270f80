#include "ui/menu_commands.h"

#include "ui/main_form.h"

namespace linework {

void AddMenuCommands(MainForm& form) {
    form.Engine().AddCommand("pdmenu", [&form](ScriptEngine& engine) {
        const WordTable& words = engine.Words();
        const double top = words[1].value;
        const double item = words[2].value;
        if (!words[1].hasValue || !words[2].hasValue || top < 1 || top > kTopMenus || item < 0 || item > kMenuItems ||
            words[3].text != "set") {
            engine.Fail("Invalid menu item");
            return ScriptEngine::CommandResult::StopRun;
        }
        const std::string caption = engine.WordText(4);
        if (engine.Failed()) return ScriptEngine::CommandResult::StopRun;
        const int t = static_cast<int>(top) - 1;
        const int i = static_cast<int>(item);
        winforms::MenuItem& target = i == 0 ? form.TopMenu(t) : form.MenuItemAt(t, i - 1);
        target.SetCaption(caption);
        target.SetVisible(!caption.empty());
        return ScriptEngine::CommandResult::Next;
    });
}

}  // namespace linework
