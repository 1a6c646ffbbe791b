// The .sepu reader on any bytes: never more values than asked for, every value finite and a
// whole number of microvolts, and what it read saves and reads back as the same values.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <vector>

#include "sepufile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QString dir = [] {
        const QString d = QDir::tempPath() + "/swb-fuzz-sepu";
        QDir().mkpath(d);
        return d;
    }();
    const QString in = dir + "/in.sepu", out = dir + "/out.sepu";
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly)) return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    constexpr int32_t kCapacity = 512;
    std::vector<float> values(kCapacity + 1, 12345.0f);
    const int32_t n = wavedesk::LoadSepuValues(in, values.data(), kCapacity);
    if (n < 0 || n > kCapacity || values[kCapacity] != 12345.0f) __builtin_trap();
    for (int32_t i = 0; i < n; ++i)
        if (!std::isfinite(values[size_t(i)])) __builtin_trap();
    if (wavedesk::WriteSepuValues(out, values.data(), n) != 1) return 0;
    std::vector<float> again(kCapacity, 0.0f);
    if (wavedesk::LoadSepuValues(out, again.data(), kCapacity) != n) __builtin_trap();
    for (int32_t i = 0; i < n; ++i)
        if (again[size_t(i)] != values[size_t(i)]) __builtin_trap();
    return 0;
}
