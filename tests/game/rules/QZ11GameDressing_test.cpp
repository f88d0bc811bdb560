#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/game/rules/MatchStage.h"
#include "tests/support/ResourceEnvironment.h"
#include "tools/authoring/PackageWriter.h"

using namespace QZ2011;
using namespace match_stage;

namespace {

class DressingTest : public MatchStageTest {};

std::string SequenceBytes(int duration) {
    return "<root><Sequence duration=\"" + std::to_string(duration) +
           "\"><OnStart><Events/></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>";
}

}  // namespace

// The 85 sequences load from their package under their names, each from its own file (by
// its lower-case name), and the package is let go again.
TEST_F(DressingTest, SequenceTableLoadsEveryPairFromItsPackage) {
    const auto& table = QZ11Game::InGameSequences();
    ResourceEnvironment resources(false);
    GameServices::Bridge::FileSystem::UsePackages();
    authoring::PackageWriter package;
    for (size_t i = 0; i < table.size(); ++i)
        package.Add(authoring::LowerName(table[i].first), TypeKey::Data, SequenceBytes(1000 + int(i)));
    ASSERT_TRUE(package.WriteFolder(home.File("ingamexml.dir")));
    GameShow::SequenceManager* sequences = context.GetSequenceManager();
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        sequences->RemoveAllSequences();
        log.Clear();
        QZ11Game::LoadInGameSequences();
        EXPECT_EQ(sequences->GetSequenceCount(), 85u);
        for (size_t i = 0; i < table.size(); ++i) {
            const GameShow::Sequence* sequence = sequences->FindSequence(Crc32Hash(table[i].second));
            ASSERT_NE(sequence, nullptr) << table[i].second;
            EXPECT_EQ(sequence->m_Duration, 1000 + int(i)) << table[i].second;
        }
        // Read once and let go: a second load mounts it afresh without a report.
        EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
        EXPECT_FALSE(GameServices::Bridge::FileSystem::IsPackageLoaded("ingamexml.dir"));
    }
    sequences->RemoveAllSequences();
}

// A dressing prop missing from the stage, or of a kind without a stage behaviour, is reported
// and the rest is dressed.
TEST_F(DressingTest, MissingOrPlainDressingPropsAreSkipped) {
    Enter({.decade = 2, .plainProps = {"tv_screen_left"}, .omit = {"spotmobil_top_03", "tv_screen_left"}});
    log.Clear();
    QZ11Game::ApplyStageDressing();
    QZ11Game::ApplyInGameStageDressing();
    EXPECT_EQ(LogCount("QZ11Game : can't find 'spotmobil_top_03' in the level"), 1u);
    EXPECT_EQ(LogCount("QZ11Game : 'tv_screen_left' has no stage behaviour"), 2u);
    EXPECT_EQ(Stage("tv_screen_right")->RequestedKey, "empty");
    EXPECT_EQ(Stage("spotmobil_top_reflect_02")->PlayStartKey, "KeyPause");
}
