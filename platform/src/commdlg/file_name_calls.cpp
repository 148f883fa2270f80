// GetOpenFileNameA and GetSaveFileNameA: the record checked, the dialog's state made from it, and
// the answer written back into the caller's buffers.
#include <cstring>
#include <optional>

#include "commdlg/common_dialog.h"
#include "commdlg/extended_error.h"
#include "commdlg/file_dialog.h"
#include "commdlg/folder_listing.h"
#include "winplat/commdlg.h"
#include "winplat/cp1250.h"
#include "winplat/files.h"
#include "winplat/paths.h"

namespace winplat::commdlg {
namespace {

constexpr const char* kOpenCaption = "Otev\xF8\xEDt";
constexpr const char* kSaveCaption = "Ulo\x9Eit jako";

// What a flag asks that the dialogs do not offer; 0 when nothing.
DWORD unoffered(DWORD flags, const char*& what) {
    if (flags & OFN_ENABLEHOOK) return what = "hook procedures are not offered", CDERR_NOHOOK;
    if (flags & (OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) {
        return what = "templates of the program's own are not offered", CDERR_NOTEMPLATE;
    }
    if (flags & OFN_ALLOWMULTISELECT) return what = "choosing several files at once is not offered", CDERR_INITIALIZATION;
    return 0;
}

// The folder to start in: the one of a path the caller put in the file buffer, else the initial
// folder, else the current directory. Only an existing folder counts.
std::string startFolder(const OPENFILENAMEA& ofn, const std::string& given) {
    const size_t slash = given.find_last_of("\\/:");
    if (slash != std::string::npos) {
        const std::optional<std::string> folder = files::fullPath(given.substr(0, slash + 1));
        if (folder && isFolder(*folder)) return *folder;
    }
    if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir) {
        const std::optional<std::string> folder = files::fullPath(ofn.lpstrInitialDir);
        if (folder && isFolder(*folder)) return *folder;
    }
    return currentFolder();
}

FileDialogState stateFor(const OPENFILENAMEA& ofn, bool save) {
    FileDialogState state;
    state.flags = ofn.Flags;
    state.save = save;
    state.caption = ofn.lpstrTitle && *ofn.lpstrTitle ? ofn.lpstrTitle : (save ? kSaveCaption : kOpenCaption);
    if (ofn.lpstrDefExt) state.defaultExtension = std::string(ofn.lpstrDefExt, strnlen(ofn.lpstrDefExt, 3));
    state.filters = readFilters(ofn.lpstrFilter);
    if (!state.filters.empty()) {
        state.filterIndex = ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= state.filters.size() ? ofn.nFilterIndex - 1 : 0;
        state.patterns = state.filters[state.filterIndex].patterns;
    }
    const std::string given(ofn.lpstrFile, strnlen(ofn.lpstrFile, ofn.nMaxFile));
    state.folder = startFolder(ofn, given);
    state.initialName = given.substr(given.find_last_of("\\/:") + 1);
    return state;
}

// The answer into the caller's record; FALSE when the path does not fit its buffer.
BOOL writeAnswer(OPENFILENAMEA& ofn, const FileDialogState& state, const char* call) {
    const std::string& path = state.chosen;
    if (path.size() + 1 > ofn.nMaxFile) {
        // The size needed, as a WORD in the buffer's first two bytes (when it has them).
        const size_t needed = path.size() + 1;
        if (ofn.nMaxFile >= 2) {
            ofn.lpstrFile[0] = static_cast<char>(needed & 0xFF);
            ofn.lpstrFile[1] = static_cast<char>((needed >> 8) & 0xFF);
        }
        return fail(call, FNERR_BUFFERTOOSMALL, "the chosen path needs " + std::to_string(needed) + " bytes");
    }
    std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
    const size_t nameAt = path.rfind('\\') + 1;
    const size_t dot = path.rfind('.');
    ofn.nFileOffset = static_cast<WORD>(nameAt);
    ofn.nFileExtension = static_cast<WORD>(dot != std::string::npos && dot >= nameAt ? dot + 1 : path.size());
    copyCut(path.substr(nameAt), ofn.lpstrFileTitle, ofn.nMaxFileTitle);
    if (!state.filters.empty()) ofn.nFilterIndex = static_cast<DWORD>(state.filterIndex + 1);
    if (state.flags & OFN_HIDEREADONLY) ofn.Flags &= ~static_cast<DWORD>(OFN_READONLY);
    else ofn.Flags = state.readOnly ? ofn.Flags | OFN_READONLY : ofn.Flags & ~static_cast<DWORD>(OFN_READONLY);
    const std::string extension = path.substr(ofn.nFileExtension);
    const bool different = !state.defaultExtension.empty() && cp1250::lower(extension) != cp1250::lower(state.defaultExtension);
    ofn.Flags = different ? ofn.Flags | OFN_EXTENSIONDIFFERENT : ofn.Flags & ~static_cast<DWORD>(OFN_EXTENSIONDIFFERENT);
    if (!(state.flags & OFN_NOCHANGEDIR)) SetCurrentDirectoryA(path.substr(0, nameAt).c_str());
    return TRUE;
}

BOOL runFileCall(LPOPENFILENAMEA ofn, bool save) {
    const char* call = save ? "GetSaveFileNameA" : "GetOpenFileNameA";
    clearExtendedError();
    if (!ofn) return fail(call, CDERR_INITIALIZATION, "no record");
    if (ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400A && ofn->lStructSize != sizeof(OPENFILENAMEA)) {
        return fail(call, CDERR_STRUCTSIZE, "lStructSize " + std::to_string(ofn->lStructSize) + " is no record size");
    }
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) return fail(call, CDERR_INITIALIZATION, "no file buffer");
    const char* what = nullptr;
    if (const DWORD code = unoffered(ofn->Flags, what)) return fail(call, code, what);
    FileDialogState state = stateFor(*ofn, save);
    const dialogs::TemplateBytes bytes = fileDialogTemplate(state.caption);
    const INT_PTR result = runCommonDialog(bytes, ofn->hwndOwner, fileDialogProcedure, reinterpret_cast<LPARAM>(&state),
                                           save ? "GetSaveFileName" : "GetOpenFileName");
    if (result < 0) return fail(call, CDERR_DIALOGFAILURE, "the dialog cannot be made");
    if (result != IDOK || state.chosen.empty()) return FALSE;
    return writeAnswer(*ofn, state, call);
}

}  // namespace
}  // namespace winplat::commdlg

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) { return winplat::commdlg::runFileCall(ofn, false); }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) { return winplat::commdlg::runFileCall(ofn, true); }
