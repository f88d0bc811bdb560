#pragma once
// Builds question-bank files in their on-disk form for tests (text lines with a chosen line
// end, u32 little-endian counts right after the preceding line end), and one question that
// the question, matcher and robustness tests share.
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "tests/support/ByteWriter.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/qbank/BankWriter.h"

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
inline std::string QuestionBytes(const TestQuestion& q, const std::vector<std::string>& eols = {"\r\n", "\n"}) {
    ByteWriter w;
    size_t next = 0;
    auto line = [&](const std::string& s) { w.Text(s).Text(eols[next++ % eols.size()]); };
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
    for (const auto* lines : {&q.wrong, &q.completions}) {
        w.U32(uint32_t(lines->size()));
        for (const std::string& s : *lines)
            line(s);
    }
    return w.Str();
}

enum SeasideAnswer : int { kTowel, kSunCream, kSun, kSaltPepper, kPhoto, kKite, kBall, kBeachBall, kBucket };

inline TestQuestion SeasideQuestion() {
    // Odd lengths: counts land unaligned.
    return {"Name something you take to the seaside.", "90-0007",
            {{20, "Towel", {{"towel", "towels"}}}, {15, "Sun cream", {{"sun_cream", "sun_block", "sunscreen"}}},
             {12, "Sun", {{"sun"}}}, {10, "Salt & pepper", {{"salt_and_pepper"}}},
             {9, "Photograph", {{"photograph", "photo"}}}, {8, "Kite", {{"kite"}}}, {7, "Ball", {{"ball"}}},
             {6, "Beach ball", {{"beach_ball", "ball"}}}, {5, "Bucket & spade", {{"bucket", "pail"}, {"beach_spade"}}}},
            {"a sledge", "skis"}, {"xa-bc", "xabc", "zq", "z"}};
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

// "autocompletion.txt" listing the words under their first two characters, as the bank tool
// writes it.
inline std::string DictionaryOf(const std::vector<std::string>& words) { return qbank::AutocompletionBytes(words); }

// An archive package holding every (name, bytes) file as a data resource.
inline std::string ArchiveBytes(const std::vector<std::pair<std::string, std::string>>& files) {
    authoring::PackageWriter writer;
    for (const auto& [name, bytes] : files)
        writer.Add(name, TypeKey::Data, bytes);
    return writer.ArchiveBytes();
}
