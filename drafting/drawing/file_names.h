// File names as the drafting program completes and splits them: Windows forms ("C:\A\B.LKD",
// "\A\B") and "/" as a separator beside "\".
#ifndef LINEWORK_DRAWING_FILE_NAMES_H
#define LINEWORK_DRAWING_FILE_NAMES_H

#include <string>
#include <string_view>

namespace linework {

// A name without a drive ("X:") and without a leading "\" or "/" gets the program folder (which
// ends in a separator) in front. A default extension that begins with "." replaces the name's
// extension ("." alone only strips it); any other default extension leaves the name's. The
// result is cut to 255 characters; an empty name stays empty.
std::string CompleteFileName(std::string_view defaultExtension, std::string_view name,
                             std::string_view programFolder);

// directory: the folder part up to and including the last separator or ":" (empty without one);
// otherwise the extension with its dot, empty when a separator comes after the last dot.
std::string GetFileNamePart(bool directory, std::string_view name);

}  // namespace linework

#endif
