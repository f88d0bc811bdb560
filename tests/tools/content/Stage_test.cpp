// The stage generators tell a bad source line with its file and line. What the real sources
// build is held by the content checker.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

const std::string kStageData = TALLYVOX_STAGE_DATA;

TEST(StageContent, BadSourceLinesAreReportedWithTheirLine) {
    const struct { const char *file, *line, *message; bool art; } cases[] = {
        {"content/levels.txt", "level A B C bogus", "unknown level recipe", false},
        {"content/levels.txt", "family 70 Easy 4 4 1 4 10 A B C D E", "five numbers 0 to 9", false},
        {"content/stage.txt", "all crowd_{03..01} - crowd@.mdl 0 0 0", "bad name range", false},
        {"content/stage.txt", "70 odd - none.mdl 0 0 0", "which no model recipe makes", false},
        {"content/stage.txt", "70 odd Board marker.mdl 0 0 0 behavior", "takes a behaviour template", false},
        {"content/stage.txt", "70 odd - marker.mdl 0 0 zero", "needs decades, name", false},
        {"content/cameras.txt", "show cam_x 1 0 0 0 0 0 0 40 0 0 0 0 0 0 40", "bad camera numbers", false},
        {"content/art/stage.txt", "material odd sparkle 000000", "unknown material recipe", true},
        {"content/art/stage.txt", "model odd nothing 1 1 1", "unknown material", true},
        {"content/art/stage.txt", "material marker solid show.digit", "defined twice", true},
        {"content/art/stage.txt", "palette show odd=12345", "<role>=<rrggbb>", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        int lines = 0;
        for (const char* source : {"content/levels.txt", "content/stage.txt", "content/cameras.txt",
                                   "content/art/stage.txt"}) {
            std::string bytes = FileContents(kStageData + "/" + source);
            if (source == std::string(c.file)) {
                lines = int(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
                bytes += std::string(c.line) + "\n";
            }
            dir.Write(source, bytes);
        }
        content::Output out(dir.Path(), {"GlobalXml.dir", "Global3D.dir"});
        c.art ? content::GenerateStage3D(out) : content::GenerateStageXml(out);
        const std::string where = std::string(c.file) + ":" + std::to_string(lines);
        bool found = false;
        for (const std::string& error : out.Errors())
            found = found || (error.rfind(where, 0) == 0 && error.find(c.message) != std::string::npos);
        EXPECT_TRUE(found) << c.line << "\n" << ::testing::PrintToString(out.Errors());
    }
}

}  // namespace
