#include "exports.h"

namespace tessiq {

const ExportRow *allExports(std::size_t &count) {
    static const ExportRow rows[] = {
#define TESSIQ_EXPORT(result, name, params, names, note) {&sigmora::name, Library::Sigmora},
#include "sigmora_api.def"
#undef TESSIQ_EXPORT
#define TESSIQ_EXPORT(result, name, params, names, note) {&numora::name, Library::Numora},
#include "numora_api.def"
#undef TESSIQ_EXPORT
    };
    count = sizeof(rows) / sizeof(rows[0]);
    return rows;
}

}  // namespace tessiq
