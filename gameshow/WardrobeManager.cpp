#include "gameshow/WardrobeManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Character.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CharacterManager.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PlayerProfileManager.h"

namespace GameShow {

using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::CharacterAssembly;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::NB_ANATOMY_PART_TYPE;
using GameServices::KorvoGame::NB_OUTFIT_PART_TYPE;
using GameServices::KorvoGame::OutfitPart;
using GameServices::KorvoGame::PartPool;

namespace {

WardrobeManager* g_instance = nullptr;

constexpr const char* kModelExtension = ".mdl";
constexpr const char* kSkinTag = "skin01";
constexpr const char* kNoEyewear = "No_Eyewear";

bool EndsWith(const TString<char>& text, const char* suffix, bool ignoreCase) {
    TString<char> tail(suffix);
    if (text.Length() < tail.Length())
        return false;
    TString<char> end = text.SubString(text.Length() - tail.Length());
    if (ignoreCase)
        end.ToLower();
    return end == tail;
}

// Reports a type outside 0..count-1.
bool TypeInRange(u32 type, u32 count) {
    if (type < count)
        return true;
    AGReport("WardrobeManager: part type %u is out of range", type);
    return false;
}

// Reads one wardrobe or anatomy file into its map entry.
void ReadPartFile(const TString<char>& fileName, const char* element, GameServices::Utilities::ISerializable& target) {
    const TString<char> path =
        GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_KORVOCITY_XML, fileName);
    GameServices::Utilities::XmlReader reader;
    if (!reader.ReadFileElement(path.c_str(), element, target, "root"))
        AGReport("Can not read the Wardrobe file: %s", path.c_str());
}

// Reads an assemblies file into the list; false, reported, when it cannot be read.
bool ReadAssemblies(const char* fileName, WardrobeManager::AssemblyList& list) {
    const TString<char> path =
        GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_KORVOCITY_XML, fileName);
    GameServices::Utilities::XmlReader reader;
    const bool read = reader.ReadFileElement(path.c_str(), "CharacterAssemblies", list, "root");
    if (!read)
        AGReport("Can not read the CharacterAssembly: %s", fileName);
    return read;
}

// The cut names of the entries of one list.
template <typename Entries>
void AppendNames(const Entries& entries, std::vector<TString<char>>& out) {
    for (const auto& entry : entries)
        out.push_back(WardrobeManager::CutExtension(entry.Name));
}


// The first listed part named name + ".mdl".
template <typename Part>
Part* FindIn(const ContainerFactory<Part>& parts, const TString<char>& name) {
    const TString<char> model = name + kModelExtension;
    for (Part* part : parts)
        if (part->Name == model)
            return part;
    return nullptr;
}

// The profile whose parts the put-ons search: the current slot, -1 counting as 0.
u32 CurrentProfileIndex() {
    Settings* settings = PlayerProfileManager::Instance()->GetSettings();
    if (!settings || settings->CurrentSavedGame < 0)
        return 0;
    return u32(settings->CurrentSavedGame);
}

PlayerProfile* ProfileAt(u32 profileIndex) {
    if (!PlayerProfileManager::Instance()->GetSavedFile()) {
        AGReport("WardrobeManager: no profiles document");
        return nullptr;
    }
    return PlayerProfileManager::Instance()->GetSlot(i32(profileIndex));
}

}  // namespace

WardrobeManager* WardrobeManager::Instance() {
    if (!g_instance)
        g_instance = new WardrobeManager();
    return g_instance;
}

void WardrobeManager::Destroy() {
    delete g_instance;
    g_instance = nullptr;
}

WardrobeManager::~WardrobeManager() {
    if (m_CurrentOutfitPart)
        PartPool<OutfitPart>().Free(m_CurrentOutfitPart);
    if (m_CurrentAnatomyPart)
        PartPool<AnatomyPart>().Free(m_CurrentAnatomyPart);
}

void WardrobeManager::LoadDefaultAssemblies() {
    if (m_DefaultLoaded)
        return;
    m_DefaultLoaded = ReadAssemblies(kDefaultFile, m_DefaultAssemblies);
    for (const auto& record : m_DefaultAssemblies) {
        const bool male = record.Gender == CharacterAssembly::kMale;
        ReadPartFile(record.Wardrobe, "WardRobe", (male ? m_MaleDefaultWardrobes : m_FemaleDefaultWardrobes)[record.Name]);
        ReadPartFile(record.Anatomy, "AnatomyPart", (male ? m_MaleDefaultAnatomies : m_FemaleDefaultAnatomies)[record.Name]);
    }
}

void WardrobeManager::LoadUnlockableAssemblies() {
    if (m_UnlockableLoaded)
        return;
    m_UnlockableLoaded = ReadAssemblies(kUnlockableFile, m_UnlockableAssemblies);
    for (const auto& record : m_UnlockableAssemblies) {
        const bool male = record.Gender == CharacterAssembly::kMale;
        ReadPartFile(record.Wardrobe, "WardRobe",
                     (male ? m_MaleUnlockableWardrobes : m_FemaleUnlockableWardrobes)[record.Name]);
        ReadPartFile(record.Anatomy, "AnatomyPart",
                     (male ? m_MaleUnlockableAnatomies : m_FemaleUnlockableAnatomies)[record.Name]);
    }
}

void WardrobeManager::LoadExtraAssemblies() {
    if (m_ExtraLoaded)
        return;
    m_ExtraLoaded = ReadAssemblies(kExtraFile, m_ExtraAssemblies);
    for (const auto& record : m_ExtraAssemblies) {
        ExtraSet& set = m_ExtraSets[record.Name];
        ReadPartFile(record.Wardrobe, "WardRobe", record.Gender == CharacterAssembly::kMale ? set.male : set.female);
    }
}

TString<char> WardrobeManager::CutExtension(const TString<char>& name) {
    for (u32 i = name.Length(); i-- > 1;)
        if (name[i] == '.')
            return name.SubString(0, i);
    return name;
}

TString<char> WardrobeManager::GetLookName(const GameServices::KorvoGame::Appearance& appearance) {
    const TString<char>& name = appearance.Name;
    for (u32 i = name.Length(); i-- > 0;)
        if (name[i] == '.')
            return name.SubString(0, i);
    return name;
}

void WardrobeManager::GetDefaultOutfitPartNames(bool isMale, const TString<char>& assemblyName, u32 outfitType,
                                                std::vector<TString<char>>& out) {
    out.clear();
    if (!m_DefaultLoaded)
        AGReport("Load DefaultCharacterAssemblies.xml first.");
    if (!TypeInRange(outfitType, NB_OUTFIT_PART_TYPE))
        return;
    AppendNames((isMale ? m_MaleDefaultWardrobes : m_FemaleDefaultWardrobes)[assemblyName].Parts[outfitType], out);
}

void WardrobeManager::GetDefaultAnatomyPartNames(bool isMale, const TString<char>& assemblyName, u32 anatomyType,
                                                 std::vector<TString<char>>& out) {
    out.clear();
    if (!m_DefaultLoaded)
        AGReport("Load DefaultCharacterAssemblies.xml first.");
    if (!TypeInRange(anatomyType, NB_ANATOMY_PART_TYPE))
        return;
    AppendNames((isMale ? m_MaleDefaultAnatomies : m_FemaleDefaultAnatomies)[assemblyName].Parts[anatomyType], out);
}

void WardrobeManager::GetExtraOutfitPartNames(bool isMale, std::vector<TString<char>>& out) {
    out.clear();
    for (const auto& [name, set] : m_ExtraSets) {
        const Wardrobe& wardrobe = isMale ? set.male : set.female;
        for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type)
            AppendNames(wardrobe.Parts[type], out);
    }
}

void WardrobeManager::GetUnlockableAnatomyParts(u32 profileIndex, u32 anatomyType, ContainerFactory<AnatomyPart>& out) {
    out.Clear();
    if (!TypeInRange(anatomyType, NB_ANATOMY_PART_TYPE))
        return;
    PlayerProfile* profile = ProfileAt(profileIndex);
    if (!profile)
        return;
    const bool male = profile->Appearance.Assembly.Gender == CharacterAssembly::kMale;
    const Anatomy& anatomy =
        (male ? m_MaleUnlockableAnatomies : m_FemaleUnlockableAnatomies)[GetLookName(profile->Appearance)];
    FillPooledParts(anatomy.Parts[anatomyType], out);
}

void WardrobeManager::GetUnlockableOutfitParts(u32 profileIndex, u32 outfitType, ContainerFactory<OutfitPart>& out) {
    out.Clear();
    if (!TypeInRange(outfitType, NB_OUTFIT_PART_TYPE))
        return;
    PlayerProfile* profile = ProfileAt(profileIndex);
    if (!profile)
        return;
    const bool male = profile->Appearance.Assembly.Gender == CharacterAssembly::kMale;
    const Wardrobe& wardrobe =
        (male ? m_MaleUnlockableWardrobes : m_FemaleUnlockableWardrobes)[GetLookName(profile->Appearance)];
    FillPooledParts(wardrobe.Parts[outfitType], out);
}

void WardrobeManager::GetExtraOutfitParts(bool isMale, u32 outfitType, ContainerFactory<OutfitPart>& out) {
    out.Clear();
    if (!TypeInRange(outfitType, NB_OUTFIT_PART_TYPE))
        return;
    const TString<char> suffix = GetLookSuffix();
    for (const auto& [name, set] : m_ExtraSets) {
        for (const auto& entry : (isMale ? set.male : set.female).Parts[outfitType]) {
            OutfitPart* part = PartPool<OutfitPart>().Alloc();
            if (!part)
                return;
            const TString<char> base = CutExtension(entry.Name);
            part->Name = EndsWith(base, kSkinTag, true) ? base + suffix + kModelExtension : entry.Name;
            part->Id = entry.Id;
            part->Customizable = true;
            out.Add(part);
        }
    }
}

AnatomyPart* WardrobeManager::FindDefaultAnatomyPart(GameServices::Entities::Character* character,
                                                     const TString<char>& name) {
    if (!character) {
        AGReport("WardrobeManager: no character to search the parts of");
        return nullptr;
    }
    GameServices::KorvoGame::CharacterAssemblyManager* assemblies = GameServices::KorvoGame::CharacterAssemblyManager::Instance();
    for (u32 type = 0; type < NB_ANATOMY_PART_TYPE; ++type) {
        m_AnatomyScratch.Clear();
        assemblies->GetAnatomyParts(*character, type, m_AnatomyScratch);
        if (AnatomyPart* part = FindIn(m_AnatomyScratch, name))
            return part;
    }
    return nullptr;
}

OutfitPart* WardrobeManager::FindDefaultOutfitPart(GameServices::Entities::Character* character,
                                                   const TString<char>& name) {
    if (!character) {
        AGReport("WardrobeManager: no character to search the parts of");
        return nullptr;
    }
    GameServices::KorvoGame::CharacterAssemblyManager* assemblies = GameServices::KorvoGame::CharacterAssemblyManager::Instance();
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type) {
        m_OutfitScratch.Clear();
        assemblies->GetOutfitParts(*character, type, m_OutfitScratch);
        if (OutfitPart* part = FindIn(m_OutfitScratch, name))
            return part;
    }
    return nullptr;
}

AnatomyPart* WardrobeManager::FindUnlockableAnatomyPart(u32 profileIndex, const TString<char>& name) {
    for (u32 type = 0; type < NB_ANATOMY_PART_TYPE; ++type) {
        GetUnlockableAnatomyParts(profileIndex, type, m_AnatomyScratch);
        if (AnatomyPart* part = FindIn(m_AnatomyScratch, name))
            return part;
    }
    return nullptr;
}

OutfitPart* WardrobeManager::FindUnlockableOutfitPart(u32 profileIndex, const TString<char>& name) {
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type) {
        GetUnlockableOutfitParts(profileIndex, type, m_OutfitScratch);
        if (OutfitPart* part = FindIn(m_OutfitScratch, name))
            return part;
    }
    return nullptr;
}

OutfitPart* WardrobeManager::FindUnlockableOutfitPartOfType(u32 profileIndex, u32 outfitType,
                                                            const TString<char>& name) {
    GetUnlockableOutfitParts(profileIndex, outfitType, m_OutfitScratch);
    return FindIn(m_OutfitScratch, name);
}

OutfitPart* WardrobeManager::FindExtraOutfitPart(bool isMale, TString<char>& name) {
    // The same test as the offered names', so that a listed name is found again.
    if (EndsWith(name, kSkinTag, true))
        name += GetLookSuffix();
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type) {
        GetExtraOutfitParts(isMale, type, m_OutfitScratch);
        if (OutfitPart* part = FindIn(m_OutfitScratch, name))
            return part;
    }
    return nullptr;
}

u32 WardrobeManager::GetExtraOutfitPartType(bool isMale, const TString<char>& name) {
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type) {
        GetExtraOutfitParts(isMale, type, m_OutfitScratch);
        if (FindIn(m_OutfitScratch, name))
            return type;
    }
    return kNoOutfitType;
}

void WardrobeManager::UnlockAnatomyPart(const TString<char>& name, u32 profileIndex, u32 anatomyType) {
    AnatomyPart* part = FindUnlockableAnatomyPart(profileIndex, name);
    if (!part) {
        AGReport("Item was not found in the wardrobe: %s", name.c_str());
        return;
    }
    if (PlayerProfile* profile = ProfileAt(profileIndex))
        profile->UnlockAnatomyPart(anatomyType, *part);
}

void WardrobeManager::UnlockOutfitPart(const TString<char>& name, u32 outfitType, u32 profileIndex) {
    OutfitPart* part = FindUnlockableOutfitPartOfType(profileIndex, outfitType, name);
    if (!part) {
        AGReport("Item was not found in the wardrobe: %s", name.c_str());
        return;
    }
    if (PlayerProfile* profile = ProfileAt(profileIndex))
        profile->UnlockOutfitPart(outfitType, *part);
}

void WardrobeManager::PutOnAnatomyPart(GameServices::Entities::Character* character, const TString<char>& name) {
    if (m_CurrentAnatomyPart) {
        PartPool<AnatomyPart>().Free(m_CurrentAnatomyPart);
        m_CurrentAnatomyPart = nullptr;
    }
    if (!character) {
        AGReport("WardrobeManager: no character to put %s on", name.c_str());
        return;
    }
    AnatomyPart* part = FindDefaultAnatomyPart(character, name);
    if (!part)
        part = FindUnlockableAnatomyPart(CurrentProfileIndex(), name);
    if (!part)
        return;
    // Out of the scratch list, so that the next search does not give it back as well.
    m_AnatomyScratch.Detach(part);
    m_CurrentAnatomyPart = part;
    GameServices::KorvoGame::CharacterManager::Instance()->SetAnatomyPart(*part, *character);
}

void WardrobeManager::PutOnOutfitPart(GameServices::Entities::Character* character, const TString<char>& name,
                                      u32 outfitType) {
    if (m_CurrentOutfitPart) {
        PartPool<OutfitPart>().Free(m_CurrentOutfitPart);
        m_CurrentOutfitPart = nullptr;
    }
    if (!character) {
        AGReport("WardrobeManager: no character to put %s on", name.c_str());
        return;
    }
    OutfitPart* part = nullptr;
    u32 type = outfitType;
    if (EndsWith(name, kNoEyewear, false)) {
        part = PartPool<OutfitPart>().Alloc();
        if (!part)
            return;
        part->Name = name;
        part->Id = 0;
        part->Customizable = true;
    } else {
        part = FindDefaultOutfitPart(character, name);
        if (!part)
            part = FindUnlockableOutfitPart(CurrentProfileIndex(), name);
        if (part) {
            m_OutfitScratch.Detach(part);
        } else {
            const GameServices::KorvoGame::Appearance* appearance = character->VolatileDatas.GetAppearance();
            if (!appearance) {
                AGReport("No Appearance defined for this character");
                return;
            }
            const bool male = appearance->Assembly.Gender == CharacterAssembly::kMale;
            TString<char> searched = name;
            part = FindExtraOutfitPart(male, searched);
            if (!part)
                return;
            // Taken out before the type search refills the scratch list.
            m_OutfitScratch.Detach(part);
            type = GetExtraOutfitPartType(male, searched);
        }
    }
    m_CurrentOutfitPart = part;
    if (type < NB_OUTFIT_PART_TYPE)
        GameServices::KorvoGame::CharacterManager::Instance()->SetOutfitPart(*part, *character, type);
    else
        AGReport("WardrobeManager: outfit type %u is out of range", type);
}

}  // namespace GameShow
