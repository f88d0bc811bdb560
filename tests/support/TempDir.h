#pragma once
// A fresh temporary folder, removed with everything in it when the object goes.
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a file inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes bytes to a file inside the folder (creating sub-folders); returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};
