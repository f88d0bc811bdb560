#include <gtest/gtest.h>

#include "tests/tools/content/DamagedContent.h"

namespace {

// A picture the code sets that no recipe draws and a code font key no font is baked for are
// told at the source that should make them; damaged sprite pieces, fonts and animations at
// the entry and the source that made them (an animation that does not load is not counted).
TEST(CheckArt2D, MissingAndDamagedPicturesFontsAndAnimationsAreTold) {
    DamagedContent content;
    content.Replace("content/art/interface.txt", "menu Profile_Selected.png", "# menu Profile_Selected.png");
    content.Replace("content/fonts.txt", "RonniaBoldWhite_17 bold 17\n", "");
    std::vector<std::string> expected = {
        "data/content/art/interface.txt: error: image \"Profile_Selected.png\" has no sprite \"profile_selected.spt\" "
        "in any package",
        "data/content/fonts.txt: error: font key \"RonniaBoldWhite_17\" has no font \"ronniaboldwhite_17.fon\" in any "
        "package",
    };
    EXPECT_EQ(content.Check({"art2d"}), expected);
    EXPECT_TRUE(content.BuildErrors().empty());

    content.Dir().Write("out/general_globalgameassets/profile_base.mat", "short");
    content.Dir().Write("out/general_globalgameassets/award_medal.png", "not a picture");
    content.Dir().Write("out/Global2D/impactwhite22.fon", std::string(60, '\0'));
    content.Dir().Write("out/Global2D/prsc_pass_prsc.anm", "");
    content.Dir().Write("out/Global2D/button_hover.spt", "12 bytes....");
    const std::string damaged[] = {
        "data/content/art/interface.txt:73 (general_globalgameassets/profile_base.mat): error: material "
        "\"profile_base.mat\" is truncated or has no texture slot",
        "data/content/art/interface.txt:30 (Global2D/button_hover.spt): error: sprite \"button_hover.spt\" is "
        "truncated",
        "data/content/art/interface.txt:71 (general_globalgameassets/award_medal.png): error: texture "
        "\"award_medal.png\" does not decode: not a PNG file",
        "data/content/fonts.txt:15 (Global2D/impactwhite22.fon): error: font \"impactwhite22.fon\" is truncated or has "
        "no glyphs",
        "data/content/animations.txt:27 (Global2D/prsc_pass_prsc.anm): error: widget animation \"prsc_pass_prsc.anm\" "
        "does not load"};
    expected = {damaged[0], expected[0], damaged[1], damaged[2], damaged[3], expected[1], damaged[4]};
    EXPECT_EQ(content.Check({}), expected);
    EXPECT_NE(content.Checked().CountsLine().find(" 53 PRSC animations"), std::string::npos) << content.Checked().CountsLine();
}

}  // namespace
