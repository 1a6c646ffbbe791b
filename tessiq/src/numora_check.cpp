// Proves the numora prototype list against numora.h alone: every entry is declared again with C
// linkage next to the header, so an export the header declares with another prototype is a
// compile error here. Entries the header does not declare (yet) are plain declarations.
#include "numora.h"

#include <cstdint>

extern "C" {
#define TESSIQ_EXPORT(result, name, params, names, note) result name params;
#include "numora_api.def"
#undef TESSIQ_EXPORT
}
