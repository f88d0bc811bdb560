#pragma once
// Path rules of the file service: "\" becomes "/", and a path not found as written is looked
// up component by component without regard to ASCII case (folder listings are cached and
// re-read when the folder changes).
#include <string>

namespace platform {

std::string NormalisePath(const char* path);

// The existing path that matches, or the normalised path when nothing matches. For a path
// whose last component does not exist, the folders are still resolved (so a file can be
// created in a folder written in another case).
std::string ResolvePath(const char* path);

// stat of the resolved path; mode receives st_mode. False when it fails.
bool StatPath(const char* path, unsigned* mode);

}  // namespace platform
