// The registry store's text form, UTF-8, one line each (a person may read and edit it):
//
//   ; a comment; blank lines are ignored
//   [HKEY_CURRENT_USER\Software\Tarvo]      a key, created with the keys above it; the values
//                                           below belong to it
//   "Name"=sz:"text\0"                      a value: its name quoted ("@" alone: the default
//   @=sz:"default"                          value), '=', its type, ':', its data
//   "Count"=dword:0000002a                  a 4-byte REG_DWORD, as 8 hex digits
//   "Bits"=binary:01ab                      REG_BINARY as hex, two digits a byte
//   "Other"=hex(11):0102                    any other type by its number, data as hex
//
// String types (sz, expand_sz, multi_sz) hold their bytes exactly as set, terminating zeros
// included, as a quoted string: cp1250 text in UTF-8, with \\ \" \0 \n \r \t and \xNN for the
// other control bytes and the bytes cp1250 leaves unassigned. Key names use %XX for those bytes
// and for '%' itself. A line must end with a newline: a store cut short loses only its last,
// unfinished line. A line that does not parse is skipped and reported; the rest still loads.
#ifndef WINPLAT_SRC_REGISTRY_STORE_FORMAT_H
#define WINPLAT_SRC_REGISTRY_STORE_FORMAT_H

#include <string>
#include <string_view>
#include <vector>

#include "registry/reg_tree.h"

namespace winplat::registry {

std::string serialise(const RegKey& top);

// What a store held: the tree of every line that parsed, and a note for each that did not.
struct ParsedStore {
    RegKey top = emptyTree();
    std::vector<std::string> problems;  // "line 12: ..." each
};

ParsedStore parse(std::string_view text);

}  // namespace winplat::registry

#endif
