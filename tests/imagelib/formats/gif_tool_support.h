// Independent GIF programs for cross-checks: running them on files of a temporary folder, and
// giflib's own dump of a file ("gifbuild -d") parsed into frames of colours.
#ifndef PIXMILL_TESTS_GIF_TOOL_SUPPORT_H
#define PIXMILL_TESTS_GIF_TOOL_SUPPORT_H

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "gif_test_support.h"
#include "support/tool_runner.h"

namespace gif_tools {

namespace fs = std::filesystem;

using tool_runner::have;
using tool_runner::output;
using tool_runner::run;

// One image of a gifbuild dump: its size and colours (0x00RRGGBB), top row first.
struct DumpedImage {
    int width = 0, height = 0;
    std::vector<uint32_t> colours;
};

// Parses "gifbuild -d": colour maps ("rgb R G B is K" lines) and rasters after "image bits W by H",
// as key characters or, for maps over 94 colours, hex index pairs.
inline std::vector<DumpedImage> dump(const fs::path& file) {
    std::istringstream in(output("gifbuild -d '" + file.string() + "'"));
    std::vector<DumpedImage> images;
    std::vector<uint32_t> screenMap, imageMap, *filling = nullptr;
    std::map<char, uint32_t> screenKeys, imageKeys, *keys = nullptr;
    bool imageHasMap = false;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string w;
        words >> w;
        if (line == "screen map") {
            filling = &screenMap;
            keys = &screenKeys;
        } else if (line == "image map") {
            imageMap.clear();
            imageKeys.clear();
            filling = &imageMap;
            keys = &imageKeys;
            imageHasMap = true;
        } else if (w == "rgb" && filling) {
            int r, g, b;
            std::string is, key;
            words >> r >> g >> b >> is >> key;
            const uint32_t c = static_cast<uint32_t>(r << 16 | g << 8 | b);
            if (!key.empty()) (*keys)[key[0]] = c;
            filling->push_back(c);
        } else if (w == "end") {
            filling = nullptr;
        } else if (line.rfind("image #", 0) == 0) {
            imageHasMap = false;
        } else if (line.rfind("image bits", 0) == 0) {
            DumpedImage image;
            std::string bits, by;
            words >> bits >> image.width >> by >> image.height;
            const std::vector<uint32_t>& map = imageHasMap ? imageMap : screenMap;
            const std::map<char, uint32_t>& k = imageHasMap ? imageKeys : screenKeys;
            for (int y = 0; y < image.height && std::getline(in, line); ++y) {
                const bool hex = static_cast<int>(line.size()) >= 2 * image.width && k.empty();
                for (int x = 0; x < image.width; ++x) {
                    if (hex) {
                        const size_t index =
                            std::stoul(line.substr(static_cast<size_t>(2 * x), 2), nullptr, 16);
                        image.colours.push_back(index < map.size() ? map[index] : 0xFFFFFFFF);
                    } else {
                        auto found = k.find(line[static_cast<size_t>(x)]);
                        image.colours.push_back(found == k.end() ? 0xFFFFFFFF : found->second);
                    }
                }
            }
            images.push_back(image);
        }
    }
    return images;
}

}  // namespace gif_tools

#endif
