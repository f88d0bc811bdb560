// The memory mapping loaded from its file at start-up, and package blocks served by the
// named heaps it declares.
#include <gtest/gtest.h>

#include "engine/core/AGMemoryMapping.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/PCHeap.h"
#include "engine/core/PcDirectory.h"
#include "tests/engine/core/PackageTestSupport.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/PackageWriter.h"

using authoring::PackageWriter;

namespace {
const u32 kLevelPool = Crc32Hash("LevelHeap");
}

TEST(AGMemoryMappingFile, OneEntryMakesANamedHeapThatServesItsPoolsBlocks) {
    TempDir dir;
    ResourceEnvironment env(false);
    env.Resources()->RegisterProvider(new AGProvider<ProbeResource>(TypeKey::Text));
    EXPECT_FALSE(AGMemoryMapping::LoadFile(dir.File("memorymapping.mem").c_str()));

    ByteWriter mapping;
    mapping.ResourceHeader().U32(1).U32(kLevelPool).U32(0).U32(4096);
    dir.Write("memorymapping.mem", mapping.Str());
    ASSERT_TRUE(AGMemoryMapping::LoadFile(dir.File("memorymapping.mem").c_str()));
    auto* heap = static_cast<PCHeap*>(AGMemoryPoolManager::Get()->FindHeap(kLevelPool));
    ASSERT_NE(heap, nullptr);
    EXPECT_EQ(heap->Limit(), 4096u);

    PackageWriter writer;
    writer.Add("pooled.probe", TypeKey::Text, "in the level heap", kLevelPool, true)
        .Add("elsewhere.probe", TypeKey::Text, "unknown pool", 0xBADu, true)
        .Add("toolarge.probe", TypeKey::Text, std::string(5000, 'z'), kLevelPool, true);
    ASSERT_TRUE(writer.WriteFolder(dir.File("Pools.dir")));
    PcDirectory package;
    package.Mount(dir.File("Pools.dir").c_str(), false);
    AGBaseProvider* probe = env.Provider(TypeKey::Text);

    AGResource* pooled = GetOrLoadResource(probe, Crc32Hash("pooled.probe"), 0, true, true);
    ASSERT_EQ(package.Blocks().size(), 1u);
    EXPECT_EQ(package.Blocks()[0].poolId, kLevelPool);
    EXPECT_EQ(heap->Used(), 17u);
    EXPECT_EQ(static_cast<ProbeResource*>(pooled)->bytes, "in the level heap");

    // A pool with no heap, and a heap that refuses, fall back to the global allocator.
    AGResource* elsewhere = GetOrLoadResource(probe, Crc32Hash("elsewhere.probe"), 0, true, true);
    AGResource* large = GetOrLoadResource(probe, Crc32Hash("toolarge.probe"), 0, true, true);
    ASSERT_EQ(package.Blocks().size(), 3u);
    EXPECT_EQ(package.Blocks()[1].poolId, 0u);
    EXPECT_EQ(package.Blocks()[2].poolId, 0u);
    EXPECT_EQ(static_cast<ProbeResource*>(large)->bytes.size(), 5000u);
    EXPECT_EQ(heap->Used(), 17u);

    probe->Release(pooled);
    EXPECT_EQ(heap->Used(), 0u) << "resident bytes go back to their heap";
    probe->Release(elsewhere);
    probe->Release(large);
    EXPECT_TRUE(package.Blocks().empty());
}
