// The show sequences: data/content/sequences.txt turned into one sequence file per sequence
// in "ingamexml.dir" (root "root", one "Sequence" with its start, timed, end and skip events).
#include <charconv>
#include <map>
#include <set>
#include <sstream>

#include "tools/content/Generators.h"

namespace content {

namespace {

constexpr const char* kSource = "content/sequences.txt";
constexpr const char* kSequencePackage = "ingamexml.dir";
constexpr size_t kMaxValues = 100;        // values of one variable
constexpr size_t kMaxCombinations = 1000;  // sequences of one block
constexpr int kMaxDurationMs = 10 * 60 * 1000;

struct Event {
    std::string sequencer, name, target, parameter;
};

struct Sequence {
    int duration = 0;
    bool skippable = false;
    std::vector<Event> start, end, skip;
    std::map<int, std::vector<Event>> acts;  // by time
};

struct Variable {
    std::string name;
    std::vector<std::string> values;
};

// A header line and the event lines under it.
struct Block {
    const SourceLine* header = nullptr;
    std::vector<const SourceLine*> events;
};

bool ParseInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

std::string Entry(const std::string& file) {
    std::string entry = std::string(kSequencePackage).substr(0, std::string(kSequencePackage).rfind('.')) + "/";
    for (char c : file)
        entry += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return entry;
}

// "n=1..8" or "level=Easy,Med,Hard"; false with a reason.
bool ParseVariable(const std::string& spec, Variable& out, std::string& why) {
    const size_t equals = spec.find('=');
    out.name = spec.substr(0, equals);
    if (equals == std::string::npos || out.name.empty() || equals + 1 == spec.size()) {
        why = "\"" + spec + "\" is not <var>=<values>";
        return false;
    }
    const std::string values = spec.substr(equals + 1);
    const size_t dots = values.find("..");
    if (dots != std::string::npos) {
        int first = 0, last = 0;
        if (!ParseInt(values.substr(0, dots), first) || !ParseInt(values.substr(dots + 2), last) || first > last ||
            size_t(last - first) >= kMaxValues) {
            why = "range \"" + values + "\" is not <first>..<last> with at most " + std::to_string(kMaxValues) +
                  " values";
            return false;
        }
        for (int v = first; v <= last; ++v)
            out.values.push_back(std::to_string(v));
        return true;
    }
    out.values = SplitFields(values, ',');
    for (const std::string& value : out.values)
        if (value.empty()) {
            why = "list \"" + values + "\" has an empty value";
            return false;
        }
    if (out.values.size() > kMaxValues) {
        why = "list \"" + values + "\" has more than " + std::to_string(kMaxValues) + " values";
        return false;
    }
    return true;
}

// Replaces every "{name}" of the combination; false when a brace is left over.
bool Substitute(std::string& text, const std::vector<Variable>& vars, const std::vector<size_t>& pick) {
    for (size_t v = 0; v < vars.size(); ++v) {
        const std::string key = "{" + vars[v].name + "}";
        for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at))
            text.replace(at, key.size(), vars[v].values[pick[v]]);
    }
    return text.find_first_of("{}") == std::string::npos;
}

// One event line (after substitution) into the sequence; false with a reason.
bool AddEvent(const std::vector<std::string>& f, Sequence& sequence, std::string& why) {
    if (f.size() < 3) {
        why = "an event line is <when> <verb> <arguments>";
        return false;
    }
    const std::string& when = f[0];
    const std::string& verb = f[1];
    std::vector<Event> events;
    const auto want = [&](size_t count, const char* form) {
        if (f.size() == count + 2)
            return true;
        why = std::string("\"") + verb + "\" takes " + form;
        return false;
    };
    if (verb == "cut") {
        if (!want(1, "a camera"))
            return false;
        events = {{"GameShowCameraSequencer", "SetActiveCamera", f[2], ""},
                  {"GameShowCameraSequencer", "PlayCameraAnimation", f[2], ""}};
    } else if (verb == "play") {
        if (!want(1, "a cue event"))
            return false;
        events = {{"AudioSequencer", "Play", f[2], ""}};
    } else if (verb == "stop") {
        if (!want(2, "a cue event and a category"))
            return false;
        static const std::set<std::string> categories = {"music", "voice", "sfx", "crowed"};
        if (!categories.count(f[3])) {
            why = "category \"" + f[3] + "\" is not music, voice, sfx or crowed";
            return false;
        }
        events = {{"AudioSequencer", "Stop", f[2], f[3]}};
    } else if (verb == "show" || verb == "hide") {
        if (!want(1, "a component"))
            return false;
        events = {{"EntitySequencer", verb == "show" ? "ShowComponent" : "HideComponent", "ScreenGame", f[2]}};
    } else if (verb == "timer") {
        if (!want(1, "start or stop"))
            return false;
        if (f[2] != "start" && f[2] != "stop") {
            why = "the timer takes start or stop, not \"" + f[2] + "\"";
            return false;
        }
        events = {{"EntitySequencer", "Timer", "ScreenGame", f[2] == "start" ? "Start" : "Stop"}};
    } else {
        why = "unknown verb \"" + verb + "\"";
        return false;
    }

    std::vector<Event>* list = nullptr;
    int time = 0;
    if (when == "start") {
        list = &sequence.start;
    } else if (when == "end") {
        list = &sequence.end;
    } else if (when == "skip") {
        list = &sequence.skip;
    } else if (ParseInt(when, time)) {
        // An act at or after the duration, or before the start, would never fire.
        if (time < 0 || time >= sequence.duration) {
            why = "time " + when + " is outside 0.." + std::to_string(sequence.duration - 1);
            return false;
        }
        list = &sequence.acts[time];
    } else {
        why = "\"" + when + "\" is not start, end, skip or a time in ms";
        return false;
    }
    list->insert(list->end(), events.begin(), events.end());
    return true;
}

std::string EventsXml(const std::vector<Event>& events, const std::string& indent) {
    if (events.empty())
        return indent + "<Events/>\n";
    std::string xml = indent + "<Events>\n";
    for (const Event& e : events)
        xml += indent + "  <item sequencer=\"" + XmlText(e.sequencer) + "\" name=\"" + XmlText(e.name) +
               "\" target=\"" + XmlText(e.target) + "\" parameter=\"" + XmlText(e.parameter) + "\"/>\n";
    return xml + indent + "</Events>\n";
}

std::string SequenceXml(const Sequence& s) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n  <Sequence duration=\"" +
                      std::to_string(s.duration) + "\" skippable=\"" + (s.skippable ? "true" : "false") + "\">\n";
    xml += "    <OnStart>\n" + EventsXml(s.start, "      ") + "    </OnStart>\n";
    if (s.acts.empty()) {
        xml += "    <Acts/>\n";
    } else {
        xml += "    <Acts>\n";
        for (const auto& [time, events] : s.acts)
            xml += "      <item time=\"" + std::to_string(time) + "\">\n" + EventsXml(events, "        ") +
                   "      </item>\n";
        xml += "    </Acts>\n";
    }
    xml += "    <OnEnd>\n" + EventsXml(s.end, "      ") + "    </OnEnd>\n";
    xml += "    <OnSkip>\n" + EventsXml(s.skip, "      ") + "    </OnSkip>\n";
    return xml + "  </Sequence>\n</root>\n";
}

// Writes every sequence of one block; errors of an event line are told once, not per sequence.
void GenerateBlock(Output& out, const SourceFile& source, const Block& block,
                   std::map<std::string, SourceRef>& names) {
    const SourceLine& header = *block.header;
    const SourceRef at = source.At(header);
    const std::vector<std::string>& h = header.fields;
    Sequence shape;
    if (h.size() < 5 || !ParseInt(h[3], shape.duration) || shape.duration <= 0 || shape.duration > kMaxDurationMs ||
        (h[4] != "skip" && h[4] != "noskip")) {
        out.Error(at, "a sequence line is: sequence <file> <name> <duration 1.." + std::to_string(kMaxDurationMs) +
                          " ms> skip|noskip [<var>=<values> ...]");
        return;
    }
    shape.skippable = h[4] == "skip";
    std::vector<Variable> vars;
    size_t combinations = 1;
    for (size_t i = 5; i < h.size(); ++i) {
        Variable var;
        std::string why;
        if (!ParseVariable(h[i], var, why)) {
            out.Error(at, why);
            return;
        }
        for (const Variable& known : vars)
            if (known.name == var.name) {
                out.Error(at, "variable \"" + var.name + "\" is given twice");
                return;
            }
        combinations *= var.values.size();
        if (combinations > kMaxCombinations) {
            out.Error(at, "the variables make more than " + std::to_string(kMaxCombinations) + " sequences");
            return;
        }
        vars.push_back(std::move(var));
    }

    std::set<int> told;  // event lines whose error was given
    std::vector<size_t> pick(vars.size(), 0);
    for (size_t n = 0; n < combinations; ++n) {
        // The last variable changes fastest.
        for (size_t v = vars.size(), rest = n; v-- > 0; rest /= vars[v].values.size())
            pick[v] = rest % vars[v].values.size();
        std::string file = h[1], name = h[2];
        if (!Substitute(file, vars, pick) || !Substitute(name, vars, pick)) {
            out.Error(at, "\"" + h[1] + "\" or \"" + h[2] + "\" names a variable the line does not give");
            return;
        }
        // The entry is written into the package's folder under this name.
        if (file.find_first_of("/\\") != std::string::npos || file.size() < 5 ||
            file.compare(file.size() - 4, 4, ".xml") != 0) {
            out.Error(at, "\"" + file + "\" is not a plain .xml file name");
            return;
        }
        Sequence sequence = shape;
        for (const SourceLine* line : block.events) {
            std::string text = line->text, why;
            std::vector<std::string> fields;
            if (!Substitute(text, vars, pick)) {
                why = "the line names a variable its sequence line does not give";
            } else {
                std::istringstream words(text);
                for (std::string word; words >> word;)
                    fields.push_back(word);
                AddEvent(fields, sequence, why);
            }
            if (!why.empty() && told.insert(line->line).second)
                out.Error(source.At(*line), why, Entry(file));
        }
        if (!sequence.skippable && !sequence.skip.empty() && told.insert(header.line).second)
            out.Warning(at, "skip events of a sequence that cannot be skipped never fire", Entry(file));
        const auto [known, added] = names.emplace(name, at);
        if (!added) {
            out.Error(at, "sequence \"" + name + "\" is also written at " + known->second.Text(), Entry(file));
            continue;
        }
        out.Add(kSequencePackage, file, SequenceXml(sequence), at);
    }
}

}  // namespace

void GenerateSequences(Output& out) {
    const SourceFile source(out.DataRoot(), kSource);
    if (!source.Ok()) {
        out.Error({kSource, 0}, "cannot read the sequence source");
        return;
    }
    std::vector<Block> blocks;
    for (const SourceLine& line : source.Lines()) {
        if (line.fields[0] == "sequence") {
            blocks.push_back({&line, {}});
        } else if (blocks.empty()) {
            out.Error(source.At(line), "an event line before the first sequence line");
        } else {
            blocks.back().events.push_back(&line);
        }
    }
    std::map<std::string, SourceRef> names;
    for (const Block& block : blocks)
        GenerateBlock(out, source, block, names);
}

}  // namespace content
