// dispids.h - member numbers of the DSP control's dispatch interface (ProgID
// "TessiqLib.Tessiq"). Hosts call every method by these numbers; the control declares its
// members with the same constants. Both come from the one list in methods.def. Numbers not
// listed there belong to no member.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tessiq::dispid {

#define TESSIQ_METHOD(name, id, params, result) constexpr int32_t name = id;
#include "tessiq/methods.def"
#undef TESSIQ_METHOD

// Every method with its number, in interface order (for hosts that list or look up members).
struct Entry {
    std::string_view name;
    int32_t id;
};

inline constexpr std::array kAll = std::to_array<Entry>({
#define TESSIQ_METHOD(name, id, params, result) {#name, id},
#include "tessiq/methods.def"
#undef TESSIQ_METHOD
});

}  // namespace tessiq::dispid
