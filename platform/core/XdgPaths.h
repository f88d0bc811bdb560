#pragma once
// The per-user base folders of the XDG base-directory rules. A variable that is unset, empty
// or not an absolute path is ignored, as the rules require, and the default under the home
// folder is used instead.
#include <string>

namespace platform {

// $HOME, or the password database's home folder when HOME is unset or empty; "" when
// neither gives an absolute path.
std::string HomeFolder();

// $XDG_CONFIG_HOME, default <home>/.config.
std::string ConfigHome();

// $XDG_DATA_HOME, default <home>/.local/share.
std::string DataHome();

// Creates a folder and its missing parents (mode 0700 for the ones it makes). True when the
// folder exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace platform
