// The state folder: where the registry, profile files and the Windows folder live on the host.
#ifndef WINPLAT_FILES_STATE_FOLDER_H
#define WINPLAT_FILES_STATE_FOLDER_H

#include <string>
#include <string_view>

namespace winplat::files {

// WINPLAT_STATE, else $XDG_CONFIG_HOME/winplat, else $HOME/.config/winplat (UTF-8, no trailing
// '/'). Read from the environment on each call, so a test that points it elsewhere is followed.
std::string stateFolder();
// Whether 'folder' is stateFolder() now, without building its name: for a check on every call.
bool isStateFolder(std::string_view folder);

// The folder a bare profile file name ("win.ini") means: "<state>/windows".
std::string windowsFolder();

// Creates the folder and the folders above it when missing; false when that fails.
bool ensureFolder(const std::string& hostPath);

}  // namespace winplat::files

#endif
