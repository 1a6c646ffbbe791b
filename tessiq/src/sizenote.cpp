#include "sizenote.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <stdexcept>

namespace tessiq {

namespace {

constexpr int64_t kHuge = std::numeric_limits<int64_t>::max();

[[noreturn]] void bad(const std::string &what, const std::string &text) {
    throw std::logic_error("tessiq: size note " + what + ": \"" + text + "\"");
}

void skipBlanks(const std::string &s, std::size_t &i) {
    while (i < s.size() && s[i] == ' ') ++i;
}

std::string identifier(const std::string &s, std::size_t &i) {
    std::size_t start = i;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_')) ++i;
    return s.substr(start, i - start);
}

int64_t saturatedAdd(int64_t a, int64_t b) {
    int64_t r;
    return __builtin_add_overflow(a, b, &r) ? (b > 0 ? kHuge : -kHuge) : r;
}

int64_t saturatedMul(int64_t a, int64_t b) {
    int64_t r;
    return __builtin_mul_overflow(a, b, &r) ? (((a < 0) != (b < 0)) ? -kHuge : kHuge) : r;
}

}  // namespace

SizeNote::SizeNote(const char *names, const char *note) {
    std::string list = names;
    std::size_t i = 0;
    skipBlanks(list, i);
    if (i < list.size() && list[i] == '(') ++i;
    while (true) {
        skipBlanks(list, i);
        std::string name = identifier(list, i);
        if (!name.empty()) names_.push_back(name);
        skipBlanks(list, i);
        if (i < list.size() && list[i] == ',') {
            ++i;
            continue;
        }
        break;
    }
    roots_.assign(names_.size(), -1);
    std::string text = note;
    i = 0;
    while (true) {
        skipBlanks(text, i);
        if (i >= text.size()) break;
        std::string name = identifier(text, i);
        std::size_t p = 0;
        while (p < names_.size() && names_[p] != name) ++p;
        if (p == names_.size()) bad("names an unknown parameter", text);
        if (roots_[p] >= 0) bad("gives a parameter twice", text);
        skipBlanks(text, i);
        if (i >= text.size() || text[i] != ':') bad("lacks a colon", text);
        ++i;
        roots_[p] = parseSum(text, i);
        order_.push_back(p);
        skipBlanks(text, i);
        if (i < text.size()) {
            if (text[i] != ';') bad("has text after an extent", text);
            ++i;
        }
    }
}

int SizeNote::add(Node n) {
    nodes_.push_back(std::move(n));
    return static_cast<int>(nodes_.size()) - 1;
}

int SizeNote::parseSum(const std::string &s, std::size_t &i) {
    int left = parseProduct(s, i);
    while (true) {
        skipBlanks(s, i);
        if (i >= s.size() || (s[i] != '+' && s[i] != '-')) return left;
        Node::Op op = s[i] == '+' ? Node::Op::Add : Node::Op::Sub;
        ++i;
        int right = parseProduct(s, i);
        left = add({op, 0, 0, {left, right}});
    }
}

int SizeNote::parseProduct(const std::string &s, std::size_t &i) {
    int left = parseFactor(s, i);
    while (true) {
        skipBlanks(s, i);
        if (i >= s.size() || (s[i] != '*' && s[i] != '/')) return left;
        Node::Op op = s[i] == '*' ? Node::Op::Mul : Node::Op::Div;
        ++i;
        int right = parseFactor(s, i);
        left = add({op, 0, 0, {left, right}});
    }
}

int SizeNote::parseFactor(const std::string &s, std::size_t &i) {
    skipBlanks(s, i);
    if (i >= s.size()) bad("ends early", s);
    if (s[i] == '(') {
        ++i;
        int inner = parseSum(s, i);
        skipBlanks(s, i);
        if (i >= s.size() || s[i] != ')') bad("lacks a closing parenthesis", s);
        ++i;
        return inner;
    }
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
        int64_t v = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) v = v * 10 + (s[i++] - '0');
        return add({Node::Op::Number, v, 0, {}});
    }
    std::string name = identifier(s, i);
    if (name.empty()) bad("has an unexpected character", s);
    skipBlanks(s, i);
    if (i < s.size() && s[i] == '(') {
        Node::Op op;
        std::size_t arity;
        if (name == "abs")
            op = Node::Op::Abs, arity = 1;
        else if (name == "max")
            op = Node::Op::Max, arity = 2;
        else if (name == "min")
            op = Node::Op::Min, arity = 2;
        else if (name == "frames")
            op = Node::Op::Frames, arity = 3;
        else
            bad("calls an unknown function", s);
        ++i;
        std::vector<int> kids;
        while (true) {
            kids.push_back(parseSum(s, i));
            skipBlanks(s, i);
            if (i < s.size() && s[i] == ',') {
                ++i;
                continue;
            }
            break;
        }
        if (i >= s.size() || s[i] != ')' || kids.size() != arity) bad("calls a function wrongly", s);
        ++i;
        return add({op, 0, 0, kids});
    }
    std::size_t p = 0;
    while (p < names_.size() && names_[p] != name) ++p;
    if (p == names_.size()) bad("names an unknown parameter", s);
    if (i < s.size() && s[i] == '[') {
        ++i;
        int k = parseSum(s, i);
        skipBlanks(s, i);
        if (i >= s.size() || s[i] != ']') bad("lacks a closing bracket", s);
        ++i;
        return add({Node::Op::Element, 0, p, {k}});
    }
    return add({Node::Op::Param, 0, p, {}});
}

bool SizeNote::hasExtent(std::size_t p) const {
    return p < roots_.size() && roots_[p] >= 0;
}

int64_t SizeNote::fixedExtent(std::size_t p) const {
    if (!hasExtent(p)) return -1;
    const Node &n = nodes_[roots_[p]];
    return n.op == Node::Op::Number ? n.number : -1;
}

int64_t SizeNote::extent(std::size_t p, const ValueOf &value, const ElementOf &element) const {
    if (!hasExtent(p)) return 0;
    int64_t e = eval(roots_[p], value, element);
    return e < 0 ? 0 : e;
}

int64_t SizeNote::eval(int node, const ValueOf &value, const ElementOf &element) const {
    const Node &n = nodes_[node];
    auto kid = [&](std::size_t k) { return eval(n.kids[k], value, element); };
    switch (n.op) {
        case Node::Op::Number: return n.number;
        case Node::Op::Param: return value(n.param);
        case Node::Op::Element:
            if (!element) throw std::logic_error("tessiq: size note reads an array element here");
            return element(n.param, kid(0));
        case Node::Op::Add: return saturatedAdd(kid(0), kid(1));
        case Node::Op::Sub: return saturatedAdd(kid(0), kid(1) == -kHuge ? kHuge : -kid(1));
        case Node::Op::Mul: return saturatedMul(kid(0), kid(1));
        case Node::Op::Div: {
            int64_t d = kid(1);
            return d == 0 ? kHuge : kid(0) / d;  // an extent divided by 0 can never be covered
        }
        case Node::Op::Abs: {
            int64_t v = kid(0);
            return v < 0 ? (v == -kHuge ? kHuge : -v) : v;
        }
        case Node::Op::Max: return std::max(kid(0), kid(1));
        case Node::Op::Min: return std::min(kid(0), kid(1));
        case Node::Op::Frames: {
            int64_t total = kid(0), shift = kid(1), window = kid(2);
            if (shift < 1 || shift >= total || window > total) return 0;
            return total / shift;
        }
    }
    return 0;
}

}  // namespace tessiq
