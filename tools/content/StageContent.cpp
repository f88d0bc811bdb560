// "Levels.xml", the twelve level files and the stage, score and camera behaviour files.
#include <algorithm>
#include <cstdio>
#include <set>

#include "tools/content/Generators.h"
#include "tools/content/StageSources.h"

namespace content {

namespace {

using namespace stage;

constexpr const char* kStageXmlPackage = "GlobalXml.dir";
constexpr const char* kEndKey = "KeyEnd";

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", double(value));
    return text;
}

std::string El(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">";
}

std::string Position(const Vec3& p) {
    return El("PositionX", Number(p.x)) + El("PositionY", Number(p.y)) + El("PositionZ", Number(p.z));
}

std::string LookAt(const Vec3& p) {
    return El("LookAtX", Number(p.x)) + El("LookAtY", Number(p.y)) + El("LookAtZ", Number(p.z));
}

std::string List(const std::string& name, const std::string& items) {
    return items.empty() ? "<" + name + "/>" : "<" + name + ">\n" + items + "</" + name + ">\n";
}

std::string Item(const std::string& fields) {
    return "<item>" + fields + "</item>\n";
}

std::string CameraItem(const std::string& kind, const std::string& name, const std::string& file, const Vec3& eye,
                       const Vec3& target, float fov, bool ortho, bool active, const std::string& appData) {
    std::string fields = (kind.empty() ? "" : El("Kind", kind)) + El("Name", name) +
                         (file.empty() ? "" : El("EngineDataFileName", file));
    // Every component "auto", the up vector too: an absent one reads as (0, 1, 0), which turns
    // the screen's view upside down.
    if (ortho)
        fields += El("PositionX", "auto") + El("PositionY", "auto") + El("PositionZ", "auto") + El("LookAtX", "auto") +
                  El("LookAtY", "auto") + El("LookAtZ", "auto") + El("UpX", "auto") + El("UpY", "auto") +
                  El("UpZ", "auto");
    else
        fields += Position(eye) + LookAt(target);
    fields += El("ClippingNear", "10") + El("ClippingFar", "5000") + El("ViewPortWidth", "auto") +
              El("ViewPortHeight", "auto") + El("FieldOfView", Number(fov)) +
              (ortho ? El("Orthographic", "true") : "") + El("Activate", active ? "true" : "false") + appData;
    return Item(fields);
}

std::string ViewItem(const Sources& s, Output& out, const std::string& name, const SourceRef& at) {
    const View* view = s.FindView(name);
    if (!view) {
        out.Error(at, "no view \"" + name + "\" in content/cameras.txt", "GlobalXml");
        return "";
    }
    return CameraItem("", view->name, "", view->eye, view->target, view->fov, view->ortho, true, "");
}

// The buzzer lights' kind and the flip-book their behaviour replays.
constexpr const char* kBuzzerLightKind = "BuzzerLight";
constexpr const char* kBuzzerLightMaterial = "buzzer_light.mat";

// The flip-book material a stage prop's behaviour animates, with the prop's decade; null when
// its model has none.
const MaterialRow* StageMaterial(const Sources& s, const Prop& prop, std::string& decade) {
    const ModelRow* model = ModelOfFile(s, prop.model, decade);
    return model ? AnimatedMaterial(s, *model) : nullptr;
}

std::string PropItem(const Sources& s, const Prop& prop) {
    std::string fields = (prop.kind.empty() ? "" : El("Kind", prop.kind)) + El("Name", prop.name) +
                         El("EngineDataFileName", prop.model) + Position(prop.position);
    if (prop.rotationY != 0)
        fields += El("RotationY", Number(prop.rotationY));
    fields += El("Visible", prop.hidden ? "false" : "true");
    // The flip-book a behaviour replays is set on the prop, held, when the level is built.
    std::string decade, flipBook;
    if (const MaterialRow* material = prop.behavior ? StageMaterial(s, prop, decade) : nullptr)
        flipBook = ForDecade(material->name, decade) + ".mat";
    else if (prop.kind == kBuzzerLightKind)
        flipBook = kBuzzerLightMaterial;
    if (!flipBook.empty())
        fields += "<Animation type=\"TextureAnimation\" mode=\"pause\" speed=\"1\">" + El("MaterialName", flipBook) +
                  "</Animation>";
    if (prop.behavior)
        fields += El("ApplicationData", El("TemplateBehavior", prop.name));
    return Item(fields);
}

std::string Props(const Sources& s, const std::string& decade) {
    std::string items;
    const auto found = s.props.find(decade);
    if (found != s.props.end())
        for (const Prop& prop : found->second)
            items += PropItem(s, prop);
    return items;
}

std::string CharacterItem(const Character& c, bool active, bool visible) {
    std::string fields = (c.kind.empty() ? "" : El("Kind", c.kind)) + El("Name", c.name);
    if (!c.animation.empty())
        fields += "<Animation type=\"SkinAnimation\" mode=\"loop\" speed=\"1\">" + El("AnimationFile", c.animation) +
                  "<Skin name=\"" + c.skeleton + "\"><Model id=\"all\"/></Skin></Animation>";
    if (!c.outfit.empty())
        fields += El("Outfit", c.outfit);
    fields += El("Activate", active ? "true" : "false") + Position(c.position) +
              El("RotationY", Number(c.rotationY)) + El("Visible", visible ? "true" : "false") +
              El("Collidable", "false");
    return Item(fields);
}

std::string Lights(const Sources& s) {
    std::string items;
    for (const LightRow& l : s.lights) {
        char colour[64];
        std::snprintf(colour, sizeof(colour), "%.3g,%.3g,%.3g", ((l.rgb >> 16) & 0xFF) / 255.0,
                      ((l.rgb >> 8) & 0xFF) / 255.0, (l.rgb & 0xFF) / 255.0);
        const auto vec = [](const Vec3& v) { return Number(v.x) + "," + Number(v.y) + "," + Number(v.z); };
        items += Item(El("Name", l.name) + El("Activate", "true") + El("EngineDataFileName", l.name + ".lgt") +
                      El("LightType", l.type) + El("Position", vec(l.position)) + El("Target", vec(l.target)) +
                      El("Color", colour) + El("Diffuse", colour) + El("Intensity", Number(l.intensity)) +
                      (l.type == "spot" ? El("HotSize", "30") + El("FallSize", "45") : "") + El("Range", "3000"));
    }
    return items;
}

std::string Cursors(const Sources& s, Output& out, const SourceRef& at) {
    std::string props;
    for (const auto& [name, sprite] : s.cursors)
        props += Item(El("Kind", "playercursor") + El("Name", name) + El("EngineDataFileName", sprite) +
                      El("Visible", "false") + El("Collidable", "true") +
                      // A sprite's bounds are a rectangle (the shape's default, a box, is for models).
                      El("Depictors", El("Collision", El("BoundaryShape", "Rectangle"))));
    return "<ComponentLevel name=\"PlayerCursors\" loadingMode=\"loadInLayer\" zIndex=\"100\">\n" +
           List("Cameras", ViewItem(s, out, "cursor_camera", at)) + List("Props", props) + "</ComponentLevel>\n";
}

std::string MatchAppData(const Sources& s, const std::string& decade) {
    std::string data;
    for (const auto& [key, value] : s.appData)
        data += El(key, value) + "\n";
    static const char* kTuning[5] = {"BuzzerSpeed_", "AnswerAccuracy_", "AnswerDifficulty_", "BasicRoundStrength_",
                                     "Steal_"};
    static const char* kNames[5] = {"String_FamilyName_", "String_male1_", "String_male2_", "String_female1_",
                                    "String_female2_"};
    for (const Family& f : s.families) {
        if (f.decade != decade)
            continue;
        const std::string suffix = f.difficulty + f.decade;
        for (int i = 0; i < 5; ++i)
            data += El(kTuning[i] + suffix, std::to_string(f.tuning[i])) + "\n";
        for (int i = 0; i < 5; ++i)
            data += El(kNames[i] + suffix, f.names[i]) + "\n";
    }
    return "<ApplicationData>\n" + data + "</ApplicationData>\n";
}

std::string LevelFileText(const Sources& s, Output& out, const LevelRow& level) {
    std::string body;
    const std::string cursors = "<ComponentLevels>\n" + Cursors(s, out, level.at);
    if (level.recipe == "startup") {
        body = List("Cameras", ViewItem(s, out, "startup_camera", level.at)) + cursors + "</ComponentLevels>\n";
    } else if (level.recipe == "plain") {
        body = List("Cameras", ViewItem(s, out, "level_camera", level.at)) + cursors + "</ComponentLevels>\n";
    } else if (level.recipe == "tutorial") {
        body = List("Cameras", ViewItem(s, out, "menu_camera", level.at)) + List("Props", Props(s, "menu")) + cursors +
               "</ComponentLevels>\n";
    } else if (level.recipe == "menu") {
        std::string avatars;
        for (const Character& c : s.avatars)
            avatars += CharacterItem(c, true, false);
        body = List("Cameras", ViewItem(s, out, "menu_camera", level.at)) + List("Lights", Lights(s)) +
               List("Props", Props(s, "menu")) + List("Characters", avatars) + cursors + "</ComponentLevels>\n";
    } else {
        const std::string& d = level.decade;
        std::string cameras;
        // A camera brought up to date restarts its animation in its record's play mode: once,
        // as its behaviour plays it (a record without one reads as no valid mode and stops it).
        for (const ShowCamera& c : s.shows)
            cameras += CameraItem("GameShowCameras", c.name, c.name + ".cam", c.eye[0], c.target[0], c.fov[0], false,
                                  c.active,
                                  "<Animation mode=\"once\" speed=\"1\"></Animation>" +
                                      El("ApplicationData", El("EndKey", kEndKey)));
        std::string characters;
        for (const Character& c : s.hosts)
            characters += CharacterItem(c, true, true);
        for (const Character& c : s.contestants)
            characters += CharacterItem(c, false, false);
        std::string components;
        for (const Face& face : s.faces) {
            const Character avatar{face.character, "QZCharacter", "", "", "", {}, 0, level.at};
            components += "<ComponentLevel name=\"" + face.level + "\" loadingMode=\"loadIn3DViewport\">\n" +
                          List("Cameras", ViewItem(s, out, face.camera, level.at)) +
                          List("Characters", CharacterItem(avatar, false, false)) + "</ComponentLevel>\n";
        }
        body = List("SetElements", Item(El("Name", "Stage" + d) + El("EngineDataFileName", "stage" + d + ".mdl") +
                                        El("Visible", "false"))) +
               List("Cameras", cameras) + List("Lights", Lights(s)) + List("Props", Props(s, d)) +
               List("Characters", characters) + cursors + components + "</ComponentLevels>\n" + MatchAppData(s, d);
    }
    return "<root>\n<Level>\n" + body + "</Level>\n</root>\n";
}

std::string LevelList(const Sources& s) {
    std::string items;
    int id = 0;
    for (const LevelRow& level : s.levels)
        items += Item(El("LevelNameId", level.nameId) + El("LevelFileName", level.file) + El("Status", "unlock") +
                      El("LevelTransitionId", std::to_string(++id)) + El("LoadingSceenId", "ScreenLoad") +
                      (level.screen.empty() ? "" : El("RunningSceenId", level.screen)) + "<StatusModifiers/>");
    return "<root>\n<LevelTransitions>\n" + List("Levels", items) + "</LevelTransitions>\n</root>\n";
}

// Behaviour files -----------------------------------------------------------------------

struct Action {
    std::string name, type, animation;  // animation: a model animation or a material
    std::vector<std::pair<std::string, int>> keys;
    std::string playMode;
};

std::string ActionItem(const Action& a) {
    std::string fields = El("Name", a.name) + El("ActionType", a.type);
    if (a.type == "ModelAnimation")
        fields += El("LoopAnimation", a.animation);
    else if (a.type == "TextureAnimation")
        fields += El("MaterialName", a.animation);
    std::string keys;
    for (const auto& [name, frame] : a.keys)
        keys += Item(El("Name", name) + El("Frame", std::to_string(frame)));
    if (!keys.empty())
        fields += "<Keys>" + keys + "</Keys>";
    return Item(fields + El("PlayMode", a.playMode) + El("Speed", "1.0"));
}

using Templates = std::vector<std::pair<std::string, std::vector<Action>>>;

std::string Behavior(const std::string& name, const Templates& templates) {
    std::string entities;
    for (const auto& [entity, actions] : templates) {
        std::string items;
        for (const Action& a : actions)
            items += ActionItem(a);
        entities += Item(El("Name", entity) + "<Parameters/>\n" + List("Actions", items));
    }
    return Item(El("Name", name) + "\n" + List("Entities", entities));
}

std::string StageBehaviorFile(const std::string& behaviors) {
    return "<root><RootBehavior>\n" + List("Behaviors", behaviors) + "</RootBehavior></root>\n";
}

// The material file of a model's animated box, with its keys; empty when the model has none.
Action StageAction(const Sources& s, Output& out, const Prop& prop) {
    Action action{"AnimIFL", "TextureAnimation", "", {}, "loop"};
    std::string decade;
    const MaterialRow* material = StageMaterial(s, prop, decade);
    if (!material) {
        out.Error(prop.at, "stage prop \"" + prop.name + "\" has no flip-book material to animate",
                  "GlobalXml/stagebehaviors.xml");
        return action;
    }
    action.animation = ForDecade(material->name, decade) + ".mat";
    if (material->recipe == "screen") {
        action.keys = {{"logo", 0}, {"empty", 1}};
        action.playMode = "pause";
    } else {
        action.keys = {{"KeyPause", int(material->colours.size()) / 2}};
    }
    return action;
}

std::string StageBehaviors(const Sources& s, Output& out) {
    Templates board;
    const Action front{"BlockFront", "ModelAnimation", "", {}, "once"};
    std::string flip;
    int flipFrames = 0;
    if (!s.flips.empty()) {
        flip = s.flips.front().name + ".prs";
        flipFrames = s.flips.front().frames;
    }
    const Action blockFront{front.name, front.type, flip, {{"StartIFL", flipFrames / 2}}, "once"};
    const Action blockBack{"BlockBack", "TextureAnimation", "board_block.mat", {}, "once"};
    for (int n = 1; n <= 9; ++n) {
        char name[24];
        std::snprintf(name, sizeof(name), "Block_%02d", n);
        board.push_back({name, {blockFront, blockBack}});
    }
    for (int n = 1; n <= 6; ++n) {
        char name[24];
        std::snprintf(name, sizeof(name), "Block_dt_%02d", n);
        board.push_back({name, {blockFront, blockBack}});
    }
    const Action buzz{"BuzzAnim", "TextureAnimation", "buzzer_top.mat", {}, "once"};
    board.push_back({"BuzzerLeft", {buzz}});
    board.push_back({"BuzzerRight", {buzz}});
    const Templates light{{"Light", {{"AnimIFL", "TextureAnimation", kBuzzerLightMaterial, {}, "pause"}}}};
    // One template per stage prop name; a prop in several decades has one template.
    Templates stageTemplates;
    std::set<std::string> seen;
    for (const auto& [decade, props] : s.props)
        for (const Prop& prop : props)
            if (prop.behavior && seen.insert(prop.name).second)
                stageTemplates.push_back({prop.name, {StageAction(s, out, prop)}});
    std::sort(stageTemplates.begin(), stageTemplates.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    return StageBehaviorFile(Behavior("Board", board) + Behavior("BuzzLight", light) +
                        Behavior("StageBehavior", stageTemplates));
}

std::string ScoreBehaviors() {
    std::vector<Action> digits;
    for (const char* place : {"Hundred", "Ten", "Unit"}) {
        std::string material = std::string("digit_") + place + ".mat";
        std::transform(material.begin(), material.end(), material.begin(), ::tolower);
        digits.push_back({place, "TextureAnimation", material, {}, "pause"});
    }
    return StageBehaviorFile(Behavior("ScoreBehavior", {{"BoardScore", digits}, {"DeskScore", digits}}));
}

std::string CameraBehaviors(const Sources& s) {
    // One action serves every camera: its end key sits on the shortest camera's last frame.
    int last = 0;
    for (const ShowCamera& c : s.shows)
        last = last == 0 ? c.frames - 1 : std::min(last, c.frames - 1);
    const Action action{"CameraAnimation", "CameraAnimation", "", {{kEndKey, last}}, "once"};
    return StageBehaviorFile(Behavior("Camera", {{"AnimatedCamera", {action}}}));
}

}  // namespace

void GenerateStageXml(Output& out) {
    const Sources s = ReadSources(out);
    const SourceRef levels{"content/levels.txt", 0};
    out.Add(kStageXmlPackage, "Levels.xml", LevelList(s), levels);
    for (const LevelRow& level : s.levels)
        out.Add(kStageXmlPackage, level.file + ".xml", LevelFileText(s, out, level), level.at);
    out.Add(kStageXmlPackage, "StageBehaviors.xml", StageBehaviors(s, out), {"content/stage.txt", 0});
    out.Add(kStageXmlPackage, "ScoreBehaviors.xml", ScoreBehaviors(), {"content/art/stage.txt", 0});
    out.Add(kStageXmlPackage, "CamerasBehaviors.xml", CameraBehaviors(s), {"content/cameras.txt", 0});
}

}  // namespace content
