// Windows command lines and argument vectors: cut as Windows programs cut theirs, and quoted so
// that the cut gives the arguments back.
#ifndef WINPLAT_SRC_SHELL_COMMAND_LINE_H
#define WINPLAT_SRC_SHELL_COMMAND_LINE_H

#include <string>
#include <string_view>
#include <vector>

namespace winplat::shell {

// The arguments of a command line. The first, the program's name, ends at a blank or tab outside
// double quotes, which are dropped; nothing else is special in it (a path keeps its
// backslashes). In the others, 2n backslashes before a quote give n and the quote opens or closes
// a quoted part, 2n + 1 give n and a literal quote, backslashes before anything else stay as
// written; "" inside a quoted part gives one quote and ends the part. A line that ends inside
// quotes ends its last argument there.
std::vector<std::string> splitCommandLine(std::string_view line);

// The argument as a command line holds it: unchanged unless it is empty or holds a blank, a tab
// or a quote; then quoted, with backslashes doubled where they come before a quote.
std::string quoteArgument(std::string_view argument);

// The arguments quoted and joined with blanks; the program's name (the first) only quoted when it
// holds a blank or a tab.
std::string joinCommandLine(const std::vector<std::string>& arguments);

}  // namespace winplat::shell

#endif
