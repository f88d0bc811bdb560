#include "engine/core/AGResourceManager.h"

#include <gtest/gtest.h>

#include "engine/core/AGData.h"
#include "engine/core/AGLocalization.h"
#include "engine/core/PcDirectory.h"
#include "tests/engine/core/PackageTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/PackageWriter.h"

using authoring::PackageWriter;

namespace {

// A resource that takes another (a "data" resource named in its bytes) at load and gives
// it back when deleted, as models do with their materials.
class Holder : public AGResource {
public:
    // Its provider comes after the "data" provider in id order: one pass of ReleaseAll
    // deletes the holder only, the held resource needs the next.
    static constexpr u32 kType = TypeKey::Mesh;
    static_assert(kType > TypeKey::Data);
    Holder() = default;
    Holder(const Holder& other) : AGResource(other) {
        if (other.held)
            held = GetOrLoadResource(Provider(), other.held->NameId(), 0, false, true);
    }
    ~Holder() override {
        if (held)
            Provider()->Release(held);
    }
    u32 GetTypeKey() const override { return kType; }
    void Load(AGMemBuffer* buffer, u32, bool, bool) override {
        if (buffer && buffer->Base())
            held = GetOrLoadResource(Provider(), buffer->ReadU32(), 0, false, true);
    }
    static AGBaseProvider* Provider() { return AGResourceManager::Get()->GetProvider(TypeKey::Data); }
    AGResource* held = nullptr;
};

// A holder and the data resource it holds.
PackageWriter HolderPackage() {
    return PackageWriter().Add("held.txt", TypeKey::Data, "held").Add("holder.mdl", Holder::kType,
                                                                      ByteWriter().U32(Crc32Hash("held.txt")).Str());
}

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Resources()->RegisterProvider(new AGProvider<ProbeResource>(TypeKey::Text));
        env.Resources()->RegisterProvider(new AGProvider<Holder>(Holder::kType));
        ProbeResource::s_alive = 0;
    }
    AGBaseProvider* Provider(u32 type) { return env.Provider(type); }
    TempDir dir;
    ResourceEnvironment env{false};
};

}  // namespace

TEST(AGResourceManager, AProviderRegisteredAgainStaysAndAnotherOfItsTypeReplacesIt) {
    struct Counted : AGProvider<ProbeResource> {
        using AGProvider::AGProvider;
        ~Counted() override { ++*deleted; }
        int* deleted = nullptr;
    };
    int deleted = 0;
    ResourceEnvironment env(false);
    auto* first = new Counted(TypeKey::Text);
    auto* second = new Counted(TypeKey::Text);
    first->deleted = second->deleted = &deleted;
    env.Resources()->RegisterProvider(first);
    env.Resources()->RegisterProvider(first);
    EXPECT_EQ(deleted, 0);
    // The replaced provider takes its resources along, held ones and instances too.
    ProbeResource::s_alive = 0;
    first->Insert(7, first->Create());
    first->Find(7)->SetRefCount(1);
    first->AddToGroup(7, first->Clone(first->Find(7)));
    env.Resources()->RegisterProvider(second);
    EXPECT_TRUE(deleted == 1 && env.Provider(TypeKey::Text) == second && ProbeResource::s_alive == 0);
}

TEST_F(ResourceTest, InstancesAreClonesInTheGroupOfTheirBaseAndUnmountDeletesWhatOthersHeld) {
    ASSERT_TRUE(PackageWriter().Add("inst.txt", 0, "clone me").WriteFolder(dir.File("Inst.dir")));
    PcDirectory package;
    package.Mount(dir.File("Inst.dir").c_str(), false);
    AGBaseProvider* probe = Provider(TypeKey::Text);
    const u32 id = Crc32Hash("inst.txt");

    AGResource* one = CreateResourceInstance(probe, id, 3, true);
    AGResource* two = CreateResourceInstance(probe, id, 3, true);
    ASSERT_TRUE(one && two && one != two);
    EXPECT_EQ(static_cast<ProbeResource*>(one)->bytes, "clone me");
    AGResource* base = probe->Find(id);
    EXPECT_EQ(ProbeResource::s_alive, 3);

    probe->ReleaseInstance(one);
    probe->ReleaseInstance(base);  // not an instance: ignored
    probe->Release(base);          // held by nobody (instances hold no reference): ignored
    EXPECT_TRUE(probe->Find(id) == base && base->RefCount() == 0 && ProbeResource::s_alive == 2);
    probe->Release(two);  // a clone given to Release is released as an instance
    EXPECT_TRUE(!probe->Find(id) && ProbeResource::s_alive == 0) << "the last instance takes its base along";

    ASSERT_TRUE(HolderPackage().WriteArchive(dir.File("Deps.dir")));
    PcDirectory archive;
    archive.Mount(dir.File("Deps.dir").c_str(), false);
    EXPECT_EQ(Provider(TypeKey::Data)->Find(Crc32Hash("held.txt"))->RefCount(), 1u);
    EXPECT_EQ(env.Resources()->TotalCount(archive.NameId()), 2u);
    archive.Unmount();
    EXPECT_EQ(env.Resources()->TotalCount(0), 0u);
}

// Resources left for the manager's destructor: instances nobody gave back go, and holders go
// before what they hold (the holder's release must find the data resource alive: checked by
// the sanitizer build).
TEST(AGResourceManager, ShutdownDeletesWhatIsLeftHoldersFirst) {
    ProbeResource::s_alive = 0;
    {
        ResourceEnvironment env(false);
        env.Resources()->RegisterProvider(new AGProvider<Holder>(Holder::kType));
        env.Resources()->RegisterProvider(new AGProvider<ProbeResource>(TypeKey::Text));
        ASSERT_NE(CreateResourceInstance(env.Provider(TypeKey::Text), 42, 0, false), nullptr);
        ASSERT_NE(CreateResourceInstance(env.Provider(TypeKey::Text), 43, 0, false), nullptr);
        EXPECT_EQ(ProbeResource::s_alive, 4);
        TempDir dir;
        ASSERT_TRUE(HolderPackage().WriteArchive(dir.File("Late.dir")));
        AGBaseProvider* directories = env.Provider(TypeKey::Directory);
        auto* package = static_cast<AGDirectory*>(directories->Create());
        package->Mount(dir.File("Late.dir").c_str(), false);
        directories->Insert(1, package);
        ASSERT_NE(CreateResourceInstance(env.Provider(Holder::kType), Crc32Hash("holder.mdl"), 0, false), nullptr);
        EXPECT_EQ(env.Resources()->TotalCount(0), 3u + 2u);
    }
    EXPECT_EQ(ProbeResource::s_alive, 0);
}

TEST(AGLocalization, ARepeatedIdKeepsTheLaterTextAndABadTableIsLeftEmpty) {
    AGLocalization table;
    auto load = [&table](const ByteWriter& w) {
        AGMemBuffer buffer(w.Str().data(), u32(w.Size()));
        table.Load(&buffer, 0, false, false);
        return table.Count();
    };
    EXPECT_EQ(load(ByteWriter().ResourceHeader().U32(3).U32(10).CStr("first").U32(11).CStr("").U32(10).CStr("second")),
              2u);
    EXPECT_EQ(*table.Find(10), "second");

    LogCapture log;
    EXPECT_EQ(load(ByteWriter().ResourceHeader().U32(1000).U32(1).CStr("a")), 0u);
    EXPECT_TRUE(log.Contains("entry count"));
    EXPECT_EQ(load(ByteWriter().ResourceHeader().U32(2).U32(1).CStr("one").U32(2).Text("tw")), 0u);
    EXPECT_TRUE(log.Contains("truncated"));
}
