#pragma once
// Turns the records of a level file into the entities of a set, record by record in file
// order: each entity comes from its pool (the default pool of its type for an empty Kind,
// else the pool registered for the Kind), gets its name, its rendering and collision
// records, its transform and flags, its Activate flag and its application data, and joins
// the set's list of its kind.
#include "gameservices/game/sLevel.h"

namespace GameServices::Entities {
class Entity;
class Set;
}  // namespace GameServices::Entities

namespace GameServices::KorvoGame {

class IAppearanceService;
class IBridgeSystems;

class LevelBuilder {
public:
    LevelBuilder(IBridgeSystems& bridge, IAppearanceService* appearances)
        : m_Bridge(bridge), m_Appearances(appearances) {}

    // Packages (appended to the set's names, then every name mounted), cameras, lights, set
    // elements, props, characters, component levels, audio and video assets, and the
    // level's application data as the set's attribute.
    void BuildLevel(const sLevel& level, Entities::Set& set);

private:
    // A component level without cameras shares its parent's first camera.
    void BuildCameras(const RecordList<sCamera>& cameras, Entities::Set& set,
                      const Entities::Set* parent);
    void BuildLights(const RecordList<sLight>& lights, Entities::Set& set);
    void BuildSetElements(const RecordList<sSetElement>& elements, Entities::Set& set);
    void BuildProps(const RecordList<sProp>& props, Entities::Set& set);
    void BuildCharacters(const RecordList<sCharacter>& characters, Entities::Set& set);
    void BuildComponentLevels(const RecordList<sComponentLevel>& levels, Entities::Set& set);
    void BuildAudioAssets(const RecordList<sAudioAsset>& assets, Entities::Set& set);
    void BuildVideoAssets(const RecordList<sVideoAsset>& assets, Entities::Set& set);

    // Copies the prepared record into the entity's rendering record, taking one from the
    // rendering pool when the entity has none; false when the pool has none left.
    bool SetRenderable(Entities::Entity& entity, const TString<char>& fileName,
                       const TString<char>& dataPath, const TString<char>& textureFileName,
                       const sAnimation* animation);
    void SetCollision(Entities::Entity& entity, const sCollision& collision);

    IBridgeSystems& m_Bridge;
    IAppearanceService* m_Appearances;
    // The level being built, handed to entity-data extensions.
    const sLevel* m_Level = nullptr;
};

}  // namespace GameServices::KorvoGame
