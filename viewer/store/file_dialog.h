// The reader's open and save dialogs: one call per kind of file, with the program's filter strings,
// the folder of the last file chosen and the file type last chosen in each kind of dialog kept
// between calls.
#ifndef LECT32_STORE_FILE_DIALOG_H
#define LECT32_STORE_FILE_DIALOG_H

#include <cstddef>
#include <cstdint>

#include "winplat/user.h"

namespace lect32 {

// Kinds of dialog by what they choose. Any other kind opens with the export filter.
enum FileDialogKind : int {
    kSaveTextOrHtml = 1,     // save; text or HTML
    kSaveDocument = 10,      // save; .lcn
    kSavePackage = 11,       // save; .lnp
    kSaveDictionary = 12,    // save; user dictionary .dic
    kSaveCopy = 13,          // save; any file, starting with the name given
    kOpenDocumentOrPackage = 20,
    kOpenRtf = 21,
    kOpenDocument = 22,
};

// The dialog's own path buffer, and so the longest path (with its zero) it hands back.
inline constexpr size_t kFileDialogPathSize = 256;

// Shows the dialog of the kind, owned by 'owner' or, without one, by the reader's main window.
// Save kinds ask before overwriting a file but accept a name that does not exist yet. Kind 13
// starts with the name in 'fileName'. On a choice: the path in 'fileName' (room for
// 'fileNameSize' bytes), the chosen file type (1 for the first) in '*filterIndex' when given, and
// the folder and type remembered for the next dialog; returns 1. Returns 0, changing nothing, on
// cancel, when the kind's filter string is missing, or when the path does not fit 'fileName'.
int RunFileDialog(int kind, char* fileName, size_t fileNameSize, uint8_t* filterIndex, const char* title,
                  HWND owner);

// Forgets the remembered folder and file types, as at start-up.
void ResetFileDialogMemory();

}  // namespace lect32

#endif
