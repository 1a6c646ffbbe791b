// Drives a control's dispatch entry from a byte stream: each call picks a member by DISPID and
// builds its arguments from the stream — scalars of any type (NaN, infinities, extremes),
// arrays with odd lower bounds, counts and element types, strings that are file names inside
// a private scratch folder. A call may fail with the control's error (automation::Error);
// any other exception or a sanitizer report is a finding.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "automation/control.h"
#include "automation/errors.h"
#include "automation/safearray.h"
#include "automation/variant.h"

namespace fuzzdrive {

class Bytes {
  public:
    Bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t u8() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint32_t u32() {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= uint32_t(u8()) << (8 * k);
        return v;
    }
    double real() {
        switch (u8() % 8) {
            case 0: return std::numeric_limits<double>::quiet_NaN();
            case 1: return std::numeric_limits<double>::infinity();
            case 2: return -std::numeric_limits<double>::infinity();
            case 3: return double(int32_t(u32()));
            case 4: return 3.4e38 * ((u8() & 1) ? 1 : -1);
            default: return double(int32_t(u32())) / 65536.0;
        }
    }

  private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};

// Members that would wait on a window, touch processor ports or leave the scratch folder are
// not called.
inline bool excluded(const std::string &name) {
    return name.find("Dialog") != std::string::npos || name.find("Port") != std::string::npos ||
           name == "About";
}

class Driver {
  public:
    explicit Driver(std::string scratch) : scratch_(std::move(scratch)) {}

    void run(automation::ControlBase &control, const uint8_t *data, size_t size) {
        Bytes in(data, size);
        std::vector<const automation::Member *> members;
        for (const automation::Member &m : control.memberTable().members())
            if (!excluded(m.name)) members.push_back(&m);
        if (members.empty()) return;
        for (int call = 0; call < 6 && !in.empty(); ++call) {
            const automation::Member &m = *members[in.u32() % members.size()];
            arrays_.clear();
            automation::Args args;
            // Mostly the declared parameter count, sometimes one more or one less.
            size_t count = m.params.size();
            const uint8_t shape = in.u8();
            if (shape == 1 && count > 0) --count;
            if (shape == 2) ++count;
            for (size_t k = 0; k < count; ++k)
                args.push_back(
                    argument(k < m.params.size() ? m.params[k].type : automation::ArgType::Any, in));
            // SWB_FUZZ_TRACE=1 names each call on standard error, to find the call behind a finding.
            if (std::getenv("SWB_FUZZ_TRACE"))
                std::fprintf(stderr, "call %s (%zu arguments)\n", m.name.c_str(), count);
            try {
                control.invoke(m.id, m.kind, args);
            } catch (const automation::Error &) {
                // the control refused the call: fine
            }
        }
    }

  private:
    automation::Variant argument(automation::ArgType declared, Bytes &in) {
        using automation::ArgType;
        const uint8_t pick = in.u8();
        // One argument in eight has another type than declared.
        ArgType type = (pick % 8 == 0) ? ArgType(in.u8() % 16) : declared;
        switch (type) {
            case ArgType::I2: return automation::Variant(int16_t(in.u32()));
            case ArgType::I4: return automation::Variant(int32_t(in.u32()));
            case ArgType::R4: return automation::Variant(float(in.real()));
            case ArgType::R8: return automation::Variant(in.real());
            case ArgType::Bool: return automation::Variant(bool(in.u8() & 1));
            case ArgType::Byte: return automation::Variant(uint8_t(in.u8()));
            case ArgType::String: return automation::Variant(fileName(in));
            case ArgType::ArrayR4: return array(automation::ElemType::R4, in);
            case ArgType::ArrayI4: return array(automation::ElemType::I4, in);
            case ArgType::ArrayI2: return array(automation::ElemType::I2, in);
            case ArgType::ArrayByte: return array(automation::ElemType::Byte, in);
            case ArgType::ArrayR8: return array(automation::ElemType::R8, in);
            case ArgType::ArrayString: return array(automation::ElemType::String, in);
            default: return automation::Variant(int32_t(in.u32()));
        }
    }

    std::string fileName(Bytes &in) {
        std::string name = scratch_ + "/f";
        for (int k = 0, n = in.u8() % 6; k < n; ++k) name += char('a' + in.u8() % 4);
        return name;
    }

    automation::Variant array(automation::ElemType type, Bytes &in) {
        const int32_t lower = int32_t(in.u8() % 5) - 2;  // -2 .. 2
        const uint8_t sizeCode = in.u8();
        int32_t count = sizeCode % 64;
        if (sizeCode >= 192) count = 1 << (8 + sizeCode % 9);  // up to 65536 elements
        std::vector<automation::Bound> bounds{{lower, count}};
        if (sizeCode % 16 == 15) bounds.push_back({0, 1 + in.u8() % 4});  // a second dimension
        arrays_.emplace_back(type, bounds);
        automation::SafeArray &a = arrays_.back();
        const int64_t total = a.totalCount();
        for (int64_t i = 0; i < total && i < 64 && bounds.size() == 1; ++i) {
            const int32_t at = lower + int32_t(i);
            switch (type) {
                case automation::ElemType::R4: a.r4(at) = float(in.real()); break;
                case automation::ElemType::R8: a.r8(at) = in.real(); break;
                case automation::ElemType::I4: a.i4(at) = int32_t(in.u32()); break;
                case automation::ElemType::I2: a.i2(at) = int16_t(in.u32()); break;
                default: break;
            }
        }
        return automation::Variant(a);
    }

    std::string scratch_;
    std::deque<automation::SafeArray> arrays_;  // alive for the call, stable addresses
};

}  // namespace fuzzdrive
