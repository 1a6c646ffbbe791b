#include "mathcore/messages.h"

#include <atomic>
#include <cstdio>

namespace mathcore {

namespace {
std::atomic<MessageHook> g_hook{nullptr};
}  // namespace

MessageHook exchangeMessageHook(MessageHook hook) {
    return g_hook.exchange(hook);
}

void showMessage(const char *text, const char *caption) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (MessageHook hook = g_hook.load())
        hook(text, caption);
    else
        std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace mathcore
