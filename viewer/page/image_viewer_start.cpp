#include "page/image_viewer_start.h"

#include <algorithm>

#include "page/picture_store.h"
#include "store/document_paths.h"
#include "store/file_name_table.h"
#include "winplat/process.h"
#include "winplat/refusal.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: image viewer");

}  // namespace

std::optional<EnlargedPicture> EnlargedPictureOf(FileNameTable& pictures, int16_t index, uint8_t enlargeMode) {
    if (index < 0) return refuse(std::optional<EnlargedPicture>{}, "the object names no picture to enlarge");
    char path[std::max<size_t>(FileNameTable::kPathBuffer, kDocumentPathBuffer)] = "";
    pictures.GetPath(index, path);
    if (path[0] && ResolveDocumentFile(path)) return EnlargedPicture{path, false, 0, 0, enlargeMode};
    const uint16_t tag = pictures.GetTag(static_cast<uint16_t>(index));
    if (tag == 0xFFFF || tag == 0) return refuse(std::optional<EnlargedPicture>{}, "the picture is neither a file nor stored");
    char store[kDocumentPathBuffer] = "";
    uint32_t length = 0;
    const uint32_t offset = OpenPictureStore(tag, &length, store);
    if (offset == 0) return refuse(std::optional<EnlargedPicture>{}, "the picture store lacks the picture");
    return EnlargedPicture{store, true, offset, length, enlargeMode};
}

std::vector<std::string> ImageViewerArguments(const EnlargedPicture& picture) {
    std::vector<std::string> arguments{"/f:" + picture.file};
    if (!picture.inStore) return arguments;
    arguments.push_back("/s:" + std::to_string(picture.offset));
    if (picture.enlargeMode == 2) arguments.push_back("/l:" + std::to_string(picture.length));
    return arguments;
}

std::string QuoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(argument);
    std::string out = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: doubled there, with one more for the quote.
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, '\\');
    out.push_back('"');
    return out;
}

std::string CommandLineOf(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line.push_back(' ');
        line += QuoteArgument(argument);
    }
    return line;
}

UINT StartImageViewer(const std::string& folder, const EnlargedPicture& picture) {
    if (picture.file.empty()) return refuse(UINT{0}, "the picture has no file");
    std::vector<std::string> arguments{folder + std::string(kImageViewerProgram)};
    for (std::string& argument : ImageViewerArguments(picture)) arguments.push_back(std::move(argument));
    const std::string line = CommandLineOf(arguments);
    const UINT started = WinExec(line.c_str(), SW_SHOW);
    return started > 31 ? started : refuse(started, "the image viewer did not start: " + line);
}

}  // namespace lect32
