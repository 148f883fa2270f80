// What the script's file, system and dialog commands share: the status word every file
// operation sets, the script's open files (three text slots, one binary slot, a directory
// search) and their closers, the script dialog's time-out, temporary files and the one registry
// read scripts can ask for. File operations never stop a script: they leave their result in the
// status word (integer system variable 8), numbered as io_result.h says.
#ifndef LINEWORK_SCRIPT_RUNTIME_SERVICES_H
#define LINEWORK_SCRIPT_RUNTIME_SERVICES_H

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/file_handle.h"
#include "drawing/system_variable_image.h"

namespace linework {

// Integer system variable 8.
inline constexpr int32_t kStatusWordElement = 8;

// A file of the script's, open or closed.
struct ScriptFileSlot {
    FileHandle file;
    bool open = false;
};

// A pending directory search: the names still to hand out.
struct DirSearch {
    std::vector<std::string> pending;
    bool open = false;
};

// The script dialog's state as its time-out sees it; times on the host clock, in ms.
struct ScriptDialogState {
    bool open = false;
    int32_t timeoutSeconds = 0;
    uint64_t startMs = 0;
    int32_t result = 0;
};

// What a registry read gives: -1 nothing read, 0 a value of another type, 1 a string, 2 a 32-bit
// integer as decimal text, 3 binary data as bytes.
struct RegistryRead {
    int32_t type = -1;
    std::string text;
};

class ScriptRuntime {
public:
    static constexpr int kTextSlots = 3;

    explicit ScriptRuntime(SystemVariableImage& variables) : variables_(variables) {}

    int32_t StatusWord() const { return variables_.Integer(kStatusWordElement); }
    void SetStatusWord(int32_t value) { variables_.SetInteger(kStatusWordElement, value); }
    void SetErrorStatus() { SetStatusWord(-1); }
    void SetNotFoundStatus() { SetStatusWord(2); }

    // Records the I/O result of the last file step (0 clears nothing: an earlier failure stays
    // pending until CheckIOResult takes it).
    void NoteIoResult(int32_t result) {
        if (result != kIoSuccessValue) pendingIo_ = result;
    }
    // The status word takes the pending I/O result, which is cleared; true when it was a failure.
    bool CheckIOResult();

    ScriptFileSlot& TextSlot(int index) { return textSlots_.at(static_cast<size_t>(index)); }
    ScriptFileSlot& BinarySlot() { return binarySlot_; }
    DirSearch& Search() { return search_; }
    ScriptDialogState& Dialog() { return dialog_; }

    // Close the slot's file when open, take the I/O result into the status word, mark it closed;
    // true when the result is a failure (a closed slot gives the result still pending).
    bool CloseScriptTextFile(int index);
    bool CloseScriptBinaryFile();
    void CloseDirSearch();
    // The three text slots, the binary slot and the search, in that order.
    bool CloseAllScriptFiles();

    // Closes the open script dialog with result -1 when forced or when |time-out| seconds (a
    // time-out of 0 never) have passed since it opened; true when it closed it.
    bool CloseScriptDialogOnTimeout(bool force);

    // The drawing file's hidden attribute: the host has none to give or take, so only the flag
    // that says the program set it is kept and cleared.
    void NoteDrawingHidden() { drawingHidden_ = true; }
    void ClearDrawingHiddenAttr() { drawingHidden_ = false; }
    bool DrawingHidden() const { return drawingHidden_; }

    // The current drawing's file name; the drawing reader sets it, a new drawing has this one.
    static constexpr std::string_view kNewDrawingName = "NONAME.LKD";
    std::string drawingName{kNewDrawingName};

private:
    static constexpr int32_t kIoSuccessValue = 0;
    bool CloseSlot(ScriptFileSlot& slot);

    SystemVariableImage& variables_;
    int32_t pendingIo_ = 0;
    std::array<ScriptFileSlot, kTextSlots> textSlots_;
    ScriptFileSlot binarySlot_;
    DirSearch search_;
    ScriptDialogState dialog_;
    bool drawingHidden_ = false;
};

// A new empty file "~lk....<extension>" in the host's temporary folder: an empty extension gives
// ".tmp", one without a "." none. Empty when it cannot be made; a file made and not renamed is
// removed again.
std::string CreateTempFile(std::string_view extension);

// A value of at most 255 bytes below one of the six predefined roots (HKEY_CLASSES_ROOT ..
// HKEY_DYN_DATA, not HKEY_PERFORMANCE_DATA), the key opened without creating it.
RegistryRead ReadRegistryValue(uint32_t root, std::string_view key, std::string_view valueName);

}  // namespace linework

#endif
