// The reader's UI strings by number. Each loader fills the other of two 150-byte slots and returns
// a pointer into it, so the texts of the two most recent calls stay valid together and a third call
// overwrites the oldest. A slot holds at most 149 bytes and the terminating zero (cp1250).
#ifndef LECT32_STORE_TEXT_SLOTS_H
#define LECT32_STORE_TEXT_SLOTS_H

#include <cstddef>

namespace lect32 {

inline constexpr int kTextSlotSize = 150;
inline constexpr int kResourceTextBase = 3600;
inline constexpr int kLocalizedTextBase = 3300;
inline constexpr int kTooltipTextBase = 3900;

// Resource string 3600 + n. The string table defines no id in 3600-3899, so this is empty today.
const char* LoadResourceText(int n);
// Text 3300 + n of the loaded language file, else resource string 3300 + n.
const char* LoadLocalizedText(int n);
// Resource string 3900 + n (the tool-tip texts).
const char* LoadTooltipText(int n);

// The cp1250 text (its first 255 characters) in UTF-8, cut at a whole character to 255 bytes,
// zero-terminated, written over the start of both slots: the loaders' last two results are gone.
inline constexpr size_t kUtf8TextChars = 255;
inline constexpr size_t kUtf8TextBytes = 256;
const char* ConvertCp1250ToUtf8(const char* text);

}  // namespace lect32

#endif
