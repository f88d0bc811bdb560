#pragma once
// The stage's text sources, read once for both stage generators: the level list and level
// contents (content/levels.txt), the props per decade (content/stage.txt), cameras and
// lights (content/cameras.txt) and the 3D art recipes (content/art/stage.txt).
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/content/ContentBuild.h"

namespace content::stage {

// The four stage decades, in decade-index order.
inline constexpr std::array<const char*, 4> kDecades = {"70", "80", "90", "00"};

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct LevelRow {
    std::string nameId, file, screen;  // screen empty for none
    std::string recipe;                // startup, menu, plain, tutorial, match
    std::string decade;                // match levels only
    SourceRef at;
};

struct Prop {
    std::string name, kind, model;  // kind empty: a plain prop; model with the decade put in
    Vec3 position;
    float rotationY = 0;
    bool hidden = false;
    bool behavior = false;  // a stage prop whose template is its own name
    SourceRef at;
};

struct Character {
    std::string name, kind, outfit, animation, skeleton;
    Vec3 position;
    float rotationY = 0;
    SourceRef at;
};

struct Face {
    std::string level, character, camera;
};

struct Family {
    std::string decade, difficulty;
    std::array<int, 5> tuning{};               // buzzer, accuracy, difficulty, strength, steal
    std::array<std::string, 5> names;          // family, male 1, male 2, female 1, female 2
};

struct ShowCamera {
    std::string name;
    int frames = 0;
    Vec3 eye[2], target[2];
    float fov[2] = {};
    bool active = false;
    SourceRef at;
};

struct View {
    std::string name;
    Vec3 eye, target;
    float fov = 0;
    bool ortho = false;
};

struct LightRow {
    std::string name, type;  // spot, position, direction
    Vec3 position, target;
    uint32_t rgb = 0;
    float intensity = 0;
    SourceRef at;
};

struct MaterialRow {
    std::string name;    // may hold '@'
    std::string recipe;  // solid, cycle, screen, digits, blink
    std::vector<std::string> colours;
    SourceRef at;
};

struct Box {
    std::string material;
    Vec3 size, offset;
};

struct ModelRow {
    std::string name;  // may hold '@'
    std::vector<Box> boxes;
    SourceRef at;
};

struct FlipRow {
    std::string name;
    int frames = 0;
    SourceRef at;
};

struct Sources {
    std::vector<LevelRow> levels;
    std::vector<std::pair<std::string, std::string>> cursors;  // name, sprite
    std::vector<Character> avatars, hosts, contestants;
    std::vector<Face> faces;
    std::vector<std::pair<std::string, std::string>> appData;
    std::vector<Family> families;
    // Decade ("70".."00", or "menu") -> its props in source order.
    std::map<std::string, std::vector<Prop>> props;
    std::vector<ShowCamera> shows;
    std::vector<View> views;
    std::vector<LightRow> lights;
    std::map<std::string, std::map<std::string, uint32_t>> palettes;
    std::vector<MaterialRow> materials;
    std::vector<ModelRow> models;
    std::vector<FlipRow> flips;

    const View* FindView(const std::string& name) const;
    const MaterialRow* FindMaterial(const std::string& name) const;
    const ModelRow* FindModel(const std::string& name) const;
};

// Reads the four sources; a bad line is reported on out with its file and line, and skipped.
Sources ReadSources(Output& out);

// A name with '@' standing for the decade ("crowd@" -> "crowd70").
std::string ForDecade(const std::string& name, const std::string& decade);
// "a_{01..03}_b" -> a_01_b, a_02_b, a_03_b (the first number's width kept); a name without
// braces is itself. Empty for a malformed range.
std::vector<std::string> ExpandRange(const std::string& name);
// The colour a material names: "rrggbb", "<palette>.<role>" or "@.<role>" (ARGB, opaque);
// false when it names no colour.
bool ResolveColour(const Sources& sources, const std::string& colour, const std::string& decade, uint32_t& argb);
// The model file's recipe and the decade it was made for ("crowd70.mdl" -> crowd@, "70").
const ModelRow* ModelOfFile(const Sources& sources, const std::string& file, std::string& decade);
// The material of a model that an animation drives: its first box whose recipe is not solid.
const MaterialRow* AnimatedMaterial(const Sources& sources, const ModelRow& model);

}  // namespace content::stage
