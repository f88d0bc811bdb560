#include "platform/core/XdgPaths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

std::string BaseFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = getenv(variable);
    if (IsAbsolute(value))
        return value;
    std::string home = HomeFolder();
    if (home.empty())
        return std::string();
    while (!home.empty() && home.back() == '/')
        home.pop_back();
    return home + fallbackUnderHome;
}

}  // namespace

std::string HomeFolder() {
    const char* home = getenv("HOME");
    if (IsAbsolute(home))
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && IsAbsolute(entry->pw_dir))
        return entry->pw_dir;
    return std::string();
}

std::string ConfigHome() { return BaseFolder("XDG_CONFIG_HOME", "/.config"); }

std::string DataHome() { return BaseFolder("XDG_DATA_HOME", "/.local/share"); }

bool MakeFolders(const std::string& path) {
    if (path.empty())
        return false;
    struct stat info;
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return false;
    if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST)
        return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return false;
}

}  // namespace platform
