/* The process-wide clipboard. Data handed to SetClipboardData belongs to the clipboard from then on.
 * CF_DIB and CF_BITMAP stand in for each other: asking for the one that was not set makes it from
 * the other. */
#ifndef WINPLAT_CLIPBOARD_H
#define WINPLAT_CLIPBOARD_H

#include "winplat/types.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8
/* A 4-byte LCID telling which locale CF_TEXT data were written in. */
#define CF_LOCALE 16

/* Sent to the clipboard's owner when its data goes: someone emptied it, or the desktop's text
 * replaced it. */
#define WM_DESTROYCLIPBOARD 0x0307

WINPLAT_BEGIN_C

/* FALSE while another owner (window) has it open. */
WINPLAT_API BOOL OpenClipboard(HWND owner);
WINPLAT_API BOOL CloseClipboard(void);
/* Frees all data; the opener becomes the owner. Only while open. */
WINPLAT_API BOOL EmptyClipboard(void);
/* Only while open; takes ownership of the handle (HGLOBAL, or HBITMAP for CF_BITMAP). Returns the
 * handle, NULL on failure (then the caller still owns it). */
WINPLAT_API HANDLE SetClipboardData(UINT format, HANDLE data);
/* Only while open; the handle stays the clipboard's. */
WINPLAT_API HANDLE GetClipboardData(UINT format);
WINPLAT_API BOOL IsClipboardFormatAvailable(UINT format);
/* The window that emptied the clipboard last (the opener of that time); NULL when that opener was
 * NULL, or when the data came from the desktop. */
WINPLAT_API HWND GetClipboardOwner(void);
/* A number that changes whenever the clipboard's contents do. */
WINPLAT_API DWORD GetClipboardSequenceNumber(void);

WINPLAT_END_C

#endif
