// PathMatchSpecA: the file dialogs' wildcard matching, offered to the programs.
#include "commdlg/file_patterns.h"
#include "winplat/shell.h"

BOOL PathMatchSpecA(LPCSTR file, LPCSTR spec) {
    if (!file || !spec) return FALSE;
    return winplat::commdlg::matchesAny(spec, file) ? TRUE : FALSE;
}
