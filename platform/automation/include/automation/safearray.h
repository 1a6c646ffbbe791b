// safearray.h - arrays as a form-based host passes them: an element type, one or more
// dimensions each with a declared lower bound and a count, and a lock count.
//
// Elements are addressed by declared index; an index outside the declared bounds raises
// Subscript out of range (9). Storage is column-major (the first index varies fastest) and
// contiguous, so the address of one element is the start of the data that follows it.
// A locked array cannot be resized or released (error 10).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace automation {

enum class ElemType { R4, I4, I2, Byte, R8, String };

struct Bound {
    int32_t lower = 0;
    int32_t count = 0;
};

class SafeArray {
  public:
    SafeArray(ElemType type, int32_t lower, int32_t count);
    SafeArray(ElemType type, std::vector<Bound> bounds);
    ~SafeArray();
    SafeArray(const SafeArray &) = delete;
    SafeArray &operator=(const SafeArray &) = delete;
    SafeArray(SafeArray &&) noexcept = default;
    SafeArray &operator=(SafeArray &&) noexcept = default;

    // One-dimensional arrays declared lower..lower+values.size()-1.
    static SafeArray ofFloats(const std::vector<float> &values, int32_t lower = 0);
    static SafeArray ofInts(const std::vector<int32_t> &values, int32_t lower = 0);
    static SafeArray ofDoubles(const std::vector<double> &values, int32_t lower = 0);

    ElemType type() const { return type_; }
    int dimensions() const { return static_cast<int>(bounds_.size()); }
    int32_t lbound(int dim = 0) const;
    int32_t ubound(int dim = 0) const;
    int32_t count(int dim = 0) const;
    int64_t totalCount() const;
    static std::size_t elementSize(ElemType type);

    // True when the declared index lies inside dimension 0 (one-dimensional use).
    bool contains(int32_t index) const;

    float &r4(int32_t index);
    int32_t &i4(int32_t index);
    int16_t &i2(int32_t index);
    uint8_t &byte(int32_t index);
    double &r8(int32_t index);
    std::string &str(int32_t index);
    float &r4(int32_t i, int32_t j);  // two-dimensional access
    double &r8(int32_t i, int32_t j);

    // Address of the element with the given declared index (dimension 0, numeric types), for
    // handing the data that follows it to a library. Raises 9 outside the bounds.
    void *address(int32_t index);
    // Address of the first stored element; null for an empty or string array.
    void *data();

    // Copies of the whole content in storage order (convenience for hosts and tests).
    std::vector<float> floats() const;

    void lock();
    void unlock();
    int lockCount() const { return locks_; }

    // Re-declares a one-dimensional array; keeps the leading content when `preserve`.
    // Raises 10 while locked.
    void redim(int32_t lower, int32_t count, bool preserve = false);

  private:
    std::size_t offsetOf(int32_t index) const;  // dimension 0, checked
    void check(ElemType wanted) const;

    ElemType type_;
    std::vector<Bound> bounds_;
    std::vector<unsigned char> bytes_;  // numeric storage
    std::vector<std::string> strings_;  // string storage
    int locks_ = 0;
};

// Holds a lock on an array for the duration of a call and releases it on every path.
class ArrayLock {
  public:
    explicit ArrayLock(SafeArray &array) : array_(array) { array_.lock(); }
    ~ArrayLock() { array_.unlock(); }
    ArrayLock(const ArrayLock &) = delete;
    ArrayLock &operator=(const ArrayLock &) = delete;

  private:
    SafeArray &array_;
};

// Address of element 0 of a one-dimensional array after checking that the elements
// 0..needed-1 all exist (needed <= 0 checks element 0 only). Raises 9 otherwise.
void *elementZero(SafeArray &array, int64_t needed = 1);

}  // namespace automation
