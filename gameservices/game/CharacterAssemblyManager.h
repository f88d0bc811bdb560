#pragma once
// Reads "CharacterAssemblies.xml" and every wardrobe and anatomy file it names once, and
// answers lookups on them: assemblies by id, part names by id, and the parts a character may
// choose from.
#include <map>
#include <memory>

#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameservices/game/ContainerFactory.h"

namespace GameServices::Entities {
class Character;
}

namespace GameServices::KorvoGame {

class CharacterAssemblyManager {
public:
    static constexpr const char* kFileName = "CharacterAssemblies.xml";

    static CharacterAssemblyManager* Instance();
    // Deletes the singleton and every record it read (shutdown).
    static void Destroy();
    virtual ~CharacterAssemblyManager();
    CharacterAssemblyManager(const CharacterAssemblyManager&) = delete;
    CharacterAssemblyManager& operator=(const CharacterAssemblyManager&) = delete;

    // Reads "CharacterAssemblies.xml" (root "root", element "CharacterAssemblies") once,
    // unless ("GameServices", "UseCharacterAssemblies") is false. A failed read is reported
    // and tried again by the next call.
    void LoadCharacterAssemblies();
    // LoadCharacterAssemblies, then each wardrobe and anatomy file the assemblies name, once
    // per file name (character folder). An unreadable file is reported and kept as an empty
    // record. Does nothing after the first call.
    void PreloadCharacterAssemblies();

    // Copy the first assembly with that id; false, reported, when there is none or the
    // assemblies are not loaded.
    bool FindCharacterAssembly(u32 id, CharacterAssembly& out) const;
    bool FindCharacterAssemblyRecord(u32 id, sCharacterAssembly_KorvoCity& out) const;

    // The name of the first part of that type and id in the assembly's wardrobe (anatomy);
    // false, reported, with out unchanged when any of them is missing.
    bool GetOutfitPartName(u32 assemblyId, u32 outfitType, u32 partId, TString<char>& out) const;
    bool GetAnatomyPartName(u32 assemblyId, u32 anatomyType, u32 partId,
                            TString<char>& out) const;

    // Appends to out one pooled, customizable part per entry of that type in the wardrobe
    // (anatomy) of the character's assembly. Requires the character's appearance with that
    // entry customizable; stops, reported, when the pool runs dry.
    void GetOutfitParts(const Entities::Character& character, u32 outfitType,
                        ContainerFactory<OutfitPart>& out) const;
    void GetAnatomyParts(const Entities::Character& character, u32 anatomyType,
                         ContainerFactory<AnatomyPart>& out) const;

    bool AreAssembliesLoaded() const { return m_AssembliesLoaded; }
    bool IsPreloaded() const { return m_Preloaded; }
    const Utilities::SerializableVector<sCharacterAssembly_KorvoCity>& GetAssemblies() const {
        return m_Assemblies;
    }

private:
    CharacterAssemblyManager();
    const sCharacterAssembly_KorvoCity* FindRecord(u32 id) const;
    // The preloaded wardrobe (anatomy) of an assembly; null, reported, when missing.
    const sWardRobe_KorvoCity* FindWardrobe(u32 assemblyId) const;
    const sAnatomy_KorvoCity* FindAnatomy(u32 assemblyId) const;
    // False, reported, until the assemblies are loaded.
    bool ReadyForParts() const;

    bool m_AssembliesLoaded = false;
    bool m_Preloaded = false;
    // Keyed by the name id of the file name.
    std::map<u32, std::unique_ptr<sWardRobe_KorvoCity>> m_Wardrobes;
    std::map<u32, std::unique_ptr<sAnatomy_KorvoCity>> m_Anatomies;
    Utilities::SerializableVector<sCharacterAssembly_KorvoCity> m_Assemblies;
};

}  // namespace GameServices::KorvoGame
