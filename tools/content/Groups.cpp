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

const Group* FindGroup(const std::string& name) {
    for (const Group& group : Groups())
        if (name == group.name)
            return &group;
    return nullptr;
}

size_t BuildGroups(const std::string& data, const std::string& out, const std::vector<const Group*>& groups,
                   bool archive, const std::string& map, const std::function<void(const std::string&)>& report) {
    size_t errors = 0;
    for (const Group* group : groups) {
        Output output(data, std::vector<std::string>(group->packages.begin(), group->packages.end()));
        for (Generator generate : group->generators)
            generate(output);
        for (const std::string& line : output.Warnings())
            report(line);
        for (const std::string& line : output.Errors())
            report(line);
        errors += output.Errors().size();
        if (output.Errors().empty() && !output.Write(out, archive, map)) {
            report("content: cannot write the packages of \"" + std::string(group->name) + "\" under " + out);
            ++errors;
        }
    }
    return errors;
}

}  // namespace content
