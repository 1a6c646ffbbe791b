// messages.cpp - the export that installs the library's message hook.
#include "mathcore/messages.h"
#include "numora.h"

extern "C" NUMORA_API NumoraMessageHook SetNumoraMessageHook(NumoraMessageHook hook) {
    return mathcore::exchangeMessageHook(hook);
}
