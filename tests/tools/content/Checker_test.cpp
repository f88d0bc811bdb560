#include "tools/content/Checker.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/Crc32Hash.h"
#include "game/rules/QZ11Game.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/TempDir.h"
#include "tests/tools/content/DamagedContent.h"

namespace {

using Sequences = std::map<std::string, std::string>;

// The errors of the package and sequence checks: those told at the sources these packages
// name (the other checks find nothing of theirs here and say so).
std::vector<std::string> PackageErrors(const content::Checker& checker) {
    std::vector<std::string> kept;
    for (const std::string& line : checker.Errors())
        for (const char* source : {"data/content (", "data/content/a.txt", "data/content/b.txt", "data/content/sequences.txt"})
            if (line.starts_with(source)) {
                kept.push_back(line);
                break;
            }
    return kept;
}

// A sequence file whose start events are the given "sequencer name target parameter" rows.
std::string SequenceXml(const std::vector<std::vector<std::string>>& events) {
    std::string items;
    for (const auto& e : events)
        items += "<item sequencer=\"" + e[0] + "\" name=\"" + e[1] + "\" target=\"" + e[2] + "\" parameter=\"" +
                 e[3] + "\"/>";
    return "<root><Sequence duration=\"100\"><OnStart><Events>" + items +
           "</Events></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>";
}

// Every game package written with one entry of its own (GlobalXml and Global2D share a name),
// and every show sequence, replaced or left out (empty text) as `changed` says.
void WriteAllPackages(const TempDir& dir, const Sequences& changed = {}) {
    const std::vector<std::string> packages = content::GamePackages();
    content::Output out("data", packages);
    for (size_t i = 0; i < packages.size(); ++i)
        out.Add(packages[i], "own" + std::to_string(i) + ".xml", "x", {"data/content/a.txt", int(i) + 1});
    out.Add("GlobalXml.dir", "shared.xml", "1", {"data/content/a.txt", 40});
    out.Add("Global2D.dir", "Shared.xml", "2", {"data/content/b.txt", 41});
    int line = 100;
    for (const auto& [file, name] : QZ2011::QZ11Game::InGameSequences()) {
        const auto found = changed.find(file);
        if (found == changed.end())
            out.Add("ingamexml.dir", file, SequenceXml({{"AudioSequencer", "Play", "intro", ""}}),
                    {"data/content/sequences.txt", ++line});
        else if (!found->second.empty())
            out.Add("ingamexml.dir", file, found->second, {"data/content/sequences.txt", ++line});
    }
    ASSERT_TRUE(out.Errors().empty());
    ASSERT_TRUE(out.Write(dir.Path(), false, dir.File("map")));
}

TEST(ContentChecker, PackagesNamesIndicesAndSequenceFiles) {
    EXPECT_EQ(content::GamePackages().size(), 15u);
    TempDir dir;
    WriteAllPackages(dir);
    content::Checker checker("data", dir.Path(), dir.File("map"));
    checker.Run();
    const std::vector<std::string> errors = PackageErrors(checker);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              "data/content/b.txt:41 (Global2D/shared.xml): error: \"shared.xml\" is held by \"GlobalXml.dir\" (made by "
              "data/content/a.txt:40) and \"Global2D.dir\" (made by data/content/b.txt:41)");
    EXPECT_TRUE(checker.CountsLine().starts_with("content check: 15 packages, 85 sequences")) << checker.CountsLine();
    EXPECT_EQ(checker.TotalsLine(), "content check: " + std::to_string(checker.Errors().size()) + " errors, 0 warnings");
    const content::PackageEntry* own = checker.Find("OWN3.XML");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->from.Text(), "data/content/a.txt:4");
    EXPECT_EQ(checker.Read(*own), "x");

    // Damaged indices are reported entry by entry.
    ByteWriter index;
    index.Zeros(12).U32(4);
    index.U32(Crc32Hash("bad.xml") + 1).CStr("bad.xml").U32(0).U32(0);
    index.U32(Crc32Hash("Upper.xml")).CStr("Upper.xml").U32(0).U32(0);
    index.U32(Crc32Hash("../out.xml")).CStr("../out.xml").U32(0).U32(0);
    index.U32(Crc32Hash("gone.xml")).CStr("gone.xml").U32(0).U32(0);
    dir.Write("GlobalXml/GlobalXml.hdr", index.Str());
    for (const char* name : {"GlobalXml/bad.xml", "GlobalXml/Upper.xml", "out.xml"})
        dir.Write(name, "x");
    dir.Write("Global3D/Global3D.hdr", ByteWriter().Zeros(12).U32(2).U32(1).CStr("a").Str());
    std::filesystem::remove_all(dir.File("MenuXmls"));
    content::Checker damaged("data", dir.Path(), dir.File("map"));
    damaged.Run();
    const std::vector<std::string> expected = {
        "data/content (GlobalXml/bad.xml): error: entry id does not match its name",
        "data/content (GlobalXml/Upper.xml): error: document name is not lower case",
        "data/content (GlobalXml/../out.xml): error: entry name leads outside its package folder",
        "data/content (GlobalXml/gone.xml): error: the index names a file the package folder does not hold",
        "data/content (Global3D.hdr): error: the index of \"Global3D.dir\" is truncated in entry 0",
        "data/content (MenuXmls.hdr): error: package \"MenuXmls.dir\" was not written",
    };
    EXPECT_EQ(PackageErrors(damaged), expected);
    EXPECT_TRUE(damaged.CountsLine().starts_with("content check: 13 packages, 85 sequences")) << damaged.CountsLine();

    // Sequences need their file, known sequencers and cue events; the packages written afresh.
    WriteAllPackages(dir, {{"sequence_intro.xml", ""},
                           {"sequence_strike2.xml", SequenceXml({{"AudioSequencer", "Play", "recievedstrikebadanswer", ""},
                                                                 {"AudioSequencer", "Stop", "answer", "voices"},
                                                                 {"AudioSequencer", "Stop", "answer", "crowed"}})},
                           {"sequence_blank.xml", SequenceXml({{"EntitySequencr", "Timer", "ScreenGame", "Start"}})},
                           {"sequence_time_is_up.xml", "<root><Sequence duration="}});
    content::Checker sequences("data", dir.Path(), dir.File("map"));
    sequences.Run();
    std::vector<std::string> told = PackageErrors(sequences);
    told.erase(told.begin());  // the shared name
    const std::vector<std::string> expectedSequences = {
        "data/content/sequences.txt (ingamexml/sequence_intro.xml): error: sequence \"Intro\" has no file "
        "\"sequence_intro.xml\" in \"ingamexml.dir\"",
        "data/content/sequences.txt:159 (ingamexml/sequence_time_is_up.xml): error: sequence \"time_is_up\" does not "
        "parse",
        "data/content/sequences.txt:164 (ingamexml/sequence_blank.xml): error: unknown sequencer \"EntitySequencr\"",
        "data/content/sequences.txt:175 (ingamexml/sequence_strike2.xml): error: AudioSequencer target "
        "\"recievedstrikebadanswer\" is not a cue event",
        "data/content/sequences.txt:175 (ingamexml/sequence_strike2.xml): error: AudioSequencer stop names no "
        "category: \"voices\"",
    };
    EXPECT_EQ(told, expectedSequences);
    EXPECT_TRUE(sequences.CountsLine().starts_with("content check: 15 packages, 83 sequences")) << sequences.CountsLine();
}

}  // namespace

// On a copy of the content the build wrote: no error, no leftover nothing refers to, and every
// checked class counted as the game's tables say. Then a stage material renamed onto an interface
// picture's material makes one name held by two packages, told at the source line that made it.
TEST(ContentChecker, BuiltContentCountsTwiceHeldAndUnused) {
    DamagedContent content;
    EXPECT_EQ(content.Check({}), std::vector<std::string>{});
    EXPECT_EQ(content.Checked().Warnings(), std::vector<std::string>{});
    EXPECT_EQ(content.Checked().CountsLine(),
              "content check: 15 packages, 85 sequences, 158 ScreenGame widgets, 177 menu widgets, 17 tutorial "
              "widgets, 3 loading widgets, 3 start-up widgets, 10 popups, 1958 laid-out texts, 54 PRSC animations, 12 level files, 12 "
              "default looks, 48 opponent looks, 20 award titles, 77 cue events, 333 sound descriptors");
    // A sprite that draws with no material leaves its material, slot and picture to nobody: each
    // is a warning, and a warning alone fails nothing.
    std::string bytes = FileContents(content.Dir().File("out/Global2D/cursor.spt"));
    ASSERT_GE(bytes.size(), 28u);
    bytes.replace(24, 4, std::string(4, '\0'));
    content.Dir().Write("out/Global2D/cursor.spt", bytes);
    EXPECT_EQ(content.Check({}), std::vector<std::string>{});
    std::vector<std::string> expected;
    for (const char* piece : {"cursor.mat", "cursor.png", "cursor_slot"})
        expected.push_back(std::string("data/content/art/interface.txt:61 (Global2D/") + piece +
                           "): warning: nothing refers to this resource");
    EXPECT_EQ(content.Checked().Warnings(), expected);

    content.Replace("content/art/stage.txt", "material board_back_color cycle", "material board_back    cycle");
    content.Replace("content/art/stage.txt", "model board_back board_back_color ", "model board_back board_back ");
    // The stage behaviour still animates the material under its old name.
    EXPECT_EQ(content.Check({"art3d"}),
              (std::vector<std::string>{"data/content/art/interface.txt:83 (specific_globalgameassets/board_back.mat): "
                                        "error: \"board_back.mat\" is held by \"Global3D.dir\" (made by "
                                        "data/content/art/stage.txt:93) and \"specific_globalgameassets.dir\" (made "
                                        "by data/content/art/interface.txt:83)",
                                        "data/content/stage.txt (GlobalXml/stagebehaviors.xml): error: action \"AnimIFL\" "
                                        "of \"board_back_color\" animates the material \"board_back_color.mat\", which no "
                                        "package holds"}));
    EXPECT_TRUE(content.BuildErrors().empty());
}
