#include "winforms/menus.h"

#include <algorithm>

#include "winforms/application.h"
#include "winforms/form.h"
#include "winplat/refusal.h"

namespace winforms {

namespace {

constexpr winplat::Refuser refuse("winforms: Menu");

UINT itemFlags(const MenuItem& item) {
    UINT flags = item.Caption() == "-" ? MF_SEPARATOR : MF_STRING;
    if (item.Break() == MenuBreak::Break) flags |= MF_MENUBREAK;
    if (item.Break() == MenuBreak::BarBreak) flags |= MF_MENUBARBREAK;
    if (!item.Enabled()) flags |= MF_GRAYED;
    if (item.Checked()) flags |= MF_CHECKED;
    return flags;
}

void appendItems(HMENU menu, const MenuItem& parent) {
    for (size_t i = 0; i < parent.Count(); ++i) {
        const MenuItem& item = parent.Items(i);
        if (!item.Visible()) continue;
        const UINT flags = itemFlags(item);
        if (item.Count() > 0) {
            HMENU sub = CreatePopupMenu();
            appendItems(sub, item);
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.Caption().c_str());
        } else {
            AppendMenuA(menu, flags, item.Command(), item.Caption().c_str());
        }
    }
}

}  // namespace

MenuItem::MenuItem(Component* owner) : Component(owner) {
    if (Application::Exists()) command_ = Application::Current().RegisterMenuItem(*this);
}

MenuItem::~MenuItem() {
    if (Application::Exists() && command_) Application::Current().UnregisterMenuItem(command_);
    for (MenuItem* item : items_) item->parent_ = nullptr;
    if (parent_) parent_->Remove(*this);
}

void MenuItem::SetCaption(std::string caption) {
    if (caption == caption_) return;
    caption_ = std::move(caption);
    Changed();
}

void MenuItem::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

void MenuItem::SetBreak(MenuBreak kind) {
    if (kind == break_) return;
    break_ = kind;
    Changed();
}

void MenuItem::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    // A leaf of a menu already made changes in place; anything else makes the menu again.
    Menu* menu = Root();
    if (menu && items_.empty() && visible_ && !menu->dirty_ && menu->handle_) {
        EnableMenuItem(menu->handle_.get(), command_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        return;
    }
    Changed();
}

void MenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Menu* menu = Root();
    if (menu && items_.empty() && visible_ && !menu->dirty_ && menu->handle_) {
        CheckMenuItem(menu->handle_.get(), command_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
        return;
    }
    Changed();
}

void MenuItem::Add(MenuItem& item) { Insert(items_.size(), item); }

void MenuItem::Insert(size_t index, MenuItem& item) {
    if (&item == this) return;
    for (const MenuItem* up = parent_; up; up = up->parent_) {
        if (up == &item) {
            refuse.log("an item cannot hold the item it lies in");
            return;
        }
    }
    if (item.parent_) item.parent_->Remove(item);
    index = std::min(index, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), &item);
    item.parent_ = this;
    Changed();
}

void MenuItem::Remove(MenuItem& item) {
    auto found = std::find(items_.begin(), items_.end(), &item);
    if (found == items_.end()) return;
    items_.erase(found);
    item.parent_ = nullptr;
    Changed();
}

int MenuItem::MenuIndex() const {
    if (!parent_) return -1;
    const auto& siblings = parent_->items_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void MenuItem::Click() {
    if (!enabled_) return;
    Application::EventScope scope;
    if (OnClick) OnClick(*this);
}

Menu* MenuItem::Root() const {
    const MenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void MenuItem::Changed() {
    if (Menu* menu = Root()) menu->ItemsChanged();
}

Menu::Menu(Component* owner) : Component(owner), root_(nullptr) { root_.menu_ = this; }

Menu::~Menu() {
    root_.menu_ = nullptr;
}

HMENU Menu::Handle() {
    if (dirty_ || !handle_) Build();
    return handle_.get();
}

void Menu::Build() {
    winplat::OwnedMenu made(Bar() ? CreateMenu() : CreatePopupMenu());
    appendItems(made.get(), root_);
    handle_ = std::move(made);
    dirty_ = false;
}

MainMenu::~MainMenu() {
    if (form_) form_->SetMenu(nullptr);
}

void MainMenu::ItemsChanged() {
    dirty_ = true;
    // A menu bar on screen shows the change now; a hidden form's waits until it shows.
    if (form_ && form_->Visible()) ShowOn(form_);
}

void MainMenu::ShowOn(Form* form) {
    if (form_ && form != form_ && form_->Handle()) ::SetMenu(form_->Handle(), nullptr);
    form_ = form;
    if (!form_ || !form_->Handle()) return;
    if (!form_->Visible()) {
        dirty_ = true;  // made when the form shows
        return;
    }
    winplat::OwnedMenu old = std::move(handle_);
    Build();
    ::SetMenu(form_->Handle(), handle_.get());
    DrawMenuBar(form_->Handle());
}

bool PopupMenu::Popup(int x, int y) {
    {
        Application::EventScope scope;
        if (OnPopup) OnPopup(*this);
    }
    HWND owner = Application::Current().UtilityWindow();
    if (auto* control = dynamic_cast<Control*>(Owner())) {
        if (Form* form = control->ParentForm()) owner = form->Handle();
    }
    UINT align = TPM_LEFTALIGN;
    if (alignment_ == PopupAlignment::Right) align = TPM_RIGHTALIGN;
    if (alignment_ == PopupAlignment::Center) align = TPM_CENTERALIGN;
    const UINT command = static_cast<UINT>(TrackPopupMenu(Handle(), TPM_RETURNCMD | align | TPM_TOPALIGN,
                                                          x, y, 0, owner, nullptr));
    if (command == 0) return false;
    MenuItem* item = Application::Current().FindMenuItem(command);
    if (!item) return refuse(false, "the chosen command belongs to no item");
    item->Click();
    return true;
}

}  // namespace winforms
