// A combo box window: a selection field (an EDIT child for CBS_SIMPLE and CBS_DROPDOWN, drawn
// here for CBS_DROPDOWNLIST) over a list of class "ComboLBox", a list box that sends its news to
// the combo box. The simple kind shows the list always, as a child under the field; the drop-down
// kinds show it on demand as a top-level popup below the field that holds the mouse capture while
// it is open, the keyboard focus staying with the combo box (or its edit).
#ifndef WINPLAT_SRC_CONTROLS_COMBO_BOX_H
#define WINPLAT_SRC_CONTROLS_COMBO_BOX_H

#include <memory>
#include <optional>
#include <string>

#include "controls/kept_font.h"
#include "winplat/controls.h"

namespace winplat::controls {

class ListBox;

class ComboBox {
public:
    ComboBox(HWND window, const CREATESTRUCTA& create);

    std::optional<LRESULT> handle(UINT message, WPARAM wParam, LPARAM lParam);

    // The drop-down list's mouse, while it is open (combo_drop_down.cpp).
    void listMouse(UINT message, POINT clientPoint);
    // The edit's keys, before the edit sees them: true when the combo box took the key.
    bool editKey(UINT message, WPARAM key);

    bool dropped() const { return dropped_; }

private:
    // --- creation and parts (combo_box.cpp)
    bool create(const CREATESTRUCTA& create);
    UINT kind() const { return style_ & 3u; }
    bool hasEdit() const { return kind() != CBS_DROPDOWNLIST; }
    bool ownerDraw() const { return (style_ & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    std::shared_ptr<ListBox> list() const;
    LRESULT toList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT comboMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT setCurrent(WPARAM index);
    LRESULT setText(LPARAM text);
    LRESULT getText(WPARAM size, LPARAM buffer) const;
    std::string selectedText() const;
    void showSelection();
    void listCommand(WORD code);
    void editCommand(WORD code);
    void notify(WORD code) const;
    void layOut();
    RECT fieldRect() const;   // inside the sunken edge, left of the button
    RECT buttonRect() const;

    // --- the drop-down (combo_drop_down.cpp)
    void drop();
    void selectItemOfEdit();  // the list's selection to the first item the edit's text begins
    void closeUp(bool accept);
    RECT droppedRect() const;  // on the screen
    void keyDown(UINT key);
    void moveSelection(int index);
    void character(char typed);
    void buttonDown(POINT point);

    // --- drawing (combo_box_drawing.cpp)
    void paint();

    HWND window_;
    DWORD style_;
    HWND list_ = nullptr;
    HWND edit_ = nullptr;
    KeptFont font_;
    int fieldHeight_ = 0;     // the selection field, the whole window when closed
    int droppedHeight_ = 0;   // room for the list below the field, from the height at creation
    int selectionAtDrop_ = -1;
    bool dropped_ = false;
    bool extendedUi_ = false;
    bool focused_ = false;
    bool settingText_ = false;  // the edit's text changes by our hand, not the user's
    bool pickedByMouse_ = false;
};

// The combo box behind a window of class "COMBOBOX"; null for any other.
std::shared_ptr<ComboBox> comboBoxOf(HWND window);

// The procedure the combo box's edit is subclassed with; the edit's own is kept in its
// "winplat.edit" property.
LRESULT CALLBACK comboEditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winplat::controls

#endif
