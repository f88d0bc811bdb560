#pragma once
// Makes a folder the working folder for the life of the object (the game mounts its packages
// from there), then returns to the one before.
#include <filesystem>
#include <string>

class ScopedWorkingDir {
public:
    explicit ScopedWorkingDir(const std::string& folder) : m_saved(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedWorkingDir() {
        std::error_code ignored;
        std::filesystem::current_path(m_saved, ignored);
    }
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::filesystem::path m_saved;
};
