#include "engine/core/PCSavegameManager.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "platform/core/XdgPaths.h"

namespace {

std::string TemporaryFolder() {
    const char* variable = getenv("TMPDIR");
    std::string folder = variable && variable[0] == '/' ? variable : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// "<data home>/Korvo Inc/<title>" when it exists or can be made. A folder that cannot be
// written in is still the save's place: the save there is read, and a failed write is put to
// the player, rather than a stray file elsewhere silently taking the save's role.
bool SaveFolder(const char* title, std::string& folder) {
    std::string base = platform::DataHome();
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    if (base.empty() || !title || !*title)
        return false;
    folder = base + "/Korvo Inc/" + title;
    if (!platform::MakeFolders(folder))
        return false;
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        AGReport("The save folder %s cannot be written: the game will not be saved", folder.c_str());
    return true;
}

}  // namespace

PCSavegameManager::PCSavegameManager(const char* title) {
    std::string folder;
    if (!SaveFolder(title, folder)) {
        const std::string wanted = folder;
        folder = TemporaryFolder();
        AGReport("The save folder %s cannot be made: the save file is kept in %s", wanted.c_str(), folder.c_str());
    }
    if (folder == "/")
        folder.clear();
    m_path = (folder + "/savegame.bin").c_str();
}

void PCSavegameManager::ReadMaxSize() {
    m_maxSize = kDefaultMaxSize;
    if (const void* value = FindConfigValue("MaxSaveGameSize", ConfigEntries())) {
        u32 configured;
        memcpy(&configured, value, sizeof configured);
        if (configured != 0)
            m_maxSize = configured;
    }
}

PCFileStream* PCSavegameManager::OpenFile(u32 mode) {
    PCFileStream* stream = new PCFileStream();
    const bool opened = (mode & PCFileStream::kModeWrite)
                            ? stream->OpenReplacing((m_path + ".tmp").c_str(), m_path.c_str(), mode)
                            : stream->Open(m_path.c_str(), mode);
    if (!opened) {
        delete stream;
        return nullptr;
    }
    return stream;
}
