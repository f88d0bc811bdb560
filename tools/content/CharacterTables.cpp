#include "tools/content/CharacterTables.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace content::characters {

namespace {

const char* kCharactersSource = "content/characters.txt";
const char* kArtSource = "content/art/characters.txt";

bool ParseUnsigned(const std::string& text, uint32_t& value) {
    const char* end = text.data() + text.size();
    auto [at, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && at == end;
}

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

bool ParseArgb(const std::string& text, uint32_t& value) {
    if (text.size() != 8)
        return false;
    auto [at, ec] = std::from_chars(text.data(), text.data() + 8, value, 16);
    return ec == std::errc() && at == text.data() + 8;
}

bool ParseGender(const std::string& text, bool& male) {
    male = text == "Male";
    return male || text == "Female";
}

int ListIndex(const std::string& name) {
    for (int k = 0; k < kPartLists; ++k)
        if (name == kListNames[size_t(k)])
            return k;
    return -1;
}

int BoneIndex(const std::vector<Bone>& bones, const std::string& name) {
    for (size_t k = 0; k < bones.size(); ++k)
        if (bones[k].name == name)
            return int(k);
    return -1;
}

// "<x>,<y>,<z>" into three floats.
bool ParseTriple(const std::string& text, std::array<float, 3>& value) {
    const std::vector<std::string> parts = SplitFields(text, ',');
    if (parts.size() != 3)
        return false;
    for (size_t k = 0; k < 3; ++k)
        if (!ParseFloat(parts[k], value[k]))
            return false;
    return true;
}

bool ParseBox(const std::string& text, const std::vector<Bone>& bones, Box& box) {
    const std::vector<std::string> parts = SplitFields(text, ':');
    if (parts.size() != 4 || !ParseTriple(parts[1], box.centre) || !ParseTriple(parts[2], box.half))
        return false;
    box.bone = BoneIndex(bones, parts[0]);
    if (parts[3] == "a" || parts[3] == "b" || parts[3] == "s")
        box.paint = parts[3][0];
    else if (ParseArgb(parts[3], box.argb))
        box.paint = 'c';
    else
        return false;
    return box.bone >= 0;
}

bool ParseChannel(const std::string& text, const std::vector<Bone>& bones, Channel& channel) {
    const std::vector<std::string> parts = SplitFields(text, ':');
    if (parts.size() != 5 && parts.size() != 6)
        return false;
    static const char* const kAxes[] = {"x", "y", "z", "py", "px"};
    const auto axis = std::find(std::begin(kAxes), std::end(kAxes), parts[1]);
    channel.bone = BoneIndex(bones, parts[0]);
    channel.axis = int(axis - std::begin(kAxes));
    return channel.bone >= 0 && axis != std::end(kAxes) && ParseFloat(parts[2], channel.base) &&
           ParseFloat(parts[3], channel.amplitude) && ParseFloat(parts[4], channel.cycles) &&
           (parts.size() == 5 || ParseFloat(parts[5], channel.phase));
}

void ReadAssembly(const SourceFile& source, const SourceLine& line, Output& out, Characters& tables) {
    Assembly assembly;
    const auto& f = line.fields;
    if (f.size() != 5 || !ParseUnsigned(f[2], assembly.id) || !ParseGender(f[3], assembly.male)) {
        out.Error(source.At(line), "expected \"assembly <name> <id> <Male|Female> <tone>\"");
        return;
    }
    assembly.name = f[1];
    assembly.tone = f[4];
    assembly.at = source.At(line);
    tables.assemblies.push_back(assembly);
}

void ReadItems(const SourceFile& source, const SourceLine& line, Output& out, Characters& tables) {
    const auto& f = line.fields;
    RetailerSet* retailer = nullptr;
    for (RetailerSet& candidate : tables.retailers)
        if (f.size() > 1 && candidate.name == f[1])
            retailer = &candidate;
    const int set = f.size() < 2 ? kSets : f[1] == "default" ? kDefault : f[1] == "unlockable" ? kUnlockable : kSets;
    bool male = true;
    const int list = f.size() > 3 ? ListIndex(f[3]) : -1;
    uint32_t first = 0;
    if (f.size() < 6 || (set == kSets && !retailer) || !ParseGender(f[2], male) || list < 0 || !ParseUnsigned(f[4], first)) {
        out.Error(source.At(line), "expected \"items <default|unlockable|extra set> <Male|Female> <list> <first id> <item>...\"");
        return;
    }
    ItemList& target = retailer ? retailer->lists[male ? 0 : 1][list] : tables.lists[set][male ? 0 : 1][list];
    if (!target.items.empty()) {
        out.Error(source.At(line), "the list \"" + f[3] + "\" is given twice");
        return;
    }
    target.firstId = first;
    target.items.assign(f.begin() + 5, f.end());
    target.at = source.At(line);
}

void ReadLook(const SourceFile& source, const SourceLine& line, Output& out, Characters& tables) {
    const auto& f = line.fields;
    Look look;
    bool ok = f.size() == 3 + kPartLists;
    for (int k = 0; ok && k < kPartLists; ++k) {
        uint32_t pick = 0;
        ok = ParseUnsigned(f[size_t(3 + k)], pick) && (pick >= 1 || k == kEyewearList);
        look.pick[size_t(k)] = int(pick);
    }
    if (!ok) {
        out.Error(source.At(line), "expected \"" + f[0] + " <file> <assembly> <8 places, 1 first, eyewear 0 none>\"");
        return;
    }
    look.file = f[1];
    look.assembly = f[2];
    look.isDefault = f[0] == "default";
    look.at = source.At(line);
    tables.looks.push_back(look);
}

}  // namespace

const Assembly* Characters::FindAssembly(const std::string& name) const {
    for (const Assembly& assembly : assemblies)
        if (assembly.name == name)
            return &assembly;
    return nullptr;
}

Characters ReadCharacters(Output& out) {
    Characters tables;
    const SourceFile source(out.DataRoot(), kCharactersSource);
    if (!source.Ok())
        out.Error({kCharactersSource, 0}, "cannot read the character tables");
    for (const SourceLine& line : source.Lines()) {
        const std::string& kind = line.fields[0];
        if (kind == "assembly") {
            ReadAssembly(source, line, out, tables);
        } else if (kind == "items") {
            ReadItems(source, line, out, tables);
        } else if (kind == "default" || kind == "look") {
            ReadLook(source, line, out, tables);
        } else if (kind == "retailer") {
            RetailerSet set;
            if (line.fields.size() != 4 || !ParseUnsigned(line.fields[2], set.ids[0]) ||
                !ParseUnsigned(line.fields[3], set.ids[1])) {
                out.Error(source.At(line), "expected \"retailer <set name> <male id> <female id>\"");
                continue;
            }
            set.name = line.fields[1];
            set.at = source.At(line);
            tables.retailers.push_back(set);
        } else {
            out.Error(source.At(line), "unknown record \"" + kind + "\"");
        }
    }
    return tables;
}

const char* PrefixOf(bool male) {
    return male ? "ChM" : "ChF";
}

std::string ItemModel(bool male, const std::string& item, const std::string& tone) {
    std::string name = item;
    const size_t at = name.find("{t}");
    if (at != std::string::npos)
        name.replace(at, 3, tone);
    return std::string(PrefixOf(male)) + "_" + name + ".mdl";
}

std::string FigureKey(const std::string& item) {
    return item.ends_with("_{t}") ? item.substr(0, item.size() - 4) : item;
}

bool IsSkinToned(const std::string& figureKey) {
    return figureKey.ends_with("_skin01");
}

std::string ThumbnailOf(const std::string& model) {
    std::string base = model.substr(0, model.rfind('.'));
    for (const char* tone : {"_skin01_blk", "_skin01_brw", "_skin01_dpnk", "_skin01_pnk", "_skin01_wht", "_skin01_yel"})
        if (base.ends_with(tone)) {
            base.erase(base.rfind('_'));
            break;
        }
    return "THUMBNAIL_" + base + ".png";
}

std::string AnimationFile(bool male, const std::string& animation) {
    // The animation bridge hashes the name as written; package names are lower case.
    std::string name = std::string(PrefixOf(male)) + "_" + animation + ".ska";
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

const Skeleton* Art::FindSkeleton(const std::string& name) const {
    for (const Skeleton& skeleton : skeletons)
        if (skeleton.name == name)
            return &skeleton;
    return nullptr;
}

const Animation* Art::FindAnimation(const std::string& name) const {
    for (const Animation& animation : animations)
        if (animation.name == name)
            return &animation;
    return nullptr;
}

uint32_t Art::ToneColour(const std::string& tone) const {
    for (const auto& [name, colour] : tones)
        if (name == tone)
            return colour;
    return tones.empty() ? 0xFFE0B090u : tones.front().second;
}

std::vector<std::array<float, 3>> Art::RestPositions() const {
    std::vector<std::array<float, 3>> rest(bones.size());
    for (size_t k = 0; k < bones.size(); ++k) {
        rest[k] = bones[k].offset;
        if (bones[k].parent >= 0)
            for (int c = 0; c < 3; ++c)
                rest[k][size_t(c)] += rest[size_t(bones[k].parent)][size_t(c)];
    }
    return rest;
}

Art ReadArt(Output& out) {
    Art art;
    const SourceFile source(out.DataRoot(), kArtSource);
    if (!source.Ok())
        out.Error({kArtSource, 0}, "cannot read the character art");
    for (const SourceLine& line : source.Lines()) {
        const auto& f = line.fields;
        const std::string& kind = f[0];
        bool ok = true;
        if (kind == "bone") {
            Bone bone;
            bone.name = f.size() > 1 ? f[1] : "";
            bone.parent = f.size() > 2 ? BoneIndex(art.bones, f[2]) : -1;
            ok = f.size() == 6 && (bone.parent >= 0 || (f[2] == "-" && art.bones.empty())) &&
                 ParseFloat(f[3], bone.offset[0]) && ParseFloat(f[4], bone.offset[1]) && ParseFloat(f[5], bone.offset[2]);
            if (ok)
                art.bones.push_back(bone);
        } else if (kind == "skeleton") {
            Skeleton skeleton;
            ok = f.size() == 4 && ParseGender(f[2], skeleton.male) && ParseFloat(f[3], skeleton.scale);
            skeleton.name = ok ? f[1] : "";
            if (ok)
                art.skeletons.push_back(skeleton);
        } else if (kind == "tone") {
            uint32_t colour = 0;
            ok = f.size() == 3 && ParseArgb(f[2], colour);
            if (ok)
                art.tones.emplace_back(f[1], colour);
        } else if (kind == "shape") {
            std::vector<Box> boxes(f.size() > 2 ? f.size() - 2 : 0);
            for (size_t k = 0; ok && k < boxes.size(); ++k)
                ok = ParseBox(f[k + 2], art.bones, boxes[k]);
            ok = ok && f.size() >= 2;
            if (ok)
                art.shapes[f[1]] = boxes;
        } else if (kind == "wear") {
            Figure figure;
            bool male = true;
            const bool any = f.size() > 1 && f[1] == "any";
            ok = (f.size() == 5 || f.size() == 6) && (any || ParseGender(f[1], male)) && art.shapes.count(f[3]) &&
                 ParseArgb(f[4], figure.a) && (f.size() == 5 || ParseArgb(f[5], figure.b));
            if (ok) {
                figure.shape = f[3];
                figure.at = source.At(line);
                if (any || male)
                    art.figures[0][f[2]] = figure;
                if (any || !male)
                    art.figures[1][f[2]] = figure;
            }
        } else if (kind == "anim") {
            Animation animation;
            uint32_t frames = 0;
            ok = f.size() >= 3 && ParseUnsigned(f[2], frames) && frames >= 2 && frames < 30000;
            animation.channels.resize(f.size() > 3 ? f.size() - 3 : 0);
            for (size_t k = 0; ok && k < animation.channels.size(); ++k)
                ok = ParseChannel(f[k + 3], art.bones, animation.channels[k]);
            if (ok) {
                animation.name = f[1];
                animation.frames = int(frames);
                animation.at = source.At(line);
                art.animations.push_back(animation);
            }
        } else if (kind == "picture") {
            Picture picture;
            uint32_t w = 0, h = 0;
            ok = f.size() == 6 && ParseUnsigned(f[2], w) && ParseUnsigned(f[3], h) && w > 0 && h > 0 && w <= 1024 &&
                 h <= 1024 && ParseArgb(f[4], picture.top) && ParseArgb(f[5], picture.bottom);
            picture.width = int(w);
            picture.height = int(h);
            if (ok)
                art.pictures[f[1]] = picture;
        } else {
            out.Error(source.At(line), "unknown record \"" + kind + "\"");
            continue;
        }
        if (!ok)
            out.Error(source.At(line), "malformed \"" + kind + "\" record");
    }
    return art;
}

}  // namespace content::characters
