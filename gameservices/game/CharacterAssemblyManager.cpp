#include "gameservices/game/CharacterAssemblyManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/RuntimeParameters.h"

namespace GameServices::KorvoGame {

namespace {

CharacterAssemblyManager* g_instance = nullptr;

// Reads one character file into a new record stored under the name id of its file name,
// unless that name was read before; an unreadable file leaves the record empty.
template <typename Record>
void PreloadFile(std::map<u32, std::unique_ptr<Record>>& records, const TString<char>& fileName,
                 const char* element, const char* failure) {
    const u32 key = Crc32Hash(fileName.c_str());
    if (records.count(key))
        return;
    auto record = std::make_unique<Record>();
    const TString<char> path = Bridge::FileSystem::GetFilePath(Bridge::FILE_KORVOCITY_XML, fileName);
    Utilities::XmlReader reader;
    if (!reader.ReadFileElement(path.c_str(), element, *record, "root"))
        AGReport("%s%s", failure, path.c_str());
    records[key] = std::move(record);
}

// The record preloaded from fileName; null, reported, when it was never preloaded.
template <typename Record>
const Record* FindPreloaded(const std::map<u32, std::unique_ptr<Record>>& records,
                            const TString<char>& fileName, const char* missing) {
    auto it = records.find(Crc32Hash(fileName.c_str()));
    if (it == records.end()) {
        AGReport("%s", missing);
        return nullptr;
    }
    return it->second.get();
}

bool TypeInRange(u32 type, u32 count) {
    if (type < count)
        return true;
    AGReport("Part type %u is out of range", type);
    return false;
}

// The name of the first entry with that id; false, reported, with out unchanged otherwise.
template <typename Entries>
bool FindPartName(const Entries& entries, u32 partId, TString<char>& out, const char* missing) {
    for (const auto& entry : entries) {
        if (entry.Id == partId) {
            out = entry.Name;
            return true;
        }
    }
    AGReport("%s", missing);
    return false;
}

// The part lists of a character's assembly, for GetOutfitParts and GetAnatomyParts. Null,
// reported, when a precondition is missing.
const Appearance* CustomizableAppearance(const Entities::Character& character, u32 type,
                                         bool outfit) {
    const Appearance* appearance = character.VolatileDatas.GetAppearance();
    if (!appearance) {
        AGReport("No Appearance defined for this character");
        return nullptr;
    }
    if (!TypeInRange(type, outfit ? u32(NB_OUTFIT_PART_TYPE) : u32(NB_ANATOMY_PART_TYPE)))
        return nullptr;
    if (outfit ? !appearance->OutfitParts[type].Customizable
               : !appearance->AnatomyParts[type].Customizable) {
        AGReport(outfit ? "this OutfitPartType is not customizable"
                        : "this AnatomyPartType is not customizable");
        return nullptr;
    }
    return appearance;
}


}  // namespace

CharacterAssemblyManager* CharacterAssemblyManager::Instance() {
    if (!g_instance)
        g_instance = new CharacterAssemblyManager();
    return g_instance;
}

void CharacterAssemblyManager::Destroy() {
    delete g_instance;
    g_instance = nullptr;
}

CharacterAssemblyManager::CharacterAssemblyManager() {
    m_Assemblies.SetItemName("item");
}

CharacterAssemblyManager::~CharacterAssemblyManager() = default;

void CharacterAssemblyManager::LoadCharacterAssemblies() {
    if (m_AssembliesLoaded)
        return;
    bool use = true;
    RuntimeParameters::Instance()->GetParameter(&use, "GameServices", "UseCharacterAssemblies");
    if (!use)
        return;
    Utilities::XmlReader reader;
    m_AssembliesLoaded = reader.ReadFileElement(kFileName, "CharacterAssemblies", m_Assemblies, "root");
    if (!m_AssembliesLoaded)
        AGReport("Can not read the CharacterAssembly: %s", kFileName);
}

void CharacterAssemblyManager::PreloadCharacterAssemblies() {
    if (m_Preloaded)
        return;
    LoadCharacterAssemblies();
    for (const sCharacterAssembly_KorvoCity& record : m_Assemblies) {
        PreloadFile(m_Wardrobes, record.Wardrobe, "WardRobe", "Can not read the Wardrobe file: ");
        PreloadFile(m_Anatomies, record.Anatomy, "AnatomyPart", "Can not read the Anatomy file: ");
    }
    m_Preloaded = true;
}

const sCharacterAssembly_KorvoCity* CharacterAssemblyManager::FindRecord(u32 id) const {
    if (!m_AssembliesLoaded) {
        AGReport("You need to preload the character assemblies first");
        return nullptr;
    }
    for (const sCharacterAssembly_KorvoCity& record : m_Assemblies)
        if (record.Id == id)
            return &record;
    AGReport("Can't find this CharacterAssembly");
    return nullptr;
}

const sWardRobe_KorvoCity* CharacterAssemblyManager::FindWardrobe(u32 assemblyId) const {
    const sCharacterAssembly_KorvoCity* record = FindRecord(assemblyId);
    return record ? FindPreloaded(m_Wardrobes, record->Wardrobe,
                                  "You Must Preload this WardRobe first")
                  : nullptr;
}

const sAnatomy_KorvoCity* CharacterAssemblyManager::FindAnatomy(u32 assemblyId) const {
    const sCharacterAssembly_KorvoCity* record = FindRecord(assemblyId);
    return record ? FindPreloaded(m_Anatomies, record->Anatomy,
                                  "You Must Preload this Anatomy first")
                  : nullptr;
}

bool CharacterAssemblyManager::ReadyForParts() const {
    if (!m_AssembliesLoaded)
        AGReport("You need to preload the Charactere assembly first !!");
    return m_AssembliesLoaded;
}

bool CharacterAssemblyManager::FindCharacterAssembly(u32 id, CharacterAssembly& out) const {
    const sCharacterAssembly_KorvoCity* record = FindRecord(id);
    if (!record)
        return false;
    out.Name = record->Name;
    out.Id = record->Id;
    out.Gender = record->Gender;
    return true;
}

bool CharacterAssemblyManager::FindCharacterAssemblyRecord(
    u32 id, sCharacterAssembly_KorvoCity& out) const {
    const sCharacterAssembly_KorvoCity* record = FindRecord(id);
    if (!record)
        return false;
    out = *record;
    return true;
}

bool CharacterAssemblyManager::GetOutfitPartName(u32 assemblyId, u32 outfitType, u32 partId,
                                                 TString<char>& out) const {
    if (!TypeInRange(outfitType, NB_OUTFIT_PART_TYPE))
        return false;
    const sWardRobe_KorvoCity* wardrobe = FindWardrobe(assemblyId);
    return wardrobe && FindPartName(wardrobe->Parts[outfitType], partId, out,
                                    "Can't find this ID in the Wardrobe");
}

bool CharacterAssemblyManager::GetAnatomyPartName(u32 assemblyId, u32 anatomyType, u32 partId,
                                                  TString<char>& out) const {
    if (!TypeInRange(anatomyType, NB_ANATOMY_PART_TYPE))
        return false;
    const sAnatomy_KorvoCity* anatomy = FindAnatomy(assemblyId);
    return anatomy && FindPartName(anatomy->Parts[anatomyType], partId, out,
                                   "Can't find this ID in the Anatomy");
}

void CharacterAssemblyManager::GetOutfitParts(const Entities::Character& character,
                                              u32 outfitType,
                                              ContainerFactory<OutfitPart>& out) const {
    const Appearance* appearance = CustomizableAppearance(character, outfitType, true);
    if (!appearance || !ReadyForParts())
        return;
    if (const sWardRobe_KorvoCity* wardrobe = FindWardrobe(appearance->Assembly.Id))
        FillPooledParts(wardrobe->Parts[outfitType], out);
}

void CharacterAssemblyManager::GetAnatomyParts(const Entities::Character& character,
                                               u32 anatomyType,
                                               ContainerFactory<AnatomyPart>& out) const {
    const Appearance* appearance = CustomizableAppearance(character, anatomyType, false);
    if (!appearance || !ReadyForParts())
        return;
    if (const sAnatomy_KorvoCity* anatomy = FindAnatomy(appearance->Assembly.Id))
        FillPooledParts(anatomy->Parts[anatomyType], out);
}

}  // namespace GameServices::KorvoGame
