// exports.h - the binding table: every library export the control calls, one prototype list
// per library in a namespace of its own (the two libraries export namesakes with different
// prototypes). The lists are sigmora_api.def and numora_api.def; sigmora_check.cpp and
// numora_check.cpp prove each list against its library's header alone.
#pragma once

#include <cstdint>

#include "binding.h"

namespace tessiq::sigmora {
#define TESSIQ_EXPORT(result, name, params, names, note) \
    inline Bound<result params> name{Library::Sigmora, #name, #names, note};
#include "sigmora_api.def"
#undef TESSIQ_EXPORT
}  // namespace tessiq::sigmora

namespace tessiq::numora {
#define TESSIQ_EXPORT(result, name, params, names, note) \
    inline Bound<result params> name{Library::Numora, #name, #names, note};
#include "numora_api.def"
#undef TESSIQ_EXPORT
}  // namespace tessiq::numora

namespace tessiq {

// Every row of the binding table, for tests that resolve them all.
struct ExportRow {
    Slot *slot;
    Library library;
};
const ExportRow *allExports(std::size_t &count);

}  // namespace tessiq
