#pragma once
// Packages of models, meshes, skins, scenes and emitters for the tests: the resource
// managers with the graphics and model providers and a folder package written by the test.
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
