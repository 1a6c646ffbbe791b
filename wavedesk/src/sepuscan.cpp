#include "sepuscan.h"

#include <QFile>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace wavedesk {

namespace {

bool separator(char c) {
    return c == '\r' || c == '\n' || c == ',' || c == ' ' || c == '\t';
}

// A decimal number as the reader accepts it: sign, digits, fraction, exponent; nothing else.
bool decimal(const std::string &t) {
    std::size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t e = 0;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++e;
        if (e == 0) return false;
    }
    return i == t.size();
}

constexpr std::size_t kLongestItem = 64;

}  // namespace

void FractionScanner::item() {
    if (token_.empty() || stopped_) return;
    if (left_ <= 0 || token_.size() > kLongestItem || !decimal(token_)) {
        stopped_ = true;
        return;
    }
    const double v = std::strtod(token_.c_str(), nullptr);
    if (!std::isfinite(v) || std::fabs(v) > 2147483647.0) {
        stopped_ = true;
        return;
    }
    ++values_;
    --left_;
    if (v != std::nearbyint(v)) ++fractional_;
    token_.clear();
}

void FractionScanner::feed(const char *data, std::size_t size) {
    for (std::size_t i = 0; i < size && !stopped_; ++i) {
        if (separator(data[i])) {
            item();
            token_.clear();
        } else if (token_.size() <= kLongestItem) {
            token_ += data[i];
        }
    }
}

void FractionScanner::finish() {
    item();
    token_.clear();
}

int64_t CountFractionalValues(const QString &fileName, int64_t maxValues) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    FractionScanner scan(maxValues);
    std::vector<char> chunk(65536);
    for (;;) {
        const qint64 got = file.read(chunk.data(), static_cast<qint64>(chunk.size()));
        if (got <= 0) break;
        scan.feed(chunk.data(), static_cast<std::size_t>(got));
    }
    scan.finish();
    return scan.fractional();
}

}  // namespace wavedesk
