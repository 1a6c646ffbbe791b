// datgen: writes a sample data file with every section.
//   datgen OUT.dat [INT ...]     integers of the list (default 5 -2 7), two blocks, three items, a record
//   datgen --fresh OUT.dat       a new file without information record
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample.h"

namespace {

bool parseInt(const char* text, std::int32_t& value)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    const bool fresh = argc > 1 && std::string(argv[1]) == "--fresh";
    arg += fresh ? 1 : 0;
    if (arg >= argc) {
        std::fprintf(stderr, "usage: datgen [--fresh] OUT.dat [INT ...]\n");
        return 2;
    }
    const std::string name = argv[arg++];
    datlook::DataFile file;
    if (fresh) {
        file.SetFileName(name);
        return file.CreateNew() ? 0 : 1;
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
    if (ints.empty())
        ints = {5, -2, 7};
    const datlook::SampleContent content = datlook::makeSample(ints, 2, 3, 1);
    if (!datlook::writeSample(file, name, content)) {
        std::fprintf(stderr, "datgen: cannot write %s\n", name.c_str());
        return 1;
    }
    return 0;
}
