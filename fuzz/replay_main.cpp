// Replay driver of a fuzz target for builds without libFuzzer: runs every file of the folders
// (or files) named on the command line, then deterministic mutations of each (bit flips, byte
// overwrites, truncations, extensions), so CI exercises the target under the sanitizers.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

std::vector<uint8_t> readFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void run(const std::vector<uint8_t> &bytes) {
    // An empty vector has no data(); give the target a valid pointer all the same.
    static const uint8_t none = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
}

// A small fixed generator, so every run of CI mutates the same way.
uint32_t next(uint32_t &state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void mutate(const std::vector<uint8_t> &seed, int rounds) {
    uint32_t state = 12345;
    for (int r = 0; r < rounds; ++r) {
        std::vector<uint8_t> m = seed;
        switch (next(state) % 4) {
            case 0:  // flip a few bits
                for (int k = 0; k < 4 && !m.empty(); ++k)
                    m[next(state) % m.size()] ^= uint8_t(1u << (next(state) % 8));
                break;
            case 1:  // overwrite a byte with an extreme value
                if (!m.empty()) m[next(state) % m.size()] = (next(state) & 1) ? 0xFF : 0x7F;
                break;
            case 2:  // cut short
                m.resize(m.empty() ? 0 : next(state) % m.size());
                break;
            default:  // grow with arbitrary bytes
                for (uint32_t k = 0, n = next(state) % 64; k < n; ++k) m.push_back(uint8_t(next(state)));
                break;
        }
        run(m);
    }
}

}  // namespace

int main(int argc, char **argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (std::filesystem::is_directory(argv[i], ec)) {
            for (const auto &entry : std::filesystem::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(argv[i], ec)) {
            files.push_back(argv[i]);
        }
    }
    run({});
    for (const auto &file : files) {
        const std::vector<uint8_t> seed = readFile(file);
        run(seed);
        mutate(seed, 300);
    }
    std::printf("replayed %zu seeds with 300 mutations each\n", files.size());
    return 0;
}
