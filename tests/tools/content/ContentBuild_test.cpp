#include "tools/content/ContentBuild.h"

#include <gtest/gtest.h>

#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"

namespace {

TEST(ContentBuild, SourceLinesKeepTheirNumbers) {
    TempDir dir;
    dir.Write("content/a.txt", "# header\n\n  one two\tthree  \n# more\nfour\n");
    const content::SourceFile source(dir.Path(), "content/a.txt");
    ASSERT_TRUE(source.Ok());
    ASSERT_EQ(source.Lines().size(), 2u);
    EXPECT_EQ(source.Lines()[0].line, 3);
    EXPECT_EQ(source.Lines()[0].text, "one two\tthree");
    EXPECT_EQ(source.Lines()[0].fields, (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(source.At(source.Lines()[1]).Text(), "content/a.txt:5");
    EXPECT_FALSE(content::SourceFile(dir.Path(), "content/none.txt").Ok());
    EXPECT_EQ(content::SplitFields(" a | b c |", '|'), (std::vector<std::string>{"a", "b c", ""}));
}

TEST(ContentBuild, WriteGivesPackagesLooseFilesAndTheMap) {
    TempDir dir;
    content::Output out("data", {"Pack.dir"});
    out.Add("Pack.dir", "b.xml", "B", {"s.txt", 2});
    out.Add("Pack.dir", "a.xml", "A", {"s.txt", 1});
    out.AddLoose("streams/x.ogg", "OGG", {"t.txt", 7});
    dir.Write("Pack/stale.xml", "old");
    ASSERT_TRUE(out.Write(dir.Path(), false, dir.File("map")));
    EXPECT_EQ(FileContents(dir.File("Pack/a.xml")), "A");
    EXPECT_EQ(FileContents(dir.File("streams/x.ogg")), "OGG");
    EXPECT_EQ(FileContents(dir.File("Pack/stale.xml")), "");
    EXPECT_EQ(FileContents(dir.File("map/Pack.dir.map")), "a.xml\ts.txt:1\nb.xml\ts.txt:2\n");
}

TEST(ContentBuild, EntriesOutsideTheGroupOrTwiceAreErrors) {
    content::Output entries("data", {"Pack.dir"});
    entries.Add("Pack.dir", "Name.XML", "1", {"s.txt", 1});
    entries.Add("Pack.dir", "name.xml", "2", {"s.txt", 2});
    entries.Add("Other.dir", "x", "3", {"s.txt", 3});
    entries.AddLoose("../escape", "4", {"s.txt", 4});
    ASSERT_EQ(entries.Errors().size(), 3u);
    EXPECT_EQ(entries.Errors()[0], "s.txt:2: error: \"name.xml\" is written twice to \"Pack.dir\"");
    EXPECT_EQ(entries.Packages().at("Pack.dir").at("name.xml").bytes, "1");
    entries.Warning({"s.txt", 0}, "unused", "Pack/x");
    EXPECT_EQ(entries.Warnings()[0], "s.txt (Pack/x): warning: unused");
}

// Resources keep the name the game hashes; documents are read by their lower-cased name.
TEST(ContentBuild, DocumentNamesAreLowerCased) {
    for (const auto& [name, entry] : {std::pair{"ChM_Top.mdl", "ChM_Top.mdl"}, {"Sketch.Flow", "sketch.flow"},
                                      {"Screen.XAML", "screen.xaml"}, {"Music_Countdown.loop.snd", "music_countdown.loop.snd"}})
        EXPECT_EQ(content::EntryName(name), entry) << name;
}

}  // namespace
