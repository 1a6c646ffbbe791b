// datgen: writes a sample data file with every section.
//   datgen OUT.dat [INT ...]     integers of the list (default 5 -2 7), two blocks, three items, a record
//   datgen --fresh OUT.dat       a new file without information record
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample.h"

namespace {

bool parseInt(const char *text, std::int32_t &value) {
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

const char kUsage[] =
    "Usage: datgen [--fresh] OUT.dat [INT ...]\n"
    "Writes a sample data file with every section: the integers of the list (default 5 -2 7),\n"
    "two blocks, three items and an information record.\n"
    "  --fresh   write a new file without information record instead\n"
    "  --help    show this text\n";

// An argument that looks like an option; negative numbers are values, not options.
bool looksLikeOption(const std::string &arg) {
    return arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9');
}

}  // namespace

int main(int argc, char **argv) {
    int arg = 1;
    bool fresh = false;
    for (; arg < argc && looksLikeOption(argv[arg]); ++arg) {
        const std::string option = argv[arg];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (option != "--fresh") {
            std::fprintf(stderr, "datgen: unknown option '%s'\n%s", option.c_str(), kUsage);
            return 2;
        }
        fresh = true;
    }
    if (arg >= argc) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string name = argv[arg++];
    datlook::DataFile file;
    if (fresh) {
        file.SetFileName(name);
        return file.CreateNew() ? 0 : 1;
    }
    if (fresh && arg < argc) {
        std::fprintf(stderr, "datgen: --fresh takes no integers\n%s", kUsage);
        return 2;
    }
    std::vector<std::int32_t> ints;
    for (; arg < argc; ++arg) {
        std::int32_t v = 0;
        if (!parseInt(argv[arg], v)) {
            std::fprintf(stderr, "datgen: not an integer: %s\n", argv[arg]);
            return 2;
        }
        ints.push_back(v);
    }
    if (ints.empty()) ints = {5, -2, 7};
    const datlook::SampleContent content = datlook::makeSample(ints, 2, 3, 1);
    if (!datlook::writeSample(file, name, content)) {
        std::fprintf(stderr, "datgen: cannot write %s\n", name.c_str());
        return 1;
    }
    return 0;
}
