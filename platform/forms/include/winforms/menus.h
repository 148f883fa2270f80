// Menus: items with a caption, visibility, enabled and checked states, a break kind, a click
// handler and items of their own (a sub-menu); a main menu shown as a form's menu bar and a popup
// menu opened at a point. The platform's menus are made from the items when they are shown, so
// building hundreds of items costs no platform calls.
#ifndef WINFORMS_MENUS_H
#define WINFORMS_MENUS_H

#include <string>
#include <vector>

#include "winforms/component.h"
#include "winforms/graphics.h"
#include "winforms/types.h"
#include "winplat/owners.h"

namespace winforms {

class Form;
class Menu;

// Where an item starts: in the same column, a new column, or a new column after a line.
enum class MenuBreak : uint8_t { None, Break, BarBreak };

class WINFORMS_API MenuItem : public Component {
public:
    explicit MenuItem(Component* owner);
    ~MenuItem() override;

    // "-" makes a separator line.
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    MenuBreak Break() const { return break_; }
    void SetBreak(MenuBreak kind);

    // The items of the sub-menu, in order. An item belongs to one parent at a time.
    void Add(MenuItem& item);
    void Insert(size_t index, MenuItem& item);
    void Remove(MenuItem& item);
    size_t Count() const { return items_.size(); }
    MenuItem& Items(size_t index) const { return *items_.at(index); }
    MenuItem* Parent() const { return parent_; }
    int MenuIndex() const;

    // The platform command that stands for the item.
    UINT Command() const { return command_; }
    // Runs OnClick (a disabled item does nothing).
    void Click();
    NotifyEvent OnClick;

private:
    friend class Menu;
    void Changed();
    Menu* Root() const;

    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    MenuBreak break_ = MenuBreak::None;
    std::vector<MenuItem*> items_;
    MenuItem* parent_ = nullptr;
    Menu* menu_ = nullptr;  // set on a menu's root item
    UINT command_ = 0;
};

// What main and popup menus share: the root item whose items are the menu's.
class WINFORMS_API Menu : public Component {
public:
    explicit Menu(Component* owner);
    ~Menu() override;
    MenuItem& Items() { return root_; }
    // The platform's menu as the items stand now (made again after a change).
    HMENU Handle();

protected:
    friend class MenuItem;
    virtual bool Bar() const = 0;
    virtual void ItemsChanged() { dirty_ = true; }
    void Build();

    MenuItem root_;
    winplat::OwnedMenu handle_;
    bool dirty_ = true;
};

class WINFORMS_API MainMenu : public Menu {
public:
    explicit MainMenu(Component* owner) : Menu(owner) {}
    ~MainMenu() override;
    // The form showing the menu (set by Form::SetMenu).
    Form* Shown() const { return form_; }

protected:
    bool Bar() const override { return true; }
    void ItemsChanged() override;

private:
    friend class Form;
    // Gives the form the menu made afresh (none: the form shows no menu).
    void ShowOn(Form* form);
    Form* form_ = nullptr;
};

// Where a popup menu lies against the point it opens at: its left edge, its right edge or its
// middle there.
enum class PopupAlignment : uint8_t { Left, Right, Center };

class WINFORMS_API PopupMenu : public Menu {
public:
    explicit PopupMenu(Component* owner) : Menu(owner) {}
    // Opens the menu with its top edge at a point of the screen, placed by its alignment, and
    // runs the chosen item's OnClick; false when nothing was chosen. A test answers it (kind
    // PopupMenu, by the first item's caption) through the harness.
    bool Popup(int x, int y);
    PopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(PopupAlignment alignment) { alignment_ = alignment; }
    NotifyEvent OnPopup;

protected:
    bool Bar() const override { return false; }

private:
    PopupAlignment alignment_ = PopupAlignment::Left;
};

}  // namespace winforms

#endif
