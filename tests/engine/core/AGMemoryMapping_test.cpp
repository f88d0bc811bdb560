#include "engine/core/AGMemoryMapping.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/PCHeap.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/LogCapture.h"

namespace {

const u32 kLevelHeap = Crc32Hash("LevelHeap");
const u32 kFontHeap = Crc32Hash("FontHeap");

// A mapping file announcing count entries of {id, limit}.
std::string MappingFile(std::initializer_list<std::pair<u32, u32>> entries, u32 count) {
    ByteWriter w;
    w.ResourceHeader().U32(count);
    for (const auto& [id, limit] : entries)
        w.U32(id).U32(0).U32(limit);
    return w.Str();
}

bool Load(const std::string& bytes) {
    return AGMemoryMapping::LoadFromBytes(reinterpret_cast<const u8*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(AGMemoryMapping, RepeatedIdKeepsTheHeapThatMayHoldBlocksAndCutFilesStopAtTheEndAndReport) {
    AGMemoryPoolManager manager;
    AGMemoryPoolManager::SetInstance(&manager);
    LogCapture log;
    const std::string first = MappingFile({{kLevelHeap, 100}}, 1);
    AGMemBuffer buffer(first.data(), u32(first.size()));
    AGMemoryMapping().Load(&buffer, 0, false, false);  // loaded as a resource
    AGHeapImpl* level = manager.FindHeap(kLevelHeap);
    void* live = level->Alloc(50);
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(Load(MappingFile({{kLevelHeap, 5000}, {kFontHeap, 10}, {kFontHeap, 20}}, 3)));
    EXPECT_EQ(std::vector<void*>({manager.FindHeap(kLevelHeap), level->Alloc(51),
                                  manager.FindHeap(kFontHeap)->Alloc(11)}),
              std::vector<void*>({level, nullptr, nullptr}));
    EXPECT_TRUE(log.Lines().size() == 2 && log.Contains("listed again"));
    level->Free(live);

    // Three entries announced, one and a half present: into a manager of no heaps.
    AGMemoryPoolManager fresh;
    AGMemoryPoolManager::SetInstance(&fresh);
    std::string cut = MappingFile({{kLevelHeap, 100}, {kFontHeap, 100}}, 3);
    cut.resize(cut.size() - 6);
    EXPECT_TRUE(!Load(cut) && fresh.HeapCount() == 1u && log.Contains("truncated"));

    log.Clear();
    EXPECT_FALSE(Load(MappingFile({}, 0xFFFFFFFFu)) || Load(std::string(15, '\0')) ||
                 AGMemoryMapping::LoadFromBytes(nullptr, 0));
    AGMemoryPoolManager::SetInstance(nullptr);
    EXPECT_FALSE(Load(MappingFile({{kFontHeap, 100}}, 1)));
    EXPECT_EQ(std::make_pair(fresh.HeapCount(), log.Lines().size()), std::pair(size_t(1), size_t(4)));
}

// malloc rounds requests up: a Free of the rounded size would drift below zero.
TEST(PCHeap, TheLimitCountsExactlyWhatWasAskedForAndDeletionFreesTheRest) {
    PCHeap heap(100);
    for (u32 size = 0; size < 100; ++size) {
        heap.Free(heap.Alloc(size));
        ASSERT_EQ(heap.Used(), 0u) << size;
    }
    void* sixty = heap.Alloc(60);
    EXPECT_EQ((std::vector<bool>{bool(heap.Alloc(50)), bool(heap.Alloc(40)), bool(heap.Alloc(1))}),
              (std::vector<bool>{false, true, false}));
    heap.Free(sixty);
    EXPECT_EQ(heap.Used(), 40u);
    EXPECT_NE(heap.Alloc(60), nullptr);
    // Destroying a heap gives malloc back every block left, from any place in its list.
    const size_t mallocBefore = mallinfo2().uordblks;
    {
        PCHeap owner(100000);
        void* blocks[5];
        for (void*& b : blocks)
            b = owner.Alloc(10000);
        owner.Free(blocks[2]);
        owner.Free(blocks[0]);
    }
    EXPECT_EQ(mallinfo2().uordblks, mallocBefore);
}
