/* The common dialogs: choosing a file to open or a name to save under, a colour, a printer.
 *
 * Each is a plain modal dialog of the layer's own with Czech texts. A host answerer sees its loop
 * as a CommonDialog named "GetOpenFileName", "GetSaveFileName", "ChooseColor", "PrintDlg" or
 * "PrintSetupDlg", cancelled with
 * IDCANCEL. A call that fails or is cancelled returns FALSE; CommDlgExtendedError then tells
 * which (0 for a cancel).
 *
 * The records keep the Windows field order. Programs written for 32-bit Windows give the record's
 * size there (76 bytes for OPENFILENAMEA, 36 for CHOOSECOLORA); that size and the size of the
 * record here are both accepted. */
#ifndef WINPLAT_COMMDLG_H
#define WINPLAT_COMMDLG_H

#include "winplat/types.h"
#include "winplat/user.h"

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;        /* pairs of zero-terminated texts (description, patterns), an empty text ends them */
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;        /* 1 for the first pair */
    LPSTR lpstrFile;           /* in: a name or path to start with; out: the chosen path */
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;      /* out: the chosen name without its folder */
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;        /* added (after a '.') to a name typed without an extension */
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
} OPENFILENAMEA, *LPOPENFILENAMEA;

/* The record's size in the 32-bit programs. */
#define OPENFILENAME_SIZE_VERSION_400A 76

#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_SHOWHELP 0x00000010
#define OFN_ENABLEHOOK 0x00000020
#define OFN_ENABLETEMPLATE 0x00000040
#define OFN_ENABLETEMPLATEHANDLE 0x00000080
#define OFN_NOVALIDATE 0x00000100
#define OFN_ALLOWMULTISELECT 0x00000200
#define OFN_EXTENSIONDIFFERENT 0x00000400
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_CREATEPROMPT 0x00002000
#define OFN_SHAREAWARE 0x00004000
#define OFN_NOREADONLYRETURN 0x00008000
#define OFN_NOTESTFILECREATE 0x00010000
#define OFN_EXPLORER 0x00080000

typedef struct tagCHOOSECOLORA {
    DWORD lStructSize;
    HWND hwndOwner;
    HWND hInstance;
    COLORREF rgbResult;
    COLORREF* lpCustColors;    /* 16 colours, read and written back */
    DWORD Flags;
    LPARAM lCustData;
    LPCCHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
} CHOOSECOLORA, *LPCHOOSECOLORA;

#define CHOOSECOLOR_SIZE_32BIT 36

#define CC_RGBINIT 0x00000001
#define CC_FULLOPEN 0x00000002
#define CC_PREVENTFULLOPEN 0x00000004
#define CC_SHOWHELP 0x00000008
#define CC_ENABLEHOOK 0x00000010
#define CC_ENABLETEMPLATE 0x00000020
#define CC_ENABLETEMPLATEHANDLE 0x00000040
#define CC_SOLIDCOLOR 0x00000080
#define CC_ANYCOLOR 0x00000100

/* Printer settings as a program keeps them between print dialogs, each in a global block. */
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
typedef struct _devicemodeA {
    BYTE dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPaperLength;
    short dmPaperWidth;
    short dmScale;
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality;  /* dots per inch across */
    short dmColor;
    short dmDuplex;
    short dmYResolution;   /* dots per inch down */
    short dmTTOption;
    short dmCollate;
    BYTE dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
} DEVMODEA, *LPDEVMODEA;

#define DM_SPECVERSION 0x0400
#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_COPIES 0x00000100L
#define DM_PRINTQUALITY 0x00000400L
#define DM_YRESOLUTION 0x00002000L
#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2
#define DMPAPER_LETTER 1
#define DMPAPER_A4 9

/* Offsets (in characters from the record's start) of the driver, device and output names. */
typedef struct tagDEVNAMES {
    WORD wDriverOffset;
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault;
} DEVNAMES, *LPDEVNAMES;
#define DN_DEFAULTPRN 0x0001

typedef UINT_PTR(CALLBACK* LPPRINTHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK* LPSETUPHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagPDA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;   /* a DEVMODEA; made when NULL, written in place otherwise */
    HGLOBAL hDevNames;  /* a DEVNAMES; the same */
    HDC hDC;            /* out with PD_RETURNDC: the printer's page */
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPSETUPHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGA, *LPPRINTDLGA;

#define PRINTDLG_SIZE_32BIT 66

#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_COLLATE 0x00000010
#define PD_PRINTTOFILE 0x00000020
#define PD_PRINTSETUP 0x00000040
#define PD_NOWARNING 0x00000080
#define PD_RETURNDC 0x00000100
#define PD_RETURNIC 0x00000200
#define PD_RETURNDEFAULT 0x00000400
#define PD_SHOWHELP 0x00000800
#define PD_ENABLEPRINTHOOK 0x00001000
#define PD_ENABLESETUPHOOK 0x00002000
#define PD_ENABLEPRINTTEMPLATE 0x00004000
#define PD_ENABLESETUPTEMPLATE 0x00008000
#define PD_ENABLEPRINTTEMPLATEHANDLE 0x00010000
#define PD_ENABLESETUPTEMPLATEHANDLE 0x00020000
#define PD_USEDEVMODECOPIES 0x00040000
#define PD_DISABLEPRINTTOFILE 0x00080000
#define PD_HIDEPRINTTOFILE 0x00100000

#define PDERR_SETUPFAILURE 0x1001
#define PDERR_PARSEFAILURE 0x1002
#define PDERR_RETDEFFAILURE 0x1003
#define PDERR_LOADDRVFAILURE 0x1004
#define PDERR_GETDEVMODEFAIL 0x1005
#define PDERR_INITFAILURE 0x1006
#define PDERR_NODEVICES 0x1007
#define PDERR_NODEFAULTPRN 0x1008
#define PDERR_DNDMMISMATCH 0x1009
#define PDERR_CREATEICFAILURE 0x100A
#define PDERR_PRINTERNOTFOUND 0x100B

/* CommDlgExtendedError. */
#define CDERR_DIALOGFAILURE 0xFFFF
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_NOTEMPLATE 0x0003
#define CDERR_NOHINSTANCE 0x0004
#define CDERR_LOADSTRFAILURE 0x0005
#define CDERR_FINDRESFAILURE 0x0006
#define CDERR_LOADRESFAILURE 0x0007
#define CDERR_LOCKRESFAILURE 0x0008
#define CDERR_MEMALLOCFAILURE 0x0009
#define CDERR_MEMLOCKFAILURE 0x000A
#define CDERR_NOHOOK 0x000B
#define FNERR_SUBCLASSFAILURE 0x3001
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003
#define CCERR_CHOOSECOLORCODES 0x5000

WINPLAT_BEGIN_C

/* FALSE on cancel or failure. A path longer than nMaxFile - 1 fails with FNERR_BUFFERTOOSMALL and
 * the size it needs (a WORD) in the first two bytes of lpstrFile. Hooks, templates and several
 * files at once are not offered: those flags fail with CDERR_NOHOOK / CDERR_NOTEMPLATE /
 * CDERR_INITIALIZATION. */
WINPLAT_API BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn);
WINPLAT_API BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn);
WINPLAT_API BOOL ChooseColorA(LPCHOOSECOLORA cc);
/* The print dialog (PD_PRINTSETUP: the setup dialog) over the virtual printers "PNG" and "PDF"
 * (A4 or Letter, portrait or landscape, 300 dpi unless the given DEVMODEA says otherwise). A hook
 * gets every message before the dialog's own handling (WM_INITDIALOG after it, with lParam the
 * record) and a nonzero answer ends that handling; a template of the program's own (a resource or
 * a handle) must keep the standard controls' ids of winplat/dlgs.h. PD_RETURNDC gives a blank
 * 24-bit page of the printer's size and resolution. */
WINPLAT_API BOOL PrintDlgA(LPPRINTDLGA pd);
/* The reason the last common dialog call of this thread returned FALSE; 0 after a cancel. */
WINPLAT_API DWORD CommDlgExtendedError(void);

WINPLAT_END_C

#endif
