// Starting the image viewer for an enlargeable picture. The picture's file name comes from the
// document, so it is handed on as one argument whatever it holds: the command line is quoted so
// that the launcher cuts it back into exactly the arguments made here, and no shell ever reads it.
#ifndef LECT32_PAGE_IMAGE_VIEWER_START_H
#define LECT32_PAGE_IMAGE_VIEWER_START_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "winplat/types.h"

namespace lect32 {

class FileNameTable;

inline constexpr std::string_view kImageViewerProgram = "lecimg32.exe";

// The picture to show: a file of its own, or a body inside the picture store.
struct EnlargedPicture {
    std::string file;  // cp1250, a Windows path
    bool inStore = false;
    uint32_t offset = 0;  // of the body in the store's file
    uint32_t length = 0;
    uint8_t enlargeMode = 1;  // 2: the viewer is told the body's length too
};

// Picture 'index' of the picture table as the viewer takes it: the file itself when it is found
// beside the document, else its body in the picture store; none when it is in neither.
std::optional<EnlargedPicture> EnlargedPictureOf(FileNameTable& pictures, int16_t index, uint8_t enlargeMode);

// The viewer's arguments after its name: "/f:" and the file; for a stored picture "/s:" and the
// body's offset, and with enlarge mode 2 "/l:" and its length.
std::vector<std::string> ImageViewerArguments(const EnlargedPicture& picture);

// One argument as a Windows command line writes it: bare when it holds no blank or quote, else in
// quotes with its quotes and the backslashes before them escaped.
std::string QuoteArgument(std::string_view argument);
std::string CommandLineOf(const std::vector<std::string>& arguments);

// Starts the viewer from 'folder' (with its trailing backslash; the reader's is ProgramFolder of
// store/language_file.h) without waiting for it; WinExec's answer (above 31 when it started).
UINT StartImageViewer(const std::string& folder, const EnlargedPicture& picture);

}  // namespace lect32

#endif
