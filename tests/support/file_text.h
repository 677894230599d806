#pragma once
// A whole file as bytes, and a file made of given bytes: what the file tests compare.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorlin::test {

// Empty when the file cannot be read.
inline std::string readFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFileText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace quorlin::test
