// LoadDrawing: reads a drawing file (current or older format) into the drawing model. One reader
// serves three uses: loading a drawing (its blocks join the definitions, its entities go ahead of
// those already there, and for a new drawing its setting blocks replace the settings), importing
// one named block with the blocks it uses, and drawing a drawing reference transformed.
//
// The file is opened read-only and its attributes are never changed; the "in use" mark of a
// drawing is a record of this process (DrawingInUseMarks), not a file attribute. A damaged
// record stops the load with status 100 and keeps what was read before it.
#ifndef LINEWORK_FILES_DRAWING_FILE_READER_H
#define LINEWORK_FILES_DRAWING_FILE_READER_H

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>

#include "drawing/drawing.h"
#include "drawing/entity_draw_hook.h"
#include "drawing/layer_table.h"
#include "drawing/system_variable_image.h"
#include "drawing/undo_operations.h"
#include "files/drawing_file_format.h"
#include "files/file_relocation.h"
#include "files/reference_cache.h"

namespace linework {

// How the reader talks to the user: messages by their number in the message table, with a text
// after them. The main form fills it; the default says nothing and knows no texts.
class DrawingMessages {
public:
    virtual ~DrawingMessages() = default;
    virtual void ShowError(int /*message*/, std::string_view /*suffix*/) {}
    virtual void ShowInfo(int /*message*/, std::string_view /*suffix*/) {}
    virtual void ShowPrompt(std::string_view /*text*/) {}
    // The message's text; empty when the table has none.
    virtual std::string MessageText(int /*message*/) { return {}; }
    // The settings of a new drawing were taken: views, buttons, the blink timer follow them.
    virtual void SettingsTaken() {}
};

// The drawing files this process has marked in use (an advisory record; the files are untouched).
class DrawingInUseMarks {
public:
    bool Marked(const std::string& name) const { return names_.contains(name); }
    void Mark(const std::string& name) { names_.insert(name); }
    void Clear(const std::string& name) { names_.erase(name); }

private:
    std::set<std::string> names_;
};

// The tables a drawing file carries beside the system variables.
struct DrawingTables {
    std::array<uint8_t, drawing_file::kEndSymbolTableSize> endSymbols{};
    LayerScaleRanges scaleRanges;
};

struct DrawingFileContext {
    Drawing& drawing;
    SystemVariableImage& variables;
    DrawingTables& tables;
    UndoRecorder& undo;
    EntityDrawHook& draw = NoDrawing();
    DrawingMessages& messages = NoMessages();
    FileRelocator& relocator = CancelRelocation();
    DrawingInUseMarks* inUse = nullptr;
    ReferenceCache* references = nullptr;  // none: a reference's file is read each time it is drawn
    std::string programFolder;            // Windows form, ending in a separator
    std::string currentDrawing = "NONAME.LKD";
    bool warnDuplicateBlocks = true;
    bool holdsReferences = false;  // set when a loaded drawing holds drawing references

    static DrawingMessages& NoMessages();
};

struct LoadRequest {
    const EntityRecord* reference = nullptr;  // the reference being drawn, or none
    int drawMode = 0;
    std::string blockName;  // not empty: import this block and the blocks it uses only
    std::string fileName;
};

// Loads as the request says; the result is the status word it leaves (integer variable 8): 0
// when the file was read whole, 99 for an unknown signature, 100 for a damaged record, the I/O
// result when the file could not be read.
int32_t LoadDrawing(DrawingFileContext& context, const LoadRequest& request);

// The same over the bytes of a file already read ('fileName' the completed name they came from).
int32_t LoadDrawingBytes(DrawingFileContext& context, const LoadRequest& request, std::span<const uint8_t> file,
                         const std::string& fileName);

}  // namespace linework

#endif
