#include "automation/safearray.h"

#include <cstring>
#include <new>
#include <stdexcept>

#include "automation/errors.h"

namespace automation {

std::size_t SafeArray::elementSize(ElemType type) {
    switch (type) {
        case ElemType::R4: return 4;
        case ElemType::I4: return 4;
        case ElemType::I2: return 2;
        case ElemType::Byte: return 1;
        case ElemType::R8: return 8;
        case ElemType::String: return sizeof(std::string);
    }
    return 1;
}

namespace {

// Largest storage an array may ask for; sizes beyond (or whose product overflows) are error 7.
constexpr int64_t kMaxStorageBytes = int64_t(1) << 36;

// Element count of the bounds, or -1 when the storage would exceed kMaxStorageBytes.
int64_t checkedCount(const std::vector<Bound> &bounds, std::size_t elementSize) {
    const int64_t limit = kMaxStorageBytes / int64_t(elementSize);
    int64_t n = 1;
    for (const Bound &b : bounds) {
        if (b.count == 0) return 0;
        if (n > limit / b.count) return -1;
        n *= b.count;
    }
    return n;
}

// Runs an allocation; running out of memory is error 7, never std::bad_alloc.
template <typename F>
void allocate(F &&f) {
    try {
        f();
    } catch (const std::bad_alloc &) {
        raise(err::OutOfMemory);
    } catch (const std::length_error &) {
        raise(err::OutOfMemory);
    }
}

}  // namespace

SafeArray::SafeArray(ElemType type, int32_t lower, int32_t count)
    : SafeArray(type, std::vector<Bound>{Bound{lower, count}}) {}

SafeArray::SafeArray(ElemType type, std::vector<Bound> bounds) : type_(type), bounds_(std::move(bounds)) {
    if (bounds_.empty()) raise(err::SubscriptOutOfRange);
    for (const Bound &b : bounds_)
        if (b.count < 0) raise(err::SubscriptOutOfRange);
    const int64_t n = checkedCount(bounds_, elementSize(type_));
    if (n < 0) raise(err::OutOfMemory);
    allocate([&] {
        if (type_ == ElemType::String)
            strings_.resize(static_cast<std::size_t>(n));
        else
            bytes_.resize(static_cast<std::size_t>(n) * elementSize(type_));
    });
}

SafeArray::~SafeArray() = default;

SafeArray SafeArray::ofFloats(const std::vector<float> &values, int32_t lower) {
    SafeArray a(ElemType::R4, lower, static_cast<int32_t>(values.size()));
    if (!values.empty()) std::memcpy(a.bytes_.data(), values.data(), values.size() * sizeof(float));
    return a;
}

SafeArray SafeArray::ofInts(const std::vector<int32_t> &values, int32_t lower) {
    SafeArray a(ElemType::I4, lower, static_cast<int32_t>(values.size()));
    if (!values.empty()) std::memcpy(a.bytes_.data(), values.data(), values.size() * sizeof(int32_t));
    return a;
}

SafeArray SafeArray::ofDoubles(const std::vector<double> &values, int32_t lower) {
    SafeArray a(ElemType::R8, lower, static_cast<int32_t>(values.size()));
    if (!values.empty()) std::memcpy(a.bytes_.data(), values.data(), values.size() * sizeof(double));
    return a;
}

int32_t SafeArray::lbound(int dim) const {
    if (dim < 0 || dim >= dimensions()) raise(err::SubscriptOutOfRange);
    return bounds_[dim].lower;
}

int32_t SafeArray::ubound(int dim) const {
    if (dim < 0 || dim >= dimensions()) raise(err::SubscriptOutOfRange);
    return static_cast<int32_t>(int64_t(bounds_[dim].lower) + bounds_[dim].count - 1);
}

int32_t SafeArray::count(int dim) const {
    if (dim < 0 || dim >= dimensions()) raise(err::SubscriptOutOfRange);
    return bounds_[dim].count;
}

int64_t SafeArray::totalCount() const {
    int64_t n = 1;
    for (const Bound &b : bounds_) n *= b.count;
    return n;
}

bool SafeArray::contains(int32_t index) const {
    int64_t rel = int64_t(index) - bounds_[0].lower;
    return rel >= 0 && rel < bounds_[0].count && (dimensions() == 1 || totalCount() > 0);
}

std::size_t SafeArray::offsetOf(int32_t index) const {
    if (!contains(index)) raise(err::SubscriptOutOfRange);
    return static_cast<std::size_t>(int64_t(index) - bounds_[0].lower);
}

void SafeArray::check(ElemType wanted) const {
    if (type_ != wanted) raise(err::TypeMismatch);
}

float &SafeArray::r4(int32_t index) {
    check(ElemType::R4);
    return reinterpret_cast<float *>(bytes_.data())[offsetOf(index)];
}
int32_t &SafeArray::i4(int32_t index) {
    check(ElemType::I4);
    return reinterpret_cast<int32_t *>(bytes_.data())[offsetOf(index)];
}
int16_t &SafeArray::i2(int32_t index) {
    check(ElemType::I2);
    return reinterpret_cast<int16_t *>(bytes_.data())[offsetOf(index)];
}
uint8_t &SafeArray::byte(int32_t index) {
    check(ElemType::Byte);
    return bytes_[offsetOf(index)];
}
double &SafeArray::r8(int32_t index) {
    check(ElemType::R8);
    return reinterpret_cast<double *>(bytes_.data())[offsetOf(index)];
}
std::string &SafeArray::str(int32_t index) {
    check(ElemType::String);
    return strings_[offsetOf(index)];
}

namespace {
std::size_t offset2(const std::vector<Bound> &b, int32_t i, int32_t j) {
    if (b.size() != 2) raise(err::SubscriptOutOfRange);
    int64_t ri = int64_t(i) - b[0].lower, rj = int64_t(j) - b[1].lower;
    if (ri < 0 || ri >= b[0].count || rj < 0 || rj >= b[1].count) raise(err::SubscriptOutOfRange);
    return static_cast<std::size_t>(ri + rj * b[0].count);
}
}  // namespace

float &SafeArray::r4(int32_t i, int32_t j) {
    check(ElemType::R4);
    return reinterpret_cast<float *>(bytes_.data())[offset2(bounds_, i, j)];
}
double &SafeArray::r8(int32_t i, int32_t j) {
    check(ElemType::R8);
    return reinterpret_cast<double *>(bytes_.data())[offset2(bounds_, i, j)];
}

void *SafeArray::address(int32_t index) {
    if (type_ == ElemType::String) raise(err::TypeMismatch);
    return bytes_.data() + offsetOf(index) * elementSize(type_);
}

void *SafeArray::data() {
    if (type_ == ElemType::String || bytes_.empty()) return nullptr;
    return bytes_.data();
}

std::vector<float> SafeArray::floats() const {
    check(ElemType::R4);
    std::vector<float> out(static_cast<std::size_t>(totalCount()));
    if (!out.empty()) std::memcpy(out.data(), bytes_.data(), out.size() * sizeof(float));
    return out;
}

void SafeArray::lock() {
    ++locks_;
}

void SafeArray::unlock() {
    if (locks_ > 0) --locks_;
}

void SafeArray::redim(int32_t lower, int32_t count, bool preserve) {
    if (locks_ > 0) raise(err::ArrayLocked);
    if (count < 0) raise(err::SubscriptOutOfRange);
    std::size_t n = static_cast<std::size_t>(count);
    allocate([&] {
        if (type_ == ElemType::String) {
            if (!preserve) strings_.clear();
            strings_.resize(n);
        } else {
            if (!preserve) bytes_.clear();
            bytes_.resize(n * elementSize(type_));
        }
    });
    bounds_.assign(1, Bound{lower, count});
}

void *elementZero(SafeArray &array, int64_t needed) {
    if (array.dimensions() != 1) raise(err::SubscriptOutOfRange);
    if (!array.contains(0)) raise(err::SubscriptOutOfRange);
    if (needed > 1 && int64_t(array.ubound()) < needed - 1) raise(err::SubscriptOutOfRange);
    return array.address(0);
}

}  // namespace automation
