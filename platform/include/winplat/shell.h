/* Choosing a folder, and the item lists and task memory that come with it; opening a document,
 * an address or a program.
 *
 * SHBrowseForFolderA shows a plain dialog of the layer's own with Czech texts: the caller's
 * title, the current folder, its subfolders, a name edit and the drives. A host answerer sees
 * its loop as a CommonDialog named "SHBrowseForFolder", cancelled with IDCANCEL. Every folder it
 * offers is a folder of the file system, so BIF_RETURNONLYFSDIRS always holds.
 *
 * An item list here names one folder by its Windows path; it is task memory, freed with
 * CoTaskMemFree or the IMalloc of SHGetMalloc. */
#ifndef WINPLAT_SHELL_H
#define WINPLAT_SHELL_H

#include "winplat/ole.h"
#include "winplat/types.h"
#include "winplat/user.h"

#pragma pack(push, 1)
typedef struct _SHITEMID {
    USHORT cb; /* the item's size with this field; 0 ends the list */
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
#pragma pack(pop)
typedef const ITEMIDLIST* LPCITEMIDLIST;

typedef int(CALLBACK* BFFCALLBACK)(HWND, UINT, LPARAM, LPARAM);

typedef struct _browseinfoA {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;  /* the folder above which the browser does not go; NULL: none */
    LPSTR pszDisplayName;    /* out: the chosen folder's name (MAX_PATH bytes) */
    LPCSTR lpszTitle;        /* shown above the folders */
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOA, *LPBROWSEINFOA;

#define BIF_RETURNONLYFSDIRS 0x0001
#define BIF_DONTGOBELOWDOMAIN 0x0002
#define BIF_STATUSTEXT 0x0004
#define BIF_RETURNFSANCESTORS 0x0008
#define BIF_EDITBOX 0x0010
#define BIF_BROWSEFORCOMPUTER 0x1000
#define BIF_BROWSEFORPRINTER 0x2000
#define BIF_BROWSEINCLUDEFILES 0x4000

/* The task allocator's slots in their order. */
struct WINPLAT_API IMalloc {
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual void* Alloc(SIZE_T size) = 0;
    virtual void* Realloc(void* block, SIZE_T size) = 0;
    virtual void Free(void* block) = 0;
    virtual SIZE_T GetSize(void* block) = 0;
    virtual int DidAlloc(void* block) = 0;
    virtual void HeapMinimize() = 0;

protected:
    virtual ~IMalloc() = default;
};

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

WINPLAT_BEGIN_C

/* Opens 'file' (the verb is NULL or "open"): an address ("http:...", "mailto:...", any
 * "scheme:..." and "www....") or a document goes to the desktop's opener, xdg-open, found on the
 * host's PATH; a program starts with the parameters as its command line, in 'directory' when one
 * is given (winplat/process.h says how it is found and started). Above 32 when it was handed over;
 * otherwise SE_ERR_FNF, SE_ERR_PNF, SE_ERR_ACCESSDENIED, ERROR_BAD_FORMAT, SE_ERR_NOASSOC (no
 * opener on the host) or 0 (out of resources). The show command does not reach host programs. */
WINPLAT_API HINSTANCE ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show);

/* The chosen folder's item list; NULL on cancel, or when the browser cannot be shown (a callback
 * and computers or printers to browse are not offered). */
WINPLAT_API LPITEMIDLIST SHBrowseForFolderA(LPBROWSEINFOA info);
/* The folder's Windows path into 'path' (MAX_PATH bytes); FALSE (and an empty path) for an item
 * list that names no folder of ours or whose path does not fit. */
WINPLAT_API BOOL SHGetPathFromIDListA(LPCITEMIDLIST list, LPSTR path);
/* The task allocator (one for the process; Release does not free it). */
WINPLAT_API HRESULT SHGetMalloc(IMalloc** allocator);
WINPLAT_API LPVOID CoTaskMemAlloc(SIZE_T size);
WINPLAT_API LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T size);
WINPLAT_API void CoTaskMemFree(LPVOID block);
/* Whether a file name matches a wildcard or a ';'-separated list of them (blanks around each are
 * ignored), as the file dialogs match their filters: '*' any run, '?' one character, letters
 * without regard to case (cp1250), and a trailing ".*" also taking a name without an extension.
 * The whole name is matched; a null name or spec matches nothing. */
WINPLAT_API BOOL PathMatchSpecA(LPCSTR file, LPCSTR spec);

WINPLAT_END_C

#endif
