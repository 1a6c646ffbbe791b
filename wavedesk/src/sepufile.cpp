// sepufile.cpp - reading and writing .sepu chromatogram files.
#include "sepufile.h"

#include <QFile>
#include <QSaveFile>
#include <cctype>
#include <charconv>
#include <cmath>
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
  const char *digitsAt = first + (first != last && *first == '-' ? 1 : 0);
  if (digitsAt == last || !(std::isdigit(static_cast<unsigned char>(*digitsAt)) || *digitsAt == '.'))
    return false;
  double value = 0;
  auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || end != last) return false;
  const double rounded = std::nearbyint(value);  // the default rounding: half to even
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max()))
    return false;
  out = static_cast<int32_t>(rounded);
  return true;
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
    buffer_[count_++] = static_cast<float>(microvolts / 1000.0);
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
  while (more) {
    const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
    if (got <= 0) {
      reader.finish();
      break;
    }
    more = reader.feed(chunk.data(), static_cast<std::size_t>(got));
  }
  return reader.count();
}

int32_t SepuCapacity(int64_t fileBytes) {
  if (fileBytes <= 0) return 0;
  return fileBytes < kMaxPoints ? static_cast<int32_t>(fileBytes) : kMaxPoints;
}

std::string SepuValueText(float millivolts) {
  const float microvolts = millivolts * 1000.0f;
  const double rounded = std::nearbyint(static_cast<double>(microvolts));
  if (rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max())
    return std::to_string(static_cast<int32_t>(rounded));
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

int16_t WriteSeriesText(automation::ControlHandle &chart, const QString &fileName,
                        int16_t seriesIndex) {
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
