/* Pixmill: animations as frame chains, their composition, and FLI/FLC playback (part of
 * pixmill.h; include that).
 *
 * An animation is a chain of ordinary images linked from its first frame, which stands for the
 * whole animation: it carries the screen size, the repeat count, the animation text and the
 * composition state, and deleting it frees the chain. A chain owns the frames added to it. Strings
 * and blocks the library hands out are new copies the caller frees with free(). */
#ifndef PIXMILL_FRAMES_H
#define PIXMILL_FRAMES_H

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The parameters of a frame's text block (81 bytes, kept as the file has them) and its text. */
typedef struct PxlTextBlock {
    uint8_t fields[81];
    char* text;
} PxlTextBlock;

#define PXL_FRAME_TRANSPARENT_INDEX 0x1000000 /* | palette index */

typedef struct PxlFramesInfo {
    int32_t width;
    int32_t height;
    int32_t left; /* place on the animation's screen */
    int32_t top;
    int32_t delay;        /* hundredths of a second */
    int32_t disposal;     /* 0, 1 leave, 2 background, 3 previous */
    int32_t transparency; /* 0 none, or PXL_FRAME_TRANSPARENT_INDEX | index */
    char* comment;
    char* title;
    PxlTextBlock* textBlock;
} PxlFramesInfo;

typedef struct PxlAnimateInfo {
    int32_t screenWidth;
    int32_t screenHeight;
    int32_t frameCount;  /* ignored when set */
    int32_t repeatCount; /* -1 none */
    char* text;
} PxlAnimateInfo;

/* Called after each frame loaded or saved; 1 stops. user is the value the caller gave the export,
 * handed back unchanged; it is pointer-sized, so a caller may pass a pointer to its own state. */
typedef int (*PxlFrameCallback)(PxlImageId firstFrame, int frameIndex, intptr_t user);

/* Loads every frame of a GIF file (other formats: the one picture) as a chain; the first frame's
 * id, -1 when the callback stopped the load (nothing is left), 0 on failure. A break request for
 * the first id ends the load between frames with the frames so far. */
PXL_API PxlImageId PXLLoadImageFramesOffset(const char* path, int32_t offset, PxlFrameCallback callback,
                                            intptr_t user);
/* Asks the frame load whose first frame is id to stop; 0 for ids below 1 or a full table. */
PXL_API int16_t PXLBreakLoadImageFrames(PxlImageId firstFrame);
/* Saves the chain from id as a GIF (flags 0x400: each frame with the bits its colours need; deeper
 * frames through an 8-bit copy); other formats without flags 0x200 save the one image. 1, 0 on
 * failure, -1 when the callback stopped it; the old file stays unless the new one was finished. */
PXL_API int16_t PXLSaveImageFrames(PxlImageId id, const char* path, int16_t formatId, int32_t flags,
                                   int16_t option, PxlFrameCallback callback, intptr_t user);

/* Puts image into the chain of firstFrame at position (0: image becomes the head, -1: the end).
 * The chain owns it from then on. 0 for unknown ids, or an image that is the first frame, is
 * already in a chain or heads one; 0 too when firstFrame is inside another chain. */
PXL_API int16_t PXLAddImageFrame(PxlImageId firstFrame, PxlImageId image, int16_t position);
/* Cuts every link of the chain: each frame is an image of its own (and the caller's). */
PXL_API int16_t PXLSplitAllImageFrame(PxlImageId firstFrame);
/* The frames from id to the end of its chain. */
PXL_API int16_t PXLGetImageFramesNum(PxlImageId id);
/* The id of frame index of the chain; 0 past the end. */
PXL_API PxlImageId PXLGetImageFramesImage(PxlImageId firstFrame, int16_t index);
/* Copies up to n frame delays; the number copied. */
PXL_API int16_t PXLGetImageFramesDelay(PxlImageId firstFrame, int32_t* delays, int16_t n);
PXL_API int16_t PXLGetImageFramesInfo(PxlImageId id, PxlFramesInfo* info);
/* A "|" in the title becomes "]"; a text block is taken only with a text. */
PXL_API int16_t PXLSetImageFramesInfo(PxlImageId id, const PxlFramesInfo* info);
PXL_API int16_t PXLGetAnimateInfo(PxlImageId id, PxlAnimateInfo* info);
PXL_API int16_t PXLSetAnimateInfo(PxlImageId id, const PxlAnimateInfo* info);
/* -1 when none is stored. */
PXL_API int16_t PXLGetImagesRepeatCycle(PxlImageId id);
/* The screen size of an animation's frame, else the image's own size. */
PXL_API int16_t PXLWidthFrameScreen(PxlImageId id);
PXL_API int16_t PXLHeightFrameScreen(PxlImageId id);
/* The stored screen size (0 when none). */
PXL_API int16_t PXLWidthFrameScreenReal(PxlImageId id);
PXL_API int16_t PXLHeightFrameScreenReal(PxlImageId id);

/* Draws a 1-, 4-, 8- or 24-bit source onto an 8- or 24-bit destination with its top-left corner
 * at (x, y) (rows from the top), clipped to the destination, skipping pixels whose bit in the
 * 1-bit mask (0 = none; of the source's size) is set. Palette sources onto 8 bits go through the
 * nearest destination entries. 1; 0 when refused (also a 24-bit source onto 8 bits). */
PXL_API int16_t PXLRenderImageTo(PxlImageId destination, PxlImageId source, PxlImageId mask, int x, int y);
/* Composes frame index of an animation onto the canvas, whose screen lies at left..right,
 * top..bottom, after applying the previous frame's disposal (2: the background image, else the
 * colour; 3: what was under it). Index -1 only applies the last disposal. Always 0. */
PXL_API int16_t PXLStretchBltFrame(PxlImageId canvas, int left, int top, int right, int bottom,
                                   PxlImageId firstFrame, int16_t index, int ignored1, int ignored2,
                                   int ignored3, int ignored4, int ignored5, int ignored6, int ignored7,
                                   COLORREF background, PxlImageId backgroundImage);
/* Composes frames from..to (clamped) at (x, y); unless noFinish, applies the last disposal too.
 * 1; 0 for id 0. */
PXL_API int16_t PXLRenderFrames(PxlImageId firstFrame, PxlImageId canvas, int x, int y, int16_t from,
                                int16_t to, COLORREF background, PxlImageId backgroundImage,
                                int16_t noFinish);
/* Draws frame index (-1 or 0: the first) at (x + its left, y + its top) through PXLBitBlt. */
PXL_API int16_t PXLBitBltFrame(HDC dc, int x, int y, int ignored1, int ignored2, PxlImageId firstFrame,
                               int16_t index, int clipLeft, int clipTop, int clipRight, int clipBottom,
                               int16_t mode, DWORD rop, int ignored3);

/* FLI/FLC playback: frames decoded one after another into an 8-bit frame buffer and a palette of
 * 256 red, green, blue triplets; after the last frame the stream goes on with the second. */
typedef struct FlicStream {
    uint16_t paletteChanged; /* set by a frame with a colour chunk (and after the header) */
    uint16_t frameCount;
    uint16_t currentFrame; /* frames decoded since the start or the last wrap */
    uint16_t width;
    uint16_t height;
    int32_t speed; /* milliseconds per frame */
    FILE* file;
    int32_t loopPosition; /* where the second frame starts */
    int32_t nextPosition; /* where the next frame starts */
    uint8_t* frame;       /* width x height bytes, rows from the top */
    uint8_t* palette;     /* 768 bytes */
} FlicStream;

/* 0 ok; -1 the file cannot be opened or memory runs out (also for frames too large to hold);
 * 1 not an FLI/FLC file (or its header cannot be read); 2 a depth other than 8. */
PXL_API int16_t FLICFileOpen(FlicStream** stream, const char* path);
PXL_API int16_t FLICFileRelease(FlicStream* stream);
/* 0 ok; 1 a frame that cannot be read (a failed seek, the file's end, an unknown frame type, a
 * damaged frame or chunk size); -1 for null. */
PXL_API int16_t FLICStreamGetNextFrame(FlicStream* stream);
/* Copies the frame (and, unless paletteOnlyIfChanged and the palette is unchanged, the palette)
 * into an 8-bit image of the stream's size. 0; -1 for null, unknown ids, other depths or sizes. */
PXL_API int16_t FLICStreamFillImage8(FlicStream* stream, PxlImageId id, int16_t paletteOnlyIfChanged);
/* Back to the first frame. 0. */
PXL_API int16_t FLICStreamSetCurFrame(FlicStream* stream);

#ifdef __cplusplus
}
#endif

#endif
