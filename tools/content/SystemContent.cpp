// The framework's own files: the runtime parameters, the input actions, the popups with their
// layouts, and the string table.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "gameservices/bridge/systems/DeviceTrigger.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/content/Generators.h"
#include "tools/content/SystemText.h"

namespace content {

namespace {

constexpr const char* kSystem = "gsSystem.dir";
constexpr const char* kMenus = "MenuXmls.dir";
constexpr const char* kStrings = "gstrcsystem.dir";
constexpr const char* kStringsSource = "strings/english.txt";
constexpr size_t kMaxPopupsPerFile = 20;  // the popup pool's capacity

void RuntimeParameters(Output& out) {
    const SourceFile source(out.DataRoot(), "content/runtime.txt");
    if (!source.Ok())
        return out.Error({source.Path(), 0}, "cannot read the runtime parameters");
    std::string items;
    std::set<std::string> seen;
    for (const SourceLine& line : source.Lines()) {
        if (line.fields.size() != 3) {
            out.Error(source.At(line), "expected \"<Section> <Name> <Value>\"");
            continue;
        }
        const std::string& section = line.fields[0];
        const std::string& name = line.fields[1];
        // The game takes the first entry of a key: a second one would be dead text.
        if (!seen.insert(section + "/" + name).second) {
            out.Error(source.At(line), "\"" + section + "\" \"" + name + "\" is given twice");
            continue;
        }
        items += "    <item><Section>" + XmlText(section) + "</Section><Name>" + XmlText(name) + "</Name><Value>" +
                 XmlText(line.fields[2]) + "</Value></item>\n";
    }
    out.Add(kSystem, "RuntimeParameters.xml",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n  <RuntimeParameters>\n" + items +
                "  </RuntimeParameters>\n</root>\n",
            {source.Path(), 0});
}

// A key name the engine's key table knows (an unknown name would silently bind the default
// key, the left mouse button).
bool IsKeyName(const std::string& name) {
    GameServices::Bridge::KeyNameTable table;
    table.Build();
    const size_t before = table.Count();
    table.CodeOf(name.c_str());
    return table.Count() == before;
}

struct ActionRow {
    std::string name;
    std::string triggers;
};

struct Context {
    std::string name;
    std::vector<ActionRow> actions;
};

// One trigger line into its XML item, or an error.
bool TriggerItem(Output& out, const SourceRef& at, const std::vector<std::string>& f, std::string& item) {
    const bool debug = f.size() == 5 && f[4] == "debug";
    if (f.size() != 4 && !debug) {
        out.Error(at, "expected \"<ActionRow> key <state> <keys> [debug]\" or \"<ActionRow> move - <axis>\"");
        return false;
    }
    const std::string& type = f[1];
    const std::string& state = f[2];
    const std::string& filter = f[3];
    if (type == "key") {
        if (state != "press" && state != "release" && state != "none") {
            out.Error(at, "state \"" + state + "\" is not press, release or none");
            return false;
        }
        for (const std::string& key : SplitFields(filter, ','))
            if (!IsKeyName(key)) {
                out.Error(at, "key name \"" + key + "\" is not in the key table");
                return false;
            }
    } else if (type == "move") {
        if (state != "-" || GameServices::Bridge::ParseAxis(filter.c_str()) == GameServices::Bridge::kAxisNone) {
            out.Error(at, "a move trigger is \"move - <axis>\"; \"" + filter + "\" is no axis");
            return false;
        }
    } else {
        out.Error(at, "trigger type \"" + type + "\" is not key or move");
        return false;
    }
    item = "<item" + std::string(debug ? " debugOnly=\"true\"" : "") + "><Type>" + type + "</Type>" +
           (type == "key" ? "<State>" + state + "</State>" : "") + "<Filter>" + XmlText(filter) + "</Filter></item>";
    return true;
}

void Actions(Output& out) {
    const SourceFile source(out.DataRoot(), "content/actions.txt");
    if (!source.Ok())
        return out.Error({source.Path(), 0}, "cannot read the input actions");
    std::vector<Context> contexts;
    for (const SourceLine& line : source.Lines()) {
        const std::vector<std::string>& f = line.fields;
        if (f[0] == "context") {
            if (f.size() != 2)
                out.Error(source.At(line), "expected \"context <Name>\"");
            else
                contexts.push_back({f[1], {}});
            continue;
        }
        if (contexts.empty()) {
            out.Error(source.At(line), "a trigger before any \"context\" line");
            continue;
        }
        std::string item;
        if (!TriggerItem(out, source.At(line), f, item))
            continue;
        std::vector<ActionRow>& actions = contexts.back().actions;
        auto found = std::find_if(actions.begin(), actions.end(), [&](const ActionRow& a) { return a.name == f[0]; });
        if (found == actions.end())
            found = actions.insert(actions.end(), {f[0], ""});
        found->triggers += "\n            " + item;
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n  <RootContext>\n    <Contexts>\n";
    for (const Context& context : contexts) {
        xml += "      <item>\n        <Name>" + XmlText(context.name) + "</Name>\n        <Actions>\n";
        for (const ActionRow& action : context.actions)
            xml += "          <item><Name>" + XmlText(action.name) + "</Name><Triggers>" + action.triggers +
                   "\n          </Triggers></item>\n";
        xml += "        </Actions>\n      </item>\n";
    }
    out.Add(kSystem, "Actions.xml", xml + "    </Contexts>\n  </RootContext>\n</root>\n", {source.Path(), 0});
}

void Popups(Output& out) {
    const SourceFile source(out.DataRoot(), "content/popups.txt");
    if (!source.Ok())
        return out.Error({source.Path(), 0}, "cannot read the popups");
    const StringTable strings = ReadStringTable(out.DataRoot(), kStringsSource);
    std::map<std::string, PopupLayout> layouts;
    std::vector<PopupRecord> popups;
    for (const SourceLine& line : source.Lines()) {
        const std::vector<std::string>& f = line.fields;
        const SourceRef at = source.At(line);
        if (f[0] == "layout" && f.size() >= 2) {
            PopupLayout layout{f[1], {}, {}, at};
            bool ok = true;
            for (size_t i = 2; i < f.size(); ++i) {
                if (f[i].starts_with("button:") && f[i].size() > 7)
                    layout.buttons.push_back(f[i].substr(7));
                else if (f[i].starts_with("message:") && f[i].size() > 8)
                    layout.messages.push_back(f[i].substr(8));
                else
                    ok = false;
            }
            if (!ok)
                out.Error(at, "a layout's widgets are \"button:<Name>\" or \"message:<Name>\"");
            else if (!layouts.emplace(f[1], layout).second)
                out.Error(at, "layout \"" + f[1] + "\" is described twice");
        } else if (f[0] == "popup" && (f.size() == 6 || f.size() == 7)) {
            PopupRecord popup{f[1], f[2], 0, f[4], f[5], f.size() == 7 ? f[6] : "", {}, {}, at};
            popup.priority = ParseCount(f[3]);
            popups.push_back(popup);
        } else if ((f[0] == "option" && (f.size() == 3 || (f.size() == 4 && f[3] == "autoclose"))) ||
                   (f[0] == "message" && f.size() == 3)) {
            if (popups.empty()) {
                out.Error(at, "\"" + f[0] + "\" before any popup");
                continue;
            }
            if (f[0] == "option")
                popups.back().options.push_back({f[1], f[2], f.size() == 4, at});
            else
                popups.back().messages.push_back({f[1], f[2], false, at});
        } else {
            out.Error(at, "expected a layout, popup, option or message record (see the header)");
        }
    }
    for (const auto& [name, layout] : layouts)
        out.Add(kSystem, name, PopupLayoutXaml(layout), layout.from);

    const struct {
        const char* file;
        const char* package;
    } files[] = {{"Popups.xml", kSystem}, {"GameShowPopUps.xml", kMenus}};
    for (const auto& file : files) {
        std::vector<const PopupRecord*> held;
        for (const PopupRecord& popup : popups)
            if (popup.file == file.file)
                held.push_back(&popup);
        if (held.size() > kMaxPopupsPerFile)
            out.Error(held[kMaxPopupsPerFile]->from, std::string("more than 20 popups in ") + file.file);
        out.Add(file.package, file.file, PopupsXml(held, layouts, strings, out), {source.Path(), 0});
    }
    // The game keeps the popups of both files in one list and finds the first of a name.
    std::set<std::string> names;
    for (const PopupRecord& popup : popups)
        if (!names.insert(popup.name).second)
            out.Error(popup.from, "popup \"" + popup.name + "\" is described twice");
    for (const PopupRecord& popup : popups)
        if (popup.file != files[0].file && popup.file != files[1].file)
            out.Error(popup.from, "popups file \"" + popup.file + "\" is neither Popups.xml nor GameShowPopUps.xml");
}

}  // namespace

void GenerateSystem(Output& out) {
    RuntimeParameters(out);
    Actions(out);
    Popups(out);
}

void GenerateStrings(Output& out) {
    const StringTable table = ReadStringTable(out.DataRoot(), kStringsSource, &out);
    if (!table.ok)
        return out.Error({kStringsSource, 0}, "cannot read the string table");
    out.Add(kStrings, "gstrc_english.loc", authoring::LocalizationBytes(table.entries), {kStringsSource, 0},
            TypeKey::Localization);
}

}  // namespace content
