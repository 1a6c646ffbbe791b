// sizenote.h - the extents of an export's array parameters, read from its size note.
//
// A note is "array: extent; array: extent" in the names of the export's parameters, for
// example "a: n*n; b: n; x: n" or "ps: frames(n, shift, w)*m". An extent is built from
// parameter names, whole numbers, + - * /, parentheses, abs(e), max(e, e), min(e, e),
// frames(n, shift, w) (the sliding-window count: n / shift, 0 when the windows are refused)
// and p[k], element k of an integer array parameter p. Arithmetic is 64-bit and saturates,
// so an extent that overflows can never be covered by an array.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessiq {

class SizeNote {
  public:
    // Value of integer parameter p, and element k of integer array parameter p.
    using ValueOf = std::function<int64_t(std::size_t p)>;
    using ElementOf = std::function<int64_t(std::size_t p, int64_t k)>;

    SizeNote() = default;
    // names: the parameter names as written, "(x, n, pos)"; note as above. A note naming an
    // unknown parameter or badly formed raises std::logic_error.
    SizeNote(const char *names, const char *note);

    std::size_t parameterCount() const { return names_.size(); }
    const std::string &name(std::size_t p) const { return names_[p]; }
    bool hasExtent(std::size_t p) const;
    // The extent's value when it is a plain number (fixed size), else -1.
    int64_t fixedExtent(std::size_t p) const;
    // Elements parameter p touches from its element 0 (never below 0).
    int64_t extent(std::size_t p, const ValueOf &value, const ElementOf &element = {}) const;
    // Parameters with an extent, in the order of the note.
    const std::vector<std::size_t> &arrays() const { return order_; }

  private:
    struct Node {
        enum class Op { Number, Param, Element, Add, Sub, Mul, Div, Abs, Max, Min, Frames } op;
        int64_t number = 0;
        std::size_t param = 0;
        std::vector<int> kids;
    };
    int parseSum(const std::string &s, std::size_t &i);
    int parseProduct(const std::string &s, std::size_t &i);
    int parseFactor(const std::string &s, std::size_t &i);
    int add(Node n);
    int64_t eval(int node, const ValueOf &value, const ElementOf &element) const;

    std::vector<std::string> names_;
    std::vector<Node> nodes_;
    std::vector<int> roots_;  // per parameter, -1 when it has no extent
    std::vector<std::size_t> order_;
};

}  // namespace tessiq
