/* The media control interface over files: waveaudio devices over WAV files (PCM, 8 or 16 bits),
 * and digital video and MPEG devices over what FFmpeg's libraries read (MP3, AVI, MPEG, QuickTime).
 * A device is opened, played (waiting or with a notification to a window), paused, stopped, moved
 * by a seek, asked for its mode, length and position (milliseconds, or frames for video), and
 * closed. Playing keeps time on the host clock; the sound goes to the host's audio device, and
 * without one the device plays silent at the same pace. */
#ifndef WINPLAT_MCI_H
#define WINPLAT_MCI_H

#include "winplat/types.h"

typedef UINT MCIDEVICEID;
typedef DWORD MCIERROR;

#define MCI_OPEN 0x0803
#define MCI_CLOSE 0x0804
#define MCI_PLAY 0x0806
#define MCI_SEEK 0x0807
#define MCI_STOP 0x0808
#define MCI_PAUSE 0x0809
#define MCI_SET 0x080D
#define MCI_STATUS 0x0814
#define MCI_RESUME 0x0855

#define MCI_NOTIFY 0x00000001L
#define MCI_WAIT 0x00000002L
#define MCI_FROM 0x00000004L
#define MCI_TO 0x00000008L
#define MCI_OPEN_ELEMENT 0x00000200L
#define MCI_OPEN_TYPE 0x00002000L
#define MCI_STATUS_ITEM 0x00000100L
#define MCI_SEEK_TO_START 0x00000100L
#define MCI_SEEK_TO_END 0x00000200L
#define MCI_SET_TIME_FORMAT 0x00000400L

#define MCI_FORMAT_MILLISECONDS 0
#define MCI_FORMAT_FRAMES 3

#define MCI_STATUS_LENGTH 0x00000001L
#define MCI_STATUS_POSITION 0x00000002L
#define MCI_STATUS_MODE 0x00000004L
#define MCI_STATUS_TIME_FORMAT 0x00000006L

#define MCI_MODE_NOT_READY 524
#define MCI_MODE_STOP 525
#define MCI_MODE_PLAY 526
#define MCI_MODE_RECORD 527
#define MCI_MODE_SEEK 528
#define MCI_MODE_PAUSE 529
#define MCI_MODE_OPEN 530

/* Posted to the callback window: wParam one of MCI_NOTIFY_*, lParam the device id. */
#define MM_MCINOTIFY 0x03B9
#define MCI_NOTIFY_SUCCESSFUL 0x0001
#define MCI_NOTIFY_SUPERSEDED 0x0002
#define MCI_NOTIFY_ABORTED 0x0004
#define MCI_NOTIFY_FAILURE 0x0008

#define MCIERR_BASE 256
#define MCIERR_INVALID_DEVICE_ID (MCIERR_BASE + 1)
#define MCIERR_UNRECOGNIZED_COMMAND (MCIERR_BASE + 5)
#define MCIERR_INVALID_DEVICE_NAME (MCIERR_BASE + 7)
#define MCIERR_OUT_OF_MEMORY (MCIERR_BASE + 8)
#define MCIERR_MISSING_PARAMETER (MCIERR_BASE + 17)
#define MCIERR_UNSUPPORTED_FUNCTION (MCIERR_BASE + 18)
#define MCIERR_FILE_NOT_FOUND (MCIERR_BASE + 19)
#define MCIERR_OUTOFRANGE (MCIERR_BASE + 26)
#define MCIERR_BAD_TIME_FORMAT (MCIERR_BASE + 37)
#define MCIERR_INVALID_FILE (MCIERR_BASE + 40)

typedef struct tagMCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
} MCI_GENERIC_PARMS, *LPMCI_GENERIC_PARMS;

typedef struct tagMCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;   /* out */
    LPCSTR lpstrDeviceType;  /* "waveaudio", "avivideo", "mpegvideo"; without MCI_OPEN_TYPE the extension decides */
    LPCSTR lpstrElementName; /* the file */
    LPCSTR lpstrAlias;
} MCI_OPEN_PARMSA, *LPMCI_OPEN_PARMSA;

typedef struct tagMCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
} MCI_PLAY_PARMS, *LPMCI_PLAY_PARMS;

typedef struct tagMCI_SEEK_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTo;
} MCI_SEEK_PARMS, *LPMCI_SEEK_PARMS;

typedef struct tagMCI_SET_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTimeFormat;
    DWORD dwAudio;
} MCI_SET_PARMS, *LPMCI_SET_PARMS;

typedef struct tagMCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
} MCI_STATUS_PARMS, *LPMCI_STATUS_PARMS;

WINPLAT_BEGIN_C

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_PURGE 0x0040
#define SND_FILENAME 0x00020000L

/* Plays a WAV file (the name is a file name; aliases are not kept), waiting for its end unless
 * SND_ASYNC; a new sound ends the one playing, and a null name (or SND_PURGE) just ends it. A file
 * that cannot be played sounds the default beep unless SND_NODEFAULT, and gives FALSE. */
WINPLAT_API BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

/* 0 on success, else an MCIERR_ code. The parameter block's type follows the command. */
WINPLAT_API MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters);

WINPLAT_END_C

#endif
