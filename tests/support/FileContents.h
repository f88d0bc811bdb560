#pragma once
// The whole contents of a file; empty when it cannot be read.
#include <fstream>
#include <iterator>
#include <string>

inline std::string FileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
