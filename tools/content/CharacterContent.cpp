// The character XML: assemblies with their wardrobes and anatomies, the looks, the character
// behaviours and the awards.
#include <algorithm>
#include <set>

#include "tools/content/CharacterTables.h"
#include "tools/content/Generators.h"

namespace content {

namespace {

using namespace characters;

constexpr const char* kCharacterPackage = "CharactereXML.dir";
constexpr const char* kLookPackage = "gameshowavatarxmls.dir";
constexpr const char* kAwardsPackage = "GlobalXml.dir";
constexpr const char* kBehaviorSource = "content/behaviors.txt";
constexpr const char* kAwardSource = "content/awards.txt";

std::string Element(const std::string& name, const std::string& value) {
    return "<" + name + ">" + XmlText(value) + "</" + name + ">";
}

// One list of a wardrobe or anatomy file, the items in the given tone.
std::string PartList(const std::string& element, const ItemList& list, bool male, const std::string& tone) {
    if (list.items.empty())
        return "    <" + element + "/>\n";
    std::string text = "    <" + element + ">\n";
    for (size_t k = 0; k < list.items.size(); ++k)
        text += "      <item>" + Element("Id", std::to_string(list.firstId + k)) +
                Element("Name", ItemModel(male, list.items[k], tone)) + "</item>\n";
    return text + "    </" + element + ">\n";
}

std::string WardrobeXml(const ItemList (&lists)[kPartLists], bool male, const std::string& tone) {
    // The reader's element order: Eyewear first.
    std::string text = "<root>\n  <WardRobe>\n";
    for (int k : {7, 4, 5, 6})
        text += PartList(kListNames[size_t(k)], lists[k], male, tone);
    return text + "  </WardRobe>\n</root>\n";
}

std::string AnatomyXml(const ItemList (&lists)[kPartLists], bool male, const std::string& tone) {
    std::string text = "<root>\n  <AnatomyPart>\n";
    for (int k = 0; k < kFirstOutfitList; ++k)
        text += PartList(kListNames[size_t(k)], lists[k], male, tone);
    return text + "  </AnatomyPart>\n</root>\n";
}

std::string AssemblyRecord(const std::string& name, uint32_t id, const std::string& anatomy,
                           const std::string& wardrobe, bool male) {
    return "    <item>" + Element("Name", name) + Element("Id", std::to_string(id)) +
           (anatomy.empty() ? "" : Element("Anatomy", anatomy)) + Element("Wardrobe", wardrobe) +
           Element("Gender", male ? "Male" : "Female") + "</item>\n";
}

std::string AssembliesXml(const std::string& records) {
    return "<root>\n  <CharacterAssemblies>\n" + records + "  </CharacterAssemblies>\n</root>\n";
}

void WriteAssemblies(const Characters& tables, Output& out) {
    std::string defaults, unlockables, retailers;
    for (const Assembly& assembly : tables.assemblies) {
        const auto& lists = tables.lists[kDefault][assembly.male ? 0 : 1];
        const std::string wardrobe = "Wardrobe_" + assembly.name + ".xml";
        const std::string anatomy = "Anatomy_" + assembly.name + ".xml";
        defaults += AssemblyRecord(assembly.name, assembly.id, anatomy, wardrobe, assembly.male);
        out.Add(kCharacterPackage, wardrobe, WardrobeXml(lists, assembly.male, assembly.tone), assembly.at);
        out.Add(kCharacterPackage, anatomy, AnatomyXml(lists, assembly.male, assembly.tone), assembly.at);
    }
    // One assembly of award items per default look, keyed by the look, in the look's tone.
    for (const Look& look : tables.looks) {
        const Assembly* assembly = tables.FindAssembly(look.assembly);
        if (!look.isDefault || !assembly)
            continue;
        const auto& lists = tables.lists[kUnlockable][assembly->male ? 0 : 1];
        const std::string wardrobe = "Wardrobe_Unlockable_" + look.file + ".xml";
        const std::string anatomy = "Anatomy_Unlockable_" + look.file + ".xml";
        unlockables += AssemblyRecord(look.file, 200 + assembly->id, anatomy, wardrobe, assembly->male);
        out.Add(kCharacterPackage, wardrobe, WardrobeXml(lists, assembly->male, assembly->tone), look.at);
        out.Add(kCharacterPackage, anatomy, AnatomyXml(lists, assembly->male, assembly->tone), look.at);
    }
    // The extra sets: a male and a female wardrobe under one name; "_skin01" items stay untoned.
    for (const RetailerSet& set : tables.retailers)
        for (bool male : {true, false}) {
            const std::string wardrobe = "Wardrobe_" + set.name + "_" + (male ? "Male" : "Female") + ".xml";
            retailers += AssemblyRecord(set.name, set.ids[male ? 0 : 1], "", wardrobe, male);
            out.Add(kCharacterPackage, wardrobe, WardrobeXml(set.lists[male ? 0 : 1], male, ""), set.at);
        }
    const SourceRef from{"content/characters.txt", 0};
    out.Add(kCharacterPackage, "CharacterAssemblies.xml", AssembliesXml(defaults), from);
    out.Add(kCharacterPackage, "UnlockableCharacterAssemblies.xml", AssembliesXml(unlockables), from);
    out.Add(kCharacterPackage, "RetailerCharacterAssemblies.xml", AssembliesXml(retailers), from);
}

void WriteLooks(const Characters& tables, Output& out) {
    std::set<std::string> defaults;
    for (const Look& look : tables.looks) {
        const Assembly* assembly = tables.FindAssembly(look.assembly);
        if (!assembly) {
            out.Error(look.at, "look \"" + look.file + "\" names no assembly \"" + look.assembly + "\"");
            continue;
        }
        const std::string file = look.file + ".xml";
        std::string text = "<root>\n  <Avatar_KorvoCity>\n    " + Element("Name", file) + "\n    " +
                           Element("CharacterAssembly_Name", assembly->name) + "\n    " +
                           Element("CharacterAssembly_Id", std::to_string(assembly->id)) + "\n";
        bool ok = true;
        for (int k = 0; k < kPartLists; ++k) {
            const ItemList& list = tables.lists[kDefault][assembly->male ? 0 : 1][k];
            const size_t pick = size_t(look.pick[size_t(k)]);
            if (pick > list.items.size()) {
                out.Error(look.at, std::string(kLookFields[size_t(k)]) + " " + std::to_string(pick) +
                                       " is not in the wardrobe of \"" + assembly->name + "\"");
                ok = false;
                continue;
            }
            const std::string field = kLookFields[size_t(k)];
            const std::string name = pick == 0 ? std::string(PrefixOf(assembly->male)) + "_" + kNoEyewear
                                               : ItemModel(assembly->male, list.items[pick - 1], assembly->tone);
            text += "    " + Element(field + "_Name", name) +
                    Element(field + "_Id", std::to_string(pick == 0 ? 0 : list.firstId + pick - 1)) +
                    Element(field + "_Customizable", k >= 3 ? "true" : "false") + "\n";
        }
        text += "  </Avatar_KorvoCity>\n</root>\n";
        if (ok)
            out.Add(look.isDefault ? kLookPackage : kCharacterPackage, file, text, look.at);
    }
}

// ---- Behaviours ----

struct BehaviorAction {
    std::string name, animation, playMode;
};

struct BehaviorFile {
    std::string file, package, behavior;
    std::vector<std::pair<std::string, const Skeleton*>> templates;
    std::vector<std::pair<std::string, std::string>> params;
    std::vector<BehaviorAction> actions;
    std::string blend = "0.3";
    SourceRef at;
};

bool ValidPlayMode(const std::string& mode) {
    for (const char* known : {"loop", "once", "rewind", "rewindloop", "pause"})
        if (mode == known)
            return true;
    return false;
}

// The 64 pose actions, each with its animation from the list.
void AddPoses(BehaviorFile& file, const std::vector<std::string>& animations, const std::string& mode) {
    static const char* const kDecades[] = {"70", "80", "90", "00"};
    static const char* const kLevels[] = {"Easy", "Med", "Hard", "Family"};
    static const char* const kSlots[] = {"M1", "F1", "M2", "F2"};
    for (size_t d = 0; d < 4; ++d)
        for (size_t l = 0; l < 4; ++l)
            for (size_t s = 0; s < 4; ++s)
                file.actions.push_back({std::string("Pose") + kDecades[d] + kLevels[l] + kSlots[s],
                                        animations[(4 * l + s + 3 * d) % animations.size()], mode});
}

std::vector<BehaviorFile> ReadBehaviors(const Art& art, Output& out) {
    std::vector<BehaviorFile> files;
    const SourceFile source(out.DataRoot(), kBehaviorSource);
    if (!source.Ok())
        out.Error({kBehaviorSource, 0}, "cannot read the behaviours");
    auto find = [&](const std::string& behavior) -> BehaviorFile* {
        for (BehaviorFile& file : files)
            if (file.behavior == behavior)
                return &file;
        return nullptr;
    };
    for (const SourceLine& line : source.Lines()) {
        const auto& f = line.fields;
        const SourceRef at = source.At(line);
        if (f[0] == "behavior") {
            if (f.size() < 5) {
                out.Error(at, "expected \"behavior <file> <package> <behaviour> <template>:<skeleton>...\"");
                continue;
            }
            BehaviorFile file{f[1], f[2], f[3], {}, {}, {}, "0.3", at};
            for (size_t k = 4; k < f.size(); ++k) {
                const std::vector<std::string> parts = SplitFields(f[k], ':');
                const Skeleton* skeleton = parts.size() == 2 ? art.FindSkeleton(parts[1]) : nullptr;
                if (!skeleton)
                    out.Error(at, "template \"" + f[k] + "\" names no skeleton of the character art");
                else
                    file.templates.emplace_back(parts[0], skeleton);
            }
            files.push_back(file);
            continue;
        }
        BehaviorFile* file = f.size() > 1 ? find(f[1]) : nullptr;
        if (!file) {
            out.Error(at, "\"" + f[0] + "\" names no behaviour given before it");
        } else if (f[0] == "param" && f.size() == 4) {
            file->params.emplace_back(f[2], f[3]);
        } else if (f[0] == "action" && f.size() == 5 && art.FindAnimation(f[3]) && ValidPlayMode(f[4])) {
            file->actions.push_back({f[2], f[3], f[4]});
        } else if (f[0] == "poses" && f.size() > 3 && ValidPlayMode(f[2])) {
            const std::vector<std::string> animations(f.begin() + 3, f.end());
            bool known = true;
            for (const std::string& animation : animations)
                known = known && art.FindAnimation(animation);
            if (known)
                AddPoses(*file, animations, f[2]);
            else
                out.Error(at, "a pose animation is not in the character art");
        } else if (f[0] == "blend" && f.size() == 3) {
            file->blend = f[2];
        } else {
            out.Error(at, "malformed \"" + f[0] + "\" record (unknown animation or play mode?)");
        }
    }
    return files;
}

std::string BehaviorXml(const BehaviorFile& file, const Art& art) {
    std::string text = "<root>\n  <RootBehavior>\n    <Behaviors>\n      <item>\n        " +
                       Element("Name", file.behavior) + "\n        <Entities>\n";
    for (const auto& [name, skeleton] : file.templates) {
        text += "          <item>\n            " + Element("Name", name) + "\n            <Parameters>";
        for (const auto& [param, value] : file.params)
            text += "<item>" + Element("Name", param) + Element("Value", value) + "</item>";
        text += "</Parameters>\n            <Actions>\n";
        for (const BehaviorAction& action : file.actions) {
            const Animation* animation = art.FindAnimation(action.animation);
            text += "              <item>" + Element("Name", action.name) + Element("ActionType", "SkinAnimation") +
                    Element("LoopAnimation", AnimationFile(skeleton->male, action.animation)) + "<Skin name=\"" +
                    XmlText(skeleton->name) + "\"><Model id=\"all\"/></Skin><Keys><item>" + Element("Name", "endKey") +
                    Element("Frame", std::to_string(animation->frames - 1)) + "</item></Keys>" +
                    Element("PlayMode", action.playMode) + Element("Speed", "1.0") + "<Transitions>" +
                    Element("Time", file.blend) + Element("Actions", "AllActions") + "</Transitions></item>\n";
        }
        text += "            </Actions>\n            <Transitions><item>" + Element("Name", "AllActions") +
                Element("Time", file.blend) + "</item></Transitions>\n          </item>\n";
    }
    return text + "        </Entities>\n      </item>\n    </Behaviors>\n  </RootBehavior>\n</root>\n";
}

// ---- Awards ----

struct AwardRecord {
    std::string title, description;
    std::string items[2];  // male, female
    SourceRef at;
};

struct AwardGroup {
    std::string category, title, description;
    std::vector<AwardRecord> awards;
};

// The list of the gender's award items that holds the item, or -1.
int UnlockableList(const Characters& tables, bool male, const std::string& item) {
    for (int k = 0; k < kPartLists; ++k) {
        const auto& items = tables.lists[kUnlockable][male ? 0 : 1][k].items;
        if (kAwardTypes[size_t(k)][0] && std::find(items.begin(), items.end(), item) != items.end())
            return k;
    }
    return -1;
}

std::vector<AwardGroup> ReadAwards(const Characters& tables, Output& out) {
    std::vector<AwardGroup> groups;
    const SourceFile source(out.DataRoot(), kAwardSource);
    if (!source.Ok())
        out.Error({kAwardSource, 0}, "cannot read the awards");
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        const std::string kind = line.fields[0];
        std::vector<std::string> parts = SplitFields(line.text.substr(kind.size()), '|');
        AwardGroup* group = nullptr;
        for (AwardGroup& candidate : groups)
            if (!parts.empty() && candidate.category == parts[0])
                group = &candidate;
        if (kind == "group" && parts.size() == 3 && !group) {
            groups.push_back({parts[0], parts[1], parts[2], {}});
        } else if (kind == "award" && parts.size() == 4 && group) {
            const std::vector<std::string> items = SplitFields(parts[3], ' ');
            if (items.size() != 2 || UnlockableList(tables, true, items[0]) < 0 ||
                UnlockableList(tables, false, items[1]) < 0) {
                out.Error(at, "award \"" + parts[1] + "\" needs a male and a female unlockable item");
                continue;
            }
            group->awards.push_back({parts[1], parts[2], {items[0], items[1]}, at});
        } else {
            out.Error(at, "expected \"group <category> | <title> | <description>\" or \"award <category of a group> | "
                          "<title> | <description> | <male item> <female item>\"");
        }
    }
    return groups;
}

std::string AwardsXml(const std::vector<AwardGroup>& groups, const Characters& tables) {
    std::string text = "<root>\n  <MetaAwards>\n";
    for (const AwardGroup& group : groups) {
        text += "    <MetaAward>\n      " + Element("Category", group.category) + Element("Title", group.title) +
                Element("Description", group.description) + "<Unlockables/>\n      <Awards>\n";
        for (const AwardRecord& award : group.awards) {
            text += "        <Award>" + Element("Title", award.title) + Element("Description", award.description) +
                    "\n          <Unlockables>\n";
            for (const Look& look : tables.looks) {
                const Assembly* assembly = tables.FindAssembly(look.assembly);
                if (!look.isDefault || !assembly)
                    continue;
                const std::string& item = award.items[assembly->male ? 0 : 1];
                const int list = UnlockableList(tables, assembly->male, item);
                text += "            <Unlockable AppearanceName=\"" + XmlText(look.file) + "\" UnlockableModel=\"" +
                        XmlText(ItemModel(assembly->male, item, assembly->tone)) + "\" Type=\"" +
                        kAwardTypes[size_t(list)] + "\"/>\n";
            }
            text += "          </Unlockables></Award>\n";
        }
        text += "      </Awards>\n    </MetaAward>\n";
    }
    return text + "  </MetaAwards>\n</root>\n";
}

}  // namespace

void GenerateCharacterXml(Output& out) {
    const Characters tables = ReadCharacters(out);
    const Art art = ReadArt(out);
    for (const Assembly& assembly : tables.assemblies) {
        bool known = false;
        for (const auto& tone : art.tones)
            known = known || tone.first == assembly.tone;
        if (!known)
            out.Error(assembly.at, "assembly \"" + assembly.name + "\" has a tone without a colour in the art");
    }
    WriteAssemblies(tables, out);
    WriteLooks(tables, out);
    for (const BehaviorFile& file : ReadBehaviors(art, out))
        out.Add(file.package, file.file, BehaviorXml(file, art), file.at);
    out.Add(kAwardsPackage, "Awards.xml", AwardsXml(ReadAwards(tables, out), tables), {kAwardSource, 0});
}

}  // namespace content
