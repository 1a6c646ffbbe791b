#include "automation/propertybag.h"

#include <cstdlib>
#include <sstream>

#include "automation/errors.h"

namespace automation {

bool PropertyBag::contains(const std::string &key) const {
    for (const auto &e : entries_)
        if (e.first == key) return true;
    return false;
}

Variant PropertyBag::read(const std::string &key, const Variant &fallback) const {
    for (const auto &e : entries_)
        if (e.first == key) return e.second;
    return fallback;
}

void PropertyBag::write(const std::string &key, const Variant &value) {
    for (auto &e : entries_)
        if (e.first == key) {
            e.second = value;
            return;
        }
    entries_.emplace_back(key, value);
}

void PropertyBag::write(const std::string &key, const Variant &value, const Variant &saveDefault) {
    if (value.sameValue(saveDefault))
        remove(key);
    else
        write(key, value);
}

void PropertyBag::remove(const std::string &key) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (it->first == key) {
            entries_.erase(it);
            return;
        }
}

namespace {

const char *typeName(VarType t) {
    switch (t) {
        case VarType::I2: return "I2";
        case VarType::I4: return "I4";
        case VarType::R4: return "R4";
        case VarType::R8: return "R8";
        case VarType::Bool: return "Bool";
        case VarType::Byte: return "Byte";
        case VarType::String: return "String";
        case VarType::Picture: return "Picture";
        default: return nullptr;
    }
}

std::string quote(const std::string &s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

std::string unquote(const std::string &s) {
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') raise(err::InvalidPropertyValue, s);
    std::string out;
    for (std::size_t i = 1; i + 1 < s.size(); ++i) {
        char c = s[i];
        if (c == '\\' && i + 2 < s.size()) {
            c = s[++i];
            if (c == 'n') c = '\n';
        }
        out += c;
    }
    return out;
}

std::string hex(const std::vector<uint8_t> &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::vector<uint8_t> unhex(const std::string &s) {
    if (s.size() % 2) raise(err::InvalidPropertyValue, "odd hex length");
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        char *end = nullptr;
        std::string two = s.substr(i, 2);
        long v = std::strtol(two.c_str(), &end, 16);
        if (*end) raise(err::InvalidPropertyValue, "bad hex digit");
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

double number(const std::string &s) {
    char *end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end) raise(err::InvalidPropertyValue, s);
    return v;
}

std::string trim(const std::string &s) {
    auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return "";
    auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

Variant parseValue(const std::string &type, const std::string &text) {
    if (type == "String") return Variant(unquote(text));
    if (type == "Picture") return Variant(Picture{unhex(text)});
    if (type == "I2") return Variant(narrowToI2(number(text)));
    if (type == "I4") return Variant(narrowToI4(number(text)));
    if (type == "Byte") return Variant(Variant(number(text)).toByte());
    if (type == "R4") return Variant(narrowToR4(number(text)));
    if (type == "R8") return Variant(number(text));
    if (type == "Bool") return Variant(text == "True" || text == "-1" || text == "1");
    raise(err::InvalidPropertyValue, "unknown type " + type);
}

}  // namespace

std::string PropertyBag::toText() const {
    std::ostringstream out;
    for (const auto &[key, value] : entries_) {
        const char *t = typeName(value.type());
        if (!t) continue;  // arrays and objects are not kept in a bag
        out << key << " = " << t << ' ';
        if (value.type() == VarType::String)
            out << quote(value.toString());
        else if (value.type() == VarType::Picture)
            out << hex(value.picture()->bytes);
        else
            out << value.toString();
        out << '\n';
    }
    return out.str();
}

PropertyBag PropertyBag::fromText(const std::string &text) {
    PropertyBag bag;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos) raise(err::InvalidPropertyValue, line);
        std::string key = trim(line.substr(0, eq));
        std::string rest = trim(line.substr(eq + 1));
        auto sp = rest.find(' ');
        std::string type = rest.substr(0, sp);
        std::string value = sp == std::string::npos ? "" : trim(rest.substr(sp + 1));
        if (key.empty()) raise(err::InvalidPropertyValue, line);
        bag.write(key, parseValue(type, value));
    }
    return bag;
}

}  // namespace automation
