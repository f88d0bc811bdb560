// The character figures: skeletons, one small skinned model per item, skin animations, and the
// pictures drawn from the same boxes (item thumbnails, look thumbnails, family pictures).
#include <algorithm>
#include <cmath>
#include <set>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/ModelWriter.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/authoring/VertexBufferWriter.h"
#include "tools/content/CharacterTables.h"
#include "tools/content/Generators.h"

namespace content {

namespace {

using namespace characters;
using V3 = std::array<float, 3>;

constexpr const char* k3DPackage = "gameshowavatar3d.dir";
constexpr const char* kPicturePackage = "general_globalgameassets.dir";
constexpr const char* kPlainMaterial = "chr_plain";
constexpr float kPiF = 3.14159265f;

// A box in rest space with its colour, ready to draw or to skin.
struct PaintedBox {
    int bone = 0;
    V3 centre{}, half{};
    uint32_t argb = 0;
};

// One model to make: its figure, gender and tone.
struct ItemModelJob {
    std::string model;
    bool male = true;
    std::string key;
    std::string tone;
    SourceRef at;
    bool thumbnail = true;  // shown on the wardrobe page
};

// The wardrobe page shows hairstyles and the outfit; heads and eyes have no thumbnail.
constexpr int kFirstThumbnailList = 3;

std::vector<PaintedBox> Paint(const Art& art, const Figure& figure, const std::string& tone, float scale) {
    std::vector<PaintedBox> boxes;
    const auto shape = art.shapes.find(figure.shape);
    if (shape == art.shapes.end())
        return boxes;
    for (const characters::Box& box : shape->second) {
        PaintedBox painted{box.bone, box.centre, box.half, box.argb};
        if (box.paint == 'a')
            painted.argb = figure.a;
        else if (box.paint == 'b')
            painted.argb = figure.b ? figure.b : figure.a;
        else if (box.paint == 's')
            painted.argb = art.ToneColour(tone);
        for (int c = 0; c < 3; ++c) {
            painted.centre[size_t(c)] *= scale;
            painted.half[size_t(c)] *= scale;
        }
        boxes.push_back(painted);
    }
    return boxes;
}

float ScaleOf(const Art& art, bool male) {
    for (const Skeleton& skeleton : art.skeletons)
        if (skeleton.male == male)
            return skeleton.scale;
    return 1.0f;
}

// Every model of one gender: the items of all sets, skin-toned ones in every tone (and untoned
// where a list names them so).
std::vector<ItemModelJob> ModelJobs(const Characters& tables, const Art& art, bool male, Output& out) {
    std::vector<std::pair<const ItemList*, int>> lists;
    for (int set = 0; set < kSets; ++set)
        for (int k = 0; k < kPartLists; ++k)
            lists.push_back({&tables.lists[set][male ? 0 : 1][k], k});
    for (const RetailerSet& set : tables.retailers)
        for (int k = 0; k < kPartLists; ++k)
            lists.push_back({&set.lists[male ? 0 : 1][k], k});
    std::vector<ItemModelJob> jobs;
    std::set<std::string> seen;
    // The glasses tab's own no-glasses item, shown before the list's glasses.
    const ItemList& eyewear = tables.lists[kDefault][male ? 0 : 1][kEyewearList];
    if (art.figures[male ? 0 : 1].count(kNoEyewear))
        jobs.push_back({*seen.insert(ItemModel(male, kNoEyewear, "")).first, male, kNoEyewear, "", eyewear.at, true});
    else
        out.Error(eyewear.at, std::string("the no-glasses item \"") + PrefixOf(male) + "_" + kNoEyewear +
                                  "\" has no figure (\"wear\") in the character art");
    for (const auto& [list, k] : lists) {
        const ItemList& items = *list;
        const bool thumbnail = k >= kFirstThumbnailList;
        for (const std::string& item : items.items) {
            const std::string key = FigureKey(item);
            if (!art.figures[male ? 0 : 1].count(key)) {
                if (seen.insert("?" + key).second)
                    out.Error(items.at, std::string("item \"") + PrefixOf(male) + "_" + key +
                                            "\" has no figure (\"wear\") in the character art");
                continue;
            }
            // A "{t}" item, or an untoned "_skin01" one that takes its wearer's tone.
            std::vector<std::string> tones;
            if (item != key || IsSkinToned(key))
                for (const auto& tone : art.tones)
                    tones.push_back(tone.first);
            for (const std::string& tone : tones) {
                const std::string model = ItemModel(male, key + "_{t}", tone);
                if (seen.insert(model).second)
                    jobs.push_back({model, male, key, tone, items.at, thumbnail});
            }
            // The name the list itself gives (untoned "_skin01" items of the extra set).
            if (item == key) {
                const std::string model = ItemModel(male, key, "");
                if (seen.insert(model).second)
                    jobs.push_back({model, male, key, art.tones.empty() ? "" : art.tones.front().first, items.at,
                                    thumbnail});
            }
        }
    }
    return jobs;
}

authoring::VertexBufferData SkinnedBoxes(const std::vector<PaintedBox>& boxes, size_t boneCount) {
    authoring::VertexBufferData data;
    for (const PaintedBox& box : boxes) {
        const size_t first = data.positions.size();
        authoring::AppendBox(data, {0, 0, 0}, 1.0f, box.argb);
        for (size_t v = first; v < data.positions.size(); ++v)
            for (size_t c = 0; c < 3; ++c)
                data.positions[v][c] = box.centre[c] + data.positions[v][c] * box.half[c];
    }
    // Each box moves wholly with its bone; influences are grouped by bone.
    for (size_t bone = 0; bone < boneCount; ++bone) {
        uint16_t count = 0;
        for (size_t k = 0; k < boxes.size(); ++k) {
            if (size_t(boxes[k].bone) != bone)
                continue;
            for (uint16_t v = 0; v < 24; ++v) {
                data.influenceVertices.push_back(uint16_t(k * 24 + v));
                data.influenceWeights.push_back(1.0f);
            }
            count = uint16_t(count + 24);
        }
        data.influenceCounts.push_back(count);
    }
    return data;
}

void AddItemModel(const ItemModelJob& job, const Art& art, Output& out) {
    std::vector<PaintedBox> boxes = Paint(art, art.figures[job.male ? 0 : 1].at(job.key), job.tone, ScaleOf(art, job.male));
    // An item that shows nothing ("No_Eyewear") still loads: one box of no size.
    if (boxes.empty())
        boxes.push_back({4, {0, 165, 0}, {0, 0, 0}, 0});
    const std::string base = job.model.substr(0, job.model.size() - 4);
    authoring::ModelData model;
    model.vertexBufferId = authoring::NameId(base + ".vb");
    model.meshIds = {authoring::NameId(base + ".mesh")};
    model.materialIds = {authoring::NameId(std::string(kPlainMaterial) + ".mat")};
    out.Add(k3DPackage, base + ".vb", authoring::VertexBufferBytes(SkinnedBoxes(boxes, art.bones.size())), job.at,
            TypeKey::VertexBuffer);
    out.Add(k3DPackage, base + ".mesh", authoring::MeshBytes(authoring::BoxMesh(uint32_t(boxes.size()))), job.at,
            TypeKey::Mesh);
    out.Add(k3DPackage, job.model, authoring::ModelBytes(model), job.at, TypeKey::Model);
    // The wardrobe page puts the no-glasses choice on by its name without the extension.
    if (base.ends_with("No_Eyewear"))
        out.Add(k3DPackage, base, authoring::ModelBytes(model), job.at, TypeKey::Model);
}

std::array<float, 4> Multiply(const std::array<float, 4>& a, const std::array<float, 4>& b) {
    return {a[3] * b[0] + a[0] * b[3] + a[1] * b[2] - a[2] * b[1], a[3] * b[1] - a[0] * b[2] + a[1] * b[3] + a[2] * b[0],
            a[3] * b[2] + a[0] * b[1] - a[1] * b[0] + a[2] * b[3], a[3] * b[3] - a[0] * b[0] - a[1] * b[1] - a[2] * b[2]};
}

// The turn of x, then y, then z degrees as a quaternion (x, y, z, w).
std::array<float, 4> Turn(const V3& degrees) {
    std::array<float, 4> q{0, 0, 0, 1};
    for (size_t axis = 0; axis < 3; ++axis) {
        const float half = degrees[axis] * kPiF / 360.0f;
        std::array<float, 4> r{0, 0, 0, std::cos(half)};
        r[axis] = std::sin(half);
        q = Multiply(r, q);
    }
    return q;
}

std::string SkinAnimation(const Animation& animation, const Art& art, float scale) {
    std::vector<authoring::SkinBoneTracks> tracks(art.bones.size());
    for (size_t bone = 0; bone < art.bones.size(); ++bone) {
        tracks[bone].boneIndex = uint16_t(bone);
        for (int frame = 0;; frame = std::min(frame + 2, animation.frames)) {
            V3 turn{}, position = art.bones[bone].offset;
            for (float& c : position)
                c *= scale;
            for (const Channel& channel : animation.channels) {
                if (size_t(channel.bone) != bone)
                    continue;
                const float value =
                    channel.base + channel.amplitude * std::sin(2 * kPiF * (channel.cycles * float(frame) /
                                                                                float(animation.frames) +
                                                                            channel.phase));
                if (channel.axis < 3)
                    turn[size_t(channel.axis)] += value;
                else if (channel.axis == 3)
                    position[1] += value * scale;
                else
                    position[0] += value;  // a place on the stage, the same for every build
            }
            const auto q = Turn(turn);
            tracks[bone].position.Key(uint16_t(frame), {position[0], position[1], position[2]});
            tracks[bone].rotation.Key(uint16_t(frame), {q[0], q[1], q[2], q[3]});
            if (frame == animation.frames)
                break;
        }
    }
    return authoring::SkinAnimationBytes(float(animation.frames), 30.0f, tracks);
}

void AddSkeleton(const Skeleton& skeleton, const Art& art, Output& out) {
    const auto rest = art.RestPositions();
    std::vector<authoring::BoneData> bones;
    for (size_t k = 0; k < art.bones.size(); ++k) {
        authoring::BoneData bone;
        bone.id = uint32_t(k + 1);
        // The bind matrix takes a rest-space point into the bone's own space.
        bone.bind = authoring::TranslationMatrix(-rest[k][0] * skeleton.scale, -rest[k][1] * skeleton.scale,
                                                 -rest[k][2] * skeleton.scale);
        bone.parent = art.bones[k].parent < 0 ? uint16_t(255) : uint16_t(art.bones[k].parent);
        bones.push_back(bone);
    }
    const SourceRef at{"content/art/characters.txt", 0};
    out.Add(k3DPackage, skeleton.name, authoring::SkinBytes(bones), at, TypeKey::Skeleton);
    for (const Animation& animation : art.animations)
        out.Add(k3DPackage, AnimationFile(skeleton.male, animation.name), SkinAnimation(animation, art, skeleton.scale),
                animation.at, TypeKey::SkeletonPrsAnimation);
}

// ---- Pictures ----

class Canvas {
public:
    Canvas(const Picture& picture) : m_width(picture.width), m_height(picture.height), m_pixels(size_t(m_width * m_height)) {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                m_pixels[size_t(y * m_width + x)] = Mix(picture.top, picture.bottom, float(y) / float(m_height));
    }

    // Draws the boxes seen from the front into the pixel rectangle, the world window
    // [x0, x1] x [y0, y1] fitted into it with a uniform scale; nearer boxes cover farther ones.
    void Draw(std::vector<PaintedBox> boxes, float left, float top, float width, float height) {
        if (boxes.empty())
            return;
        float x0 = 1e9f, x1 = -1e9f, y0 = 1e9f, y1 = -1e9f;
        for (const PaintedBox& b : boxes) {
            x0 = std::min(x0, b.centre[0] - b.half[0]);
            x1 = std::max(x1, b.centre[0] + b.half[0]);
            y0 = std::min(y0, b.centre[1] - b.half[1]);
            y1 = std::max(y1, b.centre[1] + b.half[1]);
        }
        const float margin = 0.12f * std::max(x1 - x0, y1 - y0) + 0.5f;
        x0 -= margin, x1 += margin, y0 -= margin, y1 += margin;
        const float scale = std::min(width / (x1 - x0), height / (y1 - y0));
        const float cx = left + width * 0.5f - (x0 + x1) * 0.5f * scale;
        const float cy = top + height * 0.5f + (y0 + y1) * 0.5f * scale;
        std::stable_sort(boxes.begin(), boxes.end(), [](const PaintedBox& a, const PaintedBox& b) {
            return a.centre[2] + a.half[2] < b.centre[2] + b.half[2];
        });
        for (const PaintedBox& b : boxes) {
            const int px0 = int(std::floor(cx + (b.centre[0] - b.half[0]) * scale));
            const int px1 = int(std::ceil(cx + (b.centre[0] + b.half[0]) * scale));
            const int py0 = int(std::floor(cy - (b.centre[1] + b.half[1]) * scale));
            const int py1 = int(std::ceil(cy - (b.centre[1] - b.half[1]) * scale));
            for (int y = std::max(py0, 0); y < std::min(py1, m_height); ++y)
                for (int x = std::max(px0, 0); x < std::min(px1, m_width); ++x) {
                    const bool edge = x == px0 || x == px1 - 1 || y == py0 || y == py1 - 1;
                    m_pixels[size_t(y * m_width + x)] = edge ? Mix(b.argb, 0xFF000000u, 0.35f) : b.argb;
                }
        }
    }

    std::string Png() const { return authoring::PngBytes(m_pixels, uint32_t(m_width), uint32_t(m_height)); }

private:
    static uint32_t Mix(uint32_t a, uint32_t b, float t) {
        uint32_t out = 0xFF000000u;
        for (int shift : {0, 8, 16}) {
            const float ca = float((a >> shift) & 0xFF), cb = float((b >> shift) & 0xFF);
            out |= uint32_t(std::lround(ca + (cb - ca) * t)) << shift;
        }
        return out;
    }

    int m_width, m_height;
    std::vector<uint32_t> m_pixels;
};

// The picture with its texture slot, material and sprite, named as the widgets look them up.
void AddPicture(const std::string& image, const Canvas& canvas, const Picture& picture, const SourceRef& at,
                Output& out) {
    const std::string base = authoring::LowerName(image.substr(0, image.rfind('.')));
    authoring::TextureSlotData slot;
    slot.textures = {image};
    authoring::MaterialData material;
    material.slots = {base + "_slot"};
    out.Add(kPicturePackage, image, canvas.Png(), at, TypeKey::Texture);
    out.Add(kPicturePackage, base + "_slot", authoring::TextureSlotBytes(slot), at, TypeKey::TextureSlot);
    out.Add(kPicturePackage, base + ".mat", authoring::MaterialBytes(material), at, TypeKey::Material);
    out.Add(kPicturePackage, base + ".spt",
            authoring::SpriteBytes(2, uint32_t(picture.width), uint32_t(picture.height), base + ".mat"), at,
            TypeKey::Sprite);
}

// The painted boxes of a whole look, or empty when it cannot be resolved.
std::vector<PaintedBox> LookBoxes(const Look& look, const Characters& tables, const Art& art) {
    std::vector<PaintedBox> boxes;
    const Assembly* assembly = tables.FindAssembly(look.assembly);
    if (!assembly)
        return boxes;
    for (int k = 0; k < kPartLists; ++k) {
        const ItemList& list = tables.lists[kDefault][assembly->male ? 0 : 1][k];
        const size_t pick = size_t(look.pick[size_t(k)]);
        if (pick == 0 || pick > list.items.size())
            continue;
        const auto figure = art.figures[assembly->male ? 0 : 1].find(FigureKey(list.items[pick - 1]));
        if (figure == art.figures[assembly->male ? 0 : 1].end())
            continue;
        const auto part = Paint(art, figure->second, assembly->tone, ScaleOf(art, assembly->male));
        boxes.insert(boxes.end(), part.begin(), part.end());
    }
    return boxes;
}

const Look* FindLook(const Characters& tables, const std::string& file) {
    for (const Look& look : tables.looks)
        if (look.file == file)
            return &look;
    return nullptr;
}

void AddItemPictures(const Characters& tables, const Art& art, Output& out) {
    const auto picture = art.pictures.find("item");
    if (picture == art.pictures.end())
        return out.Error({"content/art/characters.txt", 0}, "no \"picture item\" size");
    std::set<std::string> done;
    for (bool male : {true, false})
        for (const ItemModelJob& job : ModelJobs(tables, art, male, out)) {
            const std::string image = ThumbnailOf(job.model);
            if (!job.thumbnail || !done.insert(image).second)
                continue;
            // Thumbnails show the item in the first tone.
            const std::string tone = art.tones.empty() ? "" : art.tones.front().first;
            Canvas canvas(picture->second);
            canvas.Draw(Paint(art, art.figures[male ? 0 : 1].at(job.key), tone, ScaleOf(art, male)), 0, 0,
                        float(picture->second.width), float(picture->second.height));
            AddPicture(image, canvas, picture->second, job.at, out);
        }
}

void AddLookPictures(const Characters& tables, const Art& art, Output& out) {
    const auto look = art.pictures.find("look");
    const auto family = art.pictures.find("family");
    if (look == art.pictures.end() || family == art.pictures.end())
        return out.Error({"content/art/characters.txt", 0}, "no \"picture look\" or \"picture family\" size");
    for (const Look& entry : tables.looks) {
        if (!entry.isDefault)
            continue;
        Canvas canvas(look->second);
        canvas.Draw(LookBoxes(entry, tables, art), 0, 0, float(look->second.width), float(look->second.height));
        AddPicture("Thumbnail_" + entry.file + ".png", canvas, look->second, entry.at, out);
    }
    // A computer family of each decade and difficulty, its four members side by side.
    static const char* const kDifficulties[] = {"Easy", "Normal", "Hard"};
    static const char* const kMembers[] = {"Male01", "Female01", "Male02", "Female02"};
    for (const char* decade : {"70", "80", "90", "00"})
        for (int f = 0; f < 3; ++f) {
            Canvas canvas(family->second);
            const float slot = float(family->second.width) / 4;
            SourceRef at{"content/characters.txt", 0};
            for (int m = 0; m < 4; ++m) {
                const std::string file = std::string(decade) + "s_F" + std::to_string(f + 1) +
                                         "_AppearanceOpponent" + kMembers[m];
                const Look* member = FindLook(tables, file);
                if (!member) {
                    out.Error(at, "no look \"" + file + "\" for the family picture");
                    continue;
                }
                at = member->at;
                canvas.Draw(LookBoxes(*member, tables, art), slot * float(m), 0, slot, float(family->second.height));
            }
            AddPicture(std::string("Family_Big_") + kDifficulties[f] + decade + ".png", canvas, family->second, at, out);
        }
}

}  // namespace

void GenerateCharacter3D(Output& out) {
    const Characters tables = ReadCharacters(out);
    const Art art = ReadArt(out);
    if (art.bones.size() != 15)
        out.Error({"content/art/characters.txt", 0}, "a skeleton needs 15 bones, the table has " +
                                                         std::to_string(art.bones.size()));
    for (const Skeleton& skeleton : art.skeletons)
        AddSkeleton(skeleton, art, out);
    // The one material of every part: a white texture under the vertex colours.
    const SourceRef at{"content/art/characters.txt", 0};
    authoring::TextureSlotData slot;
    slot.textures = {std::string(kPlainMaterial) + ".png"};
    authoring::MaterialData material;
    material.slots = {std::string(kPlainMaterial) + "_slot"};
    out.Add(k3DPackage, std::string(kPlainMaterial) + ".png",
            authoring::PngBytes(std::vector<uint32_t>(4, 0xFFFFFFFFu), 2, 2), at, TypeKey::Texture);
    out.Add(k3DPackage, std::string(kPlainMaterial) + "_slot", authoring::TextureSlotBytes(slot), at,
            TypeKey::TextureSlot);
    out.Add(k3DPackage, std::string(kPlainMaterial) + ".mat", authoring::MaterialBytes(material), at,
            TypeKey::Material);
    for (bool male : {true, false})
        for (const ItemModelJob& job : ModelJobs(tables, art, male, out))
            AddItemModel(job, art, out);
}

void GenerateCharacterArt(Output& out) {
    const Characters tables = ReadCharacters(out);
    const Art art = ReadArt(out);
    AddItemPictures(tables, art, out);
    AddLookPictures(tables, art, out);
}

}  // namespace content
