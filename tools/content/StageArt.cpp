// The stage's 3D resources: box models with their vertex buffers and meshes, flip-book
// materials, the block flip, the game-show cameras and the lights.
#include <cmath>
#include <cstdio>
#include <map>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VertexBufferWriter.h"
#include "tools/content/Generators.h"
#include "tools/content/StageSources.h"

namespace content {

namespace {

using namespace stage;
using authoring::NameId;

constexpr const char* kPackage = "Global3D.dir";

// Seven segments a-g, top then clockwise, middle last, per digit.
constexpr uint8_t kDigitSegmentBits[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

std::vector<uint32_t> Solid(uint32_t argb, uint32_t size) {
    return std::vector<uint32_t>(size * size, argb);
}

// A 16 x 24 digit drawn as seven segments; digit 10 or more is blank.
std::vector<uint32_t> Digit(int digit, uint32_t ink, uint32_t paper) {
    constexpr int kW = 16, kH = 24;
    std::vector<uint32_t> pixels(kW * kH, paper);
    if (digit < 0 || digit > 9)
        return pixels;
    const auto fill = [&](int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                pixels[size_t(y * kW + x)] = ink;
    };
    const uint8_t on = kDigitSegmentBits[digit];
    if (on & 0x01) fill(3, 2, 13, 4);
    if (on & 0x02) fill(11, 3, 13, 12);
    if (on & 0x04) fill(11, 12, 13, 21);
    if (on & 0x08) fill(3, 20, 13, 22);
    if (on & 0x10) fill(3, 12, 5, 21);
    if (on & 0x20) fill(3, 3, 5, 12);
    if (on & 0x40) fill(3, 11, 13, 13);
    return pixels;
}

// Rings about the centre on a background: the show's logo card.
std::vector<uint32_t> Rings(uint32_t ink, uint32_t paper, uint32_t size) {
    std::vector<uint32_t> pixels(size * size, paper);
    const float c = float(size - 1) / 2;
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x) {
            const float r = std::hypot(float(x) - c, float(y) - c);
            if (int(r) % 6 < 3 && r < c)
                pixels[y * size + x] = ink;
        }
    return pixels;
}

// Writes "<name>.mat", its slot and its frames for the decade; false if a colour is unknown.
bool AddMaterial(Output& out, const Sources& s, const MaterialRow& m, const std::string& decade) {
    std::vector<uint32_t> colours;
    for (const std::string& c : m.colours) {
        uint32_t argb = 0;
        if (!ResolveColour(s, c, decade, argb)) {
            out.Error(m.at, "material \"" + m.name + "\" names the unknown colour \"" + c + "\"",
                      "Global3D/" + ForDecade(m.name, decade) + ".mat");
            return false;
        }
        colours.push_back(argb);
    }
    const std::string name = ForDecade(m.name, decade);
    std::vector<std::string> frames;
    const auto frame = [&](const std::vector<uint32_t>& pixels, uint32_t w, uint32_t h) {
        const std::string png = name + "_" + std::to_string(frames.size()) + ".png";
        out.Add(kPackage, png, authoring::PngBytes(pixels, w, h, false), m.at, TypeKey::Texture);
        frames.push_back(png);
    };
    authoring::SlotController controller;
    if (m.recipe == "digits") {
        for (int d = 0; d <= 10; ++d)
            frame(Digit(d, colours[0], colours[1]), 16, 24);
        controller.frameRate = 1;
    } else if (m.recipe == "screen") {
        frame(Rings(colours[0], colours[1], 32), 32, 32);
        frame(Solid(colours[1], 8), 8, 8);
        controller.frameRate = 1;
    } else {
        // Plain colour frames are shared by every material that shows the colour.
        for (uint32_t argb : colours) {
            char png[32];
            std::snprintf(png, sizeof(png), "tint_%06x.png", argb & 0xFFFFFFu);
            const auto held = out.Packages().find(kPackage);
            if (held == out.Packages().end() || !held->second.count(png))
                out.Add(kPackage, png, authoring::PngBytes(Solid(argb, 8), 8, 8, false), m.at, TypeKey::Texture);
            frames.push_back(png);
        }
        controller.frameRate = m.recipe == "blink" ? 8 : 4;
    }
    authoring::TextureSlotData slot;
    slot.textures = frames;
    if (frames.size() > 1) {
        // A flip-book: the slot's own controller runs a stepped track of frame numbers.
        controller.frameCount = uint32_t(frames.size());
        slot.controller = controller;
        slot.uv.Interpolation(authoring::Track::StepId());
        for (uint32_t f = 0; f < frames.size(); ++f)
            slot.uv.UVKey(uint16_t(f), f, 1, 1, 0, 0, 0);
    }
    authoring::MaterialData material;
    material.slots = {name + ".slot"};
    out.Add(kPackage, name + ".slot", authoring::TextureSlotBytes(slot), m.at, TypeKey::TextureSlot);
    out.Add(kPackage, name + ".mat", authoring::MaterialBytes(material), m.at, TypeKey::Material);
    return true;
}

// Writes "<name>.mdl" with its vertex buffer and one mesh per box.
void AddModel(Output& out, const ModelRow& row, const std::string& decade) {
    const std::string name = ForDecade(row.name, decade);
    authoring::VertexBufferData vb;
    authoring::ModelData model;
    model.vertexBufferId = NameId(name + ".vb");
    for (size_t b = 0; b < row.boxes.size(); ++b) {
        const stage::Box& box = row.boxes[b];
        const std::array<float, 3> centre{box.offset.x, box.offset.y, box.offset.z};
        const size_t first = vb.positions.size();
        authoring::AppendBox(vb, centre, 0.5f, 0xFFFFFFFFu);
        const float size[3] = {box.size.x, box.size.y, box.size.z};
        for (size_t v = first; v < vb.positions.size(); ++v)
            for (int k = 0; k < 3; ++k)
                vb.positions[v][k] = centre[k] + (vb.positions[v][k] - centre[k]) * size[k];
        authoring::MeshData mesh = authoring::BoxMesh(1);
        for (auto* list : {&mesh.vertexMap, &mesh.colorIndex, &mesh.texCoordIndex})
            for (uint16_t& index : *list)
                index = uint16_t(index + first);
        const std::string meshName = name + "_" + std::to_string(b) + ".mesh";
        out.Add(kPackage, meshName, authoring::MeshBytes(mesh), row.at, TypeKey::Mesh);
        model.meshIds.push_back(NameId(meshName));
        model.materialIds.push_back(NameId(ForDecade(box.material, decade) + ".mat"));
    }
    out.Add(kPackage, name + ".vb", authoring::VertexBufferBytes(vb), row.at, TypeKey::VertexBuffer);
    out.Add(kPackage, name + ".mdl", authoring::ModelBytes(model), row.at, TypeKey::Model);
}

void AddFlip(Output& out, const FlipRow& flip) {
    const uint16_t end = uint16_t(flip.frames - 1);
    const float s45 = std::sin(0.25f * 3.14159265f), s90 = 1.0f;
    // No position or scale keys: a key would put every block that plays the flip at that one
    // place; without them each block turns where the stage placed it.
    authoring::Track rotation = authoring::Track::Quat()
                                    .Key(0, {0, 0, 0, 1})
                                    .Key(uint16_t(end / 2), {s45, 0, 0, s45})
                                    .Key(end, {s90, 0, 0, 0});
    out.Add(kPackage, flip.name + ".prs",
            authoring::ModelAnimationBytes(float(flip.frames), 30, authoring::Track::Vec3(), rotation,
                                           authoring::Track::Vec3()),
            flip.at,
            TypeKey::PrsAnimation);
}

void AddCamera(Output& out, const ShowCamera& c) {
    const uint16_t end = uint16_t(c.frames - 1);
    const auto track = [end](const Vec3& a, const Vec3& b) {
        return authoring::Track::Vec3().Key(0, {a.x, a.y, a.z}).Key(end, {b.x, b.y, b.z});
    };
    const authoring::Track fov = authoring::Track::Float().Key(0, {c.fov[0]}).Key(end, {c.fov[1]});
    out.Add(kPackage, c.name + ".cam",
            authoring::CameraBytes(float(c.frames), track(c.eye[0], c.eye[1]), track(c.target[0], c.target[1]), fov),
            c.at, TypeKey::Camera);
}

void AddLight(Output& out, const LightRow& l) {
    authoring::LightData light;
    light.kind = l.type == "spot" ? 1 : l.type == "direction" ? 2 : 0;
    light.position[0] = l.position.x;
    light.position[1] = l.position.y;
    light.position[2] = l.position.z;
    const float d[3] = {l.target.x - l.position.x, l.target.y - l.position.y, l.target.z - l.position.z};
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (int k = 0; k < 3 && length > 0; ++k)
        light.direction[k] = d[k] / length;
    light.transform[12] = l.position.x;
    light.transform[13] = l.position.y;
    light.transform[14] = l.position.z;
    light.diffuse = 0xFF000000u | l.rgb;
    light.valueA = l.intensity;
    light.range = 3000;
    light.innerCone = 30;
    light.outerCone = 45;
    out.Add(kPackage, l.name + ".lgt", authoring::LightBytes(light), l.at, TypeKey::Light);
}

}  // namespace

void GenerateStage3D(Output& out) {
    const Sources s = ReadSources(out);
    // The models the levels use, each for the decade it was made for, then their materials;
    // both by name, so the first source line that makes an entry does not depend on memory.
    std::map<std::pair<std::string, std::string>, const ModelRow*> models;
    const auto use = [&](const std::string& file) {
        std::string made;
        const ModelRow* row = ModelOfFile(s, file, made);
        if (row)
            models[{row->name, made}] = row;
        return row != nullptr;
    };
    for (const auto& [decade, props] : s.props)
        for (const Prop& prop : props)
            use(prop.model);
    for (const char* decade : kDecades)
        if (!use(std::string("stage") + decade + ".mdl"))
            out.Error({"content/art/stage.txt", 0}, std::string("no model recipe makes the set element \"stage") +
                                                        decade + ".mdl\"");
    std::map<std::pair<std::string, std::string>, const MaterialRow*> materials;
    for (const auto& [key, row] : models) {
        AddModel(out, *row, key.second);
        for (const stage::Box& box : row->boxes)
            if (const MaterialRow* m = s.FindMaterial(box.material))
                materials[{m->name, m->name.find('@') == std::string::npos ? "" : key.second}] = m;
    }
    // The behaviours name these whether or not a model shows them.
    for (const char* name : {"board_block", "buzzer_top", "buzzer_light", "digit_hundred", "digit_ten", "digit_unit"})
        if (const MaterialRow* m = s.FindMaterial(name))
            materials[{m->name, ""}] = m;
        else
            out.Error({"content/art/stage.txt", 0}, std::string("no material recipe \"") + name + "\"");
    for (const auto& [key, row] : materials)
        AddMaterial(out, s, *row, key.second);
    for (const FlipRow& flip : s.flips)
        AddFlip(out, flip);
    for (const ShowCamera& c : s.shows)
        AddCamera(out, c);
    for (const LightRow& l : s.lights)
        AddLight(out, l);
}

}  // namespace content
