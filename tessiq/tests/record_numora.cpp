// The recording stand-in of the numora library, made from its prototype list.
#include "recorder.h"

RECORDER_LOG_EXPORTS

#define TESSIQ_EXPORT(result, name, params, names, note)                \
    RECORDER_API result name params {                                   \
        static const tessiq::SizeNote size(#names, note);               \
        return recorder::record<result>(#name, size TESSIQ_ARGS names); \
    }
#define TESSIQ_ARGS(...) __VA_OPT__(, ) __VA_ARGS__
#include "numora_api.def"
