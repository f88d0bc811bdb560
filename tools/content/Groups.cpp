#include "tools/content/Generators.h"

namespace content {

const std::vector<Group>& Groups() {
    static const std::vector<Group> groups = {
        {"xml",
         {"GlobalXml.dir", "CharactereXML.dir", "MenuXmls.dir", "gameshowavatarxmls.dir", "gsSystem.dir",
          "gstrcsystem.dir", "ingamexml.dir"},
         {GenerateSystem, GenerateStrings, GenerateStageXml, GenerateSequences, GenerateCharacterXml,
          GenerateMenuXml}},
        {"art2d",
         {"Global2D.dir", "general_globalgameassets.dir", "specific_globalgameassets.dir"},
         {GenerateInterfaceArt, GenerateCharacterArt}},
        {"art3d", {"Global3D.dir", "gameshowavatar3d.dir"}, {GenerateStage3D, GenerateCharacter3D}},
        {"audio", {"GameAudios.dir", "GameAudiosNotStreamed.dir"}, {GenerateSounds}},
        {"video", {}, {GenerateVideos}},
    };
    return groups;
}

}  // namespace content
