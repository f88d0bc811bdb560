#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

TempDir::TempDir() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tallyvox-test-XXXXXX";
    if (char* made = mkdtemp(pattern.data()))
        m_path = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}
