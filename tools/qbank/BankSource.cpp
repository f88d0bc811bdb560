#include "tools/qbank/BankSource.h"

#include <sstream>

#include "questions/LineReader.h"

namespace qbank {

namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> SplitTrimmed(const std::string& s, char separator) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(separator, start);
        out.push_back(Trim(s.substr(start, end == std::string::npos ? std::string::npos : end - start)));
        if (end == std::string::npos)
            return out;
        start = end + 1;
    }
}

// Calls line(number, text) for every line that is neither blank nor a comment.
template <typename F>
void ForEachLine(const std::string& text, F&& line) {
    std::istringstream in(text);
    std::string s;
    int number = 0;
    while (std::getline(in, s)) {
        ++number;
        std::string t = Trim(s);
        if (!t.empty() && t[0] != '#')
            line(number, t);
    }
}

}  // namespace

void Diagnostics::Error(const SourcePlace& place, const std::string& message) {
    m_errors.push_back(place.file + ":" + std::to_string(place.line) + ": error: " + message);
}

void Diagnostics::Warning(const SourcePlace& place, const std::string& message) {
    m_warnings.push_back(place.file + ":" + std::to_string(place.line) + ": warning: " + message);
}

void ReadDecadeSource(const std::string& text, const std::string& fileName, int decade, Bank& bank,
                      Diagnostics& diagnostics) {
    BankQuestion* question = nullptr;
    ForEachLine(text, [&](int number, const std::string& line) {
        SourcePlace place{fileName, number};
        char kind = line[0];
        std::string rest = Trim(line.substr(1));
        if (kind == '?') {
            size_t space = rest.find_first_of(" \t");
            bank.questions.emplace_back();
            question = &bank.questions.back();
            question->id = rest.substr(0, space);
            question->text = space == std::string::npos ? "" : Trim(rest.substr(space));
            question->decade = decade;
            question->place = place;
            if (question->text.empty())
                diagnostics.Error(place, "question " + question->id + " has no text");
            return;
        }
        if (!question) {
            diagnostics.Error(place, "line before the first question");
            return;
        }
        if (kind == '=') {
            BankAnswer answer;
            answer.place = place;
            size_t colon = rest.find(':');
            size_t space = rest.find_first_of(" \t");
            if (colon == std::string::npos || space == std::string::npos || space > colon) {
                diagnostics.Error(place, "an answer is \"= points display text: wordings\"");
                return;
            }
            std::string points = rest.substr(0, space);
            if (points.empty() || points.find_first_not_of("0123456789") != std::string::npos ||
                points.size() > 3) {
                diagnostics.Error(place, "answer points \"" + points + "\" are not a number");
                return;
            }
            answer.points = u32(ParseDecimal(points.c_str()));
            answer.text = Trim(rest.substr(space, colon - space));
            for (const std::string& group : SplitTrimmed(rest.substr(colon + 1), '|'))
                answer.groups.push_back(SplitTrimmed(group, ','));
            question->answers.push_back(std::move(answer));
        } else if (kind == '-') {
            question->wrong.push_back(rest);
        } else if (kind == '~') {
            question->completions.push_back(rest);
        } else {
            diagnostics.Error(place, std::string("unknown line kind '") + kind + "'");
        }
    });
}

void ReadEquivalenceSource(const std::string& text, const std::string& fileName, Bank& bank,
                           Diagnostics& diagnostics) {
    ForEachLine(text, [&](int number, const std::string& line) {
        SourcePlace place{fileName, number};
        size_t arrow = line.find('>');
        if (arrow == std::string::npos) {
            diagnostics.Error(place, "an equivalence is \"answer group > typed group, ...\"");
            return;
        }
        BankPair pair;
        pair.key = Trim(line.substr(0, arrow));
        pair.typed = SplitTrimmed(line.substr(arrow + 1), ',');
        pair.place = place;
        bank.pairs.push_back(std::move(pair));
    });
}

void ReadDictionarySource(const std::string& text, Bank& bank) {
    ForEachLine(text, [&](int, const std::string& line) {
        std::istringstream words(line);
        std::string word;
        while (words >> word)
            bank.extraWords.push_back(word);
    });
}

std::string FirstForm(const std::string& displayText) {
    return Trim(displayText.substr(0, displayText.find('/')));
}

}  // namespace qbank
