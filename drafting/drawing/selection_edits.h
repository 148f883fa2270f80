// The selection pass and the edits of the selection that the selection engine and the edit
// operations provide: scripts, tool buttons and command steps call them through this interface.
// The defaults do nothing (the batch runner and a program whose engine is not built yet); erase,
// copy, undo of adding and erasing, and the list operations are built in the drawing layer itself
// (deletion_and_undo.h, list_operations.h, entity_copy.h) and need no one behind this.
#ifndef LINEWORK_DRAWING_SELECTION_EDITS_H
#define LINEWORK_DRAWING_SELECTION_EDITS_H

#include <cstdint>
#include <string_view>

#include "drawing/geometry.h"
#include "drawing/selection_settings.h"

namespace linework {

class SelectionEdits {
public:
    virtual ~SelectionEdits() = default;

    // --- selection
    // One pass over the drawing list with the settings (method, box, filters, mode).
    virtual void SelectEntities(SelectionSettings& /*settings*/) {}
    // The single pick: method 37 with its button down until a pick.
    virtual void SelectPickMethod(SelectionSettings& /*settings*/) {}
    // The add mode, the filters or the switches changed: the buttons show them.
    virtual void SelectionSettingsChanged(const SelectionSettings& /*settings*/) {}

    // --- edits of the selected entities
    // The edit mode 0..3 of the transforms that follow.
    virtual void SetEditMode(int /*mode*/) {}
    virtual void DefineBlockFromSelection(std::string_view /*name*/, Point /*base*/) {}
    virtual void ExplodeSelection() {}
    virtual void ChangeSelectedEntities(uint32_t /*mask*/) {}
    virtual void MoveSelection(double /*dx*/, double /*dy*/) {}
    virtual void RotateSelection(double /*angle*/, Point /*base*/) {}
    virtual void ScaleSelection(double /*fx*/, double /*fy*/, Point /*base*/) {}
    virtual void StretchSelection(double /*dx*/, double /*dy*/) {}
    // The crossing window that the stretch command saved: stretching moves the points inside it.
    virtual void SetEditWindow(Point /*a*/, Point /*b*/) {}
    // The erase of the object-selection step; the program's own is EraseSelection of
    // deletion_and_undo.h, which an implementation calls with its adders' context.
    virtual void EraseSelection() {}
    // Undo of an edit of this interface (the codes of block, move, rotate, scale, stretch).
    virtual void UndoEdit(uint8_t /*code*/) {}
};

// The interface that does nothing.
SelectionEdits& NoSelectionEdits();

}  // namespace linework

#endif
