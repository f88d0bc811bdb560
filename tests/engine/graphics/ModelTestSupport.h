#pragma once
// Packages of models, meshes, skins, scenes and emitters for the tests: the resource
// managers with the graphics and model providers, a folder package written by the test, and
// a textured box written into it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/PcDirectory.h"
#include "engine/graphics/AGGraphicsProviders.h"
#include "engine/graphics/AGModelProviders.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace modeltest {

using authoring::NameId;

// A box model "<name>.mdl" (vertex buffer "<name>.vb", mesh "<name>.mesh") drawn with
// material "<name>.mat", whose slot shows a 2 x 2 texture of one colour.
struct BoxSpec {
    std::string name = "box";
    u32 renderType = 1;
    u32 flags = 16;
    u32 vertexColor = 0xFFFFFFFFu;
    u32 texel = 0xFFFFFFFFu;
    bool normals = true;
    authoring::ModelData model;
};

inline void AddBox(authoring::PackageWriter& writer, BoxSpec spec) {
    authoring::VertexBufferData vb = authoring::BoxVertexBuffer(1.0f, spec.vertexColor);
    if (!spec.normals)
        vb.normals.clear();
    const std::string& n = spec.name;
    spec.model.vertexBufferId = NameId(n + ".vb");
    spec.model.meshIds = {NameId(n + ".mesh")};
    spec.model.materialIds = {NameId(n + ".mat")};
    authoring::MaterialData material;
    material.slots = {n + ".slot"};
    authoring::TextureSlotData slot;
    slot.textures = {n + ".png"};
    writer.Add(n + ".vb", 0, authoring::VertexBufferBytes(vb))
        .Add(n + ".mesh", 0, authoring::MeshBytes(authoring::BoxMesh(1, spec.renderType, spec.flags)))
        .Add(n + ".mdl", 0, authoring::ModelBytes(spec.model))
        .Add(n + ".mat", 0, authoring::MaterialBytes(material))
        .Add(n + ".slot", 0, authoring::TextureSlotBytes(slot))
        .Add(n + ".png", 0, authoring::PngBytes(std::vector<u32>(4, spec.texel), 2, 2));
}

class ModelPackage {
public:
    ModelPackage() : m_env(false) {
        RegisterGraphicsProviders(m_env.Resources());
        RegisterModelProviders(m_env.Resources());
    }
    ~ModelPackage() {
        if (m_package)
            m_package->Unmount();
    }

    authoring::PackageWriter& Writer() { return m_writer; }
    void Mount() {
        const std::string path = m_dir.Path() + "/Models.dir";
        ASSERT_TRUE(m_writer.WriteFolder(path));
        m_package = std::make_unique<PcDirectory>();
        m_package->Mount(path.c_str(), false);
    }
    AGBaseProvider* Provider(u32 typeKey) const { return m_env.Provider(typeKey); }
    // Loaded (shared as `shared` says for what it refers to) and held once.
    template <typename T>
    T* Get(u32 typeKey, const std::string& name, bool shared = true) {
        return static_cast<T*>(GetOrLoadResource(Provider(typeKey), NameId(name), 0, false, shared));
    }
    template <typename T>
    T* Instance(u32 typeKey, const std::string& name) {
        return static_cast<T*>(CreateResourceInstance(Provider(typeKey), NameId(name), 0, false));
    }
    void GiveBack(u32 typeKey, AGResource* resource) {
        if (resource->IsBase())
            Provider(typeKey)->Release(resource);
        else
            Provider(typeKey)->ReleaseInstance(resource);
    }

private:
    ResourceEnvironment m_env;
    TempDir m_dir;
    authoring::PackageWriter m_writer;
    std::unique_ptr<PcDirectory> m_package;
};

}  // namespace modeltest
