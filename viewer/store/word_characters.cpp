#include "store/word_characters.h"

#include <string_view>

namespace lect32 {
namespace {

constexpr std::string_view kPunctuation = "!()/\\-.:;,\"'[]{}%";
static_assert(kPunctuation.size() == 17);

bool isPunctuation(uint8_t byte) { return kPunctuation.find(static_cast<char>(byte)) != std::string_view::npos; }

}  // namespace

bool IsWordCharacter(uint8_t byte) { return !isPunctuation(byte); }

int ClassifyCharacter(uint8_t byte) {
    if (byte == '\t' || byte == ' ') return 0;
    if (byte == '\n' || isPunctuation(byte)) return 2;
    return 1;
}

}  // namespace lect32
