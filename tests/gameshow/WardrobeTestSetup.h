#pragma once
// The wardrobe catalogue over small character files in the profile fixture's folder: default
// assemblies "Male1" (101) and "Female1" (201), unlockable looks "AppearanceMale01" and
// "AppearanceFemale01", extra sets "Alpha" and "Pack"; profiles of those looks, and a menu
// avatar wearing "Male1" with every part customizable and a render record.
#include <string>
#include <type_traits>
#include <vector>

#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/PartPools.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/WardrobeManager.h"
#include "tests/gameshow/ProfileTestSetup.h"

namespace wardrobetest {

using GameServices::KorvoGame::Appearance;
using profiletest::Assemblies, profiletest::Assembly;
using GameServices::KorvoGame::CharacterAssembly;
using Names = std::vector<std::string>;

// <root><WardRobe> with the four lists, each given as "<item>..</item>" text.
inline std::string WardrobeText(const std::string& tops, const std::string& bottoms, const std::string& footwear,
                                const std::string& eyewear) {
    return "<WardRobe><Eyewear>" + eyewear + "</Eyewear><Tops>" + tops + "</Tops><Bottoms>" + bottoms +
           "</Bottoms><Footwear>" + footwear + "</Footwear></WardRobe>";
}
inline std::string AnatomyText(const std::string& head, const std::string& hair) {
    return "<AnatomyPart><head>" + head + "</head><eye_left/><eye_right/><Hairstyle>" + hair +
           "</Hairstyle></AnatomyPart>";
}
inline std::string Item(int id, const std::string& name) {
    return "<item><Id>" + std::to_string(id) + "</Id><Name>" + name + "</Name></item>";
}

inline Appearance Look(const char* name, const char* assembly, u32 id, u8 gender) {
    Appearance look;
    look.Name = name;
    look.Assembly.Name = assembly;
    look.Assembly.Id = id;
    look.Assembly.Gender = gender;
    for (auto& part : look.OutfitParts)
        part.Customizable = true;
    look.AnatomyParts[GameServices::KorvoGame::ANATOMY_HAIRSTYLE].Customizable = true;
    return look;
}

class WardrobeTest : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        GameShow::WardrobeManager::Destroy();
        WriteCharacterFiles();
        GameServices::KorvoGame::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
        // The default-find of the avatar's own assembly needs every entry customizable.
        look = Look("AppearanceMale01.xml", "Male1", 101, CharacterAssembly::kMale);
        GameServices::KorvoGame::CharacterManager::Instance()->SetAppearance(avatar, look);
        avatar.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA, &avatarData);
        Load();
        wardrobe = GameShow::WardrobeManager::Instance();
    }
    void TearDown() override {
        GameShow::WardrobeManager::Destroy();
        GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(avatar);
        GameServices::KorvoGame::CharacterManager::Destroy();
        ProfileTest::TearDown();
    }

    std::string Korvo(const std::string& name) const { return "-xml/korvocity/" + name; }
    void WriteKorvo(const std::string& name, const std::string& text) const { dir.Write(Korvo(name), text); }

    // An item file: the wardrobe lists, then the anatomy lists if any.
    void WriteItemFile(const std::string& name, const std::string& wardrobe, const std::string& anatomy = "") const {
        WriteKorvo(name, "<root>" + wardrobe + anatomy + "</root>");
    }

    void WriteCharacterFiles() const {
        WriteKorvo("characterassemblies.xml", Assemblies(Assembly("Male1", 101, "male.xml", "Male") +
                                                         Assembly("Female1", 201, "female.xml", "Female")));
        WriteItemFile("male.xml",
                      WardrobeText(Item(11, "ChM_Top_Disco.mdl") + Item(12, "x.y.mdl") + Item(13, "Plain") +
                                       Item(14, "Shared.mdl"),
                                   Item(21, "ChM_Jeans.mdl"), Item(31, "ChM_Boots.mdl"),
                                   Item(41, "ChM_No_Eyewear.mdl") + Item(42, "ChM_Glasses.mdl")),
                      AnatomyText(Item(1, "ChM_Head.mdl"),
                                  Item(51, "ChM_Hair_Afro.mdl") + Item(52, "Shared_Hair.mdl")));
        WriteItemFile("female.xml", WardrobeText(Item(11, "ChF_Top_Blouse.mdl"), "", "", ""),
                      AnatomyText("", Item(51, "ChF_Hair_Bob.mdl")));
        WriteKorvo("unlockablecharacterassemblies.xml",
                   Assemblies(Assembly("AppearanceMale01", 301, "ul_m1.xml", "Male") +
                              Assembly("AppearanceFemale01", 401, "ul_f1.xml", "Female")));
        WriteItemFile("ul_m1.xml",
                      WardrobeText(Item(61, "ChM_Top_Gold.mdl") + Item(62, "Shared.mdl"),
                                   Item(71, "ChM_Bottom_Gold.mdl"), "", Item(91, "ChM_Glasses_Star.mdl")),
                      AnatomyText(Item(7, "Shiny_Head.mdl"),
                                  Item(101, "ChM_Hair_Long.mdl") + Item(102, "Shared_Hair.mdl")));
        WriteItemFile("ul_f1.xml", WardrobeText(Item(61, "ChF_Top_Gold.mdl"), "", "", ""),
                      AnatomyText("", Item(101, "ChF_Hair_Long.mdl")));
        WriteKorvo("retailercharacterassemblies.xml",
                   Assemblies(Assembly("Pack", 500, "ex_m.xml", "Male") + Assembly("Pack", 501, "ex_f.xml", "Female") +
                              Assembly("Alpha", 502, "ex_a.xml", "Male")));
        WriteItemFile("ex_m.xml",
                      WardrobeText(Item(111, "ChM_Jersey_skin01.mdl") + Item(112, "Shared.mdl") +
                                       Item(113, "ChM_Top_Gold.mdl"),
                                   Item(121, "ChM_Shorts_SKIN01.mdl"), Item(131, "ChM_Skates.mdl"), ""));
        WriteItemFile("ex_f.xml", WardrobeText(Item(111, "ChF_Jersey_skin01.mdl"), "", "", ""));
        WriteItemFile("ex_a.xml", WardrobeText("", "", "", Item(141, "ChM_Sport.mdl")));
    }

    void LoadAll() {
        wardrobe->LoadDefaultAssemblies();
        wardrobe->LoadUnlockableAssemblies();
        wardrobe->LoadExtraAssemblies();
    }
    // A profile of the look, made current; its slot.
    i32 AddProfile(const Appearance& profileLook, const char* name) {
        GameShow::PlayerProfile* profile = manager->CreateProfile(profileLook, name);
        EXPECT_NE(profile, nullptr);
        manager->SelectProfile(profile->Id);
        return profile->Id;
    }

    // The names in a list of parts or of name strings.
    template <typename List>
    static Names NamesOf(const List& list) {
        Names names;
        for (const auto& item : list)
            if constexpr (std::is_pointer_v<std::decay_t<decltype(item)>>)
                names.push_back(item->Name.c_str());
            else
                names.push_back(item.c_str());
        return names;
    }
    std::string Worn(u32 outfitType) const { return avatarData.m_PartNames[4 + outfitType].c_str(); }
    std::string Hair() const { return avatarData.m_PartNames[3].c_str(); }

    GameShow::WardrobeManager* wardrobe = nullptr;
    Appearance look;
    GameShow::MenuCharacter avatar{"MenuAvatar"};
    GameServices::Bridge::RenderableAvatarData avatarData;
};

}  // namespace wardrobetest
