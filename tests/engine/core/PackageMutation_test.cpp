// Seeded random damage to package indices and archives: every mount must end with the
// package loaded (possibly empty) and no out-of-bounds access (checked by the sanitizer
// build).
#include <gtest/gtest.h>

#include "engine/core/PcDirectory.h"
#include "tests/engine/core/PackageTestSupport.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ResourceEnvironment.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/PackageWriter.h"

using authoring::PackageWriter;

namespace {

constexpr int kRounds = 10000;

PackageWriter SamplePackage() {
    PackageWriter writer;
    writer.Add("list.txt", TypeKey::Data, "0.bin\n1.bin\n")
        .Add("0.bin", TypeKey::Data, std::string(40, 'q'), 0, true)
        .Add("table.loc", TypeKey::Localization,
             std::string(12, '\0') + std::string("\x02\0\0\0\x01\0\0\0hi\0\x02\0\0\0yo\0", 19))
        .Add("probe", TypeKey::Text, "probe bytes", 7, true);
    return writer;
}

}  // namespace

TEST(PackageMutation, DamagedIndicesMountWithoutFault) {
    TempDir dir;
    ResourceEnvironment env(false);
    const PackageWriter writer = SamplePackage();
    ASSERT_TRUE(writer.WriteFolder(dir.File("Fuzz.dir")));
    const std::string indexPath = PackageWriter::IndexPathOf(dir.File("Fuzz.dir"));
    std::mt19937 rng(20240611);
    LogCapture log;
    AGBaseProvider* data = env.Provider(TypeKey::Data);
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes = writer.IndexBytes();
        DamageBytes(bytes, rng, 1 + int(rng() % 3));
        dir.Write(indexPath.substr(dir.Path().size() + 1), bytes);
        PcDirectory package;
        package.Mount(dir.File("Fuzz.dir").c_str(), false);
        ASSERT_TRUE(package.Loaded());
        // Whatever entries survived are read through get-or-load.
        for (const auto& [id, entry] : package.Entries())
            data->Release(GetOrLoadResource(data, id, 0, true, true));
        package.Unmount();
        log.Clear();
    }
    EXPECT_EQ(env.Resources()->TotalCount(0), 0u);
}

TEST(PackageMutation, DamagedArchivesMountWithoutFault) {
    TempDir dir;
    ResourceEnvironment env(false);
    env.Resources()->RegisterProvider(new AGProvider<ProbeResource>(TypeKey::Text));
    const std::string archive = SamplePackage().ArchiveBytes();
    std::mt19937 rng(7);
    LogCapture log;
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes = archive;
        DamageBytes(bytes, rng, 1 + int(rng() % 3));
        dir.Write("Fuzz.dir", bytes);
        PcDirectory package;
        package.Mount(dir.File("Fuzz.dir").c_str(), false);
        ASSERT_TRUE(package.Loaded());
        package.Unmount();
        ASSERT_EQ(env.Resources()->TotalCount(0), 0u);
        log.Clear();
    }
}
