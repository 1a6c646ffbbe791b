// sepugen - writes the sample chromatogram testdata/sample.sepu: 16384 values in microvolts at
// 20 samples per second (about 13.7 minutes), one per line with CR LF. The trace is a drifting
// baseline, Gaussian peaks of several widths and heights, and white noise from a fixed seed,
// so the same file comes out every time (samplegen.cpp holds the trace and its peak table).
//
//   sepugen OUT.sepu
#include <cstdio>
#include <cstring>

#include "samplegen.h"

namespace {

const char kUsage[] =
    "Usage: sepugen OUT.sepu\n"
    "Writes the sample chromatogram (16384 values in microvolts at 20 samples per second).\n"
    "  --help    show this text\n";

}  // namespace

int main(int argc, char **argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && argv[1][0] == '-') {
        std::fprintf(stderr, "sepugen: unknown option '%s'\n%s", argv[1], kUsage);
        return 2;
    }
    if (argc != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::FILE *out = std::fopen(argv[1], "wb");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    for (long microvolts : wavedesk::GenerateMicrovolts(wavedesk::SampleRecipe()))
        std::fprintf(out, "%ld\r\n", microvolts);
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
