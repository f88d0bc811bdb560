#include "engine/graphics/AGModelMaterials.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGTextureSlot.h"

void AGModelMaterials::Take(const u32* ids, u32 count, bool shared, u32 a, bool inPlace) {
    ReleaseAll();
    if (count == 0 || !m_materials.Resize(count) || !m_ids.Resize(count) ||
        !m_instances.Resize(count)) {
        ReleaseAll();
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        m_ids[i] = ids[i];
        m_materials[i] = AGTakeResource<AGMaterial>(TypeKey::Material, ids[i], shared, a, inPlace);
        m_instances[i] = m_materials[i] && !m_materials[i]->IsBase();
    }
}

void AGModelMaterials::TakeCopiesOf(const AGModelMaterials& other) {
    if (this == &other)
        return;
    AGOwnedBuffer<u32> ids(other.m_ids);
    Take(ids.Data(), ids.Count(), false);
}

void AGModelMaterials::GiveBack(u32 index) {
    AGMaterial*& material = m_materials[index];
    if (!material)
        return;
    if (AGBaseProvider* provider = AGProviderOf(TypeKey::Material)) {
        // How it was taken decides, so a holder never asks a material it may outlive.
        if (m_instances[index])
            provider->ReleaseInstance(material);
        else
            provider->Release(material);
    }
    material = nullptr;
}

void AGModelMaterials::ReleaseAll() {
    for (u32 i = 0; i < m_materials.Count(); ++i)
        GiveBack(i);
    m_materials.Release();
    m_ids.Release();
    m_instances.Release();
}

AGMaterial* AGModelMaterials::Find(u32 id) const {
    for (u32 i = 0; i < m_ids.Count(); ++i)
        if (m_ids[i] == id && m_materials[i])
            return m_materials[i];
    return nullptr;
}

bool AGModelMaterials::Replace(u32 oldId, u32 newId) {
    for (u32 i = 0; i < m_ids.Count(); ++i) {
        if (m_ids[i] != oldId)
            continue;
        GiveBack(i);
        m_ids[i] = newId;
        m_materials[i] = AGTakeResource<AGMaterial>(TypeKey::Material, newId, true);
        m_instances[i] = 0;
        return true;
    }
    return false;
}

void AGModelMaterials::SetController(AGController* controller) {
    for (AGMaterial* material : m_materials) {
        if (!material)
            continue;
        for (u32 s = 0; s < material->SlotCount(); ++s)
            if (AGTextureSlot* slot = material->GetSlot(s))
                slot->SetController(controller);
    }
}
