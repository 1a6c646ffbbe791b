// messages.h - the message channel of a library: the only way sigmora and numora show anything.
// Each shared library that compiles mathcore in gets its own channel (the state is not exported).
#pragma once

namespace mathcore {

using MessageHook = void (*)(const char *text, const char *caption);

// Installs `hook` (null restores the default, standard error) and returns the previous one.
MessageHook exchangeMessageHook(MessageHook hook);

// Passes text and caption to the installed hook, or writes "caption: text" to standard error.
void showMessage(const char *text, const char *caption);

}  // namespace mathcore
