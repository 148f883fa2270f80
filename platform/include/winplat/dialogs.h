/* Dialog boxes and message boxes.
 *
 * A dialog is made from a DLGTEMPLATE (a module's RT_DIALOG resource or bytes built in memory):
 * its window of the dialog class "#32770" (or the template's class), sized in dialog units of the
 * template's font (DS_SETFONT; else the system font), and its controls in template order, each
 * sent WM_SETFONT. A control whose class nobody registered fails the dialog unless
 * DS_NOFAILCREATE. The dialog procedure answers TRUE for what it handled, with the message's
 * result in DWL_MSGRESULT; WM_INITDIALOG's TRUE puts the focus on the first tab stop.
 *
 * DialogBox... runs the dialog modally: its owner is disabled while a nested loop passes every
 * message through IsDialogMessageA, until EndDialog gives the result; then the owner is enabled
 * and activated again. A host answerer sees the loop as a Dialog named by the template's name
 * ("#123" for a number; the caption for DialogBoxIndirectParamA), cancelled with IDCANCEL.
 *
 * IsDialogMessageA: Tab and Shift+Tab move over WS_TABSTOP controls, the arrows within a WS_GROUP
 * group (radio buttons are clicked as the focus reaches them), Enter presses the focused push
 * button or else the default one (DM_GETDEFID, else IDOK), Esc sends IDCANCEL, Alt+letter (and the
 * letter alone when the focused control takes no characters) goes to the control whose text has
 * that '&' mnemonic, F1 sends WM_HELP with a HELPINFO. A control that asks for keys through
 * WM_GETDLGCODE gets them. */
#ifndef WINPLAT_DIALOGS_H
#define WINPLAT_DIALOGS_H

#include "winplat/controls.h"
#include "winplat/types.h"
#include "winplat/user.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

/* The template's fixed parts, as stored (2-byte packing: the items follow DWORD-aligned). */
#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE, *LPDLGTEMPLATEA;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEA;

typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)

/* The dialog class's window words: DWL_MSGRESULT, DWL_DLGPROC and DWL_USER (pointer-wide when
 * written with SetWindowLongPtrA); a class of the program's own for dialogs reserves
 * DLGWINDOWEXTRA bytes. */
#define DWL_MSGRESULT 0
#define DWL_DLGPROC 4
#define DWL_USER 8
#define DWLP_MSGRESULT DWL_MSGRESULT
#define DWLP_DLGPROC DWL_DLGPROC
#define DWLP_USER DWL_USER
#define DLGWINDOWEXTRA 30

/* GetDlgItem and the other item calls fail with this for an id no control has. */
#define ERROR_CONTROL_ID_NOT_FOUND 1421L

/* Dialog messages. */
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

/* Command ids of the standard buttons; MessageBoxA returns them. */
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

/* WM_HELP's lParam. */
#define HELPINFO_WINDOW 0x0001
#define HELPINFO_MENUITEM 0x0002
typedef struct tagHELPINFO {
    UINT cbSize;
    int iContextType;
    int iCtrlId;
    HANDLE hItemHandle;
    DWORD_PTR dwContextId;
    POINT MousePos;
} HELPINFO, *LPHELPINFO;

/* MessageBoxA: the button sets, the default button, the modality (the other flags and the icons
 * are in user.h). */
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_MODEMASK 0x00003000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

WINPLAT_BEGIN_C

WINPLAT_API HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                                    LPARAM param);
WINPLAT_API HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND owner,
                                            DLGPROC procedure, LPARAM param);
#define CreateDialogA(instance, name, owner, procedure) CreateDialogParamA(instance, name, owner, procedure, 0)
/* -1 when the dialog cannot be made. */
WINPLAT_API INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                                    LPARAM param);
WINPLAT_API INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND owner,
                                            DLGPROC procedure, LPARAM param);
#define DialogBoxA(instance, name, owner, procedure) DialogBoxParamA(instance, name, owner, procedure, 0)
WINPLAT_API BOOL EndDialog(HWND dialog, INT_PTR result);
WINPLAT_API LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API BOOL IsDialogMessageA(HWND dialog, LPMSG message);

/* Dialog units to pixels of the dialog's font: x * base width / 4, y * base height / 8. */
WINPLAT_API BOOL MapDialogRect(HWND dialog, LPRECT rect);
/* The base units of the classic dialog font ("MS Sans Serif" 8), width in the low word. */
WINPLAT_API LONG GetDialogBaseUnits(void);

WINPLAT_API HWND GetDlgItem(HWND dialog, int id);
WINPLAT_API int GetDlgCtrlID(HWND control);
WINPLAT_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
WINPLAT_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size);
/* The control's text as a decimal number (signed when asked), leading blanks skipped; *translated
 * is FALSE (and the result 0) for no number, a trailing non-digit or a value out of range. */
WINPLAT_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
WINPLAT_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
WINPLAT_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
WINPLAT_API UINT IsDlgButtonChecked(HWND dialog, int id);
/* Checks 'check' and unchecks the other buttons from 'first' to 'last' (ids, inclusive). */
WINPLAT_API BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
/* The next (previous) visible, enabled WS_TABSTOP control after 'control' in tab order, wrapping;
 * 'control' itself when there is no other. */
WINPLAT_API HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
/* The next (previous) visible, enabled control of the control's WS_GROUP group, wrapping. */
WINPLAT_API HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

/* A modal message box with the Czech button texts, owned by 'owner' (disabled meanwhile); the
 * icon's sound plays as it opens. The caption is "Chyba" when none is given. Returns the id of
 * the button pressed (IDOK...IDNO); Esc gives IDCANCEL when the box has a Cancel button (and
 * IDOK for MB_OK), else nothing. 0 when the box cannot be shown. A host answerer sees a
 * MessageBox loop named by the text. */
WINPLAT_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
WINPLAT_API int MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD languageId);

WINPLAT_END_C

#endif
