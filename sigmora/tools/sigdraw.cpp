// sigdraw - draws the signal library's pictures onto memory surfaces and saves them as BMP files:
// a recording's curves on a millimetre grid, a wire-frame surface with and without hidden lines,
// a filled surface, a contour plot and a matrix picture of a sum of Gaussians, and one composite
// of all six (sigdraw.bmp). The curves come from an MDT recording: the one given, or one made up
// and written as OUTPUT_FOLDER/recording.mdt first.
//
//   sigdraw [OUTPUT_FOLDER [RECORDING.mdt]]      (default: the current folder)
#include "memblock.h"
#include "sigmora.h"
#include "sigmora_draw.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kPanelWidth = 480;
constexpr int kPanelHeight = 360;
constexpr int32_t meshN = 40;   // wire-frame and filled surfaces
constexpr int32_t fineN = 160;  // contours and the matrix picture
constexpr uint32_t kBlack = 0x000000, kBlue = 0xFF0000, kRed = 0x0000FF, kGrey = 0xC0C0C0,
                   kDarkGreen = 0x006000;

// The recording of the curve picture, read from an MDT file into a movable block.
struct Recording {
    SignalFileInfo info{};
    ~Recording() {
        if (info.hData) MemBlockFree(info.hData);
    }
    bool read(const std::string &path) {
        if (path.size() >= sizeof info.fileName) return false;
        std::memcpy(info.fileName, path.c_str(), path.size() + 1);
        if (!ReadMDTInfo(&info)) return false;
        const uint64_t bytes =
            static_cast<uint64_t>(info.nch) * static_cast<uint64_t>(info.len) * sizeof(float);
        if (bytes > (uint64_t{1} << 31)) return false;
        info.hData = MemBlockAlloc(static_cast<uint32_t>(bytes));
        return info.hData && ReadMDTFile(&info);
    }
};

// Writes a two-channel MDT recording made up here: a decaying chirp and a noisy square wave.
bool writeGeneratedRecording(const std::string &path) {
    const int32_t len = 3000;
    SignalFileInfo info{};
    if (path.size() >= sizeof info.fileName) return false;
    std::memcpy(info.fileName, path.c_str(), path.size() + 1);
    info.nch = 2;
    info.len = len;
    info.fs = 1000.0f;
    info.vmin = -1.5f;
    info.vmax = 1.5f;
    info.fmt = SIGMORA_FLOAT32;
    info.scale = 1.0f;
    info.chanGain[0] = info.chanGain[1] = 1.0f;
    std::strcpy(info.xUnit, "sec.");
    std::strcpy(info.yUnit, "vol.");
    info.hData = MemBlockAlloc(static_cast<uint32_t>(2 * len * sizeof(float)));
    float *x = static_cast<float *>(MemBlockLock(info.hData));
    if (!x) return false;
    unsigned noise = 12345;
    for (int32_t j = 0; j < len; ++j) {
        const double t = j / static_cast<double>(info.fs);
        x[j] = static_cast<float>(std::exp(-t / 2.0) * std::sin(2 * M_PI * (2.0 + 3.0 * t) * t));
        noise = noise * 1103515245u + 12345u;
        const double jitter = ((noise >> 16) & 0x7FFF) / 32768.0 - 0.5;
        x[len + j] = static_cast<float>((std::fmod(t, 0.8) < 0.4 ? 0.6 : -0.6) + 0.1 * jitter);
    }
    MemBlockUnlock(info.hData);
    const bool ok = WriteMDTFile(&info) != 0;
    MemBlockFree(info.hData);
    return ok;
}

// Heights of three Gaussian hills and a hollow on an n x n grid.
std::vector<float> gaussians(int32_t n) {
    std::vector<float> z(static_cast<size_t>(n) * n);
    const double hills[4][4] = {
        {0.30, 0.35, 0.12, 1.0}, {0.70, 0.30, 0.10, 0.7}, {0.55, 0.75, 0.16, 0.9}, {0.25, 0.75, 0.08, -0.5}};
    for (int32_t j = 0; j < n; ++j)
        for (int32_t i = 0; i < n; ++i) {
            const double x = i / (n - 1.0), y = j / (n - 1.0);
            double v = 0;
            for (const auto &h : hills)
                v +=
                    h[3] * std::exp(-((x - h[0]) * (x - h[0]) + (y - h[1]) * (y - h[1])) / (2 * h[2] * h[2]));
            z[static_cast<size_t>(j) * n + i] = static_cast<float>(v);
        }
    return z;
}

void caption(SigmoraSurface *s, int x, int y, const char *text) {
    s->setBkMode(s->user, SIGMORA_TRANSPARENT);
    s->setTextColor(s->user, kBlack);
    s->textOut(s->user, x, y, text, static_cast<int32_t>(std::strlen(text)));
}

bool drawCurves(SigmoraSurface *s, const Recording &rec) {
    const int32_t rect[4] = {30, 30, kPanelWidth - 20, kPanelHeight - 30};
    SetCurveGrid(s, rect, kGrey, 2);
    SetCurveColor(0, kBlue);
    SetCurveColor(1, kRed);
    caption(s, 30, 12, "PLOTCURVE (BLUE) AND IPLOTCURVE (RED)");
    if (!PlotCurve(s, &rec.info, 0, 0, rec.info.len, rect)) return false;
    return rec.info.nch < 2 || iPlotCurve(s, &rec.info, 1, 0, rec.info.len, rect);
}

bool drawMesh(SigmoraSurface *s, const std::vector<float> &z, int32_t n, int32_t flags, const char *title) {
    const int32_t param[11] = {1,
                               35,
                               30,
                               static_cast<int32_t>(kBlue),
                               static_cast<int32_t>(kGrey),
                               flags,
                               20,
                               30,
                               kPanelWidth - 20,
                               kPanelHeight - 20,
                               0};
    caption(s, 20, 8, title);
    return MeshMatrix(s, z.data(), n, n, param) != 0;
}

bool drawFilled(SigmoraSurface *s, const std::vector<float> &z, int32_t n) {
    const int32_t param[11] = {0, 215, 35, 0x404040,         static_cast<int32_t>(kBlack),
                               0, 20,  30, kPanelWidth - 20, kPanelHeight - 20,
                               6};
    caption(s, 20, 8, "FILLMESHMATRIX, SCALE 6");
    return FillMeshMatrix(s, z.data(), n, n, param) != 0;
}

bool drawContours(SigmoraSurface *s, const std::vector<float> &z, int32_t n) {
    const int32_t rect[4] = {60, 30, kPanelWidth - 60, kPanelHeight - 20};
    const int32_t style[2] = {static_cast<int32_t>(kDarkGreen), 2};
    caption(s, 60, 8, "CONTOURMATRIX, 12 LEVELS");
    return ContourMatrix(s, z.data(), n, n, 12, rect, style) != 0;
}

bool drawPicture(SigmoraSurface *s, const std::vector<float> &z, int32_t n) {
    caption(s, 60, 8, "MATPICTURIZE, SCALE 18");
    return MatPicturize(s, z.data(), n, n, 18, 60, 30, kPanelWidth - 120, kPanelHeight - 60) != 0;
}

// Copies a panel into the composite with its top-left corner at (x0, y0).
void paste(SigmoraSurface *dst, const SigmoraSurface *panel, int x0, int y0) {
    for (int y = 0; y < kPanelHeight; ++y)
        for (int x = 0; x < kPanelWidth; ++x)
            dst->setPixel(dst->user, x0 + x, y0 + y, MemorySurfacePixel(panel, x, y));
}

}  // namespace

const char kUsage[] =
    "Usage: sigdraw [FOLDER [REC.mdt]]\n"
    "Draws the signal library's example pictures (curve and grid of a recording, wire-frame mesh\n"
    "with and without hidden lines, filled mesh, contours, matrix picture) as BMP files in FOLDER\n"
    "(default: the working folder). Without REC.mdt a generated recording is written and used.\n"
    "  --help    show this text\n";

int main(int argc, char **argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "sigdraw: unknown option '%s'\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (argc > 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : std::string();
    std::string recording = argc > 2 ? std::string(argv[2]) : folder + "recording.mdt";
    if (argc <= 2 && !writeGeneratedRecording(recording)) {
        std::fprintf(stderr, "sigdraw: cannot write %s\n", recording.c_str());
        return 1;
    }
    Recording rec;
    if (!rec.read(recording)) {
        std::fprintf(stderr, "sigdraw: cannot read the MDT recording %s\n", recording.c_str());
        return 1;
    }
    const std::vector<float> coarse = gaussians(meshN), fine = gaussians(fineN);
    SigmoraSurface *composite = CreateMemorySurface(3 * kPanelWidth, 2 * kPanelHeight, 96, 96);
    if (!composite) {
        std::fprintf(stderr, "sigdraw: no memory for the pictures\n");
        return 1;
    }
    struct Panel {
        const char *file;
        bool (*draw)(SigmoraSurface *, const Recording &, const std::vector<float> &,
                     const std::vector<float> &);
    };
    const Panel panels[] = {
        {"curve.bmp", [](SigmoraSurface *s, const Recording &r, const std::vector<float> &,
                         const std::vector<float> &) { return drawCurves(s, r); }},
        {"mesh.bmp",
         [](SigmoraSurface *s, const Recording &, const std::vector<float> &c, const std::vector<float> &) {
             return drawMesh(s, c, meshN, 1, "MESHMATRIX, ALL LINES");
         }},
        {"mesh_hidden.bmp",
         [](SigmoraSurface *s, const Recording &, const std::vector<float> &c, const std::vector<float> &) {
             return drawMesh(s, c, meshN, 3, "MESHMATRIX, HIDDEN LINES REMOVED");
         }},
        {"fillmesh.bmp", [](SigmoraSurface *s, const Recording &, const std::vector<float> &c,
                            const std::vector<float> &) { return drawFilled(s, c, meshN); }},
        {"contour.bmp", [](SigmoraSurface *s, const Recording &, const std::vector<float> &,
                           const std::vector<float> &f) { return drawContours(s, f, fineN); }},
        {"matrix.bmp", [](SigmoraSurface *s, const Recording &, const std::vector<float> &,
                          const std::vector<float> &f) { return drawPicture(s, f, fineN); }},
    };
    int failures = 0;
    for (size_t k = 0; k < sizeof panels / sizeof panels[0]; ++k) {
        SigmoraSurface *s = CreateMemorySurface(kPanelWidth, kPanelHeight, 96, 96);
        const std::string path = folder + panels[k].file;
        if (!s || !panels[k].draw(s, rec, coarse, fine) || !SaveMemorySurfaceBmp(s, path.c_str())) {
            std::fprintf(stderr, "sigdraw: %s failed\n", path.c_str());
            ++failures;
        } else {
            paste(composite, s, static_cast<int>(k % 3) * kPanelWidth,
                  static_cast<int>(k / 3) * kPanelHeight);
            std::printf("%s\n", path.c_str());
        }
        FreeMemorySurface(s);
    }
    const std::string all = folder + "sigdraw.bmp";
    if (!SaveMemorySurfaceBmp(composite, all.c_str())) {
        std::fprintf(stderr, "sigdraw: %s failed\n", all.c_str());
        ++failures;
    } else {
        std::printf("%s\n", all.c_str());
    }
    FreeMemorySurface(composite);
    return failures ? 1 : 0;
}
