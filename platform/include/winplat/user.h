/* Windows and messages: classes, the window tree, window words, the message queue, timers.
 *
 * Window calls belong to the one UI thread (the first thread that creates a window or pumps
 * messages); only PostMessageA and PostThreadMessageA may come from any thread. */
#ifndef WINPLAT_USER_H
#define WINPLAT_USER_H

#include "winplat/draw.h"
#include "winplat/types.h"

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA, *LPWNDCLASSA;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA, *LPWNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagWINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
} WINDOWPOS, *LPWINDOWPOS;

typedef struct tagNCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
} NCCALCSIZE_PARAMS, *LPNCCALCSIZE_PARAMS;

typedef struct tagMINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
} MINMAXINFO, *LPMINMAXINFO;

typedef struct tagSTYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
} STYLESTRUCT, *LPSTYLESTRUCT;

typedef struct tagCOPYDATASTRUCT {
    ULONG_PTR dwData;
    DWORD cbData;
    LPVOID lpData;
} COPYDATASTRUCT, *PCOPYDATASTRUCT;

/* Window messages. */
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_GETMINMAXINFO 0x0024
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_COPYDATA 0x004A
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCRBUTTONDBLCLK 0x00A6
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#define WM_NCMBUTTONDBLCLK 0x00A9
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0108
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MBUTTONDBLCLK 0x0209
#define WM_MOUSEWHEEL 0x020A
#define WM_MOUSELAST 0x020A
#define WM_SIZING 0x0214
#define WM_CAPTURECHANGED 0x0215
#define WM_MOVING 0x0216
#define WM_ENTERSIZEMOVE 0x0231
#define WM_EXITSIZEMOVE 0x0232
#define WM_USER 0x0400
#define WM_APP 0x8000

/* Virtual keys, with the numbers Windows gives them. */
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE
#define VK_OEM_102 0xE2

/* Key flags of mouse messages (wParam), the wheel step, and the words of a wheel's wParam. */
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define WHEEL_DELTA 120
#define KF_ALTDOWN 0x2000
#define GET_WHEEL_DELTA_WPARAM(wParam) ((short)HIWORD(wParam))
#define GET_KEYSTATE_WPARAM(wParam) (LOWORD(wParam))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))

/* WM_NCHITTEST answers. */
#define HTERROR (-2)
#define HTTRANSPARENT (-1)
#define HTNOWHERE 0
#define HTCLIENT 1
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTGROWBOX 4
#define HTSIZE HTGROWBOX
#define HTMENU 5
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTMINBUTTON 8
#define HTMAXBUTTON 9
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTREDUCE HTMINBUTTON
#define HTZOOM HTMAXBUTTON
#define HTCLOSE 20

/* WM_MOUSEACTIVATE answers, WM_ACTIVATE kinds. */
#define MA_ACTIVATE 1
#define MA_ACTIVATEANDEAT 2
#define MA_NOACTIVATE 3
#define MA_NOACTIVATEANDEAT 4
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

/* System cursors (LoadCursorA with no module). */
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)

/* System icons (LoadIconA with no module). */
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDI_ERROR IDI_HAND
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_INFORMATION IDI_ASTERISK

/* DrawIconEx: what to draw, and at which size when none is given. */
#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_DEFAULTSIZE 0x0008

/* MessageBeep sounds. */
#define MB_OK 0x00000000L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK

/* WM_SIZE kinds, WM_SHOWWINDOW reasons. */
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#define SW_PARENTCLOSING 1
#define SW_PARENTOPENING 3

/* Window styles. */
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_ICONIC WS_MINIMIZE
#define WS_SIZEBOX WS_THICKFRAME
#define WS_CHILDWINDOW WS_CHILD
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_ACCEPTFILES 0x00000010L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_CONTROLPARENT 0x00010000L
#define WS_EX_STATICEDGE 0x00020000L

/* Class styles. */
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_OWNDC 0x0020
#define CS_CLASSDC 0x0040
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_SAVEBITS 0x0800
#define CS_BYTEALIGNCLIENT 0x1000
#define CS_BYTEALIGNWINDOW 0x2000
#define CS_GLOBALCLASS 0x4000

#define CW_USEDEFAULT ((int)0x80000000)
#define MAKEINTATOM(i) ((LPCSTR)((ULONG_PTR)((WORD)(i))))

#define HWND_DESKTOP ((HWND)0)
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)(LONG_PTR)-1)
#define HWND_NOTOPMOST ((HWND)(LONG_PTR)-2)

/* ShowWindow commands. */
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10
#define SW_FORCEMINIMIZE 11

/* SetWindowPos flags. */
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOREPOSITION SWP_NOOWNERZORDER
#define SWP_NOSENDCHANGING 0x0400
#define SWP_NOCLIENTSIZE 0x0800 /* set by the system in WM_WINDOWPOSCHANGED */
#define SWP_NOCLIENTMOVE 0x1000 /* set by the system in WM_WINDOWPOSCHANGED */
#define SWP_DEFERERASE 0x2000
#define SWP_ASYNCWINDOWPOS 0x4000

/* GetWindow relations. */
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

/* ChildWindowFromPointEx. */
#define CWP_ALL 0x0000
#define CWP_SKIPINVISIBLE 0x0001
#define CWP_SKIPDISABLED 0x0002
#define CWP_SKIPTRANSPARENT 0x0004

/* Window words and class words at negative indices. */
#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWLP_HINSTANCE GWL_HINSTANCE
#define GWLP_HWNDPARENT GWL_HWNDPARENT
#define GWLP_ID GWL_ID
#define GWLP_USERDATA GWL_USERDATA
#define GCL_MENUNAME (-8)
#define GCL_HBRBACKGROUND (-10)
#define GCL_HCURSOR (-12)
#define GCL_HICON (-14)
#define GCL_HMODULE (-16)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCL_WNDPROC (-24)
#define GCL_STYLE (-26)
#define GCW_ATOM (-32)
#define GCL_HICONSM (-34)
#define GCLP_HBRBACKGROUND GCL_HBRBACKGROUND
#define GCLP_HCURSOR GCL_HCURSOR
#define GCLP_HICON GCL_HICON
#define GCLP_WNDPROC GCL_WNDPROC

/* PeekMessageA. */
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

/* GetSystemMetrics. */
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_MOUSEPRESENT 19
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_SWAPBUTTON 23
#define SM_CXMIN 28
#define SM_CYMIN 29
#define SM_CXSIZE 30
#define SM_CYSIZE 31
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXMINTRACK 34
#define SM_CYMINTRACK 35
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXMINIMIZED 57
#define SM_CYMINIMIZED 58
#define SM_CXMAXTRACK 59
#define SM_CYMAXTRACK 60
#define SM_CXMAXIMIZED 61
#define SM_CYMAXIMIZED 62
#define SM_MOUSEWHEELPRESENT 75
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXSIZEFRAME SM_CXFRAME
#define SM_CYSIZEFRAME SM_CYFRAME

/* Painting. */
typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

/* GetDCEx. */
#define DCX_WINDOW 0x00000001L
#define DCX_CACHE 0x00000002L
#define DCX_CLIPCHILDREN 0x00000008L
#define DCX_CLIPSIBLINGS 0x00000010L
#define DCX_PARENTCLIP 0x00000020L
#define DCX_EXCLUDERGN 0x00000040L
#define DCX_INTERSECTRGN 0x00000080L

/* RedrawWindow. */
#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOINTERNALPAINT 0x0010
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400
#define RDW_NOFRAME 0x0800

/* ScrollWindowEx. */
#define SW_SCROLLCHILDREN 0x0001
#define SW_INVALIDATE 0x0002
#define SW_ERASE 0x0004

/* Scroll bars: which bar, the WM_HSCROLL/WM_VSCROLL codes, SCROLLINFO's parts, EnableScrollBar's
 * arrows. */
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
#define ESB_ENABLE_BOTH 0x0000
#define ESB_DISABLE_BOTH 0x0003
#define ESB_DISABLE_LEFT 0x0001
#define ESB_DISABLE_RIGHT 0x0002
#define ESB_DISABLE_UP 0x0001
#define ESB_DISABLE_DOWN 0x0002
#define ESB_DISABLE_LTUP ESB_DISABLE_LEFT
#define ESB_DISABLE_RTDN ESB_DISABLE_RIGHT

typedef struct tagSCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
} SCROLLINFO, *LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

/* WM_SYSCOMMAND commands (the low four bits of wParam are the system's own). */
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_NEXTWINDOW 0xF040
#define SC_PREVWINDOW 0xF050
#define SC_CLOSE 0xF060
#define SC_MOUSEMENU 0xF090
#define SC_KEYMENU 0xF100
#define SC_RESTORE 0xF120
#define SC_TASKLIST 0xF130
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8

/* DrawEdge: the raised and sunken lines of the 3-D look, the sides to draw and what else. */
#define BDR_RAISEDOUTER 0x0001
#define BDR_SUNKENOUTER 0x0002
#define BDR_RAISEDINNER 0x0004
#define BDR_SUNKENINNER 0x0008
#define BDR_OUTER (BDR_RAISEDOUTER | BDR_SUNKENOUTER)
#define BDR_INNER (BDR_RAISEDINNER | BDR_SUNKENINNER)
#define EDGE_RAISED (BDR_RAISEDOUTER | BDR_RAISEDINNER)
#define EDGE_SUNKEN (BDR_SUNKENOUTER | BDR_SUNKENINNER)
#define EDGE_ETCHED (BDR_SUNKENOUTER | BDR_RAISEDINNER)
#define EDGE_BUMP (BDR_RAISEDOUTER | BDR_SUNKENINNER)
#define BF_LEFT 0x0001
#define BF_TOP 0x0002
#define BF_RIGHT 0x0004
#define BF_BOTTOM 0x0008
#define BF_TOPLEFT (BF_TOP | BF_LEFT)
#define BF_BOTTOMRIGHT (BF_BOTTOM | BF_RIGHT)
#define BF_RECT (BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM)
#define BF_MIDDLE 0x0800
#define BF_SOFT 0x1000
#define BF_ADJUST 0x2000
#define BF_FLAT 0x4000
#define BF_MONO 0x8000

/* DrawFrameControl: caption buttons and scroll bar arrows, with their states. */
#define DFC_CAPTION 1
#define DFC_SCROLL 3
#define DFCS_CAPTIONCLOSE 0x0000
#define DFCS_CAPTIONMIN 0x0001
#define DFCS_CAPTIONMAX 0x0002
#define DFCS_CAPTIONRESTORE 0x0003
#define DFCS_SCROLLUP 0x0000
#define DFCS_SCROLLDOWN 0x0001
#define DFCS_SCROLLLEFT 0x0002
#define DFCS_SCROLLRIGHT 0x0003
#define DFCS_INACTIVE 0x0100
#define DFCS_PUSHED 0x0200
#define DFCS_FLAT 0x4000
#define DFCS_MONO 0x8000

/* System colours (the classic grey scheme); a class brush may be one of these + 1. */
#define COLOR_SCROLLBAR 0
#define COLOR_BACKGROUND 1
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_ACTIVECAPTION 2
#define COLOR_INACTIVECAPTION 3
#define COLOR_MENU 4
#define COLOR_WINDOW 5
#define COLOR_WINDOWFRAME 6
#define COLOR_MENUTEXT 7
#define COLOR_WINDOWTEXT 8
#define COLOR_CAPTIONTEXT 9
#define COLOR_ACTIVEBORDER 10
#define COLOR_INACTIVEBORDER 11
#define COLOR_APPWORKSPACE 12
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
#define COLOR_BTNFACE 15
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_BTNSHADOW 16
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_GRAYTEXT 17
#define COLOR_BTNTEXT 18
#define COLOR_INACTIVECAPTIONTEXT 19
#define COLOR_BTNHIGHLIGHT 20
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DDKSHADOW 21
#define COLOR_3DLIGHT 22
#define COLOR_INFOTEXT 23
#define COLOR_INFOBK 24
#define COLOR_HOTLIGHT 26
#define COLOR_GRADIENTACTIVECAPTION 27
#define COLOR_GRADIENTINACTIVECAPTION 28

/* Menus: item flags (MF_), what TrackPopupMenu(Ex) takes (TPM_), the menu messages. */
#define MF_INSERT 0x0000
#define MF_CHANGE 0x0080
#define MF_APPEND 0x0100
#define MF_DELETE 0x0200
#define MF_REMOVE 0x1000
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
#define MF_SEPARATOR 0x0800
#define MF_ENABLED 0x0000
#define MF_GRAYED 0x0001
#define MF_DISABLED 0x0002
#define MF_UNCHECKED 0x0000
#define MF_CHECKED 0x0008
#define MF_USECHECKBITMAPS 0x0200
#define MF_STRING 0x0000
#define MF_BITMAP 0x0004
#define MF_OWNERDRAW 0x0100
#define MF_POPUP 0x0010
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK 0x0040
#define MF_UNHILITE 0x0000
#define MF_HILITE 0x0080
#define MF_DEFAULT 0x1000
#define MF_SYSMENU 0x2000
#define MF_HELP 0x4000
#define MF_RIGHTJUSTIFY 0x4000
#define MF_MOUSESELECT 0x8000
#define MF_END 0x0080 /* the last item of a menu or drop-down in a menu template */
#define TPM_LEFTBUTTON 0x0000
#define TPM_RIGHTBUTTON 0x0002
#define TPM_LEFTALIGN 0x0000
#define TPM_CENTERALIGN 0x0004
#define TPM_RIGHTALIGN 0x0008
#define TPM_TOPALIGN 0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN 0x0020
#define TPM_HORIZONTAL 0x0000
#define TPM_VERTICAL 0x0040
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100
#define TPM_NOANIMATION 0x4000

typedef struct tagTPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

#define GMDI_USEDISABLED 0x0001
#define GMDI_GOINTOPOPUPS 0x0002

typedef struct {
    WORD versionNumber;
    WORD offset;
} MENUITEMTEMPLATEHEADER;
typedef void MENUTEMPLATEA;
typedef const void* LPCMENUTEMPLATEA;

#define WM_INITMENU 0x0116
#define WM_INITMENUPOPUP 0x0117
#define WM_MENUSELECT 0x011F
#define WM_MENUCHAR 0x0120
#define WM_ENTERIDLE 0x0121
#define WM_UNINITMENUPOPUP 0x0125
#define WM_CONTEXTMENU 0x007B
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212

/* Accelerators: fVirt flags of one entry. */
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

typedef struct tagACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;

/* Errors of window calls. */
#define ERROR_MESSAGE_SYNC_ONLY 1159L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_INVALID_MENU_HANDLE 1401L
#define ERROR_INVALID_ACCEL_HANDLE 1403L
#define ERROR_CHILD_WINDOW_MENU 1436L
#define ERROR_POPUP_ALREADY_ACTIVE 1446L
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#define ERROR_TLW_WITH_WSCHILD 1406L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_WINDOW_OF_OTHER_THREAD 1408L
#define ERROR_CLASS_ALREADY_EXISTS 1410L
#define ERROR_CLASS_DOES_NOT_EXIST 1411L
#define ERROR_CLASS_HAS_WINDOWS 1412L
#define ERROR_INVALID_INDEX 1413L
#define ERROR_INVALID_THREAD_ID 1444L
#define ERROR_NO_SYSTEM_RESOURCES 1450L

WINPLAT_BEGIN_C

/* Classes. Names are case-insensitive (cp1250) and process-wide; registering a name again fails
 * with ERROR_CLASS_ALREADY_EXISTS and leaves the first class as it was. */
WINPLAT_API ATOM RegisterClassA(const WNDCLASSA* wndClass);
WINPLAT_API ATOM RegisterClassExA(const WNDCLASSEXA* wndClass);
WINPLAT_API BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
WINPLAT_API BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wndClass);
WINPLAT_API BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, LPWNDCLASSEXA wndClass);
WINPLAT_API DWORD GetClassLongA(HWND window, int index);
WINPLAT_API DWORD SetClassLongA(HWND window, int index, LONG value);
WINPLAT_API ULONG_PTR GetClassLongPtrA(HWND window, int index);
WINPLAT_API ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value);
/* The name of the window's class as it was registered, cut to size - 1 characters and ended with a
 * zero; returns the characters copied, not counting the zero. 0 for a dead window
 * (ERROR_INVALID_WINDOW_HANDLE) or no buffer (ERROR_INVALID_PARAMETER). */
WINPLAT_API int GetClassNameA(HWND window, LPSTR buffer, int size);

/* Creating and destroying windows. */
WINPLAT_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                                 int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                                 LPVOID param);
#define CreateWindowA(className, windowName, style, x, y, width, height, parent, menu, instance, param) \
    CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param)
WINPLAT_API BOOL DestroyWindow(HWND window);

/* Placement and visibility. */
WINPLAT_API BOOL ShowWindow(HWND window, int command);
WINPLAT_API BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
WINPLAT_API BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
WINPLAT_API BOOL GetWindowRect(HWND window, LPRECT rect);
WINPLAT_API BOOL GetClientRect(HWND window, LPRECT rect);
WINPLAT_API BOOL ClientToScreen(HWND window, LPPOINT point);
WINPLAT_API BOOL ScreenToClient(HWND window, LPPOINT point);
WINPLAT_API int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
WINPLAT_API HWND WindowFromPoint(POINT point);

/* Rectangles: a rectangle holds the points with left <= x < right and top <= y < bottom, so one
 * whose right is not past its left (or bottom past its top) is empty. A call given no rectangle
 * fails; one whose result is empty writes the empty rectangle (0, 0, 0, 0). */
WINPLAT_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
WINPLAT_API BOOL SetRectEmpty(LPRECT rect);
WINPLAT_API BOOL CopyRect(LPRECT to, const RECT* from);
WINPLAT_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
WINPLAT_API BOOL InflateRect(LPRECT rect, int dx, int dy);
WINPLAT_API BOOL IsRectEmpty(const RECT* rect);
WINPLAT_API BOOL EqualRect(const RECT* a, const RECT* b);
WINPLAT_API BOOL PtInRect(const RECT* rect, POINT point);
/* The common part; FALSE (and the empty rectangle) when they do not overlap. */
WINPLAT_API BOOL IntersectRect(LPRECT to, const RECT* a, const RECT* b);
/* The smallest rectangle holding both, an empty one left out; FALSE when both are empty. */
WINPLAT_API BOOL UnionRect(LPRECT to, const RECT* a, const RECT* b);
/* 'from' less 'cut' when that is still a rectangle (the cut spans a whole side of it), else
 * 'from' unchanged; FALSE when nothing is left. */
WINPLAT_API BOOL SubtractRect(LPRECT to, const RECT* from, const RECT* cut);
WINPLAT_API HWND ChildWindowFromPoint(HWND parent, POINT point);
WINPLAT_API HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);

/* The tree. */
WINPLAT_API HWND GetDesktopWindow(void);
WINPLAT_API HWND GetParent(HWND window);
WINPLAT_API HWND SetParent(HWND child, HWND newParent);
WINPLAT_API HWND GetWindow(HWND window, UINT relation);
WINPLAT_API HWND GetTopWindow(HWND window);
WINPLAT_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
WINPLAT_API BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
WINPLAT_API HWND FindWindowA(LPCSTR className, LPCSTR windowName);
WINPLAT_API BOOL IsWindow(HWND window);
WINPLAT_API BOOL IsChild(HWND parent, HWND window);

/* State. */
WINPLAT_API BOOL IsWindowVisible(HWND window);
WINPLAT_API BOOL IsIconic(HWND window);
WINPLAT_API BOOL IsZoomed(HWND window);
WINPLAT_API BOOL EnableWindow(HWND window, BOOL enable);
WINPLAT_API BOOL IsWindowEnabled(HWND window);
WINPLAT_API HWND SetFocus(HWND window);
WINPLAT_API HWND GetFocus(void);
WINPLAT_API HWND SetCapture(HWND window);
WINPLAT_API HWND GetCapture(void);
WINPLAT_API BOOL ReleaseCapture(void);
WINPLAT_API HWND GetActiveWindow(void);
WINPLAT_API HWND SetActiveWindow(HWND window);
WINPLAT_API BOOL SetForegroundWindow(HWND window);
WINPLAT_API HWND GetForegroundWindow(void);

/* Text, words and properties. Window words at byte offsets stay as wide as the class declares
 * them; a pointer stored with SetWindowLongPtrA lives beside its 4-byte word (whose low half it
 * also writes) until a narrower write to that word drops it. */
WINPLAT_API BOOL SetWindowTextA(HWND window, LPCSTR text);
WINPLAT_API int GetWindowTextA(HWND window, LPSTR buffer, int size);
WINPLAT_API int GetWindowTextLengthA(HWND window);
WINPLAT_API WORD GetWindowWord(HWND window, int offset);
WINPLAT_API WORD SetWindowWord(HWND window, int offset, WORD value);
WINPLAT_API LONG GetWindowLongA(HWND window, int index);
WINPLAT_API LONG SetWindowLongA(HWND window, int index, LONG value);
WINPLAT_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
WINPLAT_API LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
WINPLAT_API BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
WINPLAT_API HANDLE GetPropA(HWND window, LPCSTR name);
WINPLAT_API HANDLE RemovePropA(HWND window, LPCSTR name);

/* Messages. A window procedure read with GetWindowLongA(GWL_WNDPROC) is a 32-bit stand-in that
 * only CallWindowProcA and SetWindowLongA understand. */
WINPLAT_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
WINPLAT_API void PostQuitMessage(int exitCode);
WINPLAT_API BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
WINPLAT_API BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
WINPLAT_API BOOL WaitMessage(void);
WINPLAT_API BOOL TranslateMessage(const MSG* message);
WINPLAT_API LRESULT DispatchMessageA(const MSG* message);
WINPLAT_API DWORD GetMessagePos(void);
WINPLAT_API LONG GetMessageTime(void);
WINPLAT_API BOOL InSendMessage(void);
WINPLAT_API UINT RegisterWindowMessageA(LPCSTR name);

/* Timers on the host clock. */
WINPLAT_API UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
WINPLAT_API BOOL KillTimer(HWND window, UINT_PTR id);

WINPLAT_API int GetSystemMetrics(int index);
/* Grows a client rectangle to the window rectangle a window of these styles needs around it:
 * borders and frames, client edges, the caption and, when 'menu', a one-line menu bar; scroll bars
 * are not counted. FALSE (ERROR_INVALID_PARAMETER) without a rectangle. */
WINPLAT_API BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
/* SystemParametersInfoA: the work area (the screen less bars; this desktop has none) and the
 * delay before a hovered item's sub-menu opens (a DWORD of milliseconds). */
#define SPI_GETWORKAREA 0x0030
#define SPI_GETMENUSHOWDELAY 0x006A
WINPLAT_API BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);
WINPLAT_API DWORD GetSysColor(int index);
/* A brush of the system colour that is never deleted (DeleteObject refuses it). */
WINPLAT_API HBRUSH GetSysColorBrush(int index);

/* Window DCs draw in client coordinates (window coordinates for GetWindowDC and DCX_WINDOW),
 * clipped to the window's visible region, and follow the window when it moves. Release each with
 * ReleaseDC (draw.h). */
WINPLAT_API HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
WINPLAT_API HDC GetWindowDC(HWND window);

/* Update regions and WM_PAINT. Coordinates are the window's client coordinates; a null
 * rectangle or region means the whole client area. Invalidating a window without
 * WS_CLIPCHILDREN invalidates the overlapped parts of its children too. */
WINPLAT_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
WINPLAT_API BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
WINPLAT_API BOOL ValidateRect(HWND window, const RECT* rect);
WINPLAT_API BOOL ValidateRgn(HWND window, HRGN region);
WINPLAT_API BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
WINPLAT_API int GetUpdateRgn(HWND window, HRGN region, BOOL erase);
WINPLAT_API BOOL UpdateWindow(HWND window);
WINPLAT_API BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
WINPLAT_API HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
WINPLAT_API BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

/* Scrolling a window's pixels; the result of ScrollWindowEx is the kind of the region left to
 * repaint (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR. */
WINPLAT_API BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip);
WINPLAT_API int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                               LPRECT updateRect, UINT flags);

/* The caret: one per thread, drawn by inverting its rectangle, blinking on the host clock. */
WINPLAT_API BOOL CreateCaret(HWND window, HBITMAP shape, int width, int height);
WINPLAT_API BOOL DestroyCaret(void);
WINPLAT_API BOOL ShowCaret(HWND window);
WINPLAT_API BOOL HideCaret(HWND window);
WINPLAT_API BOOL SetCaretPos(int x, int y);
WINPLAT_API BOOL GetCaretPos(LPPOINT point);
WINPLAT_API BOOL SetCaretBlinkTime(UINT milliseconds);
WINPLAT_API UINT GetCaretBlinkTime(void);

/* The keyboard as the program sees it. GetKeyState and GetKeyboardState give the keys as of the
 * input message last taken from the queue; GetAsyncKeyState the keys as they are now, its low bit
 * set when the key went down since the previous GetAsyncKeyState of it. */
WINPLAT_API SHORT GetKeyState(int virtualKey);
WINPLAT_API SHORT GetAsyncKeyState(int virtualKey);
WINPLAT_API BOOL GetKeyboardState(LPBYTE keys);
WINPLAT_API BOOL SetKeyboardState(LPBYTE keys);

/* The mouse: double-click time (ms; 0 sets the default, 500) and the pointer. */
WINPLAT_API UINT GetDoubleClickTime(void);
WINPLAT_API BOOL SetDoubleClickTime(UINT milliseconds);
WINPLAT_API BOOL GetCursorPos(LPPOINT point);
WINPLAT_API BOOL SetCursorPos(int x, int y);
WINPLAT_API BOOL ClipCursor(const RECT* rect);
WINPLAT_API BOOL GetClipCursor(LPRECT rect);

/* Cursors. LoadCursorA gives a module's cursor (RT_CURSOR, its hot spot stored with it) or, with
 * no module, a system cursor (IDC_); both are shared: the same handle every time, and
 * DestroyCursor leaves them. A cursor shows while the ShowCursor count is 0 or more. */
WINPLAT_API HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
WINPLAT_API HCURSOR CreateCursor(HINSTANCE instance, int hotX, int hotY, int width, int height, const void* andPlane,
                                 const void* xorPlane);
WINPLAT_API BOOL DestroyCursor(HCURSOR cursor);
/* A cursor from a .cur file (a Windows path): the picture nearest SM_CXCURSOR x SM_CYCURSOR with
 * the most colours, its colours and alpha kept; DestroyCursor frees it. Animated (.ani) files fail
 * with ERROR_NOT_SUPPORTED, damaged ones with ERROR_INVALID_DATA, a missing one with the error of
 * opening it. */
WINPLAT_API HCURSOR LoadCursorFromFileA(LPCSTR fileName);
WINPLAT_API HCURSOR SetCursor(HCURSOR cursor);
WINPLAT_API HCURSOR GetCursor(void);
WINPLAT_API int ShowCursor(BOOL show);

/* Icons: cursors without a hot spot (HICON and HCURSOR are one type, and each call takes both).
 * LoadIconA gives a module's icon (RT_ICON) or, with no module, a system icon (IDI_); both are
 * shared: the same handle every time, and DestroyIcon leaves them. */
WINPLAT_API HICON LoadIconA(HINSTANCE instance, LPCSTR name);
WINPLAT_API BOOL DestroyIcon(HICON icon);
/* A new icon of the same picture, its own to destroy. */
WINPLAT_API HICON CopyIcon(HICON icon);
/* Draws the icon with its top left corner at (x, y) at the size SM_CXICON x SM_CYICON: the AND
 * mask clears what the picture covers, then the picture is XOR-ed on. */
WINPLAT_API BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
/* Draws the icon stretched to width x height (0: the picture's own size, or SM_CXICON and
 * SM_CYICON with DI_DEFAULTSIZE). DI_NORMAL draws as DrawIcon does; DI_MASK alone copies the mask
 * (black where the picture covers, white elsewhere) and DI_IMAGE alone copies the picture. A
 * brush first fills the rectangle, as the background the icon is drawn over. Frames of animated
 * cursors do not exist here: 'step' must be 0. */
WINPLAT_API BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH background,
                            UINT flags);

/* A module's bitmap resource (RT_BITMAP) as a new bitmap of the screen's format, the caller's to
 * delete. Damaged resources fail with ERROR_INVALID_DATA, missing ones with
 * ERROR_RESOURCE_NAME_NOT_FOUND; the layer keeps no system bitmaps (a NULL module fails). */
WINPLAT_API HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);

WINPLAT_API BOOL MessageBeep(UINT type);

/* Window scroll bars (SB_HORZ, SB_VERT; SB_BOTH where a call takes it). The position is kept
 * within nMin .. nMax - max(nPage - 1, 0); a bar whose range no longer scrolls is hidden, or
 * drawn disabled when SIF_DISABLENOSCROLL asks. The bars never move their own position: the
 * program does, answering WM_HSCROLL and WM_VSCROLL. */
WINPLAT_API int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
WINPLAT_API BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
WINPLAT_API int SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
WINPLAT_API int GetScrollPos(HWND window, int bar);
WINPLAT_API BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw);
WINPLAT_API BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos);
WINPLAT_API BOOL ShowScrollBar(HWND window, int bar, BOOL show);
WINPLAT_API BOOL EnableScrollBar(HWND window, UINT bars, UINT arrows);

/* The 3-D look's edges and frame controls, as the window frames draw them. */
WINPLAT_API BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
WINPLAT_API BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

/* Menus. Texts are cp1250 with '&' before the mnemonic and '\t' before a right-aligned key text.
 * Calls taking an item take MF_BYCOMMAND (the id, looked for in sub-menus too) or MF_BYPOSITION.
 * DestroyMenu and DeleteMenu destroy the sub-menus they reach; RemoveMenu leaves its sub-menu
 * alive for the caller. ModifyMenuA with MF_POPUP and the item's own sub-menu keeps that
 * sub-menu; replacing a sub-menu by anything else destroys it. */
WINPLAT_API HMENU CreateMenu(void);
WINPLAT_API HMENU CreatePopupMenu(void);
WINPLAT_API BOOL DestroyMenu(HMENU menu);
WINPLAT_API BOOL IsMenu(HMENU menu);
WINPLAT_API BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
WINPLAT_API BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
WINPLAT_API BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR newItem);
WINPLAT_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
WINPLAT_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
WINPLAT_API int GetMenuItemCount(HMENU menu);
WINPLAT_API UINT GetMenuItemID(HMENU menu, int position);
WINPLAT_API HMENU GetSubMenu(HMENU menu, int position);
WINPLAT_API int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
WINPLAT_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
WINPLAT_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
WINPLAT_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
WINPLAT_API BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
WINPLAT_API UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
/* A menu from a MENUITEMTEMPLATE: the header, then items of WORD option, WORD id (not for
 * MF_POPUP) and a zero-ended UTF-16 text; MF_END marks the last item of each level. */
WINPLAT_API HMENU LoadMenuIndirectA(const void* menuTemplate);
/* The module's RT_MENU resource of that name (MAKEINTRESOURCEA, "#123" or a text), read within
 * its size; NULL module: the program. */
WINPLAT_API HMENU LoadMenuA(HINSTANCE instance, LPCSTR name);
/* The menu bar of a top-level window; SetMenu recalculates the frame and the old menu stays the
 * caller's. DestroyWindow destroys the menu the window has then. A press on the bar, F10, Alt
 * alone and Alt+mnemonic open a drop-down (WM_INITMENU first; F10 and Alt open the first live
 * one), Left and Right move along the bar; the command is posted as WM_COMMAND. A host answerer
 * sees each drop-down as a PopupMenu loop named by its bar label without '&', the system menu as
 * one named "system". */
WINPLAT_API HMENU GetMenu(HWND window);
WINPLAT_API BOOL SetMenu(HWND window, HMENU menu);
WINPLAT_API BOOL DrawMenuBar(HWND window);
/* The window's own copy of the system menu (Obnovit, Přesunout, Velikost, Minimalizovat,
 * Maximalizovat, Zavřít), made on first use; revert drops the copy and gives null. */
WINPLAT_API HMENU GetSystemMenu(HWND window, BOOL revert);

/* A drop-down menu at a screen point, aligned to it by the TPM_ flags and kept on the screen,
 * tracked with the mouse and the keyboard until an item is chosen or the menu is cancelled (Esc,
 * a press outside it). The chosen command comes back with TPM_RETURNCMD, else as a posted
 * WM_COMMAND to the window; TPM_NONOTIFY sends no WM_INITMENUPOPUP, WM_MENUSELECT or command.
 * Sub-menus open beside their item (Right, Enter, a click or the mnemonic; Left and Esc close
 * them alone). A host answerer sees each level's loop as a PopupMenu named by its first label
 * (a sub-menu by its item's label), without '&'; its result is the command chosen (it may lie in
 * a sub-menu), 0 to cancel every level. The exclusion rectangle of TrackPopupMenuEx is not used. */
WINPLAT_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND window, const RECT* unused);
WINPLAT_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, LPTPMPARAMS params);

/* Accelerator tables. TranslateAcceleratorA turns a key or character message matching an entry
 * into WM_COMMAND (WM_SYSCOMMAND for a command of the system menu) with 1 in the high word of
 * wParam; a command whose menu item is disabled or grey is swallowed without being sent. */
WINPLAT_API HACCEL CreateAcceleratorTableA(LPACCEL entries, int count);
/* The module's RT_ACCELERATOR resource of that name: its 8-byte entries up to the one marked
 * last (0x80), which must lie within the resource; NULL module: the program. */
WINPLAT_API HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
WINPLAT_API BOOL DestroyAcceleratorTable(HACCEL table);
WINPLAT_API int CopyAcceleratorTableA(HACCEL table, LPACCEL entries, int count);
WINPLAT_API int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message);

WINPLAT_END_C

#endif
