// The clipboard as the forms use it: text (cp1250) and bitmaps.
#ifndef WINFORMS_CLIPBOARD_H
#define WINFORMS_CLIPBOARD_H

#include <optional>
#include <string>

#include "winforms/bitmap.h"

namespace winforms {

class WINFORMS_API Clipboard {
public:
    // Each call opens the clipboard for itself; false (with the reason in the debug output) when
    // another window holds it open or the data cannot be made.
    static bool SetText(const std::string& text);
    static bool HasText();
    // None when there is no text.
    static std::optional<std::string> Text();
    // The bitmap as a device-independent bitmap (the clipboard makes the device bitmap from it).
    static bool SetBitmap(const Bitmap& bitmap);
    static bool HasBitmap();
    // The clipboard's bitmap into 'bitmap'; false (the bitmap unchanged) when there is none or it
    // cannot be read.
    static bool GetBitmap(Bitmap& bitmap);
    static bool Clear();
};

}  // namespace winforms

#endif
