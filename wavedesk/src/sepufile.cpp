// sepufile.cpp - reading and writing .sepu chromatogram files.
#include "sepufile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <limits>
#include <vector>

#include "automation/safearray.h"
#include "graphane/dispids.h"

namespace wavedesk {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;
// Longer than any number this format holds; a longer item is not a value.
constexpr std::size_t kMaxItemChars = 64;

bool isSeparator(char c) {
    return c == '\r' || c == '\n' || c == ',' || c == ' ' || c == '\t';
}

// Parses one item as a decimal number of microvolts rounded to a 32-bit integer.
// Returns false for anything else (words, hex, inf, nan, values beyond the 32-bit range).
bool parseMicrovolts(const std::string &item, int32_t &out) {
    std::size_t start = 0;
    if (!item.empty() && item[0] == '+') start = 1;  // from_chars takes no '+' of its own
    const char *first = item.data() + start;
    const char *last = item.data() + item.size();
    // One sign at most: "+-30" is not a number.
    const char *digitsAt = first + (first != last && *first == '-' && start == 0 ? 1 : 0);
    if (digitsAt == last || !(std::isdigit(static_cast<unsigned char>(*digitsAt)) || *digitsAt == '.'))
        return false;
    double value = 0;
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range && end == last) {
        // Too small for a double (1e-400) is a value of 0 microvolts; too large is refused below.
        const double approx = std::strtod(std::string(first, last).c_str(), nullptr);
        if (std::fabs(approx) >= 1) return false;
        value = 0;
    } else if (ec != std::errc() || end != last) {
        return false;
    }
    const double rounded = std::nearbyint(value);  // the default rounding: half to even
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return false;
    out = static_cast<int32_t>(rounded);
    return true;
}

// The value in millivolts that reading `microvolts` keeps.
float loadedMillivolts(int64_t microvolts) {
    return static_cast<float>(double(microvolts) / 1000.0);
}

// Collects items from chunks of text and stores their values until told to stop.
class SepuReader {
  public:
    SepuReader(float *buffer, int32_t capacity) : buffer_(buffer), capacity_(capacity) {}

    // Returns false once no more values are wanted.
    bool feed(const char *data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (isSeparator(data[i])) {
                if (!finishItem()) return false;
            } else if (item_.size() < kMaxItemChars) {
                item_.push_back(data[i]);
            } else {
                return false;  // an endless item: binary data, not a value
            }
        }
        return true;
    }
    void finish() { finishItem(); }
    int32_t count() const { return count_; }

  private:
    bool finishItem() {
        if (item_.empty()) return count_ < capacity_;
        int32_t microvolts = 0;
        const bool ok = parseMicrovolts(item_, microvolts);
        item_.clear();
        if (!ok || count_ >= capacity_) return false;
        buffer_[count_++] = loadedMillivolts(microvolts);
        return count_ < capacity_;
    }

    float *buffer_;
    int32_t capacity_;
    int32_t count_ = 0;
    std::string item_;
};

}  // namespace

int32_t LoadSepuValues(const QString &fileName, float *buffer, int32_t capacity) {
    if (buffer == nullptr || capacity < 1) return 0;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    SepuReader reader(buffer, capacity);
    std::vector<char> chunk(kChunkBytes);
    bool more = true;
    bool firstChunk = true;
    while (more) {
        const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got <= 0) {
            reader.finish();
            break;
        }
        std::size_t skip = 0;
        // A UTF-8 byte-order mark written by some editors is not part of the first value.
        if (firstChunk && got >= 3 && static_cast<unsigned char>(chunk[0]) == 0xEF &&
            static_cast<unsigned char>(chunk[1]) == 0xBB && static_cast<unsigned char>(chunk[2]) == 0xBF)
            skip = 3;
        firstChunk = false;
        more = reader.feed(chunk.data() + skip, static_cast<std::size_t>(got) - skip);
    }
    return reader.count();
}

int32_t SepuCapacity(int64_t fileBytes) {
    if (fileBytes <= 0) return 0;
    return fileBytes < kMaxPoints ? static_cast<int32_t>(fileBytes) : kMaxPoints;
}

// The whole number of microvolts nearest to `target` among those that load as exactly
// `millivolts`, within the 32-bit range; false when no whole number loads as it.
bool microvoltsLoadingAs(float millivolts, double target, int64_t &out) {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();
    const int64_t n =
        std::clamp<int64_t>(static_cast<int64_t>(std::nearbyint(std::clamp(target, -3e9, 3e9))), kMin, kMax);
    // Loading is monotonic in n, so the numbers loading as `millivolts` form one run; walk
    // towards it in doubling steps, then halve back to its nearest end.
    const float at = loadedMillivolts(n);
    if (at == millivolts) {
        out = n;
        return true;
    }
    const int64_t dir = at < millivolts ? 1 : -1;
    int64_t good = n, step = 1;
    int64_t probe = n;
    for (;;) {
        probe = std::clamp<int64_t>(good + dir * step, kMin, kMax);
        const float v = loadedMillivolts(probe);
        if (dir > 0 ? v >= millivolts : v <= millivolts) break;
        if (probe == kMin || probe == kMax) return false;
        good = probe;
        step *= 2;
    }
    // The run starts in (good, probe]: find its first element from the side of n.
    int64_t lo = good, hi = probe;
    while ((hi - lo) * dir > 1) {
        const int64_t mid = lo + (hi - lo) / 2;
        const float v = loadedMillivolts(mid);
        if (dir > 0 ? v >= millivolts : v <= millivolts)
            hi = mid;
        else
            lo = mid;
    }
    if (loadedMillivolts(hi) != millivolts) return false;
    out = hi;
    return true;
}

std::string SepuValueText(float millivolts) {
    // The number nearest to the value that loads back as exactly this value: for every value a
    // file can hold, the number it was loaded from below 2^23 microvolts (where singles tell
    // every microvolt apart), and one that loads the same single above.
    const double target = static_cast<double>(millivolts) * 1000.0;
    int64_t n = 0;
    if (std::isfinite(target) && std::fabs(target) < 2.2e9 && microvoltsLoadingAs(millivolts, target, n))
        return std::to_string(n);
    // Not a loaded value (a computed one): whole microvolts rounded half to even.
    const double rounded = std::nearbyint(target);
    if (rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max())
        return std::to_string(static_cast<int32_t>(rounded));
    const float microvolts = millivolts * 1000.0f;
    char text[32];
    auto [end, ec] = std::to_chars(text, text + sizeof text, microvolts);
    return ec == std::errc() ? std::string(text, end) : std::string("nan");
}

int16_t WriteSepuValues(const QString &fileName, const float *values, int32_t count) {
    if (count < 0 || (count > 0 && values == nullptr)) return 0;
    std::string text;
    text.reserve(static_cast<std::size_t>(count) * 10);
    for (int32_t i = 0; i < count; ++i) {
        text += SepuValueText(values[i]);
        text += "\r\n";
    }
    QSaveFile file(fileName);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        return 0;  // QSaveFile leaves any existing file untouched
    return file.commit() ? 1 : 0;
}

int16_t WriteSeriesText(automation::ControlHandle &chart, const QString &fileName, int16_t seriesIndex) {
    namespace id = graphane::dispid;
    const int16_t nSeries = chart.get(id::nSeries).toI2();
    if (seriesIndex < 0 || seriesIndex >= nSeries) return 0;
    int32_t n = chart.get(id::nPoints, seriesIndex).toI4();
    if (n < 1) return WriteSepuValues(fileName, nullptr, 0);
    automation::SafeArray x(automation::ElemType::R4, 0, n);
    automation::SafeArray y(automation::ElemType::R4, 0, n);
    int32_t start = 0;
    chart.call(id::GetSeries, seriesIndex, x, y, start, n);
    const std::vector<float> values = y.floats();
    return WriteSepuValues(fileName, values.data(), static_cast<int32_t>(values.size()));
}

QString StripExtension(const QString &path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= nameStart) return path;  // no dot in the file name, or the name starts with it
    return path.left(dot);
}

}  // namespace wavedesk
