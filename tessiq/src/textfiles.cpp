#include "textfiles.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace tessiq::textfiles {

namespace {

// Middle of lo..hi rounded half to even, as the sort's pivot position.
int32_t middle(int32_t lo, int32_t hi) {
    int64_t sum = int64_t(lo) + hi;
    int64_t half = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);
    if (sum % 2 != 0 && half % 2 != 0) ++half;
    return static_cast<int32_t>(half);
}

bool isSeparator(char c) {
    return c == ' ' || c == ',';
}

// True when a character other than a separator follows position i.
bool textFollows(const std::string &line, std::size_t i) {
    for (std::size_t k = i + 1; k < line.size(); ++k)
        if (!isSeparator(line[k])) return true;
    return false;
}

std::size_t pastSeparators(const std::string &line, std::size_t i) {
    while (i < line.size() && isSeparator(line[i])) ++i;
    return i;
}

std::string trimmed(const std::string &s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    std::size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whole-number text with a blank in place of the sign of a non-negative value.
std::string signedText(const std::string &digits, bool negative) {
    return (negative ? "-" : " ") + digits;
}

// Rounds half to even into 16 bits; false outside that range or for NaN.
bool toInt16(float v, int32_t &out) {
    double r = std::nearbyint(double(v));  // the default rounding mode is half to even
    if (!(r >= -32768.0 && r <= 32767.0)) return false;
    out = static_cast<int32_t>(r);
    return true;
}

// "000#.0000": four integer digits at least, four decimals, halves away from zero.
std::string fixedText(float v) {
    double d = v;  // exact; d * 10000 is exact too (24 + 14 bits)
    double scaled = std::floor(std::fabs(d) * 10000.0 + 0.5);
    bool negative = d < 0 && scaled != 0;
    char buf[400];
    if (scaled < 9.0e15) {
        long long whole = static_cast<long long>(scaled);
        std::snprintf(buf, sizeof buf, "%s%04lld.%04lld", negative ? "-" : "", whole / 10000, whole % 10000);
    } else {
        std::snprintf(buf, sizeof buf, "%s%09.4f", negative ? "-" : "", std::fabs(d));
    }
    return buf;
}

// The general single text: up to seven significant digits, exponent form outside 1e-5..1e7,
// no zero ahead of the point, a blank for the sign of a non-negative value.
std::string generalText(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7G", double(v));
    std::string s = buf;
    bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
    return signedText(s, negative);
}

}  // namespace

void sortStrings(std::string *items, int32_t count, int32_t *index) {
    const bool tracking = count >= 0;
    const int32_t n = count >= 0 ? count : (count == INT32_MIN ? INT32_MAX : -count);
    if (tracking)
        for (int32_t i = 0; i < n; ++i) index[i] = i;
    // The partition sort of the control; ranges wait on a stack of their own instead of the
    // call stack, so a bad input cannot exhaust it. Ranges are disjoint, so their order does not
    // change the result.
    std::vector<std::pair<int32_t, int32_t>> pending;
    if (n > 1) pending.push_back({0, n - 1});
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        int32_t i = lo, j = hi;
        const std::string pivot = items[middle(lo, hi)];
        do {
            while (items[i] < pivot && i < hi) ++i;
            while (items[j] > pivot && j > lo) --j;
            if (i <= j) {
                std::swap(items[i], items[j]);
                if (tracking) std::swap(index[i], index[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j) pending.push_back({lo, j});
        if (i < hi) pending.push_back({i, hi});
    }
}

std::string valueText(float v, int32_t dtype) {
    if (dtype == 0) {
        int32_t whole;
        // A value beyond 16 bits keeps its general text rather than being lost.
        if (!toInt16(v, whole)) return generalText(v) + " ";
        return signedText(std::to_string(whole < 0 ? -whole : whole), whole < 0) + " ";
    }
    if (dtype == 1) return fixedText(v) + " ";
    return generalText(v) + " ";
}

bool writeMatrix(const std::string &file, int32_t rows, int32_t cols, const float *values, int32_t dtype) {
    File f(std::fopen(file.c_str(), "wb"));
    if (!f) return false;
    for (int32_t r = 0; r < rows; ++r) {
        std::string line;
        for (int32_t c = 0; c < cols; ++c) line += valueText(values[int64_t(r) * cols + c], dtype);
        line += "\r\n";
        if (std::fwrite(line.data(), 1, line.size(), f.get()) != line.size()) return false;
    }
    // A full disk shows at the flush: the write is then reported as failed.
    return std::fflush(f.get()) == 0 && !std::ferror(f.get());
}

int32_t fieldCount(const std::string &line) {
    int32_t separators = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isSeparator(line[i])) {
            ++separators;
            i = textFollows(line, i) ? pastSeparators(line, i) : i + 1;
        } else {
            ++i;
        }
    }
    return separators + 1;
}

double leadingNumber(const std::string &text) {
    std::size_t i = 0;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        number += text[i++], ++digits;
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            number += text[i++], ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t k = i + 1;
        std::string exponent = "e";
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) exponent += text[k++];
        std::size_t expDigits = 0;
        while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k])))
            exponent += text[k++], ++expDigits;
        if (expDigits > 0) number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::vector<float> parseValues(const std::string &line, int32_t maxValues) {
    std::vector<float> values;
    if (maxValues <= 0) return values;
    std::string token;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isSeparator(line[i])) {
            values.push_back(static_cast<float>(leadingNumber(token)));
            token.clear();
            if (int32_t(values.size()) == maxValues) return values;
            i = textFollows(line, i) ? pastSeparators(line, i) : i + 1;
        } else {
            token += line[i++];
        }
    }
    values.push_back(static_cast<float>(leadingNumber(token)));
    return values;
}

bool readLines(const std::string &file, std::vector<std::string> &lines) {
    File f(std::fopen(file.c_str(), "rb"));
    if (!f) return false;
    lines.clear();
    std::string line;
    bool afterCr = false;
    auto finish = [&] {
        std::string t = trimmed(line);
        if (!t.empty()) lines.push_back(std::move(t));
        line.clear();
    };
    char buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) {
        for (std::size_t k = 0; k < got; ++k) {
            char c = buf[k];
            if (c == '\n') {
                if (!afterCr) finish();
                afterCr = false;
            } else if (c == '\r') {
                finish();
                afterCr = true;
            } else {
                line += c;
                afterCr = false;
            }
        }
    }
    finish();
    return true;
}

bool readMatrixInfo(const std::string &file, MatrixInfo &info) {
    std::vector<std::string> lines;
    if (!readLines(file, lines)) return false;
    info.rows = static_cast<int32_t>(std::min<std::size_t>(lines.size(), INT32_MAX));
    info.cols = 0;
    for (const std::string &l : lines) info.cols = std::max(info.cols, fieldCount(l));
    return true;
}

bool readMatrix(const std::string &file, int32_t rows, int32_t cols, float *buffer, float &min, float &max) {
    std::vector<std::string> lines;
    if (!readLines(file, lines)) return false;
    min = 0;
    max = 0;
    int32_t r = 0;
    for (const std::string &l : lines) {
        if (r >= rows) break;
        std::vector<float> values = parseValues(l, cols);
        if (!values.empty() && r == 0) min = max = values[0];
        for (std::size_t c = 0; c < values.size(); ++c) {
            buffer[int64_t(r) * cols + int64_t(c)] = values[c];
            min = std::min(min, values[c]);
            max = std::max(max, values[c]);
        }
        ++r;
    }
    return true;
}

}  // namespace tessiq::textfiles
