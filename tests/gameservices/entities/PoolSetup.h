#pragma once
// Writes a RuntimeParameters.xml with the given (section, name, value) entries into a
// temporary folder and loads it.
#include <string>
#include <utility>
#include <vector>

#include "gameservices/entities/RuntimeParameters.h"
#include "tests/support/TempDir.h"

inline std::string ParameterItem(const std::string& section, const std::string& name,
                                 const std::string& value) {
    return "<item><Section>" + section + "</Section><Name>" + name + "</Name><Value>" + value +
           "</Value></item>";
}

inline std::string ParameterFile(const std::string& items) {
    return "<root><RuntimeParameters>" + items + "</RuntimeParameters></root>";
}

// Loads capacities of ("GameServices", name) pairs.
inline void LoadCapacities(const TempDir& dir,
                           const std::vector<std::pair<std::string, unsigned>>& capacities) {
    std::string items;
    for (const auto& [name, capacity] : capacities)
        items += ParameterItem("GameServices", name, std::to_string(capacity));
    const std::string path = dir.Write("RuntimeParameters.xml", ParameterFile(items));
    GameServices::KorvoGame::RuntimeParameters::Instance()->LoadRuntimeParameters(path.c_str());
}
