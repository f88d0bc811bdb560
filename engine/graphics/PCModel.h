#pragma once
// The device side of a model: each drawn mesh prepared with the model's vertex buffer, a
// render attribute of one part per mesh (indexed triangle lists), skinned positions and the
// model's own colours uploaded when they change, and the model's own draw.
#include "engine/graphics/AGModel.h"

class PCMesh;

class PCModel : public AGModel {
public:
    PCModel() = default;
    // The engine copy, then its own device objects.
    PCModel(const PCModel& other);
    ~PCModel() override;

    // The render context's light becomes the model's, the materials update, each drawn mesh
    // prepares, the render attribute is built; the model becomes active and shown.
    void Initialize() override;
    // The engine update, then the skinned streams and changed colours go to the device.
    void Update() override;
    void Draw() override;
    void Prepare() override;

protected:
    void OnSkinned() override { m_skinnedDirty = true; }
    void OnColorsChanged() override { m_colorsDirty = true; }
    void OnMaterialsChanged() override;

private:
    PCMesh* DeviceMesh(u32 index) const;
    void BuildAttribute();
    void ReleaseDeviceObjects();

    bool m_skinnedDirty = false;
    bool m_colorsDirty = false;
};
