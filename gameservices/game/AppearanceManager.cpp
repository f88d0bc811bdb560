#include "gameservices/game/AppearanceManager.h"

#include <string>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/CharacterAssemblyManager.h"

namespace GameServices::KorvoGame {

namespace {

void SerializeEntry(Utilities::ISerialization& serialization, const char* prefix,
                    sAppearance_KorvoCity::Entry& entry) {
    const std::string name = prefix;
    serialization.SerializeString((name + "_Name").c_str(), entry.Name, TString<char>());
    serialization.SerializeUInt((name + "_Id").c_str(), entry.Id, 0);
    serialization.SerializeBool((name + "_Customizable").c_str(), entry.Customizable, false);
}

template <typename Part>
void DescribePart(const Part& part, sAppearance_KorvoCity::Entry& entry) {
    entry.Name = part.Name;
    entry.Id = part.Id;
    entry.Customizable = part.Customizable;
}

template <typename Part>
void CopyEntry(const sAppearance_KorvoCity::Entry& entry, const TString<char>& name, Part& part) {
    part.Name = name;
    part.Id = entry.Id;
    part.Customizable = entry.Customizable;
}

}  // namespace

void sAppearance_KorvoCity::Serialize(Utilities::ISerialization& serialization) {
    serialization.SerializeString("Name", Name, TString<char>());
    serialization.SerializeString("CharacterAssembly_Name", CharacterAssemblyName, TString<char>());
    serialization.SerializeUInt("CharacterAssembly_Id", CharacterAssemblyId, 0);
    for (u32 type = 0; type < NB_ANATOMY_PART_TYPE; ++type)
        SerializeEntry(serialization, kAnatomyFields[type], AnatomyParts[type]);
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type)
        SerializeEntry(serialization, kOutfitFields[type], OutfitParts[type]);
}

void sAppearance_KorvoCity::Describe(const Appearance& look) {
    Name = look.Name;
    CharacterAssemblyName = look.Assembly.Name;
    CharacterAssemblyId = look.Assembly.Id;
    for (u32 type = 0; type < NB_ANATOMY_PART_TYPE; ++type)
        DescribePart(look.AnatomyParts[type], AnatomyParts[type]);
    for (u32 type = 0; type < NB_OUTFIT_PART_TYPE; ++type)
        DescribePart(look.OutfitParts[type], OutfitParts[type]);
}

namespace {
AppearanceManager* g_AppearanceManager = nullptr;
}  // namespace

AppearanceManager* AppearanceManager::Instance() {
    if (!g_AppearanceManager)
        g_AppearanceManager = new AppearanceManager();
    return g_AppearanceManager;
}

void AppearanceManager::Destroy() {
    delete g_AppearanceManager;
    g_AppearanceManager = nullptr;
}

void AppearanceManager::LoadAvatarDescription(const TString<char>& name, Appearance& out) {
    sAppearance_KorvoCity record;
    const TString<char> path = Bridge::FileSystem::GetFilePath(Bridge::FILE_KORVOCITY_XML, name);
    Utilities::XmlReader reader;
    if (!reader.ReadFileElement(path.c_str(), "Avatar_KorvoCity", record, "root"))
        AGReport("Can not read the avatar desc: %s", path.c_str());

    CharacterAssemblyManager* assemblies = CharacterAssemblyManager::Instance();
    for (u32 t = 0; t < NB_OUTFIT_PART_TYPE; ++t) {
        const sAppearance_KorvoCity::Entry& entry = record.OutfitParts[t];
        TString<char> partName = entry.Name;
        if (entry.Id != 0)
            assemblies->GetOutfitPartName(record.CharacterAssemblyId, t, entry.Id, partName);
        CopyEntry(entry, partName, out.OutfitParts[t]);
    }
    for (u32 t = 0; t < NB_ANATOMY_PART_TYPE; ++t) {
        const sAppearance_KorvoCity::Entry& entry = record.AnatomyParts[t];
        TString<char> partName = entry.Name;
        if (entry.Id != 0)
            assemblies->GetAnatomyPartName(record.CharacterAssemblyId, t, entry.Id, partName);
        CopyEntry(entry, partName, out.AnatomyParts[t]);
    }
    assemblies->FindCharacterAssembly(record.CharacterAssemblyId, out.Assembly);
    out.Name = record.Name;
    out.NameId = Crc32Hash(out.Name.c_str());
}

}  // namespace GameServices::KorvoGame
