// Scratch files for the tests: a fresh folder per test and whole-file byte access.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace datlook::testing {

// A new empty folder below the system temporary folder, removed when the object goes.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    // Path of a file called name inside the folder.
    std::string file(const std::string &name) const;

  private:
    std::filesystem::path dir_;
};

std::vector<std::uint8_t> readAll(const std::string &path);
void writeAll(const std::string &path, const std::vector<std::uint8_t> &bytes);
std::int32_t intAt(const std::vector<std::uint8_t> &bytes, std::size_t offset);
void putIntAt(std::vector<std::uint8_t> &bytes, std::size_t offset, std::int32_t value);

}  // namespace datlook::testing
