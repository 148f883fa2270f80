/* Fonts and text output: logical fonts, their metrics, extents and character widths, and drawing
 * single-byte text on device contexts.
 *
 * Strings are bytes in the font's character set (Windows-1250 for the programs); the layer alone
 * turns them into characters of a face. */
#ifndef WINPLAT_TEXT_H
#define WINPLAT_TEXT_H

#include "winplat/draw.h"
#include "winplat/types.h"

#define LF_FACESIZE 32
#define LF_FULLFACESIZE 64

typedef struct tagLOGFONTA {
    LONG lfHeight; /* < 0: character (em) height; > 0: cell height; 0: the default size */
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;

/* What EnumFontFamiliesExA tells of a TrueType face: TEXTMETRICA's members, then the face's
 * style and its em, cell and average width in font units. */
typedef struct tagNEWTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
    DWORD ntmFlags;
    UINT ntmSizeEM;
    UINT ntmCellHeight;
    UINT ntmAvgWidth;
} NEWTEXTMETRICA, *LPNEWTEXTMETRICA;

/* The code pages (fsCsb[0]: bit 0 = 1252, 1 = 1250, 2 = 1251, 31 = symbol) and Unicode ranges a
 * face covers. */
typedef struct tagFONTSIGNATURE {
    DWORD fsUsb[4];
    DWORD fsCsb[2];
} FONTSIGNATURE, *LPFONTSIGNATURE;

typedef struct tagNEWTEXTMETRICEXA {
    NEWTEXTMETRICA ntmTm;
    FONTSIGNATURE ntmFontSig;
} NEWTEXTMETRICEXA;

typedef struct tagENUMLOGFONTEXA {
    LOGFONTA elfLogFont;
    BYTE elfFullName[LF_FULLFACESIZE];
    BYTE elfStyle[LF_FACESIZE];
    BYTE elfScript[LF_FACESIZE];
} ENUMLOGFONTEXA, *LPENUMLOGFONTEXA;

/* Called once for each family and character set; 'font' is an ENUMLOGFONTEXA and 'metrics' a
 * NEWTEXTMETRICEXA. Returning 0 stops the enumeration. */
typedef int(CALLBACK* FONTENUMPROCA)(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD fontType,
                                     LPARAM lParam);

typedef struct _ABC {
    int abcA;
    UINT abcB;
    int abcC;
} ABC, *LPABC;

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_EXTRALIGHT 200
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define RUSSIAN_CHARSET 204
#define EASTEUROPE_CHARSET 238

/* EnumFontFamiliesExA's font types. */
#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004

/* NEWTEXTMETRICA.ntmFlags */
#define NTM_ITALIC 0x00000001
#define NTM_BOLD 0x00000020
#define NTM_REGULAR 0x00000040

#define OUT_DEFAULT_PRECIS 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2

#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

/* tmPitchAndFamily: TMPF_FIXED_PITCH set means a variable-pitch font. */
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_BOTTOM 0x0008
#define DT_WORDBREAK 0x0010
#define DT_SINGLELINE 0x0020
#define DT_EXPANDTABS 0x0040
#define DT_NOCLIP 0x0100
#define DT_CALCRECT 0x0400
#define DT_NOPREFIX 0x0800

#define OBJ_FONT 6
#define SYSTEM_FONT 13

WINPLAT_BEGIN_C

/* Unsupported: escapement or orientation other than 0, a width other than 0, character sets other
 * than ANSI, DEFAULT (the system's, EASTEUROPE), SYMBOL, RUSSIAN and EASTEUROPE. Precision and quality are
 * preferences and change nothing. */
WINPLAT_API HFONT CreateFontIndirectA(const LOGFONTA* font);
WINPLAT_API HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                              DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                              DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                              LPCSTR faceName);

WINPLAT_API BOOL GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
/* Copies the face name of the selected font (cut to 'count' - 1 bytes) and returns the bytes
 * copied with the terminating zero; with a null buffer, the size the whole name needs. */
WINPLAT_API int GetTextFaceA(HDC dc, int count, LPSTR faceName);
/* The sum of the characters' advances plus the justification extras SetTextJustification still
 * has for the breaks in the string; cy is the font's cell height. */
WINPLAT_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
WINPLAT_API BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths);
WINPLAT_API BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, int* widths);
WINPLAT_API BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, LPABC widths);

/* Spreads 'extra' pixels over the next 'count' break characters (the space, never the no-break
 * space) that text output and extents meet: extra / count each, the remainder one more to each of
 * the first breaks. Drawing uses the breaks up, so the runs of one line share the remainder;
 * extra 0 (or count 0) ends the justification. Breaks past 'count' get extra / count. */
WINPLAT_API BOOL SetTextJustification(HDC dc, int extra, int count);
/* TA_UPDATECP only together with TA_LEFT. GDI_ERROR on failure. */
WINPLAT_API UINT SetTextAlign(HDC dc, UINT align);
WINPLAT_API UINT GetTextAlign(HDC dc);

/* Draws in the text colour; in OPAQUE background mode the character cells take the background
 * colour first. The font's underline and strike-out run the whole width of the text. */
WINPLAT_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
/* ETO_OPAQUE fills 'rect' with the background colour first, ETO_CLIPPED keeps the text inside it.
 * 'dx' gives each character's advance in place of the font's (justification is then not applied). */
WINPLAT_API BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                             const int* dx);

/* Formats text in a rectangle, whatever the DC's text alignment and justification: lines end at
 * CR, LF or CR LF (not with DT_SINGLELINE); DT_WORDBREAK breaks lines at spaces and tabs so that they
 * fit the width (a longer word keeps a line to itself), dropping the spaces at each break; tabs
 * with DT_EXPANDTABS stop every 8 average character widths; "&x" underlines x and "&&" is one "&"
 * unless DT_NOPREFIX; DT_VCENTER and DT_BOTTOM place a DT_SINGLELINE line. Lines are as high as
 * the cell; the text is clipped to the rectangle unless DT_NOCLIP. DT_CALCRECT draws nothing and
 * sets the rectangle's right edge to the widest line and its bottom to the last line. Returns the
 * text's height (with DT_VCENTER or DT_BOTTOM, the bottom of the text below the rectangle's top),
 * 0 on failure. 'count' -1: a zero-terminated string. */
WINPLAT_API int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);

/* Calls 'proc' once for each family and character set that match: an empty lfFaceName means every
 * family, else the family of that name (case-insensitive); DEFAULT_CHARSET means each character
 * set the family covers (ANSI first, then EASTEUROPE and RUSSIAN; SYMBOL for symbol faces), any
 * other value that character set alone. The stand-in names ("Arial", "Arial CE", "Times New
 * Roman", "Courier New", "Symbol", "Wingdings", "MS Sans Serif", ...) are families as well; fonts
 * added hidden through CreateScalableFontResourceA are not listed. Metrics are those of a 16-pixel
 * cell. Returns the last value 'proc' returned (1 when nothing matched), 0 on failure. 'flags'
 * must be 0. */
WINPLAT_API int EnumFontFamiliesExA(HDC dc, LPLOGFONTA font, FONTENUMPROCA proc, LPARAM lParam, DWORD flags);

/* Makes the faces of a TrueType or OpenType file, or of the font a scalable font resource file
 * (CreateScalableFontResourceA) names, available to CreateFontA by their family names, ahead of
 * every other font. Returns the number of faces added, 0 when the file is missing or no font.
 * Adding a file again counts: it takes as many RemoveFontResourceA calls to remove it. */
WINPLAT_API int AddFontResourceA(LPCSTR fileName);
/* FALSE when the file was not added. */
WINPLAT_API BOOL RemoveFontResourceA(LPCSTR fileName);
/* Every font the layer adds is this process's alone, so FR_PRIVATE (the one flag taken) changes
 * nothing: AddFontResourceExA is AddFontResourceA, RemoveFontResourceExA is RemoveFontResourceA.
 * Other flags (FR_NOT_ENUM) and a non-null 'reserved' are refused with ERROR_INVALID_PARAMETER. */
#define FR_PRIVATE 0x10
#define FR_NOT_ENUM 0x20
WINPLAT_API int AddFontResourceExA(LPCSTR fileName, DWORD flags, LPVOID reserved);
WINPLAT_API BOOL RemoveFontResourceExA(LPCSTR fileName, DWORD flags, LPVOID reserved);
/* Writes a scalable font resource file naming 'fontFile' (found in 'path' when that is given and
 * not empty); hidden 1 keeps the font out of EnumFontFamiliesExA. Fails with ERROR_FILE_EXISTS
 * when 'resourceFile' exists, and when the font file is missing or no font. */
WINPLAT_API BOOL CreateScalableFontResourceA(DWORD hidden, LPCSTR resourceFile, LPCSTR fontFile, LPCSTR path);

WINPLAT_END_C

#endif
