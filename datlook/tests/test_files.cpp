#include "test_files.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace datlook::testing {

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("datlook-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::string ScratchDir::file(const std::string &name) const {
    return (dir_ / name).string();
}

std::vector<std::uint8_t> readAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string &path, const std::vector<std::uint8_t> &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::int32_t intAt(const std::vector<std::uint8_t> &bytes, std::size_t offset) {
    const std::uint32_t u = bytes.at(offset) | bytes.at(offset + 1) << 8 | bytes.at(offset + 2) << 16 |
                            static_cast<std::uint32_t>(bytes.at(offset + 3)) << 24;
    return static_cast<std::int32_t>(u);
}

void putIntAt(std::vector<std::uint8_t> &bytes, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(u >> (8 * i));
}

}  // namespace datlook::testing
