// messages.cpp - the export that installs the library's message hook.
#include "mathcore/messages.h"
#include "sigmora.h"

extern "C" SIGMORA_API SigmoraMessageHook SetMessageHook(SigmoraMessageHook hook) {
    return mathcore::exchangeMessageHook(hook);
}
