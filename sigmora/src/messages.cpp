// messages.cpp - the replaceable message hook: the only way the library shows anything.
#include "messages.h"

#include "sigmora.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<SigmoraMessageHook> g_hook{nullptr};

void writeToStderr(const char *text, const char *caption) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

} // namespace

namespace sigmora {

void showMessage(const char *text, const char *caption) {
    SigmoraMessageHook hook = g_hook.load();
    if (hook)
        hook(text ? text : "", caption ? caption : "");
    else
        writeToStderr(text, caption);
}

} // namespace sigmora

extern "C" SIGMORA_API SigmoraMessageHook SetMessageHook(SigmoraMessageHook hook) {
    return g_hook.exchange(hook);
}
