#pragma once
// The sample content with one source changed: copies the sources, the packages the build wrote
// and their source maps into a fresh folder, edits a source, rebuilds the steps that read it
// there and runs the checker on the result.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/FileContents.h"
#include "tests/support/TempDir.h"
#include "tools/content/Checker.h"
#include "tools/content/ContentBuild.h"

class DamagedContent {
public:
    DamagedContent() {
        namespace fs = std::filesystem;
        const auto options = fs::copy_options::recursive;
        fs::copy(TALLYVOX_CONTENT_DATA, m_dir.File("data"), options);
        fs::copy(TALLYVOX_BUILT_CONTENT, m_dir.File("out"), options);
        fs::copy(TALLYVOX_CONTENT_MAPS, m_dir.File("map"), options);
    }

    // Replaces the first occurrence of `from` in a source file (relative to data/); the test
    // fails when the text is not there.
    void Replace(const std::string& file, const std::string& from, const std::string& to) {
        ReplaceIn("data/" + file, from, to);
    }
    // The same in an entry the build wrote (relative to the packages' folder): damage the
    // sources cannot make, since the tool refuses it.
    void ReplaceBuilt(const std::string& entry, const std::string& from, const std::string& to) {
        ReplaceIn("out/" + entry, from, to);
    }

    // Rebuilds the named steps from the edited sources (their own errors are returned as
    // build errors), then runs the checker: its error lines. No steps: the checker alone.
    std::vector<std::string> Check(const std::vector<std::string>& steps) {
        std::vector<const content::Group*> groups;
        for (const std::string& step : steps)
            groups.push_back(content::FindGroup(step));
        m_buildErrors.clear();
        content::BuildGroups(m_dir.File("data"), m_dir.File("out"), groups, false, m_dir.File("map"),
                             [this](const std::string& line) {
                                 if (line.find(": error: ") != std::string::npos)
                                     m_buildErrors.push_back(line);
                             });
        m_checker = std::make_unique<content::Checker>(m_dir.File("data"), m_dir.File("out"), m_dir.File("map"));
        m_checker->Run();
        return m_checker->Errors();
    }
    // The checker of the last check: its warnings and counts.
    const content::Checker& Checked() const { return *m_checker; }

    // The error lines the rebuilt steps reported themselves.
    const std::vector<std::string>& BuildErrors() const { return m_buildErrors; }
    const TempDir& Dir() const { return m_dir; }

private:
    void ReplaceIn(const std::string& path, const std::string& from, const std::string& to) {
        std::string text = FileContents(m_dir.File(path));
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << path << ": " << from;
        m_dir.Write(path, text.replace(at, from.size(), to));
    }

    TempDir m_dir;
    std::vector<std::string> m_buildErrors;
    std::unique_ptr<content::Checker> m_checker;
};
