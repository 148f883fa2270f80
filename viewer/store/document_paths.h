// Paths that a document stores for its pictures, media and linked files, kept relative to the
// document's folder so that a document moved together with its files still finds them.
//
// Document-relative form: a path that starts with exactly one backslash; it means the document's
// folder followed by that path. Paths starting with two backslashes (network), with '$', or with a
// drive letter and colon are never in that form. Stored paths keep backslashes and are
// lower-cased (cp1250 rule); a file on disk is found through the platform's path resolver, which
// takes any letter case, so a document made on Windows finds its files here too.
//
// The document folder is the document's path cut at its last backslash ("c:\doc\book.vzz" ->
// "c:\doc"). Every call that takes a folder path takes such a path (a file inside the folder, or
// the folder with a trailing backslash); a path without a backslash names no folder.
#ifndef LECT32_STORE_DOCUMENT_PATHS_H
#define LECT32_STORE_DOCUMENT_PATHS_H

#include <cstddef>

namespace lect32 {

// Every path buffer changed in place by the calls below holds this many bytes; a result that
// would not fit is refused and the buffer left as it was.
inline constexpr size_t kDocumentPathBuffer = 260;

// There is no open-document object yet, so the path of the open document is kept here, one for
// the process: null or "" means no document is open. Not thread-safe; set it from the thread
// that opens and closes documents.
void SetDocumentPathForPaths(const char* documentPath);
// "" while no document is open.
const char* GetDocumentPathForPaths();

// Puts 'path' into document-relative form where it can. Does nothing (0) while no document is
// open, even with a folder path. A path over 2 characters whose second character is neither ':'
// nor '\' is relative already: one starting with '\' or '$' stays (0), any other gets a leading
// '\' (1). Any other path is lower-cased in place and, when it lies inside the folder ('folder',
// or the open document's when null) with a '\' right after the folder, loses the folder and keeps
// that '\' (1); otherwise 0. 'folder' is only read.
int MakeDocumentRelativePath(char* path, const char* folder = nullptr);

// A path starting with exactly one '\' gets the folder ('folder', or the open document's when
// null) put in front of it: 1. 0 and unchanged otherwise (no folder known, other forms, too long).
int ExpandDocumentRelativePath(char* path, const char* folder = nullptr);

// Finds the file a stored path names: the path (expanded when document-relative) when that opens
// for reading; else the path's file name in the folder ('folder', or the open document's), as a
// moved document carries its files beside it. 1 with 'path' rewritten to the path that opened;
// 0 with 'path' unchanged (empty path, nothing found).
int ResolveDocumentFile(char* path, const char* folder = nullptr);

// The media type of a file by its extension (after the last dot that follows the last '\',
// any letter case): pcx 1, gif 2, tif 3, bmp 4, wpg 5, ico 6, mac 7, tga 8, jpg 9, png 10,
// wmf 100, avi 201 (video), wav 204 (sound), mid 205 (MIDI). 0 without a dot, for an extension
// over 11 characters, and for any other extension. FileNameTable keeps its own codes.
int GetMediaType(const char* fileName);

}  // namespace lect32

#endif
