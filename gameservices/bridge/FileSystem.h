#pragma once
// Where the game's files are: the path of a file of a given kind, and the data packages
// mounted and unmounted by name. Also the game's shared random range.
#include <map>
#include <vector>

#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"

class AGDirectory;

namespace GameServices::Bridge {

// Selects the folder placed between the root path and a file name.
enum FileKind : u32 {
    FILE_DATA = 0,
    FILE_MATERIAL = 1,
    FILE_LEVEL_XML = 2,
    FILE_GLOBAL_XML = 3,
    FILE_KORVOCITY_XML = 4,
    FILE_PROP_DATA = 5,
    FILE_AVATAR_DATA = 7,
    FILE_DATA_PATH = 8,
    FILE_FONT = 9,
    FILE_WIDGET_DATA = 10,
    FILE_SCREEN_XML = 11,
    FILE_PACKAGE = 12,
    FILE_AUDIO_ASSET = 14,
    FILE_VIDEO = 15,
};

class FileSystem {
public:
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    // Unmounts and releases every package still loaded, the last loaded first.
    virtual ~FileSystem();

    // The singleton, created on first use.
    static FileSystem* Instance();
    // Deletes the singleton (shutdown, before the resource manager goes).
    static void Destroy();

    static void SetRootPath(const TString<char>& root);
    // Package mode: from now on files are named by their bare names in the mounted packages.
    static void UsePackages();
    static bool UsesPackages();

    // In package mode the bare name, except for packages and videos; otherwise root path +
    // folder of the kind + name, lower-cased. The folders other than "Video/" begin with a
    // hyphen and so extend the root as a prefix.
    static TString<char> GetFilePath(u32 kind, const TString<char>& name);

    // Mounts the package through a "directory" resource at its FILE_PACKAGE path; with
    // onWorker an archive loads on the worker thread. The package id is the name id of the
    // lower-cased name. A package loaded again is reported and mounted again. False when a
    // load done at once found no package or a damaged one (an unreadable or truncated index).
    static bool LoadPackage(const TString<char>& name, bool onWorker);
    // True once the most recent mount of the package has finished.
    static bool IsPackageLoaded(const TString<char>& name);
    // Unmounts the most recent mount of the package.
    static void UnloadPackage(const TString<char>& name);
    // True while a package mount still runs on the worker thread.
    static bool HasPendingMounts();

    static u32 PackageId(const TString<char>& name);
    // Package ids in loading order (a package loaded twice is listed twice).
    static std::vector<u32> LoadedPackages() { return Instance()->m_loaded; }

private:
    FileSystem() = default;
    static void Drop(AGDirectory* directory);

    TString<char> m_root;
    bool m_packageMode = false;
    // Package id to its mounts, the latest last.
    std::map<u32, std::vector<AGDirectory*>> m_packages;
    // Package ids in loading order (a package loaded twice is listed twice).
    std::vector<u32> m_loaded;
};

// A number from min up to but not including max, from the shared xorshift128 state. When max
// is not above min, reports "min Greater than max" and returns min.
u32 RandomRange(u32 min, u32 max);
// Restarts the shared state from the given words (tests; the program starts from the
// published seeds 123456789, 362436069, 521288629, 88675123).
void SeedRandom(u32 x, u32 y, u32 z, u32 w);

}  // namespace GameServices::Bridge
