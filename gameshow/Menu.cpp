#include "gameshow/Menu.h"

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/BehaviorManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/WardrobeManager.h"

namespace GameShow {

using GameServices::Entities::BaseTeamMember;
using GameServices::MiniGame::BaseGame;
namespace KG = GameServices::KorvoGame;

namespace {

enum ReportBit : u32 { kNoCursorLevel = 1, kNoCursor = 2, kNoMemberCursor = 4, kNoAvatar = 8 };

std::vector<BaseTeamMember*> PlayersTeam() {
    BaseGame* game = BaseGame::Current();
    KG::TeamRegistry* registry = game ? game->GetTeamRegistry() : nullptr;
    if (!registry || registry->GetMembers().empty())
        return {};
    GameServices::Entities::Team* team = registry->GetTeam();
    return team ? team->m_Members : std::vector<BaseTeamMember*>();
}

}  // namespace

Menu::Menu(CompositionManager* manager) : BaseMiniGame(kLevelName), m_Manager(manager) {}

Menu::~Menu() {
    RemoveDeviceListeners();
    if (BaseGame* game = BaseGame::Current())
        game->UnregisterModule(&Manager());
}

CompositionManager& Menu::Manager() const { return m_Manager ? *m_Manager : CompositionManager::Instance(); }

void Menu::ReportOnce(u32 bit, const char* message, const char* name) {
    if (m_Reported & bit)
        return;
    m_Reported |= bit;
    AGReport("%s%s", message, name);
}

void Menu::RemoveDeviceListeners() {
    KG::TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_NewDevice);
    KG::TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberLost);
}

void Menu::LoadLevel(bool reload) {
    KG::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    // The registry deletes the pool a new registration replaces.
    GameServices::Entities::GameEntityFactory::Instance()->RegisterFactory(
        kCharacterKind,
        new GameServices::Entities::EntityFactory<MenuCharacter>(kCharacterPool, kCharacterKind));
    GameServices::MiniGame::BehaviorManager::Instance()->LoadBehaviors(
        GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_GLOBAL_XML, kBehaviorsFile));
    BaseGame* game = BaseGame::Current();
    if (game)
        game->AddModule(&Manager());
    if (KG::TeamActionManager* teams = game ? game->GetTeamActionManager() : nullptr)
        teams->SetEnabled(false);
    m_Reload = reload;
    BaseMiniGame::LoadLevel(reload);
}

void Menu::InitializeLevel() {
    BaseMiniGame::InitializeLevel();
    m_Reported = 0;
    BaseGame* game = BaseGame::Current();
    if (KG::DeviceManager* devices = game ? game->GetDeviceManager() : nullptr)
        devices->SetDeviceRange(1, 1);
    // The one cursor follows the first playing human member: the single-player match's computer
    // member, still active after the match, has no pointer and would leave it standing still.
    for (BaseTeamMember* member : PlayersTeam())
        if (member && member->m_Active && !member->m_Computer) {
            CreatePlayerCursor(member);
            break;
        }
    // Once, however often the level starts.
    RemoveDeviceListeners();
    KG::TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_NewDevice);
    KG::TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberLost);
}

void Menu::CreatePlayerCursor(BaseTeamMember* member) {
    GameServices::Entities::ComponentLevel* cursors = m_Set ? m_Set->FindComponentLevel(kCursorLevel) : nullptr;
    if (!cursors) {
        ReportOnce(kNoCursorLevel, "The menu level has no component level ", kCursorLevel);
        return;
    }
    auto* cursor = dynamic_cast<KG::CollisionCursor*>(cursors->FindProp(kCursorName));
    if (!cursor) {
        ReportOnce(kNoCursor, "The menu level has no player cursor ", kCursorName);
        return;
    }
    if (!member)
        return;
    cursor->SetMember(member);
    member->m_Entity = cursor;
    cursor->Initialize();
    cursor->SetVisible(true);
    cursor->SetProjectionCamera(m_Set->GetActiveCamera());
    cursor->Synchronize = false;
}

void Menu::OnNewDevice(GameServices::Bridge::DeviceInfos& infos) {
    const std::vector<BaseTeamMember*> members = PlayersTeam();
    if (infos.m_DeviceId < 0 || size_t(infos.m_DeviceId) >= members.size())
        return;
    CreatePlayerCursor(members[size_t(infos.m_DeviceId)]);
}

void Menu::OnMemberDisconnected(BaseTeamMember* member) {
    GameServices::Entities::ComponentLevel* cursors = m_Set ? m_Set->FindComponentLevel(kCursorLevel) : nullptr;
    GameServices::Entities::Prop* cursor =
        cursors && member && member->m_Entity ? cursors->FindProp(member->m_Entity->Name) : nullptr;
    if (!cursor) {
        ReportOnce(kNoMemberCursor, "No menu cursor to hide for a lost device in ", kCursorLevel);
        return;
    }
    cursor->Reset();
    cursor->SetVisible(false);
    cursor->Synchronize = false;
}

void Menu::OnLevelStarted() {
    PlayerProfileManager* profiles = PlayerProfileManager::Instance();
    if (profiles->IsLoaded())
        return;
    if (GameServices::Entities::Character* avatar = profiles->FindAvatarCharacter(PlayerProfileManager::kAvatarName))
        avatar->SetVisible(false);
    else
        ReportOnce(kNoAvatar, "The menu level has no character ", PlayerProfileManager::kAvatarName);
    WardrobeManager* wardrobe = WardrobeManager::Instance();
    wardrobe->LoadDefaultAssemblies();
    wardrobe->LoadUnlockableAssemblies();
    profiles->LoadProfiles();
    profiles->PreloadDefaultLooks();
    Manager().LoadPopups();
    wardrobe->LoadExtraAssemblies();
}

void Menu::CleanupLevel() {
    if (BaseGame* game = BaseGame::Current())
        game->UnregisterModule(&Manager());
    RemoveDeviceListeners();
    BaseMiniGame::CleanupLevel();
    GameServices::Entities::GameEntityFactory::Instance()->ResetFactory(kCharacterKind);
}

}  // namespace GameShow
