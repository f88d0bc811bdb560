#pragma once
// The materials a model or an emitter draws with, each held shared or as a private copy
// and given back the way it was taken.
#include "engine/core/AGTypes.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGController;
class AGMaterial;

class AGModelMaterials {
public:
    AGModelMaterials() = default;
    AGModelMaterials(const AGModelMaterials&) = delete;
    AGModelMaterials& operator=(const AGModelMaterials&) = delete;
    ~AGModelMaterials() { ReleaseAll(); }

    // Gives back what is held, then takes each named material: shared, or as an instance.
    void Take(const u32* ids, u32 count, bool shared, u32 a = 0, bool inPlace = false);
    // The same names as other's, each as a private instance.
    void TakeCopiesOf(const AGModelMaterials& other);
    void ReleaseAll();

    u32 Count() const { return m_materials.Count(); }
    AGMaterial* Get(u32 index) const { return index < Count() ? m_materials[index] : nullptr; }
    // The first material whose name id is id, or null.
    AGMaterial* Find(u32 id) const;
    // Gives back the first material named oldId and takes newId (shared) in its place. False
    // when no material has the old id.
    bool Replace(u32 oldId, u32 newId);

    // Every texture slot of every material follows the controller (null: its own).
    void SetController(AGController* controller);

private:
    void GiveBack(u32 index);

    AGOwnedBuffer<AGMaterial*> m_materials;
    AGOwnedBuffer<u32> m_ids;
    AGOwnedBuffer<u8> m_instances;
};
