#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/content/DamagedContent.h"

// Bad character data, one fault per class, each told once at the record that holds it: an
// award renamed, one given the title of another and one moved into a fifth place of a group
// (rebuilt from the sources), then in the written files a body's item in another skin tone, a
// no-glasses item in a body's glasses (the glasses tab has its own), an extra item with no model
// or picture, a look wearing a top its assembly lacks, a look whose part id names another item,
// and an unlockable of the wrong type.
TEST(CharacterCheck, BadAssembliesLooksAndAwardsAreToldAtTheirRecord) {
    DamagedContent content;
    content.Replace("content/awards.txt", "| Survey Beast  |", "| Survey Champ  |");
    content.Replace("content/awards.txt", "| Points Vessel   |", "| Time Is Money   |");
    content.Replace("content/awards.txt", "award Show | 00s Pro", "award 00s  | 00s Pro");
    content.Check({"xml"});
    ASSERT_EQ(content.BuildErrors(), std::vector<std::string>{});
    content.ReplaceBuilt("CharactereXML/wardrobe_male1.xml", "ChM_Top_Polo_skin01_pnk", "ChM_Top_Polo_skin01_blk");
    content.ReplaceBuilt("CharactereXML/wardrobe_retailerpack01_male.xml", "ChM_Top_Varsity.mdl", "ChM_Top_Varsty.mdl");
    content.ReplaceBuilt("gameshowavatarxmls/appearancefemale03.xml", "ChF_Top_Halter_skin01_blk.mdl",
                         "ChF_Top_Wrap.mdl");
    content.ReplaceBuilt("gameshowavatarxmls/appearancefemale03.xml", "<Bottom_Id>23<", "<Bottom_Id>22<");
    content.ReplaceBuilt("GlobalXml/awards.xml", "Type=\"Top\"", "Type=\"Bottom\"");
    content.ReplaceBuilt("CharactereXML/wardrobe_female1.xml", "<Eyewear>\n",
                         "<Eyewear>\n<item><Id>40</Id><Name>ChF_No_Eyewear.mdl</Name></item>\n");
    const std::string retailer = "data/content/characters.txt:64 (CharactereXML/wardrobe_retailerpack01_male.xml): error: ";
    const std::string look = "data/content/characters.txt:92 (gameshowavatarxmls/appearancefemale03.xml): error: ";
    const std::string awards = "data/content/awards.txt (GlobalXml/awards.xml): error: ";
    EXPECT_EQ(content.Check({}),
              (std::vector<std::string>{
                  // The picture checks meet the misspelt item's thumbnail first.
                  retailer + "item \"ChM_Top_Varsty.mdl\": thumbnail \"THUMBNAIL_ChM_Top_Varsty.png\" has no sprite "
                             "\"thumbnail_chm_top_varsty.spt\" in any package",
                  "data/content/characters.txt:21 (CharactereXML/wardrobe_male1.xml): error: item "
                  "\"ChM_Top_Polo_skin01_blk.mdl\" is not in the skin tone \"_pnk\" of \"Male1\"",
                  "data/content/characters.txt:27 (CharactereXML/wardrobe_female1.xml): error: assembly \"Female1\" "
                  "lists the no-glasses item \"ChF_No_Eyewear.mdl\": the glasses tab shows its own",
                  retailer + "assembly \"RetailerPack01\" item \"ChM_Top_Varsty.mdl\" has no model in any package",
                  retailer + "the wardrobe shows \"THUMBNAIL_ChM_Top_Varsty.png\" for \"ChM_Top_Varsty.mdl\"; no "
                             "package holds its sprite \"thumbnail_chm_top_varsty.spt\"",
                  look + "Top_Name \"ChF_Top_Wrap.mdl\" is not in the wardrobe of \"Female3\"",
                  look + "Bottom_Id 22 is not the id of \"ChF_Bottom_Jeans.mdl\" in \"Female3\"",
                  awards + "award \"The Thief\" unlocks \"ChM_Top_Leisure_skin01_pnk.mdl\", which is not a Bottom item "
                           "of \"AppearanceMale01\"",
                  awards + "award title \"Survey Champ\" is not one of the game's awards",
                  awards + "group \"00s\" holds 5 awards; its page shows 4",
                  awards + "award title \"Time Is Money\" is given twice",
                  awards + "the game's award \"Survey Beast\" is not in the file",
                  awards + "the game's award \"Points Vessel\" is not in the file",
              }));
}
