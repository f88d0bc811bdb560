#include "tools/content/StageSources.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace content::stage {

namespace {

bool ParseFloat(const std::string& text, float& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// Reads fields[first..first+2] as a point.
bool ParseVec3(const std::vector<std::string>& fields, size_t first, Vec3& v) {
    return fields.size() >= first + 3 && ParseFloat(fields[first], v.x) && ParseFloat(fields[first + 1], v.y) &&
           ParseFloat(fields[first + 2], v.z);
}

bool ParseHex(const std::string& text, uint32_t& rgb) {
    if (text.size() != 6)
        return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, rgb, 16);
    return ec == std::errc() && ptr == end;
}

bool IsDecade(const std::string& text) {
    return std::find(kDecades.begin(), kDecades.end(), text) != kDecades.end();
}

// Reports a bad line and tells the caller to skip it.
bool Bad(Output& out, const SourceFile& file, const SourceLine& line, const std::string& why) {
    out.Error(file.At(line), why + ": \"" + line.text + "\"");
    return false;
}

bool ReadCharacter(const std::vector<std::string>& f, size_t first, Character& c) {
    return ParseVec3(f, first, c.position) && f.size() == first + 4 && ParseFloat(f[first + 3], c.rotationY);
}

void ReadLevels(Output& out, Sources& s) {
    const SourceFile file(out.DataRoot(), "content/levels.txt");
    if (!file.Ok())
        out.Error({file.Path(), 0}, "cannot read the level list");
    for (const SourceLine& line : file.Lines()) {
        const auto& f = line.fields;
        const std::string& word = f[0];
        if (word == "level" && f.size() == 5) {
            LevelRow row{f[1], f[2], f[3] == "-" ? "" : f[3], f[4], "", file.At(line)};
            if (row.recipe.rfind("match", 0) == 0) {
                row.decade = row.recipe.substr(5);
                row.recipe = "match";
                if (!IsDecade(row.decade)) {
                    Bad(out, file, line, "a match level needs a decade (match70 .. match00)");
                    continue;
                }
            } else if (row.recipe != "startup" && row.recipe != "menu" && row.recipe != "plain" &&
                       row.recipe != "tutorial") {
                Bad(out, file, line, "unknown level recipe \"" + row.recipe + "\"");
                continue;
            }
            s.levels.push_back(row);
        } else if (word == "cursor" && f.size() == 3) {
            s.cursors.emplace_back(f[1], f[2]);
        } else if (word == "avatar" && f.size() == 8) {
            Character c{f[1], f[2], f[3], "", "", {}, 0, file.At(line)};
            if (!ReadCharacter(f, 4, c) && !Bad(out, file, line, "bad position"))
                continue;
            s.avatars.push_back(c);
        } else if (word == "host" && f.size() == 9) {
            Character c{f[1], "", f[2], f[3], f[4], {}, 0, file.At(line)};
            if (!ReadCharacter(f, 5, c) && !Bad(out, file, line, "bad position"))
                continue;
            s.hosts.push_back(c);
        } else if (word == "contestant" && f.size() == 7) {
            Character first{"", "QZCharacter", "", "", "", {}, 0, file.At(line)};
            float step = 0;
            const std::vector<std::string> names = ExpandRange(f[1]);
            if (names.empty() || !ParseVec3(f, 2, first.position) || !ParseFloat(f[5], step) ||
                !ParseFloat(f[6], first.rotationY)) {
                Bad(out, file, line, "bad contestant row");
                continue;
            }
            for (size_t i = 0; i < names.size(); ++i) {
                Character c = first;
                c.name = names[i];
                c.position.x += step * float(i);
                s.contestants.push_back(c);
            }
        } else if (word == "face" && f.size() == 4) {
            s.faces.push_back({f[1], f[2], f[3]});
        } else if (word == "app" && f.size() == 3) {
            s.appData.emplace_back(f[1], f[2]);
        } else if (word == "family" && f.size() == 13) {
            Family family{f[1], f[2], {}, {f[8], f[9], f[10], f[11], f[12]}};
            bool ok = IsDecade(family.decade) &&
                      (family.difficulty == "Easy" || family.difficulty == "Medium" || family.difficulty == "Hard");
            for (int i = 0; i < 5 && ok; ++i)
                ok = ParseInt(f[3 + i], family.tuning[i]) && family.tuning[i] >= 0 && family.tuning[i] <= 9;
            if (!ok) {
                Bad(out, file, line, "a family needs a decade, Easy/Medium/Hard and five numbers 0 to 9");
                continue;
            }
            s.families.push_back(family);
        } else {
            Bad(out, file, line, "unknown or incomplete record");
        }
    }
}

void ReadProps(Output& out, Sources& s) {
    const SourceFile file(out.DataRoot(), "content/stage.txt");
    if (!file.Ok())
        out.Error({file.Path(), 0}, "cannot read the stage props");
    for (const SourceLine& line : file.Lines()) {
        const auto& f = line.fields;
        Prop prop;
        prop.at = file.At(line);
        if (f.size() < 7 || !ParseVec3(f, 4, prop.position)) {
            Bad(out, file, line, "a prop needs decades, name, kind, model and a position");
            continue;
        }
        prop.kind = f[2] == "-" ? "" : f[2];
        Vec3 step;
        bool ok = true;
        for (size_t i = 7; i < f.size() && ok; ++i) {
            const std::string& option = f[i];
            if (option == "hidden")
                prop.hidden = true;
            else if (option == "behavior")
                prop.behavior = true;
            else if (option.rfind("ry=", 0) == 0)
                ok = ParseFloat(option.substr(3), prop.rotationY);
            else if (option.rfind("step=", 0) == 0) {
                const std::vector<std::string> parts = SplitFields(option.substr(5), ',');
                ok = ParseVec3(parts, 0, step) && parts.size() == 3;
            } else
                ok = false;
        }
        if (!ok) {
            Bad(out, file, line, "bad option");
            continue;
        }
        if (prop.behavior && prop.kind != "StageProps") {
            Bad(out, file, line, "only a \"StageProps\" prop takes a behaviour template");
            continue;
        }
        const std::vector<std::string> names = ExpandRange(f[1]);
        std::vector<std::string> decades;
        if (f[0] == "all")
            decades.assign(kDecades.begin(), kDecades.end());
        else if (f[0] == "menu")
            decades = {"menu"};
        else
            decades = SplitFields(f[0], ',');
        const bool decadesOk = std::all_of(decades.begin(), decades.end(),
                                           [](const std::string& d) { return d == "menu" || IsDecade(d); });
        if (names.empty() || !decadesOk) {
            Bad(out, file, line, names.empty() ? "bad name range" : "unknown decade");
            continue;
        }
        for (const std::string& decade : decades) {
            for (size_t i = 0; i < names.size(); ++i) {
                Prop placed = prop;
                placed.name = names[i];
                placed.model = ForDecade(f[3], decade);
                placed.position.x += step.x * float(i);
                placed.position.y += step.y * float(i);
                placed.position.z += step.z * float(i);
                s.props[decade].push_back(placed);
            }
        }
    }
}

void ReadCameras(Output& out, Sources& s) {
    const SourceFile file(out.DataRoot(), "content/cameras.txt");
    if (!file.Ok())
        out.Error({file.Path(), 0}, "cannot read the cameras");
    for (const SourceLine& line : file.Lines()) {
        const auto& f = line.fields;
        if (f[0] == "show" && (f.size() == 17 || (f.size() == 18 && f[17] == "active"))) {
            ShowCamera c;
            c.name = f[1];
            c.active = f.size() == 18;
            c.at = file.At(line);
            if (!ParseInt(f[2], c.frames) || c.frames < 2 || c.frames > 600 || !ParseVec3(f, 3, c.eye[0]) ||
                !ParseVec3(f, 6, c.target[0]) || !ParseFloat(f[9], c.fov[0]) || !ParseVec3(f, 10, c.eye[1]) ||
                !ParseVec3(f, 13, c.target[1]) || !ParseFloat(f[16], c.fov[1]) || c.fov[0] <= 0 || c.fov[1] <= 0) {
                Bad(out, file, line, "bad camera numbers");
                continue;
            }
            s.shows.push_back(c);
        } else if (f[0] == "view" && (f.size() == 9 || (f.size() == 10 && f[9] == "ortho"))) {
            View v{f[1], {}, {}, 0, f.size() == 10};
            if (!ParseVec3(f, 2, v.eye) || !ParseVec3(f, 5, v.target) || !ParseFloat(f[8], v.fov) || v.fov <= 0) {
                Bad(out, file, line, "bad view numbers");
                continue;
            }
            s.views.push_back(v);
        } else if (f[0] == "light" && f.size() == 11) {
            LightRow l{f[1], f[2], {}, {}, 0, 0, file.At(line)};
            if ((l.type != "spot" && l.type != "position" && l.type != "direction") || !ParseVec3(f, 3, l.position) ||
                !ParseVec3(f, 6, l.target) || !ParseHex(f[9], l.rgb) || !ParseFloat(f[10], l.intensity)) {
                Bad(out, file, line, "bad light");
                continue;
            }
            s.lights.push_back(l);
        } else {
            Bad(out, file, line, "unknown or incomplete record");
        }
    }
}

void ReadArt(Output& out, Sources& s) {
    const SourceFile file(out.DataRoot(), "content/art/stage.txt");
    if (!file.Ok())
        out.Error({file.Path(), 0}, "cannot read the stage art");
    for (const SourceLine& line : file.Lines()) {
        const auto& f = line.fields;
        if (f[0] == "palette" && f.size() >= 3) {
            bool ok = true;
            for (size_t i = 2; i < f.size() && ok; ++i) {
                const size_t eq = f[i].find('=');
                uint32_t rgb = 0;
                ok = eq != std::string::npos && ParseHex(f[i].substr(eq + 1), rgb);
                if (ok)
                    s.palettes[f[1]][f[i].substr(0, eq)] = 0xFF000000u | rgb;
            }
            if (!ok)
                Bad(out, file, line, "a palette colour is <role>=<rrggbb>");
        } else if (f[0] == "material" && f.size() >= 4) {
            MaterialRow m{f[1], f[2], {f.begin() + 3, f.end()}, file.At(line)};
            const size_t wanted = m.recipe == "solid" ? 1 : m.recipe == "cycle" ? m.colours.size() : 2;
            if ((m.recipe != "solid" && m.recipe != "cycle" && m.recipe != "screen" && m.recipe != "digits" &&
                 m.recipe != "blink") ||
                m.colours.size() != wanted || (m.recipe == "cycle" && m.colours.size() < 2)) {
                Bad(out, file, line, "unknown material recipe or wrong colour count");
                continue;
            }
            if (s.FindMaterial(m.name)) {
                Bad(out, file, line, "material \"" + m.name + "\" is defined twice");
                continue;
            }
            s.materials.push_back(m);
        } else if (f[0] == "model" && f.size() >= 6) {
            ModelRow m{f[1], {}, file.At(line)};
            bool ok = true;
            for (const std::string& part : SplitFields(line.text.substr(line.text.find(f[1]) + f[1].size()), '|')) {
                std::vector<std::string> words;
                for (const std::string& w : SplitFields(part, ' '))
                    if (!w.empty())
                        words.push_back(w);
                Box box;
                ok = ok && (words.size() == 4 || words.size() == 7) && ParseVec3(words, 1, box.size) &&
                     (words.size() == 4 || ParseVec3(words, 4, box.offset)) && box.size.x > 0 && box.size.y > 0 &&
                     box.size.z > 0;
                if (!ok)
                    break;
                box.material = words[0];
                m.boxes.push_back(box);
            }
            if (!ok || m.boxes.size() > 16) {
                Bad(out, file, line, "a box is <material> <size x y z> [<offset x y z>], at most 16");
                continue;
            }
            if (s.FindModel(m.name)) {
                Bad(out, file, line, "model \"" + m.name + "\" is defined twice");
                continue;
            }
            s.models.push_back(m);
        } else if (f[0] == "flip" && f.size() == 3) {
            FlipRow flip{f[1], 0, file.At(line)};
            if (!ParseInt(f[2], flip.frames) || flip.frames < 2 || flip.frames > 600) {
                Bad(out, file, line, "bad frame count");
                continue;
            }
            s.flips.push_back(flip);
        } else {
            Bad(out, file, line, "unknown or incomplete record");
        }
    }
}

}  // namespace

const View* Sources::FindView(const std::string& name) const {
    for (const View& v : views)
        if (v.name == name)
            return &v;
    return nullptr;
}

const MaterialRow* Sources::FindMaterial(const std::string& name) const {
    for (const MaterialRow& m : materials)
        if (m.name == name)
            return &m;
    return nullptr;
}

const ModelRow* Sources::FindModel(const std::string& name) const {
    for (const ModelRow& m : models)
        if (m.name == name)
            return &m;
    return nullptr;
}

std::string ForDecade(const std::string& name, const std::string& decade) {
    std::string out = name;
    for (size_t at = out.find('@'); at != std::string::npos; at = out.find('@', at + decade.size()))
        out.replace(at, 1, decade);
    return out;
}

std::vector<std::string> ExpandRange(const std::string& name) {
    const size_t open = name.find('{');
    if (open == std::string::npos)
        return name.find('}') == std::string::npos && !name.empty() ? std::vector<std::string>{name}
                                                                    : std::vector<std::string>{};
    const size_t dots = name.find("..", open);
    const size_t close = name.find('}', open);
    if (dots == std::string::npos || close == std::string::npos || dots > close)
        return {};
    const std::string from = name.substr(open + 1, dots - open - 1);
    int first = 0, last = 0;
    if (from.empty() || !ParseInt(from, first) || !ParseInt(name.substr(dots + 2, close - dots - 2), last) ||
        first < 0 || last < first || last - first > 99)
        return {};
    std::vector<std::string> out;
    for (int n = first; n <= last; ++n) {
        char number[16];
        std::snprintf(number, sizeof(number), "%0*d", int(from.size()), n);
        out.push_back(name.substr(0, open) + number + name.substr(close + 1));
    }
    return out;
}

bool ResolveColour(const Sources& sources, const std::string& colour, const std::string& decade, uint32_t& argb) {
    uint32_t rgb = 0;
    if (ParseHex(colour, rgb)) {
        argb = 0xFF000000u | rgb;
        return true;
    }
    const size_t dot = colour.find('.');
    if (dot == std::string::npos)
        return false;
    const std::string palette = ForDecade(colour.substr(0, dot), decade);
    const auto found = sources.palettes.find(palette);
    if (found == sources.palettes.end())
        return false;
    const auto role = found->second.find(colour.substr(dot + 1));
    if (role == found->second.end())
        return false;
    argb = role->second;
    return true;
}

const ModelRow* ModelOfFile(const Sources& sources, const std::string& file, std::string& decade) {
    const size_t dot = file.rfind(".mdl");
    if (dot == std::string::npos || dot + 4 != file.size())
        return nullptr;
    const std::string base = file.substr(0, dot);
    decade.clear();
    if (const ModelRow* plain = sources.FindModel(base))
        return plain;
    for (const char* d : kDecades)
        for (const ModelRow& m : sources.models)
            if (m.name.find('@') != std::string::npos && ForDecade(m.name, d) == base) {
                decade = d;
                return &m;
            }
    return nullptr;
}

const MaterialRow* AnimatedMaterial(const Sources& sources, const ModelRow& model) {
    for (const Box& box : model.boxes)
        if (const MaterialRow* m = sources.FindMaterial(box.material); m && m->recipe != "solid")
            return m;
    return nullptr;
}

Sources ReadSources(Output& out) {
    Sources s;
    ReadLevels(out, s);
    ReadProps(out, s);
    ReadCameras(out, s);
    ReadArt(out, s);
    // Cross-references: every prop's model has a recipe, every box's material too.
    for (const auto& [decade, props] : s.props)
        for (const Prop& prop : props) {
            std::string made;
            if (!ModelOfFile(s, prop.model, made))
                out.Error(prop.at, "prop \"" + prop.name + "\" uses \"" + prop.model + "\", which no model recipe makes");
        }
    for (const ModelRow& model : s.models)
        for (const Box& box : model.boxes)
            if (!s.FindMaterial(box.material))
                out.Error(model.at, "model \"" + model.name + "\" uses the unknown material \"" + box.material + "\"");
    return s;
}

}  // namespace content::stage
