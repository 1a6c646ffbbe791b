// Soak of the chart control: 10,000 rounds of SetSeries on 16 series, Plot and SaveAsBmpFile,
// called through the control's dispatch entry as a host calls it. Prints the resident memory
// after the first 100 rounds and at the end; the program fails when it grew by more than 2 MiB.
// Usage: graphane_soak [ROUNDS] [FOLDER]   (defaults 10000 and the temporary folder)
#include <QApplication>
#include <QDir>
#include <QFile>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "automation/host.h"
#include "automation/safearray.h"
#include "graphane/dispids.h"
#include "graphanecontrol.h"

namespace d = graphane::dispid;

namespace {

// Resident set size of this process in KiB, from /proc/self/status.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

automation::SafeArray values(int points, int series, int round, bool isX) {
    std::vector<float> v(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        v[std::size_t(i)] = isX ? float(100.0 * i / (points - 1))
                                : float(5 + 4 * std::sin(0.01 * i + series + 0.001 * round));
    return automation::SafeArray::ofFloats(v);
}

}  // namespace

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(101, std::atoi(argv[1])) : 10000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    const std::string picture = (folder + QStringLiteral("/graphane-soak.bmp")).toStdString();

    auto owned = std::make_unique<graphane::GraphaneControl>();
    graphane::GraphaneControl *control = owned.get();
    automation::ControlHandle chart(std::move(owned));
    control->widget()->resize(800, 600);
    control->surface().resize(QSize(800, 600));

    constexpr int kSeries = 16, kPoints = 500;
    automation::SafeArray counts = automation::SafeArray::ofInts(std::vector<int32_t>(kSeries, kPoints));
    chart.call(d::CreateSeries, int16_t(kSeries), counts);
    automation::SafeArray x = values(kPoints, 0, 0, true);
    long after100 = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 1; round <= rounds; ++round) {
        for (int s = 0; s < kSeries; ++s) {
            automation::SafeArray y = values(kPoints, s, round, false);
            int32_t from = 0, count = kPoints;
            chart.call(d::SetSeries, int16_t(s), x, y, from, count);
            chart.put(d::LineStyle, int16_t(s), int16_t(1 + (round + s) % 6));
        }
        chart.call(d::Plot, false);
        if (chart.call(d::SaveAsBmpFile, picture).toI4() != 1) {
            std::fprintf(stderr, "graphane_soak: SaveAsBmpFile failed in round %d\n", round);
            return 1;
        }
        if (round == 100) after100 = residentKiB();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long last = residentKiB();
    QFile::remove(QString::fromStdString(picture));
    std::printf("%d rounds of SetSeries x %d, Plot, SaveAsBmpFile in %.1f s (%.2f ms per round)\n", rounds,
                kSeries, seconds, 1000 * seconds / rounds);
    std::printf("resident memory after 100 rounds: %ld KiB, after %d: %ld KiB (%+ld KiB)\n", after100, rounds,
                last, last - after100);
    return last - after100 > 2048 ? 1 : 0;
}
