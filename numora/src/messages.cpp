// messages.cpp - the replaceable message hook: the only way the library shows anything.
#include "messages.h"

#include "numora.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<NumoraMessageHook> g_hook{nullptr};

void writeToStderr(const char *text, const char *caption) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}

} // namespace

namespace numora {

void showMessage(const char *text, const char *caption) {
    NumoraMessageHook hook = g_hook.load();
    if (hook)
        hook(text ? text : "", caption ? caption : "");
    else
        writeToStderr(text, caption);
}

} // namespace numora

extern "C" NUMORA_API NumoraMessageHook SetNumoraMessageHook(NumoraMessageHook hook) {
    return g_hook.exchange(hook);
}
