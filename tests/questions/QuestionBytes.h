#pragma once
// Builds question-bank files in their on-disk form for tests: text lines with a chosen line
// end, u32 little-endian counts right after the preceding line end.
#include <string>
#include <vector>

#include "tests/support/ByteWriter.h"

struct TestAnswer {
    uint32_t points = 0;
    std::string text;
    std::vector<std::vector<std::string>> groups;  // groups of wordings
};

struct TestQuestion {
    std::string text = "Name something";
    std::string id = "70-0001";
    std::vector<TestAnswer> answers;
    std::vector<std::string> wrong;
    std::vector<std::string> completions;
};

// Line ends are taken in turn from eols, so one file can mix CR LF and LF.
inline std::string QuestionBytes(const TestQuestion& q,
                                 const std::vector<std::string>& eols = {"\r\n", "\n"}) {
    ByteWriter w;
    size_t next = 0;
    auto line = [&](const std::string& s) {
        w.Text(s).Text(eols[next++ % eols.size()]);
    };
    line(q.text);
    line(q.id);
    w.U32(uint32_t(q.answers.size()));
    for (const TestAnswer& a : q.answers) {
        w.U32(a.points);
        line(a.text);
        w.U32(uint32_t(a.groups.size()));
        for (const auto& group : a.groups) {
            w.U32(uint32_t(group.size()));
            for (const std::string& wording : group)
                line(wording);
        }
    }
    w.U32(uint32_t(q.wrong.size()));
    for (const std::string& s : q.wrong)
        line(s);
    w.U32(uint32_t(q.completions.size()));
    for (const std::string& s : q.completions)
        line(s);
    return w.Str();
}

// "graphtograph.bin": u32 E, E x {key line; u32 n; n lines}.
struct TestPair {
    std::string key;
    std::vector<std::string> typed;
};
inline std::string WordPairBytes(const std::vector<TestPair>& pairs, const std::string& eol = "\r\n") {
    ByteWriter w;
    w.U32(uint32_t(pairs.size()));
    for (const TestPair& p : pairs) {
        w.Text(p.key).Text(eol).U32(uint32_t(p.typed.size()));
        for (const std::string& t : p.typed)
            w.Text(t).Text(eol);
    }
    return w.Str();
}

// "autocompletion.txt": decimal E, then E x {key; decimal n; n words}; keys taken from the
// words' first two characters unless given.
struct TestDictionaryEntry {
    std::string key;
    std::vector<std::string> words;
};
inline std::string DictionaryBytes(const std::vector<TestDictionaryEntry>& entries,
                                   const std::string& eol = "\r\n") {
    std::string s = std::to_string(entries.size()) + eol;
    for (const auto& e : entries) {
        s += e.key + eol + std::to_string(e.words.size()) + eol;
        for (const std::string& word : e.words)
            s += word + eol;
    }
    return s;
}

// One entry per word, keyed by its first two characters.
inline std::string DictionaryOf(const std::vector<std::string>& words) {
    std::vector<TestDictionaryEntry> entries;
    for (const std::string& word : words) {
        std::string key = word.substr(0, 2);
        bool filed = false;
        for (auto& e : entries)
            if (e.key == key) {
                e.words.push_back(word);
                filed = true;
            }
        if (!filed)
            entries.push_back({key, {word}});
    }
    return DictionaryBytes(entries);
}
