#include "engine/core/PcDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/core/AGData.h"
#include "engine/core/AGMemory.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/PCHeap.h"
#include "tests/engine/core/PackageTestSupport.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/PackageWriter.h"

using authoring::PackageWriter;

namespace {

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Resources()->RegisterProvider(new AGProvider<ProbeResource>(TypeKey::Text));
        ProbeResource::s_alive = 0;
    }
    AGBaseProvider* Data() { return env.Provider(TypeKey::Data); }
    AGBaseProvider* Probe() { return env.Provider(TypeKey::Text); }
    ProbeResource* Load(u32 id, bool exclusive = true) {
        return static_cast<ProbeResource*>(GetOrLoadResource(Probe(), id, 0, exclusive, true));
    }
    // The bytes of the data resource of that name, taken and given back.
    std::string DataText(const char* name) {
        auto* data = static_cast<AGData*>(GetOrLoadResource(Data(), Crc32Hash(name), 0, false, true));
        const std::string text(data->Text(), data->Size());
        Data()->Release(data);
        return text;
    }
    TempDir dir;
    ResourceEnvironment env;
};

}  // namespace

TEST_F(PackageTest, IndexHeaderBytesAreIgnoredAndUnsafeNamesRejected) {
    PackageWriter writer;
    writer.Add("ok.txt", 0, "fine").Add("../escape.txt", 0, "x").Add("/abs.txt", 0, "y")
        .Add("sub\\deep.txt", 0, "deep");
    std::string index = writer.IndexBytes();
    for (int i = 0; i < 12; ++i)
        index[i] = char(0xA5 + i);
    dir.Write("escape.txt", "outside");
    dir.Write("Pkg/Pkg.hdr", index);
    dir.Write("Pkg/sub/deep.txt", "deep");
    LogCapture log;
    PcDirectory package;
    package.Mount(dir.File("Pkg.dir").c_str(), false);
    EXPECT_TRUE(log.Contains("ignored") && package.Entries().size() == 2u);
    EXPECT_EQ(DataText("sub\\deep.txt"), "deep");
    // An entry of 4 GiB or more is refused, not read at its size cut to 32 bits.
    std::filesystem::resize_file(dir.Write("Pkg/ok.txt", ""), (u64(1) << 32) + 4);
    EXPECT_TRUE(DataText("ok.txt").empty() && log.Contains("ok.txt is too large"));
    package.Unmount();
    EXPECT_TRUE(package.Path().IsEmpty() && !package.Loaded());
    // An index that ends inside an entry's words mounts nothing (the unmounted one is gone too).
    dir.Write("Pkg/Pkg.hdr", index.substr(0, index.size() - 2));
    package.Mount(dir.File("Pkg.dir").c_str(), false);
    EXPECT_TRUE(log.Contains("truncated in entry 3 of 4") && package.Entries().empty() && !AGDirectory::MountedCount());
    // An entry takes 13 bytes at least (an empty name, ignored): an index of such entries is read.
    dir.Write("Pkg/Pkg.hdr", PackageWriter().Add("", 0, "").IndexBytes());
    package.Mount(dir.File("Pkg.dir").c_str(), false);
    EXPECT_TRUE(log.Contains(": 1 entries with") && !log.Contains("runs past the end"));
    // Data gives its bytes back when it goes.
    const std::string bytes(1000, 'd');
    AGMemBuffer buffer(bytes.data(), u32(bytes.size()));
    const u64 heap = GetHeapCounters().current;
    {
        AGData data;  // and when it loads again
        data.Load(&buffer, 0, false, false);
        buffer.Seek(0);
        data.Load(&buffer, 0, false, false);
    }
    EXPECT_EQ(GetHeapCounters().current, heap);
}

TEST_F(PackageTest, BadArchivesLoadWhatFitsOrNothing) {
    PackageWriter writer;
    writer.Add("good.txt", TypeKey::Data, "good").Add("b.txt", TypeKey::Data, "bravo", 5, true);
    const std::string bytes = writer.ArchiveBytes();
    LogCapture log;
    // Cut archives load nothing, and nor does a sound one of no blocks and no resources.
    for (const std::string& cut : {bytes.substr(0, 0), bytes.substr(0, 3), bytes.substr(0, 10), bytes.substr(0, 20),
                                   bytes.substr(0, bytes.size() - 1), ByteWriter().U32(0).U32(0).Str()}) {
        dir.Write("Cut.dir", cut);
        PcDirectory package;
        package.Mount(dir.File("Cut.dir").c_str(), false);
        EXPECT_TRUE(package.Loaded() && package.Blocks().empty() && env.Resources()->TotalCount(0) == 0) << cut.size();
    }
    EXPECT_TRUE(log.Contains("the block count is missing; nothing is loaded") && !log.Contains("resource count is missing"));
    dir.Write("Cut.dir", bytes.substr(0, bytes.size() - 4 - 2 * 20));  // cut right after its last block
    log.Clear();
    PcDirectory().Mount(dir.File("Cut.dir").c_str(), false);
    EXPECT_TRUE(log.Contains("the resource count is missing") && !log.Contains("runs past the end"));

    // A record whose range leaves its block, and one naming no block, are skipped.
    std::string skip = PackageWriter().Add("good.txt", TypeKey::Data, "good").ArchiveBytes();
    skip[4 + 12 + 4] = 3;
    skip += ByteWriter().U32(Crc32Hash("past.txt")).U32(TypeKey::Data).U32(0).U32(2).U32(3).Str();
    skip += ByteWriter().U32(Crc32Hash("nowhere.txt")).U32(TypeKey::Data).U32(99).U32(0).U32(1).Str();
    dir.Write("Skip.dir", skip);
    PcDirectory package;
    package.Mount(dir.File("Skip.dir").c_str(), false);
    EXPECT_TRUE(Data()->Find(Crc32Hash("good.txt")) && env.Resources()->TotalCount(0) == 1u);
    EXPECT_TRUE(log.Contains("2 resource records skipped"));
    package.Unmount();

    // Seeded random damage to archives and indices: every mount ends loaded, and whatever
    // survived reads back and goes (out-of-bounds reads are the sanitizer build's to catch).
    writer.Add("probe", TypeKey::Text, "probe bytes", 7, true);
    const std::string archive = writer.ArchiveBytes(), index = writer.IndexBytes();
    ASSERT_TRUE(writer.WriteFolder(dir.File("Fuzz.dir")));
    std::mt19937 rng(20240611);
    for (int round = 0; round < 2000; ++round) {
        const bool folder = round % 2;
        std::string damaged = folder ? index : archive;
        DamageBytes(damaged, rng, 1 + int(rng() % 3));
        dir.Write(folder ? "Fuzz/Fuzz.hdr" : "Fuzz.dir", damaged);
        package.Mount(dir.File("Fuzz.dir").c_str(), false);
        ASSERT_TRUE(package.Loaded());
        for (const auto& [id, entry] : package.Entries())
            Data()->Release(GetOrLoadResource(Data(), id, 0, true, true));
        package.Unmount();
        ASSERT_EQ(env.Resources()->TotalCount(0), 0u) << round;
        log.Clear();
    }
}

TEST_F(PackageTest, AnArchiveReplacesWhatWasRegisteredUnderItsNamesBeforeTheMount) {
    const u32 heldId = Crc32Hash("held.probe"), unheldId = Crc32Hash("unheld.probe");
    ProbeResource* early = Load(heldId, false);
    Probe()->Release(Load(unheldId, false));
    PackageWriter writer;
    writer.Add("held.probe", TypeKey::Text, "held bytes").Add("unheld.probe", TypeKey::Text, "unheld bytes");
    ASSERT_TRUE(writer.WriteArchive(dir.File("Late.dir")));
    PcDirectory package;
    package.Mount(dir.File("Late.dir").c_str(), false);
    ProbeResource* held = Load(heldId, false);
    ProbeResource* unheld = Load(unheldId, false);
    EXPECT_EQ(held->bytes + "|" + unheld->bytes, "held bytes|unheld bytes");
    EXPECT_NE(held, early);
    // The unheld empty resource went at once; the held one lives until its holder lets go.
    EXPECT_EQ(ProbeResource::s_alive, 3);
    Probe()->Release(early);
    EXPECT_EQ(ProbeResource::s_alive, 2);
    Probe()->Release(held);
    Probe()->Release(unheld);
    package.Unmount();
    EXPECT_EQ(ProbeResource::s_alive, 0);
}

// A block comes from its pool's heap and goes back to it when it is not kept.
TEST_F(PackageTest, OnlyAResidentWordOfOneKeepsTheBytes) {
    const u32 pool = Crc32Hash("ProbePool");
    auto* heap = new PCHeap(1024);
    ASSERT_TRUE(AGMemoryPoolManager::Get()->AddHeap(pool, heap));
    for (u32 word : {1u, 2u}) {
        SCOPED_TRACE(word);
        PackageWriter writer;
        writer.Add("a.probe", TypeKey::Text, "archive", pool, true);
        std::string archive = writer.ArchiveBytes();
        archive[8] = char(word);  // the block header's resident word
        dir.Write("Word.dir", archive);
        PcDirectory package;
        package.Mount(dir.File("Word.dir").c_str(), false);
        auto* fromArchive = static_cast<ProbeResource*>(Probe()->Find(Crc32Hash("a.probe")));
        EXPECT_EQ(std::pair(fromArchive->inPlace, fromArchive->shared), std::pair(word == 1, true));
        EXPECT_EQ(std::pair(package.Blocks().size(), heap->Used()), std::pair(size_t(word == 1), word == 1 ? 7u : 0u));
        package.Unmount();
        EXPECT_EQ(heap->Used(), 0u);

        std::string index = writer.IndexBytes();
        index[index.size() - 4] = char(word);  // the entry's resident word
        dir.Write("Loose/Loose.hdr", index);
        dir.Write("Loose/a.probe", "loose");
        package.Mount(dir.File("Loose.dir").c_str(), false);
        ProbeResource* loose = Load(Crc32Hash("a.probe"));
        EXPECT_TRUE(loose->bytes == "loose" && loose->inPlace == (word == 1));
        EXPECT_EQ(package.Blocks().size(), word == 1 ? 1u : 0u);
        Probe()->Release(loose);
        EXPECT_TRUE(package.Blocks().empty());
        package.Unmount();
    }
    // Set on a mounted folder package, an override keeps the entries read after it.
    PcDirectory package;
    package.Mount(dir.File("Loose.dir").c_str(), false);
    package.SetPoolOverride(pool, true);
    ProbeResource* kept = Load(Crc32Hash("a.probe"));
    EXPECT_TRUE(kept->inPlace && package.Blocks().size() == 1u && heap->Used() == 5u);
    Probe()->Release(kept);
}

TEST_F(PackageTest, TheLowestPackageIdHoldingANameWinsAndALaterIndexEntryReplaces) {
    // Two folder packages hold "same.txt"; the second index also holds two entries stored
    // under one id.
    const std::string names[2] = {dir.File("One.dir"), dir.File("Two.dir")};
    for (int i = 0; i < 2; ++i) {
        PackageWriter writer;
        writer.Add("same.txt", 0, "from " + std::to_string(i));
        if (i == 1)
            writer.Add("first.txt", 0, "first").Add("second.txt", 0, "second");
        ASSERT_TRUE(writer.WriteFolder(names[i]));
    }
    std::string index = PackageWriter().Add("same.txt", 0, "").Add("first.txt", 0, "")
                            .Add("second.txt", 0, "").IndexBytes();
    const u32 firstId = Crc32Hash("first.txt");
    index.replace(index.rfind("second.txt") - 4, 4, ByteWriter().U32(firstId).Str());
    dir.Write("Two/Two.hdr", index);

    const int low = Crc32Hash(names[0].c_str()) < Crc32Hash(names[1].c_str()) ? 0 : 1;
    PcDirectory packages[2];
    packages[1 - low].Mount(names[1 - low].c_str(), false);  // mounted first, still loses
    packages[low].Mount(names[low].c_str(), false);
    EXPECT_EQ(DataText("same.txt"), "from " + std::to_string(low));
    EXPECT_EQ(DataText("first.txt"), "second");
}

// An archive loads on the worker. With the worker's ring full it loads at once, and nothing is
// left waiting for a job that was never queued (an unmount would wait for it for ever); nor for
// a load that a stopped worker dropped.
TEST_F(PackageTest, AnArchiveLoadsOnTheWorkerOrAtOnceWhenTheWorkerIsFull) {
    ASSERT_TRUE(PackageWriter().Add("a.txt", TypeKey::Data, "alpha").WriteArchive(dir.File("Now.dir")));
    PcDirectory package;
    PCJobber* jobber = PCJobsManager::Get()->GetJobber(0);
    static std::atomic<bool> hold;
    // Holds the worker; no job queued behind it starts in the same run.
    const AGJobFn holdWorker = [](uintptr_t) {
        PCJobsManager::Get()->GetJobber(0)->Interrupt();
        while (hold)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    hold = true;
    ASSERT_TRUE(jobber->Post(holdWorker, 0));
    package.Mount(dir.File("Now.dir").c_str(), true);
    hold = false;
    jobber->Stop();
    package.Unmount();
    ASSERT_TRUE(jobber->Start(0, PCJobsManager::kDefaultCapacity, 0, true, 0));
    struct Impatient : PCJobsManager {  // no worker once asked for it a thousand times
        PCJobber* GetJobber(u32 index) override { return ++asked < 1000 ? real->GetJobber(index) : nullptr; }
        PCJobsManager* real = PCJobsManager::Get();
        int asked = 0;
    } impatient;
    PCJobsManager::SetInstance(&impatient);
    package.Mount(dir.File("Now.dir").c_str(), true);
    PCJobsManager::SetInstance(impatient.real);
    EXPECT_EQ(impatient.asked, 1);
    for (int ms = 0; jobber->Count() > 0 && ms < 5000; ++ms)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(package.Loaded() && Data()->Find(Crc32Hash("a.txt")));
    hold = true;
    ASSERT_TRUE(jobber->Post(holdWorker, 0));
    while (jobber->Post([](uintptr_t) {}, 0)) {
    }
    LogCapture log;
    package.Mount(dir.File("Now.dir").c_str(), true);
    hold = false;
    EXPECT_TRUE(log.Contains("loading it now") && package.Loaded() && Data()->Find(Crc32Hash("a.txt")));
    package.Unmount();
    EXPECT_EQ(Data()->Find(Crc32Hash("a.txt")), nullptr);
}
