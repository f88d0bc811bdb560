#pragma once
// Writes a RuntimeParameters.xml with the given (section, name, value) entries into a
// temporary folder and loads it; registers the default pools with small capacities.
#include <string>
#include <utility>
#include <vector>

#include "gameservices/entities/GameAudioAssetFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/GameVideoAssetFactory.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "tests/support/TempDir.h"

// A T that counts its live instances in the given counter.
template <typename T, int& Live>
struct Counted : T {
    Counted() { ++Live; }
    ~Counted() override { --Live; }
};

inline std::string ParameterItem(const std::string& section, const std::string& name,
                                 const std::string& value) {
    return "<item><Section>" + section + "</Section><Name>" + name + "</Name><Value>" + value + "</Value></item>";
}

inline std::string ParameterFile(const std::string& items) {
    return "<root><RuntimeParameters>" + items + "</RuntimeParameters></root>";
}

// Writes the items as the folder's RuntimeParameters.xml and loads it.
inline GameServices::KorvoGame::RuntimeParameters* LoadParameters(const TempDir& dir, const std::string& items) {
    auto* parameters = GameServices::KorvoGame::RuntimeParameters::Instance();
    parameters->LoadRuntimeParameters(dir.Write("RuntimeParameters.xml", ParameterFile(items)).c_str());
    return parameters;
}

// Loads capacities of ("GameServices", name) pairs.
inline void LoadCapacities(const TempDir& dir,
                           const std::vector<std::pair<std::string, unsigned>>& capacities) {
    std::string items;
    for (const auto& [name, capacity] : capacities)
        items += ParameterItem("GameServices", name, std::to_string(capacity));
    LoadParameters(dir, items);
}

// The entity, audio-asset and video-asset pools, each replacing the one before.
inline void RegisterTestPools(const TempDir& dir) {
    using namespace GameServices::Entities;
    LoadCapacities(dir, {{"FactoryCamera", 4}, {"FactoryLight", 6}, {"FactoryProp", 8},
                         {"FactoryCharacter", 2}, {"FactorySetElement", 3},
                         {"FactoryAudioAsset", 2}, {"FactoryVideoAsset", 2}});
    GameEntityFactory::Instance()->RegisterEntityFactories();
    GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
    GameVideoAssetFactory::Instance()->RegisterVideoAssetFactory();
}
