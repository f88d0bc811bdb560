#include <algorithm>
#include <cstdio>
#include <string>
#include <type_traits>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/QZCharacter.h"
#include "game/rules/QZ11Game.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/ContainerFactory.h"
#include "gameshow/PlayerProfileManager.h"

namespace QZ2011 {

using GameServices::Entities::Character;
using GameServices::KorvoGame::AnatomyPart;
using GameServices::KorvoGame::CharacterAssembly;
using GameServices::KorvoGame::CharacterManager;
using GameServices::KorvoGame::ContainerFactory;
using GameServices::KorvoGame::OutfitPart;

namespace {

// The family-look names come in rows of three members: tops, bottoms, shoes, then hairstyles;
// glasses have none.
constexpr u32 kHairRow = 3;
constexpr u32 kNoRow = 4;
constexpr i32 kRelatives = 3;

bool IsMale(const GameShow::PlayerProfile& profile) {
    return profile.Appearance.Assembly.Gender == CharacterAssembly::kMale;
}

// The look digit is the character before ".xml" of the avatar's appearance name
// ("AppearanceMale03.xml" gives "3"); a name too short to have one gives none.
TString<char> LookDigit(const GameShow::PlayerProfile& profile) {
    const std::string name = profile.Appearance.Name.c_str();
    return name.size() >= 5 ? TString<char>(name.substr(name.size() - 5, 1).c_str()) : TString<char>();
}

// Looks come in partner pairs 1-2, 3-4 and 5-6; any other digit has no partner.
TString<char> PartnerDigit(const TString<char>& look) {
    static const char* const kPartners[][2] = {{"1", "2"}, {"2", "1"}, {"3", "4"},
                                               {"4", "3"}, {"5", "6"}, {"6", "5"}};
    for (const auto& pair : kPartners)
        if (look == pair[0])
            return pair[1];
    return TString<char>();
}

TString<char> LookFile(bool male, const TString<char>& digit) {
    TString<char> file = male ? "AppearanceMale0" : "AppearanceFemale0";
    file += digit;
    file += ".xml";
    return file;
}

// The name of the part the character wears: the outfit part of that type, or the hairstyle;
// empty without a character.
template <typename Part>
TString<char> WornPartName(const Character* character, u32 outfitType) {
    if (!character)
        return TString<char>();
    Part part;
    if constexpr (std::is_same_v<Part, OutfitPart>)
        CharacterManager::Instance()->GetOutfitPart(outfitType, *character, part);
    else
        CharacterManager::Instance()->GetAnatomyPart(*character, part);
    return part.Name;
}

// Where a scan over n candidates starts when nothing valid is stored: a draw that never
// starts on the last two, or 0 when there are fewer than three.
u32 DrawStart(size_t n) {
    return n < 3 ? 0 : GameServices::Bridge::RandomRange(0, u32(n - 2));
}

// The start index of relative k's pick from a row of family-look names, kept in player 1's
// profile so that a player meets the same family at every match: the stored value when it lies
// in the list, else a new draw, which is stored. Without a row (the eyewear) or outside members
// 1..3, a draw that is kept nowhere.
u32 StartIndex(u32 row, i32 member, size_t n) {
    u32 start = DrawStart(n);
    if (row >= kNoRow || member < 1 || member > kRelatives)
        return start;
    const TString<char> key = QZ11Game::FamilyLookNames()[row * kRelatives + u32(member - 1)];
    int stored = int(start);
    GameShow::GetAchievementValue(0, key, stored);
    if (stored >= 0 && size_t(stored) < n)
        start = u32(stored);
    else
        start = DrawStart(n);
    GameShow::SetAchievementValue(0, key, int(start));
    return start;
}

// The first candidate from the start index on, wrapping round, that is neither the reference's
// part nor one of the avoided ones, copied out before the list goes back to its pool. outfitType is unused
// for the hairstyle.
template <typename Part>
bool PickPart(u32 outfitType, const Character* reference, Character& target, i32 member,
              const std::vector<TString<char>>& avoided, Part& chosen) {
    constexpr bool kOutfit = std::is_same_v<Part, OutfitPart>;
    ContainerFactory<Part> candidates;
    auto* assemblies = GameServices::KorvoGame::CharacterAssemblyManager::Instance();
    if constexpr (kOutfit)
        assemblies->GetOutfitParts(target, outfitType, candidates);
    else
        assemblies->GetAnatomyParts(target, GameServices::KorvoGame::ANATOMY_HAIRSTYLE, candidates);
    // Nothing to choose from: the look keeps its part and the stored start stays as it is.
    if (candidates.empty())
        return false;
    const TString<char> referenceName = WornPartName<Part>(reference, outfitType);
    const u32 row = !kOutfit ? kHairRow : outfitType < kHairRow ? outfitType : kNoRow;
    // From the start to the end, then on from the top: a list whose tail is all excluded still
    // dresses the member rather than leaving it in the part its file shares with the reference.
    const size_t start = StartIndex(row, member, candidates.size());
    for (size_t k = 0; k < candidates.size(); ++k) {
        const Part& candidate = *candidates[(start + k) % candidates.size()];
        if (candidate.Name == referenceName ||
            std::find(avoided.begin(), avoided.end(), candidate.Name) != avoided.end())
            continue;
        chosen = candidate;
        return true;
    }
    return false;
}

}  // namespace

const std::array<const char*, 12>& QZ11Game::FamilyLookNames() {
    static const std::array<const char*, 12> kNames = {
        "FamilyTopRandNum1",   "FamilyTopRandNum2",   "FamilyTopRandNum3",   "FamilyBottomRandNum1",
        "FamilyBottomRandNum2", "FamilyBottomRandNum3", "FamilyShoesRandNum1", "FamilyShoesRandNum2",
        "FamilyShoesRandNum3", "FamilyHairRandNum1",  "FamilyHairRandNum2",  "FamilyHairRandNum3"};
    return kNames;
}

QZCharacter* QZ11Game::GetContestant(int index) const {
    return index >= 0 && index < 8 ? m_Contestants[index] : nullptr;
}

template <typename Part>
std::vector<TString<char>> QZ11Game::AvoidedPartNames(u32 outfitType) const {
    std::vector<TString<char>> names;
    auto add = [&](const Character* character) {
        if (character)
            names.push_back(WornPartName<Part>(character, outfitType));
    };
    if (!m_DressingLeftFamily) {
        for (int i = 0; i < 4; ++i)
            add(m_Contestants[i]);
    } else {
        const QZ2011GameContext* context = QZ2011GameContext::Current();
        if (context && context->m_TwoPlayers == 1)
            add(m_PlayerTwoAvatar);
    }
    return names;
}

bool QZ11Game::PickFamilyOutfitPart(u32 outfitType, Character* reference, Character* target, i32 memberNumber,
                                    OutfitPart& chosen) {
    if (!target)
        return false;
    return PickPart(outfitType, reference, *target, memberNumber, AvoidedPartNames<OutfitPart>(outfitType), chosen);
}

bool QZ11Game::PickFamilyHairstyle(Character* reference, Character* target, i32 memberNumber, AnatomyPart& chosen) {
    if (!target)
        return false;
    return PickPart(0, reference, *target, memberNumber, AvoidedPartNames<AnatomyPart>(0), chosen);
}

void QZ11Game::DressFamilyMember(i32 memberNumber, Character* target, Character* reference) {
    if (!target)
        return;
    CharacterManager* characters = CharacterManager::Instance();
    for (u32 type : {GameServices::KorvoGame::OUTFIT_TOP, GameServices::KorvoGame::OUTFIT_BOTTOM,
                     GameServices::KorvoGame::OUTFIT_FOOTWEAR}) {
        OutfitPart part;
        if (PickFamilyOutfitPart(type, reference, target, memberNumber, part))
            characters->SetOutfitPart(part, *target, type);
    }
    AnatomyPart hair;
    if (PickFamilyHairstyle(reference, target, memberNumber, hair))
        characters->SetAnatomyPart(hair, *target);
}

std::string QZ11Game::OpponentLookFile(u32 decade, u32 difficulty, u32 member) {
    if (decade >= kOpponentDecades.size() || member >= kOpponentMembers.size())
        return std::string();
    return std::string(kOpponentDecades[decade]) + "s_F" + std::to_string(difficulty + 1) + "_AppearanceOpponent" +
           kOpponentMembers[member] + ".xml";
}

void QZ11Game::LoadComputerFamily(QZCharacter* const* members) {
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || context->m_Decade >= kOpponentDecades.size() || context->m_Difficulty >= kOpponentDifficulties)
        return;
    for (u32 i = 0; i < kOpponentMembers.size(); ++i)
        if (members[i])
            CharacterManager::Instance()->LoadAppearance(
                OpponentLookFile(context->m_Decade, context->m_Difficulty, i).c_str(), *members[i]);
}

// A player's own avatar on a contestant. Building it from the profile only dresses it; like a
// loaded look it must also be activated (an inactive character never joins the drawn layer)
// and started.
void QZ11Game::BuildPlayerAvatar(i32 playerId, QZCharacter* character) {
    GameShow::PlayerProfileManager::Instance()->BuildCharacterFromProfile(playerId, character);
    if (!character || !character->VolatileDatas.GetAppearance())
        return;
    character->Activate = true;
    character->Initialize();
}

void QZ11Game::SetUpFamily(bool left, GameShow::PlayerProfile* profile, i32 playerId, bool buildAvatar) {
    QZCharacter* const* family = m_Contestants + (left ? 0 : 4);
    if (!profile) {
        LoadComputerFamily(family);
        return;
    }
    const bool male = IsMale(*profile);
    const TString<char> look = LookDigit(*profile);
    const TString<char> partner = PartnerDigit(look);
    auto load = [&](int member, const TString<char>& file) {
        if (family[member - 1])
            CharacterManager::Instance()->LoadAppearance(file, *family[member - 1]);
    };
    if (buildAvatar && family[male ? 0 : 2])
        BuildPlayerAvatar(playerId, family[male ? 0 : 2]);
    m_DressingLeftFamily = left;
    if (male) {
        load(3, LookFile(false, partner));
        load(2, LookFile(true, look));
        load(4, LookFile(false, partner));
        DressFamilyMember(1, family[1], family[0]);
        DressFamilyMember(2, family[2], family[0]);
        DressFamilyMember(3, family[3], family[2]);
    } else {
        load(1, LookFile(true, partner));
        load(2, LookFile(true, partner));
        load(4, LookFile(false, look));
        DressFamilyMember(1, family[0], family[2]);
        DressFamilyMember(2, family[1], family[0]);
        DressFamilyMember(3, family[3], family[2]);
    }
}

void QZ11Game::SetUpFamilies() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    GameShow::PlayerProfile* playerOne = profiles->GetProfile(0);
    // Right members 1-4 first, then the left ones.
    for (int i : {4, 5, 6, 7, 0, 1, 2, 3}) {
        m_Contestants[i] = dynamic_cast<QZCharacter*>(m_Set ? m_Set->FindCharacter(kContestants[i]) : nullptr);
        if (!m_Contestants[i])
            ReportMissing(kContestants[i]);
    }
    const bool twoPlayers = context && context->m_TwoPlayers == 1;
    m_PlayerTwoAvatar = nullptr;
    GameShow::PlayerProfile* playerTwo = nullptr;
    if (twoPlayers) {
        // The in-game tags call the two players "PLAYER 1" and "PLAYER 2"; their profiles keep
        // their own names.
        playerTwo = profiles->GetProfile(1);
        if (playerTwo) {
            const bool male = IsMale(*playerTwo);
            m_PlayerTwoAvatar = m_Contestants[male ? 4 : 6];
            if (m_PlayerTwoAvatar)
                BuildPlayerAvatar(1, m_PlayerTwoAvatar);
            context->m_PlayerTwoMale = male ? 1 : 0;
        }
    }
    if (playerOne && context)
        context->m_PlayerOneMale = IsMale(*playerOne) ? 1 : 0;
    for (const char* name : FamilyLookNames())
        profiles->AddAttribute(name);
    SetUpFamily(true, playerOne, 0, true);
    // Player 2's avatar is on stage already: the left family's picks avoid its parts.
    SetUpFamily(false, playerTwo, 1, false);

    auto findFace = [this](const char* component, const char* face) -> QZCharacter* {
        GameServices::Entities::ComponentLevel* level = m_Set ? m_Set->FindComponentLevel(component) : nullptr;
        auto* character = level ? dynamic_cast<QZCharacter*>(level->FindCharacter(face)) : nullptr;
        if (!character)
            ReportMissing(level ? face : component);
        return character;
    };
    m_FaceRight = findFace(kFaces[1][0], kFaces[1][1]);
    m_FaceLeft = findFace(kFaces[0][0], kFaces[0][1]);
    if (m_FaceLeft)
        m_FaceLeft->SetRotationY(160.0f);
    if (m_FaceRight)
        m_FaceRight->SetRotationY(200.0f);
    profiles->WriteSavedGame();
    HideAllContestants();
}

}  // namespace QZ2011
