#include "gameservices/game/EntityDataExtensionFactory.h"

#include <algorithm>

namespace GameServices::KorvoGame {

namespace {
EntityDataExtensionFactory* g_EntityDataExtensionFactory = nullptr;
}  // namespace

EntityDataExtensionFactory* EntityDataExtensionFactory::Instance() {
    if (!g_EntityDataExtensionFactory)
        g_EntityDataExtensionFactory = new EntityDataExtensionFactory();
    return g_EntityDataExtensionFactory;
}

void EntityDataExtensionFactory::Destroy() {
    delete g_EntityDataExtensionFactory;
    g_EntityDataExtensionFactory = nullptr;
}

void EntityDataExtensionFactory::Register(sEntityDataExtension* prototype) {
    if (prototype)
        m_Prototypes.push_back(prototype);
}

void EntityDataExtensionFactory::Unregister(sEntityDataExtension* prototype) {
    auto it = std::find(m_Prototypes.begin(), m_Prototypes.end(), prototype);
    if (it != m_Prototypes.end())
        m_Prototypes.erase(it);
}

sEntityDataExtension* EntityDataExtensionFactory::Create(
    Utilities::ISerialization& serialization) {
    for (sEntityDataExtension* prototype : m_Prototypes) {
        prototype->Clear();
        const TString<char> kind = prototype->GetKind();
        serialization.SerializeObject(kind.c_str(), *prototype, false);
        if (!serialization.WasFound())
            continue;
        if (sEntityDataExtension* copy = prototype->CreateCopy(*prototype))
            return copy;
    }
    return nullptr;
}

}  // namespace GameServices::KorvoGame
