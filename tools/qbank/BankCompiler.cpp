#include "tools/qbank/BankCompiler.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/qbank/BankChecker.h"
#include "tools/qbank/BankWriter.h"

namespace fs = std::filesystem;

namespace qbank {

namespace {

bool ReadText(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

bool IsQuestionFileName(const std::string& name) {
    size_t dot = name.find('.');
    return dot != std::string::npos && dot > 0 && name.substr(dot) == ".bin" &&
           name.find_first_not_of("0123456789") == dot;
}

}  // namespace

bool ReadBankSources(const std::string& sourceDir, Bank& bank, Diagnostics& diagnostics) {
    bool ok = true;
    std::string text;
    for (const DecadeFile& file : kDecadeFiles) {
        fs::path path = fs::path(sourceDir) / file.name;
        if (!ReadText(path, text)) {
            diagnostics.Error({path.string(), 0}, "cannot be read");
            ok = false;
            continue;
        }
        ReadDecadeSource(text, path.string(), file.decade, bank, diagnostics);
    }
    fs::path pairs = fs::path(sourceDir) / "equivalences.txt";
    if (ReadText(pairs, text))
        ReadEquivalenceSource(text, pairs.string(), bank, diagnostics);
    if (ReadText(fs::path(sourceDir) / "dictionary.txt", text))
        ReadDictionarySource(text, bank);
    return ok;
}

bool WriteBankPackage(const Bank& bank, const std::string& packageDir, Diagnostics& diagnostics) {
    fs::path dir(packageDir);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        diagnostics.Error({packageDir, 0}, "cannot be created: " + ec.message());
        return false;
    }
    for (const auto& entry : fs::directory_iterator(dir, ec))
        if (entry.is_regular_file() && IsQuestionFileName(entry.path().filename().string()))
            fs::remove(entry.path(), ec);

    authoring::PackageWriter package;
    package.Add("list.txt", TypeKey::Data, ListBytes(bank));
    for (size_t i = 0; i < bank.questions.size(); ++i)
        package.Add(std::to_string(i) + ".bin", TypeKey::Data, QuestionFileBytes(bank.questions[i]));
    package.Add("graphtograph.bin", TypeKey::Data, WordPairBytes(bank));
    package.Add("autocompletion.txt", TypeKey::Data, AutocompletionBytes(DictionaryWords(bank)));
    std::string mountName = dir.string();
    while (mountName.size() > 1 && mountName.back() == '/')
        mountName.pop_back();
    if (!package.WriteFolder(mountName + ".dir")) {
        diagnostics.Error({packageDir, 0}, "the package cannot be written");
        return false;
    }
    return true;
}

bool CompileBank(const std::string& sourceDir, const std::string& packageDir, Diagnostics& diagnostics) {
    Bank bank;
    if (!ReadBankSources(sourceDir, bank, diagnostics))
        return false;
    CheckBank(bank, diagnostics);
    if (diagnostics.HasErrors())
        return false;
    return WriteBankPackage(bank, packageDir, diagnostics);
}

}  // namespace qbank
