/* The layer's controls: their styles, messages and notifications, with the Windows values, a
 * block per control. The classes are built in: each is there the first time a window of it is
 * made. */
#ifndef WINPLAT_CONTROLS_H
#define WINPLAT_CONTROLS_H

#include "winplat/user.h"

/* What controls share: the parent's colour question and the dialog manager's key question. */
#define WM_NOTIFY 0x004E
#define WM_GETDLGCODE 0x0087
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define DLGC_WANTARROWS 0x0001

typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

/* InitCommonControls(Ex): the trackbar and the up-down control are built in, so both only
 * answer that they are there. */
typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;
#define ICC_BAR_CLASSES 0x00000004
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_WIN95_CLASSES 0x000000FF
WINPLAT_API void InitCommonControls(void);
WINPLAT_API BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

/* SCROLLBAR: a bar filling the control, telling its parent with WM_HSCROLL/WM_VSCROLL (lParam the
 * control). Its range starts empty (0 .. 0). */
#define SBS_HORZ 0x0000
#define SBS_VERT 0x0001
#define SBS_SIZEBOX 0x0008
#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_ENABLE_ARROWS 0x00E4
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

/* Trackbar ("msctls_trackbar32"): a thumb on a channel with tick marks, telling its parent with
 * WM_HSCROLL (WM_VSCROLL when vertical) and a TB_ code, lParam the control. */
#define TRACKBAR_CLASSA "msctls_trackbar32"
#define TBS_HORZ 0x0000
#define TBS_AUTOTICKS 0x0001
#define TBS_VERT 0x0002
#define TBS_TOP 0x0004
#define TBS_LEFT 0x0004
#define TBS_BOTTOM 0x0000
#define TBS_RIGHT 0x0000
#define TBS_BOTH 0x0008
#define TBS_NOTICKS 0x0010
#define TBS_ENABLESELRANGE 0x0020
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_GETTIC (WM_USER + 3)
#define TBM_SETTIC (WM_USER + 4)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TBM_CLEARTICS (WM_USER + 9)
#define TBM_SETSEL (WM_USER + 10)
#define TBM_SETSELSTART (WM_USER + 11)
#define TBM_SETSELEND (WM_USER + 12)
#define TBM_GETNUMTICS (WM_USER + 16)
#define TBM_GETSELSTART (WM_USER + 17)
#define TBM_GETSELEND (WM_USER + 18)
#define TBM_CLEARSEL (WM_USER + 19)
#define TBM_SETTICFREQ (WM_USER + 20)
#define TBM_SETPAGESIZE (WM_USER + 21)
#define TBM_GETPAGESIZE (WM_USER + 22)
#define TBM_SETLINESIZE (WM_USER + 23)
#define TBM_GETLINESIZE (WM_USER + 24)
#define TBM_GETTHUMBRECT (WM_USER + 25)
#define TBM_GETCHANNELRECT (WM_USER + 26)
#define TB_LINEUP 0
#define TB_LINEDOWN 1
#define TB_PAGEUP 2
#define TB_PAGEDOWN 3
#define TB_THUMBPOSITION 4
#define TB_THUMBTRACK 5
#define TB_TOP 6
#define TB_BOTTOM 7
#define TB_ENDTRACK 8

/* Up-down ("msctls_updown32"): two arrows stepping a position, optionally shown as the text of a
 * buddy window; asks its parent first with WM_NOTIFY UDN_DELTAPOS (NMUPDOWN; a nonzero answer
 * cancels), then tells it with WM_VSCROLL (WM_HSCROLL with UDS_HORZ) and SB_THUMBPOSITION. */
#define UPDOWN_CLASSA "msctls_updown32"
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UD_MAXVAL 0x7FFF
#define UD_MINVAL (-UD_MAXVAL)
#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)
#define UDN_FIRST (0U - 721U)
#define UDN_DELTAPOS (UDN_FIRST - 1U)

typedef struct tagNMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
} NMUPDOWN, *LPNMUPDOWN;

#endif
