#include "page/image_viewer_start.h"

#include "winplat/process.h"
#include "winplat/refusal.h"
#include "winplat/user.h"

namespace lect32 {
namespace {

constexpr winplat::Refuser refuse("lect32: image viewer");

}  // namespace

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
