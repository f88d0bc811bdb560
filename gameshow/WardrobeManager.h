#pragma once
// The catalogue of everything the menu avatar can wear: the default looks'
// ("CharacterAssemblies.xml"), the looks whose items are won through awards
// ("UnlockableCharacterAssemblies.xml") and the extra items ("RetailerCharacterAssemblies.xml"),
// each assembly with its wardrobe and anatomy files, kept per gender and assembly name. It
// lists item names for the wardrobe page, unlocks items in profiles and puts items on the
// avatar as pooled parts.
//
// Item names given to the finds and put-ons carry no extension; a part matches when its name
// equals the given name + ".mdl". Outfit types 0 tops, 1 bottoms, 2 footwear, 3 eyewear;
// anatomy types 0 head, 1 left eye, 2 right eye, 3 hair style.
#include <map>
#include <vector>

#include "engine/core/TString.h"
#include "gameservices/game/Appearance.h"
#include "gameservices/game/CharacterAssemblyRecords.h"
#include "gameservices/game/ContainerFactory.h"

namespace GameServices::Entities {
class Character;
}

namespace GameShow {

class WardrobeManager {
public:
    using OutfitPart = GameServices::KorvoGame::OutfitPart;
    using AnatomyPart = GameServices::KorvoGame::AnatomyPart;
    using Wardrobe = GameServices::KorvoGame::sWardRobe_KorvoCity;
    using Anatomy = GameServices::KorvoGame::sAnatomy_KorvoCity;
    using AssemblyList = GameServices::Utilities::SerializableVector<GameServices::KorvoGame::sCharacterAssembly_KorvoCity>;

    static constexpr const char* kDefaultFile = "CharacterAssemblies.xml";
    static constexpr const char* kUnlockableFile = "UnlockableCharacterAssemblies.xml";
    static constexpr const char* kExtraFile = "RetailerCharacterAssemblies.xml";
    // GetExtraOutfitPartType when no extra item has the name.
    static constexpr u32 kNoOutfitType = 4;

    // An extra assembly's outfit items, by gender.
    struct ExtraSet {
        Wardrobe female;
        Wardrobe male;
    };

    // The single manager, made on first use.
    static WardrobeManager* Instance();
    // Deletes the manager (tests); the next Instance() makes a fresh one.
    static void Destroy();

    WardrobeManager() = default;
    virtual ~WardrobeManager();
    WardrobeManager(const WardrobeManager&) = delete;
    WardrobeManager& operator=(const WardrobeManager&) = delete;

    // Each reads its assemblies file and the files it names, once: a file read successfully
    // is not read again; after a failed read the next call reads it again.
    void LoadDefaultAssemblies();
    void LoadUnlockableAssemblies();
    // Wardrobes only.
    void LoadExtraAssemblies();

    // Name lists for the wardrobe page, extensions cut, in file order; out is emptied first.
    // An assembly name no file defines gives an empty list.
    void GetDefaultOutfitPartNames(bool isMale, const TString<char>& assemblyName, u32 outfitType,
                                   std::vector<TString<char>>& out);
    void GetDefaultAnatomyPartNames(bool isMale, const TString<char>& assemblyName, u32 anatomyType,
                                    std::vector<TString<char>>& out);
    // Every extra set in name order, types 0 to 3 within each.
    void GetExtraOutfitPartNames(bool isMale, std::vector<TString<char>>& out);

    // The unlockable parts of a profile's look (names kept whole); out is emptied first.
    void GetUnlockableAnatomyParts(u32 profileIndex, u32 anatomyType,
                                   GameServices::KorvoGame::ContainerFactory<AnatomyPart>& out);
    void GetUnlockableOutfitParts(u32 profileIndex, u32 outfitType,
                                  GameServices::KorvoGame::ContainerFactory<OutfitPart>& out);
    // The extra parts of one type; "..skin01" items carry the current profile's skin tone.
    void GetExtraOutfitParts(bool isMale, u32 outfitType,
                             GameServices::KorvoGame::ContainerFactory<OutfitPart>& out);

    // The look key: the appearance's name up to its last "." (whole without one).
    static TString<char> GetLookName(const GameServices::KorvoGame::Appearance& appearance);
    // The name up to its last "." at index 1 or more; whole without one.
    static TString<char> CutExtension(const TString<char>& name);

    // Finds by item name; types 0..3 in turn, items in list order, the first match. The part
    // returned is held by a scratch list until the next search of its kind; null when none.
    AnatomyPart* FindDefaultAnatomyPart(GameServices::Entities::Character* character, const TString<char>& name);
    OutfitPart* FindDefaultOutfitPart(GameServices::Entities::Character* character, const TString<char>& name);
    AnatomyPart* FindUnlockableAnatomyPart(u32 profileIndex, const TString<char>& name);
    OutfitPart* FindUnlockableOutfitPart(u32 profileIndex, const TString<char>& name);
    OutfitPart* FindUnlockableOutfitPartOfType(u32 profileIndex, u32 outfitType, const TString<char>& name);
    // A name ending in "skin01" gets the current look's suffix (the caller's string changes).
    OutfitPart* FindExtraOutfitPart(bool isMale, TString<char>& name);
    // The type holding the name among the extra parts; kNoOutfitType when none.
    u32 GetExtraOutfitPartType(bool isMale, const TString<char>& name);

    // Records the part in the profile: found under any type, recorded under the one given. A
    // name found nowhere is reported and nothing is recorded.
    void UnlockAnatomyPart(const TString<char>& name, u32 profileIndex, u32 anatomyType);
    void UnlockOutfitPart(const TString<char>& name, u32 outfitType, u32 profileIndex);

    // Puts the item on the character (defaults, then unlocked, then, for outfits, extra
    // items); the part put on before is given back first. A name found nowhere puts nothing
    // on. Outfit names ending in "No_Eyewear" go on as they are.
    void PutOnAnatomyPart(GameServices::Entities::Character* character, const TString<char>& name);
    void PutOnOutfitPart(GameServices::Entities::Character* character, const TString<char>& name, u32 outfitType);

    bool IsDefaultLoaded() const { return m_DefaultLoaded; }
    bool IsUnlockableLoaded() const { return m_UnlockableLoaded; }
    bool IsExtraLoaded() const { return m_ExtraLoaded; }
    // The parts last put on; each is out of the scratch lists and goes back to its pool once.
    const OutfitPart* GetCurrentOutfitPart() const { return m_CurrentOutfitPart; }
    const AnatomyPart* GetCurrentAnatomyPart() const { return m_CurrentAnatomyPart; }
    const GameServices::KorvoGame::ContainerFactory<OutfitPart>& GetOutfitScratch() const { return m_OutfitScratch; }
    const GameServices::KorvoGame::ContainerFactory<AnatomyPart>& GetAnatomyScratch() const { return m_AnatomyScratch; }

private:
    bool m_DefaultLoaded = false;
    AssemblyList m_DefaultAssemblies;
    std::map<TString<char>, Wardrobe> m_FemaleDefaultWardrobes;
    std::map<TString<char>, Anatomy> m_FemaleDefaultAnatomies;
    std::map<TString<char>, Anatomy> m_MaleDefaultAnatomies;
    std::map<TString<char>, Wardrobe> m_MaleDefaultWardrobes;
    bool m_UnlockableLoaded = false;
    AssemblyList m_UnlockableAssemblies;
    std::map<TString<char>, Anatomy> m_FemaleUnlockableAnatomies;
    std::map<TString<char>, Wardrobe> m_FemaleUnlockableWardrobes;
    std::map<TString<char>, Anatomy> m_MaleUnlockableAnatomies;
    std::map<TString<char>, Wardrobe> m_MaleUnlockableWardrobes;
    bool m_ExtraLoaded = false;
    AssemblyList m_ExtraAssemblies;
    std::map<TString<char>, ExtraSet> m_ExtraSets;
    OutfitPart* m_CurrentOutfitPart = nullptr;
    AnatomyPart* m_CurrentAnatomyPart = nullptr;
    GameServices::KorvoGame::ContainerFactory<OutfitPart> m_OutfitScratch;
    GameServices::KorvoGame::ContainerFactory<AnatomyPart> m_AnatomyScratch;
};

}  // namespace GameShow
