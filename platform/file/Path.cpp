#include "platform/file/Path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <map>
#include <mutex>
#include <vector>

namespace platform {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// A folder's names, kept until the folder's modification time changes.
struct Listing {
    struct timespec modified {};
    std::vector<std::string> names;
};

std::mutex g_cacheLock;
std::map<std::string, Listing>* g_cache = nullptr;

// The entry of folder whose name equals name without regard to case, or "" when none.
std::string FindNoCase(const std::string& folder, const std::string& name) {
    const std::string dir = folder.empty() ? "." : folder;
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {};
    std::lock_guard<std::mutex> guard(g_cacheLock);
    if (!g_cache)
        g_cache = new std::map<std::string, Listing>;
    Listing& listing = (*g_cache)[dir];
    if (listing.modified.tv_sec != st.st_mtim.tv_sec ||
        listing.modified.tv_nsec != st.st_mtim.tv_nsec || listing.names.empty()) {
        listing.names.clear();
        listing.modified = st.st_mtim;
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d))
                listing.names.emplace_back(e->d_name);
            closedir(d);
        }
    }
    for (const std::string& entry : listing.names)
        if (EqualNoCase(entry, name))
            return entry;
    return {};
}

bool PathExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string NormalisePath(const char* path) {
    std::string out = path ? path : "";
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string ResolvePath(const char* path) {
    const std::string normal = NormalisePath(path);
    if (normal.empty() || PathExists(normal))
        return normal;

    // Walk the components, keeping each one that exists as written and otherwise taking the
    // entry that matches without regard to case.
    std::string resolved;
    size_t start = 0;
    if (normal[0] == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= normal.size()) {
        size_t slash = normal.find('/', start);
        const bool last = slash == std::string::npos;
        const std::string part = normal.substr(start, last ? std::string::npos : slash - start);
        if (!part.empty()) {
            const std::string folder = resolved;
            std::string candidate = folder.empty() || folder.back() == '/' ? folder + part
                                                                           : folder + "/" + part;
            if (part != "." && part != ".." && !PathExists(candidate)) {
                const std::string match = FindNoCase(folder, part);
                if (match.empty()) {
                    // Nothing matches: keep the rest as written.
                    resolved = candidate;
                    if (!last)
                        resolved += normal.substr(slash);
                    return resolved;
                }
                candidate = folder.empty() || folder.back() == '/' ? folder + match
                                                                   : folder + "/" + match;
            }
            resolved = candidate;
        }
        if (last)
            break;
        start = slash + 1;
    }
    if (!normal.empty() && normal.back() == '/' && (resolved.empty() || resolved.back() != '/'))
        resolved += '/';
    return resolved;
}

bool StatPath(const char* path, unsigned* mode) {
    struct stat st;
    if (stat(ResolvePath(path).c_str(), &st) != 0)
        return false;
    if (mode)
        *mode = unsigned(st.st_mode);
    return true;
}

}  // namespace platform
